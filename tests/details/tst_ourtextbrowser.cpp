#include <QSignalSpy>
#include <QTextBlock>
#include <QtTest>

#include "ourtextbrowser.h"

// A browser showing numbered lines, with one region per group of lines, as the panel records them.
class Fixture
{
public:
    explicit Fixture(int lines)
    {
        QStringList text;
        for (int i = 0; i < lines; ++i)
            text << QStringLiteral("line %1 of the details").arg(i);
        browser.setPlainText(text.join(QLatin1Char('\n')));
        browser.resize(400, 300);
        browser.show();
        (void)QTest::qWaitForWindowExposed(&browser);
    }
    int lineStart(int line) const { return browser.document()->findBlockByNumber(line).position(); }
    int lineEnd(int line) const
    {
        const QTextBlock block = browser.document()->findBlockByNumber(line);
        return block.position() + block.length() - 1;
    }
    // Clicks into the middle of the given line, or below the text when line is -1.
    void click(int line)
    {
        QPoint point;
        if (line < 0) {
            point = QPoint(20, browser.viewport()->height() - 5);
        } else {
            QTextCursor cursor(browser.document()->findBlockByNumber(line));
            cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 3);
            point = browser.cursorRect(cursor).center();
        }
        QTest::mouseClick(browser.viewport(), Qt::LeftButton, Qt::NoModifier, point);
    }

    OurTextBrowser browser;
};

class TestOurTextBrowser : public QObject
{
    Q_OBJECT
private slots:
    void startsEmpty();
    void recording();
    void regionAt_data();
    void regionAt();
    void limitOfFifty();
    void resetRegions();
    void click_data();
    void click();
    void clickWithoutRegions();
    void focusLoss();
    void linksAreOnlyReported();
};

void TestOurTextBrowser::startsEmpty()
{
    OurTextBrowser browser;
    QCOMPARE(browser.regionCount, 0);
    QVERIFY(!browser.currentRegion);
    QVERIFY(!browser.regionAt(0));
    QVERIFY(!browser.openLinks());
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
        QCOMPARE(region.start, expected[i][0]);
        QCOMPARE(region.end, expected[i][1]);
        QCOMPARE(region.codeIndex, expected[i][2]);
        QCOMPARE(region.usageIndex, expected[i][3]);
        QCOMPARE(region.flags, expected[i][4]);
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
    QTest::addColumn<int>("region"); // index in the table, -1 for none

    QTest::newRow("before the first region falls back to the last") << 0 << 2;
    QTest::newRow("first position") << 1 << 0;
    QTest::newRow("last position of the first") << 10 << 0;
    QTest::newRow("start of the second") << 11 << 1;
    QTest::newRow("inside the third") << 25 << 2;
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
    QCOMPARE(browser.regions[49].end, 590);
    QCOMPARE(browser.regions[49].start, 491);
    QCOMPARE(browser.regionAt(495), &browser.regions[49]);
    QCOMPARE(browser.regionAt(555), &browser.regions[49]);
    QCOMPARE(browser.regionAt(595), &browser.regions[49]);
    QCOMPARE(browser.regionAt(12), &browser.regions[1]);
}

void TestOurTextBrowser::resetRegions()
{
    OurTextBrowser browser;
    browser.beginRegion(5);
    browser.addRegion(9, 0, 0, 3);
    browser.resetRegions();
    QCOMPARE(browser.regionCount, 0);
    QCOMPARE(browser.regions[0].start, 0);
    QCOMPARE(browser.regions[0].end, 0);
    QVERIFY(!browser.regionAt(5));
}

void TestOurTextBrowser::click_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("region");
    QTest::addColumn<QList<int>>("announced");

    // Regions: lines 1-3 code 0 (flags 7), lines 4-5 its usage (12), lines 6-8 code 1 (3); line 0 is
    // before the first region and lines 9-11 are past the last.
    QTest::newRow("code with usages") << 2 << 0 << QList<int>{1, 1, 1, 0};
    QTest::newRow("usage") << 4 << 1 << QList<int>{1, 0, 1, 1};
    QTest::newRow("code without usages") << 7 << 2 << QList<int>{1, 1, 0, 0};
    QTest::newRow("after the last region") << 10 << 2 << QList<int>{1, 1, 0, 0};
    QTest::newRow("below the text") << -1 << 2 << QList<int>{1, 1, 0, 0};
}

void TestOurTextBrowser::click()
{
    QFETCH(int, line);
    QFETCH(int, region);
    QFETCH(QList<int>, announced);

    Fixture fixture(12);
    OurTextBrowser &browser = fixture.browser;
    browser.resetRegions();
    browser.beginRegion(fixture.lineStart(1));
    browser.addRegion(fixture.lineEnd(3), 0, 0, 7);
    browser.addRegion(fixture.lineEnd(5), 0, 0, 12);
    browser.beginRegion(fixture.lineStart(6));
    browser.addRegion(fixture.lineEnd(8), 1, 0, 3);

    QSignalSpy spy(&browser, &OurTextBrowser::announceContextChange);
    fixture.click(line);
    QCOMPARE(spy.count(), 1);
    const QList<QVariant> arguments = spy.first();
    for (int i = 0; i < 4; ++i)
        QCOMPARE(arguments.at(i).toBool(), bool(announced.at(i)));
    QCOMPARE(browser.currentRegion, &browser.regions[region]);
    // The first character of the region is selected.
    const QTextCursor cursor = browser.textCursor();
    QCOMPARE(cursor.selectionStart(), browser.regions[region].start);
    QCOMPARE(cursor.selectionEnd(), browser.regions[region].start + 1);
}

void TestOurTextBrowser::clickWithoutRegions()
{
    Fixture fixture(5);
    OurTextBrowser &browser = fixture.browser;
    TextRegion *before = &browser.regions[3];
    browser.currentRegion = before;
    QSignalSpy spy(&browser, &OurTextBrowser::announceContextChange);
    fixture.click(2);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(browser.currentRegion, before);
}

void TestOurTextBrowser::focusLoss()
{
    OurTextBrowser browser;
    QSignalSpy spy(&browser, &OurTextBrowser::alertFocusGone);
    QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(&browser, &out);
    // Announced later, not at once.
    QCOMPARE(spy.count(), 0);
    QTRY_COMPARE(spy.count(), 1);
    QTest::qWait(400);
    QCOMPARE(spy.count(), 1);

    // Two losses, two announcements.
    QCoreApplication::sendEvent(&browser, &out);
    QCoreApplication::sendEvent(&browser, &out);
    QTRY_COMPARE(spy.count(), 3);
    QTest::qWait(400);
    QCOMPARE(spy.count(), 3);

    // The slot announces at once.
    browser.focusOutSlot();
    QCOMPARE(spy.count(), 4);
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
