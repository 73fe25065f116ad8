// The host application: its command line, run as a separate process, and its start-up (which dictionaries
// it opens, locks and refuses), run in-process, where the message boxes it shows are answered for real.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "hostsession.h"
#include "hostwindowmanager.h"
#include "modalanswerer.h"
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
    return lock.open(QIODevice::ReadOnly) ? lock.readLine().trimmed().toLongLong() : 0;
}

// A running copy of the editor that is ended (and reaped) when the object goes.
class Editor
{
public:
    explicit Editor(const QStringList &arguments) { m_process.start(editorProgram(), arguments); }
    ~Editor() { stop(); }
    void stop()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(10000)) {
            m_process.kill();
            m_process.waitForFinished(10000);
        }
    }
    QProcess &process() { return m_process; }
    /// True once the editor has started and holds the lock of dictionaryPath.
    bool holdsLock(const QString &dictionaryPath)
    {
        return m_process.waitForStarted() &&
               QTest::qWaitFor([&] { return lockOwner(dictionaryPath) == m_process.processId(); }, 20000);
    }

private:
    QProcess m_process;
};

const QFile::Permissions readOnlyFolder =
    QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;

} // namespace

class TestHostApp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void options_data();
    void options();
    void refusals_data();
    void refusals();
    void locksAndViewers();
    void ownDictionaryIsMadeOnFirstRun();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestHostApp::initTestCase()
{
    QVERIFY2(QFileInfo(editorProgram()).isExecutable(), qPrintable(editorProgram()));
    QApplication::setQuitOnLastWindowClosed(false);
}

// Each test gets a home of its own, for this process and the editors it starts.
void TestHostApp::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    qputenv("HOME", m_home->path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", m_home->filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", m_home->filePath(QStringLiteral("config")).toLocal8Bit());
}

void TestHostApp::cleanup()
{
    QTRY_VERIFY(!QApplication::activeModalWidget());
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName() + QStringLiteral(" was left open")));
}

void TestHostApp::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("succeeds");
    QTest::addColumn<QString>("output");      // pattern the standard output must match
    QTest::addColumn<QString>("errorOutput"); // pattern the standard error must match

    QTest::newRow("--help") << QStringList{"--help"} << true
                            << "--read-only[\\s\\S]*--transfer-to <file>[\\s\\S]*--dev[\\s\\S]*dictionary"
                            << "^$";
    QTest::newRow("--version") << QStringList{"--version"} << true << "^lexora-editor \\d+\\.\\d+\\.\\d+\\s*$"
                               << "^$";
    QTest::newRow("unknown option") << QStringList{"--bogus"} << false << "^$"
                                    << "bogus";
    QTest::newRow("--transfer-to without a file") << QStringList{"--transfer-to"} << false << "^$"
                                                  << "transfer-to";
    QTest::newRow("--transfer-to with --read-only")
        << QStringList{"--read-only", "--transfer-to", "x.dict"} << false << "^$"
        << "--read-only";
}

// Nothing is opened for a question about the command line; the answer goes to the terminal.
void TestHostApp::options()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, succeeds);
    QFETCH(QString, output);
    QFETCH(QString, errorOutput);

    QProcess process;
    process.start(editorProgram(), arguments);
    QVERIFY(process.waitForFinished(30000));
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(process.readAllStandardError());
    QCOMPARE(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0, succeeds);
    QVERIFY2(out.contains(QRegularExpression(output)), qPrintable(out));
    QVERIFY2(err.contains(QRegularExpression(errorOutput)), qPrintable(err));
    QVERIFY(!QFileInfo::exists(m_home->filePath(QStringLiteral("data"))));
}

void TestHostApp::refusals_data()
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
    QTest::newRow("folder marked read-only") << "read-only folder"
                                             << "cannot be written[\\s\\S]*--read-only";
    QTest::newRow("no data folder for one's own") << "no data folder"
                                                  << "data folder";
    QTest::newRow("open in another copy") << "locked"
                                          << "already open in another copy";
}

