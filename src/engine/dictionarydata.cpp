#include "dictionarydata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <limits>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include "contextmodel.h"
#include "corpus.h"
#include "dictionarydump.h"
#include "dictionaryfile.h"
#include "dictionarywriter.h"
#include "grammar.h"
#include "storagetext.h"
#include "wordorder.h"

using StorageText::shown;

namespace {

// The registry of open dictionaries lives until the process ends, since a handle held in a static variable
// may close its dictionary after every other static has gone.
QHash<QString, DictionaryData *> &openDictionaries()
{
    static auto *dictionaries = new QHash<QString, DictionaryData *>;
    return *dictionaries;
}

} // namespace

DictionaryData::DictionaryData(const QString &path) : m_path(path), m_content(std::make_unique<Content>()) {}

DictionaryData::~DictionaryData()
{
    openDictionaries().remove(m_path);
    for (Word *word : m_words)
        delete word;
    m_db.close();
}

DictionaryReference DictionaryData::open(const QString &path, QString *error)
{
    QString message;
    if (path.isEmpty()) {
        if (error)
            *error = QStringLiteral("No dictionary file was given. Choose a dictionary file.");
        return DictionaryReference();
    }
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty()) {
        if (DictionaryData *open = openDictionaries().value(canonical))
            return DictionaryReference(open->m_dictionary);
    }
    bool readOnly = false;
    if (!DictionaryFile::checkFile(canonical.isEmpty() ? info.absoluteFilePath() : canonical, &readOnly, &message)) {
        if (error)
            *error = message;
        return DictionaryReference();
    }
    std::unique_ptr<DictionaryData> data(new DictionaryData(canonical));
    data->m_readOnly = readOnly;
    if (!DictionaryFile::openDatabase(canonical, &data->m_db, readOnly, &message) ||
        !DictionaryFile::load(canonical, &data->m_db, data->m_content.get(), &data->m_dataVersion, &message)) {
        if (error)
            *error = message;
        return DictionaryReference();
    }
    data->m_stamp = data->stamp();
    DictionaryData *d = data.release();
    d->m_dictionary = new Dictionary(d);
    openDictionaries().insert(canonical, d);
    return DictionaryReference(d->m_dictionary);
}

DictionaryReference DictionaryData::create(const QString &path, const QString &displayName, Prediction::Variety variety,
                                           QString *error, int letterGroupThreshold)
{
    DictionaryWriter writer(path);
    DictionaryWriter::Settings settings;
    settings.displayName = displayName;
    settings.variety = variety;
    settings.ukGrammar = variety == Prediction::British;
    settings.letterGroupThreshold = letterGroupThreshold;
    QString message;
    if (!writer.begin(settings, &message) || !writer.commit(&message)) {
        if (error)
            *error = message;
        return DictionaryReference();
    }
    return open(path, error);
}

DictionaryCheck DictionaryData::check(const QString &path)
{
    DictionaryCheck result;
    bool interrupted = false;
    if (!DictionaryFile::checkIntegrity(path, &result, &interrupted))
        return result;
    QString message;
    DictionaryReference dictionary = open(path, &message);
    if (dictionary == 0) {
        result.problems << message;
        return result;
    }
    result.wordCount = dictionary->wordCount();
    if (interrupted)
        result.notes << QStringLiteral("A save was interrupted; it was undone, so the dictionary is as it was before "
                                       "that save.");
    result.notes << dictionary->loadNotes();
    result.ok = true;
    return result;
}

DictionaryReference DictionaryData::loadDump(const QString &path, QIODevice *dump, QString *error)
{
    DictionaryWriter writer(path);
    DictionaryDump reader(dump);
    QString message;
    if (!reader.readHeader(&message))
        message = StorageText::shown(path) + QStringLiteral(": ") + message;
    DictionaryWriter::Settings settings = reader.settings();
    if (message.isEmpty() && writer.begin(settings, &message)) {
        WordRecord record;
        QSet<QString> seen;
        while (reader.readWord(&record, &message)) {
            if (seen.contains(record.text)) {
                message = reader.where() + QStringLiteral("the word \"%1\" is there twice").arg(record.text);
                break;
            }
            seen.insert(record.text);
            if (!writer.add(record.text, WordRecord::maximumFrequency(record.codes), WordRecord::kinds(record.codes),
                            WordRecord::encodeCodes(record.codes))) {
                message = writer.writeError();
                break;
            }
        }
        if (message.isEmpty())
            writer.commit(&message);
    }
    if (!message.isEmpty()) {
        if (error)
            *error = message;
        return DictionaryReference();
    }
    return open(path, error);
}

DictionaryData::FileStamp DictionaryData::stamp() const
{
    FileStamp result;
    struct stat info;
    if (::stat(QFile::encodeName(m_path).constData(), &info) == 0) {
        result.device = quint64(info.st_dev);
        result.inode = quint64(info.st_ino);
        result.size = qint64(info.st_size);
        result.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    }
    return result;
}

bool DictionaryData::fileChangedOnDisk()
{
    if (!(stamp() == m_stamp))
        return true;
    return m_db.isOpen() && m_db.queryInt("PRAGMA data_version", m_dataVersion) != m_dataVersion;
}

// ---------------------------------------------------------------------------------------------------------------
// Words

