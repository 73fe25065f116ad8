// The details panel: how a word's grammar codes are written out, where its regions lie, what a click on
// them announces, and how the panel scrolls.

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
    void cleanup() { QTRY_VERIFY2(windowsLeft().isEmpty(), qPrintable(windowsLeft().join(' '))); }
    void placeholdersAndPatterns();
    void renderWord();
    void regionTable();
    void clickAnnouncesRegion();
    void focusLossAndLinks();
    void scrolling();
};

// "1" in a pattern becomes the particles and a "2" standing alone the prepositions, each as a link.
void TestGrammarPopUp::placeholdersAndPatterns()
{
    QCOMPARE(GrammarPopUp::fillPlaceholder("%1 and %1 %10", 1, "x"), QStringLiteral("x and x %10"));
    QCOMPARE(GrammarPopUp::fillPlaceholder("%10 %1", 10, "%1"), QStringLiteral("%1 %1"));
    TempDictionary dict({"a"});
    GrammarPopUp panel(dict.reference(), true, nullptr);
    const QString open = QStringLiteral("&nbsp;").repeated(9) + "<font face=\"Times New Roman\" size=4 color=>";
    const QString up = QStringLiteral("[<a href=\"3_1_particles\">up</a>]");
    const QString about = QStringLiteral("[<a href=\"3_1_prepositions\">about</a>]");
    auto lines = [&](const QString &pattern, const QString &particles) {
        return panel.formatPatternLines({pattern}, particles, QStringLiteral("about"), 3, 1);
    };
    QCOMPARE(lines("call sb 1 2 sth", "up"), QStringList{open + "call sb " + up + " " + about + " sth</font>"});
    QCOMPARE(lines("12 2nd x2 (2)", "up"), QStringList{open + up + "2 2nd x2 (" + about + ")</font>"});
    QCOMPARE(lines("a 1/b 2", "up"), (QStringList{open + "a " + up, "b " + about + "</font>"}));
    QCOMPARE(lines("1", "on 2"), QStringList{open + "[<a href=\"3_1_particles\">on " + about + "</a>]</font>"});
}

// The text, the links and the regions of a word with a code that has usages and one that has none.
void TestGrammarPopUp::renderWord()
{
    TempDictionary dict({"call\tverb/reg/18/Tn:up:|Ipr::about;noun/-/4"});
    Word *word = dict->findWord(QStringLiteral("call"));
    word->codes.at(0)->exampleLabels = QStringList{QStringLiteral("L")};
    word->codes.at(0)->exampleTemplates = QStringList{QStringLiteral("~ one/two ~")};
    GrammarPopUp panel(dict.reference(), true, nullptr);
    OurTextBrowser *browser = panel.textBrowser;
    browser->currentRegion = browser->regions;
    QSignalSpy announced(browser, &OurTextBrowser::announceContextChange);
    panel.displayWord(QStringLiteral("Call"), word, 1);
    QCOMPARE(panel.currentWord, word);
    QVERIFY(!browser->currentRegion);
    QCOMPARE(announced.count(), 1);
    QVERIFY(panel.WordNameBox->toHtml().contains(QStringLiteral("font-weight:700;\">Call</span>")));

    QStringList lines;
    QStringList links;
    const QTextDocument *document = browser->document();
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
    // An empty subcode or particle leaves no link.
    QCOMPARE(links, (QStringList{"0_part_of_speech", "0_subcode", "0_frequency", "0_0_complement", "0_0_particles",
                                 "0_1_complement", "0_1_prepositions", "1_part_of_speech", "1_frequency"}));
    // One region per code and per usage, from its first line to the separator before the next.
    const int expected[][4] = {{0, 0, 0, 7}, {4, 0, 0, 12}, {6, 0, 1, 12}, {10, 1, 0, 7}};
    QCOMPARE(browser->regionCount, 4);
    for (int i = 0; i < 4; ++i) {
        const TextRegion &region = browser->regions[i];
        QCOMPARE(QList<int>({document->findBlock(region.start).blockNumber(), region.codeIndex, region.usageIndex,
                             region.flags}),
                 QList<int>({expected[i][0], expected[i][1], expected[i][2], expected[i][3]}));
        if (i < 3)
            QCOMPARE(region.end, browser->regions[i + 1].start - 1);
    }

    panel.displayWord(QStringLiteral("nothing"), nullptr, 1);
    QVERIFY(!panel.currentWord);
    QVERIFY(browser->toPlainText().isEmpty());
    QVERIFY(panel.WordNameBox->toPlainText().isEmpty());
}

