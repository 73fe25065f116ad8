// The engine's grammar knowledge: guesses for new words, subcode menus, example lines, usage frames,
// inflection rules and the lexicon file.

#include "grammar.h"
#include "inflection.h"
#include "lexicon.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList describe(const QList<Grammar::Guess> &guesses)
{
    QStringList codes;
    for (const Grammar::Guess &g : guesses)
        codes << g.partOfSpeech + QLatin1Char('/') + g.subcode;
    return codes;
}

// The example lines as the details panel shows them, with the label in place of "~".
QStringList render(const QStringList &labels, const QStringList &templates)
{
    QStringList lines;
    for (int i = 0; i < qMin(labels.size(), templates.size()); ++i) {
        for (QString part : templates.at(i).split(QLatin1Char('/')))
            lines << part.replace(QLatin1Char('~'), labels.at(i));
    }
    return lines;
}

bool hasLonePlaceholder(const QString &pattern, char digit)
{
    return pattern.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(QLatin1Char(digit))));
}

bool noLexicon()
{
    return Lexicon::shared().isEmpty();
}

} // namespace

class TestGrammar : public QObject
{
    Q_OBJECT

private slots:
    void guesses_data();
    void guesses();
    void frequencyOrder_data();
    void frequencyOrder();
    void subcodeChoices_data();
    void subcodeChoices();
    void examples_data();
    void examples();
    void examplesForEveryMenuSubcode();
    void complementPatterns_data();
    void complementPatterns();
    void everyVerbPatternHasParticles();
    void codeTexts();
    void doubling_data();
    void doubling();
    void lexiconFile();
    void damagedLexiconIsEmpty_data();
    void damagedLexiconIsEmpty();
};

void TestGrammar::guesses_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("advanced");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("needsLexicon");

    auto row = [](const char *name, const char *word, bool advanced, const QStringList &expected, bool lexicon) {
        QTest::newRow(name) << QString::fromUtf8(word) << advanced << expected << lexicon;
    };
    // From the lexicon.
    row("study basic", "study", false, {"verb/reg"}, true);
    row("study advanced", "study", true, {"verb/reg", "noun/reg"}, true);
    row("irregular verb", "see", false, {"verb/irreg p & pp"}, true);
    row("irregular doubling verb", "sit", false, {"verb/irreg p&pp,dbl"}, true);
    row("doubling verb", "stop", false, {"verb/reg, dbl"}, true);
    row("past and pp as root", "hurt", false, {"verb/p & pp = root"}, true);
    row("pp as root, doubling", "run", false, {"verb/pp = root, dbl"}, true);
    row("past as root", "beat", false, {"verb/past = root"}, true);
    row("bet", "bet", false, {"verb/p&pp=root,dbl"}, true);
    row("adverb", "quickly", false, {"adv./-"}, true);
    row("short adjective", "happy", false, {"adj./reg"}, true);
    row("doubling adjective", "big", false, {"adj./reg, dbl"}, true);
    row("long adjective", "beautiful", false, {"adj./absolute"}, true);
    row("plural unchanged", "sheep", false, {"noun/plural unchanged"}, true);
    row("latin plural", "cactus", false, {"noun/Latin plural"}, true);
    row("man, men", "man", true, {"noun/man, men, etc..", "verb/reg, dbl"}, true);
    // Forms the exception lists give.
    row("irregular past", "ran", false, {"verb/past"}, true);
    row("irregular participle", "seen", false, {"verb/past participle"}, true);
    row("past and participle", "told", false, {"verb/+ed (p & pp)"}, true);
    row("irregular plural", "geese", false, {"noun/plural only"}, true);
    row("irregular comparative", "better", false, {"adj./comparative"}, true);
    // Regular forms of lexicon words.
    row("regular past", "walked", false, {"verb/+ed (p & pp)"}, true);
    row("regular -ing", "walking", false, {"verb/+ing"}, true);
    row("-ing that is a lemma too", "looking", true, {"verb/+ing", "adj./absolute", "noun/reg"}, true);
    row("silent e -ing", "hoping", false, {"verb/+ing"}, true);
    row("plural and 3rd person", "dogs", true, {"noun/plural only", "verb/+s"}, true);
    row("3rd person before a rare plural", "does", true, {"verb/+s", "noun/plural only"}, true);
    row("3rd person", "walks", false, {"verb/+s"}, true);
    row("comparative", "taller", false, {"adj./comparative"}, true);
    row("superlative", "tallest", false, {"adj./superlative"}, true);
    // Spelling rules for words nothing knows.
    row("capitalised", "Zorblax", true, {"name/Singular name"}, false);
    row("-ly", "florbly", false, {"adv./-"}, false);
    row("-ness", "glorpness", false, {"noun/reg"}, false);
    row("-ize", "flurbize", false, {"verb/reg"}, false);
    row("-ous", "blibbous", false, {"adj./absolute"}, false);
    row("-ing basic", "snorking", false, {"verb/+ing"}, false);
    row("-ing advanced", "snorking", true, {"verb/+ing", "adj./verb 'ING'"}, false);
    row("unknown", "xqzt", true, {"new/"}, false);
    row("digits", "1234", true, {"new/"}, false);
    row("punctuation", "?!", false, {"new/"}, false);
    row("empty", "", false, {"new/"}, false);
}

