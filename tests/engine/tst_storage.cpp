#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>
#include <unistd.h>

#include "prediction.h"
#include "tempdictionary.h"

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Runs SQL on a file through a connection of its own, as another program would.
bool sql(const QString &path, const QByteArray &statements)
{
    sqlite3 *db = nullptr;
    bool ok = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                              nullptr) == SQLITE_OK;
    ok = ok && sqlite3_exec(db, statements.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

QStringList query(const QString &path, const QByteArray &statement)
{
    QStringList rows;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, statement.constData(), -1, &st, nullptr) == SQLITE_OK) {
            while (sqlite3_step(st) == SQLITE_ROW) {
                QStringList columns;
                for (int i = 0; i < sqlite3_column_count(st); ++i)
                    columns << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)));
                rows << columns.join(QLatin1Char('|'));
            }
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return rows;
}

// Builds and saves a dictionary file; no handle stays open.
QString makeDictionary(const QString &path, const QStringList &lines,
                       Prediction::Variety variety = Prediction::American)
{
    QString error;
    DictionaryReference ref = Prediction::createDictionary(path, QStringLiteral("Made"), variety, &error);
    if (ref == 0)
        return error;
    for (const QString &line : lines) {
        if (!TempDictionary::applyLine(ref.get(), line))
            return QStringLiteral("cannot add ") + line;
    }
    return ref->save() == 0 ? QString() : ref->lastError();
}

QString childPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/crashchild");
}

// Has another process take an exclusive lock on the file, held until the process is stopped.
bool lock(QProcess *locker, const QString &path)
{
    locker->start(childPath(), {"lock", path});
    return locker->waitForReadyRead(10000) && locker->readLine().trimmed() == "locked";
}

bool unlock(QProcess *locker)
{
    locker->closeWriteChannel();
    return locker->waitForFinished(10000) && locker->exitCode() == 0;
}

const QStringList SampleWords = {QStringLiteral("Abbey\tname/-/10"),
                                 QStringLiteral("call\tverb/reg/18/Tn,Q1:up,away:about|Ipr::for;noun/reg/9"),
                                 QStringLiteral("quick\tadj./reg/12;adv./-/3"), QStringLiteral("zzz")};

} // namespace

/// Dictionary files: round trips, incremental and failed saves, changes by other programs, bad,
/// locked and read-only files.
class TestStorage : public QObject
{
    Q_OBJECT

private slots:
    void roundTripOfEveryField_data();
    void roundTripOfEveryField();
    void incrementalSave_data();
    void incrementalSave();
    void failedSaveKeepsEdits_data();
    void failedSaveKeepsEdits();
    void beginEditRereadsChangedFile();
    void badFiles_data();
    void badFiles();
    void readOnlyFile();
    void createRefuses_data();
    void createRefuses();
    void orderSurvivesIncrementalSaves();
    void duplicateRowsKeepTheFirst();
};

void TestStorage::roundTripOfEveryField_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expansion");
    QTest::addColumn<QStringList>("adverbs");
    QTest::addColumn<int>("variety");
    QTest::addColumn<QString>("name");
    auto row = [](const char *name, const QString &line, const QString &expansion, const QStringList &adverbs,
                  Prediction::Variety variety = Prediction::American, const QString &title = "Round") {
        QTest::newRow(name) << line << expansion << adverbs << int(variety) << title;
    };
    row("no codes, British", "zzz", QString(), {}, Prediction::British, "Personal (British)");
    row("new code, Canadian", "blorp\tnew//1", QString(), {}, Prediction::Canadian,
        QString::fromUtf8("Dictionnaire élargi"));
    row("usages", "call\tverb/reg/18/Tn,Q1:up,away:about|Ipr::for;noun/reg/9", QString(), {});
    row("adverb positions", "quickly\tadv./-/12", QString(), {"vp+", "+S", "S+"});
    row("expansion", "asap\tadv./-/7", "as soon as possible", {});
    row("separators in values", "odd\tnoun/a;b,c\\d/3/x\\,y:p:q", "tab\tand\nline, semi; back\\", {"a,b", "c;d"});
    row("non-Latin-1", QString::fromUtf8("日本\tname/-/31"), QString::fromUtf8("Ωmega 🎉"), {});
    row("empty codes in a list", "odd\tnoun/reg/3", QString(), {"", "vp+", ""});
    row("one empty code", "odd\tnoun/reg/3", QString(), {""});
    row("subcode with quotes", "colour\tnoun/Loc pl with 'the'/4", QString(), {});
}

