// The check-box selection dialog: how a table row becomes a label and a code, the rows split into two
// columns, what is ticked on opening, what OK, Cancel and Clear All give back, and the phrasal verb rows.

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>

#include "adjectiveselectiondlg.h"
#include "modalanswerer.h"
#include "nameselectiondlg.h"
#include "nameselectiondlguk.h"
#include "nounselectiondlg.h"
#include "nounselectiondlguk.h"
#include "partofspeechselectiondlg.h"
#include "selectiondlg.h"
#include "verbselectiondlg.h"
#include "windowsleft.h"

using Table = QStringList (SelectionDlg::*)();
Q_DECLARE_METATYPE(Table)

namespace {

// The labels of a column's boxes, top to bottom as they are laid out; checked ones only when asked.
QStringList column(QWidget *dialog, const char *name, bool checkedOnly = false)
{
    QList<QCheckBox *> boxes = dialog->findChild<QDialogButtonBox *>(QLatin1String(name))->findChildren<QCheckBox *>();
    std::sort(boxes.begin(), boxes.end(), [](QCheckBox *a, QCheckBox *b) { return a->y() < b->y(); });
    QStringList labels;
    for (QCheckBox *box : boxes) {
        if (!checkedOnly || box->isChecked())
            labels << box->text();
    }
    return labels;
}

} // namespace

class TestSelectionDlg : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QTRY_VERIFY2(windowsLeft().isEmpty(), qPrintable(windowsLeft().join(' '))); }
    void rowRule();
    void choose_data();
    void choose();
    void radioDialogs_data();
    void radioDialogs();
};

// A row's code ends at its first "%" (the label runs to the next one) or else its first ":", where the
// whole row is the label; "no-prep" shows as "-"; earlier results are replaced, not added to.
void TestSelectionDlg::rowRule()
{
    SelectionDlg dialog;
    QStringList labels{"stale"}, codes{"stale"};
    dialog.splitItems(
        {"Q1%cup OF milk", "a%b%c", "Tn: She likes strawberries.", "no-prep: He is Angry.", "x:y%z", "out of"}, &labels,
        &codes);
    QCOMPARE(labels,
             QStringList({"cup OF milk", "b", "Tn: She likes strawberries.", "-: He is Angry.", "z", "out of"}));
    QCOMPARE(codes, QStringList({"Q1", "a", "Tn", "-", "x:y", "out of"}));
}

void TestSelectionDlg::choose_data()
{
    QTest::addColumn<Table>("table");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("steps"); // box labels to click, then "Clear All", "OK" or "Cancel"
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QStringList>("result");
    // Lists are written with "|" between their elements.
    const auto row = [](const char *name, Table table, const char *stored, const char *steps, const QString &checked,
                        const char *result) {
        const auto list = [](const QString &text) { return text.split('|', Qt::SkipEmptyParts); };
        QTest::newRow(name) << table << list(stored) << list(steps) << list(checked) << list(result);
    };
    const QString phrasal = QStringLiteral("Phrasal verb: We called him up.");
    row("preselected, given back in table order", &SelectionDlg::verbPatternItems, "Tn|I", "OK",
        "I: She sleeps|Tn: She likes strawberries.", "I|Tn");
    row("phrasal also rewrites nonphrasal", &SelectionDlg::verbPatternItems, "nonphrasal|phrasal", "OK", phrasal,
        "phrasal");
    row("nonphrasal alone", &SelectionDlg::verbPatternItems, "nonphrasal", "OK", "Non Phrasal Verb: We called him.",
        "nonphrasal");
    row("whole codes, case-sensitive", &SelectionDlg::nounComplementItems, "WH1|wh|to", "OK",
        "friend TO ME, TO JOHN|curiousity ABOUT WHAT TO DO", "to|WH1");
    row("tick and untick", &SelectionDlg::particleItems, "up|in", "out|in|OK", "in|up", "out|up");
    row("out of is not out", &SelectionDlg::prepositionItems, "out of|zzz", "OK", "out of", "out of");
    row("Clear All, OK", &SelectionDlg::adjectiveComplementItems, "-", "Clear All|OK", "-: He is Angry.", "");
    row("Clear All, Cancel", &SelectionDlg::particleItems, "up", "Clear All|Cancel", "up", "up");
}