WordEntry *DictionaryData::entryOf(const Word *word) const
{
    if (!word || word->m_removed)
        return nullptr;
    WordEntry *entry = m_content->index.find(word->text);
    return entry && entry->word == word ? entry : nullptr;
}

void DictionaryData::refreshDerived(GCode *code)
{
    code->subcodeChoices = Grammar::subcodeChoices(code->partOfSpeech);
    code->exampleLabels.clear();
    code->exampleTemplates.clear();
    Grammar::examples(code->word()->text, code->partOfSpeech, code->subcode, &code->exampleLabels,
                      &code->exampleTemplates);
}

void DictionaryData::fillWord(Word *word, const QList<CodeRecord> &codes)
{
    qDeleteAll(word->codes);
    word->codes.clear();
    for (const CodeRecord &record : codes) {
        GCode *code = new GCode(word);
        code->partOfSpeech = record.partOfSpeech;
        code->subcode = record.subcode;
        code->frequency = record.frequency;
        code->expansion = record.expansion;
        code->adverbPositions->m_codes = record.adverbPositions;
        for (const UsageRecord &usageRecord : record.usages) {
            Usage *usage = new Usage(code);
            usage->complements()->m_codes = usageRecord.complements;
            usage->particles()->m_codes = usageRecord.particles;
            usage->prepositions()->m_codes = usageRecord.prepositions;
            code->usages << usage;
        }
        refreshDerived(code);
        word->codes << code;
    }
}

Word *DictionaryData::materialize(WordEntry *entry)
{
    if (entry->word)
        return entry->word;
    Word *word = new Word(m_dictionary);
    word->text = entry->text;
    QList<CodeRecord> codes;
    WordRecord::decodeCodes(
        QByteArray::fromRawData(m_content->arena.constData() + entry->codesOffset, qsizetype(entry->codesLength)),
        &codes);
    fillWord(word, codes);
    entry->word = word;
    m_words.push_back(word);
    return word;
}

Word *DictionaryData::findWord(const QString &text)
{
    WordEntry *entry = m_content->index.find(text);
    if (!entry)
        return nullptr;
    m_currentWord = materialize(entry);
    return m_currentWord;
}

Word *DictionaryData::peekWord(const QString &text)
{
    WordEntry *entry = m_content->index.find(text);
    return entry ? materialize(entry) : nullptr;
}

Word *DictionaryData::addWord(const QString &text)
{
    if (!WordRecord::isAcceptableSpelling(text))
        return nullptr;
    if (WordEntry *existing = m_content->index.find(text))
        return materialize(existing);
    WordRecord record;
    record.text = text;
    const bool advanced = DictionaryReference::editPreferences() == QLatin1String("advanced_grammar");
    const QList<Grammar::Guess> guesses = Grammar::guess(text, advanced);
    for (const Grammar::Guess &guess : guesses) {
        CodeRecord code;
        code.partOfSpeech = guess.partOfSpeech;
        code.subcode = guess.subcode;
        code.frequency = QString::number(qBound(1, guess.frequency, 31));
        record.codes << code;
    }
    if (record.codes.isEmpty()) {
        CodeRecord code;
        code.partOfSpeech = QStringLiteral("new");
        code.frequency = QStringLiteral("1");
        record.codes << code;
    }
    return addWord(record);
}

Word *DictionaryData::addWord(const WordRecord &record)
{
    if (!WordRecord::isAcceptableSpelling(record.text))
        return nullptr;
    if (WordEntry *existing = m_content->index.find(record.text))
        return materialize(existing);
    WordEntry *entry = insertEntry(record.text);
    Word *word = new Word(m_dictionary);
    word->text = record.text;
    fillWord(word, record.codes);
    entry->word = word;
    m_words.push_back(word);
    updateSummary(entry);
    markChanged(entry);
    m_history.added(word);
    return word;
}

bool DictionaryData::importWord(const QString &text, int frequency, bool guessCodes)
{
    if (!WordRecord::isAcceptableSpelling(text))
        return false;
    // One probe of the index both refuses a word already there and files the new one.
    m_content->entries.emplace_back();
    WordEntry *entry = &m_content->entries.back();
    entry->text = text;
    if (m_content->index.insert(entry)) {
        m_content->entries.pop_back();
        return false;
    }
    insertInOrder(entry);
    QList<CodeRecord> codes;
    if (guessCodes) {
        const bool advanced = DictionaryReference::editPreferences() == QLatin1String("advanced_grammar");
        for (const Grammar::Guess &guess : Grammar::guess(text, advanced)) {
            CodeRecord code;
            code.partOfSpeech = guess.partOfSpeech;
            code.subcode = guess.subcode;
            code.frequency = QString::number(qBound(1, guess.frequency, 31));
            codes << code;
        }
    }
    if (codes.isEmpty()) {
        CodeRecord code;
        code.partOfSpeech = QStringLiteral("new");
        code.frequency = QStringLiteral("1");
        codes << code;
    }
    if (frequency > 0) {
        for (CodeRecord &code : codes)
            code.frequency = QString::number(qMin(frequency, int(WordRecord::MaximumFrequency)));
    }
    // The codes wait in the arena, as a loaded word's do, until a window asks for the word. Words of a list
    // often share their codes, so the last encoding is kept.
    if (codes != m_lastImportCodes) {
        m_lastImportCodes = codes;
        m_lastImportEncoded = WordRecord::encodeCodes(codes);
    }
    const QByteArray &encoded = m_lastImportEncoded;
    entry->codesOffset = quint32(m_content->arena.size());
    entry->codesLength = quint32(encoded.size());
    m_content->arena.append(encoded);
    entry->frequency = quint8(qBound(0, WordRecord::maximumFrequency(codes), int(WordRecord::MaximumFrequency)));
    entry->kinds = WordRecord::kinds(codes);
    markChanged(entry);
    m_history.forget(); // a bulk import is not undone step by step
    return true;
}

