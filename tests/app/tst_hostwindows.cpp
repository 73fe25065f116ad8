// The host's handling of its editor windows: placement, its commands and keys, the prediction test window,
// a failed save answered for real (try again, save a copy, cancel), and ending the application when the
// last window hides.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <functional>

#include "dictionaryeditor.h"
#include "hostsetup.h"
#include "hostwindowmanager.h"
#include "modalanswerer.h"
#include "predictiontestwindow.h"
#include "tempdictionary.h"

using WindowCheck = std::function<void(DictionaryEditor *, TempDictionary &, const QString &folder)>;
Q_DECLARE_METATYPE(WindowCheck)

namespace {

const QFile::Permissions readOnlyFolder =
    QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
const QFile::Permissions writableFolder = readOnlyFolder | QFile::WriteOwner;

const QStringList sampleLines = {"Abbey\tname/-/12", "abbot\tnoun/reg/14", "about\tadv./-/20",
                                 "call\tverb/reg/18/Tn:up:", "cat\tnoun/reg/16"};

QStringList listItems(DictionaryEditor *window)
{
    QStringList texts;
    auto list = window->findChild<QListWidget *>(QStringLiteral("listWidget"));
    for (int i = 0; list && i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void clickButtonWithText(QWidget *modal, const QString &text)
{
    const auto buttons = modal->findChildren<QAbstractButton *>();
    for (QAbstractButton *button : buttons) {
        if (button->text() == text) {
            button->click();
            return;
        }
    }
}

// Runs the application's event loop until the manager ends it, or gives up; true when the manager ended it.
bool applicationQuits(int patienceMs)
{
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    giveUp.start(patienceMs);
    return QCoreApplication::exec() == 0;
}

} // namespace

class TestHostWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void windowsSideBySide();
    void commandKeys_data();
    void commandKeys();
    void testWindowFollowsTypingAndEdits();
    void failedSave_data();
    void failedSave();
    void cancelledSaveBringsTheWindowBack();
    void quitsWhenTheLastWindowHides();
};

void TestHostWindows::initTestCase()
{
    HostSetup::apply();
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestHostWindows::cleanup()
{
    QTRY_VERIFY(!QApplication::activeModalWidget());
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName() + QStringLiteral(" was left open")));
}

// Windows line up from the left without overlapping, at the height they chose, and show together.
void TestHostWindows::windowsSideBySide()
{
    TempDictionary first(sampleLines), second(sampleLines), third(sampleLines);
    HostWindowManager manager;
    for (TempDictionary *dictionary : {&first, &second, &third})
        QVERIFY(!manager.addWindow(dictionary->reference(), true)->isVisible());
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const auto &windows = manager.windows();
    for (size_t i = 1; i < windows.size(); ++i) {
        const QRect geometry = windows[i]->geometry();
        QVERIFY(geometry.left() >= available.left());
        QVERIFY(geometry.left() > windows[i - 1]->geometry().right() || geometry.left() == windows[0]->x());
        QCOMPARE(geometry.top(), windows[i - 1]->geometry().top());
    }
    manager.showAll();
    for (DictionaryEditor *window : windows)
        QVERIFY(window->isVisible());
    for (DictionaryEditor *window : windows)
        window->hide();
}

