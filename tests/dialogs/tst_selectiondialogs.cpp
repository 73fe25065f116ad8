// The grammar choice dialogs: each choice stands for its own code and opens checked when it is the current
// code; a modal run hands back the choice only when accepted.

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>

#include "adjectiveselectiondlg.h"
#include "adverbselectiondlg.h"
#include "modalanswerer.h"
#include "nameselectiondlg.h"
#include "nameselectiondlguk.h"
#include "nounselectiondlg.h"
#include "nounselectiondlguk.h"
#include "partofspeechselectiondlg.h"
#include "verbselectiondlg.h"
#include "windowsleft.h"

namespace {

using Factory = std::function<RadioSelectionDlg *(const QString &)>;

template<typename Dialog> Factory factory()
{
    return [](const QString &current) { return new Dialog(current); };
}

QString buttonName(int row)
{
    return row == 0 ? QStringLiteral("radioButton") : QStringLiteral("radioButton_%1").arg(row + 1);
}

QStringList checkedButtons(const QDialog &dialog)
{
    QStringList checked;
    for (const QAbstractButton *button : dialog.findChildren<QAbstractButton *>()) {
        if (button->isChecked())
            checked << button->objectName();
    }
    return checked;
}

} // namespace

Q_DECLARE_METATYPE(Factory)

class TestSelectionDialogs : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void choicesAndPreselection_data();
    void choicesAndPreselection();
    void modalRun_data();
    void modalRun();
    void adverbRun();
};

void TestSelectionDialogs::cleanup()
{
    QTRY_VERIFY2(windowsLeft().isEmpty(), qPrintable(windowsLeft().join(QLatin1Char(' '))));
}

void TestSelectionDialogs::choicesAndPreselection_data()
{
    QTest::addColumn<Factory>("make");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("choices");
    QTest::newRow("part of speech") << factory<PartOfSpeechSelectionDlg>() << "Select Part of Speech" << 6;
    QTest::newRow("noun") << factory<NounSelectionDlg>() << "Select Noun Type" << 6;
    QTest::newRow("noun, UK") << factory<NounSelectionDlgUK>() << "Select Noun Subcode" << 7;
    QTest::newRow("name") << factory<NameSelectionDlg>() << "" << 11;
    QTest::newRow("name, UK") << factory<NameSelectionDlgUK>() << "" << 12;
    QTest::newRow("verb") << factory<VerbSelectionDlg>() << "" << 9;
    QTest::newRow("adjective") << factory<AdjectiveSelectionDlg>() << "" << 5;
}

// Every choice stands for a code of its own, and a dialog opened on that code has just that choice checked,
// a longer code winning over a shorter one it contains ("reg, dbl" over "reg").
void TestSelectionDialogs::choicesAndPreselection()
{
    QFETCH(Factory, make);
    QFETCH(QString, title);
    QFETCH(int, choices);
    std::unique_ptr<RadioSelectionDlg> dialog(make(QStringLiteral("nothing known")));
    QCOMPARE(dialog->windowTitle(), title);
    QCOMPARE(dialog->findChildren<QRadioButton *>().size(), choices);
    QVERIFY(checkedButtons(*dialog).isEmpty());
    QCOMPARE(dialog->selectedCode(), QString());
    QStringList codes;
    for (int row = 0; row < choices; ++row) {
        dialog->findChild<QRadioButton *>(buttonName(row))->click();
        codes << dialog->selectedCode();
        QVERIFY(!codes.last().isEmpty());
        QCOMPARE(codes.indexOf(codes.last()), row);
    }
    for (int row = 0; row < choices; ++row) {
        std::unique_ptr<RadioSelectionDlg> opened(make(codes.at(row)));
        QCOMPARE(checkedButtons(*opened), QStringList{buttonName(row)});
        QCOMPARE(opened->selectedCode(), codes.at(row));
    }
}

void TestSelectionDialogs::modalRun_data()
{
    QTest::addColumn<QString>("choose");
    QTest::addColumn<int>("key"); // 0: click the button named by answer
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("code"); // "-": rejected
    QTest::newRow("OK") << "radioButton_2" << 0 << "OK"
                        << "noun";
    QTest::newRow("OK, preselected") << "" << 0 << "OK"
                                     << "verb";
    QTest::newRow("Return takes OK") << "radioButton_6" << int(Qt::Key_Return) << ""
                                     << "new";
    QTest::newRow("Cancel") << "radioButton_2" << 0 << "Cancel"
                            << "-";
    QTest::newRow("Escape") << "radioButton_2" << int(Qt::Key_Escape) << ""
                            << "-";
}

void TestSelectionDialogs::modalRun()
{
    QFETCH(QString, choose);
    QFETCH(int, key);
    QFETCH(QString, answer);
    QFETCH(QString, code);
    PartOfSpeechSelectionDlg dialog(QStringLiteral("verb"));
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    ModalAnswerer answerer;
    answerer.handle([&](QWidget *modal) {
        if (!choose.isEmpty())
            modal->findChild<QRadioButton *>(choose)->click();
        if (key)
            QTest::keyClick(modal, Qt::Key(key));
        else
            modal->findChild<QDialogButtonBox *>()
                ->button(answer == QLatin1String("OK") ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)
                ->click();
    });
    const int result = dialog.exec();
    QVERIFY(answerer.answered());
    QCOMPARE(result, code == QLatin1String("-") ? int(QDialog::Rejected) : int(QDialog::Accepted));
    // One connection each: a second one would accept or reject twice.
    QCOMPARE(accepted.count() + rejected.count(), 1);
    if (result == QDialog::Accepted)
        QCOMPARE(dialog.selectedCode(), code);
}

void TestSelectionDialogs::adverbRun()
{
    for (const char *answer : {"OK", "Cancel"}) {
        AdverbSelectionDlg dialog;
        ModalAnswerer answerer;
        answerer.handle([&](QWidget *modal) {
            modal->findChild<QCheckBox *>(QStringLiteral("checkBox_5"))->click();
            QTest::keyClick(modal, answer[0] == 'O' ? Qt::Key_Return : Qt::Key_Escape);
        });
        QCOMPARE(dialog.exec(), answer[0] == 'O' ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QCOMPARE(answerer.title(), QStringLiteral("Adverb Selection"));
        QCOMPARE(dialog.findChildren<QCheckBox *>().size(), 8);
        QCOMPARE(checkedButtons(dialog), QStringList{"checkBox_5"});
    }
}

QTEST_MAIN(TestSelectionDialogs)
#include "tst_selectiondialogs.moc"
