// Dictionary files: round trips, saves that succeed, fail and resume, files damaged or made by other
// programs, the editing lock, copies and dumps.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

#include "prediction.h"
#include "rawsqlite.h"
#include "tempdictionary.h"
#include "testfiles.h"

using RawSqlite::query;
using TestFiles::entries;

namespace {

// Builds and saves a dictionary file; no handle stays open.
QString makeDictionary(const QString &path, const QStringList &lines, int letterGroupThreshold = 200000)
{
    QString error;
    DictionaryReference ref =
        Prediction::createDictionary(path, QStringLiteral("Made"), Prediction::American, &error, letterGroupThreshold);
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

// Has another process take an exclusive SQLite lock on the file, held until the process is stopped.
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

// While it lives, files of this process cannot grow beyond a size, as on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        struct rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { lift(); }
    void lift() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    struct rlimit m_old;
};

const QStringList SampleWords = {QStringLiteral("Abbey\tname/-/10"),
                                 QStringLiteral("call\tverb/reg/18/Tn,Q1:up,away:about|Ipr::for;noun/reg/9"),
                                 QStringLiteral("quick\tadj./reg/12;adv./-/3"), QStringLiteral("zzz")};

} // namespace

class TestStorage : public QObject
{
    Q_OBJECT

private slots:
    void incrementalSave_data();
    void incrementalSave();
    void failedSaveKeepsEdits_data();
    void failedSaveKeepsEdits();
    void beginEditRereadsChangedFile();
    void badFiles_data();
    void badFiles();
    void repairedOnLoad_data();
    void repairedOnLoad();
    void editingLock_data();
    void editingLock();
    void neverReplaces_data();
    void neverReplaces();
    void wholeDictionaryCopiesAndDumps();
    void badDumps_data();
    void badDumps();
    void orderSurvivesIncrementalSaves();
};

void TestStorage::incrementalSave_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QStringList>("expectedLog");
    QTest::newRow("change a code") << "frequency" << QStringList{"update|call"};
    QTest::newRow("add a word") << "add" << QStringList{"insert|pear"};
    QTest::newRow("remove a word") << "remove" << QStringList{"delete|quick"};
    QTest::newRow("re-spell a word") << "spell" << QStringList{"delete|Abbey", "insert|Abbot"};
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
    QVERIFY(RawSqlite::exec(
        path, "CREATE TABLE log(what TEXT);"
              "CREATE TRIGGER u AFTER UPDATE ON words BEGIN INSERT INTO log VALUES ('update|' || new.text); END;"
              "CREATE TRIGGER i AFTER INSERT ON words BEGIN INSERT INTO log VALUES ('insert|' || new.text); END;"
              "CREATE TRIGGER d AFTER DELETE ON words BEGIN INSERT INTO log VALUES ('delete|' || old.text); END;"));
    const QStringList before = query(path, "SELECT id, text, codes FROM words ORDER BY id");
    const QByteArray bytesBefore = TestFiles::read(path);
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
    const int touched = int(expectedLog.filter(QRegularExpression("^(update|delete)")).size());
    QCOMPARE(unchanged, int(before.size()) - touched);
    // A save with nothing to save does not write at all.
    if (edit == "browse")
        QCOMPARE(TestFiles::read(path), bytesBefore);
}

