// The lexora-dict command-line tool, run as a separate process on temporary files.

#include "prediction.h"
#include "rawsqlite.h"
#include "testfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

} // namespace

class TestLexoraDict : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void helpAndVersion();
    void refusedRuns_data();
    void refusedRuns();
    void createAndInfo_data();
    void createAndInfo();
    void importReport();
    void importedCodes_data();
    void importedCodes();
    void importWaitsForNoEditor();
    void exportWords();
    void outputNeverReplacesTheDictionary_data();
    void outputNeverReplacesTheDictionary();
    void dumpAndLoad();
    void check_data();
    void check();
    void sampleDictionaries_data();
    void sampleDictionaries();

private:
    Run run(const QStringList &arguments);
    QString createDictionary(const QString &name, const QStringList &words = {},
                             const QString &variety = QStringLiteral("american"));
    QString path(const QString &name) const { return m_dir->filePath(name); }

    QString m_tool;
    std::unique_ptr<QTemporaryDir> m_dir;
};

Run TestLexoraDict::run(const QStringList &arguments)
{
    QProcess process;
    process.start(m_tool, arguments);
    Run result;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QString TestLexoraDict::createDictionary(const QString &name, const QStringList &words, const QString &variety)
{
    const QString file = path(name);
    const Run created = run({"create", file, "--name", name, "--variety", variety});
    if (created.exitCode != 0)
        return QString();
    if (!words.isEmpty()) {
        const QString list = file + QStringLiteral(".txt");
        if (!TestFiles::write(list, words.join(QLatin1Char('\n')).toUtf8() + '\n'))
            return QString();
        if (run({"import", file, list}).exitCode != 0)
            return QString();
    }
    return file;
}

void TestLexoraDict::initTestCase()
{
    m_tool = QCoreApplication::applicationDirPath() + QStringLiteral("/lexora-dict");
    QVERIFY2(QFileInfo(m_tool).isExecutable(), qPrintable(m_tool + QStringLiteral(" has not been built")));
}

void TestLexoraDict::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestLexoraDict::cleanup()
{
    m_dir.reset();
}

void TestLexoraDict::helpAndVersion()
{
    const Run help = run({"--help"});
    QCOMPARE(help.exitCode, 0);
    for (const char *text : {"create", "info", "import", "export", "dump", "load", "check", "refused a line"})
        QVERIFY2(help.out.contains(QLatin1String(text)), text);
    const Run version = run({"--version"});
    QCOMPARE(version.exitCode, 0);
    QVERIFY(version.out.startsWith(QLatin1String("lexora-dict ")));
}

void TestLexoraDict::refusedRuns_data()
{
    QTest::addColumn<QStringList>("arguments"); // @DIR@ stands for the test's folder
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    auto row = [](const char *name, const QStringList &arguments, int exitCode, const char *message) {
        QTest::newRow(name) << arguments << exitCode << QString(message);
    };
    // A wrong command line: exit status 2.
    row("no command", {}, 2, "no command");
    row("unknown command", {"frobnicate"}, 2, "unknown command");
    row("create without a name", {"create", "@DIR@/x.dict"}, 2, "--name");
    row("create with a bad variety", {"create", "@DIR@/x.dict", "--name", "X", "--variety", "martian"}, 2, "variety");
    row("create with a negative letter-group size", {"create", "@DIR@/x.dict", "--name", "X", "--letter-groups", "-1"},
        2, "--letter-groups");
    row("import without a list", {"import", "@DIR@/x.dict"}, 2, "LIST");
    row("import with a bad mode", {"import", "@DIR@/x.dict", "@DIR@/l.txt", "--grammar", "fancy"}, 2, "grammar");
    row("check without a file", {"check"}, 2, "FILE");
    // A failed operation: exit status 1, and nothing written.
    row("create over a file", {"create", "@DIR@/text.dict", "--name", "X"}, 1, "text.dict");
    row("info on a missing file", {"info", "@DIR@/x.dict"}, 1, "x.dict");
    row("import into a missing file", {"import", "@DIR@/x.dict", "@DIR@/list.txt"}, 1, "x.dict");
    row("import a missing list", {"import", "@DIR@/d.dict", "@DIR@/nolist.txt"}, 1, "nolist.txt");
    row("export to a missing folder", {"export", "@DIR@/d.dict", "@DIR@/no/such/out.txt"}, 1, "out.txt");
    row("load without a dump", {"load", "@DIR@/x.dict"}, 2, "DUMP");
    row("load over a file", {"load", "@DIR@/text.dict", "@DIR@/list.txt"}, 1, "text.dict");
    row("load a word list", {"load", "@DIR@/x.dict", "@DIR@/list.txt"}, 1, "line 1");
}

void TestLexoraDict::refusedRuns()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const QString dictionary = createDictionary(QStringLiteral("d.dict"), {QStringLiteral("word")});
    QVERIFY(!dictionary.isEmpty());
    QVERIFY(TestFiles::write(path(QStringLiteral("text.dict")), "precious data\n"));
    QVERIFY(TestFiles::write(path(QStringLiteral("list.txt")), "word\n"));
    const QByteArray before = TestFiles::read(dictionary);
    for (QString &argument : arguments)
        argument.replace(QStringLiteral("@DIR@"), m_dir->path());

    const Run result = run(arguments);
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY2(arguments.value(0) == "export" || result.out.isEmpty(), qPrintable(result.out));
    QCOMPARE(TestFiles::read(path(QStringLiteral("text.dict"))), QByteArray("precious data\n"));
    QCOMPARE(TestFiles::read(dictionary), before);
    QCOMPARE(TestFiles::entries(m_dir->path()), (QStringList{"d.dict", "d.dict.txt", "list.txt", "text.dict"}));
}

