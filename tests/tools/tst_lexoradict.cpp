#include "prediction.h"
#include "tempdictionary.h"
#include "testfiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
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

private:
    // Runs the tool; exit code -1 when it crashed or hung.
    int run(const QStringList &arguments, QString *out = nullptr, QString *err = nullptr)
    {
        QProcess process;
        process.start(QCoreApplication::applicationDirPath() + "/lexora-dict", arguments);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
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
    auto row = [](const char *name, const QStringList &arguments, int exitCode, const char *message) {
        QTest::newRow(name) << arguments << exitCode << QString(message);
    };
    row("help", {"--help"}, 0, "refused a line");
    row("info", {"info", "@DIR@/d.dict"}, 0, "Words: 1\nUK grammar: no\n");
    row("check", {"check", "@DIR@/d.dict"}, 0, "d.dict: ok, 1 words");
    // A wrong command line: exit status 2.
    row("unknown command", {"frobnicate"}, 2, "unknown command");
    row("create without a name", {"create", "@DIR@/x.dict"}, 2, "--name");
    row("import with a bad mode", {"import", "@DIR@/d.dict", "@DIR@/list.txt", "--grammar", "fancy"}, 2, "grammar");
    // A failed operation: exit status 1, and nothing written.
    row("create over a file", {"create", "@DIR@/text.dict", "--name", "X"}, 1, "text.dict");
    row("import a missing list", {"import", "@DIR@/d.dict", "@DIR@/nolist.txt"}, 1, "nolist.txt");
    row("export to a missing folder", {"export", "@DIR@/d.dict", "@DIR@/no/such/out.txt"}, 1, "out.txt");
    row("load over a file", {"load", "@DIR@/text.dict", "@DIR@/list.txt"}, 1, "text.dict");
    row("load a word list", {"load", "@DIR@/x.dict", "@DIR@/list.txt"}, 1, "line 1");
    row("check a text file", {"check", "@DIR@/text.dict"}, 1, "text.dict: damaged");
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
    const QString dictionary = createDictionary("d.dict", {"word"});
    QVERIFY(!dictionary.isEmpty());
    QVERIFY(TestFiles::write(path("text.dict"), "precious data\n") && TestFiles::write(path("list.txt"), "word\n"));
    QVERIFY(QFile::link(dictionary, path("link.txt")));
    QCOMPARE(::link(QFile::encodeName(dictionary).constData(), QFile::encodeName(path("hard.txt")).constData()), 0);
    const QByteArray before = read(dictionary);
    const QStringList files = TestFiles::entries(m_dir->path());
    for (QString &argument : arguments)
        argument.replace("@DIR@", m_dir->path());
    QString out, err;
    QCOMPARE(run(arguments, &out, &err), exitCode);
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
    QCOMPARE(read(file), before);
    editor = DictionaryReference();
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
    QCOMPARE(dictionary->wordCount(), 5);
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
}

QTEST_GUILESS_MAIN(TestLexoraDict)
#include "tst_lexoradict.moc"
