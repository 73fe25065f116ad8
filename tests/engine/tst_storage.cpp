#include <QBuffer>
#include <QLockFile>
#include <QProcess>
#include <QtTest>
#include <csignal>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include "prediction.h"
#include "rawsqlite.h"
#include "tempdictionary.h"
#include "testfiles.h"

using TestFiles::entries;
using TestFiles::read;

namespace {

// Has another process take an exclusive SQLite lock on the file, held until the process is stopped.
bool lock(QProcess *locker, const QString &path)
{
    locker->start(QCoreApplication::applicationDirPath() + "/crashchild", {"lock", path});
    return locker->waitForReadyRead(10000) && locker->readLine().trimmed() == "locked";
}

// While it lives, files of this process cannot grow beyond a size, as on a full disk.
struct FileSizeLimit
{
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        const struct rlimit limit = {bytes, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
    struct rlimit old;
};

const QStringList SampleWords = {"Abbey\tname/-/10", "call\tverb/reg/18/Tn,Q1:up,away:about|Ipr::for;noun/reg/9",
                                 "quick\tadj./reg/12;adv./-/3", "zzz"};

} // namespace

/// Dictionary files: saves that fail and can be tried again, files damaged or made by other programs, the
/// editing lock, copies and dumps.
class TestStorage : public QObject
{
    Q_OBJECT

private slots:
    void failedSaveKeepsEdits_data();
    void failedSaveKeepsEdits();
    void openingDamagedFiles_data();
    void openingDamagedFiles();
    void editingLock_data();
    void editingLock();
    void staticHandleClosesAtExit();
    void neverReplaces_data();
    void neverReplaces();
    void wholeDictionaryCopiesAndDumps();
    void olderOrderReopens_data();
    void olderOrderReopens();
    void longNames_data();
    void longNames();
    void leftoverTemporaries_data();
    void leftoverTemporaries();
};

void TestStorage::failedSaveKeepsEdits_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("messageHas");
    auto row = [](const char *name, const char *cause, const char *message) {
        QTest::newRow(name) << QString(cause) << QString(message);
    };
    row("another program saved", "other", "another program");
    row("file deleted", "deleted", "no longer exists");
    row("folder not writable", "folder", "cannot be written");
    row("file locked", "locked", "locked by another program");
    // SQLite rolls back by itself when the final commit fails; trying again must still work.
    row("disk full at commit", "full", "File too large");
}