void TestLexoraDict::createAndInfo_data()
{
    QTest::addColumn<QString>("variety");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("ukGrammar");
    QTest::addColumn<QString>("letterGroups"); // empty: the option is not given
    QTest::addColumn<QString>("threshold");
    QTest::newRow("british") << QString("british") << QString("British") << QString("yes") << QString("5")
                             << QString("5");
    QTest::newRow("american") << QString("american") << QString("American") << QString("no") << QString()
                              << QString("200000");
    QTest::newRow("british") << QString("british") << QString("British") << QString("yes") << QString("5")
                             << QString("5");
}

void TestLexoraDict::createAndInfo()
{
    QFETCH(QString, variety);
    QFETCH(QString, shown);
    QFETCH(QString, ukGrammar);
    QFETCH(QString, letterGroups);
    QFETCH(QString, threshold);
    const QString file = path(QStringLiteral("new.dict"));
    QStringList arguments{"create", file, "--name", "My Words", "--variety", variety};
    if (!letterGroups.isEmpty())
        arguments << "--letter-groups" << letterGroups;
    const Run created = run(arguments);
    QCOMPARE(created.exitCode, 0);
    QVERIFY(QFileInfo(file).isFile());

    const Run info = run({"info", file});
    QCOMPARE(info.exitCode, 0);
    const QStringList lines = info.out.split(QLatin1Char('\n'));
    QVERIFY(lines.contains(QStringLiteral("Name: My Words")));
    QVERIFY(lines.contains(QStringLiteral("Variety: ") + shown));
    QVERIFY(lines.contains(QStringLiteral("Words: 0")));
    QVERIFY(lines.contains(QStringLiteral("UK grammar: ") + ukGrammar));
    QVERIFY2(lines.contains(QStringLiteral("Letter-group threshold: ") + threshold), qPrintable(info.out));
}