void TestGrammar::guesses()
{
    QFETCH(QString, word);
    QFETCH(bool, advanced);
    QFETCH(QStringList, expected);
    QFETCH(bool, needsLexicon);
    if (needsLexicon && noLexicon())
        QSKIP("No lexicon on this machine (WordNet is not installed): lexicon guesses cannot be checked");

    const QList<Grammar::Guess> guesses = Grammar::guess(word, advanced);
    QCOMPARE(describe(guesses), expected);
    for (const Grammar::Guess &g : guesses) {
        QVERIFY2(g.frequency >= 1 && g.frequency <= 31, qPrintable(QString::number(g.frequency)));
        if (g.partOfSpeech != QLatin1String("new"))
            QVERIFY2(Grammar::subcodeChoices(g.partOfSpeech).contains(g.subcode) || g.partOfSpeech == "adv.",
                     qPrintable(g.subcode));
    }
}

void TestGrammar::frequencyOrder_data()
{
    QTest::addColumn<QString>("common");
    QTest::addColumn<QString>("rare");
    for (const auto &pair : {std::pair("see", "abacus"), {"time", "thyme"}, {"good", "gaudy"}, {"walked", "sauntered"}})
        QTest::newRow(pair.first) << QString(pair.first) << QString(pair.second);
}

void TestGrammar::frequencyOrder()
{
    QFETCH(QString, common);
    QFETCH(QString, rare);
    if (noLexicon())
        QSKIP("No lexicon on this machine (WordNet is not installed): frequencies are all 1");
    const QList<Grammar::Guess> a = Grammar::guess(common, false);
    const QList<Grammar::Guess> b = Grammar::guess(rare, false);
    QCOMPARE(a.size(), 1);
    QCOMPARE(b.size(), 1);
    QVERIFY2(a.first().frequency > b.first().frequency,
             qPrintable(QStringLiteral("%1 %2").arg(a.first().frequency).arg(b.first().frequency)));
}

void TestGrammar::subcodeChoices_data()
{
    QTest::addColumn<QString>("partOfSpeech");
    QTest::addColumn<bool>("choices");
    QTest::addColumn<bool>("uses");
    auto row = [](const char *pos, bool choices, bool uses) {
        QTest::newRow(*pos ? pos : "empty") << QString(pos) << choices << uses;
    };
    row("noun", true, true);
    row("name", true, false);
    row("verb", true, true);
    row("adj.", true, true);
    row("time", true, false);
    row("adv.", false, false);
    row("Noun", false, false); // case matters
    row("", false, false);
}

