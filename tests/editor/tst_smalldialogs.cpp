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
#include <functional>
#include <memory>

#include "changeconfirmationdlg.h"
#include "changedlg.h"
#include "helpdlg.h"
#include "modalanswerer.h"

namespace {

using DialogFactory = std::function<QDialog *(QWidget *)>;

// "name Class text" for each listed child, read from the dialog itself.
QStringList describe(const QDialog *dialog, const QStringList &names)
{
    QStringList entries;
    for (const QString &name : names) {
        QWidget *widget = dialog->findChild<QWidget *>(name);
        if (!widget || widget->parentWidget() != dialog) {
            entries << name + QStringLiteral(" missing");
            continue;
        }
        QString text;
        if (auto label = qobject_cast<QLabel *>(widget))
            text = label->text();
        else if (auto edit = qobject_cast<QLineEdit *>(widget))
            text = edit->text();
        else if (auto button = qobject_cast<QAbstractButton *>(widget))
            text = button->text();
        else if (auto plain = qobject_cast<QPlainTextEdit *>(widget))
            text = plain->toPlainText();
        entries << QStringLiteral("%1 %2 %3").arg(name, QLatin1String(widget->metaObject()->className()), text);
    }
    return entries;
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

Q_DECLARE_METATYPE(DialogFactory)

class TestSmallDialogs : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void forms_data();
    void forms();
    void changeDlgTabOrder();
    void changeDlgRun_data();
    void changeDlgRun();
    void confirmationAnswers_data();
    void confirmationAnswers();
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

void TestSmallDialogs::forms_data()
{
    QTest::addColumn<DialogFactory>("factory");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("fixedSize");
    QTest::addColumn<QStringList>("widgets");

    // The change dialog keeps an unused second set of controls off to the right of its fixed size.
    QTest::newRow("ChangeDlg") << DialogFactory([](QWidget *p) { return new ChangeDlg(p, QStringLiteral("abbey")); })
                               << "ChangeDlgClass"
                               << "Change Spelling" << QSize(270, 164) << true
                               << QStringList{"label_3 QLabel from:",        "originalBox QLabel abbey",
                                              "label_4 QLabel to:",          "newBox QLineEdit abbey",
                                              "buttonBox QDialogButtonBox ", "label QLabel Change spelling from:",
                                              "originalBox1 QLineEdit ",     "label_2 QLabel to:"};
    QTest::newRow("ChangeConfirmationDlg")
        << DialogFactory([](QWidget *p) { return new ChangeConfirmationDlg(p); }) << "ChangeConfirmationDlgClass"
        << "ChangeConfirmationDlg" << QSize(328, 135) << true
        << QStringList{"YesButton QPushButton &Yes", "NoButton QPushButton &No", "CancelButton QPushButton &Cancel",
                       "theMessage QLabel 'A brand new dictionary' has changed.",
                       "label_2 QLabel Do you want to save your changes?"};
    // The help dialog only starts at its size: it can be resized.
    QTest::newRow("HelpDlg") << DialogFactory([](QWidget *p) { return new HelpDlg(p); }) << "HelpDlgClass"
                             << "HelpDlg" << QSize(302, 340) << false
                             << QStringList{"OkButton QPushButton OK", "plainTextEdit QPlainTextEdit " + helpText};
}

void TestSmallDialogs::forms()
{
    QFETCH(DialogFactory, factory);
    QFETCH(QString, objectName);
    QFETCH(QString, title);
    QFETCH(QSize, size);
    QFETCH(bool, fixedSize);
    QFETCH(QStringList, widgets);
    QWidget parent;
    std::unique_ptr<QDialog> dialog(factory(&parent));
    QCOMPARE(dialog->objectName(), objectName);
    QCOMPARE(dialog->parentWidget(), &parent);
    QCOMPARE(dialog->windowTitle(), title);
    QCOMPARE(dialog->size(), size);
    QCOMPARE(dialog->minimumSize() == size && dialog->maximumSize() == size, fixedSize);
    QStringList names;
    for (const QString &entry : widgets)
        names << entry.section(QLatin1Char(' '), 0, 0);
    QCOMPARE(describe(dialog.get(), names), widgets);
    std::unique_ptr<QDialog> orphan(factory(nullptr));
    QCOMPARE(orphan->parentWidget(), nullptr);
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

    auto row = [](const char *name, const char *oldSpelling, const char *typed, const char *button, int result,
                  const char *newText) {
        QTest::newRow(name) << QString::fromLatin1(oldSpelling) << QString::fromLatin1(typed)
                            << QString::fromLatin1(button) << result << QString::fromLatin1(newText);
    };
    row("OK keeps the old spelling", "abbey", "", "OK", QDialog::Accepted, "abbey");
    row("OK with a new spelling", "abbey", "Abbey", "OK", QDialog::Accepted, "Abbey");
    row("OK with an empty box", "abbey", "\b", "OK", QDialog::Accepted, "");
    row("Return takes the default", "colour", "color\n", "", QDialog::Accepted, "color");
    row("Cancel", "abbey", "abbot", "Cancel", QDialog::Rejected, "abbot");
    row("Escape", "two words", "", "\x1b", QDialog::Rejected, "two words");
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

void TestSmallDialogs::confirmationAnswers_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    QTest::newRow("Yes") << "Yes" << int(QMessageBox::Yes);
    QTest::newRow("No") << "No" << int(QMessageBox::No);
    QTest::newRow("Cancel") << "Cancel" << int(QMessageBox::Cancel);
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
    // The message is the one bold, wrapping line of the dialog.
    auto message = dialog.findChild<QLabel *>(QStringLiteral("theMessage"));
    QVERIFY(message->wordWrap());
    QCOMPARE(message->font().weight(), QFont::Bold);
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
}

QTEST_MAIN(TestSmallDialogs)
#include "tst_smalldialogs.moc"