void TestLexoraDict::importReport()
{
    const QString file = createDictionary(QStringLiteral("words.dict"), {QStringLiteral("apple")});
    QVERIFY(!file.isEmpty());
    const QString list = path(QStringLiteral("list.txt"));
    // Line numbers: 1 banana, 2 apple (present), 3 blank, 4 tab only, 5 cherry with frequency,
    // 6 banana again, 7 over-long word, 8 naïve (CR LF line end), 9 bad frequency, 10 33 emoji, 11 apple again,
    // 12 a control character, 13 Latin-1 text.
    QVERIFY(TestFiles::write(list, "banana\napple\n\n\t\ncherry\t12\nbanana\n" + QByteArray(65, 'x') +
                                       "\nna\xc3\xafve\r\ndate\t99\n" + QString::fromUtf8("😀").repeated(33).toUtf8() +
                                       "\napple\nab\x01"
                                       "cd\ncaf\xe9\n"));
    const Run result = run({"import", file, list});
    QCOMPARE(result.exitCode, 1); // some lines were refused
    QVERIFY2(result.out.contains(QLatin1String("4 added, 3 skipped (already present or repeated), 5 refused")),
             qPrintable(result.out));
    const QStringList lines = result.out.split(QLatin1Char('\n'));
    auto lineStarting = [&](const QString &start) {
        for (const QString &l : lines) {
            if (l.startsWith(start))
                return l;
        }
        return QString();
    };
    QVERIFY(lineStarting(QStringLiteral("skipped line 2:")).contains(QLatin1String("\"apple\" is already in")));
    QVERIFY(lineStarting(QStringLiteral("skipped line 6:")).contains(QLatin1String("\"banana\" repeats line 1")));
    QVERIFY(lineStarting(QStringLiteral("skipped line 11:")).contains(QLatin1String("\"apple\" is already in")));
    QVERIFY(lineStarting(QStringLiteral("refused line 4:")).contains(QLatin1String("no word")));
    QVERIFY(lineStarting(QStringLiteral("refused line 7:")).contains(QLatin1String("64")));
    QVERIFY(lineStarting(QStringLiteral("refused line 9:")).contains(QLatin1String("frequency")));
    QVERIFY(lineStarting(QStringLiteral("refused line 3:")).isEmpty());
    QVERIFY(lineStarting(QStringLiteral("refused line 12:")).contains(QLatin1String("control character")));
    QVERIFY(lineStarting(QStringLiteral("refused line 13:")).contains(QLatin1String("UTF-8")));

    QString error;
    DictionaryReference dictionary = Prediction::openDictionary(file, &error);
    QVERIFY2(dictionary != 0, qPrintable(error));
    QVERIFY(!dictionary->isDirty());
    QCOMPARE(dictionary->wordCount(), 5);
    for (const QString &word : {QStringLiteral("apple"), QStringLiteral("banana"), QStringLiteral("cherry"),
                                QString::fromUtf8("na\xc3\xafve")})
        QVERIFY2(dictionary->findWord(word), qPrintable(word));
    QVERIFY(!dictionary->findWord(QStringLiteral("date")));
    Word *cherry = dictionary->findWord(QStringLiteral("cherry"));
    QVERIFY(!cherry->codes.isEmpty());
    for (const GCode *code : std::as_const(cherry->codes))
        QCOMPARE(code->frequency, QStringLiteral("12"));
}

void TestLexoraDict::importedCodes_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("expected"); // each word's text, first part of speech, code count and frequency
    QTest::newRow("basic") << QByteArray("xqzt\nflurbize\n") << QStringList{"--grammar", "basic"}
                           << QStringList{"xqzt new 1", "flurbize verb 1"};
    QTest::newRow("unknown codes only") << QByteArray("flurbize\nglorpness\t9\nZorblax\n")
                                        << QStringList{"--grammar", "advanced", "--unknown"}
                                        << QStringList{"flurbize new 1", "glorpness new 1 9", "Zorblax new 1"};
    QTest::newRow("byte order mark and CR LF")
        << QByteArray("\xef\xbb\xbfxqzt\r\nzorp\t4\r\n") << QStringList() << QStringList{"xqzt new 1", "zorp new 1 4"};
}