void TestHostWindows::commandKeys_data()
{
    QTest::addColumn<WindowCheck>("check");

    QTest::newRow("F1: help, which lists the host's keys")
        << WindowCheck([](DictionaryEditor *window, TempDictionary &, const QString &) {
               ModalAnswerer help;
               QString text;
               help.handle([&](QWidget *dialog) {
                   text = dialog->findChild<QPlainTextEdit *>()->toPlainText();
                   dialog->close();
               });
               QTest::keySequence(window, QKeySequence(Qt::Key_F1));
               QVERIFY(help.answered());
               QVERIFY2(text.contains(QStringLiteral("Test Prediction Ctrl+T")), qPrintable(text));
           });
    QTest::newRow("Ctrl+S: save") << WindowCheck(
        [](DictionaryEditor *window, TempDictionary &dictionary, const QString &) {
            QVERIFY(dictionary->addWord(QStringLiteral("zebra"), QStringLiteral("edit")));
            QTest::keySequence(window, QKeySequence(Qt::CTRL | Qt::Key_S));
            QVERIFY(!dictionary->isDirty());
        });
    QTest::newRow("Ctrl+Shift+S: export, in UTF-8")
        << WindowCheck([](DictionaryEditor *window, TempDictionary &dictionary, const QString &folder) {
               QVERIFY(dictionary->addWord(QStringLiteral("café"), QStringLiteral("edit")));
               window->refreshList();
               const QString path = folder + QStringLiteral("/words.txt");
               ModalAnswerer fileDialog, saved;
               fileDialog.handle([&](QWidget *dialog) {
                   saved.clickButton(QStringLiteral("OK"));
                   dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(path);
                   static_cast<QDialog *>(dialog)->accept();
               });
               QTest::keySequence(window, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
               QVERIFY(fileDialog.answered() && saved.answered());
               QFile file(path);
               QVERIFY(file.open(QIODevice::ReadOnly));
               QCOMPARE(QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n")), dictionary->wordList());
           });
    QTest::newRow("Ctrl++ and Ctrl+-: font size")
        << WindowCheck([](DictionaryEditor *window, TempDictionary &, const QString &) {
               auto list = window->findChild<QListWidget *>();
               const int size = list->font().pointSize();
               QTest::keySequence(window, QKeySequence(Qt::CTRL | Qt::Key_Plus));
               QCOMPARE(list->font().pointSize(), size + 1);
               QTest::keySequence(window, QKeySequence(Qt::CTRL | Qt::Key_Minus));
               QCOMPARE(list->font().pointSize(), size);
           });
    QTest::newRow("Ctrl+M: more") << WindowCheck([](DictionaryEditor *window, TempDictionary &, const QString &) {
        QTest::keySequence(window, QKeySequence(Qt::CTRL | Qt::Key_M));
        QCOMPARE(window->width(), 742);
    });
    QTest::newRow("Ctrl+T: test window") << WindowCheck(
        [](DictionaryEditor *window, TempDictionary &, const QString &) {
            QTest::keySequence(window, QKeySequence(Qt::CTRL | Qt::Key_T));
            QTRY_VERIFY(qobject_cast<PredictionTestWindow *>(QApplication::activeWindow()));
            QApplication::activeWindow()->close();
        });
}

// Each key works with the focus in the word box, where typed letters still go afterwards.
void TestHostWindows::commandKeys()
{
    QFETCH(WindowCheck, check);
    TempDictionary dictionary(sampleLines);
    QTemporaryDir folder;
    HostWindowManager manager;
    DictionaryEditor *window = manager.addWindow(dictionary.reference(), true);
    manager.showAll();
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto wordBox = qobject_cast<QTextEdit *>(QApplication::focusWidget());
    QVERIFY(wordBox);
    check(window, dictionary, folder.path());
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    wordBox->setFocus();
    wordBox->clear();
    QTest::keyClicks(wordBox, QStringLiteral("abb"));
    QCOMPARE(wordBox->toPlainText(), QStringLiteral("abb"));
    window->hide();
}

// What the test window offers follows the line as it is typed and the dictionary as it is edited.
void TestHostWindows::testWindowFollowsTypingAndEdits()
{
    TempDictionary dictionary({"cab\tnoun/reg/10", "cable\tnoun/reg/12;verb/reg/5", "Cabin\tnoun/reg/12",
                               "cat\tnoun/reg/16", "dog\tnoun/reg/20"});
    HostWindowManager manager;
    DictionaryEditor *window = manager.addWindow(dictionary.reference(), true);
    QVERIFY(QMetaObject::invokeMethod(window, "on_TestButton_clicked", Q_ARG(bool, false)));
    PredictionTestWindow *test = manager.testWindow(dictionary.reference());
    QVERIFY(test && QTest::qWaitForWindowActive(test));
    QCOMPARE(test->offers().first(), QStringLiteral("dog\t20\tnoun"));

    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("A Ca"));
    QCOMPARE(test->offers(),
             (QStringList{"cat\t16\tnoun", "Cabin\t12\tnoun", "cable\t12\tnoun, verb", "cab\t10\tnoun"}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_B);
    QCOMPARE(test->wordBeingTyped(), QStringLiteral("Cab"));
    QCOMPARE(test->offers().size(), 3);

    // Edits made elsewhere show without typing: a frequency raised, a word removed.
    dictionary->findWord(QStringLiteral("cab"))->codes.first()->setFrequency(QStringLiteral("30"));
    dictionary->findWord(QStringLiteral("cable"))->removeWord();
    QTRY_COMPARE(test->offers(), (QStringList{"cab\t30\tnoun", "Cabin\t12\tnoun"}));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!test->isVisible());
}

void TestHostWindows::failedSave_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("dirtyAfter");
    QTest::addColumn<bool>("copyMade");
    QTest::newRow("Try Again once the folder is writable") << "Try Again" << false << false;
    QTest::newRow("Save a Copy") << "Save a Copy..." << true << true;
    QTest::newRow("Cancel") << "Cancel" << true << false;
}