// The lists themselves are tied to the details panel's menus by tst_subcodelists.
void TestGrammar::subcodeChoices()
{
    QFETCH(QString, partOfSpeech);
    QFETCH(bool, choices);
    QFETCH(bool, uses);
    const QStringList list = Grammar::subcodeChoices(partOfSpeech);
    QCOMPARE(!list.isEmpty(), choices);
    QCOMPARE(QSet<QString>(list.cbegin(), list.cend()).size(), list.size());
    QCOMPARE(Grammar::canHaveUses(partOfSpeech), uses);
}

void TestGrammar::examples_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("partOfSpeech");
    QTest::addColumn<QString>("subcode");
    QTest::addColumn<QStringList>("lines");

    auto row = [](const char *name, const char *word, const char *pos, const char *subcode, const QStringList &lines) {
        QTest::newRow(name) << QString(word) << QString(pos) << QString(subcode) << lines;
    };
    auto verb = [&](const char *name, const char *word, const char *subcode, const QStringList &forms) {
        row(name, word, "verb", subcode,
            {"root: to " + forms.at(0), "3rd person: she " + forms.at(1), "-ing: she is " + forms.at(2),
             "past: she " + forms.at(3), "past participle: she has " + forms.at(4)});
    };
    verb("regular verb", "like", "reg", {"like", "likes", "liking", "liked", "liked"});
    verb("regular -y verb", "try", "reg", {"try", "tries", "trying", "tried", "tried"});
    verb("regular -ss verb", "miss", "reg", {"miss", "misses", "missing", "missed", "missed"});
    verb("regular -ee verb", "agree", "reg", {"agree", "agrees", "agreeing", "agreed", "agreed"});
    verb("regular -ie verb", "die", "reg", {"die", "dies", "dying", "died", "died"});
    verb("irregular verb", "go", "irreg p & pp", {"go", "goes", "going", "went", "gone"});
    verb("irregular, doubled", "sit", "irreg p&pp,dbl", {"sit", "sits", "sitting", "sat", "sat"});
    verb("regular, doubled", "trim", "reg, dbl", {"trim", "trims", "trimming", "trimmed", "trimmed"});
    verb("p & pp = root", "hurt", "p & pp = root", {"hurt", "hurts", "hurting", "hurt", "hurt"});
    verb("p&pp=root, doubled", "bet", "p&pp=root,dbl", {"bet", "bets", "betting", "bet", "bet"});
    verb("pp = root, doubled", "run", "pp = root, dbl", {"run", "runs", "running", "ran", "run"});
    verb("past = root", "beat", "past = root", {"beat", "beats", "beating", "beat", "beaten"});
    verb("regular subcode wins", "see", "reg", {"see", "sees", "seeing", "seed", "seed"});
    row("past only", "saw", "verb", "past", {"past: she saw"});
    row("past participle only", "seen", "verb", "past participle", {"past participle: she has seen"});
    row("+ed", "told", "verb", "+ed (p & pp)", {"past: she told", "past participle: she has told"});

    row("regular noun", "dog", "noun", "reg", {"singular: one dog", "plural: two dogs"});
    row("noun -x", "box", "noun", "reg", {"singular: one box", "plural: two boxes"});
    row("noun -y", "city", "noun", "reg", {"singular: one city", "plural: two cities"});
    row("noun -ay", "day", "noun", "reg", {"singular: one day", "plural: two days"});
    row("plural unchanged", "sheep", "noun", "plural unchanged", {"singular: one sheep", "plural: two sheep"});
    row("man, men", "woman", "noun", "man, men, etc..", {"singular: one woman", "plural: two women"});
    row("latin plural", "cactus", "noun", "Latin plural", {"singular: one cactus", "plural: two cacti"});
    row("zzes", "quiz", "noun", "plural = '~zzes'", {"singular: one quiz", "plural: two quizzes"});
    row("singular only", "goose", "noun", "singular only", {"singular: one goose"});
    row("plural only", "geese", "noun", "plural only", {"plural: two geese"});
    row("uncount", "water", "noun", "uncount", {"uncount: some water is"});
    row("group, two lines", "army", "noun", "group",
        {"singular: one army", "plural: two armies", "group: the army is...", "group: the army are..."});

    row("regular adjective", "late", "adj.", "reg", {"comparative: later than that", "superlative: the latest"});
    row("-y adjective", "happy", "adj.", "reg", {"comparative: happier than that", "superlative: the happiest"});
    row("doubled adjective", "big", "adj.", "reg, dbl", {"comparative: bigger than that", "superlative: the biggest"});
    row("irregular adjective", "good", "adj.", "reg", {"comparative: better than that", "superlative: the best"});
    row("absolute adjective", "beautiful", "adj.", "absolute",
        {"comparative: more beautiful than that", "superlative: the most beautiful"});
    row("comparative", "better", "adj.", "comparative", {"comparative: better than that"});

    row("location", "Chicago", "name", "Location", {"name: in Chicago"});
    row("city, two lines", "Leeds", "name", "City, etc", {"name: Leeds is...", "name: Leeds are playing"});
    row("adverb", "quickly", "adv.", "-", {"adverb: she did it quickly"});
    row("new word", "xqzt", "new", "", {});
    row("other part of speech", "the", "det", "", {});
}

