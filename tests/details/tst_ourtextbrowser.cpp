#include <QSignalSpy>
#include <QTextBlock>
#include <QtTest>

#include "ourtextbrowser.h"

class TestOurTextBrowser : public QObject
{
    Q_OBJECT
private slots:
    void emptyTable();
    void recording();
    void regionAt_data();
    void regionAt();
    void limitOfFifty();
    void click_data();
    void click();
    void focusLoss();
    void linksAreOnlyReported();
};

// A fresh browser and a reset one have no regions: nothing is found anywhere.
void TestOurTextBrowser::emptyTable()
{
    OurTextBrowser browser;
    QCOMPARE(browser.regionCount, 0);
    QVERIFY(!browser.currentRegion);
    QVERIFY(!browser.regionAt(0));
    QVERIFY(!browser.openLinks());

    browser.beginRegion(5);
    browser.addRegion(9, 0, 0, 3);
    QVERIFY(browser.regionAt(5));
    browser.resetRegions();
    QCOMPARE(browser.regionCount, 0);
    QCOMPARE(browser.regions[0].start, 0);
    QCOMPARE(browser.regions[0].end, 0);
    QVERIFY(!browser.regionAt(5));
}

void TestOurTextBrowser::recording()
{
    OurTextBrowser browser;
    browser.resetRegions();
    browser.beginRegion(1);
    browser.addRegion(10, 0, 0, 7);
    browser.addRegion(20, 0, 0, 12);
    browser.addRegion(25, 0, 1, 12);
    browser.beginRegion(31); // the separator lines fall to the code's last usage
    browser.addRegion(40, 1, 0, 3);
    QCOMPARE(browser.regionCount, 4);
    const int expected[4][5] = {{1, 10, 0, 0, 7}, {11, 20, 0, 0, 12}, {21, 30, 0, 1, 12}, {31, 40, 1, 0, 3}};
    for (int i = 0; i < 4; ++i) {
        const TextRegion &region = browser.regions[i];
        const int actual[5] = {region.start, region.end, region.codeIndex, region.usageIndex, region.flags};
        for (int field = 0; field < 5; ++field)
            QCOMPARE(actual[field], expected[i][field]);
    }
    QCOMPARE(browser.regions[4].start, 41);

    // A region begun at 0 leaves the previous end alone.
    browser.beginRegion(0);
    QCOMPARE(browser.regions[3].end, 40);
    QCOMPARE(browser.regions[4].start, 0);
}

void TestOurTextBrowser::regionAt_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("region"); // index in the table

    QTest::newRow("before the first region falls back to the last") << 0 << 2;
    QTest::newRow("first position") << 1 << 0;
    QTest::newRow("last position of the first") << 10 << 0;
    QTest::newRow("start of the second") << 11 << 1;
    QTest::newRow("end of the third") << 30 << 2;
    QTest::newRow("past every region") << 500 << 2;
    QTest::newRow("negative") << -1 << 2;
}

void TestOurTextBrowser::regionAt()
{
    QFETCH(int, position);
    QFETCH(int, region);
    OurTextBrowser browser;
    browser.resetRegions();
    browser.beginRegion(1);
    browser.addRegion(10, 0, 0, 3);
    browser.addRegion(20, 1, 0, 7);
    browser.addRegion(30, 1, 0, 12);
    QCOMPARE(browser.regionAt(position), &browser.regions[region]);
}

void TestOurTextBrowser::limitOfFifty()
{
    OurTextBrowser browser;
    browser.resetRegions();
    for (int i = 0; i < 60; ++i) {
        browser.beginRegion(i * 10 + 1);
        browser.addRegion(i * 10 + 9, i, 0, 3);
    }
    QCOMPARE(browser.regionCount, OurTextBrowser::MaxRegions);
    QCOMPARE(browser.regionCount, 50);
    QCOMPARE(browser.regions[49].codeIndex, 49);
    // Beginning a region past the table still closes the last recorded one just before it.
    QCOMPARE(browser.regions[49].start, 491);
    QCOMPARE(browser.regions[49].end, 590);
    QCOMPARE(browser.regionAt(555), &browser.regions[49]);
    QCOMPARE(browser.regionAt(595), &browser.regions[49]);
    QCOMPARE(browser.regionAt(12), &browser.regions[1]);
}

