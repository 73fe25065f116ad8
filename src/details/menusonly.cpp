#include "menusonly.h"

#include <QAction>
#include <QMap>
#include <QMenu>

#include "subcodetable.h"
#include "ui_menusonly.h"

namespace {

struct Entry
{
    const char *code;
    const char *text;
};

// A null code in a table stands for a separator.
void addEntries(QMenu *menu, std::initializer_list<Entry> entries)
{
    for (const Entry &entry : entries) {
        if (!entry.code)
            menu->addSeparator();
        else
            addMenuEntry(menu, QString::fromUtf8(entry.text), QString::fromUtf8(entry.code));
    }
}

// Entries whose text equals their code.
void addCodes(QMenu *menu, std::initializer_list<const char *> codes)
{
    for (const char *code : codes)
        addMenuEntry(menu, QString::fromUtf8(code), QString::fromUtf8(code));
}

} // namespace

QAction *addMenuEntry(QMenu *menu, const QString &text, const QString &code)
{
    auto *action = new QAction(menu->parent());
    action->setText(text);
    action->setData(QVariant(code));
    menu->addAction(action);
    return action;
}

MenusOnly::MenusOnly(bool fillSubcodeMenus, QWidget *parent)
    : QMainWindow(parent), cityEntry(nullptr), fillSubcodeMenus(fillSubcodeMenus), ui(new Ui::MenusOnly),
      ownsMemberMenus(parent == nullptr)
{
    ui->setupUi(this);
    partOfSpeechMenu = new QMenu(parent);
    nounMenu = new QMenu(parent);
    nameMenu = new QMenu(parent);
    verbMenu = new QMenu(parent);
    adjectiveMenu = new QMenu(parent);
    timeMenu = new QMenu(parent);
    buildMenus();
}

MenusOnly::~MenusOnly()
{
    // Entries of a parentless menu have no parent either (addMenuEntry gives them the menu's parent).
    auto release = [](QMenu *menu) {
        if (!menu)
            return;
        const QList<QAction *> actions = menu->actions();
        for (QAction *action : actions) {
            if (!action->parent())
                delete action;
        }
    };
    for (QMenu *menu :
         {otherMenu.get(), vauxMenu.get(), determinerMenu.get(), prepositionMenu.get(), miscellaneousMenu.get()})
        release(menu);
    if (ownsMemberMenus) {
        for (QMenu *menu : {partOfSpeechMenu, nounMenu, nameMenu, verbMenu, adjectiveMenu, timeMenu}) {
            release(menu);
            delete menu;
        }
    }
}

void MenusOnly::buildMenus()
{
    otherMenu = std::make_unique<QMenu>();
    vauxMenu = std::make_unique<QMenu>();
    determinerMenu = std::make_unique<QMenu>();
    prepositionMenu = std::make_unique<QMenu>();
    miscellaneousMenu = std::make_unique<QMenu>();

    QMenu *misc = miscellaneousMenu.get();
    addCodes(misc, {"all", "almost", "alone", "amust", "and"});
    addMenuEntry(misc, QStringLiteral("and/or"), QStringLiteral("andor"));
    addCodes(misc, {"approx",  "as",   "but",  "county",  "cpxloc", "cpxmobile", "cpxpres",  "earth", "either", "else",
                    "esquire", "even", "ever", "far",     "first",  "heck",      "highness", "if",    "ishas",  "it",
                    "just",    "mine", "more", "neither", "nmbr",   "nmbr2",     "noon",     "nor",   "not"});
    addMenuEntry(misc, QStringLiteral("notwithstanding"), QStringLiteral("havent"));
    addCodes(misc,
             {"oclock",   "old",   "once",  "or",          "other",  "own", "please",  "possible", "quite", "rest",
              "reverend", "right", "River", "same",        "second", "so",  "some",    "stdtime",  "such",  "than",
              "that",     "there", "too",   "transparent", "very",   "way", "without", "yet"});
    misc->setTitle(QStringLiteral("Miscellaneous"));

    addEntries(vauxMenu.get(), {{"vmight", "Might"}, {"vhave", "Have"}, {"vdo", "Do"}});
    vauxMenu->setTitle(QStringLiteral("VAux"));
    addCodes(determinerMenu.get(), {"a", "the"});
    determinerMenu->setTitle(QStringLiteral("Det-special use"));
    addCodes(prepositionMenu.get(), {"to", "for", "by", "of"});
    prepositionMenu->setTitle(QStringLiteral("Prep-special"));

    QMenu *other = otherMenu.get();
    addEntries(other, {{"place", "Adverbs of place"}, {"vbe", "VBe"}});
    other->addMenu(vauxMenu.get());
    addEntries(other, {{"pron", "PN-subj"},
                       {"objPN", "PN-obj"},
                       {"psvPN", "PN-poss"},
                       {"rflx", "PN-self"},
                       {"indef", "PN-some.."},
                       {"WH", "WH-who, why... "},
                       {"TH", "PN-demonstrative "},
                       {"det", "Det-a, the, these "}});
    other->addMenu(determinerMenu.get());
    addEntries(other, {{"quant", "Quant-many, few... "}, {"prep", "Preposition "}});
    other->addMenu(prepositionMenu.get());
    addEntries(other, {{"part", "Particle"}, {"conj", "Conjuction"}, {"time", "Time Words"}});
    other->addSeparator();
    other->addMenu(misc);
    addEntries(other, {{"swc", "Begin Word Chain"}, {"ewc", "End Word Chain"}});
    other->setTitle(QStringLiteral("Other..."));

    addEntries(partOfSpeechMenu, {{"new", "New"},
                                  {"name", "Name"},
                                  {"noun", "Noun"},
                                  {"verb", "Verb"},
                                  {"adj.", "Adj."},
                                  {"adv.", "Adv."},
                                  {"hello", "Interjection (hello)"},
                                  {"address", "Address (Dude!)"},
                                  {"title", "Title (Mr Dr...)"},
                                  {"spclN", "Special noun"}});
    partOfSpeechMenu->addMenu(other);
    partOfSpeechMenu->addSeparator();
    addMenuEntry(partOfSpeechMenu, QStringLiteral("DELETE"), QStringLiteral("DELETE"));

    if (!fillSubcodeMenus)
        return;

    const QMap<QString, QMenu *> subcodeMenus = {{QStringLiteral("noun"), nounMenu},
                                                 {QStringLiteral("name"), nameMenu},
                                                 {QStringLiteral("verb"), verbMenu},
                                                 {QStringLiteral("adj."), adjectiveMenu},
                                                 {QStringLiteral("time"), timeMenu}};
    for (const SubcodeTable::Entry &entry : SubcodeTable::entries()) {
        QMenu *menu = subcodeMenus.value(QString::fromUtf8(entry.partOfSpeech));
        if (!menu)
            continue;
        if (entry.separatorBefore)
            menu->addSeparator();
        QAction *action = addMenuEntry(menu, QString::fromUtf8(entry.label), QString::fromUtf8(entry.code));
        if (menu == nameMenu)
            cityEntry = action; // the last entry of the name menu, offered to UK grammar only
    }
}