void TestStorage::failedSaveKeepsEdits()
{
    QFETCH(QString, cause);
    QFETCH(QString, messageHas);
    TempDictionary dict(SampleWords);
    const QString path = dict.path();
    Word *call = dict->findWord("call");
    call->codes.at(0)->setFrequency("2");
    QVERIFY(dict->addWord("pear", "edit"));
    dict->findWord("quick")->changeSpelling("Quick");
    QProcess locker;
    std::unique_ptr<FileSizeLimit> full;
    if (cause == "full") {
        for (int i = 0; i < 3000; ++i)
            QVERIFY(dict->addWord(QStringLiteral("word%1").arg(i), "edit"));
        full = std::make_unique<FileSizeLimit>(rlim_t(QFileInfo(path).size()));
    } else if (cause == "locked") {
        QVERIFY(lock(&locker, path));
    } else if (cause == "other") {
        QCOMPARE(QProcess::execute(QCoreApplication::applicationDirPath() + "/crashchild", {"add", path, "x"}), 0);
    } else if (cause == "deleted") {
        QVERIFY(QFile::remove(path));
    } else if (cause == "folder") {
        QVERIFY(QFile::setPermissions(dict.folder(), QFile::ReadOwner | QFile::ExeOwner));
    }
    const QByteArray before = read(path);
    // Trying twice fails the same way: the edits are still waiting, and the file is as it was. Starting to
    // edit again does not throw them away to reread the file.
    for (int attempt = 0; attempt < 2; ++attempt) {
        QVERIFY(dict->save() != 0);
        QVERIFY2(dict->lastError().contains(messageHas), qPrintable(dict->lastError()));
        dict->begin_edit();
        QVERIFY(dict->isDirty() && dict->findWord("pear") && !dict->findWord("x"));
        QCOMPARE(call->codes.at(0)->frequency, QStringLiteral("2"));
        QCOMPARE(read(path), before);
    }
    if (cause == "other") {
        // Reloading shows the other program's work.
        QVERIFY(dict->reload() && dict->findWord("x") && !dict->isDirty());
    } else if (cause == "deleted") {
        QVERIFY(!dict->reload() && dict->isDirty());
    } else {
        // Once the obstacle is gone the same edits save.
        locker.closeWriteChannel();
        QVERIFY(cause != "locked" || locker.waitForFinished(10000));
        full.reset();
        QFile::setPermissions(dict.folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(dict->save(), 0);
        QVERIFY(dict->reload());
        QCOMPARE(dict->findWord("call")->codes.at(0)->frequency, QStringLiteral("2"));
        QVERIFY(dict->findWord("pear") && dict->findWord("Quick") && !dict->findWord("quick") && !dict->isDirty());
    }
}

void TestStorage::openingDamagedFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("damage");  // statements run on a good file
    QTest::addColumn<QString>("messageHas"); // of the refusal, or of the note when the file opens
    auto row = [](const char *kind, const char *damage, const char *message) {
        QTest::newRow(kind) << QString(kind) << QByteArray(damage) << QString(message);
    };
    row("missing", "", "does not exist");
    row("text", "", "not a Lexora dictionary");
    row("truncated", "", "damaged");
    row("corrupt", "", "damaged");
    row("unreadable", "", "cannot be read");
    row("locked", "", "locked by another program");
    row("newer", "PRAGMA user_version = 99", "newer version");
    row("negative version", "PRAGMA user_version = -3", "not a Lexora dictionary");
    row("index disagrees",
        "PRAGMA writable_schema = ON; UPDATE sqlite_schema SET rootpage = (SELECT rootpage FROM sqlite_schema "
        "WHERE name = 'sqlite_autoindex_meta_1') WHERE name = 'words_text'",
        "lexora-dict check");
    // Damage that loading puts right, with a note: here a word re-spelt behind its index's back, so that the
    // index still counts every row but lists one under its old spelling.
    row("repaired: index misses a row",
        "INSERT INTO meta VALUES ('root', (SELECT rootpage FROM sqlite_schema WHERE name = 'words_text')); PRAGMA "
        "writable_schema = ON; DELETE FROM sqlite_schema WHERE name = 'words_text'\n"
        "UPDATE words SET text = 'w9x' WHERE text = 'w9'\n"
        "PRAGMA writable_schema = ON; INSERT INTO sqlite_schema SELECT 'index', 'words_text', 'words', value, "
        "'CREATE UNIQUE INDEX words_text ON words(text)' FROM meta WHERE key = 'root'; DELETE FROM meta WHERE key = "
        "'root'",
        "index of the words did not match");
    row("repaired: frequency above 31",
        "UPDATE words SET frequency = 45, codes = 'verb\treg\t45\t\t' WHERE text = 'w7'", "brought into range");
    // Values that dump, load and drag refuse are put right on opening, so that a backup restores.
    row("repaired: frequency 1.5", "UPDATE words SET codes = 'verb\treg\t1.5\t\t' WHERE text = 'w7'", "became 2");
    row("repaired: frequency many", "UPDATE words SET codes = 'verb\treg\tmany\t\t' WHERE text = 'w7'", "became 0");
    row("repaired: frequency of 5000 digits",
        "UPDATE words SET codes = 'verb\treg\t' || printf('%.5000c', '9') || '\t\t' WHERE text = 'w7'", "became 31");
    row("repaired: 200 grammar codes",
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 199) UPDATE words SET codes = "
        "'noun\treg\t3\t\t' || (SELECT group_concat(char(10) || 'noun\treg\t3\t\t', '') FROM n) WHERE text = 'w7'",
        "cut to the 64");
    row("repaired: control character in a spelling", "UPDATE words SET text = 'w9' || char(7) WHERE text = 'w9'",
        "became \"w9\"");
    row("repaired: spelling of 70 characters", "UPDATE words SET text = printf('%.70c', 'q') WHERE text = 'w9'",
        "control characters, was longer");
    // An older file, without the index that keeps one row per word.
    row("repaired: word stored twice",
        "DROP INDEX words_text; PRAGMA user_version = 1; INSERT INTO words(text, frequency, kinds, codes) VALUES "
        "('w7', 9, 4, 'adj.\treg\t9\t\t')",
        "stored twice");
    // Without its counter of changes a file must still take saves.
    row("repaired: change counter missing", "DELETE FROM meta WHERE key = 'change_counter'", "record of its changes");
    // Saving must not overflow the counter of changes.
    row("repaired: change counter at its limit",
        "UPDATE meta SET value = '9223372036854775807' WHERE key = 'change_counter'", "");
}

