// The host application lexora-editor, run as a separate process on the offscreen platform.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "prediction.h"
#include "tempdictionary.h"

namespace {

QString editorProgram()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/lexora-editor");
}

// The process id written in a lock file, or 0 when there is none.
qint64 lockOwner(const QString &dictionaryPath)
{
    QFile lock(dictionaryPath + QStringLiteral(".lock"));
    if (!lock.open(QIODevice::ReadOnly))
        return 0;
    return lock.readLine().trimmed().toLongLong();
}

// A running copy of the editor that is ended (and reaped) when the object goes.
class Editor
{
public:
    explicit Editor(const QStringList &arguments, const QProcessEnvironment &environment)
    {
        m_process.setProcessEnvironment(environment);
        m_process.start(editorProgram(), arguments);
    }
    ~Editor() { stop(); }
    void stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(10000)) {
                m_process.kill();
                m_process.waitForFinished(10000);
            }
        }
    }
    QProcess &process() { return m_process; }
    qint64 pid() const { return m_process.processId(); }
    /// True once the editor has started and holds the lock of dictionaryPath.
    bool holdsLock(const QString &dictionaryPath)
    {
        return m_process.waitForStarted() &&
               QTest::qWaitFor([&] { return lockOwner(dictionaryPath) == m_process.processId(); }, 20000);
    }

private:
    QProcess m_process;
};

} // namespace

class TestHostApp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void options_data();
    void options();
    void refusedDictionaries_data();
    void refusedDictionaries();
    void runsUntilEndedAndLocksItsDictionary();
    void transferTargetIsLockedToo();
    void staleLockIsTakenOver();
    void ownDictionaryIsMadeOnFirstRun();
    void unwritableDataFolder();
    void unwritableDictionaryFolder();

private:
    QProcessEnvironment environment() const;
    // Runs the editor to its end; false when it did not end by itself.
    bool run(const QStringList &arguments, int *exitCode, QString *out, QString *err,
             const QProcessEnvironment &env = QProcessEnvironment());
    // Runs the editor expecting it to refuse at once; true when it ended with a failure, its stderr in err.
    bool refused(const QStringList &arguments, QString *err, const QProcessEnvironment &env = QProcessEnvironment());

    std::unique_ptr<QTemporaryDir> m_home;
};

void TestHostApp::initTestCase()
{
    QVERIFY2(QFileInfo(editorProgram()).isExecutable(), qPrintable(editorProgram()));
}

void TestHostApp::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
}

QProcessEnvironment TestHostApp::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), m_home->path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_home->filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home->filePath(QStringLiteral("config")));
    return env;
}

bool TestHostApp::run(const QStringList &arguments, int *exitCode, QString *out, QString *err,
                      const QProcessEnvironment &env)
{
    QProcess process;
    process.setProcessEnvironment(env.isEmpty() ? environment() : env);
    process.start(editorProgram(), arguments);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    *out = QString::fromLocal8Bit(process.readAllStandardOutput());
    *err = QString::fromLocal8Bit(process.readAllStandardError());
    return true;
}

bool TestHostApp::refused(const QStringList &arguments, QString *err, const QProcessEnvironment &env)
{
    int exitCode = 0;
    QString out;
    return run(arguments, &exitCode, &out, err, env) && exitCode != 0;
}

void TestHostApp::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("succeeds");
    QTest::addColumn<QString>("output");      // pattern the standard output must match
    QTest::addColumn<QString>("errorOutput"); // pattern the standard error must match

    QTest::newRow("--help") << QStringList{"--help"} << true
                            << "--read-only[\\s\\S]*--transfer-to <file>[\\s\\S]*--dev[\\s\\S]*dictionary"
                            << "";
    QTest::newRow("-h") << QStringList{"-h"} << true << "Usage: \\S*lexora-editor \\[options\\] \\[dictionary...\\]"
                        << "";
    QTest::newRow("--version") << QStringList{"--version"} << true << "^lexora-editor \\d+\\.\\d+\\.\\d+\\s*$"
                               << "";
    QTest::newRow("unknown option") << QStringList{"--bogus"} << false << ""
                                    << "bogus";
    QTest::newRow("--transfer-to without a file") << QStringList{"--transfer-to"} << false << ""
                                                  << "transfer-to";
    QTest::newRow("--transfer-to with --read-only")
        << QStringList{"--read-only", "--transfer-to", "x.dict"} << false << ""
        << "--read-only";
}

