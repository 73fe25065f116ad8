#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QtTest>

#include "menusonly.h"
#include "modalanswerer.h"

// Describes a menu as lines: "text\tcode" per entry, "---" per separator, ">title" per submenu.
static QStringList describe(const QMenu *menu)
{
    QStringList lines;
    const auto actions = menu->actions();
    for (QAction *action : actions) {
        if (action->isSeparator())
            lines << QStringLiteral("---");
        else if (action->menu())
            lines << QLatin1Char('>') + action->menu()->title();
        else
            lines << action->text() + QLatin1Char('\t') + action->data().toString();
    }
    return lines;
}

static QMenu *submenu(const QMenu *menu, const QString &title)
{
    const auto actions = menu->actions();
    for (QAction *action : actions) {
        if (action->menu() && action->menu()->title() == title)
            return action->menu();
    }
    return nullptr;
}

// Entries whose text is their code.
static QStringList same(const QStringList &codes)
{
    QStringList lines;
    for (const QString &code : codes)
        lines << code + QLatin1Char('\t') + code;
    return lines;
}

class TestMenusOnly : public QObject
{
    Q_OBJECT
private slots:
    void menuEntries_data();
    void menuEntries();
    void entriesCarryNothingElse();
    void emptySubcodeMenus();
    void ownership();
    void submenusReleasedWithTheWindow();
    void parentlessWindowReleasesEverything();
    void addMenuEntryParentsEntryToMenuParent();
    void chosenEntryYieldsItsCode_data();
    void chosenEntryYieldsItsCode();
};

