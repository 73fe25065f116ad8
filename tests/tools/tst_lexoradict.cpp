#include "prediction.h"
#include "tempdictionary.h"
#include "testfiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

using TestFiles::read;

/// The lexora-dict command-line tool, run as a separate process on temporary files.
class TestLexoraDict : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void exitCodesAndRefusals_data();
    void exitCodesAndRefusals();
    void importReport();
    void exportDumpAndLoad();
    void simulateCountsKeys();

private:
    // Runs the tool; exit code -1 when it crashed or hung. Input, when given, arrives through a pipe on the
    // standard input a moment after the start, as from a slow program; output goes to outputFile when given.
    int run(const QStringList &arguments, QString *out = nullptr, QString *err = nullptr,
            const QByteArray &input = QByteArray(), const QString &outputFile = QString())
    {
        QProcess process;
        if (!outputFile.isEmpty())
            process.setStandardOutputFile(outputFile);
        process.start(QCoreApplication::applicationDirPath() + "/lexora-dict", arguments);
        if (!input.isEmpty() && process.waitForStarted(10000)) {
            QThread::msleep(300);
            process.write(input);
        }
        process.closeWriteChannel();
        if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit)
            return -1;
        if (out)
            *out = QString::fromUtf8(process.readAllStandardOutput());
        if (err)
            *err = QString::fromUtf8(process.readAllStandardError());
        return process.exitCode();
    }
    // A new dictionary of the words, made and filled by the tool; empty on failure.
    QString createDictionary(const QString &name, const QStringList &words = {})
    {
        const QString file = path(name);
        if (run({"create", file, "--name", name}) != 0 ||
            !TestFiles::write(file + ".txt", words.join('\n').toUtf8() + '\n'))
            return QString();
        return words.isEmpty() || run({"import", file, file + ".txt"}) == 0 ? file : QString();
    }
    QString path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestLexoraDict::exitCodesAndRefusals_data()
{
    QTest::addColumn<QStringList>("arguments"); // @DIR@ stands for the test's folder
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("output"); // where the standard output goes; empty: read by the test
    auto row = [](const char *name, const QStringList &arguments, int exitCode, const char *message,
                  const char *output = "") {
        QTest::newRow(name) << arguments << exitCode << QString(message) << QString(output);
    };
    row("help", {"--help"}, 0, "refused a line");
    row("info", {"info", "@DIR@/d.dict"}, 0, "Words: 1\nUK grammar: no\n");
    row("check", {"check", "@DIR@/d.dict"}, 0, "d.dict: ok, 1 words");
    // A wrong command line: exit status 2.
    row("unknown command", {"frobnicate"}, 2, "unknown command");
    row("create without a name", {"create", "@DIR@/x.dict"}, 2, "--name");
    row("import with a bad mode", {"import", "@DIR@/d.dict", "@DIR@/list.txt", "--grammar", "fancy"}, 2, "grammar");
    row("unknown option", {"--nosuch"}, 2, "nosuch");
    row("option without its value", {"create", "@DIR@/x.dict", "--name"}, 2, "see lexora-dict --help");
    // A failed operation: exit status 1, and nothing written.
    row("create over a file", {"create", "@DIR@/text.dict", "--name", "X"}, 1, "text.dict");
    row("import a missing list", {"import", "@DIR@/d.dict", "@DIR@/nolist.txt"}, 1, "nolist.txt");
    row("export to a missing folder", {"export", "@DIR@/d.dict", "@DIR@/no/such/out.txt"}, 1, "out.txt");
    row("load over a file", {"load", "@DIR@/text.dict", "@DIR@/list.txt"}, 1, "text.dict");
    row("load a word list", {"load", "@DIR@/x.dict", "@DIR@/list.txt"}, 1, "line 1");
    row("check a text file", {"check", "@DIR@/text.dict"}, 1, "text.dict: cannot be checked");
    row("check a missing file", {"check", "@DIR@/none.dict"}, 1, "none.dict: cannot be checked");
    // Files that are no dictionary, or paths that lead nowhere, are refused at once with what they are.
    row("info on a FIFO", {"info", "@DIR@/fifo.dict"}, 1, "named pipe");
    row("dump a FIFO", {"dump", "@DIR@/fifo.dict"}, 1, "named pipe");
    row("import into a FIFO", {"import", "@DIR@/fifo.dict", "@DIR@/list.txt"}, 1, "named pipe");
    row("check a FIFO", {"check", "@DIR@/fifo.dict"}, 1, "named pipe");
    row("info through a loop of links", {"info", "@DIR@/loop.dict"}, 1, "go round in a loop");
    row("info through a file", {"info", "@DIR@/text.dict/d.dict"}, 1, "text.dict\" on its way is a file");
    // Output that cannot be written fails with the reason, however little of it there is.
    for (const char *command : {"export", "dump", "info", "check"})
        QTest::addRow("%s to a full disk", command) << QStringList{command, "@DIR@/d.dict"} << 1
                                                    << "cannot write to the standard output: No space left on device"
                                                    << "/dev/full";
    // Output never goes over the dictionary, whatever name it is given.
    row("export to the dictionary", {"export", "@DIR@/d.dict", "@DIR@/d.dict"}, 1, "is the dictionary itself");
    row("dump to a symbolic link to it", {"dump", "@DIR@/d.dict", "@DIR@/link.txt"}, 1, "is the dictionary itself");
    row("export to a hard link to it", {"export", "@DIR@/d.dict", "@DIR@/hard.txt"}, 1, "is the dictionary itself");
}