void TestStorage::failedSaveKeepsEdits_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("messageHas");
    QTest::newRow("another program saved") << QString("other") << QString("another program");
    QTest::newRow("file replaced") << QString("replaced") << QString("another program");
    QTest::newRow("file deleted") << QString("deleted") << QString("no longer exists");
    QTest::newRow("folder not writable") << QString("folder") << QString("cannot be written");
    QTest::newRow("journal cannot be made") << QString("journal") << QString("dictionary file");
    QTest::newRow("file locked") << QString("locked") << QString("locked by another program");
    // SQLite rolls back by itself when the final commit fails; trying again must still work.
    QTest::newRow("disk full at commit") << QString("full") << QString("disk");
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
    std::unique_ptr<FileSizeLimit> full;
    if (cause == "full") {
        for (int i = 0; i < 3000; ++i)
            QVERIFY(dict->addWord(QStringLiteral("word%1").arg(i), "edit"));
        full = std::make_unique<FileSizeLimit>(rlim_t(QFileInfo(path).size()));
    } else if (cause == "locked") {
        QVERIFY(lock(&locker, path));
    } else if (cause == "other") {
        QVERIFY(RawSqlite::exec(path, "INSERT INTO words(text, frequency, kinds, codes) VALUES ('fromother', 0, 0, '');"
                                      "UPDATE meta SET value = value + 1 WHERE key = 'change_counter'"));
    } else if (cause == "replaced") {
        const QString replacement = other.filePath("new.dict");
        QCOMPARE(makeDictionary(replacement, {"fromother"}), QString());
        QVERIFY(::rename(QFile::encodeName(replacement).constData(), QFile::encodeName(path).constData()) == 0);
    } else if (cause == "deleted") {
        QVERIFY(QFile::remove(path));
    } else if (cause == "folder") {
        QVERIFY(QFile::setPermissions(dict.folder(), QFile::ReadOwner | QFile::ExeOwner));
    } else if (cause == "journal") {
        QVERIFY(QDir().mkdir(path + "-journal"));
    }
    const QByteArray before = TestFiles::read(path);

    QVERIFY(dict->save() != 0);
    QVERIFY2(dict->lastError().contains(messageHas), qPrintable(dict->lastError()));
    QVERIFY(dict->isDirty());
    QCOMPARE(TestFiles::read(path), before);
    QCOMPARE(call->codes.at(0)->frequency, QStringLiteral("2"));
    QVERIFY(dict->findWord("pear"));
    // Trying again fails the same way: the edits are still waiting.
    QVERIFY(dict->save() != 0);
    QVERIFY(dict->isDirty());

    if (cause == "folder" || cause == "journal" || cause == "locked" || cause == "full") {
        // Once the obstacle is gone the same edits save.
        QVERIFY(cause != "locked" || unlock(&locker));
        if (full)
            full->lift();
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
    row("truncated", "damaged");
    row("corrupt", "damaged");
    row("newer", "newer version");
    row("folder", "folder");
    row("unreadable", "cannot be read");
    row("locked", "locked by another program");
    row("negative version", "not a Lexora dictionary");
    row("index disagrees", "lexora-dict check");
    row("long path", "too long");
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
        QVERIFY(TestFiles::write(path, QByteArray()));
    } else if (kind == "text") {
        QVERIFY(TestFiles::write(path, "apple\nbanana\ncherry\n"));
    } else if (kind == "truncated" || kind == "corrupt") {
        QCOMPARE(makeDictionary(path, many), QString());
        QByteArray bytes = TestFiles::read(path);
        QVERIFY(bytes.size() > 16384);
        if (kind == "truncated") {
            bytes.truncate(bytes.size() / 2);
        } else {
            for (qsizetype i = 4096; i < bytes.size(); ++i)
                bytes[i] = char(0xa5 ^ (i & 0x3f));
        }
        QVERIFY(TestFiles::write(path, bytes));
    } else if (kind == "newer" || kind == "negative version") {
        QCOMPARE(makeDictionary(path, {"apple"}), QString());
        QVERIFY(RawSqlite::exec(path, kind == "newer" ? "PRAGMA user_version = 99" : "PRAGMA user_version = -3"));
    } else if (kind == "index disagrees") {
        QCOMPARE(makeDictionary(path, many), QString());
        QVERIFY(RawSqlite::exec(path, "PRAGMA writable_schema = ON; UPDATE sqlite_schema SET rootpage = (SELECT "
                                      "rootpage FROM sqlite_schema WHERE name = 'sqlite_autoindex_meta_1') WHERE "
                                      "name = 'words_text'"));
    } else if (kind == "long path") {
        QString folder = dir.path();
        while (QFile::encodeName(folder).size() < 520)
            folder += QStringLiteral("/") + QString(100, QLatin1Char('d'));
        QVERIFY(QDir().mkpath(folder));
        path = folder + QStringLiteral("/bad.dict");
        QVERIFY(TestFiles::write(path, QByteArray()));
    } else if (kind == "folder") {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == "unreadable") {
        QCOMPARE(makeDictionary(path, {"apple"}), QString());
        QVERIFY(QFile::setPermissions(path, QFile::Permissions()));
    }
    const QByteArray before = TestFiles::read(path);
    const QFileInfo beforeInfo(path);

    QString error;
    DictionaryReference ref = Prediction::openDictionary(path, &error);
    QVERIFY(ref == 0);
    QVERIFY2(error.contains(messageHas), qPrintable(error));
    QVERIFY2(error.contains(QFileInfo(path).fileName()) || error.contains("folder"), qPrintable(error));
    // Nothing was written, and no side files were left behind.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(TestFiles::read(path), before);
    QCOMPARE(QFileInfo(path).exists(), beforeInfo.exists());
    QVERIFY(!QFileInfo::exists(path + "-journal"));
    // The error pointer is optional.
    QVERIFY(Prediction::openDictionary(path + ".other") == 0);
    if (kind == "locked") {
        QVERIFY(unlock(&locker));
        QVERIFY(Prediction::openDictionary(path) != 0);
    }
}

