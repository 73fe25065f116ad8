#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QtTest>

#include "menusonly.h"
#include "modalanswerer.h"

namespace {

QMenu *submenu(const QMenu *menu, const QString &title)
{
    const auto actions = menu->actions();
    for (QAction *action : actions) {
        if (action->menu() && action->menu()->title() == title)
            return action->menu();
    }
    return nullptr;
}

QMenu *memberMenu(MenusOnly &menus, const QString &name)
{
    const QHash<QString, QMenu *> byName{{"partOfSpeech", menus.partOfSpeechMenu},
                                         {"noun", menus.nounMenu},
                                         {"name", menus.nameMenu},
                                         {"verb", menus.verbMenu},
                                         {"adjective", menus.adjectiveMenu},
                                         {"time", menus.timeMenu}};
    return byName.value(name);
}

// Every menu reachable from roots, submenus included.
QList<QMenu *> allMenus(QList<QMenu *> roots)
{
    for (int i = 0; i < roots.size(); ++i) {
        const auto actions = roots.at(i)->actions();
        for (QAction *action : actions) {
            if (action->menu())
                roots << action->menu();
        }
    }
    return roots;
}

} // namespace

class TestMenusOnly : public QObject
{
    Q_OBJECT
private slots:
    void menuEntries_data();
    void menuEntries();
    void entriesCarryOnlyTextAndCode();
    void emptySubcodeMenus();
    void ownership();
    void addMenuEntryParentsEntryToMenuParent();
    void chosenEntryYieldsItsCode_data();
    void chosenEntryYieldsItsCode();
};

void TestMenusOnly::menuEntries_data()
{
    QTest::addColumn<QStringList>("path");   // member menu name, then submenu titles
    QTest::addColumn<QString>("shape");      // '.' entry, '-' separator, '>' submenu
    QTest::addColumn<QStringList>("sample"); // "text\tcode" of entries easy to get wrong, in menu order

    QTest::newRow("partOfSpeechMenu") << QStringList{"partOfSpeech"} << "..........>-."
                                      << QStringList{"Adj.\tadj.",
                                                     "Interjection (hello)\thello",
                                                     "Address (Dude!)\taddress",
                                                     "Title (Mr Dr...)\ttitle",
                                                     "Special noun\tspclN",
                                                     "DELETE\tDELETE"};
    QTest::newRow("Other...") << QStringList{"partOfSpeech", "Other..."} << "..>........>..>...->.."
                              << QStringList{"PN-some..\tindef",           "WH-who, why... \tWH",
                                             "PN-demonstrative \tTH",      "Det-a, the, these \tdet",
                                             "Quant-many, few... \tquant", "Preposition \tprep",
                                             "Conjuction\tconj",           "End Word Chain\tewc"};
    QTest::newRow("VAux") << QStringList{"partOfSpeech", "Other...", "VAux"} << "..."
                          << QStringList{"Might\tvmight", "Have\tvhave", "Do\tvdo"};
    QTest::newRow("Det-special use") << QStringList{"partOfSpeech", "Other...", "Det-special use"} << ".."
                                     << QStringList{"the\tthe"};
    QTest::newRow("Prep-special") << QStringList{"partOfSpeech", "Other...", "Prep-special"} << "...."
                                  << QStringList{"to\tto", "of\tof"};
    QTest::newRow("Miscellaneous") << QStringList{"partOfSpeech", "Other...", "Miscellaneous"} << QString(64, '.')
                                   << QStringList{"and/or\tandor", "notwithstanding\thavent", "River\tRiver",
                                                  "yet\tyet"};
    QTest::newRow("nounMenu") << QStringList{"noun"} << "......-.......-..-...-...-.."
                              << QStringList{"Regular\treg",
                                             "U or C, usu.pl\tU or C, usu.pl",
                                             "Latin plural\tLatin plural",
                                             "Plural = '~zzes'\tplural = '~zzes'",
                                             "Pl. only: add 's'\tpl. only: add 's' ",
                                             "Reg Time\treg Time"};
    QTest::newRow("nameMenu") << QStringList{"name"} << "....-..-..-...."
                              << QStringList{"First name\tFirst Name", "Last name\tLast Name", "City, etc\tCity, etc"};
    QTest::newRow("verbMenu") << QStringList{"verb"} << ".....-.....-........."
                              << QStringList{
                                     "irreg p && pp\tirreg p & pp",      "irreg p && pp, dbl\tirreg p&pp,dbl",
                                     "p && pp=root, dbl\tp&pp=root,dbl", "past = root, dbl\tpast=root,dbl",
                                     "+ed (p && pp)\t+ed (p & pp)",      "p && pp, not passive\tp & pp, not passive"};
    QTest::newRow("adjectiveMenu") << QStringList{"adjective"} << ".....-..-...-..-."
                                   << QStringList{"reg, dbl\treg, dbl", "verb 'ED'\tverb 'ED'", "absolute2\tabsolute2"};
    QTest::newRow("timeMenu") << QStringList{"time"} << QString(30, '.')
                              << QStringList{"age\tage", "late,early\tlate,early", "September\tSeptember",
                                             "when,whenever\twhen,whenever"};
}