void TestOurTextBrowser::click_data()
{
    QTest::addColumn<bool>("withRegions");
    QTest::addColumn<int>("line"); // -1: below the text
    QTest::addColumn<int>("region");
    QTest::addColumn<QList<bool>>("announced"); // empty: nothing announced

    // Regions: lines 1-3 code 0 (flags 7), lines 4-5 its usage (12), lines 6-8 code 1 (3); line 0 is
    // before the first region and lines 9-11 are past the last.
    QTest::newRow("code with usages") << true << 2 << 0 << QList<bool>{true, true, true, false};
    QTest::newRow("usage") << true << 4 << 1 << QList<bool>{true, false, true, true};
    QTest::newRow("code without usages") << true << 7 << 2 << QList<bool>{true, true, false, false};
    QTest::newRow("after the last region") << true << 10 << 2 << QList<bool>{true, true, false, false};
    QTest::newRow("below the text") << true << -1 << 2 << QList<bool>{true, true, false, false};
    QTest::newRow("no regions recorded") << false << 2 << 3 << QList<bool>{};
}

void TestOurTextBrowser::click()
{
    QFETCH(bool, withRegions);
    QFETCH(int, line);
    QFETCH(int, region);
    QFETCH(QList<bool>, announced);

    OurTextBrowser browser;
    QStringList text;
    for (int i = 0; i < 12; ++i)
        text << QStringLiteral("line %1 of the details").arg(i);
    browser.setPlainText(text.join(QLatin1Char('\n')));
    browser.resize(400, 300);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    QTextDocument *document = browser.document();
    auto lineEnd = [document](int n) {
        const QTextBlock block = document->findBlockByNumber(n);
        return block.position() + block.length() - 1;
    };
    if (withRegions) {
        browser.beginRegion(document->findBlockByNumber(1).position());
        browser.addRegion(lineEnd(3), 0, 0, 7);
        browser.addRegion(lineEnd(5), 0, 0, 12);
        browser.beginRegion(document->findBlockByNumber(6).position());
        browser.addRegion(lineEnd(8), 1, 0, 3);
    } else {
        browser.currentRegion = &browser.regions[region]; // must stay as it was
    }

    QPoint point(20, browser.viewport()->height() - 5);
    if (line >= 0) {
        QTextCursor cursor(document->findBlockByNumber(line));
        cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 3);
        point = browser.cursorRect(cursor).center();
    }
    QSignalSpy spy(&browser, &OurTextBrowser::announceContextChange);
    QTest::mouseClick(browser.viewport(), Qt::LeftButton, Qt::NoModifier, point);
    QCOMPARE(browser.currentRegion, &browser.regions[region]);
    if (announced.isEmpty()) {
        QCOMPARE(spy.count(), 0);
        return;
    }
    QCOMPARE(spy.count(), 1);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(spy.first().at(i).toBool(), announced.at(i));
    // The first character of the region is selected.
    const QTextCursor cursor = browser.textCursor();
    QCOMPARE(cursor.selectionStart(), browser.regions[region].start);
    QCOMPARE(cursor.selectionEnd(), browser.regions[region].start + 1);
}

void TestOurTextBrowser::focusLoss()
{
    OurTextBrowser browser;
    QSignalSpy spy(&browser, &OurTextBrowser::alertFocusGone);
    QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
    // Announced later, not at once; two losses, two announcements.
    QCoreApplication::sendEvent(&browser, &out);
    QCOMPARE(spy.count(), 0);
    QCoreApplication::sendEvent(&browser, &out);
    QTRY_COMPARE(spy.count(), 2);

    // The slot announces at once.
    browser.focusOutSlot();
    QCOMPARE(spy.count(), 3);
}

void TestOurTextBrowser::linksAreOnlyReported()
{
    OurTextBrowser browser;
    browser.setHtml(QStringLiteral("<p><a href=\"0_subcode\">reg reg reg reg</a> and text</p>"));
    browser.resize(400, 200);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    const QString before = browser.toHtml();
    QSignalSpy clicked(&browser, &QTextBrowser::anchorClicked);
    QTextCursor cursor(browser.document());
    cursor.setPosition(3);
    QTest::mouseClick(browser.viewport(), Qt::LeftButton, Qt::NoModifier, browser.cursorRect(cursor).center());
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.first().first().toUrl().path(), QStringLiteral("0_subcode"));
    QVERIFY(browser.source().isEmpty());
    QCOMPARE(browser.toHtml(), before);

    browser.setSource(QUrl(QStringLiteral("elsewhere.html")));
    QCOMPARE(browser.toHtml(), before);
}

QTEST_MAIN(TestOurTextBrowser)
#include "tst_ourtextbrowser.moc"
