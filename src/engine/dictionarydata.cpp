#include "dictionarydata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include "grammar.h"

namespace {

const char FormatName[] = "lexora-dictionary";
// A short wait for another program's lock: long enough for its save to finish, short enough not to hang.
const int BusyTimeoutMs = 1500;

QHash<QString, DictionaryData *> &openDictionaries()
{
    static QHash<QString, DictionaryData *> dictionaries;
    return dictionaries;
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString varietyName(Prediction::Variety variety)
{
    switch (variety) {
    case Prediction::British:
        return QStringLiteral("British");
    case Prediction::Canadian:
        return QStringLiteral("Canadian");
    case Prediction::American:
        break;
    }
    return QStringLiteral("American");
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

bool canAccess(const QByteArray &path, int mode, mode_t bits)
{
    struct stat info;
    if (::stat(path.constData(), &info) != 0)
        return false;
    // Honour the permission bits even for a user whom the system would let through, so that a file
    // or folder marked read-only is treated as such by everyone.
    return ::access(path.constData(), mode) == 0 && (info.st_mode & bits) != 0;
}

// How text stands to the start of the order's range of words beginning with prefix: below it (-1), inside it
// (0) or above it (1). Case is ignored, as the order ignores it first.
int comparePrefix(const QString &text, const QString &prefix)
{
    const qsizetype n = qMin(text.size(), prefix.size());
    const char16_t *pt = reinterpret_cast<const char16_t *>(text.constData());
    const char16_t *pp = reinterpret_cast<const char16_t *>(prefix.constData());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ft = foldUnit(pt[i]);
        const char16_t fp = foldUnit(pp[i]);
        if (ft != fp)
            return ft < fp ? -1 : 1;
    }
    return text.size() < prefix.size() ? -1 : 0;
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
        if (folder.exists() && !canAccess(QFile::encodeName(folder.absoluteFilePath()), X_OK | R_OK, 0555))
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
    if (!canAccess(native, R_OK, 0444)) {
        *error = QStringLiteral("The dictionary file \"%1\" cannot be read. Check its permissions, then open it "
                                "again.")
                     .arg(shown(path));
        return false;
    }
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
    const QString notADictionary =
        QStringLiteral("The file \"%1\" is not a Lexora dictionary. Choose a dictionary file (made by Lexora).")
            .arg(shown(path));
    // An interrupted save leaves a journal that SQLite plays back on opening; until then the file itself
    // may be half-written, so its header and size say nothing.
    const bool interrupted = QFileInfo(path + QStringLiteral("-journal")).size() > 0;
    *readOnly = !canAccess(native, W_OK, 0222);
    if (interrupted)
        return true;
    if (header.size() < 100 || !header.startsWith(QByteArray("SQLite format 3\0", 16))) {
        *error = notADictionary;
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
        *error = QStringLiteral("The dictionary file \"%1\" is damaged (it is incomplete or has been cut short). "
                                "Restore it from a backup copy.")
                     .arg(shown(path));
        return false;
    }
    return true;
}

QString DictionaryData::describeError(const QString &path, const SqliteDatabase &db, const QString &doing)
{
    switch (db.errorCode()) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("The dictionary file \"%1\" is locked by another program. Close the dictionary there, "
                              "or wait until it has finished saving, and try again.")
            .arg(shown(path));
    case SQLITE_NOTADB:
        return QStringLiteral("The file \"%1\" is not a Lexora dictionary. Choose a dictionary file (made by Lexora).")
            .arg(shown(path));
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
        return QStringLiteral("The dictionary file \"%1\" is damaged and cannot be read. Restore it from a backup "
                              "copy.")
            .arg(shown(path));
    case SQLITE_READONLY:
        return QStringLiteral("The dictionary file \"%1\" cannot be changed: the file or its folder is read-only. "
                              "Make them writable, or save the dictionary elsewhere.")
            .arg(shown(path));
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("Could not %2 the dictionary file \"%1\": it or its folder cannot be opened. Check that "
                              "the folder exists and that you may read and write there.")
            .arg(shown(path), doing);
    case SQLITE_FULL:
        return QStringLiteral("Could not %2 the dictionary file \"%1\": the disk is full. Free some space and try "
                              "again.")
            .arg(shown(path), doing);
    case SQLITE_IOERR:
        return QStringLiteral("Could not %2 the dictionary file \"%1\": the disk reported an error (%3). Check the "
                              "disk and try again.")
            .arg(shown(path), doing, db.errorMessage());
    default:
        break;
    }
    return QStringLiteral("Could not %2 the dictionary file \"%1\": %3.").arg(shown(path), doing, db.errorMessage());
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
    if (!data->m_db.open(canonical, readOnly ? SqliteDatabase::ReadOnly : SqliteDatabase::ReadWrite, BusyTimeoutMs)) {
        if (error)
            *error = describeError(canonical, data->m_db, QStringLiteral("open"));
        return DictionaryReference();
    }
    data->m_db.exec("PRAGMA synchronous=FULL");
    if (!data->load(&data->m_db, data->m_content.get(), &message)) {
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
    auto fail = [&](const QString &message) {
        if (error)
            *error = message;
        return DictionaryReference();
    };
    if (path.isEmpty())
        return fail(QStringLiteral("No file name was given for the new dictionary. Choose a file name."));
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        return fail(QStringLiteral("A file named \"%1\" already exists, and a new dictionary never replaces a file. "
                                   "Choose another name, or delete the old file first.")
                        .arg(shown(info.absoluteFilePath())));
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir())
        return fail(QStringLiteral("The folder \"%1\" does not exist. Create it first, or choose another folder.")
                        .arg(shown(folder.absoluteFilePath())));
    if (!canAccess(QFile::encodeName(folder.absoluteFilePath()), W_OK | X_OK, 0222))
        return fail(QStringLiteral("The folder \"%1\" cannot be written to. Choose a folder where you may save files.")
                        .arg(shown(folder.absoluteFilePath())));

    const QString filePath = info.absoluteFilePath();
    {
        SqliteDatabase db;
        bool ok = db.open(filePath, SqliteDatabase::Create, BusyTimeoutMs);
        if (ok) {
            ok = db.exec("PRAGMA synchronous=FULL;"
                         "BEGIN IMMEDIATE;"
                         "CREATE TABLE meta(key TEXT PRIMARY KEY NOT NULL, value TEXT NOT NULL);"
                         "CREATE TABLE words(id INTEGER PRIMARY KEY, text TEXT NOT NULL,"
                         " frequency INTEGER NOT NULL DEFAULT 0, kinds INTEGER NOT NULL DEFAULT 0,"
                         " codes TEXT NOT NULL DEFAULT '');");
        }
        if (ok) {
            SqliteStatement insert(db.handle(), "INSERT INTO meta(key, value) VALUES (?, ?)");
            const QList<QPair<QString, QString>> values = {
                {QStringLiteral("format"), QString::fromLatin1(FormatName)},
                {QStringLiteral("display_name"), displayName},
                {QStringLiteral("variety"), varietyName(variety)},
                {QStringLiteral("uk_grammar"),
                 variety == Prediction::British ? QStringLiteral("1") : QStringLiteral("0")},
                {QStringLiteral("letter_group_threshold"), QString::number(qMax(0, letterGroupThreshold))},
                {QStringLiteral("change_counter"), QStringLiteral("0")}};
            for (const auto &value : values) {
                insert.bind(1, value.first);
                insert.bind(2, value.second);
                ok = ok && insert.step() == SQLITE_DONE;
                insert.reset();
            }
        }
        if (ok)
            ok = db.exec(QByteArray("PRAGMA user_version=" + QByteArray::number(SchemaVersion)).constData()) &&
                 db.exec("COMMIT");
        if (!ok) {
            const QString message = describeError(filePath, db, QStringLiteral("create"));
            db.close();
            QFile::remove(filePath);
            QFile::remove(filePath + QStringLiteral("-journal"));
            return fail(message);
        }
    }
    return open(filePath, error);
}

bool DictionaryData::load(SqliteDatabase *db, Content *content, QString *error)
{
    const QString notADictionary =
        QStringLiteral("The file \"%1\" is not a Lexora dictionary. Choose a dictionary file (made by Lexora).")
            .arg(shown(m_path));
    const qint64 version = db->queryInt("PRAGMA user_version", -1);
    if (version < 0) {
        *error = describeError(m_path, *db, QStringLiteral("read"));
        return false;
    }
    if (version > SchemaVersion) {
        *error = QStringLiteral("The dictionary file \"%1\" was made by a newer version of Lexora (file format %2; "
                                "this version reads format %3 and older). Open it with the newer version.")
                     .arg(shown(m_path))
                     .arg(version)
                     .arg(SchemaVersion);
        return false;
    }
    if (version < 1) {
        *error = notADictionary;
        return false;
    }
    if (!db->exec("BEGIN")) {
        *error = describeError(m_path, *db, QStringLiteral("read"));
        return false;
    }
    auto failRead = [&](bool describe) {
        *error = describe ? describeError(m_path, *db, QStringLiteral("read")) : notADictionary;
        db->exec("ROLLBACK");
        return false;
    };
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
        if (values.value(QStringLiteral("format")) != QLatin1String(FormatName))
            return failRead(false);
        content->displayName = values.value(QStringLiteral("display_name"));
        const QString variety = values.value(QStringLiteral("variety"));
        content->variety = variety == QLatin1String("British")    ? Prediction::British
                           : variety == QLatin1String("Canadian") ? Prediction::Canadian
                                                                  : Prediction::American;
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
        entry.frequency = quint8(qBound(qint64(0), words.columnInt(2), qint64(255)));
        entry.kinds = quint8(words.columnInt(3));
        int codesSize = 0;
        const char *codes = words.columnData(4, &codesSize);
        entry.codesOffset = quint32(content->arena.size());
        entry.codesLength = quint32(codesSize);
        content->arena.append(codes, codesSize);
    }
    if (rc != SQLITE_DONE)
        return failRead(true);
    m_dataVersion = db->queryInt("PRAGMA data_version", 0);
    db->exec("COMMIT");

