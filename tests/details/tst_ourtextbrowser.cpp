// The details browser's region table: which region a position or a click falls in, and what a click announces.

#include <QSignalSpy>
#include <QTextBlock>
#include <QtTest>

#include "ourtextbrowser.h"
#include "windowsleft.h"

class TestOurTextBrowser : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void regionAt_data();
    void regionAt();
    void click_data();
    void click();
    void focusLossAndLinks();
};

void TestOurTextBrowser::cleanup()
{
    QTRY_VERIFY2(windowsLeft().isEmpty(), qPrintable(windowsLeft().join(QLatin1Char(' '))));
}

void TestOurTextBrowser::regionAt_data()
{
    QTest::addColumn<int>("regions"); // regions of ten positions each, from position 1
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("region"); // -1: none
    QTest::newRow("none recorded") << 0 << 5 << -1;
    QTest::newRow("first position") << 3 << 1 << 0;
    QTest::newRow("last position of the first") << 3 << 10 << 0;
    QTest::newRow("start of the second") << 3 << 11 << 1;
    QTest::newRow("before the first: the last") << 3 << 0 << 2;
    QTest::newRow("past every region: the last") << 3 << 500 << 2;
    // The table holds fifty; a region begun past it still closes the fiftieth just before it.
    QTest::newRow("fiftieth") << 60 << 495 << 49;
    QTest::newRow("past the fiftieth") << 60 << 595 << 49;
}

void TestOurTextBrowser::regionAt()
{
    QFETCH(int, regions);
    QFETCH(int, position);
    QFETCH(int, region);
    OurTextBrowser browser;
    browser.resetRegions();
    for (int i = 0; i < regions; ++i) {
        browser.beginRegion(i * 10 + 1);
        browser.addRegion(i * 10 + 9, i, 0, 3);
    }
    if (regions > 0)
        browser.beginRegion(regions * 10 + 1);
    QCOMPARE(browser.regionCount, qMin(regions, 50));
    TextRegion *found = browser.regionAt(position);
    QCOMPARE(found ? int(found - browser.regions) : -1, region);
    if (found)
        QCOMPARE(found->codeIndex, region);
}

void TestOurTextBrowser::click_data()
{
    QTest::addColumn<int>("line"); // -1: below the text
    QTest::addColumn<int>("region");
    QTest::addColumn<QList<bool>>("announced");
    // Regions: lines 1-3 a code with usages, lines 4-5 its usage, lines 6-8 a code without usages.
    QTest::newRow("code with usages") << 2 << 0 << QList<bool>{true, true, true, false};
    QTest::newRow("usage") << 4 << 1 << QList<bool>{true, false, true, true};
    QTest::newRow("code without usages") << 7 << 2 << QList<bool>{true, true, false, false};
    QTest::newRow("below the text") << -1 << 2 << QList<bool>{true, true, false, false};
}

void TestOurTextBrowser::click()
{
    QFETCH(int, line);
    QFETCH(int, region);
    QFETCH(QList<bool>, announced);
    OurTextBrowser browser;
    QStringList text;
    for (int i = 0; i < 12; ++i)
        text << QStringLiteral("line %1 of the details").arg(i);
    browser.setPlainText(text.join('\n'));
    browser.resize(400, 300);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    const QTextDocument *document = browser.document();
    auto lineEnd = [document](int n) { return document->findBlockByNumber(n + 1).position() - 1; };
    browser.beginRegion(document->findBlockByNumber(1).position());
    browser.addRegion(lineEnd(3), 0, 0, 7);
    browser.addRegion(lineEnd(5), 0, 0, 12);
    browser.beginRegion(document->findBlockByNumber(6).position());
    browser.addRegion(lineEnd(8), 1, 0, 3);
    QPoint point(20, browser.viewport()->height() - 5);
    if (line >= 0) {
        QTextCursor cursor(document->findBlockByNumber(line));
        cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 3);
        point = browser.cursorRect(cursor).center();
    }
    QSignalSpy spy(&browser, &OurTextBrowser::announceContextChange);
    QTest::mouseClick(browser.viewport(), Qt::LeftButton, Qt::NoModifier, point);
    QCOMPARE(browser.currentRegion, &browser.regions[region]);
    QCOMPARE(spy.count(), 1);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(spy.first().at(i).toBool(), announced.at(i));
    // The region's first character is selected.
    QCOMPARE(browser.textCursor().selectionStart(), browser.regions[region].start);
    QCOMPARE(browser.textCursor().selectedText().size(), 1);
}

void TestOurTextBrowser::focusLossAndLinks()
{
    OurTextBrowser browser;
    QSignalSpy gone(&browser, &OurTextBrowser::alertFocusGone);
    QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(&browser, &out);
    QCOMPARE(gone.count(), 0); // announced a little later
    QTRY_COMPARE(gone.count(), 1);

    // A link is only reported: the browser never loads another document.
    browser.setHtml(QStringLiteral("<p><a href=\"0_subcode\">reg reg reg</a> and text</p>"));
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
    browser.setSource(QUrl(QStringLiteral("elsewhere.html")));
    QCOMPARE(browser.toHtml(), before);
}

QTEST_MAIN(TestOurTextBrowser)
#include "tst_ourtextbrowser.moc"