void TestStorage::repairedOnLoad_data()
{
    QTest::addColumn<QByteArray>("damage");
    QTest::addColumn<QString>("note");
    QTest::addColumn<int>("codes"); // of "call" once loaded
    QTest::newRow("frequency above 31")
        << QByteArray("UPDATE words SET frequency = 45, codes = 'verb\treg\t45\t\t' WHERE text = 'call'")
        << "brought into range" << 1;
    QTest::newRow("negative frequency")
        << QByteArray("UPDATE words SET frequency = -4, codes = 'verb\treg\t-4\t\t' WHERE text = 'call'")
        << "brought into range" << 1;
    // An older file, without the index that keeps one row per word.
    QTest::newRow("word stored twice")
        << QByteArray("DROP INDEX words_text; PRAGMA user_version = 1; INSERT INTO words(text, frequency, kinds, "
                      "codes) VALUES ('call', 9, 4, 'adj.\treg\t9\t\t')")
        << "stored twice" << 3;
    QTest::newRow("change counter at its limit")
        << QByteArray("UPDATE meta SET value = '9223372036854775807' WHERE key = 'change_counter'") << QString() << 2;
}

void TestStorage::repairedOnLoad()
{
    QFETCH(QByteArray, damage);
    QFETCH(QString, note);
    QFETCH(int, codes);
    QTemporaryDir dir;
    const QString path = dir.filePath("repair.dict");
    QCOMPARE(makeDictionary(path, SampleWords), QString());
    QVERIFY(RawSqlite::exec(path, damage));
    {
        QString error;
        DictionaryReference ref = Prediction::openDictionary(path, &error);
        QVERIFY2(ref != 0, qPrintable(error));
        QVERIFY2(note.isEmpty() == ref->loadNotes().isEmpty() && ref->loadNotes().join(' ').contains(note),
                 qPrintable(ref->loadNotes().join('\n')));
        QVERIFY(!ref->isDirty());
        // The word is listed within the full frequency range, with the codes of every row.
        QCOMPARE(ref->wordList(), (QStringList{"Abbey", "call", "quick", "zzz"}));
        QCOMPARE(ref->findWord("call")->codes.size(), codes);
        // Removed and saved, it stays removed.
        ref->findWord("call")->removeWord();
        QCOMPARE(ref->save(), 0);
        ref->findWord("quick")->codes.at(0)->setFrequency("4");
        QCOMPARE(ref->save(), 0);
    }
    DictionaryReference ref = Prediction::openDictionary(path);
    QCOMPARE(ref->wordList(), (QStringList{"Abbey", "quick", "zzz"}));
    QVERIFY(ref->loadNotes().isEmpty());
    QCOMPARE(query(path, "SELECT count(*) FROM words WHERE text = 'call'"), QStringList{"0"});
    QVERIFY(!query(path, "SELECT value FROM meta WHERE key = 'change_counter'").value(0).startsWith('-'));
    QCOMPARE(Prediction::checkDictionary(path).ok, true);
}

