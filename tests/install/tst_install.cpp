// The install: "cmake --install" into a temporary DESTDIR gives a tree that works by itself, names
// nothing of the build folder and passes the desktop's validators.

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "prediction.h"

namespace {

// Runs program to its end; its standard output and error joined, or a null string when it failed.
QString run(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment = {})
{
    QProcess process;
    if (!environment.isEmpty())
        process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool ended = process.waitForFinished(300000);
    const QString output = QString::fromLocal8Bit(process.readAll());
    if (!ended || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning("%s %s: %s", qPrintable(program), qPrintable(arguments.join(' ')), qPrintable(output));
        return QString();
    }
    return output.isNull() ? QStringLiteral("") : output;
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void installedTreeWorksOnItsOwn();

private:
    QTemporaryDir m_root;
    QString m_prefix;
};

void TestInstall::initTestCase()
{
    QVERIFY(m_root.isValid());
    m_prefix = m_root.filePath(QStringLiteral("usr"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DESTDIR"), m_root.path());
    QVERIFY(
        !run(QStringLiteral(LEXORA_CMAKE), {"--install", LEXORA_BUILD_DIR, "--prefix", "/usr", "--strip"}, environment)
             .isNull());
}

void TestInstall::installedTreeWorksOnItsOwn()
{
    // What the program and other hosts look for at run and build time, beside what the desktop shows.
    for (const char *file :
         {"include/lexora/dictionaryeditor.h", "share/lexora/lexicon.dat", "share/lexora/personal.dict",
          "share/lexora/british.dict", "share/icons/hicolor/scalable/apps/org.lexora.DictionaryEditor.svg"})
        QVERIFY2(QFileInfo::exists(m_prefix + QLatin1Char('/') + file), file);

    QDirIterator files(m_root.path(), QDir::Files, QDirIterator::Subdirectories);
    int libraries = 0;
    while (files.hasNext()) {
        QFile file(files.next());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(!file.readAll().contains(LEXORA_BUILD_DIR), qPrintable(file.fileName() + " names the build folder"));
        libraries += file.fileName().contains(QLatin1String(".so")) ? 1 : 0;
    }
    QVERIFY(libraries >= 2);

    QProcessEnvironment bare;
    bare.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    bare.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    bare.insert(QStringLiteral("XDG_RUNTIME_DIR"), qEnvironmentVariable("XDG_RUNTIME_DIR"));
    QCOMPARE(run(m_prefix + QStringLiteral("/bin/lexora-editor"), {"--version"}, bare).trimmed(),
             QStringLiteral("lexora-editor " LEXORA_VERSION));

    // The installed tool guesses grammar from the installed lexicon: without it every word would be "new".
    const QString dictionary = m_root.filePath(QStringLiteral("guess.dict"));
    const QString list = m_root.filePath(QStringLiteral("words.txt"));
    QFile words(list);
    QVERIFY(words.open(QIODevice::WriteOnly) && words.write("run\n") == 4);
    words.close();
    const QString tool = m_prefix + QStringLiteral("/bin/lexora-dict");
    QVERIFY(!run(tool, {"create", dictionary, "--name", "Guess"}, bare).isNull());
    QVERIFY(!run(tool, {"import", dictionary, list, "--grammar", "advanced"}, bare).isNull());
    DictionaryReference guessed = Prediction::openDictionary(dictionary);
    QVERIFY(guessed != 0);
    QCOMPARE(guessed->findWord(QStringLiteral("run"))->codes.first()->partOfSpeech, QStringLiteral("verb"));

    QVERIFY(!run(QStringLiteral("desktop-file-validate"),
                 {m_prefix + QStringLiteral("/share/applications/org.lexora.DictionaryEditor.desktop")})
                 .isNull());
    QVERIFY(!run(QStringLiteral("appstreamcli"),
                 {"validate", "--no-net",
                  m_prefix + QStringLiteral("/share/metainfo/org.lexora.DictionaryEditor.metainfo.xml")})
                 .isNull());
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