void TestStorage::roundTripOfEveryField()
{
    QFETCH(QString, line);
    QFETCH(QString, expansion);
    QFETCH(QStringList, adverbs);
    QFETCH(int, variety);
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath("round.dict");
    QStringList expected;
    {
        DictionaryReference ref = Prediction::createDictionary(path, name, Prediction::Variety(variety));
        QVERIFY(ref != 0);
        QVERIFY(!ref->isDirty());
        Word *word = TempDictionary::applyLine(ref.get(), line);
        QVERIFY(word);
        if (!word->codes.isEmpty()) {
            word->codes.at(0)->expansion = expansion;
            word->codes.at(0)->touch();
            word->codes.at(0)->adverbPositions->setCodes(adverbs);
        }
        expected = TempDictionary::describe(word);
        QCOMPARE(ref->save(), 0);
        QVERIFY(!ref->isDirty());
    }
    QString error;
    DictionaryReference ref = Prediction::openDictionary(path, &error);
    QVERIFY2(ref != 0, qPrintable(error));
    QCOMPARE(ref->wordCount(), 1);
    Word *word = ref->findWord(line.section('\t', 0, 0));
    QVERIFY(word);
    QCOMPARE(TempDictionary::describe(word), expected);
    QVERIFY(!ref->isDirty());
    // The dictionary's own identity survives too.
    QCOMPARE(ref.displayName(), name);
    QCOMPARE(ref->isUK(), variety == Prediction::British);
    QCOMPARE(ref->isCanadian(), variety == Prediction::Canadian);
    QCOMPARE(ref.isUKGrammar(), variety == Prediction::British);
    QCOMPARE(ref->isUKGrammar(), variety == Prediction::British);
    QCOMPARE(ref->path(), QFileInfo(path).canonicalFilePath());
    QVERIFY(!ref->isReadOnly());
}

void TestStorage::incrementalSave_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QStringList>("expectedLog");
    QTest::newRow("change a code") << "frequency" << QStringList{"update|call"};
    QTest::newRow("add a word") << "add" << QStringList{"insert|pear"};
    QTest::newRow("remove a word") << "remove" << QStringList{"delete|quick"};
    QTest::newRow("re-spell a word") << "spell" << QStringList{"update|Abbot"};
    QTest::newRow("two edits of one word") << "twice" << QStringList{"update|call"};
    QTest::newRow("add then remove") << "add-remove" << QStringList();
    QTest::newRow("remove and add back") << "remove-add" << QStringList{"delete|quick", "insert|quick"};
    QTest::newRow("no edit, only browsing") << "browse" << QStringList();
}