void TestStorage::openingDamagedFiles()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, damage);
    QFETCH(QString, messageHas);
    QStringList many;
    for (int i = 0; i < 3000; ++i)
        many << QStringLiteral("w%1\tnoun/reg/%2").arg(i).arg(i % 31);
    TempDictionary dict(many);
    dict.release();
    const QString path = dict.path();
    for (const QByteArray &statements : damage.split('\n')) // one connection each
        QVERIFY(statements.isEmpty() || RawSqlite::exec(path, statements));
    QVERIFY(kind != "repaired: index misses a row" || !Prediction::checkDictionary(path).ok);
    QByteArray bytes = kind == "text" ? "apple\nbanana\ncherry\n" : kind == "missing" ? "" : read(path);
    if (kind == "truncated")
        bytes.truncate(bytes.size() / 2);
    for (qsizetype i = 4096; kind == "corrupt" && i < bytes.size(); ++i)
        bytes[i] = char(0xa5 ^ (i & 0x3f));
    QVERIFY(kind == "missing" ? QFile::remove(path) : TestFiles::write(path, bytes));
    QProcess locker;
    QVERIFY(kind != "locked" || lock(&locker, path));
    QVERIFY(kind != "unreadable" || QFile::setPermissions(path, QFile::Permissions()));
    const QStringList filesBefore = entries(dict.folder());

    QString error;
    DictionaryReference ref = Prediction::openDictionary(path, &error);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    locker.closeWriteChannel();
    locker.waitForFinished(10000);
    if (!kind.startsWith("repaired")) {
        QVERIFY(ref == 0);
        QVERIFY2(error.contains(messageHas) && error.contains("test.dict"), qPrintable(error));
        // Nothing was written, and no side files were left behind.
        QCOMPARE(read(path), bytes);
        QCOMPARE(entries(dict.folder()), filesBefore);
        return;
    }
    QVERIFY2(ref != 0, qPrintable(error));
    const QString notes = ref->loadNotes().join('\n');
    QVERIFY2(notes.isEmpty() == messageHas.isEmpty() && notes.contains(messageHas), qPrintable(notes));
    QVERIFY(!ref->isDirty() && ref->wordCount() == 3000);
    // The word is listed within the full frequency range, with the codes of every row; removed and saved, it
    // stays removed.
    QVERIFY(ref->wordList().contains("w7"));
    QCOMPARE(ref->findWord("w7")->codes.size(), kind.contains("twice") ? 2 : kind.contains("200") ? 64 : 1);
    // What opens dumps, and the dump loads back.
    QBuffer dump;
    QVERIFY(dump.open(QIODevice::ReadWrite) && ref->dump(&dump) && dump.seek(0));
    QString loadError;
    QVERIFY2(Prediction::loadDump(dict.folder() + "/restored.dict", &dump, &loadError) != 0, qPrintable(loadError));
    ref->findWord("w7")->removeWord();
    QCOMPARE(ref->save(), 0);
    ref->findWord("w8")->codes.at(0)->setFrequency("4");
    QCOMPARE(ref->save(), 0);
    ref = DictionaryReference();
    ref = Prediction::openDictionary(path);
    QVERIFY(!ref->findWord("w7") && ref->loadNotes().isEmpty());
    QVERIFY(Prediction::checkDictionary(path).ok);
}

void TestStorage::editingLock_data()
{
    QTest::addColumn<QString>("holder");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<QString>("messageHas");
    QTest::newRow("nobody") << QString() << true << "";
    QTest::newRow("owner gone") << "999999999\nlexora-editor\n" + QSysInfo::machineHostName() + "\n" << true << "";
    QTest::newRow("left empty long ago") << "old empty" << true << "";
    QTest::newRow("live owner") << "live" << false << "already open in another copy";
    QTest::newRow("disk full") << "full" << false << "disk may be full";
}