void TestMenusOnly::menuEntries_data()
{
    QTest::addColumn<QStringList>("path"); // member menu name, then submenu titles
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("partOfSpeechMenu") << QStringList{"partOfSpeech"}
                                      << QStringList{"New\tnew",
                                                     "Name\tname",
                                                     "Noun\tnoun",
                                                     "Verb\tverb",
                                                     "Adj.\tadj.",
                                                     "Adv.\tadv.",
                                                     "Interjection (hello)\thello",
                                                     "Address (Dude!)\taddress",
                                                     "Title (Mr Dr...)\ttitle",
                                                     "Special noun\tspclN",
                                                     ">Other...",
                                                     "---",
                                                     "DELETE\tDELETE"};
    QTest::newRow("Other...") << QStringList{"partOfSpeech", "Other..."}
                              << QStringList{"Adverbs of place\tplace",
                                             "VBe\tvbe",
                                             ">VAux",
                                             "PN-subj\tpron",
                                             "PN-obj\tobjPN",
                                             "PN-poss\tpsvPN",
                                             "PN-self\trflx",
                                             "PN-some..\tindef",
                                             "WH-who, why... \tWH",
                                             "PN-demonstrative \tTH",
                                             "Det-a, the, these \tdet",
                                             ">Det-special use",
                                             "Quant-many, few... \tquant",
                                             "Preposition \tprep",
                                             ">Prep-special",
                                             "Particle\tpart",
                                             "Conjuction\tconj",
                                             "Time Words\ttime",
                                             "---",
                                             ">Miscellaneous",
                                             "Begin Word Chain\tswc",
                                             "End Word Chain\tewc"};
    QTest::newRow("VAux") << QStringList{"partOfSpeech", "Other...", "VAux"}
                          << QStringList{"Might\tvmight", "Have\tvhave", "Do\tvdo"};
    QTest::newRow("Det-special use") << QStringList{"partOfSpeech", "Other...", "Det-special use"}
                                     << same({"a", "the"});
    QTest::newRow("Prep-special") << QStringList{"partOfSpeech", "Other...", "Prep-special"}
                                  << same({"to", "for", "by", "of"});
    QStringList misc = same({"all",     "almost", "alone",  "amust",       "and",     "andor",   "approx",   "as",
                             "but",     "county", "cpxloc", "cpxmobile",   "cpxpres", "earth",   "either",   "else",
                             "esquire", "even",   "ever",   "far",         "first",   "heck",    "highness", "if",
                             "ishas",   "it",     "just",   "mine",        "more",    "neither", "nmbr",     "nmbr2",
                             "noon",    "nor",    "not",    "havent",      "oclock",  "old",     "once",     "or",
                             "other",   "own",    "please", "possible",    "quite",   "rest",    "reverend", "right",
                             "River",   "same",   "second", "so",          "some",    "stdtime", "such",     "than",
                             "that",    "there",  "too",    "transparent", "very",    "way",     "without",  "yet"});
    misc[5] = QStringLiteral("and/or\tandor");
    misc[35] = QStringLiteral("notwithstanding\thavent");
    QTest::newRow("Miscellaneous") << QStringList{"partOfSpeech", "Other...", "Miscellaneous"} << misc;

    QTest::newRow("nounMenu") << QStringList{"noun"}
                              << QStringList{"Regular\treg",
                                             "Usually plural\tusually plural",
                                             "Singular only\tsingular only",
                                             "Plural only\tplural only",
                                             "Plural unchanged\tplural unchanged",
                                             "Group\tgroup",
                                             "---",
                                             "Uncount\tuncount",
                                             "Uncount or count\tuncount or count",
                                             "U or C, usu.pl\tU or C, usu.pl",
                                             "U or singular\tU or singular",
                                             "U or plural count\tU or plural count",
                                             "U or C, pl. unchgd\tU or C, pl. unchgd",
                                             "Uncount plural\tuncount plural",
                                             "---",
                                             "Singular with 'the'\tsingular with 'the'",
                                             "Plural with 'the'\tplural with 'the'",
                                             "---",
                                             "Latin plural\tLatin plural",
                                             "U or C, Latin pl.\tU or C, Latin pl.",
                                             "Man, men, etc..\tman, men, etc..",
                                             "---",
                                             "Pl unchngd or +s\tpl unchngd or +s",
                                             "Plural = '~zzes'\tplural = '~zzes'",
                                             "Pl. only: add 's'\tpl. only: add 's' ",
                                             "---",
                                             "Reg Time\treg Time",
                                             "Reg Place\treg Place"};
    QTest::newRow("nameMenu") << QStringList{"name"}
                              << QStringList{"Singular name\tSingular name",
                                             "Singular with 'the'\tSingular with 'the'",
                                             "Plural name\tPlural name",
                                             "Plural with 'the'\tPlural with 'the'",
                                             "---",
                                             "First name\tFirst Name",
                                             "Last name\tLast Name",
                                             "---",
                                             "Time, Event\tTime, Event",
                                             "Time with 'the'\tTime with 'the'",
                                             "---",
                                             "Location\tLocation",
                                             "Loc sing with 'the'\tLoc sing with 'the'",
                                             "Loc pl with 'the'\tLoc pl with 'the'",
                                             "City, etc\tCity, etc"};
    QTest::newRow("verbMenu") << QStringList{"verb"}
                              << QStringList{"reg\treg",
                                             "irreg p && pp\tirreg p & pp",
                                             "p && pp = root\tp & pp = root",
                                             "past = root\tpast = root",
                                             "pp = root\tpp = root",
                                             "---",
                                             "reg, dbl\treg, dbl",
                                             "irreg p && pp, dbl\tirreg p&pp,dbl",
                                             "p && pp=root, dbl\tp&pp=root,dbl",
                                             "past = root, dbl\tpast=root,dbl",
                                             "pp = root, dbl\tpp = root, dbl",
                                             "---",
                                             "root\troot",
                                             "+s\t+s",
                                             "+ing\t+ing",
                                             "+ed (p && pp)\t+ed (p & pp)",
                                             "past\tpast",
                                             "past participle\tpast participle",
                                             "passive only\tpassive only",
                                             "infinitive\tinfinitive",
                                             "p && pp, not passive\tp & pp, not passive"};
    QStringList adjectives =
        same({"reg", "reg, dbl", "absolute", "comparative", "superlative", "---", "attrib only", "pred only", "---",
              "nongradable", "nongrad attrib", "nongrad pred", "---", "verb 'ED'", "verb 'ING'", "---", "absolute2"});
    adjectives.replaceInStrings(QStringLiteral("---\t---"), QStringLiteral("---"));
    QTest::newRow("adjectiveMenu") << QStringList{"adjective"} << adjectives;
    QTest::newRow("timeMenu") << QStringList{"time"}
                              << same({"age",
                                       "after",
                                       "before",
                                       "day",
                                       "during",
                                       "coming",
                                       "earlier",
                                       "following",
                                       "immediately",
                                       "last",
                                       "late,early",
                                       "later",
                                       "long",
                                       "longer",
                                       "morning,afternoon",
                                       "next",
                                       "night",
                                       "new",
                                       "often",
                                       "since",
                                       "soon",
                                       "September",
                                       "then",
                                       "time",
                                       "times",
                                       "today",
                                       "until",
                                       "yesterday,tomorrow",
                                       "week,month",
                                       "when,whenever"});
}

