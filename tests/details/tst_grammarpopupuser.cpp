// The user's details panel: clicking a link opens the matching dialog or menu and writes the choice; the
// grammar menus and the codes their entries stand for.

#include <QCheckBox>
#include <QCursor>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "grammarpopupuser.h"
#include "menusonly.h"
#include "modalanswerer.h"
#include "ourtextbrowser.h"
#include "tempdictionary.h"
#include "windowsleft.h"

class TestGrammarPopUpUser : public QObject
{
    Q_OBJECT
private slots:
    void init() { GrammarPopUp::lastWordText.clear(); }
    void cleanup() { QTRY_VERIFY2(windowsLeft().isEmpty(), qPrintable(windowsLeft().join(' '))); }
    void plainPatternLines();
    void dialogLinks_data();
    void dialogLinks();
    void adverbPositions();
    void frequencyMenu();
    void readOnlyEditsNothing();
    void subcodeMenus_data();
    void subcodeMenus();
};

// The user's panel shows particles and prepositions in brackets, without links, under usage headings
// numbered from 1.
void TestGrammarPopUpUser::plainPatternLines()
{
    TempDictionary dict({"call\tverb/reg/18"});
    GrammarPopUpUser panel(dict.reference(), true, nullptr);
    const QString open = QStringLiteral("&nbsp;").repeated(9) + "<font face=\"Times New Roman\" size=4 color=>";
    QCOMPARE(panel.formatPatternLines({"call 1 12 2", "a/1"}, "up", "to", 3, 1),
             (QStringList{open + "call  [up]   [up] 2  [to] </font>", open + "a", " [up] </font>"}));
    Word *call = dict->findWord("call");
    call->addUse(0);
    call->addUse(0);
    panel.displayWord("call", call, 1);
    const QString shown = panel.textBrowser->toPlainText();
    QVERIFY2(shown.contains("(1)") && shown.contains("(2)") && !shown.contains("(0)"), qPrintable(shown));
}

void TestGrammarPopUpUser::dialogLinks_data()
{
    // Rows of "|"-separated fields: the word, the link clicked, the dialog that opens ("" for none), its
    // preselected choice, the choice made ("" cancels), and the code's part of speech and subcode afterwards.
    QTest::addColumn<bool>("british");
    QTest::addColumn<QString>("row");
    QTest::newRow("part of speech")
        << false << "call\tverb/reg/18|0_part_of_speech|PartOfSpeechSelectionDlg|radioButton_3|radioButton_2|noun reg";
    QTest::newRow("second code")
        << false
        << "light\tnoun/reg/12;adj./reg/9|1_subcode|AdjectiveSelectionDlg|radioButton|radioButton_4|adj. comparative";
    QTest::newRow("noun, British")
        << true << "dog\tnoun/reg/12|0_subcode|NounSelectionDlgUK|radioButton|radioButton_7|noun group";
    QTest::newRow("name")
        << false << "Jill\tname/Singular name/9|0_subcode|NameSelectionDlg|radioButton|radioButton_5|name First Name";
    QTest::newRow("name, British")
        << true << "Jill\tname/Singular name/9|0_subcode|NameSelectionDlgUK|radioButton|radioButton_12|name City, etc";
    QTest::newRow("verb, cancelled") << false << "call\tverb/reg/18|0_subcode|VerbSelectionDlg|radioButton||verb reg";
    QTest::newRow("pronoun holds noun")
        << false << "it\tpronoun/reg/18|0_subcode|NounSelectionDlg|radioButton|radioButton_5|pronoun uncount";
    QTest::newRow("no subcode dialog") << false << "soon\ttime/soon/12|0_subcode||||time soon";
    // A code no choice stands for opens with none checked; OK then hands back nothing and nothing is written.
    QTest::newRow("unknown subcode, OK") << false << "go\tverb/odd/3|0_subcode|VerbSelectionDlg||OK|verb odd";
}