// Positions before the first region or past the last fall to the last; the table holds fifty regions.
void TestGrammarPopUp::regionTable()
{
    OurTextBrowser browser;
    QVERIFY(!browser.regionAt(5));
    for (int i = 0; i < 60; ++i) {
        browser.beginRegion(i * 10 + 1);
        browser.addRegion(i * 10 + 9, i, 0, 3);
    }
    browser.beginRegion(601);
    QCOMPARE(browser.regionCount, 50);
    const QList<QPair<int, int>> found = {{1, 0}, {10, 0}, {11, 1}, {0, 49}, {495, 49}, {595, 49}, {-1, 49}};
    for (const auto &[position, region] : found)
        QCOMPARE(int(browser.regionAt(position) - browser.regions), region);
    browser.resetRegions();
    QVERIFY(!browser.regionAt(5));
}

// A click selects the region under it (the last one below the text), selects its first character and
// announces what the region allows: a code with usages, a usage, a code without.
void TestGrammarPopUp::clickAnnouncesRegion()
{
    OurTextBrowser browser;
    browser.setPlainText(QStringLiteral("line of the details\n").repeated(12));
    browser.resize(400, 400);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    const QTextDocument *document = browser.document();
    auto lineStart = [document](int n) { return document->findBlockByNumber(n).position(); };
    browser.beginRegion(lineStart(1));
    browser.addRegion(lineStart(4) - 1, 0, 0, 7);
    browser.addRegion(lineStart(6) - 1, 0, 0, 12);
    browser.beginRegion(lineStart(6));
    browser.addRegion(lineStart(9) - 1, 1, 0, 3);
    const QList<std::tuple<int, int, QVariantList>> clicks = {
        {2, 0, {true, true, true, false}}, {4, 1, {true, false, true, true}}, {-1, 2, {true, true, false, false}}};
    for (const auto &[line, region, announced] : clicks) {
        QPoint point(20, browser.viewport()->height() - 5);
        if (line >= 0)
            point = browser.cursorRect(QTextCursor(document->findBlockByNumber(line))).center() + QPoint(20, 0);
        QSignalSpy spy(&browser, &OurTextBrowser::announceContextChange);
        QTest::mouseClick(browser.viewport(), Qt::LeftButton, Qt::NoModifier, point);
        QCOMPARE(browser.currentRegion, &browser.regions[region]);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first(), announced);
        QCOMPARE(browser.textCursor().selectionStart(), browser.regions[region].start);
        QCOMPARE(browser.textCursor().selectedText().size(), 1);
    }
}

void TestGrammarPopUp::focusLossAndLinks()
{
    OurTextBrowser browser;
    QSignalSpy gone(&browser, &OurTextBrowser::alertFocusGone);
    QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(&browser, &out);
    QCOMPARE(gone.count(), 0); // announced a little later, once a button click has been delivered
    QTRY_COMPARE(gone.count(), 1);
    // A link is only reported: the browser never loads another document.
    browser.setHtml(QStringLiteral("<p><a href=\"0_subcode\">reg reg reg</a> and text</p>"));
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    const QString before = browser.toHtml();
    QSignalSpy clicked(&browser, &QTextBrowser::anchorClicked);
    QTextCursor cursor(browser.document());
    cursor.setPosition(3);
    QTest::mouseClick(browser.viewport(), Qt::LeftButton, Qt::NoModifier, browser.cursorRect(cursor).center());
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.first().first().toUrl().path(), QStringLiteral("0_subcode"));
    browser.setSource(QUrl(QStringLiteral("elsewhere.html")));
    QCOMPARE(browser.toHtml(), before);
}

// The same word keeps its place (mode 1), goes to the end (0) or a code further (-1); another word starts at
// the top.
void TestGrammarPopUp::scrolling()
{
    const QString codes = QStringLiteral("verb/reg/1/Tn::|I::;").repeated(6).chopped(1);
    TempDictionary dict({"run\t" + codes, "walk\t" + codes});
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
    const QList<QList<int>> steps = {{37, 1, 37}, {37, -1, 37 + max / 6}, {max - 3, -1, max}, {10, 0, max}};
    for (const QList<int> &step : steps) {
        bar->setValue(step.at(0));
        panel.displayWord(QStringLiteral("run"), run, step.at(1));
        QCOMPARE(bar->value(), step.at(2));
    }
    panel.displayWord(QStringLiteral("walk"), dict->findWord(QStringLiteral("walk")), 0);
    QCOMPARE(bar->value(), 0);
}

QTEST_MAIN(TestGrammarPopUp)
#include "tst_grammarpopup.moc"
