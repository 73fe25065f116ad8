#include "dictionaryfile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include "dictionarycontent.h"
#include "dictionarywriter.h"
#include "sqlitedatabase.h"
#include "storagetext.h"
#include "wordorder.h"
#include "wordrecord.h"

using StorageText::shown;

namespace {

// A damaged or hand-edited file may need many repairs; the notes name this many, then count the rest.
const int MaximumNotes = 20;

// One row's share of a fingerprint of the whole table: the sum over all rows does not depend on their order,
// so the word table and its index, read each in its own order, give the same sum exactly when they hold the
// same spellings under the same ids.
quint64 rowFingerprint(const char *text, int size, qint64 id)
{
    quint64 h = quint64(qHash(QByteArrayView(text, size), 0)) ^ (quint64(id) * 0x9e3779b97f4a7c15ULL);
    h = (h ^ (h >> 30)) * 0xbf58476d1ce4e5b9ULL;
    h = (h ^ (h >> 27)) * 0x94d049bb133111ebULL;
    return h ^ (h >> 31);
}

} // namespace

bool DictionaryFile::sameFile(const QString &a, const QString &b)
{
    struct stat first;
    struct stat second;
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

bool DictionaryFile::hasHotJournal(const QString &path)
{
    return QFileInfo(StorageText::fittedPath(path + QStringLiteral("-journal"))).size() > 0;
}

bool DictionaryFile::checkFile(const QString &path, bool *readOnly, QString *error, bool *damaged)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info;
    if (::stat(native.constData(), &info) != 0) {
        const QString why = StorageText::unreachable(path, errno);
        if (!why.isEmpty()) {
            *error = why;
            return false;
        }
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
    // Reading a named pipe or a device would wait for ever, or read what is not a file.
    if (!S_ISREG(info.st_mode)) {
        const QString kind = S_ISFIFO(info.st_mode)                           ? QStringLiteral("a named pipe (FIFO)")
                             : S_ISSOCK(info.st_mode)                         ? QStringLiteral("a socket")
                             : S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode) ? QStringLiteral("a device")
                                                                              : QStringLiteral("a special file");
        *error =
            QStringLiteral("\"%1\" is %2, not a dictionary file. Choose a dictionary file.").arg(shown(path), kind);
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
        if (damaged)
            *damaged = true;
        return false;
    }
    return true;
}

// The page-level check SQLite offers, at a cost that grows with the file but stays well under the time the
// words take to load; a file that fails it is never loaded, so it can never be saved over.
bool DictionaryFile::quickCheck(const QString &path, SqliteDatabase *db, QString *error)
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

// ---------------------------------------------------------------------------------------------------------------
bool DictionaryFile::openDatabase(const QString &path, SqliteDatabase *db, bool readOnly, QString *error)
{
    if (!db->open(path, readOnly ? SqliteDatabase::ReadOnly : SqliteDatabase::ReadWrite, BusyTimeoutMs)) {
        *error = StorageText::describeError(path, *db, QStringLiteral("open"));
        return false;
    }
    db->exec("PRAGMA synchronous=FULL");
    if (readOnly && hasHotJournal(path)) {
        *error = QStringLiteral("The dictionary file \"%1\" holds a save that was interrupted, and it cannot be undone "
                                "because the file or its folder is read-only. Make them writable and open the "
                                "dictionary again.")
                     .arg(shown(path));
        return false;
    }
    return quickCheck(path, db, error);
}

void DictionaryFile::addNote(DictionaryContent *content, const QString &note)
{
    if (content->notes.size() < MaximumNotes)
        content->notes << note;
    else
        ++content->hiddenNotes;
}

