#include "grammar.h"
#include "lexicon.h"

#include <QtTest>

/// Grammar guesses for new words, from the lexicon and from spelling rules, and the example lines of a code.
class TestGrammar : public QObject
{
    Q_OBJECT

private slots:
    void guesses_data();
    void guesses();
    void examples_data();
    void examples();
    void complementPatterns_data();
    void complementPatterns();
};

void TestGrammar::guesses_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("advanced");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("rarer"); // a word the lexicon gives a lower frequency; empty: no lexicon needed
    auto row = [](const char *word, bool advanced, const QStringList &expected, const char *rarer) {
        QTest::addRow("%s%s", word, advanced ? " advanced" : "") << QString(word) << advanced << expected << rarer;
    };
    row("study", true, {"noun/reg", "verb/reg"}, "abacus");
    row("sit", false, {"verb/irreg p&pp,dbl"}, "abacus");
    row("man", true, {"noun/man, men, etc..", "verb/reg, dbl"}, "abacus");
    // Readings the corpus hardly ever has are left out ("a" as a noun); a form the lexicon lacks gets the
    // code of its commonest tag.
    row("a", true, {"a/"}, "depend");
    row("women", true, {"noun/plural only"}, "depend");
    row("walked", false, {"verb/+ed (p & pp)"}, "sauntered");
    // A final w, x or y is never doubled ("slower", not "slowwer"); "better" is a comparison form.
    row("slow", true, {"adj./reg", "verb/reg", "adv./-"}, "abacus");
    row("beautiful", true, {"adj./absolute"}, "abacus"); // three syllables: "more beautiful"
    row("better", true, {"adj./comparative", "adv./-", "verb/reg"}, "abacus");
    // Spoken contractions, tagged by their parts ("vbg+to"), and a word listed with the capital it has at
    // the start of a line.
    row("gonna", false, {"verb/+ing"}, "sauntered");
    row("wanna", false, {"verb/reg"}, "sauntered");
    row("uh", false, {"hello/"}, "sauntered");
    // Closed-class words take the codes the corpus tags stand for, and the commonest of them the top frequencies.
    for (const auto &[word, code] : std::vector<std::pair<const char *, const char *>>{{"the", "the/"},
                                                                                       {"I", "pron/"},
                                                                                       {"will", "vmight/"},
                                                                                       {"is", "vbe/"},
                                                                                       {"has", "vhave/"},
                                                                                       {"don't", "vdo/"},
                                                                                       {"in", "prep/"},
                                                                                       {"them", "objPN/"},
                                                                                       {"my", "psvPN/"},
                                                                                       {"himself", "rflx/"},
                                                                                       {"everybody", "indef/"},
                                                                                       {"which", "WH/"},
                                                                                       {"these", "TH/"},
                                                                                       {"many", "quant/"},
                                                                                       {"and", "and/"},
                                                                                       {"because", "conj/"}})
        row(word, false, {code}, "depend");
    // Spelling rules for words nothing knows.
    row("Zorblax", true, {"name/Singular name"}, "");
    row("snorking", true, {"verb/+ing", "adj./verb 'ING'"}, "");
}

void TestGrammar::guesses()
{
    QFETCH(QString, word);
    QFETCH(bool, advanced);
    QFETCH(QStringList, expected);
    QFETCH(QString, rarer);
    if (!rarer.isEmpty() && Lexicon::shared().isEmpty())
        QSKIP("No lexicon on this machine (WordNet is not installed): lexicon guesses cannot be checked");
    const QList<Grammar::Guess> guesses = Grammar::guess(word, advanced);
    QStringList codes;
    for (const Grammar::Guess &g : guesses) {
        codes << g.partOfSpeech + '/' + g.subcode;
        // A guessed subcode is one the details panel's menu offers.
        const QStringList choices = Grammar::subcodeChoices(g.partOfSpeech);
        QVERIFY(g.partOfSpeech == "new" || g.partOfSpeech == "adv." || choices.contains(g.subcode) ||
                (choices.isEmpty() && g.subcode.isEmpty()));
        QVERIFY2(g.frequency >= 1 && g.frequency <= 31, qPrintable(QString::number(g.frequency)));
    }
    QCOMPARE(codes, expected);
    if (!rarer.isEmpty())
        QVERIFY(guesses.first().frequency > Grammar::guess(rarer, false).first().frequency);
}

void TestGrammar::examples_data()
{
    QTest::addColumn<QStringList>("code"); // word, part of speech, subcode
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("-ee verb") << QStringList{"agree", "verb", "reg"}
                              << QStringList{"root: to agree", "3rd person: she agrees", "-ing: she is agreeing",
                                             "past: she agreed", "past participle: she has agreed"};
    QTest::newRow("+ed") << QStringList{"told", "verb", "+ed (p & pp)"}
                         << QStringList{"past: she told", "past participle: she has told"};
    QTest::newRow("-o noun") << QStringList{"veto", "noun", "reg"}
                             << QStringList{"singular: one veto", "plural: two vetoes"};
    QTest::newRow("singular only") << QStringList{"goose", "noun", "singular only"}
                                   << QStringList{"singular: one goose"};
}

// The example lines as the details panel shows them: each "/" part on a line, the label in place of "~".
void TestGrammar::examples()
{
    QFETCH(QStringList, code);
    QFETCH(QStringList, lines);
    QStringList labels, templates, shown;
    Grammar::examples(code.at(0), code.at(1), code.at(2), &labels, &templates);
    for (int i = 0; i < labels.size(); ++i)
        shown << templates.value(i).split('/').replaceInStrings("~", labels.at(i));
    QCOMPARE(shown, lines);
}

// The pattern lines of a usage's complements: one line a pattern, "1" where the particles go and "2" where
// the prepositions go.
void TestGrammar::complementPatterns_data()
{
    QTest::addColumn<QString>("partOfSpeech");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QStringList>("patterns");
    QTest::newRow("transitive") << "verb" << QStringList{"Tn"} << QStringList{"look someone 1"};
    QTest::newRow("one line for two codes alike")
        << "verb" << QStringList{"Tn", "Tnp", "Ipr"} << QStringList{"look someone 1", "look 1 2 something"};
    QTest::newRow("phrasal without a pattern") << "verb" << QStringList{"phrasal"} << QStringList{"look someone 1"};
    QTest::newRow("phrasal, as the dialog names it")
        << "verb" << QStringList{"Phrasal verb"} << QStringList{"look someone 1"};
    QTest::newRow("not phrasal") << "verb" << QStringList{"nonphrasal"} << QStringList{};
    QTest::newRow("a code of no frame") << "verb" << QStringList{"Zq"} << QStringList{"look 1 2 something"};
    QTest::newRow("no complements for a name") << "name" << QStringList{"Tn"} << QStringList{};
}

void TestGrammar::complementPatterns()
{
    QFETCH(QString, partOfSpeech);
    QFETCH(QStringList, codes);
    QFETCH(QStringList, patterns);
    QCOMPARE(Grammar::complementPatterns("look", partOfSpeech, codes), patterns);
}

QTEST_GUILESS_MAIN(TestGrammar)
#include "tst_grammar.moc"
