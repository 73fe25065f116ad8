#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>
#include <algorithm>

#include "modalanswerer.h"
#include "selectiondlg.h"

namespace {

using Table = QStringList (SelectionDlg::*)();
enum TableId
{
    NoTable,
    Verbs,
    Nouns,
    Adjectives,
    Particles,
    Prepositions
};

QStringList rowsOf(SelectionDlg &dialog, int table)
{
    static const Table tables[] = {nullptr,
                                   &SelectionDlg::verbPatternItems,
                                   &SelectionDlg::nounComplementItems,
                                   &SelectionDlg::adjectiveComplementItems,
                                   &SelectionDlg::particleItems,
                                   &SelectionDlg::prepositionItems};
    return table == NoTable ? QStringList() : (dialog.*tables[table])();
}

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
    void splitItems_data();
    void splitItems();
    void columns_data();
    void columns();
    void choose_data();
    void choose();
    void conversions();
};

void TestSelectionDlg::splitItems_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("code");
    const auto row = [](const char *name, const char *row, const char *label, const char *code) {
        QTest::newRow(name) << QString(row) << QString(label) << QString(code);
    };
    row("percent", "Q1%cup OF milk, marbles (part.)", "cup OF milk, marbles (part.)", "Q1");
    row("second percent ends the label", "a%b%c", "b", "a");
    row("colon shows the whole row", "Tn: She likes strawberries.", "Tn: She likes strawberries.", "Tn");
    row("no-prep", "no-prep: He is Angry.", "-: He is Angry.", "-");
    row("percent before colon", "x:y%z", "z", "x:y");
    row("bare words", "out of", "out of", "out of");
}

void TestSelectionDlg::splitItems()
{
    QFETCH(QString, row);
    QFETCH(QString, label);
    QFETCH(QString, code);
    SelectionDlg dialog;
    QStringList labels{"stale"};
    QStringList codes{"stale"};
    dialog.splitItems({row, QStringLiteral("up")}, &labels, &codes);
    QCOMPARE(labels, QStringList({label, "up"}));
    QCOMPARE(codes, QStringList({code, "up"}));
}

void TestSelectionDlg::columns_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("count"); // rows r0, r1, ... when no table is named
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::newRow("no rows") << int(NoTable) << 0 << -1 << QString();
    QTest::newRow("1 row") << int(NoTable) << 1 << 0 << "r0";
    QTest::newRow("25 rows") << int(NoTable) << 25 << 12 << "r12";
    QTest::newRow("verbs") << int(Verbs) << 31 << 1 << "ILoc:  He lives in the city.";
    QTest::newRow("adjectives") << int(Adjectives) << 24 << 23 << "than:  It is different than it was.";
    QTest::newRow("nouns") << int(Nouns) << 31 << 27 << "WH1%curiousity ABOUT WHAT TO DO";
    QTest::newRow("particles") << int(Particles) << 31 << 18 << "in front";
    QTest::newRow("prepositions") << int(Prepositions) << 30 << 20 << "out of";
}

void TestSelectionDlg::columns()
{
    QFETCH(int, table);
    QFETCH(int, count);
    QFETCH(int, row);
    QFETCH(QString, text);
    SelectionDlg dialog;
    QStringList items = rowsOf(dialog, table);
    for (int i = 0; table == NoTable && i < count; ++i)
        items << QStringLiteral("r%1").arg(i);
    QCOMPARE(items.size(), count);
    QCOMPARE(items.value(row), text);
    QStringList labels;
    QStringList codes;
    dialog.splitItems(items, &labels, &codes);
    QCOMPARE(QSet<QString>(codes.begin(), codes.end()).size(), count); // every row stands for a code of its own

    QStringList left;
    QStringList right;
    ModalAnswerer answer;
    answer.handle([&](QWidget *modal) {
        left = column(modal, "buttonBox");
        right = column(modal, "buttonBox_2");
        // A box neither accepts nor rejects: the dialog is still open after a click on one.
        if (count > 0)
            modal->findChild<QCheckBox *>()->click();
        QVERIFY(modal->isVisible());
        modal->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
    });
    QStringList selected;
    QVERIFY(dialog.choose(QStringLiteral("Columns"), items, &selected));
    QVERIFY(answer.answered());
    QCOMPARE(answer.title(), QStringLiteral("Columns"));
    QCOMPARE(left, labels.mid(0, count / 2));
    QCOMPARE(right, labels.mid(count / 2));
    QCOMPARE(selected.size(), count > 0 ? 1 : 0);
}

