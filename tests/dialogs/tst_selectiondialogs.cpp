// The grammar choice dialogs: each choice stands for its own code and opens checked when it is the current
// code; a modal run hands back the choice only when accepted.

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>

#include "adjectiveselectiondlg.h"
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
    void cleanup() { QTRY_VERIFY2(windowsLeft().isEmpty(), qPrintable(windowsLeft().join(' '))); }
    void choicesAndPreselection_data();
    void choicesAndPreselection();
    void modalRun();
};

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

// A run hands back the checked choice when accepted by OK or Return; Cancel and Escape reject it. Each button
// is connected once: a second connection would accept or reject twice.
void TestSelectionDialogs::modalRun()
{
    const QList<std::tuple<const char *, int, QString>> runs = {{"radioButton_2", 0, "noun"},
                                                                {"", 0, "verb"},
                                                                {"radioButton_6", Qt::Key_Return, "new"},
                                                                {"radioButton_2", Qt::Key_Escape, ""},
                                                                {"radioButton_2", 1, ""}};
    for (const auto &[choice, key, code] : runs) {
        PartOfSpeechSelectionDlg dialog(QStringLiteral("verb"));
        QSignalSpy finished(&dialog, &QDialog::finished);
        ModalAnswerer answerer;
        answerer.handle([&, choice = choice, key = key](QWidget *modal) {
            if (auto radio = modal->findChild<QRadioButton *>(QLatin1String(choice)))
                radio->click();
            if (key > 1)
                QTest::keyClick(modal, Qt::Key(key));
            else
                modal->findChild<QDialogButtonBox *>()
                    ->button(key ? QDialogButtonBox::Cancel : QDialogButtonBox::Ok)
                    ->click();
        });
        QCOMPARE(dialog.exec(), code.isEmpty() ? int(QDialog::Rejected) : int(QDialog::Accepted));
        QCOMPARE(finished.count(), 1);
        if (!code.isEmpty())
            QCOMPARE(dialog.selectedCode(), code);
    }
}

QTEST_MAIN(TestSelectionDialogs)
#include "tst_selectiondialogs.moc"
