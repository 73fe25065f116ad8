#include "prediction.h"

#include "dictionarydata.h"

Dictionary::Dictionary(DictionaryData *data) : d(data) {}

Dictionary::~Dictionary()
{
    delete d;
}

QStringList Dictionary::wordList()
{
    return d->wordList();
}

int Dictionary::filteredWordCount()
{
    return d->filteredWordCount();
}

QStringList Dictionary::selectionRules() const
{
    return DictionaryData::selectionRules();
}

void Dictionary::setSelectionRule(const QString &rule)
{
    d->setSelectionRule(rule);
}

void Dictionary::setMinimumFreq(int frequency)
{
    d->setMinimumFreq(frequency);
}

void Dictionary::setMaximumFreq(int frequency)
{
    d->setMaximumFreq(frequency);
}

bool Dictionary::displayByLetterGroup() const
{
    return d->displayByLetterGroup();
}

int Dictionary::letterGroupThreshold() const
{
    return d->letterGroupThreshold();
}

bool Dictionary::setLetterGroup(const QString &text)
{
    return d->setLetterGroup(text);
}

void Dictionary::invalidateWordList()
{
    d->invalidateWordList();
}

Word *Dictionary::findWord(const QString &text)
{
    return d->findWord(text);
}

Word *Dictionary::addWord(const QString &text, const QString &tag)
{
    Q_UNUSED(tag)
    return d->addWord(text);
}

Word *Dictionary::addWord(Word *word)
{
    if (!word)
        return nullptr;
    if (word->dictionary() == this)
        return word->isRemoved() ? d->addWord(WordRecord::fromWord(word)) : word;
    Word *added = d->addWord(WordRecord::fromWord(word));
    // A word copied in from another dictionary is a transfer when that dictionary removes it next.
    d->history().markAddition(added, EditHistory::TransferredIn, word);
    return added;
}

int Dictionary::wordCount() const
{
    return d->wordCount();
}

QStringList Dictionary::predictions(const QString &prefix, int count)
{
    return d->predictions(prefix, count);
}

QStringList Dictionary::predict(const QString &context, const QString &prefix, int count, bool useContext,
                                const QStringList &passedOver)
{
    QStringList words;
    for (const PredictionOffer &offer : d->predictOffers(context, prefix, count, useContext, passedOver))
        words << offer.word;
    return words;
}

QList<PredictionOffer> Dictionary::predictOffers(const QString &context, const QString &prefix, int count,
                                                 bool useContext, const QStringList &passedOver)
{
    return d->predictOffers(context, prefix, count, useContext, passedOver);
}

Word *Dictionary::peekWord(const QString &text)
{
    return d->peekWord(text);
}

quint64 Dictionary::revision() const
{
    return d->revision();
}

void Dictionary::begin_edit()
{
    d->beginEdit();
}

int Dictionary::save()
{
    const int result = int(d->save().failure);
    if (result == 0)
        d->history().markSaved();
    return result;
}

bool Dictionary::reload()
{
    return d->reload();
}

bool Dictionary::isDirty() const
{
    return d->isDirty();
}

QString Dictionary::lastError() const
{
    return d->lastError();
}

QString Dictionary::path() const
{
    return d->path();
}

bool Dictionary::isReadOnly() const
{
    return d->isReadOnly();
}

bool Dictionary::canUndo() const
{
    return d->history().canUndo();
}

bool Dictionary::canRedo() const
{
    return d->history().canRedo();
}

QString Dictionary::undoText() const
{
    return d->history().undoText();
}

QString Dictionary::redoText() const
{
    return d->history().redoText();
}

Word *Dictionary::undo()
{
    return d->history().undo();
}

Word *Dictionary::redo()
{
    return d->history().redo();
}

QString Dictionary::displayName() const
{
    return d->displayName();
}

bool Dictionary::isUK() const
{
    return variety() == Prediction::British;
}

bool Dictionary::isCanadian() const
{
    return variety() == Prediction::Canadian;
}

bool Dictionary::isUKGrammar() const
{
    return d->isUKGrammar();
}

QString Dictionary::copyCurrentWord()
{
    const Word *word = d->currentWord();
    if (!word || word->isRemoved())
        return QString();
    return WordRecord::fromWord(word).toPayload();
}

QString Dictionary::pasteWord(const QString &payload)
{
    WordRecord record;
    if (!WordRecord::fromPayload(payload, &record))
        return QString();
    const Word *word = d->addWord(record);
    d->history().markAddition(word, EditHistory::Pasted);
    return word ? word->text : QString();
}

bool Dictionary::contains(const QString &text) const
{
    return d->contains(text);
}

bool Dictionary::importWord(const QString &text, int frequency, bool guessCodes)
{
    return d->importWord(text, frequency, guessCodes);
}

QStringList Dictionary::allWords()
{
    return d->allWords();
}

bool Dictionary::saveCopy(const QString &path, QString *error)
{
    QString message;
    const bool ok = d->saveCopy(path, &message);
    if (error)
        *error = message;
    return ok;
}

bool Dictionary::dump(QIODevice *out)
{
    return out && d->dump(out);
}

bool Dictionary::isFileOf(const QString &path) const
{
    return d->isFileOf(path);
}

QStringList Dictionary::loadNotes() const
{
    return d->loadNotes();
}

bool Dictionary::lockForEditing(QString *error)
{
    QString message;
    const bool ok = d->lockForEditing(&message);
    if (error)
        *error = message;
    return ok;
}

Prediction::Variety Dictionary::variety() const
{
    return d->variety();
}