void TestLexoraDict::importedCodes()
{
    QFETCH(QByteArray, list);
    QFETCH(QStringList, options);
    QFETCH(QStringList, expected);
    const QString file = createDictionary(QStringLiteral("codes.dict"));
    QVERIFY(!file.isEmpty());
    QVERIFY(TestFiles::write(path(QStringLiteral("list.txt")), list));
    const Run result = run(QStringList{"import", file, path(QStringLiteral("list.txt"))} + options);
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.out.contains(
                 QStringLiteral("%1 added, 0 skipped (already present or repeated), 0 refused").arg(expected.size())),
             qPrintable(result.out));
    DictionaryReference dictionary = Prediction::openDictionary(file);
    QVERIFY(dictionary != 0);
    QCOMPARE(dictionary->wordCount(), int(expected.size()));
    for (const QString &line : expected) {
        const Word *word = dictionary->findWord(line.section(' ', 0, 0));
        QVERIFY2(word && !word->codes.isEmpty(), qPrintable(line));
        const QString actual = QStringLiteral("%1 %2 %3 %4")
                                   .arg(word->text, word->codes.first()->partOfSpeech)
                                   .arg(word->codes.size())
                                   .arg(word->codes.first()->frequency);
        QVERIFY2((actual + ' ').startsWith(line + ' '), qPrintable(actual));
    }
}

void TestLexoraDict::importWaitsForNoEditor()
{
    const QString file = createDictionary(QStringLiteral("busy.dict"), {QStringLiteral("apple")});
    QVERIFY(TestFiles::write(path(QStringLiteral("list.txt")), "pear\n"));
    DictionaryReference editor = Prediction::openDictionary(file);
    QString error;
    QVERIFY2(editor->lockForEditing(&error), qPrintable(error));
    const QByteArray before = TestFiles::read(file);
    const Run refused = run({"import", file, path(QStringLiteral("list.txt"))});
    QCOMPARE(refused.exitCode, 1);
    QVERIFY2(refused.err.contains(QLatin1String("already open")), qPrintable(refused.err));
    QCOMPARE(TestFiles::read(file), before);
    // Once the editor has closed the dictionary, the import goes ahead.
    editor = DictionaryReference();
    QCOMPARE(run({"import", file, path(QStringLiteral("list.txt"))}).exitCode, 0);
}

void TestLexoraDict::exportWords()
{
    const QStringList words = {QStringLiteral("zebra"),           QStringLiteral("Abbey"),
                               QStringLiteral("abbot"),           QStringLiteral("about"),
                               QString::fromUtf8("na\xc3\xafve"), QString::fromUtf8("\xe6\x97\xa5\xe6\x9c\xac")};
    const QString file = createDictionary(QStringLiteral("e.dict"), words);
    QVERIFY(!file.isEmpty());

    DictionaryReference dictionary = Prediction::openDictionary(file);
    QVERIFY(dictionary != 0);
    const QStringList expected = dictionary->allWords();
    dictionary = DictionaryReference();
    QCOMPARE(expected.size(), words.size());

    const QString out = path(QStringLiteral("out.txt"));
    QVERIFY(TestFiles::write(out, "old content"));
    const Run result = run({"export", file, out});
    QCOMPARE(result.exitCode, 0);
    const QByteArray content = TestFiles::read(out);
    QCOMPARE(QString::fromUtf8(content).split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected);
    QVERIFY(content.endsWith('\n'));
    QVERIFY(!content.contains('\r'));

    const Run toStdout = run({"export", file});
    QCOMPARE(toStdout.exitCode, 0);
    QCOMPARE(toStdout.out.toUtf8(), content);
}

void TestLexoraDict::outputNeverReplacesTheDictionary_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("target");
    for (const char *command : {"export", "dump"}) {
        for (const char *target : {"itself", "symbolic link", "hard link"})
            QTest::addRow("%s to %s", command, target) << QString(command) << QString(target);
    }
}

