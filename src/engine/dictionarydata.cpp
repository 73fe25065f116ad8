#include "dictionarydata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSet>
#include <algorithm>
#include <limits>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include "dictionarydump.h"
#include "dictionarywriter.h"
#include "grammar.h"
#include "storagetext.h"

using StorageText::shown;

namespace {

// A short wait for another program's lock: long enough for its save to finish, short enough not to hang.
const int BusyTimeoutMs = 1500;
// A damaged or hand-edited file may need many repairs; the notes name this many, then count the rest.
const int MaximumNotes = 20;

// The registry of open dictionaries lives until the process ends, since a handle held in a static variable
// may close its dictionary after every other static has gone.
QHash<QString, DictionaryData *> &openDictionaries()
{
    static auto *dictionaries = new QHash<QString, DictionaryData *>;
    return *dictionaries;
}

inline char16_t foldUnit(char16_t u)
{
    if (u < 128)
        return (u >= 'A' && u <= 'Z') ? char16_t(u + 32) : u;
    return char16_t(QChar::toCaseFolded(char32_t(u)));
}

// Case-insensitive order first, then case-sensitive, so that the order is total and stable.
int compareWords(const QString &a, const QString &b)
{
    const qsizetype n = qMin(a.size(), b.size());
    const char16_t *pa = reinterpret_cast<const char16_t *>(a.constData());
    const char16_t *pb = reinterpret_cast<const char16_t *>(b.constData());
    for (qsizetype i = 0; i < n; ++i) {
        if (pa[i] == pb[i])
            continue;
        const char16_t fa = foldUnit(pa[i]);
        const char16_t fb = foldUnit(pb[i]);
        if (fa != fb)
            return fa < fb ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    for (qsizetype i = 0; i < n; ++i) {
        if (pa[i] != pb[i])
            return pa[i] < pb[i] ? -1 : 1;
    }
    return 0;
}

// The first four folded units of a word, so that most comparisons of a big sort touch no string: words
// ordered by their keys are ordered the same way by compareWords.
quint64 sortKey(const QString &text)
{
    quint64 key = 0;
    for (qsizetype i = 0; i < 4; ++i)
        key = (key << 16) | (i < text.size() ? foldUnit(text.at(i).unicode()) : 0);
    return key;
}

// Sorts entries into display order.
template<typename Iterator> void sortEntries(Iterator begin, Iterator end)
{
    std::vector<std::pair<quint64, WordEntry *>> keyed;
    keyed.reserve(size_t(end - begin));
    for (Iterator it = begin; it != end; ++it)
        keyed.emplace_back(sortKey((*it)->text), *it);
    std::sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first < b.first : compareWords(a.second->text, b.second->text) < 0;
    });
    for (const auto &item : keyed)
        *begin++ = item.second;
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat first;
    struct stat second;
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

bool hasHotJournal(const QString &path)
{
    return QFileInfo(path + QStringLiteral("-journal")).size() > 0;
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

// ---------------------------------------------------------------------------------------------------------------
// Opening and creating

bool DictionaryData::checkFile(const QString &path, bool *readOnly, QString *error)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info;
    if (::stat(native.constData(), &info) != 0) {
        const QFileInfo folder(QFileInfo(path).absolutePath());
        if (folder.exists() && !StorageText::canAccess(folder.absoluteFilePath(), X_OK | R_OK, 0555))
            *error = QStringLiteral("The folder \"%1\" cannot be read. Check its permissions, then open the "
                                    "dictionary again.")
                         .arg(shown(folder.absoluteFilePath()));
        else
            *error = QStringLiteral("The dictionary file \"%1\" does not exist. Check the file name and folder.")
                         .arg(shown(path));
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        *error =
            QStringLiteral("\"%1\" is a folder, not a dictionary file. Choose a dictionary file.").arg(shown(path));
        return false;
    }
    if (!StorageText::canAccess(path, R_OK, 0444)) {
        *error = QStringLiteral("The dictionary file \"%1\" cannot be read. Check its permissions, then open it "
                                "again.")
                     .arg(shown(path));
        return false;
    }
    *error = StorageText::pathTooLong(path);
    if (!error->isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("The dictionary file \"%1\" cannot be read (%2). Check its permissions, then open it "
                                "again.")
                     .arg(shown(path), file.errorString());
        return false;
    }
    const QByteArray header = file.read(100);
    const qint64 size = file.size();
    file.close();
    *readOnly = !StorageText::canAccess(path, W_OK, 0222);
    // An interrupted save leaves a journal that SQLite plays back on opening; until then the file itself
    // may be half-written, so its header and size say nothing.
    if (hasHotJournal(path))
        return true;
    if (header.size() < 100 || !header.startsWith(QByteArray("SQLite format 3\0", 16))) {
        *error = StorageText::notADictionary(path);
        return false;
    }
    auto be = [&](int offset, int bytes) {
        quint32 value = 0;
        for (int i = 0; i < bytes; ++i)
            value = (value << 8) | quint8(header.at(offset + i));
        return value;
    };
    quint32 pageSize = be(16, 2);
    if (pageSize == 1)
        pageSize = 65536;
    const quint32 pageCount = be(28, 4);
    const bool pageCountValid = pageCount != 0 && be(24, 4) == be(92, 4);
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0 || (pageCountValid && size < qint64(pageSize) * pageCount) ||
        size % pageSize != 0) {
        *error = StorageText::damaged(path, QStringLiteral("it is incomplete or has been cut short"));
        return false;
    }
    return true;
}

