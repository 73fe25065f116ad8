// The check-box selection dialog: how a table row becomes a label and a code, the rows split into two
// columns, what is ticked on opening, what OK, Cancel and Clear All give back, and the phrasal verb rows.

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>
#include <algorithm>

#include "modalanswerer.h"
#include "selectiondlg.h"
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

QTEST_MAIN(TestSelectionDlg)
#include "tst_selectiondlg.moc"