// A dictionary that cannot be used stops the start with a box naming it and saying why; nothing stays locked.
void TestHostApp::refusals()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);

    TempDictionary good({"abbey\tnoun/reg/10"});
    const QString missing = m_home->filePath(QStringLiteral("nowhere/none.dict"));
    const QString text = m_home->filePath(QStringLiteral("notes.dict"));
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("These are not the words you are looking for.\n");
    file.close();

    HostSession::Options options;
    QString named;
    std::unique_ptr<Editor> other;
    if (kind == QLatin1String("missing"))
        options.paths << (named = missing);
    else if (kind == QLatin1String("folder"))
        options.paths << (named = m_home->path());
    else if (kind == QLatin1String("text"))
        options.paths << (named = text);
    else if (kind == QLatin1String("missing target"))
        options.transferTo = named = missing;
    else if (kind == QLatin1String("itself"))
        options.paths << (options.transferTo = named = good.path());
    else if (kind == QLatin1String("second missing"))
        options.paths << good.path() << (named = missing);
    else if (kind == QLatin1String("read-only folder") && QFile::setPermissions(good.folder(), readOnlyFolder))
        options.paths << (named = good.path());
    else if (kind == QLatin1String("no data folder")) // below a plain file, it can never be made
        qputenv("XDG_DATA_HOME", (named = text + QStringLiteral("/data")).toLocal8Bit());
    else if (kind == QLatin1String("locked")) {
        other = std::make_unique<Editor>(QStringList{good.path()});
        QVERIFY(other->holdsLock(good.path()));
        options.paths << (named = good.path());
        reason += QStringLiteral("[\\s\\S]*") + QString::number(other->process().processId());
    }

    ModalAnswerer box;
    box.clickButton(QStringLiteral("OK"));
    bool opened = true;
    {
        HostSession session;
        opened = session.open(options);
    }
    QFile::setPermissions(good.folder(), readOnlyFolder | QFile::WriteOwner);
    QVERIFY(!opened);
    QVERIFY(box.answered());
    QVERIFY2(box.text().contains(QDir::toNativeSeparators(named)), qPrintable(box.text()));
    QVERIFY2(box.text().contains(QRegularExpression(reason)), qPrintable(box.text()));
    QCOMPARE(lockOwner(good.path()), other ? other->process().processId() : 0);
    QVERIFY(!QFileInfo::exists(missing));
}

// Dictionaries opened for editing (the transfer target too) are locked by the running editor; a viewer
// may look at them meanwhile, and a lock left by a killed editor is taken over.
void TestHostApp::locksAndViewers()
{
    TempDictionary source({"abbey\tnoun/reg/10"}), target({"zebra\tnoun/reg/9"});
    qint64 killed = 0;
    {
        Editor editor({QStringLiteral("--transfer-to"), target.path(), source.path(), source.path()});
        QVERIFY(editor.holdsLock(source.path()));
        QCOMPARE(lockOwner(target.path()), editor.process().processId());
        // A viewer in-process opens the locked dictionary without a word, and leaves the lock alone.
        HostSession viewer;
        HostSession::Options options;
        options.paths << source.path();
        options.writable = false;
        QVERIFY(viewer.open(options));
        QCOMPARE(int(viewer.windows().windows().size()), 1);
        QCOMPARE(lockOwner(source.path()), editor.process().processId());
        killed = editor.process().processId();
        editor.process().kill();
        QVERIFY(editor.process().waitForFinished());
    }
    QCOMPARE(lockOwner(source.path()), killed);
    Editor next({source.path()});
    QVERIFY(next.holdsLock(source.path()));
    QCOMPARE(next.process().state(), QProcess::Running);
}

void TestHostApp::ownDictionaryIsMadeOnFirstRun()
{
    const QString path = m_home->filePath(QStringLiteral("data/Lexora/lexora-editor/personal.dict"));
    const QString sample = QCoreApplication::applicationDirPath() + QStringLiteral("/../data/personal.dict");
    {
        Editor editor({});
        QVERIFY(editor.holdsLock(path));
    }
    QVERIFY(!QFileInfo::exists(path + QStringLiteral(".part")));
    QString error;
    {
        DictionaryReference own = Prediction::openDictionary(path, &error);
        QVERIFY2(own != 0, qPrintable(error));
        QVERIFY(QFileInfo::exists(sample));
        DictionaryReference original = Prediction::openDictionary(sample, &error);
        QVERIFY2(original != 0, qPrintable(error));
        QCOMPARE(own->wordCount(), original->wordCount());
        QCOMPARE(own->displayName(), original->displayName());
        // A word of the person's own, which the next run must keep.
        QVERIFY(own->addWord(QStringLiteral("zyzzyva"), QStringLiteral("edit")));
        QCOMPARE(own->save(), 0);
    }
    {
        Editor again({});
        QVERIFY(again.holdsLock(path));
    }
    DictionaryReference own = Prediction::openDictionary(path, &error);
    QVERIFY2(own != 0, qPrintable(error));
    QVERIFY(own->findWord(QStringLiteral("zyzzyva")));
}

QTEST_MAIN(TestHostApp)
#include "tst_hostapp.moc"
