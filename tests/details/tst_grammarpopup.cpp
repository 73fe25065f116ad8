// The details panel: how a word's grammar codes are written out, where its regions lie, and how it scrolls.

#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QtTest>

#include "grammarpopup.h"
#include "ourtextbrowser.h"
#include "tempdictionary.h"
#include "windowsleft.h"

class TestGrammarPopUp : public QObject
{
    Q_OBJECT
private slots:
    void init() { GrammarPopUp::lastWordText.clear(); }
    void cleanup();
    void fillPlaceholder_data();
    void fillPlaceholder();
    void patternLines_data();
    void patternLines();
    void renderWord();
    void scrolling();
};

void TestGrammarPopUp::cleanup()
{
    QTRY_VERIFY2(windowsLeft().isEmpty(), qPrintable(windowsLeft().join(QLatin1Char(' '))));
}

void TestGrammarPopUp::fillPlaceholder_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("expected");
    QTest::newRow("every occurrence, not the front of %10") << "%1 and %1 %10" << 1 << "x and x %10";
    QTest::newRow("two digits") << "%10 %1" << 10 << "x %1";
    QTest::newRow("value not rescanned") << "%2%1!" << 1 << "%2x!";
}

void TestGrammarPopUp::fillPlaceholder()
{
    QFETCH(QString, text);
    QFETCH(int, number);
    QFETCH(QString, expected);
    QCOMPARE(GrammarPopUp::fillPlaceholder(text, number, QStringLiteral("x")), expected);
}

void TestGrammarPopUp::patternLines_data()
{
    // "1" becomes the particles and a "2" standing alone the prepositions, each as a link; "/" splits lines.
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("particles");
    QTest::addColumn<QStringList>("expected");
    const QString open = QStringLiteral("&nbsp;").repeated(9) + "<font face=\"Times New Roman\" size=4 color=>";
    const QString up = QStringLiteral("[<a href=\"3_1_particles\">up</a>]");
    const QString about = QStringLiteral("[<a href=\"3_1_prepositions\">about</a>]");
    QTest::newRow("both") << "call sb 1 2 sth"
                          << "up" << QStringList{open + "call sb " + up + " " + about + " sth</font>"};
    QTest::newRow("2 inside words stays") << "12 2nd x2 (2)"
                                          << "up" << QStringList{open + up + "2 2nd x2 (" + about + ")</font>"};
    QTest::newRow("split lines") << "a 1/b 2"
                                 << "up" << QStringList{open + "a " + up, "b " + about + "</font>"};
    QTest::newRow("a lone 2 among the particles")
        << "1"
        << "on 2" << QStringList{open + "[<a href=\"3_1_particles\">on " + about + "</a>]</font>"};
}

void TestGrammarPopUp::patternLines()
{
    QFETCH(QString, pattern);
    QFETCH(QString, particles);
    QFETCH(QStringList, expected);
    TempDictionary dict({"a"});
    GrammarPopUp panel(dict.reference(), true, nullptr);
    QCOMPARE(panel.formatPatternLines({pattern}, particles, QStringLiteral("about"), 3, 1), expected);
}