void TestStorage::incrementalSave()
{
    QFETCH(QString, edit);
    QFETCH(QStringList, expectedLog);
    QTemporaryDir dir;
    const QString path = dir.filePath("incremental.dict");
    QCOMPARE(makeDictionary(path, SampleWords), QString());
    // Triggers record every row the engine writes.
    QVERIFY(sql(path,
                "CREATE TABLE log(what TEXT);"
                "CREATE TRIGGER u AFTER UPDATE ON words BEGIN INSERT INTO log VALUES ('update|' || new.text); END;"
                "CREATE TRIGGER i AFTER INSERT ON words BEGIN INSERT INTO log VALUES ('insert|' || new.text); END;"
                "CREATE TRIGGER d AFTER DELETE ON words BEGIN INSERT INTO log VALUES ('delete|' || old.text); END;"));
    const QStringList before = query(path, "SELECT id, text, codes FROM words ORDER BY id");
    const QByteArray bytesBefore = fileBytes(path);
    {
        DictionaryReference ref = Prediction::openDictionary(path);
        QVERIFY(ref != 0);
        if (edit == "frequency") {
            ref->findWord("call")->codes.at(0)->setFrequency("5");
        } else if (edit == "add") {
            QVERIFY(ref->addWord("pear", "edit"));
        } else if (edit == "remove") {
            ref->findWord("quick")->removeWord();
        } else if (edit == "spell") {
            ref->findWord("Abbey")->changeSpelling("Abbot");
        } else if (edit == "twice") {
            ref->findWord("call")->codes.at(0)->setFrequency("5");
            ref->findWord("call")->addUse(0);
        } else if (edit == "add-remove") {
            ref->addWord("pear", "edit")->removeWord();
        } else if (edit == "remove-add") {
            ref->findWord("quick")->removeWord();
            QVERIFY(ref->addWord("quick", "edit"));
        } else if (edit == "browse") {
            ref->findWord("call");
            ref->setSelectionRule("Verbs only");
            ref->wordList();
        }
        QCOMPARE(ref->save(), 0);
        QVERIFY(!ref->isDirty());
    }
    QCOMPARE(query(path, "SELECT what FROM log ORDER BY rowid"), expectedLog);
    // Rows the edit did not touch are exactly as they were.
    const QStringList after = query(path, "SELECT id, text, codes FROM words ORDER BY id");
    int unchanged = 0;
    for (const QString &row : before)
        unchanged += after.contains(row) ? 1 : 0;
    const int touched = int(expectedLog.size()) - (edit == "remove-add" ? 1 : 0);
    QCOMPARE(unchanged, int(before.size()) - (edit == "add" ? 0 : touched));
    // A save with nothing to save does not write at all.
    if (edit == "browse")
        QCOMPARE(fileBytes(path), bytesBefore);
}

void TestStorage::failedSaveKeepsEdits_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("messageHas");
    QTest::newRow("another program saved") << QString("other") << QString("another program");
    QTest::newRow("another process saved") << QString("process") << QString("another program");
    QTest::newRow("file replaced") << QString("replaced") << QString("another program");
    QTest::newRow("file overwritten in place") << QString("overwritten") << QString("another program");
    QTest::newRow("file deleted") << QString("deleted") << QString("no longer exists");
    QTest::newRow("folder not writable") << QString("folder") << QString("cannot be written");
    QTest::newRow("journal cannot be made") << QString("journal") << QString("dictionary file");
    QTest::newRow("file locked") << QString("locked") << QString("locked by another program");
}

