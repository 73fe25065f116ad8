// The panel's grammar menus: what a chosen entry stands for, and the menus a read-only panel leaves empty.

#include <QMenu>
#include <QPointer>
#include <QtTest>

#include "menusonly.h"
#include "modalanswerer.h"
#include "windowsleft.h"

class TestMenusOnly : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void chosenEntryYieldsItsCode_data();
    void chosenEntryYieldsItsCode();
    void readOnlyAndOwnership();
};

void TestMenusOnly::cleanup()
{
    QTRY_VERIFY2(windowsLeft().isEmpty(), qPrintable(windowsLeft().join(QLatin1Char(' '))));
}

void TestMenusOnly::chosenEntryYieldsItsCode_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("separators");
    QTest::newRow("interjection") << "partOfSpeech"
                                  << "Interjection (hello)"
                                  << "hello" << 1;
    QTest::newRow("trailing space") << "noun"
                                    << "Pl. only: add 's'"
                                    << "pl. only: add 's' " << 5;
    QTest::newRow("ampersand") << "verb"
                               << "irreg p && pp"
                               << "irreg p & pp" << 2;
    QTest::newRow("name") << "name"
                          << "First name"
                          << "First Name" << 3;
}

void TestMenusOnly::chosenEntryYieldsItsCode()
{
    QFETCH(QString, menu);
    QFETCH(QString, entry);
    QFETCH(QString, code);
    QFETCH(int, separators);
    QWidget panel;
    MenusOnly menus(true, &panel);
    QMenu *chosenMenu = menu == QLatin1String("noun")   ? menus.nounMenu
                        : menu == QLatin1String("verb") ? menus.verbMenu
                        : menu == QLatin1String("name") ? menus.nameMenu
                                                        : menus.partOfSpeechMenu;
    int seen = 0;
    for (const QAction *action : chosenMenu->actions())
        seen += action->isSeparator() ? 1 : 0;
    QCOMPARE(seen, separators);
    ModalAnswerer answer;
    answer.chooseMenuEntry(entry);
    QAction *chosen = chosenMenu->exec(QPoint(10, 10));
    QVERIFY2(answer.failure().isEmpty(), qPrintable(answer.failure()));
    QVERIFY(chosen);
    QCOMPARE(chosen->data().toString(), code);
}

void TestMenusOnly::readOnlyAndOwnership()
{
    QWidget panel;
    MenusOnly readOnly(false, &panel);
    for (QMenu *menu : {readOnly.nounMenu, readOnly.nameMenu, readOnly.verbMenu, readOnly.adjectiveMenu})
        QVERIFY(menu->actions().isEmpty());
    QCOMPARE(readOnly.partOfSpeechMenu->actions().size(), 13);

    // Without a parent the menus go with the window, entries included; with one they stay with the panel.
    auto menus = new MenusOnly(true, nullptr);
    const QList<QPointer<QObject>> owned{menus->nounMenu, menus->cityEntry, menus->partOfSpeechMenu};
    delete menus;
    for (const QPointer<QObject> &object : owned)
        QVERIFY(object.isNull());
    menus = new MenusOnly(true, &panel);
    QPointer<QMenu> noun = menus->nounMenu;
    delete menus;
    QVERIFY(noun);
    QCOMPARE(noun->actions().size(), 28);
}

QTEST_MAIN(TestMenusOnly)
#include "tst_menusonly.moc"