void TestLexoraDict::exitCodesAndRefusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFETCH(QString, output);
    const QString dictionary = createDictionary("d.dict", {"word"});
    QVERIFY(!dictionary.isEmpty());
    QVERIFY(TestFiles::write(path("text.dict"), "precious data\n") && TestFiles::write(path("list.txt"), "word\n"));
    QVERIFY(QFile::link(dictionary, path("link.txt")));
    QCOMPARE(::mkfifo(QFile::encodeName(path("fifo.dict")).constData(), 0600), 0);
    QVERIFY(QFile::link(path("loop.dict"), path("loop.dict")));
    QCOMPARE(::link(QFile::encodeName(dictionary).constData(), QFile::encodeName(path("hard.txt")).constData()), 0);
    const QByteArray before = read(dictionary);
    const QStringList files = TestFiles::entries(m_dir->path());
    for (QString &argument : arguments)
        argument.replace("@DIR@", m_dir->path());
    QString out, err;
    QCOMPARE(run(arguments, &out, &err, QByteArray(), output), exitCode);
    QVERIFY2((out + err).contains(message), qPrintable(out + err));
    // Refusals go to the error output, except the report of a check.
    QVERIFY2(exitCode == 0 || out.isEmpty() || arguments.value(0) == "check", qPrintable(out));
    QCOMPARE(read(path("text.dict")), QByteArray("precious data\n"));
    QCOMPARE(read(dictionary), before);
    QCOMPARE(TestFiles::entries(m_dir->path()), files);
}

void TestLexoraDict::importReport()
{
    const QString file = createDictionary("words.dict", {"apple"});
    QVERIFY(!file.isEmpty());
    // Not while an editor has the dictionary open.
    DictionaryReference editor = Prediction::openDictionary(file);
    QVERIFY(editor->lockForEditing(nullptr));
    const QByteArray before = read(file);
    QString out;
    QCOMPARE(run({"import", file, file + ".txt"}, nullptr, &out), 1);
    QVERIFY2(out.contains("already open"), qPrintable(out));
    // Nor through another name of the same file.
    const QString hardLink = path("hard.dict");
    QCOMPARE(::link(QFile::encodeName(file).constData(), QFile::encodeName(hardLink).constData()), 0);
    QCOMPARE(run({"import", hardLink, file + ".txt"}, nullptr, &out), 1);
    QVERIFY2(out.contains("hard link"), qPrintable(out));
    QCOMPARE(read(file), before);
    editor = DictionaryReference();
    // A list read from a pipe ("-" or a path to it), its words arriving only after the tool has started.
    for (const QString &list : {QStringLiteral("-"), QStringLiteral("/dev/stdin")}) {
        QCOMPARE(
            run({"import", hardLink, list}, &out, nullptr, "kiwi" + list.toUtf8() + "\nlime" + list.toUtf8() + "\n"),
            0);
        QVERIFY2(out.contains(": 2 added, 0 skipped"), qPrintable(out));
    }
    QVERIFY(QFile::remove(hardLink));
    // Lines: 1 banana, 2 apple (present), 3 blank, 4 tab only, 5 cherry with frequency, 6 banana again,
    // 7 over-long word, 8 naïve (CR LF), 9 bad frequency, 10 33 emoji, 11 a control character, 12 Latin-1 text.
    QVERIFY(TestFiles::write(path("list.txt"), "banana\napple\n\n\t\ncherry\t12\nbanana\n" + QByteArray(65, 'x') +
                                                   "\nna\xc3\xafve\r\ndate\t99\n" + QByteArray("😀").repeated(33) +
                                                   "\nab\001cd\ncaf\xe9\n"));
    QCOMPARE(run({"import", file, path("list.txt")}, &out), 1); // some lines were refused
    QVERIFY2(out.contains("4 added, 2 skipped (already present or repeated), 5 refused"), qPrintable(out));
    for (const char *report : {"skipped line 2: \"apple\" is already in", "skipped line 6: \"banana\" repeats line 1",
                               "refused line 4: no word", "refused line 9: ", "refused line 11: ", "refused line 12: "})
        QVERIFY2(out.contains(report), report);
    QVERIFY(!out.contains("line 3:"));
    QVERIFY(out.contains(QRegularExpression("refused line 7: .*64")));

    DictionaryReference dictionary = Prediction::openDictionary(file);
    QCOMPARE(dictionary->wordCount(), 9);
    QVERIFY(dictionary->findWord("kiwi-") && dictionary->findWord("lime/dev/stdin"));
    for (const QString &word : QStringList{"banana", "cherry", "naïve", QString::fromUtf8("😀").repeated(33)})
        QVERIFY2(dictionary->findWord(word), qPrintable(word));
    QVERIFY(!dictionary->findWord("date"));
    QCOMPARE(dictionary->findWord("cherry")->codes.value(0)->frequency, QStringLiteral("12"));
}