void TestStorage::failedSaveKeepsEdits()
{
    QFETCH(QString, cause);
    QFETCH(QString, messageHas);
    TempDictionary dict(SampleWords);
    QVERIFY2(dict.error().isEmpty(), qPrintable(dict.error()));
    const QString path = dict.path();
    Word *call = dict->findWord("call");
    call->codes.at(0)->setFrequency("2");
    QVERIFY(dict->addWord("pear", "edit"));
    QVERIFY(dict->isDirty());

    QTemporaryDir other;
    QProcess locker;
    if (cause == "locked") {
        QVERIFY(lock(&locker, path));
    } else if (cause == "other") {
        QVERIFY(sql(path, "INSERT INTO words(text, frequency, kinds, codes) VALUES ('fromother', 0, 0, '');"
                          "UPDATE meta SET value = value + 1 WHERE key = 'change_counter'"));
    } else if (cause == "process") {
        QCOMPARE(QProcess::execute(childPath(), {"add", path, "fromother"}), 0);
    } else if (cause == "replaced") {
        const QString replacement = other.filePath("new.dict");
        QCOMPARE(makeDictionary(replacement, {"fromother"}), QString());
        QVERIFY(::rename(QFile::encodeName(replacement).constData(), QFile::encodeName(path).constData()) == 0);
    } else if (cause == "overwritten") {
        const QString replacement = other.filePath("new.dict");
        QCOMPARE(makeDictionary(replacement, {"fromother"}), QString());
        QVERIFY(writeBytes(path, fileBytes(replacement)));
    } else if (cause == "deleted") {
        QVERIFY(QFile::remove(path));
    } else if (cause == "folder") {
        QVERIFY(QFile::setPermissions(dict.folder(), QFile::ReadOwner | QFile::ExeOwner));
    } else if (cause == "journal") {
        QVERIFY(QDir().mkdir(path + "-journal"));
    }
    const QByteArray before = fileBytes(path);

    QVERIFY(dict->save() != 0);
    QVERIFY2(dict->lastError().contains(messageHas), qPrintable(dict->lastError()));
    QVERIFY(dict->isDirty());
    QCOMPARE(fileBytes(path), before);
    QCOMPARE(call->codes.at(0)->frequency, QStringLiteral("2"));
    QVERIFY(dict->findWord("pear"));
    // Trying again fails the same way: the edits are still waiting.
    QVERIFY(dict->save() != 0);
    QVERIFY(dict->isDirty());

    if (cause == "folder" || cause == "journal" || cause == "locked") {
        // Once the obstacle is gone the same edits save.
        QVERIFY(cause != "locked" || unlock(&locker));
        QFile::setPermissions(dict.folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir().rmdir(path + "-journal");
        QCOMPARE(dict->save(), 0);
        QVERIFY(!dict->isDirty());
        QVERIFY(dict->reload());
        QCOMPARE(dict->findWord("call")->codes.at(0)->frequency, QStringLiteral("2"));
        QVERIFY(dict->findWord("pear"));
    } else if (cause != "deleted") {
        // The other program's work is still there, and reloading shows it.
        QVERIFY(dict->reload());
        QVERIFY(dict->findWord("fromother"));
        QVERIFY(!dict->isDirty());
    } else {
        QVERIFY(!dict->reload());
        QVERIFY(!dict->lastError().isEmpty());
        QVERIFY(dict->isDirty());
    }
}

void TestStorage::beginEditRereadsChangedFile()
{
    TempDictionary dict(SampleWords);
    Word *call = dict->findWord("call");
    TempDictionary edited(SampleWords);
    QVERIFY(edited->addWord("mine", "edit"));
    for (const TempDictionary *d : {&dict, &edited})
        QCOMPARE(QProcess::execute(childPath(), {"add", d->path(), "fromother"}), 0);
    QVERIFY(!dict->findWord("fromother"));
    dict->begin_edit();
    QVERIFY(dict->findWord("fromother"));
    QCOMPARE(dict->findWord("call"), call);
    // Now the file is as loaded: editing and saving works again.
    call->codes.at(0)->setFrequency("1");
    QCOMPARE(dict->save(), 0);
    dict->begin_edit();
    QCOMPARE(call->codes.at(0)->frequency, QStringLiteral("1"));

    // Unsaved edits are not thrown away to reread the file.
    edited->begin_edit();
    QVERIFY(edited->findWord("mine"));
    QVERIFY(!edited->findWord("fromother"));
    QVERIFY(edited->isDirty());
}

void TestStorage::badFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("messageHas");
    auto row = [](const char *kind, const char *message) { QTest::newRow(kind) << QString(kind) << QString(message); };
    row("missing", "does not exist");
    row("empty", "not a Lexora dictionary");
    row("text", "not a Lexora dictionary");
    row("otherdb", "not a Lexora dictionary");
    row("emptydb", "not a Lexora dictionary");
    row("truncated", "damaged");
    row("corrupt", "damaged");
    row("newer", "newer version");
    row("folder", "folder");
    row("unreadable", "cannot be read");
    row("unreadablefolder", "cannot be read");
    row("locked", "locked by another program");
}