void TestHostApp::options()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, succeeds);
    QFETCH(QString, output);
    QFETCH(QString, errorOutput);

    int exitCode = 0;
    QString out, err;
    QVERIFY(run(arguments, &exitCode, &out, &err));
    QCOMPARE(exitCode == 0, succeeds);
    QVERIFY2(out.contains(QRegularExpression(output)), qPrintable(out));
    QVERIFY2(err.contains(QRegularExpression(errorOutput)), qPrintable(err));
    // Option handling never gets as far as making the person's own dictionary.
    QVERIFY(!QFileInfo::exists(m_home->filePath(QStringLiteral("data"))));
}

void TestHostApp::refusedDictionaries_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing file") << "missing"
                                  << "does not exist";
    QTest::newRow("a folder") << "folder"
                              << "is not a dictionary file";
    QTest::newRow("not a dictionary") << "text"
                                      << "could not be opened: \\S";
    QTest::newRow("missing transfer target") << "missing target"
                                             << "does not exist";
    QTest::newRow("transfer into itself") << "itself"
                                          << "cannot transfer words into itself";
    QTest::newRow("missing second dictionary") << "second missing"
                                               << "does not exist";
}

// A dictionary that cannot be used ends the run at once with the reason on stderr.
void TestHostApp::refusedDictionaries()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);

    TempDictionary good({"abbey\tnoun/reg/10"});
    QVERIFY(good.error().isEmpty());
    const QString missing = m_home->filePath(QStringLiteral("nowhere/none.dict"));
    const QString text = m_home->filePath(QStringLiteral("notes.dict"));
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("These are not the words you are looking for.\n");
    file.close();

    QStringList arguments;
    QString named;
    if (kind == QLatin1String("missing"))
        arguments << (named = missing);
    else if (kind == QLatin1String("folder"))
        arguments << (named = m_home->path());
    else if (kind == QLatin1String("text"))
        arguments << (named = text);
    else if (kind == QLatin1String("missing target"))
        arguments << QStringLiteral("--transfer-to") << (named = missing) << good.path();
    else if (kind == QLatin1String("itself"))
        arguments << QStringLiteral("--transfer-to") << good.path() << (named = good.path());
    else if (kind == QLatin1String("second missing"))
        arguments << good.path() << (named = missing);

    QString err;
    QVERIFY(refused(arguments, &err));
    QVERIFY2(err.contains(QDir::toNativeSeparators(named)), qPrintable(err));
    QVERIFY2(err.contains(QRegularExpression(reason)), qPrintable(err));
    // Nothing is left locked behind.
    QVERIFY(!QFileInfo::exists(good.path() + QStringLiteral(".lock")));
    QVERIFY(!QFileInfo::exists(missing));
}

void TestHostApp::runsUntilEndedAndLocksItsDictionary()
{
    TempDictionary dictionary({"abbey\tnoun/reg/10", "about\tadv./-/20"});
    QVERIFY(dictionary.error().isEmpty());
    Editor editor({dictionary.path()}, environment());
    QVERIFY(editor.holdsLock(dictionary.path()));
    QCOMPARE(editor.process().state(), QProcess::Running);
    // Opening a dictionary changes nothing in it.
    QVERIFY(!dictionary->isDirty());

    // A second copy is turned away, naming the first, whose lock stays.
    QString err;
    QVERIFY(refused({dictionary.path()}, &err));
    QVERIFY2(err.contains(QStringLiteral("already open in another copy")), qPrintable(err));
    QVERIFY2(err.contains(QString::number(editor.pid())), qPrintable(err));
    QCOMPARE(editor.process().state(), QProcess::Running);
    QCOMPARE(lockOwner(dictionary.path()), editor.pid());

    // A viewer on the same dictionary starts and stays until it is ended, leaving the editor's lock alone.
    Editor viewer({QStringLiteral("--read-only"), dictionary.path()}, environment());
    QVERIFY(viewer.process().waitForStarted());
    QVERIFY(!viewer.process().waitForFinished(3000));
    QCOMPARE(lockOwner(dictionary.path()), editor.pid());
    QVERIFY(!viewer.process().readAllStandardError().contains("already open"));
    viewer.stop();
    editor.stop();
    QCOMPARE(dictionary->wordCount(), 2);

    // The same dictionary given twice in one run is opened once, not turned away.
    Editor twice({dictionary.path(), dictionary.path()}, environment());
    QVERIFY(twice.holdsLock(dictionary.path()));
    QCOMPARE(twice.process().state(), QProcess::Running);
}