void TestSelectionDlg::choose_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("steps"); // box labels to click, then "Clear All", "OK" or "Cancel"
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("result");
    // Lists are written with "|" between their elements.
    const auto row = [](const char *name, int table, const char *stored, const char *steps, const QString &checked,
                        bool accepted, const char *result) {
        const auto list = [](const QString &text) { return text.split('|', Qt::SkipEmptyParts); };
        QTest::newRow(name) << table << list(stored) << list(steps) << list(checked) << accepted << list(result);
    };
    const QString phrasal = QStringLiteral("Phrasal verb: We called him up.");
    row("table order", Verbs, "Tn|I", "OK", "I: She sleeps|Tn: She likes strawberries.", true, "I|Tn");
    row("phrasal", Verbs, "phrasal", "OK", phrasal, true, "phrasal");
    row("nonphrasal", Verbs, "nonphrasal", "OK", "Non Phrasal Verb: We called him.", true, "nonphrasal");
    row("phrasal also rewrites nonphrasal", Verbs, "nonphrasal|phrasal", "OK", phrasal, true, "phrasal");
    row("no-prep adjective", Adjectives, "-", "OK", "-: He is Angry.", true, "-");
    row("whole codes, case-sensitive", Nouns, "WH1|wh|to", "OK", "friend TO ME, TO JOHN|curiousity ABOUT WHAT TO DO",
        true, "to|WH1");
    row("tick and untick", Particles, "up|in", "out|in|OK", "in|up", true, "out|up");
    row("out of is not out", Prepositions, "out of|zzz", "OK", "out of", true, "out of");
    row("clear all, OK", Verbs, "Tn|phrasal", "Clear All|OK", "Tn: She likes strawberries.|" + phrasal, true, "");
    row("clear all, cancel", Particles, "up", "Clear All|Cancel", "up", false, "up");
    row("no rows", NoTable, "x", "OK", "", true, "");
}

void TestSelectionDlg::choose()
{
    QFETCH(int, table);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, result);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, checked);
    QFETCH(bool, accepted);
    SelectionDlg dialog;
    QStringList list = stored;
    if (table == Verbs)
        dialog.verbToTableCodes(&list);
    QStringList seen;
    ModalAnswerer answer;
    answer.handle([&](QWidget *modal) {
        seen = column(modal, "buttonBox", true) + column(modal, "buttonBox_2", true);
        for (const QString &step : steps) {
            const auto buttons = modal->findChildren<QAbstractButton *>();
            auto it = std::find_if(buttons.begin(), buttons.end(), [&](auto *b) { return b->text() == step; });
            QVERIFY2(it != buttons.end(), qPrintable(step));
            (*it)->click();
        }
    });
    QCOMPARE(dialog.choose(QStringLiteral("Uses"), rowsOf(dialog, table), &list), accepted);
    QVERIFY(answer.answered());
    QCOMPARE(seen, checked);
    if (table == Verbs)
        dialog.verbToEngineCodes(&list);
    QCOMPARE(list, result);
}

void TestSelectionDlg::conversions()
{
    SelectionDlg dialog;
    QStringList codes{"Ip:", "Tnp:", "Tnppr:", "phrasal", "nonphrasal"};
    dialog.verbToTableCodes(&codes);
    QCOMPARE(codes, QStringList({"I:", "Tn:", "Tnpr:", "Phrasal verb", "nonPhrasal verb"}));
    QStringList alone{"Ip:", "nonphrasal"}; // pattern codes are rewritten only beside "phrasal"
    dialog.verbToTableCodes(&alone);
    QCOMPARE(alone, QStringList({"Ip:", "Non Phrasal Verb"}));
    dialog.verbToEngineCodes(&codes);
    QCOMPARE(codes, QStringList({"I:", "Tn:", "Tnpr:", "phrasal", "nonphrasal"}));
    QStringList nouns{"phrasal", "Phrasal verb"};
    dialog.nounToTableCodes(&nouns);
    dialog.nounToEngineCodes(&nouns);
    QCOMPARE(nouns, QStringList({"phrasal", "Phrasal verb"}));
}

QTEST_MAIN(TestSelectionDlg)
#include "tst_selectiondlg.moc"