WordEntry *DictionaryData::insertEntry(const QString &text)
{
    m_content->entries.emplace_back();
    WordEntry *entry = &m_content->entries.back();
    entry->text = text;
    m_content->index.insert(entry);
    insertInOrder(entry);
    return entry;
}

// Inserting into or erasing from a vector of a million entries moves megabytes, so new entries wait in
// a side list and dead ones stay in place, flagged, until the next ordered walk merges them.
void DictionaryData::insertInOrder(WordEntry *entry)
{
    m_content->pending.push_back(entry);
}

void DictionaryData::normalizeOrder()
{
    WordOrder::merge(m_content.get());
}

void DictionaryData::updateSummary(WordEntry *entry)
{
    int highest = 0;
    quint8 bits = 0;
    QList<CodeRecord> codes;
    for (const GCode *code : entry->word->codes) {
        CodeRecord record;
        record.partOfSpeech = code->partOfSpeech;
        record.frequency = code->frequency;
        record.expansion = code->expansion;
        codes << record;
    }
    highest = WordRecord::maximumFrequency(codes);
    bits = WordRecord::kinds(codes);
    entry->frequency = quint8(qBound(0, highest, int(WordRecord::MaximumFrequency)));
    entry->kinds = bits;
}

void DictionaryData::markChanged(WordEntry *entry)
{
    if (!(entry->flags & WordEntry::Changed)) {
        entry->flags |= WordEntry::Changed;
        m_changed.push_back(entry);
        ++m_liveChanged;
    }
    m_filter.invalidate();
    ++m_revision;
}

void DictionaryData::wordChanged(Word *word)
{
    WordEntry *entry = entryOf(word);
    if (!entry)
        return;
    m_history.changed(word, QByteArray::fromRawData(m_content->arena.constData() + entry->codesOffset,
                                                    qsizetype(entry->codesLength)));
    updateSummary(entry);
    markChanged(entry);
}

void DictionaryData::removeWord(Word *word)
{
    WordEntry *entry = entryOf(word);
    if (!entry)
        return;
    m_history.removed(word);
    m_content->index.remove(entry->text);
    if (entry->flags & WordEntry::Changed)
        --m_liveChanged;
    entry->flags |= WordEntry::Removed;
    ++m_content->dead;
    word->m_removed = true;
    if (entry->id != 0)
        m_removedEntries.push_back(entry);
    if (m_currentWord == word)
        m_currentWord = nullptr;
    m_filter.invalidate();
    ++m_revision;
}

bool DictionaryData::changeSpelling(Word *word, const QString &spelling)
{
    WordEntry *entry = entryOf(word);
    if (!entry || spelling == word->text || !WordRecord::isAcceptableSpelling(spelling) ||
        m_content->index.find(spelling))
        return false;
    m_history.respelling(word, spelling);
    // The word moves to a fresh entry under its new spelling; the old one stays behind, dead, until the
    // order is next merged. The save writes the word as a new row (so that two words that trade spellings
    // never meet in the file's one-row-per-spelling index); until then the entry keeps the old row's id,
    // so that a reload finds the word again.
    m_content->index.remove(entry->text);
    m_content->entries.push_back(*entry);
    WordEntry *moved = &m_content->entries.back();
    if (moved->id != 0)
        moved->flags |= WordEntry::Respelt;
    entry->flags = WordEntry::Stale;
    entry->word = nullptr;
    entry->id = 0;
    ++m_content->dead;
    std::replace(m_changed.begin(), m_changed.end(), entry, moved);
    moved->text = spelling;
    word->text = spelling;
    m_content->index.insert(moved);
    insertInOrder(moved);
    entry = moved;
    for (GCode *code : word->codes)
        refreshDerived(code);
    markChanged(entry);
    return true;
}

bool DictionaryData::canRestore(const Word *word, const WordRecord *state) const
{
    if (!state)
        return true;
    const WordEntry *holder = m_content->index.find(state->text);
    return !holder || holder == entryOf(word);
}