void TestStorage::badFiles()
{
    QFETCH(QString, kind);
    QFETCH(QString, messageHas);
    QTemporaryDir dir;
    QString path = dir.filePath("bad.dict");
    QStringList many;
    for (int i = 0; i < 3000; ++i)
        many << QStringLiteral("word%1\tnoun/reg/%2").arg(i).arg(i % 31);

    QProcess locker;
    if (kind == "locked") {
        QCOMPARE(makeDictionary(path, {"apple"}), QString());
        QVERIFY(lock(&locker, path));
    } else if (kind == "empty") {
        QVERIFY(writeBytes(path, QByteArray()));
    } else if (kind == "text") {
        QVERIFY(writeBytes(path, "apple\nbanana\ncherry\n"));
    } else if (kind == "otherdb") {
        QVERIFY(sql(path, "PRAGMA user_version = 1; CREATE TABLE meta(key, value); INSERT INTO meta VALUES "
                          "('format', 'something else'); CREATE TABLE words(x)"));
    } else if (kind == "emptydb") {
        QVERIFY(sql(path, "CREATE TABLE notes(text)"));
    } else if (kind == "truncated" || kind == "corrupt") {
        QCOMPARE(makeDictionary(path, many), QString());
        QByteArray bytes = fileBytes(path);
        QVERIFY(bytes.size() > 16384);
        if (kind == "truncated") {
            bytes.truncate(bytes.size() / 2);
        } else {
            for (qsizetype i = 4096; i < bytes.size(); ++i)
                bytes[i] = char(0xa5 ^ (i & 0x3f));
        }
        QVERIFY(writeBytes(path, bytes));
    } else if (kind == "newer") {
        QCOMPARE(makeDictionary(path, {"apple"}), QString());
        QVERIFY(sql(path, "PRAGMA user_version = 99"));
    } else if (kind == "folder") {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == "unreadable") {
        QCOMPARE(makeDictionary(path, {"apple"}), QString());
        QVERIFY(QFile::setPermissions(path, QFile::Permissions()));
    } else if (kind == "unreadablefolder") {
        QVERIFY(QDir().mkdir(dir.filePath("locked")));
        path = dir.filePath("locked/bad.dict");
        QCOMPARE(makeDictionary(path, {"apple"}), QString());
        QVERIFY(QFile::setPermissions(dir.filePath("locked"), QFile::Permissions()));
        if (::geteuid() == 0) {
            QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("an administrator can read any folder");
        }
    }
    const QByteArray before = fileBytes(path);
    const QFileInfo beforeInfo(path);

    QString error;
    DictionaryReference ref = Prediction::openDictionary(path, &error);
    QVERIFY(ref == 0);
    QVERIFY2(error.contains(messageHas), qPrintable(error));
    QVERIFY2(error.contains(QFileInfo(path).fileName()) || error.contains("folder"), qPrintable(error));
    // Nothing was written, and no side files were left behind.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(fileBytes(path), before);
    QCOMPARE(QFileInfo(path).exists(), beforeInfo.exists());
    QVERIFY(!QFileInfo::exists(path + "-journal"));
    // The error pointer is optional.
    QVERIFY(Prediction::openDictionary(path + ".other") == 0);
    if (kind == "locked") {
        QVERIFY(unlock(&locker));
        QVERIFY(Prediction::openDictionary(path) != 0);
    }
}

void TestStorage::readOnlyFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("readonly.dict");
    QCOMPARE(makeDictionary(path, SampleWords), QString());
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QByteArray before = fileBytes(path);

    QString error;
    DictionaryReference ref = Prediction::openDictionary(path, &error);
    QVERIFY2(ref != 0, qPrintable(error));
    QVERIFY(ref->isReadOnly());
    QCOMPARE(ref->wordCount(), int(SampleWords.size()));
    QVERIFY(ref->addWord("pear", "edit"));
    QVERIFY(ref->isDirty());
    QVERIFY(ref->save() != 0);
    QVERIFY2(ref->lastError().contains("read-only"), qPrintable(ref->lastError()));
    QVERIFY(ref->isDirty());
    QCOMPARE(fileBytes(path), before);
    QVERIFY(ref->reload());
    QVERIFY(!ref->findWord("pear"));
    QVERIFY(!ref->isDirty());
}