// Whatever opens must dump, load and drag: codes that break the rules of a word are put right, and the word is
// written whole at the next save. A stored frequency outside 0 to 31 leaves a word counted but never listed.
void DictionaryFile::repairCodes(DictionaryContent *content, WordEntry *entry, qint64 stored)
{
    QString what;
    const QByteArray encoded = WordRecord::repairedStoredCodes(
        QByteArray(content->arena.constData() + entry->codesOffset, qsizetype(entry->codesLength)), &what);
    QList<CodeRecord> codes;
    WordRecord::decodeCodes(encoded, &codes);
    entry->codesOffset = quint32(content->arena.size());
    entry->codesLength = quint32(encoded.size());
    content->arena.append(encoded);
    entry->frequency = quint8(qBound(0, WordRecord::maximumFrequency(codes), int(WordRecord::MaximumFrequency)));
    entry->kinds = WordRecord::kinds(codes);
    if (what.isEmpty())
        what = QStringLiteral("its frequency was %1, outside 0 to 31").arg(stored);
    addNote(content, QStringLiteral("The grammar codes of \"%1\" were brought into range: %2.").arg(entry->text, what));
    content->merged.push_back(entry);
}

void DictionaryFile::repairSpelling(DictionaryContent *content, WordEntry *entry)
{
    QString spelling = WordRecord::repairedSpelling(entry->text);
    if (spelling.isEmpty())
        spelling = QStringLiteral("unnamed%1").arg(entry->id);
    addNote(content, QStringLiteral("A spelling held control characters, was longer than %1 characters or was empty; "
                                    "it became \"%2\".")
                         .arg(WordRecord::MaximumLength)
                         .arg(spelling));
    entry->text = spelling;
    entry->flags |= WordEntry::Respelt; // its row is written anew at the next save
    content->merged.push_back(entry);
}

// Two rows with one spelling come only from a damaged or hand-edited file: the first row takes the codes of the
// others that it lacks, and the others are deleted at the next save, so that neither row's codes are lost and a
// removed word cannot come back.
void DictionaryFile::mergeDuplicates(DictionaryContent *content, const std::vector<WordEntry *> &duplicates)
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

bool DictionaryFile::load(const QString &path, SqliteDatabase *db, DictionaryContent *content, qint64 *dataVersion,
                          QString *error)
{
    if (!db->exec("BEGIN")) {
        *error = StorageText::describeError(path, *db, QStringLiteral("read"));
        return false;
    }
    auto failRead = [&](bool describe) {
        *error = describe ? StorageText::describeError(path, *db, QStringLiteral("read"))
                          : StorageText::notADictionary(path);
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
                     .arg(shown(path))
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
        content->letterGroupThreshold = values
                                            .value(QStringLiteral("letter_group_threshold"),
                                                   QString::number(Prediction::DefaultLetterGroupThreshold))
                                            .toInt();
        content->changeCounter = values.value(QStringLiteral("change_counter")).toLongLong();
        content->hasChangeCounter = values.contains(QStringLiteral("change_counter"));
        if (!content->hasChangeCounter)
            addNote(content, QStringLiteral("The file's record of its changes was missing; the next save adds it."));
    }
    SqliteStatement words(db->handle(), "SELECT id, text, frequency, kinds, codes FROM words");
    if (!words.isValid())
        return failRead(words.prepareResult() != SQLITE_ERROR);
    int rc;
    quint64 tableFingerprint = 0;
    while ((rc = words.step()) == SQLITE_ROW) {
        int textSize = 0;
        const char *text = words.columnData(1, &textSize);
        content->entries.emplace_back();
        WordEntry &entry = content->entries.back();
        entry.text = QString::fromUtf8(text, textSize);
        entry.id = words.columnInt(0);
        tableFingerprint += rowFingerprint(text, textSize, entry.id);
        const qint64 frequency = words.columnInt(2);
        entry.frequency = quint8(qBound(qint64(0), frequency, qint64(WordRecord::MaximumFrequency)));
        entry.kinds = quint8(words.columnInt(3));
        int codesSize = 0;
        const char *codes = words.columnData(4, &codesSize);
        entry.codesOffset = quint32(content->arena.size());
        entry.codesLength = quint32(codesSize);
        content->arena.append(codes, codesSize);
        if (frequency != entry.frequency || !WordRecord::areAcceptableStoredCodes(codes, codesSize))
            repairCodes(content, &entry, frequency);
        // Most spellings are plain ASCII, which needs no decoding to judge.
        const bool plain = textSize >= 1 && textSize <= WordRecord::MaximumLength &&
                           std::all_of(text, text + textSize, [](char c) { return c >= ' ' && c < 127; });
        if (!plain &&
            (!WordRecord::isAcceptableSpelling(entry.text) || entry.text.toUtf8() != QByteArrayView(text, textSize)))
            repairSpelling(content, &entry);
    }
    if (rc != SQLITE_DONE)
        return failRead(true);
    // The rows must agree with the spelling index (when the file has one), or saves would write into a
    // damaged file and words would go missing. The page check above does not compare the two; a full
    // integrity check would, at a quarter of the time the whole open takes, while reading the index once
    // costs little more than counting its entries did.
    bool rebuildIndex = false;
    if (content->schemaVersion >= 2) {
        SqliteStatement index(db->handle(), "SELECT text, id FROM words INDEXED BY words_text");
        quint64 indexFingerprint = 0;
        size_t indexed = 0;
        while ((rc = index.step()) == SQLITE_ROW) {
            int textSize = 0;
            const char *text = index.columnData(0, &textSize);
            indexFingerprint += rowFingerprint(text, textSize, index.columnInt(1));
            ++indexed;
        }
        if (rc != SQLITE_DONE && rc != SQLITE_CORRUPT && (rc & 0xff) != SQLITE_CORRUPT)
            return failRead(true);
        rebuildIndex = rc != SQLITE_DONE || indexed != content->entries.size() || indexFingerprint != tableFingerprint;
        if (rebuildIndex && db->isReadOnly()) {
            *error = StorageText::damaged(path, QStringLiteral("its index of the words does not match the words"));
            db->exec("ROLLBACK");
            return false;
        }
    }
    *dataVersion = db->queryInt("PRAGMA data_version", 0);
    db->exec("COMMIT");
    // The words themselves are sound, so the index is made again from them.
    if (rebuildIndex) {
        if (!db->exec("REINDEX words_text")) {
            *error = StorageText::damaged(path, QStringLiteral("its index of the words does not match the words, and "
                                                               "cannot be rebuilt: ") +
                                                    db->errorMessage());
            return false;
        }
        addNote(content, QStringLiteral("The index of the words did not match the words; it was rebuilt from them."));
        *dataVersion = db->queryInt("PRAGMA data_version", 0);
    }

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
    WordOrder::sortLoaded(&content->order);
    return true;
}