void TestLexoraDict::outputNeverReplacesTheDictionary()
{
    QFETCH(QString, command);
    QFETCH(QString, target);
    const QString file = createDictionary(QStringLiteral("d.dict"), {QStringLiteral("apple")});
    QString out = file;
    if (target == "symbolic link")
        QVERIFY(QFile::link(file, out = path(QStringLiteral("link.txt"))));
    else if (target == "hard link")
        QVERIFY(::link(QFile::encodeName(file).constData(), QFile::encodeName(out = path("hard.txt")).constData()) ==
                0);
    const QByteArray before = TestFiles::read(file);
    const Run result = run({command, file, out});
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains(QLatin1String("is the dictionary itself")), qPrintable(result.err));
    QCOMPARE(TestFiles::read(file), before);
    QCOMPARE(run({"check", file}).exitCode, 0);
}

void TestLexoraDict::dumpAndLoad()
{
    const QString file = createDictionary(QStringLiteral("d.dict"),
                                          {QStringLiteral("call"), QStringLiteral("Abbey"), QStringLiteral("naïve")});
    {
        DictionaryReference dictionary = Prediction::openDictionary(file);
        dictionary->findWord("call")->addUse(0);
        dictionary->findWord("call")->codes.at(0)->expansion = QStringLiteral("a|b;c");
        dictionary->findWord("call")->codes.at(0)->touch();
        QCOMPARE(dictionary->save(), 0);
    }
    const Run toStdout = run({"dump", file});
    QCOMPARE(toStdout.exitCode, 0);
    QVERIFY(toStdout.out.startsWith(QLatin1String("Lexora dictionary dump 1\n")));
    QCOMPARE(toStdout.out.count(QLatin1Char('\n')), 6 + 3);
    QCOMPARE(run({"dump", file, path("first.txt")}).exitCode, 0);
    QCOMPARE(TestFiles::read(path("first.txt")), toStdout.out.toUtf8());
    QCOMPARE(run({"load", path("loaded.dict"), path("first.txt")}).exitCode, 0);
    QCOMPARE(run({"dump", path("loaded.dict"), path("second.txt")}).exitCode, 0);
    QCOMPARE(TestFiles::read(path("second.txt")), TestFiles::read(path("first.txt")));
    // A dump loads only into a new file.
    const QByteArray before = TestFiles::read(file);
    const Run over = run({"load", file, path("first.txt")});
    QCOMPARE(over.exitCode, 1);
    QVERIFY2(over.err.contains(QLatin1String("already exists")), qPrintable(over.err));
    QCOMPARE(TestFiles::read(file), before);
}

void TestLexoraDict::check_data()
{
    QTest::addColumn<QString>("damage");
    for (const char *damage : {"none", "out of range", "missing", "text", "truncated", "pointers"})
        QTest::newRow(damage) << QString(damage);
}