// The text, the links and the regions of a word with a code that has usages and one that has none.
void TestGrammarPopUp::renderWord()
{
    TempDictionary dict({"call\tverb/reg/18/Tn:up:|Ipr::about;noun/-/4"});
    Word *word = dict->findWord(QStringLiteral("call"));
    word->codes.at(0)->exampleLabels = QStringList{QStringLiteral("L")};
    word->codes.at(0)->exampleTemplates = QStringList{QStringLiteral("~ one/two ~")};
    GrammarPopUp panel(dict.reference(), true, nullptr);
    panel.textBrowser->currentRegion = panel.textBrowser->regions;
    QSignalSpy announced(panel.textBrowser, &OurTextBrowser::announceContextChange);
    panel.displayWord(QStringLiteral("Call"), word, 1);
    QCOMPARE(panel.currentWord, word);
    QVERIFY(!panel.textBrowser->currentRegion);
    QCOMPARE(announced.count(), 1);
    QCOMPARE(panel.WordNameBox->toHtml().contains(QStringLiteral("font-weight:700;\">Call</span>")), true);

    QStringList lines;
    QStringList links;
    const QTextDocument *document = panel.textBrowser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        lines << block.text().replace(QChar::Nbsp, QLatin1Char('.'));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString href = it.fragment().charFormat().anchorHref();
            if (!href.isEmpty() && !links.contains(href))
                links << href;
        }
    }
    const QString bar = QStringLiteral("_____________________");
    QCOMPARE(lines, (QStringList{"..verb.. reg", ".....freq:.. 18", "..... L one", ".....two L", ".......(1)..Tn",
                                 ".........call someone [up]", ".......(2)..Ipr", ".........call [] [about] something",
                                 bar, "", "..noun.. ", ".....freq:.. 4", "..... singular: one call",
                                 "..... plural: two calls", bar, ""}));
    QCOMPARE(links, (QStringList{"0_part_of_speech", "0_subcode", "0_frequency", "0_0_complement", "0_0_particles",
                                 "0_1_complement", "0_1_prepositions", "1_part_of_speech", "1_frequency"}));

    // An empty subcode or particle leaves no link. One region per code and per usage, from its first line to the
    // separator before the next.
    const int expected[][4] = {{0, 0, 0, 7}, {4, 0, 0, 12}, {6, 0, 1, 12}, {10, 1, 0, 7}};
    OurTextBrowser *browser = panel.textBrowser;
    QCOMPARE(browser->regionCount, 4);
    for (int i = 0; i < 4; ++i) {
        const TextRegion &region = browser->regions[i];
        QCOMPARE(QList<int>({document->findBlock(region.start).blockNumber(), region.codeIndex, region.usageIndex,
                             region.flags}),
                 QList<int>({expected[i][0], expected[i][1], expected[i][2], expected[i][3]}));
        if (i < 3)
            QCOMPARE(region.end, browser->regions[i + 1].start - 1);
    }

    // No word: the panel is emptied.
    panel.displayWord(QStringLiteral("nothing"), nullptr, 1);
    QVERIFY(!panel.currentWord);
    QVERIFY(panel.textBrowser->toPlainText().isEmpty());
    QVERIFY(panel.WordNameBox->toPlainText().isEmpty());
}

// The same word keeps its place (mode 1), goes to the end (0) or a code further (-1); another word starts at the top.
void TestGrammarPopUp::scrolling()
{
    QStringList codes;
    for (int i = 0; i < 6; ++i)
        codes << QStringLiteral("verb/reg/%1/Tn::|I::").arg(i + 1);
    TempDictionary dict({"run\t" + codes.join(';'), "walk\t" + codes.join(';')});
    Word *run = dict->findWord(QStringLiteral("run"));
    GrammarPopUp panel(dict.reference(), true, nullptr);
    panel.resize(300, 200);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QCOMPARE(panel.textBrowser->geometry(), QRect(0, 50, 300, 150));
    QScrollBar *bar = panel.textBrowser->verticalScrollBar();
    panel.displayWord(QStringLiteral("run"), run, 0);
    QCOMPARE(bar->value(), 0);
    const int max = bar->maximum();
    QVERIFY(max > 200);
    bar->setValue(37);
    panel.displayWord(QStringLiteral("run"), run, 1);
    QCOMPARE(bar->value(), 37);
    panel.displayWord(QStringLiteral("run"), run, -1);
    QCOMPARE(bar->value(), 37 + max / 6);
    bar->setValue(max - 3);
    panel.displayWord(QStringLiteral("run"), run, -1);
    QCOMPARE(bar->value(), max);
    bar->setValue(10);
    panel.displayWord(QStringLiteral("run"), run, 0);
    QCOMPARE(bar->value(), max);
    panel.displayWord(QStringLiteral("walk"), dict->findWord(QStringLiteral("walk")), 0);
    QCOMPARE(bar->value(), 0);
}

QTEST_MAIN(TestGrammarPopUp)
#include "tst_grammarpopup.moc"