bool DictionaryFile::checkIntegrity(const QString &path, DictionaryCheck *result, bool *interrupted)
{
    const QFileInfo info(path);
    bool readOnly = false;
    QString message;
    if (!checkFile(info.absoluteFilePath(), &readOnly, &message, &result->damaged)) {
        result->problems << message;
        return false;
    }
    *interrupted = hasHotJournal(info.absoluteFilePath());
    {
        // Every page and index, which is slower than the check made at opening; a writable connection undoes
        // an interrupted save first.
        SqliteDatabase db;
        if (!db.open(info.absoluteFilePath(), readOnly ? SqliteDatabase::ReadOnly : SqliteDatabase::ReadWrite,
                     BusyTimeoutMs)) {
            result->problems << StorageText::describeError(path, db, QStringLiteral("open"));
            return false;
        }
        if (readOnly && *interrupted) {
            result->problems << QStringLiteral(
                "A save was interrupted, and it cannot be undone because the file or its "
                "folder is read-only. Make them writable and check again; the file is "
                "not damaged.");
            return false;
        }
        SqliteStatement integrity(db.handle(), "PRAGMA integrity_check(20)");
        int rc;
        QStringList rows;
        while ((rc = integrity.step()) == SQLITE_ROW)
            rows << integrity.columnText(0);
        if (rc != SQLITE_DONE) {
            result->problems << StorageText::describeError(path, db, QStringLiteral("check"));
            result->damaged = db.errorCode() == SQLITE_CORRUPT || db.errorCode() == SQLITE_FORMAT;
        } else if (rows != QStringList{QStringLiteral("ok")}) {
            for (const QString &row : std::as_const(rows))
                result->problems << QStringLiteral("integrity: %1").arg(row);
            result->damaged = true;
        }
        if (!result->problems.isEmpty())
            return false;
    }
    return true;
}