void TestStorage::editingLock()
{
    QFETCH(QString, holder);
    QFETCH(bool, taken);
    QFETCH(QString, messageHas);
    TempDictionary dict(SampleWords);
    const QString lockPath = dict.path() + ".lock";
    QLockFile live(lockPath);
    std::unique_ptr<FileSizeLimit> full;
    if (holder == "live") {
        QVERIFY(live.tryLock(0));
    } else if (holder == "full") {
        full = std::make_unique<FileSizeLimit>(0);
    } else if (holder.endsWith("empty")) {
        QFile file(lockPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (holder == "old empty")
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    } else if (!holder.isEmpty()) {
        QVERIFY(TestFiles::write(lockPath, holder.toUtf8()));
    }
    QString error;
    QCOMPARE(dict->lockForEditing(&error), taken);
    full.reset();
    QVERIFY2(error.contains(messageHas), qPrintable(error));
    if (!taken)
        return;
    // Held now: taking it again here succeeds, another lock on the file does not, and closing frees it.
    QVERIFY(dict->lockForEditing(&error));
    QLockFile other(lockPath);
    QVERIFY(!other.tryLock(0));
    dict.release();
    QVERIFY(other.tryLock(0));
}

// A handle kept in a static variable closes its dictionary, and frees its lock, after every other static has gone.
void TestStorage::staticHandleClosesAtExit()
{
    TempDictionary dict(SampleWords);
    dict.release();
    QProcess child;
    child.start(QCoreApplication::applicationDirPath() + "/crashchild", {"static", dict.path()});
    QVERIFY(child.waitForFinished(10000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    QLockFile after(dict.path() + ".lock");
    QVERIFY(after.tryLock(0));
}

void TestStorage::neverReplaces_data()
{
    QTest::addColumn<QString>("operation"); // create, copy or load
    QTest::addColumn<QString>("target");
    QTest::addColumn<QByteArray>("dump"); // what is loaded; empty: a dump of the dictionary
    QTest::addColumn<QString>("messageHas");
    auto row = [](const char *operation, const char *target, const QByteArray &dump, const char *message) {
        QTest::addRow("%s %s", operation, target) << QString(operation) << QString(target) << dump << QString(message);
    };
    row("create", "existing file", "", "already exists");
    row("load", "existing file", "", "already exists");
    row("copy", "dangling link", "", "already exists");
    row("load", "missing folder", "", "does not exist");
    row("copy", "read-only folder", "", "cannot be written");
    row("copy", "the dictionary itself", "", "cannot replace the dictionary");
    row("copy", "hard link to the dictionary", "", "cannot replace the dictionary");
    const QByteArray header = "Lexora dictionary dump 1\nname\tD\nvariety\tBritish\nuk-grammar\tyes\n\n";
    row("load", "no dump", "\n", "line 1: this is not");
    row("load", "unknown setting", "Lexora dictionary dump 1\ncolour\tred\n\n", "line 2:");
    row("load", "settings only", "Lexora dictionary dump 1\nname\tD", "the dump ends before its words begin");
    row("load", "frequency 32", header + "apple\tnoun|reg|32||\n", "line 6: the frequency \"32\"");
    row("load", "word twice", header + "apple\nbanana\napple\n", "line 8: the word \"apple\" is there twice");
    row("load", "frequency 1.5", header + "apple\tnoun|reg|1.5||\n", "line 6: the frequency \"1.5\"");
    row("load", "65 grammar codes", header + "apple" + QByteArray("\tnoun|reg|3||").repeated(65) + "\n",
        "more than the 64");
    row("load", "not UTF-8", header + "caf\xe9\n", "line 6: the line is not valid UTF-8");
}

void TestStorage::neverReplaces()
{
    QFETCH(QString, operation);
    QFETCH(QString, target);
    QFETCH(QByteArray, dump);
    QFETCH(QString, messageHas);
    TempDictionary dict(SampleWords);
    QTemporaryDir dir;
    QString path = dir.filePath("new.dict");
    if (target == "existing file") {
        QVERIFY(TestFiles::write(path, "keep me\n"));
    } else if (target == "dangling link") {
        QVERIFY(QFile::link(dir.filePath("nowhere"), path));
    } else if (target == "missing folder") {
        path = dir.filePath("no/such/folder.dict");
    } else if (target == "read-only folder") {
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    } else if (target == "the dictionary itself") {
        path = dict.path();
    } else if (target == "hard link to the dictionary") {
        QCOMPARE(::link(QFile::encodeName(dict.path()).constData(), QFile::encodeName(path).constData()), 0);
    }
    dict->addWord("unsaved", "edit");
    const QByteArray before = read(path);
    const QByteArray dictionaryBefore = read(dict.path());
    const QStringList filesBefore = entries(dir.path());
    QString error;
    if (operation == "create") {
        QVERIFY(Prediction::createDictionary(path, "New", Prediction::British, &error) == 0);
    } else if (operation == "copy") {
        QVERIFY(!dict->saveCopy(path, &error));
    } else {
        QBuffer buffer(&dump);
        QVERIFY(buffer.open(QIODevice::ReadWrite) && (!dump.isEmpty() || (dict->dump(&buffer) && buffer.seek(0))));
        QVERIFY(Prediction::loadDump(path, &buffer, &error) == 0);
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY2(error.contains(messageHas), qPrintable(error));
    // Whatever was there is untouched, the dictionary and its edits too, and nothing is left behind.
    QCOMPARE(read(path), before);
    QCOMPARE(read(dict.path()), dictionaryBefore);
    QCOMPARE(entries(dir.path()), filesBefore);
    QVERIFY(dict->isDirty() && dict->findWord("unsaved"));
}

// A copy and a dump of a dictionary with unsaved edits, filters and letter groups, holding words and values
// with every character the file formats treat specially, give back the same dictionary.
void TestStorage::wholeDictionaryCopiesAndDumps()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("whole.dict");
    DictionaryReference ref = Prediction::createDictionary(path, "Made", Prediction::American, nullptr, 2);
    for (const QString &line :
         SampleWords + QStringList{"日本\tname/-/31", "Ωmega", "🎉party\tnoun/reg/2", "odd\tnoun/reg/3"})
        QVERIFY(TempDictionary::applyLine(ref.get(), line));
    QCOMPARE(ref->save(), 0);
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
    QCOMPARE(ref->wordList(), QStringList{"日本"});
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

void TestStorage::olderOrderReopens_data()
{
    QTest::addColumn<QStringList>("words");
    QStringList few, most;
    for (int i = 0; i < 400; ++i)
        few << QStringLiteral("a%1").arg(i) << QStringLiteral("E%1").arg(i) << QStringLiteral("z%1").arg(i);
    few << "\u00e9lan"
        << "\u00c5ngstr\u00f6m"
        << "Z\u00fcrich";
    for (int i = 0; i < 300; ++i)
        most << QStringLiteral("e%1").arg(i) << QStringLiteral("\u00e9%1").arg(i) << QStringLiteral("\u00c9%1x").arg(i)
             << QStringLiteral("\u00fc%1").arg(i);
    // The rows of an older file: sorted by their code units once ASCII capitals are lowered, accented letters
    // after z.
    QTest::newRow("a few words out of place") << few;
    QTest::newRow("most words out of place") << most;
}

// A file written before accented letters were listed with their base letters opens in today's order, every
// word there, and takes saves that keep it so.
void TestStorage::olderOrderReopens()
{
    QFETCH(QStringList, words);
    // Letters as a reader compares them first: accents taken off by Unicode decomposition, case folded.
    auto letters = [](const QString &text) {
        QString plain = text.normalized(QString::NormalizationForm_D);
        plain.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
        return plain.toCaseFolded();
    };
    auto inLetterOrder = [&](const QStringList &list) {
        for (qsizetype i = 1; i < list.size(); ++i) {
            if (letters(list.at(i - 1)) > letters(list.at(i)))
                return false;
        }
        return true;
    };
    TempDictionary dict(words);
    QVERIFY(dict.error().isEmpty());
    dict.release();
    QVERIFY(RawSqlite::exec(dict.path(), "CREATE TEMP TABLE older AS SELECT text, frequency, kinds, codes FROM words "
                                         "ORDER BY lower(text), text; DELETE FROM words; INSERT INTO words(text, "
                                         "frequency, kinds, codes) SELECT * FROM older ORDER BY rowid"));
    DictionaryReference ref = Prediction::openDictionary(dict.path());
    QVERIFY(ref != 0);
    QStringList listed = ref->allWords();
    QCOMPARE(listed.size(), words.size());
    QCOMPARE(QSet<QString>(listed.cbegin(), listed.cend()), QSet<QString>(words.cbegin(), words.cend()));
    QVERIFY(inLetterOrder(listed));
    QVERIFY(!ref->isDirty() && ref->loadNotes().isEmpty());
    // The same words added one by one to a new dictionary list the same way.
    QTemporaryDir dir;
    DictionaryReference fresh = Prediction::createDictionary(dir.filePath("fresh.dict"), "F", Prediction::American);
    for (auto it = words.crbegin(); it != words.crend(); ++it)
        QVERIFY(fresh->addWord(*it, "edit"));
    QCOMPARE(fresh->allWords(), listed);
    // Offers for a prefix search the reordered list: all words with the letters, accented or not.
    const QStringList offers = ref->predictions("e", int(words.size()));
    QCOMPARE(offers.size(),
             std::count_if(words.cbegin(), words.cend(), [&](const QString &w) { return letters(w).startsWith('e'); }));
    // Words added and changed are saved with the older rows and read back in order.
    QVERIFY(ref->addWord("\u00e9clair", "edit") && ref->addWord("Eclair", "edit"));
    ref->findWord(words.first())->removeWord();
    QCOMPARE(ref->save(), 0);
    ref = DictionaryReference();
    ref = Prediction::openDictionary(dict.path());
    listed = ref->allWords();
    QCOMPARE(listed.size(), words.size() + 1);
    QVERIFY(inLetterOrder(listed) && listed.contains("\u00e9clair") && !listed.contains(words.first()));
    QVERIFY(Prediction::checkDictionary(dict.path()).ok);
}

void TestStorage::longNames_data()
{
    QTest::addColumn<int>("bytes");
    for (int bytes : {248, 251, 255, 256})
        QTest::addRow("%d bytes", bytes) << bytes;
}

// Every name the file system accepts works for create, load, lock and save (the derived names are cut short);
// a longer one is refused with that reason, and nothing is written.
void TestStorage::longNames()
{
    QFETCH(int, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QString(bytes - 5, 'n') + ".dict");
    QString error;
    DictionaryReference ref = Prediction::createDictionary(path, "Long", Prediction::American, &error);
    if (bytes > 255) {
        QVERIFY2(ref == 0 && error.contains("too long"), qPrintable(error));
        QCOMPARE(entries(dir.path()), QStringList());
        return;
    }
    QVERIFY2(ref != 0, qPrintable(error));
    QVERIFY2(ref->lockForEditing(&error), qPrintable(error));
    QVERIFY(ref->addWord("apple", "edit"));
    QCOMPARE(ref->save(), 0);
    QBuffer dump;
    QVERIFY(dump.open(QIODevice::ReadWrite) && ref->dump(&dump) && dump.seek(0));
    ref = DictionaryReference();
    QVERIFY(QFile::rename(path, dir.filePath("old.dict")));
    ref = Prediction::loadDump(path, &dump, &error);
    QVERIFY2(ref != 0 && ref->findWord("apple"), qPrintable(error));
}

void TestStorage::leftoverTemporaries_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<bool>("owned");
    QTest::addColumn<bool>("removed");
    QTest::addRow("killed writer's") << ".made.dict.a1B2c3" << 3600 << false << true;
    QTest::addRow("being written") << ".made.dict.a1B2c3" << 3600 << true << false;
    QTest::addRow("just made") << ".made.dict.a1B2c3" << 0 << false << false;
    QTest::addRow("other dictionary's") << ".other.dict.a1B2c3" << 3600 << false << false;
    QTest::addRow("other pattern") << ".made.dict.a1B2c3d" << 3600 << false << false;
}

// Creating a dictionary removes the temporaries a killed writer of the same name left behind, and only those.
void TestStorage::leftoverTemporaries()
{
    QFETCH(QString, name);
    QFETCH(int, ageSeconds);
    QFETCH(bool, owned);
    QFETCH(bool, removed);
    QTemporaryDir dir;
    const QString planted = dir.filePath(name);
    QFile file(planted);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(4096, 'x')) == 4096);
    file.flush();
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    if (owned)
        QCOMPARE(::flock(file.handle(), LOCK_EX | LOCK_NB), 0);
    QString error;
    DictionaryReference ref =
        Prediction::createDictionary(dir.filePath("made.dict"), "Made", Prediction::American, &error);
    QVERIFY2(ref != 0, qPrintable(error));
    QCOMPARE(QFile::exists(planted), !removed);
    QCOMPARE(entries(dir.path()).size(), removed ? 1 : 2);
}

QTEST_GUILESS_MAIN(TestStorage)
#include "tst_storage.moc"