void TestLexoraDict::exportDumpAndLoad()
{
    const QString file = createDictionary("e.dict", {"zebra", "Abbey", "abbot", "call", "naïve", "日本"});
    const QStringList words = Prediction::openDictionary(file)->allWords();
    // Export: one word a line, in the dictionary's order, to a file it replaces or to the standard output.
    QVERIFY(TestFiles::write(path("out.txt"), "old content"));
    QCOMPARE(run({"export", file, path("out.txt")}), 0);
    QString out;
    QCOMPARE(run({"export", file}, &out), 0);
    QCOMPARE(read(path("out.txt")), QByteArray(words.join('\n').toUtf8() + '\n'));
    QCOMPARE(out.toUtf8(), read(path("out.txt")));
    // Dump, load, dump: the same bytes.
    QCOMPARE(run({"dump", file, path("dump.txt")}), 0);
    QCOMPARE(run({"load", path("loaded.dict"), path("dump.txt")}), 0);
    QCOMPARE(run({"dump", path("loaded.dict")}, &out), 0);
    QCOMPARE(out.toUtf8(), read(path("dump.txt")));
    // Also from a pipe.
    QCOMPARE(run({"load", path("piped.dict"), "-"}, nullptr, nullptr, read(path("dump.txt"))), 0);
    QCOMPARE(run({"dump", path("piped.dict")}, &out), 0);
    QCOMPARE(out.toUtf8(), read(path("dump.txt")));
}

// simulate on a ten-word text, counted by hand with one offer ranked by frequency.
void TestLexoraDict::simulateCountsKeys()
{
    const QString file =
        createDictionary("sim.dict", {"the\t31", "so\t30", "car\t25", "cat\t20", "sad\t12", "sat\t10"});
    QVERIFY(!file.isEmpty());
    QVERIFY(TestFiles::write(path("text.txt"), "The cat sat, so the car sat on the mat.\n"));
    QString out;
    // One offer at each key: "The" 1 (offered at once, its space free); "cat" 3 ("car", offered at "c" and
    // passed over, is not offered again at "ca", so "cat" is, and its space comes with it); "sat" 3 ("so" then
    // "sad" offered) and ", " 2; "so" 2; "the" 1; "car" 2; "sat" 3 and " " 1; "on" 2 (unknown) and " " 1;
    // "the" 1; "mat" 3 and ".\n" 2: 27 keys for 40 characters.
    QCOMPARE(run({"simulate", file, path("text.txt"), "--offers", "1", "--frequency-only"}, &out), 0);
    QVERIFY2(out.contains("Keystroke savings: 32.5 % (27 keys for 40 characters, 1 offers, frequency only)"),
             qPrintable(out));
    QVERIFY2(out.contains("Words typed: 10\n") && out.contains("Found before their first letter: 30.0 %"),
             qPrintable(out));
    // With more offers every word but the unknown ones comes sooner.
    QCOMPARE(run({"simulate", file, "-", "--offers", "6", "--frequency-only"}, &out, nullptr, "the cat\n"), 0);
    QVERIFY2(out.contains("(3 keys for 8 characters"), qPrintable(out));
    QCOMPARE(run({"simulate", file, path("text.txt"), "--offers", "0"}), 2);
}

QTEST_GUILESS_MAIN(TestLexoraDict)
#include "tst_lexoradict.moc"