void TestHostWindows::failedSave()
{
    QFETCH(QString, answer);
    QFETCH(bool, dirtyAfter);
    QFETCH(bool, copyMade);

    TempDictionary dictionary(sampleLines);
    QTemporaryDir elsewhere;
    const QString copyPath = elsewhere.filePath(QStringLiteral("rescued.dict"));
    HostWindowManager manager;
    DictionaryEditor *window = manager.addWindow(dictionary.reference(), true);
    window->show();
    // The window shows nouns only: a copy walks every word, then must leave the window's filter as it was.
    auto filter = window->findChild<QComboBox *>(QStringLiteral("FilterLIst"));
    QVERIFY(filter);
    filter->setCurrentText(QStringLiteral("Nouns only"));
    const QStringList shown = listItems(window);
    QCOMPARE(shown, (QStringList{"abbot", "cat"}));

    QVERIFY(dictionary->addWord(QStringLiteral("zebra"), QStringLiteral("edit")));
    window->refreshList();
    const QStringList before = listItems(window);
    QCOMPARE(before, (QStringList{"abbot", "cat", "zebra"}));
    const int words = dictionary->wordCount();
    QVERIFY(QFile::setPermissions(dictionary.folder(), readOnlyFolder));

    ModalAnswerer failure, fileDialog, done;
    QString seenFiles;
    if (answer == QLatin1String("Try Again")) {
        failure.handle([&](QWidget *box) {
            QFile::setPermissions(dictionary.folder(), writableFolder);
            clickButtonWithText(box, answer);
        });
    } else if (answer == QLatin1String("Save a Copy...")) {
        failure.handle([&](QWidget *box) {
            fileDialog.handle([&](QWidget *modal) {
                auto dialog = qobject_cast<QFileDialog *>(modal);
                done.clickButton(QStringLiteral("OK"));
                if (!dialog) {
                    modal->close();
                    return;
                }
                seenFiles = dialog->nameFilters().join(QLatin1Char(';'));
                // Type the path as a person would: selectFile() leaves the name box alone while it has
                // the focus, and whether it has it yet depends on when the dialog got activated.
                if (auto nameBox = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                    nameBox->setText(copyPath);
                static_cast<QDialog *>(dialog)->accept();
            });
            clickButtonWithText(box, answer);
        });
    } else {
        failure.clickButton(answer);
    }
    QVERIFY(QMetaObject::invokeMethod(window, "on_SaveButton_clicked", Q_ARG(bool, false)));
    QFile::setPermissions(dictionary.folder(), writableFolder);

    QVERIFY(failure.answered());
    QCOMPARE(failure.className(), QStringLiteral("QMessageBox"));
    QVERIFY2(failure.text().contains(QStringLiteral("\"Test\" could not be saved.")), qPrintable(failure.text()));
    QCOMPARE(dictionary->isDirty(), dirtyAfter);
    QCOMPARE(QFileInfo::exists(copyPath), copyMade);
    QVERIFY(!QFileInfo::exists(copyPath + QStringLiteral(".part")));
    if (copyMade) {
        QVERIFY(fileDialog.answered());
        QVERIFY(seenFiles.contains(QStringLiteral("*.dict")));
        QVERIFY(done.answered());
        QVERIFY(done.text().contains(copyPath));
        QString error;
        DictionaryReference copy = Prediction::openDictionary(copyPath, &error);
        QVERIFY2(copy != 0, qPrintable(error));
        QCOMPARE(copy->wordCount(), words);
        QCOMPARE(copy.displayName(), QStringLiteral("Test"));
        // The unsaved word and the grammar of the saved ones are in the copy.
        QVERIFY(copy->findWord(QStringLiteral("zebra")));
        Word *call = copy->findWord(QStringLiteral("call"));
        QVERIFY(call);
        QCOMPARE(call->codes.size(), 1);
        QCOMPARE(call->codes.first()->usages.size(), 1);
    }
    // The window's list and filter are as they were.
    QCOMPARE(filter->currentText(), QStringLiteral("Nouns only"));
    QCOMPARE(listItems(window), before);
    QCOMPARE(dictionary->wordList(), before);
    window->hide();
}

// Done, Yes, and a save that fails and is left: the window comes back with the changes, and the
// application does not end; Done and No then discards them and the application ends.
void TestHostWindows::cancelledSaveBringsTheWindowBack()
{
    TempDictionary dictionary(sampleLines);
    HostWindowManager manager;
    DictionaryEditor *window = manager.addWindow(dictionary.reference(), true);
    manager.showAll();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(dictionary->addWord(QStringLiteral("zebra"), QStringLiteral("edit")));
    QVERIFY(QFile::setPermissions(dictionary.folder(), readOnlyFolder));

    ModalAnswerer question, failure;
    question.handle([&](QWidget *modal) {
        failure.clickButton(QStringLiteral("Cancel"));
        modal->findChild<QAbstractButton *>(QStringLiteral("YesButton"))->click();
    });
    QVERIFY(QMetaObject::invokeMethod(window, "on_DoneButton_clicked"));
    QFile::setPermissions(dictionary.folder(), writableFolder);
    QVERIFY(question.answered());
    QVERIFY(failure.answered());
    QVERIFY(failure.failure().isEmpty());
    QTRY_VERIFY(window->isVisible());
    QVERIFY(dictionary->isDirty());
    QVERIFY(!applicationQuits(300));
    QVERIFY(window->isVisible());

    ModalAnswerer discard;
    discard.clickButton(QStringLiteral("No"));
    QVERIFY(QMetaObject::invokeMethod(window, "on_DoneButton_clicked"));
    QVERIFY(discard.answered());
    QVERIFY(!window->isVisible());
    QVERIFY(!dictionary->isDirty());
    QVERIFY(applicationQuits(5000));
}

void TestHostWindows::quitsWhenTheLastWindowHides()
{
    TempDictionary first(sampleLines), second(sampleLines);
    HostWindowManager manager;
    DictionaryEditor *one = manager.addWindow(first.reference(), true);
    DictionaryEditor *two = manager.addWindow(second.reference(), false);
    manager.showAll();
    QVERIFY(QTest::qWaitForWindowExposed(two));

    // Done on a clean dictionary hides the window without a question; one window is still showing.
    QVERIFY(QMetaObject::invokeMethod(one, "on_DoneButton_clicked"));
    QVERIFY(!one->isVisible());
    QVERIFY(!applicationQuits(300));

    QVERIFY(QMetaObject::invokeMethod(two, "on_DoneButton_clicked"));
    QVERIFY(!two->isVisible());
    QVERIFY(applicationQuits(5000));
}

QTEST_MAIN(TestHostWindows)
#include "tst_hostwindows.moc"