// The rows open split in half, the first half on the left (the extra row of an odd table on the right), the
// stored codes ticked; clicking boxes leaves the dialog open; OK gives back the ticked codes in table order.
void TestSelectionDlg::choose()
{
    QFETCH(Table, table);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, checked);
    QFETCH(QStringList, result);
    SelectionDlg dialog;
    const bool verbs = table == &SelectionDlg::verbPatternItems;
    QStringList list = stored;
    if (verbs)
        dialog.verbToTableCodes(&list);
    QStringList seen, left, right, labels, codes;
    dialog.splitItems((dialog.*table)(), &labels, &codes);
    ModalAnswerer answer;
    answer.handle([&](QWidget *modal) {
        seen = column(modal, "buttonBox", true) + column(modal, "buttonBox_2", true);
        left = column(modal, "buttonBox");
        right = column(modal, "buttonBox_2");
        for (const QString &step : steps) {
            const auto buttons = modal->findChildren<QAbstractButton *>();
            auto it = std::find_if(buttons.begin(), buttons.end(), [&](auto *b) { return b->text() == step; });
            if (it == buttons.end())
                modal->close();
            QVERIFY2(it != buttons.end(), qPrintable(step));
            (*it)->click();
        }
    });
    QCOMPARE(dialog.choose(QStringLiteral("Uses"), (dialog.*table)(), &list), steps.last() != QLatin1String("Cancel"));
    QVERIFY(answer.answered());
    QCOMPARE(answer.title(), QStringLiteral("Uses"));
    QCOMPARE(left, labels.mid(0, labels.size() / 2));
    QCOMPARE(right, labels.mid(labels.size() / 2));
    QCOMPARE(seen, checked);
    if (verbs)
        dialog.verbToEngineCodes(&list);
    QCOMPARE(list, result);
}

void TestSelectionDlg::radioDialogs_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("checked"); // the button checked on opening, "" for none
    QTest::addColumn<QString>("code");    // what OK then gives back
    const auto row = [](const char *dialog, const char *current, const char *checked, const char *code) {
        QTest::newRow(qPrintable(QStringLiteral("%1 on %2").arg(dialog, current)))
            << QString(dialog) << QString(current) << QString(checked) << QString(code);
    };
    row("PartOfSpeechSelectionDlg", "verb", "radioButton_3", "verb");
    row("PartOfSpeechSelectionDlg", "", "", "");
    row("NounSelectionDlg", "uncount or count", "radioButton_6", "uncount or count");
    row("NounSelectionDlg", "uncount", "radioButton_5", "uncount");
    row("NounSelectionDlg", "group", "", "");
    row("NounSelectionDlgUK", "group", "radioButton_7", "group");
    row("NameSelectionDlg", "Loc pl with 'the'", "radioButton_11", "Loc pl with 'the'");
    row("NameSelectionDlg", "first name", "", "");
    row("NameSelectionDlg", "City, etc", "", "");
    row("NameSelectionDlgUK", "City, etc", "radioButton_12", "City, etc");
    row("VerbSelectionDlg", "irreg p & pp", "radioButton_2", "irreg p & pp");
    row("VerbSelectionDlg", "irreg p&pp,dbl", "radioButton_5", "irreg p&pp,dbl");
    row("VerbSelectionDlg", "past participle", "radioButton_9", "past participle");
    row("VerbSelectionDlg", "past = root", "radioButton_8", "past");
    row("VerbSelectionDlg", "pp = root", "", "");
    row("AdjectiveSelectionDlg", "reg, dbl", "radioButton_2", "reg, dbl");
}

// The last code that occurs in the current one checks its button; OK gives back the checked button's code.
void TestSelectionDlg::radioDialogs()
{
    QFETCH(QString, dialog);
    QFETCH(QString, current);
    QFETCH(QString, checked);
    QFETCH(QString, code);
    std::unique_ptr<RadioSelectionDlg> made;
    if (dialog == QLatin1String("PartOfSpeechSelectionDlg"))
        made = std::make_unique<PartOfSpeechSelectionDlg>(current);
    else if (dialog == QLatin1String("NounSelectionDlg"))
        made = std::make_unique<NounSelectionDlg>(current);
    else if (dialog == QLatin1String("NounSelectionDlgUK"))
        made = std::make_unique<NounSelectionDlgUK>(current);
    else if (dialog == QLatin1String("NameSelectionDlg"))
        made = std::make_unique<NameSelectionDlg>(current);
    else if (dialog == QLatin1String("NameSelectionDlgUK"))
        made = std::make_unique<NameSelectionDlgUK>(current);
    else if (dialog == QLatin1String("VerbSelectionDlg"))
        made = std::make_unique<VerbSelectionDlg>(current);
    else
        made = std::make_unique<AdjectiveSelectionDlg>(current);
    QString opened;
    for (const QRadioButton *button : made->findChildren<QRadioButton *>()) {
        if (button->isChecked())
            opened = button->objectName();
    }
    QCOMPARE(opened, checked);
    ModalAnswerer answer;
    answer.handle([](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Return); });
    QCOMPARE(made->exec(), int(QDialog::Accepted));
    QVERIFY(answer.answered());
    QCOMPARE(made->selectedCode(), code);
    // Two dialogs name themselves; the UK noun dialog keeps its form's title, the others have none.
    const QMap<QString, QString> titles = {{"PartOfSpeechSelectionDlg", "Select Part of Speech"},
                                           {"NounSelectionDlg", "Select Noun Type"},
                                           {"NounSelectionDlgUK", "Select Noun Subcode"}};
    QCOMPARE(made->windowTitle(), titles.value(dialog));
}

QTEST_MAIN(TestSelectionDlg)
#include "tst_selectiondlg.moc"