void TestGrammarPopUpUser::dialogLinks()
{
    QFETCH(bool, british);
    QFETCH(QString, row);
    const QStringList fields = row.split('|');
    const QString line = fields.at(0), anchor = fields.at(1), dialog = fields.at(2), preselected = fields.at(3),
                  button = fields.at(4), written = fields.at(5);
    TempDictionary dict({line}, british ? Prediction::British : Prediction::American);
    Word *word = dict->findWord(line.section('\t', 0, 0));
    GrammarPopUpUser panel(dict.reference(), true, nullptr);
    panel.displayWord(word->text, word, 1);
    panel.textBrowser->currentRegion = panel.textBrowser->regions;
    QString checked;
    ModalAnswerer answer;
    answer.handle([&](QWidget *modal) {
        for (QRadioButton *radio : modal->findChildren<QRadioButton *>()) {
            if (radio->isChecked())
                checked = radio->objectName();
        }
        if (auto radio = modal->findChild<QRadioButton *>(button))
            radio->click();
        modal->findChild<QDialogButtonBox *>()
            ->button(button.isEmpty() ? QDialogButtonBox::Cancel : QDialogButtonBox::Ok)
            ->click();
    });
    emit panel.textBrowser->anchorClicked(QUrl(anchor));
    QCOMPARE(answer.answered(), !dialog.isEmpty());
    QCOMPARE(answer.className(), dialog);
    QCOMPARE(checked, preselected);
    const GCode *code = word->codes.at(anchor.section('_', 0, 0).toInt());
    QCOMPARE(code->partOfSpeech + ' ' + code->subcode, written);
    QCOMPARE(dict->isDirty(), !button.isEmpty() && button != QLatin1String("OK"));
    QVERIFY(!panel.textBrowser->currentRegion); // rendered again
}

// The adverb dialog opens with the stored positions checked; OK writes the checked ones in the table's order.
void TestGrammarPopUpUser::adverbPositions()
{
    TempDictionary dict({"quickly\tadv./-/14"});
    Word *word = dict->findWord(QStringLiteral("quickly"));
    CodeList *positions = word->codes.first()->adverbPositions;
    GrammarPopUpUser panel(dict.reference(), true, nullptr);
    panel.displayWord(word->text, word, 1);
    for (bool accept : {true, false}) {
        positions->setCodes({"er", "xx", "vp+"});
        QStringList opened;
        ModalAnswerer answer;
        answer.handle([&](QWidget *modal) {
            for (int i = 1; i <= 8; ++i) {
                auto box = modal->findChild<QCheckBox *>(QStringLiteral("checkBox_%1").arg(i));
                if (box->isChecked())
                    opened << box->objectName();
            }
            for (int i : {1, 3, 7})
                modal->findChild<QCheckBox *>(QStringLiteral("checkBox_%1").arg(i))->toggle();
            modal->findChild<QDialogButtonBox *>()
                ->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)
                ->click();
        });
        emit panel.textBrowser->anchorClicked(QUrl(QStringLiteral("0_subcode")));
        QCOMPARE(answer.title(), QStringLiteral("Adverb Selection"));
        QCOMPARE(opened, (QStringList{"checkBox_1", "checkBox_8"}));
        QCOMPARE(positions->codes(), accept ? QStringList({"+vp", "almost+", "er"}) : QStringList({"er", "xx", "vp+"}));
    }
}

// The frequency menu offers 1 to 20 at the mouse cursor; the choice goes to the clicked code only.
void TestGrammarPopUpUser::frequencyMenu()
{
    TempDictionary dict({"call\tverb/reg/18;noun/reg/4"});
    Word *word = dict->findWord(QStringLiteral("call"));
    GrammarPopUpUser panel(dict.reference(), true, nullptr);
    panel.displayWord(word->text, word, 1);
    QCursor::setPos(137, 41);
    QPoint shownAt;
    ModalAnswerer answer;
    answer.chooseMenuEntry(QStringLiteral("7"));
    QTimer::singleShot(0, &answer, [&] { shownAt = QApplication::activePopupWidget()->pos(); });
    emit panel.textBrowser->anchorClicked(QUrl(QStringLiteral("1_frequency")));
    QVERIFY(answer.answered());
    QCOMPARE(answer.menuEntries().size(), 20);
    QCOMPARE(answer.menuEntries().constLast(), QStringLiteral("20"));
    QCOMPARE(shownAt, QPoint(137, 41));
    QCOMPARE(word->codes.at(1)->frequency, QStringLiteral("7"));
    QCOMPARE(word->codes.at(0)->frequency, QStringLiteral("18"));
    answer.chooseMenuEntry(QString());
    emit panel.textBrowser->anchorClicked(QUrl(QStringLiteral("0_frequency")));
    QVERIFY(answer.answered());
    QCOMPARE(word->codes.at(0)->frequency, QStringLiteral("18"));
}