void TestMenusOnly::menuEntries()
{
    QFETCH(QStringList, path);
    QFETCH(QString, shape);
    QFETCH(QStringList, sample);

    QWidget panel;
    MenusOnly menus(true, &panel);
    QMenu *menu = memberMenu(menus, path.first());
    for (int i = 1; menu && i < path.size(); ++i)
        menu = submenu(menu, path.at(i));
    QVERIFY(menu);

    QString actualShape;
    QStringList lines;
    const auto actions = menu->actions();
    for (QAction *action : actions) {
        actualShape += action->isSeparator() ? '-' : action->menu() ? '>' : '.';
        lines << action->text() + QLatin1Char('\t') + action->data().toString();
    }
    QCOMPARE(actualShape, shape);
    int previous = -1;
    for (const QString &line : sample) {
        const int index = lines.indexOf(line);
        QVERIFY2(index > previous, qPrintable(line));
        previous = index;
    }
}

void TestMenusOnly::entriesCarryOnlyTextAndCode()
{
    QWidget panel;
    MenusOnly menus(true, &panel);
    const QList<QMenu *> all = allMenus(
        {menus.partOfSpeechMenu, menus.nounMenu, menus.nameMenu, menus.verbMenu, menus.adjectiveMenu, menus.timeMenu});
    for (QMenu *menu : all) {
        const auto actions = menu->actions();
        for (QAction *action : actions) {
            if (action->menu() || action->isSeparator())
                continue;
            QVERIFY(action->shortcut().isEmpty());
            QVERIFY(action->icon().isNull());
            QVERIFY(!action->isCheckable());
            QCOMPARE(action->data().typeId(), QMetaType::QString);
        }
    }
}

void TestMenusOnly::emptySubcodeMenus()
{
    QWidget panel;
    MenusOnly menus(false, &panel);
    QVERIFY(!menus.fillSubcodeMenus);
    for (QMenu *menu : {menus.nounMenu, menus.nameMenu, menus.verbMenu, menus.adjectiveMenu, menus.timeMenu})
        QVERIFY(menu && menu->actions().isEmpty());
    QVERIFY(!menus.cityEntry);
    // The part-of-speech menu is always complete.
    QCOMPARE(menus.partOfSpeechMenu->actions().size(), 13);
    QMenu *other = submenu(menus.partOfSpeechMenu, QStringLiteral("Other..."));
    QVERIFY(other);
    QCOMPARE(other->actions().size(), 22);
    QCOMPARE(submenu(other, QStringLiteral("Miscellaneous"))->actions().size(), 64);
}