void TestStorage::editingLock_data()
{
    QTest::addColumn<QString>("holder");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<QString>("messageHas");
    const QByteArray here = QSysInfo::machineHostName().toUtf8();
    QTest::newRow("nobody") << QString() << true << "";
    QTest::newRow("owner gone") << QString::fromUtf8("999999999\nlexora-editor\n" + here + "\n") << true << "";
    QTest::newRow("left empty long ago") << "old empty" << true << "";
    QTest::newRow("being written") << "new empty" << false << "test.dict.lock";
    QTest::newRow("unreadable content") << "x" << false << "test.dict.lock";
    QTest::newRow("another computer") << "4242\nlexora-editor\nelsewhere\n" << false << "\"elsewhere\"";
    QTest::newRow("live owner") << "live" << false << "already open in another copy";
    QTest::newRow("disk full") << "full" << false << "disk may be full";
}

void TestStorage::editingLock()
{
    QFETCH(QString, holder);
    QFETCH(bool, taken);
    QFETCH(QString, messageHas);
    QTemporaryDir dir;
    const QString path = dir.filePath("test.dict");
    QCOMPARE(makeDictionary(path, SampleWords), QString());
    const QString lockPath = path + ".lock";
    QLockFile live(lockPath);
    std::unique_ptr<FileSizeLimit> full;
    if (holder == "live") {
        QVERIFY(live.tryLock(0));
    } else if (holder == "full") {
        full = std::make_unique<FileSizeLimit>(0);
    } else if (holder.endsWith("empty")) {
        QVERIFY(TestFiles::write(lockPath, QByteArray()));
        QFile file(lockPath);
        QVERIFY(file.open(QIODevice::ReadWrite));
        if (holder == "old empty")
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    } else if (!holder.isEmpty()) {
        QVERIFY(TestFiles::write(lockPath, holder.toUtf8()));
    }
    DictionaryReference ref = Prediction::openDictionary(path);
    QVERIFY(ref != 0);
    QString error;
    QCOMPARE(ref->lockForEditing(&error), taken);
    full.reset();
    QVERIFY2(error.contains(messageHas), qPrintable(error));
    if (!taken)
        return;
    // Held now: taking it again here succeeds, another lock on the file does not, and closing frees it.
    QVERIFY(ref->lockForEditing(&error));
    QLockFile other(lockPath);
    QVERIFY(!other.tryLock(0));
    ref = DictionaryReference();
    QVERIFY(other.tryLock(0));
}

void TestStorage::neverReplaces_data()
{
    QTest::addColumn<QString>("operation"); // create, copy or load
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("messageHas");
    auto row = [](const char *operation, const char *target, const char *message) {
        QTest::addRow("%s %s", operation, target) << QString(operation) << QString(target) << QString(message);
    };
    for (const char *operation : {"create", "copy", "load"}) {
        row(operation, "existing file", "already exists");
        row(operation, "dangling link", "already exists");
        row(operation, "missing folder", "does not exist");
        row(operation, "read-only folder", "cannot be written");
    }
    row("create", "no path", "No file name");
    row("copy", "the dictionary itself", "cannot replace the dictionary");
    row("copy", "link to the dictionary", "cannot replace the dictionary");
    row("copy", "hard link to the dictionary", "cannot replace the dictionary");
}

