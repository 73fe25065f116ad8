// The editor's small dialogs: the change-spelling dialog, the save confirmation and the help text.

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "changeconfirmationdlg.h"
#include "changedlg.h"
#include "helpdlg.h"
#include "modalanswerer.h"

namespace {

// The text a form gives a widget of one of the classes these dialogs use.
QString widgetText(QWidget *widget)
{
    if (auto label = qobject_cast<QLabel *>(widget))
        return label->text();
    if (auto edit = qobject_cast<QLineEdit *>(widget))
        return edit->text();
    if (auto button = qobject_cast<QAbstractButton *>(widget))
        return button->text();
    if (auto plain = qobject_cast<QPlainTextEdit *>(widget))
        return plain->toPlainText();
    return QString();
}

void addFormColumns()
{
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
}

// Checks one row of a form table against the dialog's widget of that name.
void checkFormRow(QDialog *dialog)
{
    QFETCH(QString, objectName);
    QFETCH(QString, className);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    auto widget = dialog->findChild<QWidget *>(objectName);
    QVERIFY2(widget, qPrintable(objectName));
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
    QCOMPARE(widget->parentWidget(), dialog);
    QCOMPARE(widget->geometry(), geometry);
    if (className != QLatin1String("QDialogButtonBox"))
        QCOMPARE(widgetText(widget), text);
}

const QString helpText = QStringLiteral(
    "To add a word, type the word in the \"Word\" box, then below the Word box, click \"add\"\n\n"
    "To delete a word, type it or select it in the list, then below the Word box, click \"delete\".\n\n"
    "To change the spelling of a word, select it, then click \"change\". A dialog will appear: type the new "
    "spelling in the space provided.\n\n"
    "To view the grammar or other details for a word, click the \"More>>\" button.\n\n"
    "To edit a word's grammar information or frequency score, select the word, then in the Word Details panel "
    "click the underlined information you want to change.\n");

} // namespace

class TestSmallDialogs : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void changeDlgForm_data();
    void changeDlgForm();
    void changeDlgWindow();
    void changeDlgTabOrder();
    void changeDlgRun_data();
    void changeDlgRun();

    void confirmationForm_data();
    void confirmationForm();
    void confirmationWindow();
    void confirmationMessage_data();
    void confirmationMessage();
    void confirmationAnswers_data();
    void confirmationAnswers();

    void helpForm_data();
    void helpForm();
    void helpWindow();
    void helpTextReadOnlyButCopyable();
    void helpEnds_data();
    void helpEnds();
};

void TestSmallDialogs::cleanup()
{
    QTRY_VERIFY(!QApplication::activeModalWidget());
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows)
        QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
}

void TestSmallDialogs::changeDlgForm_data()
{
    addFormColumns();
    QTest::newRow("label_3") << "label_3"
                             << "QLabel" << QRect(20, 20, 41, 17) << "from:";
    QTest::newRow("originalBox") << "originalBox"
                                 << "QLabel" << QRect(60, 20, 191, 17) << "abbey";
    QTest::newRow("label_4") << "label_4"
                             << "QLabel" << QRect(20, 50, 41, 17) << "to:";
    QTest::newRow("newBox") << "newBox"
                            << "QLineEdit" << QRect(20, 70, 231, 25) << "abbey";
    QTest::newRow("buttonBox") << "buttonBox"
                               << "QDialogButtonBox" << QRect(30, 120, 221, 32) << "";
    QTest::newRow("label") << "label"
                           << "QLabel" << QRect(420, 30, 191, 17) << "Change spelling from:";
    QTest::newRow("originalBox1") << "originalBox1"
                                  << "QLineEdit" << QRect(420, 50, 231, 25) << "";
    QTest::newRow("label_2") << "label_2"
                             << "QLabel" << QRect(430, 80, 181, 17) << "to:";
}

void TestSmallDialogs::changeDlgForm()
{
    ChangeDlg dialog(nullptr, QStringLiteral("abbey"));
    checkFormRow(&dialog);
}