    // Two rows with one spelling: only a damaged or hand-edited file has that; the first one counts.
    const std::vector<WordEntry *> duplicates =
        content->index.insertAll(content->entries.begin(), content->entries.end());
    for (WordEntry *entry : duplicates)
        entry->flags = WordEntry::Stale;
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
            std::sort(content->order.begin(), content->order.end(), less);
        } else {
            std::sort(stray.begin(), stray.end(), less);
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
    return word;
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
    std::sort(pending.begin(), pending.end(), less);
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
    entry->frequency = quint8(qBound(0, highest, 255));
    entry->kinds = bits;
}

void DictionaryData::markChanged(WordEntry *entry)
{
    if (!(entry->flags & WordEntry::Changed)) {
        entry->flags |= WordEntry::Changed;
        m_changed.push_back(entry);
    }
    m_listValid = false;
    ++m_revision;
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
    entry->flags |= WordEntry::Removed;
    ++m_content->dead;
    word->m_removed = true;
    if (entry->id != 0)
        m_removedEntries.push_back(entry);
    if (m_currentWord == word)
        m_currentWord = nullptr;
    m_listValid = false;
    ++m_revision;
}

bool DictionaryData::changeSpelling(Word *word, const QString &spelling)
{
    WordEntry *entry = entryOf(word);
    if (!entry || spelling == word->text || !WordRecord::isAcceptableSpelling(spelling) ||
        m_content->index.find(spelling))
        return false;
    // The word moves to a fresh entry under its new spelling; the old one stays behind, dead, until the
    // order is next merged.
    m_content->index.remove(entry->text);
    m_content->entries.push_back(*entry);
    WordEntry *moved = &m_content->entries.back();
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
        return comparePrefix(entry->text, p) < 0;
    });
    // A heap of the best words so far, the worst of them on top.
    auto better = [](const WordEntry *a, const WordEntry *b) {
        if (a->frequency != b->frequency)
            return a->frequency > b->frequency;
        return compareWords(a->text, b->text) < 0;
    };
    std::vector<WordEntry *> best;
    best.reserve(size_t(count) + 1);
    for (auto it = first; it != order.end() && comparePrefix((*it)->text, prefix) == 0; ++it) {
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
    if (!m_removedEntries.empty())
        return true;
    for (const WordEntry *entry : m_changed) {
        if (!(entry->flags & WordEntry::Removed))
            return true;
    }
    return false;
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
    if (!canAccess(QFile::encodeName(folder), W_OK | X_OK, 0222)) {
        m_lastError = QStringLiteral("The folder \"%1\" cannot be written to, so the dictionary cannot be saved there. "
                                     "Make the folder writable, then save again.")
                          .arg(shown(folder));
        return 3;
    }
    if (!m_db.exec("BEGIN IMMEDIATE")) {
        m_lastError = describeError(m_path, m_db, QStringLiteral("save"));
        return 4;
    }
    std::vector<WordEntry *> inserted;
    bool lockedAsLoaded = false;
    auto fail = [&](const QString &message, int code) {
        m_lastError = message.isEmpty() ? describeError(m_path, m_db, QStringLiteral("save")) : message;
        const bool rolledBack = m_db.exec("ROLLBACK");
        for (WordEntry *entry : inserted)
            entry->id = 0;
        // The file was as loaded when this save took its lock, so whatever touched it since was this save,
        // now rolled back: its new time stamp is not another program's change.
        if (lockedAsLoaded && rolledBack)
            m_stamp = stamp();
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
    SqliteStatement update(m_db.handle(),
                           "UPDATE words SET text = ?, frequency = ?, kinds = ?, codes = ? WHERE id = ?");
    if (!remove.isValid() || !insert.isValid() || !update.isValid())
        return fail(QString(), 5);
    for (WordEntry *entry : m_removedEntries) {
        remove.bind(1, entry->id);
        if (remove.step() != SQLITE_DONE)
            return fail(QString(), 5);
        remove.reset();
    }
    // New words are written in display order, so that a file written at once reads back already sorted.
    std::stable_partition(m_changed.begin(), m_changed.end(), [](const WordEntry *entry) { return entry->id != 0; });
    const auto firstNew =
        std::find_if(m_changed.begin(), m_changed.end(), [](const WordEntry *entry) { return entry->id == 0; });
    std::sort(firstNew, m_changed.end(),
              [](const WordEntry *a, const WordEntry *b) { return compareWords(a->text, b->text) < 0; });
    for (WordEntry *entry : m_changed) {
        if (entry->flags & WordEntry::Removed)
            continue;
        const QByteArray codes = WordRecord::encodeCodes(WordRecord::fromWord(entry->word).codes);
        SqliteStatement &statement = entry->id ? update : insert;
        statement.bind(1, entry->text);
        statement.bind(2, qint64(entry->frequency));
        statement.bind(3, qint64(entry->kinds));
        statement.bind(4, codes);
        if (entry->id)
            statement.bind(5, entry->id);
        if (statement.step() != SQLITE_DONE)
            return fail(QString(), 5);
        statement.reset();
        if (!entry->id) {
            entry->id = m_db.lastInsertId();
            inserted.push_back(entry);
        }
    }
    {
        SqliteStatement counter(m_db.handle(), "UPDATE meta SET value = ? WHERE key = 'change_counter'");
        counter.bind(1, QString::number(m_content->changeCounter + 1));
        if (counter.step() != SQLITE_DONE)
            return fail(QString(), 5);
    }
    if (!m_db.exec("COMMIT"))
        return fail(QString(), 6);
    ++m_content->changeCounter;
    for (WordEntry *entry : m_changed)
        entry->flags &= quint8(~WordEntry::Changed);
    m_changed.clear();
    for (WordEntry *entry : m_removedEntries)
        entry->id = 0;
    m_removedEntries.clear();
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
    if (!db.open(m_path, readOnly ? SqliteDatabase::ReadOnly : SqliteDatabase::ReadWrite, BusyTimeoutMs)) {
        m_lastError = describeError(m_path, db, QStringLiteral("open"));
        return false;
    }
    db.exec("PRAGMA synchronous=FULL");
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
    m_removedEntries.clear();
    m_readOnly = readOnly;
    m_stamp = stamp();
    if (m_currentWord && m_currentWord->m_removed)
        m_currentWord = nullptr;
    m_listValid = false;
    ++m_revision;
    m_lastError.clear();
    return true;
}