void TestGrammar::examples()
{
    QFETCH(QString, word);
    QFETCH(QString, partOfSpeech);
    QFETCH(QString, subcode);
    QFETCH(QStringList, lines);

    QStringList labels{QStringLiteral("stale")};
    QStringList templates{QStringLiteral("stale")};
    Grammar::examples(word, partOfSpeech, subcode, &labels, &templates);
    QCOMPARE(labels.size(), templates.size());
    for (const QString &t : std::as_const(templates))
        QVERIFY2(t.startsWith(QLatin1Char('~')), qPrintable(t));
    QCOMPARE(render(labels, templates), lines);
}

void TestGrammar::examplesForEveryMenuSubcode()
{
    // Every subcode a menu offers yields example lines whose parts each carry the label and the word.
    for (const char *pos : {"noun", "verb", "adj.", "name"}) {
        for (const QString &subcode : Grammar::subcodeChoices(QLatin1String(pos))) {
            QStringList labels;
            QStringList templates;
            Grammar::examples(QStringLiteral("plonk"), QLatin1String(pos), subcode, &labels, &templates);
            QVERIFY2(!labels.isEmpty(), qPrintable(QLatin1String(pos) + QLatin1Char(' ') + subcode));
            QCOMPARE(labels.size(), templates.size());
            for (const QString &t : std::as_const(templates)) {
                for (const QString &part : t.split(QLatin1Char('/')))
                    QVERIFY2(part.startsWith(QLatin1Char('~')) && part.contains(QLatin1String("plonk")),
                             qPrintable(subcode + QLatin1String(": ") + t));
            }
        }
    }
}

void TestGrammar::complementPatterns_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("partOfSpeech");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QStringList>("expected");

    auto row = [](const char *name, const char *word, const char *pos, const QStringList &codes,
                  const QStringList &expected) {
        QTest::newRow(name) << QString(word) << QString(pos) << codes << expected;
    };
    row("transitive", "call", "verb", {"Tn"}, {"call someone 1"});
    row("prepositional", "complain", "verb", {"Ipr"}, {"complain 1 2 something"});
    row("two codes in order", "give", "verb", {"Dnn", "Dnpr"}, {"give someone 1 a book", "give a book 1 2 someone"});
    row("phrasal marker alone", "call", "verb", {"phrasal"}, {"call someone 1"});
    row("phrasal marker with pattern", "call", "verb", {"phrasal", "Tn"}, {"call someone 1"});
    row("non-phrasal marker", "call", "verb", {"nonphrasal"}, {});
    row("no codes", "call", "verb", {}, {});
    row("noun default", "complaint", "noun", {"default"}, {"a complaint 2 something"});
    row("noun quantity", "cup", "noun", {"Q1"}, {"a cup of something"});
    row("adjective no-prep", "angry", "adj.", {"-"}, {"it is angry"});
    row("adjective preposition", "fond", "adj.", {"of"}, {"she is fond of something"});
    row("unknown adjective code", "fond", "adj.", {"zz"}, {"she is fond 2 something"});
    row("adverb has no usages", "quickly", "adv.", {"Tn"}, {});
}