static QMenu *memberMenu(MenusOnly &menus, const QString &name)
{
    if (name == QLatin1String("partOfSpeech"))
        return menus.partOfSpeechMenu;
    if (name == QLatin1String("noun"))
        return menus.nounMenu;
    if (name == QLatin1String("name"))
        return menus.nameMenu;
    if (name == QLatin1String("verb"))
        return menus.verbMenu;
    if (name == QLatin1String("adjective"))
        return menus.adjectiveMenu;
    if (name == QLatin1String("time"))
        return menus.timeMenu;
    return nullptr;
}

void TestMenusOnly::menuEntries()
{
    QFETCH(QStringList, path);
    QFETCH(QStringList, expected);

    QWidget panel;
    MenusOnly menus(true, &panel);
    QMenu *menu = memberMenu(menus, path.first());
    QVERIFY(menu);
    for (int i = 1; i < path.size(); ++i) {
        menu = submenu(menu, path.at(i));
        QVERIFY2(menu, qPrintable(path.at(i)));
    }
    const QStringList actual = describe(menu);
    for (int i = 0; i < qMin(actual.size(), expected.size()); ++i)
        QCOMPARE(actual.at(i), expected.at(i));
    QCOMPARE(actual.size(), expected.size());
}

void TestMenusOnly::entriesCarryNothingElse()
{
    QWidget panel;
    MenusOnly menus(true, &panel);
    QList<QMenu *> pending{menus.partOfSpeechMenu, menus.nounMenu,      menus.nameMenu,
                           menus.verbMenu,         menus.adjectiveMenu, menus.timeMenu};
    int entries = 0;
    while (!pending.isEmpty()) {
        QMenu *menu = pending.takeFirst();
        const auto actions = menu->actions();
        for (QAction *action : actions) {
            if (action->menu()) {
                pending << action->menu();
                continue;
            }
            if (action->isSeparator())
                continue;
            ++entries;
            QVERIFY(action->shortcut().isEmpty());
            QVERIFY(action->icon().isNull());
            QVERIFY(!action->isCheckable());
            QCOMPARE(action->data().typeId(), QMetaType::QString);
        }
    }
    // 11 + 17 + 3 + 2 + 4 + 64 + 23 + 12 + 19 + 13 + 30
    QCOMPARE(entries, 198);
}