void TestStorage::neverReplaces()
{
    QFETCH(QString, operation);
    QFETCH(QString, target);
    QFETCH(QString, messageHas);
    TempDictionary dict(SampleWords);
    QTemporaryDir dir;
    QString path = dir.filePath("new.dict");
    if (target.startsWith("existing")) {
        QVERIFY(TestFiles::write(path, "keep me\n"));
    } else if (target == "dangling link") {
        QVERIFY(QFile::link(dir.filePath("nowhere"), path));
    } else if (target == "missing folder") {
        path = dir.filePath("no/such/folder.dict");
    } else if (target == "read-only folder") {
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    } else if (target == "no path") {
        path.clear();
    } else if (target.contains("dictionary")) {
        path = dict.path();
        if (target.startsWith("link"))
            QVERIFY(QFile::link(dict.path(), path = dir.filePath("link.dict")));
        else if (target.startsWith("hard link"))
            QVERIFY(::link(QFile::encodeName(dict.path()).constData(),
                           QFile::encodeName(path = dir.filePath("hard.dict")).constData()) == 0);
    }
    dict->addWord("unsaved", "edit");
    const QByteArray before = TestFiles::read(path);
    const QByteArray dictionaryBefore = TestFiles::read(dict.path());
    const QStringList filesBefore = entries(dir.path());
    QString error;
    if (operation == "create") {
        QVERIFY(Prediction::createDictionary(path, "New", Prediction::British, &error) == 0);
    } else if (operation == "copy") {
        QVERIFY(!dict->saveCopy(path, &error));
    } else {
        QBuffer dump;
        QVERIFY(dump.open(QIODevice::ReadWrite) && dict->dump(&dump) && dump.seek(0));
        QVERIFY(Prediction::loadDump(path, &dump, &error) == 0);
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY2(error.contains(messageHas), qPrintable(error));
    // Whatever was there is untouched, the dictionary and its edits too, and nothing is left behind.
    QCOMPARE(TestFiles::read(path), before);
    QCOMPARE(TestFiles::read(dict.path()), dictionaryBefore);
    QCOMPARE(entries(dir.path()), filesBefore);
    QVERIFY(dict->isDirty());
    QCOMPARE(dict->wordCount(), int(SampleWords.size()) + 1);
}

void TestStorage::wholeDictionaryCopiesAndDumps()
{
    // Shown by letter groups, with words whose first letters lie far outside Latin.
    QTemporaryDir dir;
    const QString path = dir.filePath("whole.dict");
    QCOMPARE(makeDictionary(path,
                            SampleWords + QStringList{QString::fromUtf8("日本\tname/-/31"), QString::fromUtf8("Ωmega"),
                                                      QString::fromUtf8("🎉party\tnoun/reg/2"), "odd\tnoun/reg/3"},
                            2),
             QString());
    DictionaryReference ref = Prediction::openDictionary(path);
    QVERIFY(ref->displayByLetterGroup());
    Word *odd = ref->findWord("odd");
    odd->setSubcode(0, "a;b,c\\d|");
    odd->codes.at(0)->expansion = "tab\tline\nbar| semi; back\\ comma,";
    odd->codes.at(0)->adverbPositions->setCodes({"", "vp+"});
    odd->codes.at(0)->touch();
    ref->findWord("zzz")->removeWord();
    ref->findWord("quick")->changeSpelling("Quickly");
    QVERIFY(ref->addWord("unsaved", "edit"));
    ref->setSelectionRule("Names only");
    ref->setMinimumFreq(30);
    const QStringList words = ref->allWords();
    QCOMPARE(words.size(), 8);
    QVERIFY(!words.contains("zzz") && words.contains("Quickly") && words.contains(QString::fromUtf8("🎉party")));

    auto sameAsSource = [&](const DictionaryReference &other) {
        QVERIFY(other != 0);
        QCOMPARE(other->allWords(), words);
        for (const QString &text : words)
            QCOMPARE(TempDictionary::describe(other->findWord(text)), TempDictionary::describe(ref->findWord(text)));
        QCOMPARE(other->displayName(), ref->displayName());
        QCOMPARE(other->variety(), ref->variety());
        QCOMPARE(other->letterGroupThreshold(), 2);
        QVERIFY(!other->isDirty());
    };
    QString error;
    QVERIFY2(ref->saveCopy(dir.filePath("copy.dict"), &error), qPrintable(error));
    sameAsSource(Prediction::openDictionary(dir.filePath("copy.dict")));
    // The source keeps its edits and its filters.
    QVERIFY(ref->isDirty());
    QCOMPARE(ref->wordList(), QStringList{QString::fromUtf8("日本")});

    // Dump, load, dump: the same bytes, and the same words.
    QBuffer first;
    QVERIFY(first.open(QIODevice::ReadWrite) && ref->dump(&first) && first.seek(0));
    DictionaryReference loaded = Prediction::loadDump(dir.filePath("loaded.dict"), &first, &error);
    QVERIFY2(loaded != 0, qPrintable(error));
    sameAsSource(loaded);
    QBuffer second;
    QVERIFY(second.open(QIODevice::WriteOnly) && loaded->dump(&second));
    QCOMPARE(second.data(), first.data());
    QVERIFY(first.data().startsWith("Lexora dictionary dump 1\nname\tMade\nvariety\tAmerican\n"));
    QVERIFY(first.data().contains(
        "\nodd\tnoun|a\\sb\\cc\\\\d\\p|3|tab\\tline\\nbar\\p semi\\s back\\\\ comma\\c|\\e,vp+\n"));
}

void TestStorage::badDumps_data()
{
    QTest::addColumn<QByteArray>("dump");
    QTest::addColumn<QString>("messageHas");
    const QByteArray header = "Lexora dictionary dump 1\nname\tD\nvariety\tBritish\nuk-grammar\tyes\n\n";
    QTest::newRow("empty") << QByteArray() << "line 1: this is not";
    QTest::newRow("unknown setting") << QByteArray("Lexora dictionary dump 1\ncolour\tred\n\n") << "line 2:";
    QTest::newRow("no words part") << QByteArray("Lexora dictionary dump 1\nname\tD\n") << "ends before";
    QTest::newRow("frequency 32") << header + "apple\tnoun|reg|32||\n"
                                  << "line 6: the frequency \"32\"";
    QTest::newRow("malformed code") << header + "apple\tnoun|reg\n"
                                    << "line 6: grammar code 1";
    QTest::newRow("word twice") << header + "apple\nbanana\napple\n"
                                << "line 8: the word \"apple\" is there twice";
    QTest::newRow("empty line among words") << header + "apple\n\nbanana\n"
                                            << "line 7:";
    QTest::newRow("not UTF-8") << header + "caf\xe9\n"
                               << "line 6: the line is not valid UTF-8";
}

void TestStorage::badDumps()
{
    QFETCH(QByteArray, dump);
    QFETCH(QString, messageHas);
    QTemporaryDir dir;
    QBuffer buffer(&dump);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QString error;
    QVERIFY(Prediction::loadDump(dir.filePath("bad.dict"), &buffer, &error) == 0);
    QVERIFY2(error.contains(messageHas), qPrintable(error));
    QCOMPARE(entries(dir.path()), QStringList());
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
        // Two words trade spellings, which the file's one-row-per-spelling index must not refuse.
        Word *first = ref->findWord("m200");
        first->changeSpelling("swap");
        ref->findWord("m201")->changeSpelling("m200");
        first->changeSpelling("m201");
        QCOMPARE(ref->save(), 0);
        expected = ref->wordList();
    }
    QCOMPARE(expected.mid(0, 4), (QStringList{"a100", "aardvark", "Abbey", "abbey"}));
    QCOMPARE(expected.mid(expected.size() - 2), (QStringList{"z101", "Zed"}));
    DictionaryReference ref = Prediction::openDictionary(path);
    QCOMPARE(ref->wordList(), expected);
    QCOMPARE(ref->wordCount(), 505);
}

QTEST_GUILESS_MAIN(TestStorage)
#include "tst_storage.moc"
