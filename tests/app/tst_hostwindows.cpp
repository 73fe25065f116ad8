// The host's handling of its editor windows: placement, saving when a window asks, a failed save answered
// for real (try again, save a copy, cancel), and ending the application when the last window hides.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include "dictionaryeditor.h"
#include "hostmessage.h"
#include "hostwindowmanager.h"
#include "modalanswerer.h"
#include "tempdictionary.h"

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

    void windowsSideBySide_data();
    void windowsSideBySide();
    void saveRequestSaves();
    void failedSave_data();
    void failedSave();
    void cancelledSaveBringsTheWindowBack();
    void quitsWhenTheLastWindowHides();
};

void TestHostWindows::initTestCase()
{
    // Answer the host's message boxes here, as a person would.
    HostMessage::setInteractive(true);
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestHostWindows::cleanup()
{
    QTRY_VERIFY(!QApplication::activeModalWidget());
}

void TestHostWindows::windowsSideBySide_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("one") << 1;
    QTest::newRow("two") << 2;
    QTest::newRow("three") << 3;
}

void TestHostWindows::windowsSideBySide()
{
    QFETCH(int, count);
    std::vector<std::unique_ptr<TempDictionary>> dictionaries;
    HostWindowManager manager;
    for (int i = 0; i < count; ++i) {
        dictionaries.push_back(std::make_unique<TempDictionary>(sampleLines));
        DictionaryEditor *window = manager.addWindow(dictionaries.back()->reference(), true);
        QVERIFY(!window->isVisible());
    }
    QCOMPARE(int(manager.windows().size()), count);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    for (int i = 0; i < count; ++i) {
        const QRect geometry = manager.windows()[i]->geometry();
        QVERIFY(geometry.left() >= available.left());
        if (i > 0 && geometry.right() < available.right()) {
            const QRect previous = manager.windows()[i - 1]->geometry();
            QVERIFY2(geometry.left() > previous.right() || geometry.left() == manager.windows()[0]->x(),
                     qPrintable(QStringLiteral("window %1 overlaps the one before").arg(i)));
            QCOMPARE(geometry.top(), previous.top());
        }
    }
    manager.showAll();
    for (DictionaryEditor *window : manager.windows())
        QVERIFY(window->isVisible());
}

// A window made by the host leaves saving to it; the host's save writes the dictionary.
void TestHostWindows::saveRequestSaves()
{
    TempDictionary dictionary(sampleLines);
    HostWindowManager manager;
    DictionaryEditor *window = manager.addWindow(dictionary.reference(), true);
    QVERIFY(dictionary->addWord(QStringLiteral("zebra"), QStringLiteral("edit")));
    QVERIFY(dictionary->isDirty());
    QVERIFY(QMetaObject::invokeMethod(window, "on_SaveButton_clicked", Q_ARG(bool, false)));
    QVERIFY(!dictionary->isDirty());
    QVERIFY(dictionary->reload());
    QVERIFY(dictionary->findWord(QStringLiteral("zebra")));
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