// A read-only panel opens nothing; it only renders again.
void TestGrammarPopUpUser::readOnlyEditsNothing()
{
    TempDictionary dict({"fast\tnoun/reg/3;adv./-/4"});
    Word *word = dict->findWord(QStringLiteral("fast"));
    GrammarPopUpUser panel(dict.reference(), false, nullptr);
    ModalAnswerer answer;
    answer.clickButton(QStringLiteral("OK"));
    ModalAnswerer menu;
    menu.chooseMenuEntry(QStringLiteral("5"));
    emit panel.textBrowser->anchorClicked(QUrl(QStringLiteral("0_subcode")));
    QVERIFY(!panel.currentWord);
    panel.displayWord(word->text, word, 1);
    for (const char *anchor : {"0_part_of_speech", "0_subcode", "0_frequency", "1_subcode"}) {
        panel.textBrowser->currentRegion = panel.textBrowser->regions;
        emit panel.textBrowser->anchorClicked(QUrl(QLatin1String(anchor)));
        QVERIFY(!panel.textBrowser->currentRegion);
    }
    QVERIFY(!answer.answered());
    QVERIFY(!menu.answered());
    QVERIFY(!dict->isDirty());
}

namespace {

// A menu's entries in order: runs of plain entries as their count, "|" for a separator, a submenu in brackets.
QString layout(const QMenu *menu)
{
    QString text;
    int run = 0;
    for (const QAction *action : menu->actions()) {
        if (!action->isSeparator() && !action->menu()) {
            ++run;
            continue;
        }
        text += (run ? QString::number(run) : QString()) +
                (action->menu() ? '[' + layout(action->menu()) + ']' : QStringLiteral("|"));
        run = 0;
    }
    return run ? text + QString::number(run) : text;
}

} // namespace

void TestGrammarPopUpUser::subcodeMenus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("entries");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("code");
    QTest::newRow("part of speech") << "partOfSpeech"
                                    << "10[2[3]8[2]2[4]3|[64]2]|1"
                                    << "notwithstanding"
                                    << "havent";
    QTest::newRow("noun") << "noun"
                          << "6|7|2|3|3|2"
                          << "Pl. only: add 's'"
                          << "pl. only: add 's' ";
    QTest::newRow("name") << "name"
                          << "4|2|2|4"
                          << "First name"
                          << "First Name";
    QTest::newRow("verb") << "verb"
                          << "5|5|9"
                          << "irreg p && pp"
                          << "irreg p & pp";
    QTest::newRow("adjective") << "adj."
                               << "5|2|3|2|1"
                               << "nongrad pred"
                               << "nongrad pred";
    QTest::newRow("time") << "time"
                          << "30"
                          << "late,early"
                          << "late,early";
}

// The advanced panel's grammar menus: entries grouped by separators and submenus, each entry's label standing
// for its code, "City, etc" last among the names; menus built read-only offer parts of speech only.
void TestGrammarPopUpUser::subcodeMenus()
{
    QFETCH(QString, menu);
    QFETCH(QString, entries);
    QFETCH(QString, label);
    QFETCH(QString, code);
    MenusOnly menus(true);
    const QMap<QString, QMenu *> menuOf = {{"partOfSpeech", menus.partOfSpeechMenu},
                                           {"noun", menus.nounMenu},
                                           {"name", menus.nameMenu},
                                           {"verb", menus.verbMenu},
                                           {"adj.", menus.adjectiveMenu},
                                           {"time", menus.timeMenu}};
    QCOMPARE(layout(menuOf.value(menu)), entries);
    QString labelled;
    QList<QMenu *> open{menuOf.value(menu)};
    while (!open.isEmpty()) {
        for (const QAction *action : open.takeFirst()->actions()) {
            if (action->menu())
                open << action->menu();
            else if (action->text() == label)
                labelled = action->data().toString();
        }
    }
    QCOMPARE(labelled, code);
    QCOMPARE(menus.cityEntry, menus.nameMenu->actions().constLast());
    QCOMPARE(menus.cityEntry->data().toString(), QStringLiteral("City, etc"));

    MenusOnly readOnly(false);
    QVERIFY(readOnly.nounMenu->actions().isEmpty() && !readOnly.cityEntry);
    QCOMPARE(layout(readOnly.partOfSpeechMenu), layout(menus.partOfSpeechMenu));
}

QTEST_MAIN(TestGrammarPopUpUser)
#include "tst_grammarpopupuser.moc"
