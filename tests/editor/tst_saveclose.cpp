// Saving, the Done question, the close box, and exporting the listed words.

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "editortesthelpers.h"
#include "modalanswerer.h"

using namespace EditorTest;

namespace {

/// Adds a word behind the window's back, so that the dictionary has unsaved changes.
void makeDirty(TempDictionary &dict, const QString &word)
{
    dict->begin_edit();
    QVERIFY(dict->addWord(word, QStringLiteral("edit")));
    QVERIFY(dict->isDirty());
}

} // namespace

class TestSaveClose : public QObject
{
    Q_OBJECT

private slots:
    void saveButton_data();
    void saveButton();
    void doneOnDirtyDictionary_data();
    void doneOnDirtyDictionary();
    void doneTreatsTransferTargetWithDictionary_data();
    void doneTreatsTransferTargetWithDictionary();
    void closeBoxRunsDoneAndAnnounces_data();
    void closeBoxRunsDoneAndAnnounces();
    void exportWords_data();
    void exportWords();
    void exportCancelledWritesNothing();
    void cleanup();
};

void TestSaveClose::saveButton_data()
{
    QTest::addColumn<bool>("saveByHost");
    QTest::addColumn<bool>("transfer");
    QTest::addColumn<int>("saveSignals");
    QTest::addColumn<int>("changedSignals");
    QTest::newRow("engine saves") << false << false << 0 << 0;
    QTest::newRow("engine saves both") << false << true << 0 << 0;
    QTest::newRow("host saves") << true << false << 1 << 1;
    QTest::newRow("host saves both") << true << true << 2 << 1;
}

void TestSaveClose::saveButton()
{
    QFETCH(bool, saveByHost);
    QFETCH(bool, transfer);
    QFETCH(int, saveSignals);
    QFETCH(int, changedSignals);
    TempDictionary dict({"apple"});
    TempDictionary target({"zebra"});
    auto editor = create(dict.reference(), true, QString(), saveByHost);
    if (transfer)
        editor->setTransferTo(target.reference());
    makeDirty(dict, QStringLiteral("banana"));
    makeDirty(target, QStringLiteral("yak"));
    QSignalSpy saves(editor.get(), SIGNAL(Save_Dictionary(DictionaryReference)));
    QSignalSpy changed(editor.get(), SIGNAL(DictionaryChanged()));
    child<QPushButton>(editor.get(), "SaveButton")->click();
    QCOMPARE(saves.count(), saveSignals);
    QCOMPARE(changed.count(), changedSignals);
    if (saveSignals > 0)
        QVERIFY(argument(saves, 0) == dict.reference());
    if (saveSignals > 1)
        QVERIFY(argument(saves, 1) == target.reference());
    // The engine saves only when the host does not.
    QCOMPARE(dict->isDirty(), saveByHost);
    QCOMPARE(target->isDirty(), saveByHost || !transfer);
}

void TestSaveClose::doneOnDirtyDictionary_data()
{
    QTest::addColumn<bool>("saveByHost");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<bool>("dirtyAfter");
    QTest::addColumn<bool>("wordKept");
    QTest::addColumn<int>("saveSignals");
    QTest::newRow("yes, engine saves") << false << "YesButton" << true << false << true << 0;
    QTest::newRow("yes, host saves") << true << "YesButton" << true << true << true << 1;
    QTest::newRow("no reloads") << false << "NoButton" << true << false << false << 0;
    QTest::newRow("cancel stays open") << false << "CancelButton" << false << true << true << 0;
    QTest::newRow("escape hides, keeps changes") << false << "" << true << true << true << 0;
}