void TestSmallDialogs::changeDlgWindow()
{
    QWidget parent;
    ChangeDlg dialog(&parent, QStringLiteral("abbey"));
    QCOMPARE(dialog.objectName(), QStringLiteral("ChangeDlgClass"));
    QCOMPARE(dialog.parentWidget(), &parent);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Change Spelling"));
    QCOMPARE(dialog.size(), QSize(270, 164));
    QCOMPARE(dialog.minimumSize(), QSize(270, 164));
    QCOMPARE(dialog.maximumSize(), QSize(270, 164));

    auto box = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QVERIFY(box);
    QCOMPARE(box->orientation(), Qt::Horizontal);
    QCOMPARE(box->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(box->focusPolicy(), Qt::StrongFocus);
    QVERIFY(box->button(QDialogButtonBox::Ok)->isDefault());
    QVERIFY(!box->button(QDialogButtonBox::Cancel)->isDefault());
}

void TestSmallDialogs::changeDlgTabOrder()
{
    ChangeDlg dialog(nullptr, QStringLiteral("abbey"));
    // Walk the focus chain from newBox and record where the three tab stops come.
    const QList<QWidget *> stops = {dialog.findChild<QWidget *>(QStringLiteral("newBox")),
                                    dialog.findChild<QWidget *>(QStringLiteral("buttonBox")),
                                    dialog.findChild<QWidget *>(QStringLiteral("originalBox1"))};
    QVERIFY(!stops.contains(nullptr));
    QList<QWidget *> seen;
    QWidget *widget = stops.first();
    do {
        if (stops.contains(widget) && !seen.contains(widget))
            seen << widget;
        widget = widget->nextInFocusChain();
    } while (widget != stops.first());
    QCOMPARE(seen, stops);
}

void TestSmallDialogs::changeDlgRun_data()
{
    QTest::addColumn<QString>("oldSpelling");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("newText");

    QTest::newRow("OK keeps the old spelling") << "abbey"
                                               << ""
                                               << "OK" << int(QDialog::Accepted) << "abbey";
    QTest::newRow("OK with a new spelling") << "abbey"
                                            << "Abbey"
                                            << "OK" << int(QDialog::Accepted) << "Abbey";
    QTest::newRow("OK with an empty box") << "abbey"
                                          << "\b"
                                          << "OK" << int(QDialog::Accepted) << "";
    QTest::newRow("Return takes the default") << "colour"
                                              << "color\n"
                                              << "" << int(QDialog::Accepted) << "color";
    QTest::newRow("Cancel") << "abbey"
                            << "abbot"
                            << "Cancel" << int(QDialog::Rejected) << "abbot";
    QTest::newRow("Escape") << "two words"
                            << ""
                            << "\x1b" << int(QDialog::Rejected) << "two words";
}

// Runs the dialog modally; the answerer types into newBox as a person would, then ends the run.
void TestSmallDialogs::changeDlgRun()
{
    QFETCH(QString, oldSpelling);
    QFETCH(QString, typed);
    QFETCH(QString, button);
    QFETCH(int, result);
    QFETCH(QString, newText);

    ChangeDlg dialog(nullptr, oldSpelling);
    ModalAnswerer answer;
    answer.handle([&](QWidget *modal) {
        auto box = modal->findChild<QLineEdit *>(QStringLiteral("newBox"));
        if (!typed.isEmpty()) {
            box->selectAll();
            for (QChar c : typed) {
                if (c == QLatin1Char('\b'))
                    QTest::keyClick(box, Qt::Key_Backspace);
                else if (c == QLatin1Char('\n'))
                    QTest::keyClick(box, Qt::Key_Return);
                else
                    QTest::keyClicks(box, QString(c));
            }
        }
        if (!modal->isVisible())
            return;
        if (button == QLatin1String("\x1b")) {
            QTest::keyClick(modal, Qt::Key_Escape);
            return;
        }
        const auto buttons = modal->findChildren<QPushButton *>();
        for (QPushButton *b : buttons) {
            if (b->text().remove(QLatin1Char('&')) == button)
                b->click();
        }
    });
    const int run = dialog.exec();
    QVERIFY(answer.answered());
    QCOMPARE(answer.title(), QStringLiteral("Change Spelling"));
    QCOMPARE(run, result);
    QCOMPARE(dialog.findChild<QLineEdit *>(QStringLiteral("newBox"))->text(), newText);
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("originalBox"))->text(), oldSpelling);
}