void TestLexoraDict::check()
{
    QFETCH(QString, damage);
    QStringList words;
    for (int i = 0; i < 600; ++i)
        words << QStringLiteral("entry%1").arg(i);
    const QString file = createDictionary(QStringLiteral("bad.dict"), words);
    QVERIFY(!file.isEmpty());
    QByteArray content = TestFiles::read(file);
    QVERIFY(content.size() > 4 * 4096);
    const int pageSize = (uchar(content.at(16)) << 8) | uchar(content.at(17));
    QVERIFY(pageSize >= 512);
    const bool usable = damage == QLatin1String("none") || damage == QLatin1String("out of range");
    if (!usable)
        QVERIFY(QFile::remove(file));

    if (damage == QLatin1String("out of range")) {
        QVERIFY(RawSqlite::exec(file, "UPDATE words SET frequency = 40 WHERE text = 'entry7'"));
    } else if (damage == QLatin1String("text")) {
        QVERIFY(TestFiles::write(file, "apple\nbanana\ncherry\n"));
    } else if (damage == QLatin1String("truncated")) {
        QVERIFY(TestFiles::write(file, content.left(pageSize + pageSize / 2)));
    } else if (damage == QLatin1String("pointers")) {
        // Zero the cell pointer array of every b-tree page after the first.
        for (qsizetype page = pageSize; page + 16 <= content.size(); page += pageSize)
            std::fill(content.begin() + page + 8, content.begin() + page + 16, '\0');
        QVERIFY(TestFiles::write(file, content));
    }
    const QByteArray before = QFileInfo(file).isFile() ? TestFiles::read(file) : QByteArray();

    const Run result = run({"check", file});
    if (usable) {
        // A value out of range is brought into range and reported, but does not make the file damaged.
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.out.contains(QLatin1String("ok, 600 words")), qPrintable(result.out));
        QCOMPARE(result.out.contains(QLatin1String("\"entry7\" was 40")), damage != QLatin1String("none"));
        return;
    }
    QVERIFY2(result.exitCode == 1, qPrintable(result.out + result.err));
    QVERIFY(!(result.out + result.err).contains(QLatin1String(": ok")));
    // Checking a damaged file never writes.
    if (QFileInfo(file).isFile())
        QCOMPARE(TestFiles::read(file), before);
}

void TestLexoraDict::sampleDictionaries_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("british");
    QTest::addColumn<int>("minimumWords");
    QTest::addColumn<int>("maximumWords");
    QTest::addColumn<bool>("onlyNewCodes");
    QTest::newRow("personal") << QString("personal.dict") << QString("Personal") << false << 3000 << 200000 << false;
    QTest::newRow("collected") << QString("collected.dict") << QString("Collected Words") << false << 100 << 1000
                               << true;
}

void TestLexoraDict::sampleDictionaries()
{
    QFETCH(QString, file);
    QFETCH(QString, name);
    QFETCH(bool, british);
    QFETCH(int, minimumWords);
    QFETCH(int, maximumWords);
    QFETCH(bool, onlyNewCodes);
    const QString samplePath = QCoreApplication::applicationDirPath() + QStringLiteral("/../data/") + file;
    if (!QFileInfo::exists(samplePath))
        QSKIP("The sample dictionaries are built with the whole project; this build has not made them yet");

    // Work on a copy, so that a test never touches the shipped samples.
    const QString copy = path(file);
    QVERIFY(QFile::copy(samplePath, copy));
    QString error;
    DictionaryReference dictionary = Prediction::openDictionary(copy, &error);
    QVERIFY2(dictionary != 0, qPrintable(error));
    QCOMPARE(dictionary->displayName(), name);
    QCOMPARE(dictionary->isUK(), british);
    QCOMPARE(dictionary->isUKGrammar(), british);
    QVERIFY2(dictionary->wordCount() >= minimumWords && dictionary->wordCount() <= maximumWords,
             qPrintable(QString::number(dictionary->wordCount())));

    const QStringList all = dictionary->allWords();
    QCOMPARE(all.size(), dictionary->wordCount());
    for (const QString &word : all)
        QVERIFY2(!word.endsWith(QLatin1String("'s")), qPrintable(word));
    // The samples are small enough to be listed whole.
    QVERIFY(!dictionary->displayByLetterGroup());
    auto listed = [&](const QString &rule) {
        dictionary->setSelectionRule(rule);
        return dictionary->filteredWordCount();
    };
    const int unknown = listed(QStringLiteral("Unknown words"));
    if (onlyNewCodes) {
        QCOMPARE(unknown, all.size());
    } else {
        // Most words got real grammar from the lexicon or the spelling rules.
        QVERIFY2(unknown * 5 < all.size(), qPrintable(QString::number(unknown)));
        QVERIFY(listed(QStringLiteral("Verbs only")) > 0);
    }
}

QTEST_GUILESS_MAIN(TestLexoraDict)
#include "tst_lexoradict.moc"
