#include "dictionarycopier.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <limits>

namespace {

Prediction::Variety varietyOf(const DictionaryReference &dictionary)
{
    if (dictionary->isUK())
        return Prediction::British;
    if (dictionary->isCanadian())
        return Prediction::Canadian;
    return Prediction::American;
}

// The engine only hands out its filtered list, so the copy opens the filter fully and, where the engine
// shows one letter group at a time, walks the groups of every letter a word is likely to start with.
// Words of a group not walked are caught by the count check.
void collectWords(Dictionary *source, Dictionary *copy, QSet<QString> *seen)
{
    auto take = [&] {
        const QStringList words = source->wordList();
        for (const QString &text : words) {
            if (seen->contains(text))
                continue;
            Word *word = source->findWord(text);
            if (word && copy->addWord(word))
                seen->insert(text);
        }
    };

    const QStringList rules = source->selectionRules();
    if (!rules.isEmpty())
        source->setSelectionRule(rules.first());
    source->setMinimumFreq(std::numeric_limits<int>::min());
    source->setMaximumFreq(std::numeric_limits<int>::max());
    source->invalidateWordList();
    if (!source->displayByLetterGroup()) {
        take();
        return;
    }
    for (char32_t c = 0x21; c < 0x250 && seen->size() < source->wordCount(); ++c) {
        if (QChar::isLower(c))
            continue; // a lower-case letter shares its group with the upper-case one
        source->setLetterGroup(QString::fromUcs4(&c, 1));
        source->invalidateWordList();
        take();
    }
}

void restore(Dictionary *source, const DictionaryCopier::ListState &state)
{
    if (!state.rule.isEmpty())
        source->setSelectionRule(state.rule);
    source->setMinimumFreq(state.minimumFrequency);
    source->setMaximumFreq(state.maximumFrequency);
    if (!state.letterGroupWord.isEmpty())
        source->setLetterGroup(state.letterGroupWord);
    source->invalidateWordList();
}

} // namespace

bool DictionaryCopier::copy(DictionaryReference source, const QString &targetPath, const ListState &state,
                            QString *error)
{
    const QString shownTarget = QDir::toNativeSeparators(targetPath);
    const QFileInfo target(targetPath);
    if (target.exists() && target.canonicalFilePath() == QFileInfo(source->path()).canonicalFilePath()) {
        *error = QObject::tr("A copy cannot replace the dictionary it is made from. Choose another file.");
        return false;
    }
    if (QFileInfo::exists(targetPath + QStringLiteral(".lock"))) {
        *error = QObject::tr("\"%1\" is a dictionary open in the editor. Choose another file.").arg(shownTarget);
        return false;
    }

    const QString part = targetPath + QStringLiteral(".part");
    QFile::remove(part);
    bool complete = false;
    {
        QString reason;
        DictionaryReference copy = Prediction::createDictionary(part, source.displayName(), varietyOf(source), &reason);
        if (copy == 0) {
            *error = QObject::tr("The copy \"%1\" could not be created: %2").arg(shownTarget, reason);
            return false;
        }
        QSet<QString> seen;
        collectWords(source.get(), copy.get(), &seen);
        restore(source.get(), state);
        if (seen.size() != source->wordCount() || copy->wordCount() != source->wordCount()) {
            *error = QObject::tr("Only %1 of the %2 words could be copied, so no copy was written.")
                         .arg(copy->wordCount())
                         .arg(source->wordCount());
        } else if (copy->save() != 0) {
            *error = QObject::tr("The copy \"%1\" could not be saved: %2").arg(shownTarget, copy->lastError());
        } else {
            complete = true;
        }
    }
    if (complete && QFileInfo::exists(targetPath) && !QFile::remove(targetPath)) {
        *error = QObject::tr("\"%1\" could not be replaced.").arg(shownTarget);
        complete = false;
    }
    if (complete && !QFile::rename(part, targetPath)) {
        *error = QObject::tr("The copy could not be given the name \"%1\".").arg(shownTarget);
        complete = false;
    }
    if (!complete)
        QFile::remove(part);
    return complete;
}