void TestSmallDialogs::confirmationForm_data()
{
    addFormColumns();
    QTest::newRow("YesButton") << "YesButton"
                               << "QPushButton" << QRect(50, 90, 75, 24) << "&Yes";
    QTest::newRow("NoButton") << "NoButton"
                              << "QPushButton" << QRect(140, 90, 75, 24) << "&No";
    QTest::newRow("CancelButton") << "CancelButton"
                                  << "QPushButton" << QRect(230, 90, 75, 24) << "&Cancel";
    QTest::newRow("theMessage") << "theMessage"
                                << "QLabel" << QRect(20, 10, 265, 41) << "'A brand new dictionary' has changed.";
    QTest::newRow("label_2") << "label_2"
                             << "QLabel" << QRect(20, 40, 251, 31) << "Do you want to save your changes?";
}

void TestSmallDialogs::confirmationForm()
{
    ChangeConfirmationDlg dialog;
    checkFormRow(&dialog);
}

void TestSmallDialogs::confirmationWindow()
{
    QWidget parent;
    ChangeConfirmationDlg dialog(&parent);
    QCOMPARE(dialog.objectName(), QStringLiteral("ChangeConfirmationDlgClass"));
    QCOMPARE(dialog.parentWidget(), &parent);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("ChangeConfirmationDlg"));
    QCOMPARE(dialog.size(), QSize(328, 135));
    QCOMPARE(dialog.minimumSize(), QSize(328, 135));
    QCOMPARE(dialog.maximumSize(), QSize(328, 135));

    auto message = dialog.findChild<QLabel *>(QStringLiteral("theMessage"));
    QVERIFY(message);
    QVERIFY(message->wordWrap());
    const QFont font = message->font();
    QCOMPARE(font.family(), QStringLiteral("MS Shell Dlg 2"));
    QCOMPARE(font.pointSize(), 8);
    QVERIFY(font.bold());
    QCOMPARE(font.weight(), QFont::Bold);
    QVERIFY(!font.italic());
    QVERIFY(!font.underline());
    QVERIFY(!font.strikeOut());

    ChangeConfirmationDlg orphan;
    QCOMPARE(orphan.parentWidget(), nullptr);
}

void TestSmallDialogs::confirmationMessage_data()
{
    QTest::addColumn<QString>("message");
    QTest::newRow("plain") << "\"Personal\" has changed.";
    QTest::newRow("empty") << "";
    QTest::newRow("long") << QString(200, QLatin1Char('x'));
}

void TestSmallDialogs::confirmationMessage()
{
    QFETCH(QString, message);
    ChangeConfirmationDlg dialog;
    dialog.setMessage(message);
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("theMessage"))->text(), message);
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("label_2"))->text(),
             QStringLiteral("Do you want to save your changes?"));
}

void TestSmallDialogs::confirmationAnswers_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    QTest::newRow("Yes") << "Yes" << int(QMessageBox::Yes);
    QTest::newRow("No") << "No" << int(QMessageBox::No);
    QTest::newRow("Cancel") << "Cancel" << int(QMessageBox::Cancel);
    QTest::newRow("YesButton by name") << "YesButton" << 16384;
    QTest::newRow("NoButton by name") << "NoButton" << 65536;
    QTest::newRow("CancelButton by name") << "CancelButton" << 4194304;
    QTest::newRow("Escape") << "" << 0;
    QTest::newRow("close box") << "close" << 0;
}

