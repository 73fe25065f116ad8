// The host application: its command line, run as a separate process, and its start-up (which dictionaries
// it opens, locks and refuses), run in-process, where the message boxes it shows are answered for real.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "dicteditor.h"
#include "hostsession.h"
#include "hostwindowmanager.h"
#include "modalanswerer.h"
#include "tempdictionary.h"
#include "windowsleft.h"

namespace {

// Whether a dictionary's editing lock is free: nobody, in this process or another, holds it.
bool lockIsFree(const QString &dictionaryPath)
{
    QLockFile probe(dictionaryPath + QStringLiteral(".lock"));
    return probe.tryLock(0);
}

const QFile::Permissions readOnlyFolder =
    QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;

} // namespace

class TestHostApp : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { QTRY_VERIFY2(windowsLeft().isEmpty(), qPrintable(windowsLeft().join(' '))); }

    void options_data();
    void options();
    void refusals_data();
    void refusals();
    void viewersBesideTheEditor();
    void ownDictionaryIsMadeOnFirstRun();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

// Each test gets a home of its own, for this process and the editors it starts.
void TestHostApp::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    qputenv("HOME", m_home->path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", m_home->filePath(QStringLiteral("data")).toLocal8Bit());
}

void TestHostApp::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output"); // pattern the standard output and error must match

    QTest::newRow("--help")
        << QStringList{"--help"} << 0
        << "--read-only[\\s\\S]*--transfer-to <file>[\\s\\S]*--dev[\\s\\S]*--advanced[\\s\\S]*dictionary";
    QTest::newRow("--version") << QStringList{"--version"} << 0 << "^lexora-editor \\d+\\.\\d+\\.\\d+\\s*$";
    QTest::newRow("--transfer-to with --read-only")
        << QStringList{"--read-only", "--transfer-to", "x.dict"} << 1 << "cannot be used with --read-only";
}

// A question about the command line is answered on the terminal, quietly, before anything is opened.
void TestHostApp::options()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/lexora-editor"), arguments);
    QVERIFY(process.waitForFinished(30000));
    const QString out = QString::fromLocal8Bit(process.readAll());
    QCOMPARE(process.exitCode(), exitCode);
    QVERIFY2(out.contains(QRegularExpression(output)), qPrintable(out));
    QVERIFY(!QFileInfo::exists(m_home->filePath(QStringLiteral("data"))));
}

void TestHostApp::refusals_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    const auto row = [](const char *name, const char *kind, const char *reason) {
        QTest::newRow(name) << QString(kind) << QString(reason);
    };
    row("missing file", "missing", "does not exist");
    row("a folder", "folder", "is not a dictionary file");
    row("not a dictionary", "text", "could not be opened: \\S");
    row("transfer into itself", "itself", "cannot transfer words into itself");
    row("missing second dictionary", "second missing", "does not exist");
    row("folder marked read-only", "read-only folder", "cannot be written[\\s\\S]*--read-only");
    row("no data folder for one's own", "no data folder", "data folder");
    row("open for editing elsewhere", "locked", "already open in another copy[\\s\\S]*--read-only");
}

// A dictionary that cannot be used stops the start with a box naming it and saying why; nothing stays locked.
void TestHostApp::refusals()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);

    TempDictionary good({"abbey\tnoun/reg/10"});
    good.release();
    const QString missing = m_home->filePath(QStringLiteral("nowhere/none.dict"));
    const QString text = m_home->filePath(QStringLiteral("notes.dict"));
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("Not the words you are looking for.\n") > 0);
    file.close();

    HostSession::Options options;
    QString named;
    QLockFile other(good.path() + QStringLiteral(".lock")); // another copy of the editor
    if (kind == QLatin1String("missing"))
        options.paths << (named = missing);
    else if (kind == QLatin1String("folder"))
        options.paths << (named = m_home->path());
    else if (kind == QLatin1String("text"))
        options.paths << (named = text);
    else if (kind == QLatin1String("itself"))
        options.paths << (options.transferTo = named = good.path());
    else if (kind == QLatin1String("second missing"))
        options.paths << good.path() << (named = missing);
    else if (kind == QLatin1String("read-only folder") && QFile::setPermissions(good.folder(), readOnlyFolder))
        options.paths << (named = good.path());
    else if (kind == QLatin1String("no data folder")) // below a plain file, it can never be made
        qputenv("XDG_DATA_HOME", (named = text + QStringLiteral("/data")).toLocal8Bit());
    else if (kind == QLatin1String("locked") && other.tryLock(0))
        options.paths << (named = good.path());

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
    QCOMPARE(lockIsFree(good.path()), kind != QLatin1String("locked"));
    QVERIFY(!QFileInfo::exists(missing));
}

// The editor locks what it may change (the transfer target too), once however often it is named, until it
// ends; meanwhile a viewer may look, in this process or another. A file marked read-only opens for viewing.
void TestHostApp::viewersBesideTheEditor()
{
    TempDictionary source({"abbey\tnoun/reg/10"}), target({"zebra\tnoun/reg/9"});
    source.release();
    target.release();
    {
        HostSession editor;
        QVERIFY(editor.open({{source.path(), source.path()}, target.path()}));
        QCOMPARE(int(editor.windows().windows().size()), 1);
        QVERIFY(!lockIsFree(source.path()) && !lockIsFree(target.path()));
        HostSession viewer;
        QVERIFY(viewer.open({{source.path()}, {}, false}));
        QProcess other; // a viewer that refused would end at once
        other.start(QCoreApplication::applicationDirPath() + QStringLiteral("/lexora-editor"),
                    {"--read-only", source.path()});
        QVERIFY(!other.waitForFinished(3000));
        other.kill();
        other.waitForFinished();
    }
    QVERIFY(lockIsFree(source.path()) && lockIsFree(target.path()));
    QVERIFY(QFile::setPermissions(source.path(), QFile::ReadOwner));
    ModalAnswerer box;
    box.clickButton(QStringLiteral("OK"));
    HostSession session;
    QVERIFY(session.open({{source.path()}, {}, true}));
    QVERIFY(box.answered() && box.text().contains(QStringLiteral("opens for viewing only")));
    QVERIFY(!qobject_cast<DictEditor *>(session.windows().windows().front())->writable);
}

// The person's own dictionary is made from the sample on the first run and kept, with its changes, after.
void TestHostApp::ownDictionaryIsMadeOnFirstRun()
{
    const QString path = m_home->filePath(QStringLiteral("data/tst_hostapp/personal.dict"));
    {
        HostSession first;
        QVERIFY(first.open({}));
        QVERIFY(!lockIsFree(path));
    }
    DictionaryReference sample =
        Prediction::openDictionary(QCoreApplication::applicationDirPath() + QStringLiteral("/../data/personal.dict"));
    {
        DictionaryReference own = Prediction::openDictionary(path);
        QVERIFY(sample != 0 && own != 0);
        QCOMPARE(own->wordCount(), sample->wordCount());
        QVERIFY(own->addWord(QStringLiteral("zyzzyva"), QStringLiteral("edit")));
        QCOMPARE(own->save(), 0);
    }
    HostSession again;
    QVERIFY(again.open({}));
    QVERIFY(Prediction::openDictionary(path)->findWord(QStringLiteral("zyzzyva")));
}

QTEST_MAIN(TestHostApp)
#include "tst_hostapp.moc"