// The page-level check SQLite offers, at a cost that grows with the file but stays well under the time the
// words take to load; a file that fails it is never loaded, so it can never be saved over.
bool DictionaryData::quickCheck(const QString &path, SqliteDatabase *db, QString *error)
{
    SqliteStatement check(db->handle(), "PRAGMA quick_check(1)");
    const int rc = check.step();
    if (rc == SQLITE_ROW && check.columnText(0) == QLatin1String("ok"))
        return true;
    if (rc == SQLITE_ROW)
        *error = StorageText::damaged(path, check.columnText(0));
    else
        *error = StorageText::describeError(path, *db, QStringLiteral("open"));
    return false;
}

bool DictionaryData::openDatabase(SqliteDatabase *db, bool readOnly, QString *error) const
{
    if (!db->open(m_path, readOnly ? SqliteDatabase::ReadOnly : SqliteDatabase::ReadWrite, BusyTimeoutMs)) {
        *error = StorageText::describeError(m_path, *db, QStringLiteral("open"));
        return false;
    }
    db->exec("PRAGMA synchronous=FULL");
    if (readOnly && hasHotJournal(m_path)) {
        *error = QStringLiteral("The dictionary file \"%1\" holds a save that was interrupted, and it cannot be undone "
                                "because the file or its folder is read-only. Make them writable and open the "
                                "dictionary again.")
                     .arg(shown(m_path));
        return false;
    }
    return quickCheck(m_path, db, error);
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
    if (!checkFile(canonical.isEmpty() ? info.absoluteFilePath() : canonical, &readOnly, &message)) {
        if (error)
            *error = message;
        return DictionaryReference();
    }
    std::unique_ptr<DictionaryData> data(new DictionaryData(canonical));
    data->m_readOnly = readOnly;
    if (!data->openDatabase(&data->m_db, readOnly, &message) ||
        !data->load(&data->m_db, data->m_content.get(), &message)) {
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
    const QFileInfo info(path);
    if (!info.isFile()) {
        result.problems << QStringLiteral("\"%1\" does not exist or is not a file").arg(shown(path));
        return result;
    }
    const bool interrupted = hasHotJournal(info.absoluteFilePath());
    bool readOnly = false;
    QString message;
    if (!checkFile(info.absoluteFilePath(), &readOnly, &message)) {
        result.problems << message;
        return result;
    }
    {
        // Every page and index, which is slower than the check made at opening; a writable connection undoes
        // an interrupted save first.
        SqliteDatabase db;
        if (!db.open(info.absoluteFilePath(), readOnly ? SqliteDatabase::ReadOnly : SqliteDatabase::ReadWrite,
                     BusyTimeoutMs)) {
            result.problems << StorageText::describeError(path, db, QStringLiteral("open"));
            return result;
        }
        if (readOnly && interrupted) {
            result.problems << QStringLiteral("A save was interrupted, and it cannot be undone because the file or its "
                                              "folder is read-only. Make them writable and check again; the file is "
                                              "not damaged.");
            return result;
        }
        SqliteStatement integrity(db.handle(), "PRAGMA integrity_check(20)");
        int rc;
        QStringList rows;
        while ((rc = integrity.step()) == SQLITE_ROW)
            rows << integrity.columnText(0);
        if (rc != SQLITE_DONE)
            result.problems << StorageText::describeError(path, db, QStringLiteral("check"));
        else if (rows != QStringList{QStringLiteral("ok")})
            for (const QString &row : std::as_const(rows))
                result.problems << QStringLiteral("integrity: %1").arg(row);
        if (!result.problems.isEmpty())
            return result;
    }
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
                message = QStringLiteral("Could not write \"%1\".").arg(shown(path));
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

void DictionaryData::addNote(Content *content, const QString &note)
{
    if (content->notes.size() < MaximumNotes)
        content->notes << note;
    else
        ++content->hiddenNotes;
}

// A frequency outside 0 to 31 leaves a word counted but never listed nor exported: bring every code into range.
void DictionaryData::repairFrequency(Content *content, WordEntry *entry, qint64 stored)
{
    QList<CodeRecord> codes;
    WordRecord::decodeCodes(
        QByteArray::fromRawData(content->arena.constData() + entry->codesOffset, qsizetype(entry->codesLength)),
        &codes);
    for (CodeRecord &code : codes)
        code.frequency = QString::number(qBound(0, code.frequency.toInt(), int(WordRecord::MaximumFrequency)));
    const QByteArray encoded = WordRecord::encodeCodes(codes);
    entry->codesOffset = quint32(content->arena.size());
    entry->codesLength = quint32(encoded.size());
    content->arena.append(encoded);
    entry->frequency = quint8(qBound(0, WordRecord::maximumFrequency(codes), int(WordRecord::MaximumFrequency)));
    addNote(content, QStringLiteral("The frequency of \"%1\" was %2, outside 0 to 31; it was brought into range.")
                         .arg(entry->text)
                         .arg(stored));
}

// Two rows with one spelling come only from a damaged or hand-edited file: the first row takes the codes of the
// others that it lacks, and the others are deleted at the next save, so that neither row's codes are lost and a
// removed word cannot come back.
void DictionaryData::mergeDuplicates(Content *content, const std::vector<WordEntry *> &duplicates)
{
    for (WordEntry *duplicate : duplicates) {
        WordEntry *first = content->index.find(duplicate->text);
        QList<CodeRecord> codes;
        QList<CodeRecord> extra;
        WordRecord::decodeCodes(
            QByteArray::fromRawData(content->arena.constData() + first->codesOffset, qsizetype(first->codesLength)),
            &codes);
        WordRecord::decodeCodes(QByteArray::fromRawData(content->arena.constData() + duplicate->codesOffset,
                                                        qsizetype(duplicate->codesLength)),
                                &extra);
        for (const CodeRecord &code : std::as_const(extra)) {
            if (!codes.contains(code))
                codes << code;
        }
        const QByteArray encoded = WordRecord::encodeCodes(codes);
        first->codesOffset = quint32(content->arena.size());
        first->codesLength = quint32(encoded.size());
        content->arena.append(encoded);
        first->frequency = qMax(first->frequency, duplicate->frequency);
        first->kinds |= duplicate->kinds;
        duplicate->flags = WordEntry::Stale;
        content->duplicateIds.push_back(duplicate->id);
        duplicate->id = 0;
        if (std::find(content->merged.begin(), content->merged.end(), first) == content->merged.end())
            content->merged.push_back(first);
        addNote(content,
                QStringLiteral("The word \"%1\" was stored twice; the two were merged into one.").arg(duplicate->text));
    }
}

bool DictionaryData::load(SqliteDatabase *db, Content *content, QString *error)
{
    if (!db->exec("BEGIN")) {
        *error = StorageText::describeError(m_path, *db, QStringLiteral("read"));
        return false;
    }
    auto failRead = [&](bool describe) {
        *error = describe ? StorageText::describeError(m_path, *db, QStringLiteral("read"))
                          : StorageText::notADictionary(m_path);
        db->exec("ROLLBACK");
        return false;
    };
    {
        SqliteStatement version(db->handle(), "PRAGMA user_version");
        if (version.step() != SQLITE_ROW)
            return failRead(true);
        content->schemaVersion = int(qBound(qint64(-1), version.columnInt(0), qint64(1) << 30));
    }
    if (content->schemaVersion > DictionaryWriter::SchemaVersion) {
        *error = QStringLiteral("The dictionary file \"%1\" was made by a newer version of Lexora (file format %2; "
                                "this version reads format %3 and older). Open it with the newer version.")
                     .arg(shown(m_path))
                     .arg(content->schemaVersion)
                     .arg(DictionaryWriter::SchemaVersion);
        db->exec("ROLLBACK");
        return false;
    }
    if (content->schemaVersion < 1)
        return failRead(false);
    {
        SqliteStatement meta(db->handle(), "SELECT key, value FROM meta");
        if (!meta.isValid())
            return failRead(meta.prepareResult() != SQLITE_ERROR);
        QHash<QString, QString> values;
        int rc;
        while ((rc = meta.step()) == SQLITE_ROW)
            values.insert(meta.columnText(0), meta.columnText(1));
        if (rc != SQLITE_DONE)
            return failRead(true);
        if (values.value(QStringLiteral("format")) != QLatin1String(DictionaryWriter::formatName()))
            return failRead(false);
        content->displayName = values.value(QStringLiteral("display_name"));
        content->variety = DictionaryWriter::varietyFromName(values.value(QStringLiteral("variety")));
        content->ukGrammar = values.value(QStringLiteral("uk_grammar")) == QLatin1String("1");
        content->letterGroupThreshold =
            values.value(QStringLiteral("letter_group_threshold"), QString::number(DefaultLetterGroupThreshold))
                .toInt();
        content->changeCounter = values.value(QStringLiteral("change_counter")).toLongLong();
    }
    SqliteStatement words(db->handle(), "SELECT id, text, frequency, kinds, codes FROM words");
    if (!words.isValid())
        return failRead(words.prepareResult() != SQLITE_ERROR);
    int rc;
    while ((rc = words.step()) == SQLITE_ROW) {
        int textSize = 0;
        const char *text = words.columnData(1, &textSize);
        content->entries.emplace_back();
        WordEntry &entry = content->entries.back();
        entry.text = QString::fromUtf8(text, textSize);
        entry.id = words.columnInt(0);
        const qint64 frequency = words.columnInt(2);
        entry.frequency = quint8(qBound(qint64(0), frequency, qint64(WordRecord::MaximumFrequency)));
        entry.kinds = quint8(words.columnInt(3));
        int codesSize = 0;
        const char *codes = words.columnData(4, &codesSize);
        entry.codesOffset = quint32(content->arena.size());
        entry.codesLength = quint32(codesSize);
        content->arena.append(codes, codesSize);
        if (frequency != entry.frequency)
            repairFrequency(content, &entry, frequency);
    }
    if (rc != SQLITE_DONE)
        return failRead(true);
    // The rows must agree with the spelling index (when the file has one), or words would go missing.
    if (content->schemaVersion >= 2) {
        const qint64 indexed = db->queryInt("SELECT count(*) FROM words INDEXED BY words_text", -1);
        if (indexed != qint64(content->entries.size())) {
            *error = StorageText::damaged(m_path, QStringLiteral("its word table and index disagree"));
            db->exec("ROLLBACK");
            return false;
        }
    }
    m_dataVersion = db->queryInt("PRAGMA data_version", 0);
    db->exec("COMMIT");

    const std::vector<WordEntry *> duplicates =
        content->index.insertAll(content->entries.begin(), content->entries.end());
    mergeDuplicates(content, duplicates);
    if (content->hiddenNotes > 0)
        content->notes << QStringLiteral("... and %1 more of the same kind.").arg(content->hiddenNotes);
    content->order.reserve(content->entries.size());
    for (WordEntry &entry : content->entries) {
        if (!(entry.flags & WordEntry::Stale))
            content->order.push_back(&entry);
    }
    auto less = [](const WordEntry *a, const WordEntry *b) { return compareWords(a->text, b->text) < 0; };
    if (!std::is_sorted(content->order.begin(), content->order.end(), less)) {
        // Words saved since the last full rewrite sit at the end of the file: sort only the ones out of
        // place and merge them in.
        std::vector<WordEntry *> sorted;
        std::vector<WordEntry *> stray;
        sorted.reserve(content->order.size());
        for (WordEntry *entry : content->order) {
            if (sorted.empty() || less(sorted.back(), entry))
                sorted.push_back(entry);
            else
                stray.push_back(entry);
        }
        if (stray.size() > sorted.size() / 4) {
            sortEntries(content->order.begin(), content->order.end());
        } else {
            sortEntries(stray.begin(), stray.end());
            content->order.clear();
            std::merge(sorted.begin(), sorted.end(), stray.begin(), stray.end(), std::back_inserter(content->order),
                       less);
        }
    }
    return true;
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
    return word;
}

bool DictionaryData::importWord(const QString &text, int frequency, bool guessCodes)
{
    if (!WordRecord::isAcceptableSpelling(text) || m_content->index.find(text))
        return false;
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
    WordEntry *entry = insertEntry(text);
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

bool DictionaryData::lessThan(const QString &a, const QString &b)
{
    return compareWords(a, b) < 0;
}

// Inserting into or erasing from a vector of a million entries moves megabytes, so new entries wait in
// a side list and dead ones stay in place, flagged, until the next ordered walk merges them.
void DictionaryData::insertInOrder(WordEntry *entry)
{
    m_content->pending.push_back(entry);
}

void DictionaryData::normalizeOrder()
{
    Content &content = *m_content;
    if (content.pending.empty() && content.dead == 0)
        return;
    auto less = [](const WordEntry *a, const WordEntry *b) { return lessThan(a->text, b->text); };
    std::vector<WordEntry *> pending;
    pending.swap(content.pending);
    pending.erase(
        std::remove_if(pending.begin(), pending.end(), [](const WordEntry *e) { return e->flags & WordEntry::Dead; }),
        pending.end());
    sortEntries(pending.begin(), pending.end());
    std::vector<WordEntry *> merged;
    merged.reserve(content.order.size() + pending.size());
    auto next = pending.begin();
    for (WordEntry *entry : content.order) {
        if (entry->flags & WordEntry::Dead)
            continue;
        while (next != pending.end() && less(*next, entry))
            merged.push_back(*next++);
        merged.push_back(entry);
    }
    merged.insert(merged.end(), next, pending.end());
    content.order.swap(merged);
    content.dead = 0;
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
    m_listValid = false;
}

void DictionaryData::wordChanged(Word *word)
{
    WordEntry *entry = entryOf(word);
    if (!entry)
        return;
    updateSummary(entry);
    markChanged(entry);
}

void DictionaryData::removeWord(Word *word)
{
    WordEntry *entry = entryOf(word);
    if (!entry)
        return;
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
    m_listValid = false;
}

bool DictionaryData::changeSpelling(Word *word, const QString &spelling)
{
    WordEntry *entry = entryOf(word);
    if (!entry || spelling == word->text || !WordRecord::isAcceptableSpelling(spelling) ||
        m_content->index.find(spelling))
        return false;
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

// ---------------------------------------------------------------------------------------------------------------
// Word list

QStringList DictionaryData::selectionRules()
{
    return {QStringLiteral("all words"),  QStringLiteral("Names only"),      QStringLiteral("Nouns only"),
            QStringLiteral("Verbs only"), QStringLiteral("Adjectives only"), QStringLiteral("Adverbs only"),
            QStringLiteral("Expansions"), QStringLiteral("Non-Expansions"),  QStringLiteral("Unknown words")};
}

void DictionaryData::setSelectionRule(const QString &rule)
{
    const int index = int(selectionRules().indexOf(rule));
    if (index < 0 || index == m_rule)
        return;
    m_rule = index;
    m_listValid = false;
}

void DictionaryData::setMinimumFreq(int frequency)
{
    if (frequency != m_minimumFreq) {
        m_minimumFreq = frequency;
        m_listValid = false;
    }
}

void DictionaryData::setMaximumFreq(int frequency)
{
    if (frequency != m_maximumFreq) {
        m_maximumFreq = frequency;
        m_listValid = false;
    }
}

bool DictionaryData::displayByLetterGroup() const
{
    const int threshold = m_content->letterGroupThreshold;
    return threshold > 0 && wordCount() > threshold;
}

char32_t DictionaryData::letterGroupOf(const QString &text)
{
    if (text.isEmpty())
        return 0;
    char32_t c = text.at(0).unicode();
    if (c < 128)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if (QChar::isHighSurrogate(c) && text.size() > 1 && text.at(1).isLowSurrogate())
        c = QChar::surrogateToUcs4(text.at(0), text.at(1));
    // Accented letters belong to the group of their base letter.
    while (QChar::decompositionTag(c) == QChar::Canonical) {
        const QString base = QChar::decomposition(c);
        if (base.isEmpty())
            break;
        c = base.at(0).unicode();
        if (base.at(0).isHighSurrogate() && base.size() > 1)
            c = QChar::surrogateToUcs4(base.at(0), base.at(1));
    }
    return QChar::toCaseFolded(c);
}

bool DictionaryData::setLetterGroup(const QString &text)
{
    if (text.isEmpty())
        return false;
    const char32_t group = letterGroupOf(text);
    if (group == m_group)
        return false;
    m_group = group;
    if (!displayByLetterGroup())
        return false;
    m_listValid = false;
    return true;
}

bool DictionaryData::passesFilter(const WordEntry *entry) const
{
    if (entry->frequency < m_minimumFreq || entry->frequency > m_maximumFreq)
        return false;
    switch (m_rule) {
    case 1:
        return entry->kinds & WordRecord::Name;
    case 2:
        return entry->kinds & WordRecord::Noun;
    case 3:
        return entry->kinds & WordRecord::Verb;
    case 4:
        return entry->kinds & WordRecord::Adjective;
    case 5:
        return entry->kinds & WordRecord::Adverb;
    case 6:
        return entry->kinds & WordRecord::Expansion;
    case 7:
        return !(entry->kinds & WordRecord::Expansion);
    case 8:
        return !(entry->kinds & WordRecord::Known);
    default:
        return true;
    }
}

char32_t DictionaryData::firstGroupOfList() const
{
    for (const WordEntry *entry : m_content->order) {
        if (passesFilter(entry))
            return letterGroupOf(entry->text);
    }
    return m_content->order.empty() ? 0 : letterGroupOf(m_content->order.front()->text);
}

void DictionaryData::rebuildList()
{
    normalizeOrder();
    m_list.clear();
    const bool byGroup = displayByLetterGroup();
    if (!byGroup)
        m_list.reserve(qsizetype(m_content->order.size()));
    if (byGroup && m_group == 0)
        m_group = firstGroupOfList();
    for (const WordEntry *entry : m_content->order) {
        if (!passesFilter(entry))
            continue;
        if (byGroup && letterGroupOf(entry->text) != m_group)
            continue;
        m_list.append(entry->text);
    }
    m_listValid = true;
}

QStringList DictionaryData::wordList()
{
    if (!m_listValid)
        rebuildList();
    return m_list;
}

int DictionaryData::filteredWordCount()
{
    if (!m_listValid)
        rebuildList();
    return int(m_list.size());
}

// ---------------------------------------------------------------------------------------------------------------
// Storage

bool DictionaryData::isDirty() const
{
    return !m_removedEntries.empty() || m_liveChanged > 0;
}

void DictionaryData::beginEdit()
{
    if (!isDirty() && fileChangedOnDisk())
        reload();
}

int DictionaryData::save()
{
    m_lastError.clear();
    if (m_readOnly) {
        m_lastError = QStringLiteral("The dictionary file \"%1\" is read-only, so the changes cannot be saved. Make "
                                     "the file writable, then save again.")
                          .arg(shown(m_path));
        return 1;
    }
    if (!isDirty())
        return 0;
    const QString changedElsewhere =
        QStringLiteral("The dictionary file \"%1\" was changed by another program after it was opened here. Your "
                       "changes have not been saved, so as not to overwrite the other program's work: reload the "
                       "dictionary and make your changes again.")
            .arg(shown(m_path));
    if (!QFileInfo::exists(m_path)) {
        m_lastError = QStringLiteral("The dictionary file \"%1\" no longer exists: another program moved or deleted "
                                     "it. Your changes have not been saved; put the file back, then save again.")
                          .arg(shown(m_path));
        return 2;
    }
    if (fileChangedOnDisk()) {
        m_lastError = changedElsewhere;
        return 2;
    }
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!StorageText::canAccess(folder, W_OK | X_OK, 0222)) {
        m_lastError = QStringLiteral("The folder \"%1\" cannot be written to, so the dictionary cannot be saved there. "
                                     "Make the folder writable, then save again.")
                          .arg(shown(folder));
        return 3;
    }
    if (!m_db.exec("BEGIN IMMEDIATE")) {
        m_lastError = StorageText::describeError(m_path, m_db, QStringLiteral("save"));
        return 4;
    }
    std::vector<WordEntry *> inserted;
    std::vector<std::pair<WordEntry *, qint64>> respelt;
    bool lockedAsLoaded = false;
    auto fail = [&](const QString &message, int code) {
        m_lastError = message.isEmpty() ? StorageText::describeError(m_path, m_db, QStringLiteral("save")) : message;
        // SQLite has already rolled back by itself when a COMMIT failed on a full disk.
        const bool rolledBack = m_db.exec("ROLLBACK") || !m_db.inTransaction();
        for (WordEntry *entry : inserted)
            entry->id = 0;
        for (const auto &[entry, id] : respelt)
            entry->id = id;
        // The file was as loaded when this save took its lock, so whatever touched it since was this save,
        // now rolled back: its new time stamp is not another program's change.
        if (lockedAsLoaded && rolledBack) {
            m_stamp = stamp();
            m_dataVersion = m_db.queryInt("PRAGMA data_version", m_dataVersion);
        }
        return code;
    };
    {
        SqliteStatement counter(m_db.handle(), "SELECT value FROM meta WHERE key = 'change_counter'");
        if (counter.step() != SQLITE_ROW)
            return fail(QString(), 5);
        if (counter.columnInt(0) != m_content->changeCounter ||
            m_db.queryInt("PRAGMA data_version", m_dataVersion) != m_dataVersion)
            return fail(changedElsewhere, 2);
        lockedAsLoaded = true;
    }
    SqliteStatement remove(m_db.handle(), "DELETE FROM words WHERE id = ?");
    SqliteStatement insert(m_db.handle(), "INSERT INTO words(text, frequency, kinds, codes) VALUES (?, ?, ?, ?)");
    SqliteStatement update(m_db.handle(), "UPDATE words SET frequency = ?, kinds = ?, codes = ? WHERE id = ?");
    if (!remove.isValid() || !insert.isValid() || !update.isValid())
        return fail(QString(), 5);
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
    std::vector<WordEntry *> inserts;
    inserts.reserve(m_changed.size());
    for (WordEntry *entry : m_changed) {
        if (entry->flags & WordEntry::Dead)
            continue;
        if ((entry->flags & WordEntry::Respelt) && entry->id != 0) {
            deleted.push_back(entry->id);
            respelt.emplace_back(entry, entry->id);
            entry->id = 0;
        }
        (entry->id ? updates : inserts).push_back(entry);
    }
    for (qint64 id : deleted) {
        remove.bind(1, id);
        if (remove.step() != SQLITE_DONE)
            return fail(QString(), 5);
        remove.reset();
    }
    if (m_content->schemaVersion < DictionaryWriter::SchemaVersion &&
        (!m_db.exec("CREATE UNIQUE INDEX IF NOT EXISTS words_text ON words(text)") ||
         !m_db.exec(
             QByteArray("PRAGMA user_version=" + QByteArray::number(DictionaryWriter::SchemaVersion)).constData())))
        return fail(QString(), 5);
    for (WordEntry *entry : updates) {
        update.bind(1, qint64(entry->frequency));
        update.bind(2, qint64(entry->kinds));
        update.bind(3, storedCodes(entry));
        update.bind(4, entry->id);
        if (update.step() != SQLITE_DONE)
            return fail(QString(), 5);
        update.reset();
    }
    // New words are written in display order, so that a file written at once reads back already sorted.
    sortEntries(inserts.begin(), inserts.end());
    for (WordEntry *entry : inserts) {
        insert.bind(1, entry->text);
        insert.bind(2, qint64(entry->frequency));
        insert.bind(3, qint64(entry->kinds));
        insert.bind(4, storedCodes(entry));
        if (insert.step() != SQLITE_DONE)
            return fail(QString(), 5);
        insert.reset();
        entry->id = m_db.lastInsertId();
        inserted.push_back(entry);
    }
    // The counter wraps to 0 rather than overflow; all that matters is that it changes.
    const qint64 nextCounter =
        m_content->changeCounter == std::numeric_limits<qint64>::max() ? 0 : m_content->changeCounter + 1;
    {
        SqliteStatement counter(m_db.handle(), "UPDATE meta SET value = ? WHERE key = 'change_counter'");
        counter.bind(1, QString::number(nextCounter));
        if (counter.step() != SQLITE_DONE)
            return fail(QString(), 5);
    }
    if (!m_db.exec("COMMIT"))
        return fail(QString(), 6);
    m_content->changeCounter = nextCounter;
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
    return 0;
}

bool DictionaryData::reload()
{
    QString error;
    bool readOnly = false;
    if (!checkFile(m_path, &readOnly, &error)) {
        m_lastError = error;
        return false;
    }
    SqliteDatabase db;
    if (!openDatabase(&db, readOnly, &error)) {
        m_lastError = error;
        return false;
    }
    const qint64 oldDataVersion = m_dataVersion;
    auto content = std::make_unique<Content>();
    if (!load(&db, content.get(), &error)) {
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
    m_listValid = false;
    m_lastError.clear();
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
    return sameFile(path, m_path);
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
        *error = QStringLiteral("Could not write the copy \"%1\"; no copy was made.").arg(shown(path));
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