void TestGrammar::complementPatterns()
{
    QFETCH(QString, word);
    QFETCH(QString, partOfSpeech);
    QFETCH(QStringList, codes);
    QFETCH(QStringList, expected);
    QCOMPARE(Grammar::complementPatterns(word, partOfSpeech, codes), expected);
}

void TestGrammar::everyVerbPatternHasParticles()
{
    const QStringList codes = {"I",  "ILoc", "Idest", "Ipr", "Ipg",  "Tn",  "TnLoc", "TnDest", "Tnpr", "Tf",
                               "Tw", "Tt",   "Tnt",   "Tg",  "Tsg",  "Tng", "Tni",   "Tned",   "Lv",   "La",
                               "Ln", "Lln",  "Cna",   "Cnn", "Cnas", "Dnn", "Dnpr",  "Dnf",    "Dnw"};
    const QStringList withPreposition = {"ILoc", "Idest", "Ipr", "Ipg", "TnLoc", "TnDest", "Tnpr", "Dnpr"};
    QSet<QString> distinct;
    for (const QString &code : codes) {
        const QStringList patterns =
            Grammar::complementPatterns(QStringLiteral("plonk"), QStringLiteral("verb"), {code});
        QCOMPARE(patterns.size(), 1);
        const QString &p = patterns.first();
        QVERIFY2(p.startsWith(QLatin1String("plonk ")), qPrintable(code + ": " + p));
        QVERIFY2(hasLonePlaceholder(p, '1'), qPrintable(code + ": " + p));
        QCOMPARE(hasLonePlaceholder(p, '2'), withPreposition.contains(code));
        QCOMPARE(p.count(QLatin1Char('1')), 1);
        distinct.insert(p);
    }
    // Patterns that differ in what follows the verb do not collapse into one frame.
    QVERIFY(distinct.size() >= 20);
}

void TestGrammar::codeTexts()
{
    QCOMPARE(Grammar::complementName("verb", {"Tn", "Ipr"}), QStringLiteral("Tn, Ipr"));
    QCOMPARE(Grammar::complementName("verb", {"phrasal", "Tn", "nonphrasal"}),
             QStringLiteral("Phrasal verb, Tn, Non Phrasal Verb"));
    QCOMPARE(Grammar::complementName("adj.", {"-"}), QStringLiteral("no-prep"));
    QCOMPARE(Grammar::complementName("noun", {"-"}), QStringLiteral("-"));
    // A usage without codes still needs a text to click on.
    QCOMPARE(Grammar::complementName("noun", {}), QStringLiteral("no complement"));
    QCOMPARE(Grammar::listText({"up", "out of"}), QStringLiteral("up/out of"));
    QCOMPARE(Grammar::listText({}), QString());
    QCOMPARE(Grammar::adverbText({"+S", "er"}), QStringLiteral("before the sentence, comparative"));
    QCOMPARE(Grammar::adverbText({"vp+", "odd"}), QStringLiteral("after the verb phrase, odd"));
    QCOMPARE(Grammar::adverbText({}), QString());
}

