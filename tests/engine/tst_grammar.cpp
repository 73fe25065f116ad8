// The engine's grammar knowledge: guesses for new words, example lines, usage frames and the lexicon file.

#include "grammar.h"
#include "lexicon.h"

#include <QTemporaryDir>
#include <QtTest>

class TestGrammar : public QObject
{
    Q_OBJECT

private slots:
    void guesses_data();
    void guesses();
    void examplesForEveryMenuSubcode();
    void lexiconFile_data();
    void lexiconFile();
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
    row("study", true, {"verb/reg", "noun/reg"}, "abacus");
    row("sit", false, {"verb/irreg p&pp,dbl"}, "abacus");
    row("man", true, {"noun/man, men, etc..", "verb/reg, dbl"}, "abacus");
    row("walked", false, {"verb/+ed (p & pp)"}, "sauntered");
    row("does", true, {"verb/+s", "noun/plural only"}, "abacus");
    row("tallest", false, {"adj./superlative"}, "abacus");
    // Spelling rules for words nothing knows.
    row("Zorblax", true, {"name/Singular name"}, "");
    row("snorking", true, {"verb/+ing", "adj./verb 'ING'"}, "");
    row("", false, {"new/"}, "");
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
        QVERIFY2(g.frequency >= 1 && g.frequency <= 31, qPrintable(QString::number(g.frequency)));
    }
    QCOMPARE(codes, expected);
    if (!rarer.isEmpty())
        QVERIFY(guesses.first().frequency > Grammar::guess(rarer, false).first().frequency);
}

void TestGrammar::examplesForEveryMenuSubcode()
{
    for (const char *pos : {"noun", "verb", "adj.", "name"}) {
        for (const QString &subcode : Grammar::subcodeChoices(pos)) {
            QStringList labels, templates;
            Grammar::examples("plonk", pos, subcode, &labels, &templates);
            QVERIFY2(!labels.isEmpty() && labels.size() == templates.size(), qPrintable(subcode));
            for (const QString &t : std::as_const(templates)) {
                for (const QString &part : t.split('/'))
                    QVERIFY2(part.startsWith('~') && part.contains("plonk"), qPrintable(subcode + ": " + t));
            }
        }
    }
}

void TestGrammar::lexiconFile_data()
{
    QTest::addColumn<QByteArray>("damage"); // what the file holds instead; empty: the file as written
    QTest::newRow("as written") << QByteArray();
    QTest::newRow("wrong magic") << QByteArray("NOTALEXICONFILE\n");
    QTest::newRow("count beyond the file") << QByteArray("LXLEX1\0\0\xff\xff\x00\x00", 12);
    QTest::newRow("truncated record") << QByteArray("LXLEX1\0\0\x01\0\0\0\0\0\0\0dog\tnoun", 24);
}

void TestGrammar::lexiconFile()
{
    QFETCH(QByteArray, damage);
    QTemporaryDir dir;
    const QString path = dir.filePath("lexicon.dat");
    QMap<QString, Lexicon::Entry> entries;
    for (const char *w : {"zebra", "apple", "dog", "kiwi"})
        entries[w].codes = {{"noun", "reg", 7}};
    entries["run"] = {{{"verb", "pp = root, dbl", 18}, {"noun", "reg", 11}}, "ran", "run", {}, {}, {}};
    entries["naïve"] = {{{"adj.", "absolute", 5}}, {}, {}, {}, "naïver", "naïvest"};
    QString error;
    QVERIFY2(Lexicon::write(path, entries, &error), qPrintable(error));
    if (!damage.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(damage) == damage.size());
    }
    const Lexicon lexicon(path);
    QCOMPARE(lexicon.size(), damage.isEmpty() ? entries.size() : 0);
    auto fields = [](const Lexicon::Entry &e) {
        QStringList all{e.past, e.participle, e.plural, e.comparative, e.superlative};
        for (const Lexicon::Code &c : e.codes)
            all << c.partOfSpeech + '|' + c.subcode + '|' + QString::number(c.frequency);
        return all;
    };
    for (auto it = entries.constBegin(); it != entries.constEnd(); ++it) {
        Lexicon::Entry found;
        QCOMPARE(lexicon.lookup(it.key(), &found), damage.isEmpty());
        QCOMPARE(fields(found), damage.isEmpty() ? fields(*it) : fields({}));
    }
    // Neighbours, prefixes and extensions of stored words are not found.
    for (const char *absent : {"", "a", "applez", "aaa", "zzz", "ru", "runs", "Run", "naive"})
        QVERIFY2(!lexicon.lookup(absent, nullptr), absent);
}

QTEST_GUILESS_MAIN(TestGrammar)
#include "tst_grammar.moc"