void TestStorage::createRefuses_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("messageHas");
    QTest::newRow("existing empty file") << QString("empty") << QString("already exists");
    QTest::newRow("existing text file") << QString("text") << QString("already exists");
    QTest::newRow("open dictionary") << QString("open") << QString("already exists");
    QTest::newRow("missing folder") << QString("no/such/folder.dict") << QString("does not exist");
    QTest::newRow("no path") << QString() << QString();
    QTest::newRow("folder not writable") << QString("readonly") << QString("cannot be written");
}

void TestStorage::createRefuses()
{
    QFETCH(QString, place);
    QFETCH(QString, messageHas);
    QTemporaryDir dir;
    QString path = place.isEmpty() ? QString() : dir.filePath(place.contains('/') ? place : "new.dict");
    DictionaryReference open;
    if (place == "empty" || place == "text") {
        QVERIFY(writeBytes(path, place == "text" ? "keep me\n" : ""));
    } else if (place == "open") {
        QCOMPARE(makeDictionary(path, SampleWords), QString());
        open = Prediction::openDictionary(path);
    } else if (place == "readonly") {
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    }
    const QByteArray before = fileBytes(path);
    QString error;
    QVERIFY(Prediction::createDictionary(path, "New", Prediction::British, &error) == 0);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY2(error.contains(messageHas) && !error.isEmpty(), qPrintable(error));
    // Whatever was there is untouched, even a dictionary that is open.
    QCOMPARE(fileBytes(path), before);
    QCOMPARE(QFileInfo::exists(path), !before.isEmpty() || place == "empty");
    if (open != 0) {
        QVERIFY(open->reload());
        QCOMPARE(open->wordCount(), int(SampleWords.size()));
    }
}

void TestStorage::orderSurvivesIncrementalSaves()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("order.dict");
    QStringList words;
    for (int i = 0; i < 500; ++i)
        words << QStringLiteral("m%1").arg(i, 3, 10, QLatin1Char('0'));
    QCOMPARE(makeDictionary(path, words), QString());
    QStringList expected;
    {
        DictionaryReference ref = Prediction::openDictionary(path);
        // Words saved later land at the end of the file, out of order.
        for (const char *text : {"Zed", "aardvark", "M250a", "abbey", "Abbey", "m499"})
            QVERIFY(ref->addWord(text, "edit"));
        ref->findWord("m100")->changeSpelling("a100");
        ref->findWord("m101")->changeSpelling("z101");
        QCOMPARE(ref->save(), 0);
        expected = ref->wordList();
    }
    QCOMPARE(expected.mid(0, 4), (QStringList{"a100", "aardvark", "Abbey", "abbey"}));
    QCOMPARE(expected.mid(expected.size() - 2), (QStringList{"z101", "Zed"}));
    DictionaryReference ref = Prediction::openDictionary(path);
    QCOMPARE(ref->wordList(), expected);
    QCOMPARE(ref->wordCount(), 505);
}

void TestStorage::duplicateRowsKeepTheFirst()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("twice.dict");
    QCOMPARE(makeDictionary(path, SampleWords), QString());
    // A hand-edited file with a second row for "call".
    QVERIFY(sql(path, "INSERT INTO words(text, frequency, kinds, codes) VALUES ('call', 1, 0, 'new\t\t1\t\t')"));
    DictionaryReference ref = Prediction::openDictionary(path);
    QVERIFY(ref != 0);
    QCOMPARE(ref->wordCount(), int(SampleWords.size()));
    QCOMPARE(ref->wordList().count("call"), 1);
    Word *call = ref->findWord("call");
    QVERIFY(call);
    QCOMPARE(call->codes.at(0)->partOfSpeech, QStringLiteral("verb"));
}

QTEST_GUILESS_MAIN(TestStorage)
#include "tst_storage.moc"