void TestGrammar::doubling_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("doubles");
    QTest::newRow("stop") << "stop" << true;
    QTest::newRow("begin (stressed last syllable)") << "begin" << true;
    QTest::newRow("quit (qu)") << "quit" << true;
    QTest::newRow("visit (unstressed)") << "visit" << false;
    QTest::newRow("open") << "open" << false;
    QTest::newRow("fix (x)") << "fix" << false;
    QTest::newRow("play (y)") << "play" << false;
    QTest::newRow("show (w)") << "show" << false;
    QTest::newRow("need (two vowels)") << "need" << false;
    QTest::newRow("help (two consonants)") << "help" << false;
    QTest::newRow("short") << "go" << false;
}

void TestGrammar::doubling()
{
    QFETCH(QString, word);
    QFETCH(bool, doubles);
    QCOMPARE(Inflection::doublesByRule(word), doubles);
}

void TestGrammar::lexiconFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lexicon.dat"));
    QMap<QString, Lexicon::Entry> entries;
    for (const char *w : {"zebra", "apple", "mango", "banana", "kiwi"})
        entries[QLatin1String(w)].codes.append({QStringLiteral("noun"), QStringLiteral("reg"), 7});
    Lexicon::Entry &run = entries[QStringLiteral("run")];
    run.codes = {{QStringLiteral("verb"), QStringLiteral("pp = root, dbl"), 18},
                 {QStringLiteral("noun"), QStringLiteral("reg"), 11}};
    run.past = QStringLiteral("ran");
    run.participle = QStringLiteral("run");
    Lexicon::Entry &naive = entries[QString::fromUtf8("naïve")];
    naive.codes = {{QStringLiteral("adj."), QStringLiteral("absolute"), 5}};
    naive.comparative = QString::fromUtf8("naïver");
    QString error;
    QVERIFY2(Lexicon::write(path, entries, &error), qPrintable(error));

    const Lexicon lexicon(path);
    QCOMPARE(lexicon.size(), entries.size());
    for (auto it = entries.constBegin(); it != entries.constEnd(); ++it) {
        Lexicon::Entry found;
        QVERIFY2(lexicon.lookup(it.key(), &found), qPrintable(it.key()));
        QCOMPARE(found.codes.size(), it->codes.size());
        for (int i = 0; i < found.codes.size(); ++i) {
            QCOMPARE(found.codes.at(i).partOfSpeech, it->codes.at(i).partOfSpeech);
            QCOMPARE(found.codes.at(i).subcode, it->codes.at(i).subcode);
            QCOMPARE(found.codes.at(i).frequency, it->codes.at(i).frequency);
        }
        QCOMPARE(found.past, it->past);
        QCOMPARE(found.participle, it->participle);
        QCOMPARE(found.comparative, it->comparative);
    }
    // Neighbours, prefixes and extensions of stored words are not found.
    for (const char *absent : {"", "a", "ap", "applez", "aaa", "zzz", "ru", "runs", "Run", "naive"})
        QVERIFY2(!lexicon.lookup(QString::fromUtf8(absent), nullptr), absent);
}

void TestGrammar::damagedLexiconIsEmpty_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("wrong magic") << QByteArray("NOTALEXICONFILE\n");
    QTest::newRow("count beyond the file") << QByteArray("LXLEX1\0\0\xff\xff\x00\x00", 12);
    QTest::newRow("offset beyond the records") << QByteArray("LXLEX1\0\0\x01\0\0\0\x50\0\0\0dog\tnoun|reg|3\t\n", 34);
    QTest::newRow("record holding a NUL") << QByteArray("LXLEX1\0\0\x01\0\0\0\0\0\0\0dog\tnoun\0|reg|3\t\n", 33);
    QTest::newRow("truncated record") << QByteArray("LXLEX1\0\0\x01\0\0\0\0\0\0\0dog\tnoun", 24);
}

void TestGrammar::damagedLexiconIsEmpty()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("lexicon.dat")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    const Lexicon lexicon(file.fileName());
    QVERIFY(lexicon.isEmpty());
    QVERIFY(!lexicon.lookup(QStringLiteral("dog"), nullptr));
}

QTEST_GUILESS_MAIN(TestGrammar)
#include "tst_grammar.moc"