void TestSmallDialogs::confirmationAnswers()
{
    QFETCH(QString, button);
    QFETCH(int, result);
    ChangeConfirmationDlg dialog;
    dialog.setWindowTitle(QStringLiteral("Lexora Editor"));
    dialog.setMessage(QStringLiteral("\"Test\" has changed."));
    ModalAnswerer answer;
    if (button.isEmpty())
        answer.pressEscape();
    else if (button == QLatin1String("close"))
        answer.handle([](QWidget *modal) { modal->close(); });
    else
        answer.clickButton(button);
    QCOMPARE(dialog.exec(), result);
    QVERIFY(answer.answered());
    QVERIFY2(answer.failure().isEmpty(), qPrintable(answer.failure()));
    QCOMPARE(answer.title(), QStringLiteral("Lexora Editor"));
    QVERIFY(answer.text().contains(QStringLiteral("\"Test\" has changed.")));
    QCOMPARE(dialog.result(), result);
    QVERIFY(!dialog.isVisible());
}

void TestSmallDialogs::helpForm_data()
{
    addFormColumns();
    QTest::newRow("OkButton") << "OkButton"
                              << "QPushButton" << QRect(190, 300, 75, 24) << "OK";
    QTest::newRow("plainTextEdit") << "plainTextEdit"
                                   << "QPlainTextEdit" << QRect(10, 20, 281, 261) << helpText;
}

void TestSmallDialogs::helpForm()
{
    HelpDlg dialog;
    checkFormRow(&dialog);
}

void TestSmallDialogs::helpWindow()
{
    QWidget parent;
    HelpDlg dialog(&parent);
    QCOMPARE(dialog.objectName(), QStringLiteral("HelpDlgClass"));
    QCOMPARE(dialog.parentWidget(), &parent);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("HelpDlg"));
    QCOMPARE(dialog.size(), QSize(302, 340));
    // The size is only where the dialog starts: it can be resized.
    QVERIFY(dialog.minimumSize() != dialog.maximumSize());

    const QStringList paragraphs = helpText.chopped(1).split(QStringLiteral("\n\n"));
    QCOMPARE(paragraphs.size(), 5);
    QVERIFY(!paragraphs.first().endsWith(QLatin1Char('.')));
    for (int i = 1; i < paragraphs.size(); ++i)
        QVERIFY(paragraphs[i].endsWith(QLatin1Char('.')));
}

void TestSmallDialogs::helpTextReadOnlyButCopyable()
{
    HelpDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto edit = dialog.findChild<QPlainTextEdit *>(QStringLiteral("plainTextEdit"));
    QVERIFY(edit->isReadOnly());

    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("typed"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(edit->toPlainText(), helpText);

    QVERIFY(edit->textInteractionFlags() & Qt::TextSelectableByMouse);
    QApplication::clipboard()->clear();
    edit->selectAll();
    edit->copy();
    QCOMPARE(QApplication::clipboard()->text(), helpText);
    dialog.close();
}

void TestSmallDialogs::helpEnds_data()
{
    QTest::addColumn<bool>("byOk");
    QTest::newRow("OK") << true;
    QTest::newRow("close box") << false;
}

// OK and the title bar's close box end the modal run the same way.
void TestSmallDialogs::helpEnds()
{
    QFETCH(bool, byOk);
    HelpDlg dialog;
    ModalAnswerer answer;
    if (byOk)
        answer.clickButton(QStringLiteral("OK"));
    else
        answer.handle([](QWidget *modal) { modal->close(); });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(answer.answered());
    QVERIFY2(answer.failure().isEmpty(), qPrintable(answer.failure()));
    QCOMPARE(answer.className(), QStringLiteral("HelpDlg"));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.findChild<QPlainTextEdit *>()->toPlainText(), helpText);
}

QTEST_MAIN(TestSmallDialogs)
#include "tst_smalldialogs.moc"