void TestSaveClose::doneOnDirtyDictionary()
{
    QFETCH(bool, saveByHost);
    QFETCH(QString, answer);
    QFETCH(bool, hidden);
    QFETCH(bool, dirtyAfter);
    QFETCH(bool, wordKept);
    QFETCH(int, saveSignals);
    TempDictionary dict({"apple"}, Prediction::American, QStringLiteral("My Words"));
    auto editor = create(dict.reference(), true, QString(), saveByHost);
    QVERIFY(showActive(editor.get()));
    makeDirty(dict, QStringLiteral("banana"));
    QSignalSpy saves(editor.get(), SIGNAL(Save_Dictionary(DictionaryReference)));
    // The question is a modal dialog of its own, with no parent.
    bool parentless = false;
    bool modal = false;
    ModalAnswerer answerer;
    answerer.handle([&](QWidget *dialog) {
        parentless = !dialog->parentWidget();
        modal = dialog->isModal();
        if (answer.isEmpty())
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            dialog->findChild<QPushButton *>(answer)->click();
    });
    child<QPushButton>(editor.get(), "DoneButton")->click();
    QVERIFY(answerer.answered());
    QVERIFY(parentless);
    QVERIFY(modal);
    QCOMPARE(answerer.className(), QStringLiteral("ChangeConfirmationDlg"));
    QCOMPARE(answerer.title(), QStringLiteral("Lexora Editor"));
    QVERIFY2(answerer.text().contains(QStringLiteral("\"My Words\" has changed.")), qPrintable(answerer.text()));
    QCOMPARE(editor->isVisible(), !hidden);
    QCOMPARE(dict->isDirty(), dirtyAfter);
    QCOMPARE(dict->findWord(QStringLiteral("banana")) != nullptr, wordKept);
    QCOMPARE(saves.count(), saveSignals);
}

void TestSaveClose::doneTreatsTransferTargetWithDictionary_data()
{
    QTest::addColumn<bool>("dirty");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("targetDirty");
    QTest::addColumn<bool>("targetWordKept");
    // Only the window's own dictionary decides whether to ask; the target follows the answer.
    QTest::newRow("clean dictionary asks nothing") << false << "" << true << true;
    QTest::newRow("yes saves both") << true << "YesButton" << false << true;
    QTest::newRow("no reloads both") << true << "NoButton" << false << false;
}

void TestSaveClose::doneTreatsTransferTargetWithDictionary()
{
    QFETCH(bool, dirty);
    QFETCH(QString, answer);
    QFETCH(bool, targetDirty);
    QFETCH(bool, targetWordKept);
    TempDictionary dict({"apple"});
    TempDictionary target({"zebra"});
    auto editor = create(dict.reference());
    editor->setTransferTo(target.reference());
    QVERIFY(showActive(editor.get()));
    if (dirty)
        makeDirty(dict, QStringLiteral("banana"));
    makeDirty(target, QStringLiteral("yak"));
    QSignalSpy closed(editor.get(), SIGNAL(EditWindow_Close(DictionaryReference)));
    ModalAnswerer answerer;
    answerer.clickButton(answer.isEmpty() ? QStringLiteral("CancelButton") : answer);
    child<QPushButton>(editor.get(), "DoneButton")->click();
    QCOMPARE(answerer.answered(), dirty);
    QVERIFY(!editor->isVisible());
    QCOMPARE(editor->result(), int(QDialog::Accepted));
    QCOMPARE(closed.count(), 0);
    QCOMPARE(target->isDirty(), targetDirty);
    QCOMPARE(target->findWord(QStringLiteral("yak")) != nullptr, targetWordKept);
}

void TestSaveClose::closeBoxRunsDoneAndAnnounces_data()
{
    QTest::addColumn<bool>("dirty");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("visibleAfter");
    QTest::newRow("clean") << false << "" << false;
    QTest::newRow("dirty, cancel") << true << "CancelButton" << true;
    QTest::newRow("dirty, no") << true << "NoButton" << false;
}

void TestSaveClose::closeBoxRunsDoneAndAnnounces()
{
    QFETCH(bool, dirty);
    QFETCH(QString, answer);
    QFETCH(bool, visibleAfter);
    TempDictionary dict({"apple"});
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    if (dirty)
        makeDirty(dict, QStringLiteral("banana"));
    QSignalSpy closed(editor.get(), SIGNAL(EditWindow_Close(DictionaryReference)));
    ModalAnswerer answerer;
    if (!answer.isEmpty())
        answerer.clickButton(answer);
    const bool accepted = editor->close();
    QVERIFY(!accepted);
    QCOMPARE(answerer.answered(), dirty);
    QCOMPARE(editor->isVisible(), visibleAfter);
    QCOMPARE(closed.count(), 1);
    QVERIFY(argument(closed, 0) == dict.reference());
}