void TestMenusOnly::ownership()
{
    QWidget panel;
    auto *menus = new MenusOnly(true, &panel);
    QCOMPARE(menus->parentWidget(), &panel);
    QVERIFY(menus->isWindow());
    QVERIFY(!menus->isVisible());
    QCOMPARE(menus->objectName(), QStringLiteral("MenusOnly"));
    for (QMenu *menu : {menus->partOfSpeechMenu, menus->nounMenu, menus->nameMenu, menus->verbMenu,
                        menus->adjectiveMenu, menus->timeMenu})
        QCOMPARE(menu->parent(), &panel);
    QCOMPARE(menus->cityEntry, menus->nameMenu->actions().last());

    // The submenus and their entries have no parent: the window releases them.
    QMenu *other = submenu(menus->partOfSpeechMenu, QStringLiteral("Other..."));
    QList<QPointer<QObject>> released;
    for (QMenu *menu : allMenus({other})) {
        QVERIFY(!menu->parent());
        released << menu;
        const auto actions = menu->actions();
        for (QAction *action : actions) {
            if (!action->menu())
                released << action;
        }
    }
    QCOMPARE(released.size(), 1 + 22 + 3 + 2 + 4 + 64);

    // The member menus belong to the panel and outlive the hidden window; only "Other..." leaves them.
    QPointer<QMenu> noun = menus->nounMenu;
    QMenu *partOfSpeech = menus->partOfSpeechMenu;
    delete menus;
    for (const QPointer<QObject> &object : released)
        QVERIFY(object.isNull());
    QVERIFY(noun);
    QCOMPARE(noun->actions().size(), 28);
    QCOMPARE(partOfSpeech->actions().size(), 12);
    QCOMPARE(partOfSpeech->actions().last()->data().toString(), QStringLiteral("DELETE"));

    // Without a parent the window releases the member menus and their entries too.
    menus = new MenusOnly(true, nullptr);
    QVERIFY(!menus->nounMenu->parent());
    const QList<QPointer<QObject>> owned{menus->nounMenu, menus->cityEntry, menus->partOfSpeechMenu};
    delete menus;
    for (const QPointer<QObject> &object : owned)
        QVERIFY(object.isNull());
}

void TestMenusOnly::addMenuEntryParentsEntryToMenuParent()
{
    QWidget owner;
    QMenu menu(&owner);
    QAction *entry = addMenuEntry(&menu, QStringLiteral("Fish && chips"), QStringLiteral("fish & chips "));
    QCOMPARE(entry->parent(), &owner);
    QCOMPARE(entry->text(), QStringLiteral("Fish && chips"));
    QCOMPARE(entry->data().toString(), QStringLiteral("fish & chips "));
    QAction *second = addMenuEntry(&menu, QStringLiteral("b"), QStringLiteral("c"));
    QCOMPARE(menu.actions(), (QList<QAction *>{entry, second}));
}

void TestMenusOnly::chosenEntryYieldsItsCode_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("code");
    const char *rows[][4] = {
        {"interjection", "partOfSpeech", "Interjection (hello)", "hello"},
        {"delete", "partOfSpeech", "DELETE", "DELETE"},
        {"trailing space", "noun", "Pl. only: add 's'", "pl. only: add 's' "},
        {"ampersand", "verb", "irreg p && pp", "irreg p & pp"},
        {"first name", "name", "First name", "First Name"},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << row[1] << row[2] << row[3];
}

void TestMenusOnly::chosenEntryYieldsItsCode()
{
    QFETCH(QString, menu);
    QFETCH(QString, entry);
    QFETCH(QString, code);
    QWidget panel;
    MenusOnly menus(true, &panel);
    ModalAnswerer answer;
    answer.chooseMenuEntry(entry);
    QAction *chosen = memberMenu(menus, menu)->exec(QPoint(10, 10));
    QVERIFY(answer.answered());
    QVERIFY2(answer.failure().isEmpty(), qPrintable(answer.failure()));
    QVERIFY(chosen);
    QCOMPARE(chosen->data().toString(), code);
}

QTEST_MAIN(TestMenusOnly)
#include "tst_menusonly.moc"