void DictionaryData::restore(Word *word, const WordRecord *state)
{
    WordEntry *entry = entryOf(word);
    if (!state) {
        if (entry)
            removeWord(word);
        return;
    }
    if (!entry) {
        // The word comes back under its old object, in a fresh entry; the entry it left stays dead (and its
        // row, when saved, is still deleted at the next save, the word being written anew).
        entry = insertEntry(state->text);
        entry->word = word;
        word->m_removed = false;
        word->text = state->text;
        fillWord(word, state->codes);
        updateSummary(entry);
        markChanged(entry);
        return;
    }
    if (word->text != state->text)
        changeSpelling(word, state->text);
    if (WordRecord::fromWord(word).codes != state->codes) {
        fillWord(word, state->codes);
        wordChanged(word);
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Word list

QStringList DictionaryData::selectionRules()
{
    return WordFilter::selectionRules();
}

void DictionaryData::setSelectionRule(const QString &rule)
{
    m_filter.setSelectionRule(rule);
}

void DictionaryData::setMinimumFreq(int frequency)
{
    m_filter.setMinimumFreq(frequency);
}

void DictionaryData::setMaximumFreq(int frequency)
{
    m_filter.setMaximumFreq(frequency);
}

bool DictionaryData::displayByLetterGroup() const
{
    const int threshold = m_content->letterGroupThreshold;
    return threshold > 0 && wordCount() > threshold;
}

bool DictionaryData::setLetterGroup(const QString &text)
{
    return m_filter.setLetterGroup(text, displayByLetterGroup());
}

QStringList DictionaryData::predictions(const QString &prefix, int count)
{
    if (count <= 0)
        return {};
    // Short prefixes cover much of a big dictionary and come back with every space and first letter
    // typed, so their answers are kept until the words change.
    const bool cached = prefix.size() <= 2;
    const QString key = prefix.toCaseFolded() + QLatin1Char('\n') + QString::number(count);
    if (m_predictionsRevision != m_revision) {
        m_predictionsCache.clear();
        m_predictionsRevision = m_revision;
    }
    if (cached) {
        auto known = m_predictionsCache.constFind(key);
        if (known != m_predictionsCache.constEnd())
            return *known;
    }
    normalizeOrder();
    const std::vector<WordEntry *> &order = m_content->order;
    auto first = std::lower_bound(order.begin(), order.end(), prefix, [](const WordEntry *entry, const QString &p) {
        return WordOrder::comparePrefix(entry->text, p) < 0;
    });
    // A heap of the best words so far, the worst of them on top.
    auto better = [](const WordEntry *a, const WordEntry *b) {
        if (a->frequency != b->frequency)
            return a->frequency > b->frequency;
        return WordOrder::compare(a->text, b->text) < 0;
    };
    std::vector<WordEntry *> best;
    best.reserve(size_t(count) + 1);
    for (auto it = first; it != order.end() && WordOrder::comparePrefix((*it)->text, prefix) == 0; ++it) {
        if ((*it)->flags & WordEntry::Dead)
            continue;
        if (best.size() == size_t(count) && !better(*it, best.front()))
            continue;
        best.push_back(*it);
        std::push_heap(best.begin(), best.end(), better);
        if (best.size() > size_t(count)) {
            std::pop_heap(best.begin(), best.end(), better);
            best.pop_back();
        }
    }
    std::sort_heap(best.begin(), best.end(), better);
    QStringList words;
    words.reserve(qsizetype(best.size()));
    for (const WordEntry *entry : best)
        words << entry->text;
    if (cached)
        m_predictionsCache.insert(key, words);
    return words;
}

namespace {

// What the text before the current word says about it, read from its end as the corpus tables were made:
// the last word of its sentence, and the last two keys of the chain of words in which "^" stands for the
// start of a sentence and the marks ",", ";" and ":" stand as words. Other marks are passed over.
struct ContextKeys
{
    QString previousWord; // empty at the start of a sentence
    QString last;         // "^" at the start of a sentence
    QString secondLast;   // empty when last is "^"
};

bool endsSentence(QChar c)
{
    return c == QLatin1Char('.') || c == QLatin1Char('?') || c == QLatin1Char('!') || c == QLatin1Char('\n');
}

bool isContextMark(QChar c)
{
    return c == QLatin1Char(',') || c == QLatin1Char(';') || c == QLatin1Char(':');
}

ContextKeys contextKeys(const QString &context)
{
    ContextKeys keys;
    QStringList chain; // the keys read back from the end, the last first
    qsizetype at = context.size();
    while (at > 0 && !endsSentence(context.at(at - 1)) && (chain.size() < 2 || keys.previousWord.isEmpty())) {
        const QChar c = context.at(at - 1);
        if (!Prediction::isWordCharacter(c)) {
            if (isContextMark(c) && chain.size() < 2)
                chain << QString(c);
            --at;
            continue;
        }
        const qsizetype end = at;
        while (at > 0 && Prediction::isWordCharacter(context.at(at - 1)))
            --at;
        const QString word = context.mid(at, end - at);
        if (keys.previousWord.isEmpty())
            keys.previousWord = word;
        if (chain.size() < 2)
            chain << word.toLower();
    }
    if (chain.size() < 2)
        chain << QStringLiteral("^");
    keys.last = chain.at(0);
    if (keys.last != QLatin1String("^"))
        keys.secondLast = chain.at(1);
    return keys;
}

// The classes a word belongs to, from the kind bits kept for it.
std::vector<Corpus::WordClass> classesOf(const WordEntry *entry)
{
    std::vector<Corpus::WordClass> classes;
    const QPair<quint8, Corpus::WordClass> bits[] = {
        {WordRecord::Name, Corpus::NameClass},     {WordRecord::Noun, Corpus::NounClass},
        {WordRecord::Verb, Corpus::VerbClass},     {WordRecord::Adjective, Corpus::AdjectiveClass},
        {WordRecord::Adverb, Corpus::AdverbClass},
    };
    for (const auto &bit : bits) {
        if (entry->kinds & bit.first)
            classes.push_back(bit.second);
    }
    if (classes.empty())
        classes.push_back((entry->kinds & WordRecord::Known) ? Corpus::FunctionClass : Corpus::NewClass);
    return classes;
}

} // namespace

QList<PredictionOffer> DictionaryData::predictOffers(const QString &context, const QString &prefix, int count,
                                                     bool useContext, const QStringList &passedOver)
{
    QList<PredictionOffer> offers;
    if (count <= 0)
        return offers;
    auto passed = [&](const QString &text) { return passedOver.contains(text, Qt::CaseInsensitive); };
    // Candidates: the most frequent words with the prefix, enough of them that the context can reorder
    // them and the words passed over can be left out, and the words the context itself brings (those seen
    // after the last words, the previous word's usages, the words of the text so far).
    const QStringList frequent = predictions(prefix, (useContext ? count * 4 : count) + int(passedOver.size()));
    if (!useContext) {
        for (const QString &text : frequent) {
            if (offers.size() == count)
                break;
            if (passed(text))
                continue;
            const WordEntry *entry = m_content->index.find(text);
            offers.append({text, entry ? int(entry->frequency) : 0, false, false, QString()});
        }
        return offers;
    }

    const ContextModel &model = ContextModel::shared();
    const ContextKeys keys = contextKeys(context);
    const QString &previous = keys.previousWord;
    QString previousPartOfSpeech = QStringLiteral("^");
    QStringList usageWords;
    if (!previous.isEmpty()) {
        previousPartOfSpeech = QStringLiteral("new");
        Word *word = peekWord(previous);
        if (!word && previous.toLower() != previous)
            word = peekWord(previous.toLower());
        if (word) {
            if (!word->codes.isEmpty())
                previousPartOfSpeech = word->codes.first()->partOfSpeech;
            for (const GCode *code : std::as_const(word->codes)) {
                for (const Usage *usage : code->usages)
                    usageWords << usage->particles()->codes() << usage->prepositions()->codes();
            }
        }
    }
    m_recent.read(context);

    QList<const WordEntry *> candidates;
    QSet<const WordEntry *> seen;
    auto consider = [&](const QString &text) {
        if (WordOrder::comparePrefix(text, prefix) != 0 || passed(text))
            return;
        const WordEntry *entry = m_content->index.find(text);
        if (!entry || (entry->flags & WordEntry::Dead))
            return;
        if (!seen.contains(entry)) {
            seen.insert(entry);
            candidates << entry;
        }
    };
    for (const QString &text : frequent)
        consider(text);
    const int pairContext = model.context(keys.last);
    const int tripleContext = keys.secondLast.isEmpty() ? -1 : model.context(keys.secondLast, keys.last);
    const ContextModel::Followers &afterPair = model.followers(pairContext);
    const ContextModel::Followers &afterTriple = model.followers(tripleContext);
    const size_t successorLimit = 200; // the rarer ones cannot outrank the frequent words anyway
    for (const ContextModel::Followers *followers : {&afterTriple, &afterPair}) {
        for (size_t i = 0; i < followers->words.size() && i < successorLimit; ++i)
            consider(model.word(followers->words[i].word));
    }
    for (const QString &text : std::as_const(usageWords))
        consider(text);
    // Before a letter is typed, only the words the text has used more than once are worth a place.
    for (auto it = m_recent.counts().constBegin(); it != m_recent.counts().constEnd(); ++it) {
        if (!prefix.isEmpty() || it.value() > 1)
            consider(it.key());
    }

    // The chance of each word: after the last two keys (trusted as far as the corpus saw them often), backing
    // off to after the last key, and then to the word's chance anywhere, raised or lowered by how well its
    // class fits after the previous word's part of speech; a usage of the previous word and the words of the
    // text so far add chances of their own.
    const int tripleFollowed = afterTriple.total;
    const int pairFollowed = afterPair.total;
    const double tripleTrust = double(tripleFollowed) / (double(tripleFollowed) + 5.0);
    const double pairTrust = double(pairFollowed) / (double(pairFollowed) + 20.0);
    const double recentShare = m_recent.total() > 0 ? 0.15 : 0.0;
    double classBoosts[Corpus::WordClassCount];
    for (int c = 0; c < Corpus::WordClassCount; ++c)
        classBoosts[c] = model.classBoost(previousPartOfSpeech, Corpus::WordClass(c));
    struct Scored
    {
        PredictionOffer offer;
        double score;
    };
    std::vector<Scored> scored;
    scored.reserve(size_t(candidates.size()));
    for (const WordEntry *entry : std::as_const(candidates)) {
        const QString lower = entry->text.toLower();
        const quint32 id = model.id(lower);
        const double anywhere = Corpus::rateForFrequency(entry->frequency) / 1e6;
        double boost = 0;
        for (Corpus::WordClass c : classesOf(entry))
            boost = qMax(boost, classBoosts[c]);
        const int pairs = model.count(pairContext, id);
        const int triples = model.count(tripleContext, id);
        const double pairChance = pairFollowed > 0 ? double(pairs) / pairFollowed : 0.0;
        const double tripleChance = tripleFollowed > 0 ? double(triples) / tripleFollowed : 0.0;
        const bool usage = usageWords.contains(entry->text, Qt::CaseInsensitive);
        const double backedOff = pairTrust * pairChance + (1.0 - pairTrust) * anywhere * boost;
        double score = tripleTrust * tripleChance + (1.0 - tripleTrust) * backedOff;
        const int inText = m_recent.count(lower);
        if (recentShare > 0)
            score = (1.0 - recentShare) * score + recentShare * inText / m_recent.total();
        if (usage)
            score += 0.1 / usageWords.size();
        const bool follows = pairs > 0 && keys.last == previous.toLower();
        scored.push_back(
            {{entry->text, int(entry->frequency), follows, boost > 1.5, usage ? previous : QString(), inText > 0},
             score});
    }
    std::stable_sort(scored.begin(), scored.end(), [](const Scored &a, const Scored &b) {
        return a.score != b.score ? a.score > b.score : WordOrder::compare(a.offer.word, b.offer.word) < 0;
    });
    for (size_t i = 0; i < scored.size() && offers.size() < count; ++i)
        offers << scored[i].offer;
    return offers;
}

QStringList DictionaryData::wordList()
{
    normalizeOrder();
    return m_filter.list(*m_content, displayByLetterGroup());
}

int DictionaryData::filteredWordCount()
{
    return int(wordList().size());
}

// ---------------------------------------------------------------------------------------------------------------
// Storage

bool DictionaryData::isDirty() const
{
    // Undoing back to the saved words leaves their entries marked, but nothing differs from the file.
    return (!m_removedEntries.empty() || m_liveChanged > 0) && !m_history.atSavedState();
}

void DictionaryData::beginEdit()
{
    if (!isDirty() && fileChangedOnDisk())
        reload();
}

DictionaryData::SaveResult DictionaryData::save()
{
    m_lastError.clear();
    SaveResult result = checkSavable();
    if (result.failure == SaveResult::Saved && isDirty()) {
        SaveRun run;
        result = writeSave(&run);
        if (result.failure != SaveResult::Saved)
            abandonSave(run);
    }
    m_lastError = result.message;
    return result;
}

DictionaryData::SaveResult DictionaryData::failed(SaveResult::Failure failure, const QString &message) const
{
    SaveResult result;
    result.failure = failure;
    result.message = message.isEmpty() ? StorageText::describeError(m_path, m_db, QStringLiteral("save")) : message;
    return result;
}

QString DictionaryData::changedElsewhereMessage() const
{
    return QStringLiteral("The dictionary file \"%1\" was changed by another program after it was opened here. Your "
                          "changes have not been saved, so as not to overwrite the other program's work: reload the "
                          "dictionary and make your changes again.")
        .arg(shown(m_path));
}

// What can be judged before the file is touched: a read-only file, a file moved, deleted or changed by another
// program, a folder where SQLite cannot write its journal.
DictionaryData::SaveResult DictionaryData::checkSavable()
{
    if (m_readOnly)
        return failed(SaveResult::ReadOnly,
                      QStringLiteral("The dictionary file \"%1\" is read-only, so the changes cannot be saved. Make "
                                     "the file writable, then save again.")
                          .arg(shown(m_path)));
    if (!isDirty())
        return SaveResult();
    if (!QFileInfo::exists(m_path))
        return failed(SaveResult::ChangedElsewhere,
                      QStringLiteral("The dictionary file \"%1\" no longer exists: another program moved or deleted "
                                     "it. Your changes have not been saved; put the file back, then save again.")
                          .arg(shown(m_path)));
    if (fileChangedOnDisk())
        return failed(SaveResult::ChangedElsewhere, changedElsewhereMessage());
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!StorageText::canAccess(folder, W_OK | X_OK, 0222))
        return failed(SaveResult::FolderNotWritable,
                      QStringLiteral("The folder \"%1\" cannot be written to, so the dictionary cannot be saved there. "
                                     "Make the folder writable, then save again.")
                          .arg(shown(folder)));
    return SaveResult();
}

// One transaction: the file is still as loaded, the changed rows are written, the change counter moves on.
DictionaryData::SaveResult DictionaryData::writeSave(SaveRun *run)
{
    if (!m_db.exec("BEGIN IMMEDIATE"))
        return failed(SaveResult::NotStarted);
    SaveResult result = verifyUnchanged(run);
    if (result.failure != SaveResult::Saved)
        return result;
    if (!writeRows(run))
        return failed(SaveResult::WriteFailed);
    // The counter wraps to 0 rather than overflow; all that matters is that it changes.
    const qint64 nextCounter =
        m_content->changeCounter == std::numeric_limits<qint64>::max() ? 0 : m_content->changeCounter + 1;
    {
        // A file whose counter was lost gets one again.
        SqliteStatement counter(m_db.handle(), "INSERT OR REPLACE INTO meta(key, value) VALUES ('change_counter', ?)");
        counter.bind(1, QString::number(nextCounter));
        if (counter.step() != SQLITE_DONE)
            return failed(SaveResult::WriteFailed);
    }
    if (!m_db.exec("COMMIT"))
        return failed(SaveResult::CommitFailed);
    finishSave(nextCounter);
    return SaveResult();
}

// Under the write lock: the counter of changes (or SQLite's own record) shows whether another program saved since
// the file was loaded.
DictionaryData::SaveResult DictionaryData::verifyUnchanged(SaveRun *run)
{
    SqliteStatement counter(m_db.handle(), "SELECT value FROM meta WHERE key = 'change_counter'");
    const int rc = counter.step();
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        return failed(SaveResult::WriteFailed);
    const qint64 stored = rc == SQLITE_ROW ? counter.columnInt(0) : 0;
    if ((rc == SQLITE_ROW) != m_content->hasChangeCounter || stored != m_content->changeCounter ||
        m_db.queryInt("PRAGMA data_version", m_dataVersion) != m_dataVersion)
        return failed(SaveResult::ChangedElsewhere, changedElsewhereMessage());
    run->lockedAsLoaded = true;
    return SaveResult();
}

// Deletes, updates and inserts the rows of every change; new rows take their ids as they are written.
bool DictionaryData::writeRows(SaveRun *run)
{
    SqliteStatement remove(m_db.handle(), "DELETE FROM words WHERE id = ?");
    SqliteStatement insert(m_db.handle(), "INSERT INTO words(text, frequency, kinds, codes) VALUES (?, ?, ?, ?)");
    SqliteStatement update(m_db.handle(), "UPDATE words SET frequency = ?, kinds = ?, codes = ? WHERE id = ?");
    if (!remove.isValid() || !insert.isValid() || !update.isValid())
        return false;
    // Rows of words stored twice go now, and the words they were merged into are written whole.
    for (WordEntry *entry : m_content->merged) {
        if (!(entry->flags & WordEntry::Dead) && !(entry->flags & WordEntry::Changed))
            markChanged(entry);
    }
    // One walk over the changes sorts them into rows to update and rows to insert; a re-spelt word's old row
    // is deleted and the word inserted anew.
    std::vector<qint64> deleted = m_content->duplicateIds;
    for (const WordEntry *entry : m_removedEntries)
        deleted.push_back(entry->id);
    std::vector<WordEntry *> updates;
    run->inserts.reserve(m_changed.size());
    for (WordEntry *entry : m_changed) {
        if (entry->flags & WordEntry::Dead)
            continue;
        if ((entry->flags & WordEntry::Respelt) && entry->id != 0) {
            deleted.push_back(entry->id);
            run->respelt.emplace_back(entry, entry->id);
            entry->id = 0;
        }
        (entry->id ? updates : run->inserts).push_back(entry);
    }
    for (qint64 id : deleted) {
        remove.bind(1, id);
        if (remove.step() != SQLITE_DONE)
            return false;
        remove.reset();
    }
    if (m_content->schemaVersion < DictionaryWriter::SchemaVersion &&
        (!m_db.exec("CREATE UNIQUE INDEX IF NOT EXISTS words_text ON words(text)") ||
         !m_db.exec(
             QByteArray("PRAGMA user_version=" + QByteArray::number(DictionaryWriter::SchemaVersion)).constData())))
        return false;
    for (WordEntry *entry : updates) {
        update.bind(1, qint64(entry->frequency));
        update.bind(2, qint64(entry->kinds));
        update.bind(3, storedCodes(entry));
        update.bind(4, entry->id);
        if (update.step() != SQLITE_DONE)
            return false;
        update.reset();
    }
    // New words are written in display order, so that a file written at once reads back already sorted.
    WordOrder::sort(run->inserts.begin(), run->inserts.end());
    for (WordEntry *entry : run->inserts) {
        const QByteArray text = entry->text.toUtf8();
        const QByteArray codes = storedCodes(entry);
        insert.bindUnowned(1, text);
        insert.bind(2, qint64(entry->frequency));
        insert.bind(3, qint64(entry->kinds));
        insert.bindUnowned(4, codes);
        if (insert.step() != SQLITE_DONE)
            return false;
        insert.reset();
        entry->id = m_db.lastInsertId();
        ++run->written;
    }
    return true;
}

// The save is in the file: the edits are no longer pending.
void DictionaryData::finishSave(qint64 changeCounter)
{
    m_content->changeCounter = changeCounter;
    m_content->hasChangeCounter = true;
    m_content->schemaVersion = DictionaryWriter::SchemaVersion;
    for (WordEntry *entry : m_changed)
        entry->flags &= quint8(~(WordEntry::Changed | WordEntry::Respelt));
    m_changed.clear();
    m_liveChanged = 0;
    for (WordEntry *entry : m_removedEntries)
        entry->id = 0;
    m_removedEntries.clear();
    m_content->duplicateIds.clear();
    m_content->merged.clear();
    m_stamp = stamp();
    m_dataVersion = m_db.queryInt("PRAGMA data_version", m_dataVersion);
}

// A failed save leaves the file as it was and every edit pending, so that it can be tried again.
void DictionaryData::abandonSave(const SaveRun &run)
{
    // SQLite has already rolled back by itself when a COMMIT failed on a full disk.
    const bool rolledBack = m_db.exec("ROLLBACK") || !m_db.inTransaction();
    for (size_t i = 0; i < run.written; ++i)
        run.inserts[i]->id = 0;
    for (const auto &[entry, id] : run.respelt)
        entry->id = id;
    // The file was as loaded when this save took its lock, so whatever touched it since was this save,
    // now rolled back: its new time stamp is not another program's change.
    if (run.lockedAsLoaded && rolledBack) {
        m_stamp = stamp();
        m_dataVersion = m_db.queryInt("PRAGMA data_version", m_dataVersion);
    }
}

bool DictionaryData::reload()
{
    QString error;
    bool readOnly = false;
    if (!DictionaryFile::checkFile(m_path, &readOnly, &error)) {
        m_lastError = error;
        return false;
    }
    SqliteDatabase db;
    if (!DictionaryFile::openDatabase(m_path, &db, readOnly, &error)) {
        m_lastError = error;
        return false;
    }
    const qint64 oldDataVersion = m_dataVersion;
    auto content = std::make_unique<Content>();
    if (!DictionaryFile::load(m_path, &db, content.get(), &m_dataVersion, &error)) {
        m_dataVersion = oldDataVersion;
        m_lastError = error;
        return false;
    }
    // Words that still exist keep their objects, refreshed; the others are detached for good.
    QHash<qint64, Word *> byId;
    for (const WordEntry &entry : m_content->entries) {
        if (entry.word && entry.id)
            byId.insert(entry.id, entry.word);
    }
    for (Word *word : m_words)
        word->m_removed = true;
    if (!byId.isEmpty()) {
        for (WordEntry &entry : content->entries) {
            Word *word = byId.value(entry.id);
            if (!word)
                continue;
            word->m_removed = false;
            word->text = entry.text;
            entry.word = word;
        }
    }
    m_content = std::move(content);
    m_db.swap(db);
    db.close();
    for (WordEntry &entry : m_content->entries) {
        if (entry.word) {
            QList<CodeRecord> codes;
            WordRecord::decodeCodes(
                QByteArray::fromRawData(m_content->arena.constData() + entry.codesOffset, qsizetype(entry.codesLength)),
                &codes);
            fillWord(entry.word, codes);
        }
        if (byId.isEmpty())
            break;
    }
    m_changed.clear();
    m_liveChanged = 0;
    m_removedEntries.clear();
    m_readOnly = readOnly;
    m_stamp = stamp();
    if (m_currentWord && m_currentWord->m_removed)
        m_currentWord = nullptr;
    m_filter.invalidate();
    ++m_revision;
    m_lastError.clear();
    m_history.reset();
    return true;
}

// ---------------------------------------------------------------------------------------------------------------
// The whole dictionary

QByteArray DictionaryData::storedCodes(const WordEntry *entry) const
{
    if (entry->word)
        return WordRecord::encodeCodes(WordRecord::fromWord(entry->word).codes);
    return QByteArray::fromRawData(m_content->arena.constData() + entry->codesOffset, qsizetype(entry->codesLength));
}

void DictionaryData::forEachWord(const std::function<bool(const WordEntry *, const QByteArray &)> &visit)
{
    normalizeOrder();
    for (const WordEntry *entry : m_content->order) {
        if (!(entry->flags & WordEntry::Dead) && !visit(entry, storedCodes(entry)))
            return;
    }
}

QStringList DictionaryData::allWords()
{
    normalizeOrder();
    QStringList words;
    words.reserve(qsizetype(m_content->order.size()));
    for (const WordEntry *entry : m_content->order)
        words.append(entry->text);
    return words;
}

bool DictionaryData::isFileOf(const QString &path) const
{
    return DictionaryFile::sameFile(path, m_path);
}

bool DictionaryData::saveCopy(const QString &path, QString *error)
{
    if (isFileOf(path)) {
        *error = QStringLiteral("A copy cannot replace the dictionary it is made from. Choose another file.");
        return false;
    }
    DictionaryWriter writer(path);
    DictionaryWriter::Settings settings;
    settings.displayName = displayName();
    settings.variety = variety();
    settings.ukGrammar = isUKGrammar();
    settings.letterGroupThreshold = letterGroupThreshold();
    if (!writer.begin(settings, error))
        return false;
    bool written = true;
    forEachWord([&](const WordEntry *entry, const QByteArray &codes) {
        written = writer.add(entry->text, entry->frequency, entry->kinds, codes);
        return written;
    });
    if (!written) {
        *error = QStringLiteral("Could not write the copy \"%1\"; no copy was made. %2")
                     .arg(shown(path), writer.writeError());
        return false;
    }
    return writer.commit(error);
}

bool DictionaryData::dump(QIODevice *out)
{
    DictionaryWriter::Settings settings;
    settings.displayName = displayName();
    settings.variety = variety();
    settings.ukGrammar = isUKGrammar();
    settings.letterGroupThreshold = letterGroupThreshold();
    DictionaryDump writer(out);
    bool ok = writer.writeHeader(settings);
    forEachWord([&](const WordEntry *entry, const QByteArray &codes) {
        ok = ok && writer.writeWord(entry->text, codes);
        return ok;
    });
    return ok && writer.flush();
}

bool DictionaryData::lockForEditing(QString *error)
{
    if (!m_lock)
        m_lock = std::make_unique<DictionaryLock>(m_path);
    return m_lock->lock(error);
}
