// The install: "cmake --install" into a temporary DESTDIR gives a tree that works by itself, names
// nothing of the build folder, passes the desktop's validators and lets another program find_package
// the editor.

#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
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
    void otherHostsFindThePackage();
    void installedEditorShowsItsWindowUnderX();

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
    const QStringList expected = {"bin/lexora-editor",
                                  "bin/lexora-dict",
                                  "include/lexora/dictionaryeditor.h",
                                  "include/lexora/prediction.h",
                                  "share/lexora/lexicon.dat",
                                  "share/lexora/personal.dict",
                                  "share/lexora/british.dict",
                                  "share/applications/org.lexora.DictionaryEditor.desktop",
                                  "share/icons/hicolor/scalable/apps/org.lexora.DictionaryEditor.svg",
                                  "share/metainfo/org.lexora.DictionaryEditor.metainfo.xml"};
    for (const QString &file : expected)
        QVERIFY2(QFileInfo::exists(m_prefix + QLatin1Char('/') + file), qPrintable(file));

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

// A small host built against the installed package alone, and run: it makes an editor window.
void TestInstall::otherHostsFindThePackage()
{
    QTemporaryDir project;
    QFile lists(project.filePath(QStringLiteral("CMakeLists.txt")));
    QVERIFY(lists.open(QIODevice::WriteOnly));
    lists.write("cmake_minimum_required(VERSION 3.22)\nproject(otherhost CXX)\nset(CMAKE_CXX_STANDARD 17)\n"
                "find_package(LexoraEditor 0.1 REQUIRED)\nadd_executable(otherhost main.cpp)\n"
                "target_link_libraries(otherhost PRIVATE Lexora::dictionaryeditor)\n");
    lists.close();
    QFile main(project.filePath(QStringLiteral("main.cpp")));
    QVERIFY(main.open(QIODevice::WriteOnly));
    main.write("#include <QApplication>\n#include <dictionaryeditor.h>\nint main(int argc, char **argv) {\n"
               "    QApplication app(argc, argv);\n    DictionaryReference none;\n"
               "    delete DictionaryEditor::createEditor(false, QString(), none, nullptr, {}, false);\n"
               "    return DictionaryEditor::userModel() ? 0 : 1;\n}\n");
    main.close();
    const QString build = project.filePath(QStringLiteral("build"));
    QVERIFY(!run(QStringLiteral(LEXORA_CMAKE), {"-S", project.path(), "-B", build, "-DCMAKE_PREFIX_PATH=" + m_prefix})
                 .isNull());
    QVERIFY(!run(QStringLiteral(LEXORA_CMAKE), {"--build", build}).isNull());
    QProcessEnvironment offscreen = QProcessEnvironment::systemEnvironment();
    offscreen.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QVERIFY(!run(build + QStringLiteral("/otherhost"), {}, offscreen).isNull());
}

// The installed program, started on a real X server (Xvfb) as the desktop menu would start it, shows its
// editor window, titled after the dictionary.
void TestInstall::installedEditorShowsItsWindowUnderX()
{
    if (QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("xwininfo")).isEmpty())
        QSKIP("xvfb-run and xwininfo are needed (scripts/setup.sh installs them)");
    const QString dictionary = m_root.filePath(QStringLiteral("shown.dict"));
    QVERIFY(QFile::copy(QStringLiteral(LEXORA_BUILD_DIR "/data/collected.dict"), dictionary));
    const QString script = QStringLiteral("\"$0\" \"$1\" & for i in $(seq 40); do sleep 0.5; "
                                          "xwininfo -root -tree | grep -q \"$2\" && break; done; "
                                          "xwininfo -root -tree; kill $!");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(QStringLiteral("HOME"), m_root.path());
    const QString windows = run(QStringLiteral("xvfb-run"),
                                {"-a", "sh", "-c", script, m_prefix + QStringLiteral("/bin/lexora-editor"), dictionary,
                                 "Collected Words  Dictionary Editor"},
                                environment);
    QVERIFY2(windows.contains(QStringLiteral("\"Collected Words  Dictionary Editor\": (\"lexora-editor\"")),
             qPrintable(windows));
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