void TestSaveClose::exportWords_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("earlier"); // what the file held before, if it existed
    QTest::newRow("three words") << QStringList{"a", "b", "c"} << QByteArray("a\r\nb\r\nc") << QByteArray();
    QTest::newRow("empty list") << QStringList{} << QByteArray() << QByteArray();
    QTest::newRow("outside Latin-1") << QStringList{"caf\u00e9", "\u0434\u0430"} << QByteArray("caf\xe9\r\n??")
                                     << QByteArray();
    QTest::newRow("replaces a longer file")
        << QStringList{"x"} << QByteArray("x") << QByteArray("a much longer earlier content\r\n");
}

void TestSaveClose::exportWords()
{
    QFETCH(QStringList, words);
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, earlier);
    TempDictionary dict(words, Prediction::American, QStringLiteral("Listed"));
    QVERIFY2(dict.error().isEmpty(), qPrintable(dict.error()));
    auto editor = create(dict.reference(), false);
    editor->collapse(false);
    const QString target = dict.folder() + QStringLiteral("/export.txt");
    if (!earlier.isEmpty()) {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(earlier);
    }
    QString caption;
    QString startName;
    QStringList filters;
    QWidget *dialogParent = nullptr;
    // The confirmation: information icon, OK alone, no parent, a plain dialog window.
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool infoParentless = false;
    Qt::WindowFlags infoFlags;
    ModalAnswerer info;
    ModalAnswerer save;
    save.handle([&](QWidget *modal) {
        auto dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        caption = dialog->windowTitle();
        filters = dialog->nameFilters();
        dialogParent = dialog->parentWidget();
        startName = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text();
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
        dialog->selectFile(target);
        // The dialog may still be reading its starting folder; name the file in full.
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(target);
        info.handle([&](QWidget *widget) {
            auto box = qobject_cast<QMessageBox *>(widget);
            infoParentless = !widget->parentWidget();
            infoFlags = widget->windowFlags();
            if (!box) {
                static_cast<QDialog *>(widget)->reject();
                return;
            }
            icon = box->icon();
            buttons = box->standardButtons();
            box->button(QMessageBox::Ok)->click();
        });
        static_cast<QDialog *>(dialog)->accept();
    });
    child<QPushButton>(editor.get(), "ExportWordButton")->click();
    QVERIFY(save.answered());
    QVERIFY(info.answered());
    QCOMPARE(caption, QStringLiteral("Save List of Words"));
    QCOMPARE(filters, QStringList{"Text (*.txt)"});
    QCOMPARE(startName, QStringLiteral("Listed.txt"));
    QCOMPARE(dialogParent, editor.get());
    QCOMPARE(info.title(), QStringLiteral("INFO"));
    QCOMPARE(info.className(), QStringLiteral("QMessageBox"));
    QCOMPARE(icon, QMessageBox::Information);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(infoParentless);
    QCOMPARE(infoFlags & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(infoFlags.testFlag(Qt::MSWindowsFixedSizeDialogHint));
    QCOMPARE(info.text(), QStringLiteral("Text file %1 saved.").arg(target));
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
}

void TestSaveClose::exportCancelledWritesNothing()
{
    TempDictionary dict({"x", "y"});
    auto editor = create(dict.reference());
    ModalAnswerer info;
    ModalAnswerer save;
    save.handle([&](QWidget *dialog) {
        // Armed only now, so that it can answer nothing but a message box that follows the file dialog.
        info.clickButton(QStringLiteral("OK"));
        static_cast<QDialog *>(dialog)->reject();
    });
    QVERIFY(QMetaObject::invokeMethod(editor.get(), "on_ExportWordButton_clicked"));
    QVERIFY(save.answered());
    QCOMPARE(QDir(dict.folder()).entryList(QStringList{"*.txt"}, QDir::Files), QStringList());
    // A confirmation would have run its modal loop, and been answered, before the command returned.
    QVERIFY(!info.answered());
}

void TestSaveClose::cleanup()
{
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(TestSaveClose)
#include "tst_saveclose.moc"