void TestMenusOnly::emptySubcodeMenus()
{
    QWidget panel;
    MenusOnly menus(false, &panel);
    QVERIFY(!menus.fillSubcodeMenus);
    for (QMenu *menu : {menus.nounMenu, menus.nameMenu, menus.verbMenu, menus.adjectiveMenu, menus.timeMenu}) {
        QVERIFY(menu);
        QVERIFY(menu->actions().isEmpty());
    }
    QVERIFY(!menus.cityEntry);
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
    QVERIFY(menus->fillSubcodeMenus);
    for (QMenu *menu : {menus->partOfSpeechMenu, menus->nounMenu, menus->nameMenu, menus->verbMenu,
                        menus->adjectiveMenu, menus->timeMenu})
        QCOMPARE(menu->parent(), &panel);
    QVERIFY(menus->cityEntry);
    QCOMPARE(menus->cityEntry, menus->nameMenu->actions().last());
    QCOMPARE(menus->cityEntry->data().toString(), QStringLiteral("City, etc"));

    // The member menus belong to the panel and outlive the hidden window.
    QPointer<QMenu> noun = menus->nounMenu;
    delete menus;
    QVERIFY(noun);
    QCOMPARE(noun->actions().size(), 28);
}

void TestMenusOnly::submenusReleasedWithTheWindow()
{
    QWidget panel;
    auto *menus = new MenusOnly(true, &panel);
    QList<QPointer<QObject>> released;
    QList<QMenu *> pending{submenu(menus->partOfSpeechMenu, QStringLiteral("Other..."))};
    while (!pending.isEmpty()) {
        QMenu *menu = pending.takeFirst();
        QVERIFY(menu);
        QVERIFY(!menu->parent());
        released << menu;
        const auto actions = menu->actions();
        for (QAction *action : actions) {
            if (action->menu())
                pending << action->menu();
            else
                released << action;
        }
    }
    QCOMPARE(released.size(), 1 + 22 + 3 + 2 + 4 + 64);
    QMenu *partOfSpeech = menus->partOfSpeechMenu;
    delete menus;
    for (const QPointer<QObject> &object : released)
        QVERIFY(object.isNull());
    // The "Other..." entry left the part-of-speech menu with its submenu; the panel's own entries stay.
    QCOMPARE(partOfSpeech->actions().size(), 12);
    QCOMPARE(partOfSpeech->actions().last()->data().toString(), QStringLiteral("DELETE"));
}

void TestMenusOnly::parentlessWindowReleasesEverything()
{
    auto *menus = new MenusOnly(true, nullptr);
    QPointer<QMenu> noun = menus->nounMenu;
    QPointer<QAction> city = menus->cityEntry;
    QPointer<QMenu> partOfSpeech = menus->partOfSpeechMenu;
    QVERIFY(!noun->parent());
    delete menus;
    QVERIFY(noun.isNull());
    QVERIFY(city.isNull());
    QVERIFY(partOfSpeech.isNull());
}

void TestMenusOnly::addMenuEntryParentsEntryToMenuParent()
{
    QWidget owner;
    QMenu menu(&owner);
    QAction *entry = addMenuEntry(&menu, QStringLiteral("Fish && chips"), QStringLiteral("fish & chips "));
    QCOMPARE(entry->parent(), &owner);
    QCOMPARE(menu.actions(), QList<QAction *>{entry});
    QCOMPARE(entry->text(), QStringLiteral("Fish && chips"));
    QCOMPARE(entry->data().toString(), QStringLiteral("fish & chips "));
    QAction *second = addMenuEntry(&menu, QStringLiteral("b"), QStringLiteral("c"));
    QCOMPARE(menu.actions().last(), second);
}

void TestMenusOnly::chosenEntryYieldsItsCode_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("code");
    QTest::newRow("interjection") << "partOfSpeech"
                                  << "Interjection (hello)"
                                  << "hello";
    QTest::newRow("delete") << "partOfSpeech"
                            << "DELETE"
                            << "DELETE";
    QTest::newRow("trailing space") << "noun"
                                    << "Pl. only: add 's'"
                                    << "pl. only: add 's' ";
    QTest::newRow("ampersand") << "verb"
                               << "irreg p && pp"
                               << "irreg p & pp";
    QTest::newRow("first name") << "name"
                                << "First name"
                                << "First Name";
    QTest::newRow("time") << "time"
                          << "late,early"
                          << "late,early";
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