// Words are moved into the transfer target, so it is guarded like the dictionaries shown.
void TestHostApp::transferTargetIsLockedToo()
{
    TempDictionary source({"abbey\tnoun/reg/10"}), second({"about\tadv./-/20"}), target({"zebra\tnoun/reg/9"});
    QVERIFY(source.error().isEmpty() && second.error().isEmpty() && target.error().isEmpty());
    Editor editor({QStringLiteral("--transfer-to"), target.path(), source.path(), second.path()}, environment());
    QVERIFY(editor.holdsLock(second.path()));
    QCOMPARE(lockOwner(source.path()), editor.pid());
    QCOMPARE(lockOwner(target.path()), editor.pid());
    QString err;
    QVERIFY(refused({target.path()}, &err));
    QVERIFY2(err.contains(QStringLiteral("already open in another copy")), qPrintable(err));
}

// A copy of the editor that was killed leaves its lock behind; the next copy takes it over.
void TestHostApp::staleLockIsTakenOver()
{
    TempDictionary dictionary({"abbey\tnoun/reg/10"});
    QVERIFY(dictionary.error().isEmpty());
    qint64 firstPid = 0;
    {
        Editor first({dictionary.path()}, environment());
        QVERIFY(first.holdsLock(dictionary.path()));
        firstPid = first.pid();
        first.process().kill();
        QVERIFY(first.process().waitForFinished());
    }
    QCOMPARE(lockOwner(dictionary.path()), firstPid);
    Editor next({dictionary.path()}, environment());
    QVERIFY(next.holdsLock(dictionary.path()));
    QCOMPARE(next.process().state(), QProcess::Running);
}

void TestHostApp::ownDictionaryIsMadeOnFirstRun()
{
    const QString folder = m_home->filePath(QStringLiteral("data/Lexora/lexora-editor"));
    const QString path = folder + QStringLiteral("/personal.dict");
    const QString sample = QCoreApplication::applicationDirPath() + QStringLiteral("/../data/personal.dict");
    {
        Editor editor({}, environment());
        QVERIFY(editor.holdsLock(path));
    }
    QVERIFY(!QFileInfo::exists(path + QStringLiteral(".part")));

    QString error;
    {
        DictionaryReference own = Prediction::openDictionary(path, &error);
        QVERIFY2(own != 0, qPrintable(error));
        if (QFileInfo::exists(sample)) {
            DictionaryReference original = Prediction::openDictionary(sample, &error);
            QVERIFY2(original != 0, qPrintable(error));
            QCOMPARE(own->wordCount(), original->wordCount());
            QCOMPARE(own->displayName(), original->displayName());
        } else {
            QCOMPARE(own->wordCount(), 0);
            QCOMPARE(own->displayName(), QStringLiteral("Personal"));
        }
        // A word of the person's own, which the next run must keep.
        QVERIFY(own->addWord(QStringLiteral("zyzzyva"), QStringLiteral("edit")));
        QCOMPARE(own->save(), 0);
    }
    {
        Editor again({}, environment());
        QVERIFY(again.holdsLock(path));
    }
    DictionaryReference own = Prediction::openDictionary(path, &error);
    QVERIFY2(own != 0, qPrintable(error));
    QVERIFY(own->findWord(QStringLiteral("zyzzyva")));
}

void TestHostApp::unwritableDataFolder()
{
    // A data folder below a plain file can never be made, whoever runs the test.
    QFile blocker(m_home->filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), blocker.fileName() + QStringLiteral("/data"));

    QString err;
    QVERIFY(refused({}, &err, env));
    QVERIFY2(err.contains(QStringLiteral("data folder")), qPrintable(err));
    QVERIFY2(err.contains(blocker.fileName()), qPrintable(err));
}

// A dictionary whose folder is marked read-only cannot be edited (saving would fail); it can be viewed.
void TestHostApp::unwritableDictionaryFolder()
{
    TempDictionary dictionary({"abbey\tnoun/reg/10"});
    QVERIFY(dictionary.error().isEmpty());
    QFile::Permissions writable = QFileInfo(dictionary.folder()).permissions();
    QVERIFY(QFile::setPermissions(dictionary.folder(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                                           QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
    QString err;
    const bool wasRefused = refused({dictionary.path()}, &err);
    {
        Editor viewer({QStringLiteral("--read-only"), dictionary.path()}, environment());
        QVERIFY(viewer.process().waitForStarted());
        QVERIFY(!viewer.process().waitForFinished(3000));
    }
    QFile::setPermissions(dictionary.folder(), writable);
    QVERIFY(wasRefused);
    QVERIFY2(err.contains(QStringLiteral("cannot be written")), qPrintable(err));
    QVERIFY2(err.contains(QStringLiteral("--read-only")), qPrintable(err));
    QVERIFY(!QFileInfo::exists(dictionary.path() + QStringLiteral(".lock")));
}

QTEST_MAIN(TestHostApp)
#include "tst_hostapp.moc"
