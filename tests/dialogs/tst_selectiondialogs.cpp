// The grammar choice dialogs' modal run: the checked choice is handed back only when the run is accepted.

#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "modalanswerer.h"
#include "partofspeechselectiondlg.h"
#include "windowsleft.h"

class TestSelectionDialogs : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QTRY_VERIFY2(windowsLeft().isEmpty(), qPrintable(windowsLeft().join(' '))); }
    void modalRun();
};

// OK and Return accept the checked choice; Cancel and Escape reject the run. Each button is connected once:
// a second connection would finish the run twice.
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
        QCOMPARE(answerer.title(), QStringLiteral("Select Part of Speech"));
        QCOMPARE(finished.count(), 1);
        if (!code.isEmpty())
            QCOMPARE(dialog.selectedCode(), code);
    }
}

QTEST_MAIN(TestSelectionDialogs)
#include "tst_selectiondialogs.moc"
