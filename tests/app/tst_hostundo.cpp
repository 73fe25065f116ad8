// Undo and Redo in the host's editor windows: the keys and the context menu bring a deleted word back into
// the list under its old object and take it out again; a transfer is undone from the window it went to.

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QListWidget>
#include <QTest>

#include "dictionaryeditor.h"
#include "hostsetup.h"
#include "hostwindowmanager.h"
#include "modalanswerer.h"
#include "tempdictionary.h"
#include "windowsleft.h"

namespace {

const QStringList sampleLines = {"abbot\tnoun/reg/14", "call\tverb/reg/18", "cat\tnoun/reg/16", "dog\tnoun/reg/20"};

QAction *action(QWidget *window, const QString &text)
{
    for (QAction *action : window->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

QStringList listed(QWidget *window)
{
    QStringList words;
    auto list = window->findChild<QListWidget *>();
    for (int i = 0; i < list->count(); ++i)
        words << list->item(i)->text();
    return words;
}

QString current(QWidget *window)
{
    const QListWidgetItem *item = window->findChild<QListWidget *>()->currentItem();
    return item ? item->text() : QString();
}

// Undoes or redoes as a person would: a key pressed where the focus is, or an entry of the context menu.
void use(QWidget *window, const QString &how, const QString &entry)
{
    if (how != QLatin1String("menu")) {
        QTest::keySequence(QApplication::focusWidget(), QKeySequence(how));
        return;
    }
    ModalAnswerer menu;
    menu.chooseMenuEntry(entry);
    const QPoint point(window->width() / 2, 4);
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, window->mapToGlobal(point));
    QApplication::sendEvent(window, &event);
    QVERIFY(menu.answered());
}

} // namespace

class TestHostUndo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        HostSetup::apply();
        QApplication::setQuitOnLastWindowClosed(false);
    }
    void cleanup() { QTRY_VERIFY2(windowsLeft().isEmpty(), qPrintable(windowsLeft().join(' '))); }

    void deletedWordComesBack_data();
    void deletedWordComesBack();
    void transferUndoneInTheOtherWindow();
};

void TestHostUndo::deletedWordComesBack_data()
{
    QTest::addColumn<QString>("undo");
    QTest::addColumn<QString>("redo");
    QTest::newRow("Ctrl+Z, Ctrl+Shift+Z") << "Ctrl+Z"
                                          << "Ctrl+Shift+Z";
    QTest::newRow("Ctrl+Z, Ctrl+Y") << "Ctrl+Z"
                                    << "Ctrl+Y";
    QTest::newRow("context menu") << "menu"
                                  << "menu";
}

void TestHostUndo::deletedWordComesBack()
{
    QFETCH(QString, undo);
    QFETCH(QString, redo);
    TempDictionary dictionary(sampleLines), other(sampleLines);
    dictionary.release();
    DictionaryReference opened = Prediction::openDictionary(dictionary.path()); // no history yet
    HostWindowManager manager;
    DictionaryEditor *window = manager.addWindow(opened, true);
    DictionaryEditor *viewer = manager.addWindow(other.reference(), false);
    manager.showAll();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QVERIFY(!action(viewer, "Undo") && !action(viewer, "Redo"));
    QAction *undoAction = action(window, "Undo");
    QAction *redoAction = action(window, "Redo");
    QVERIFY(undoAction && redoAction && !undoAction->isEnabled() && !redoAction->isEnabled());

    Word *cat = opened->findWord("cat");
    window->findWord("cat");
    ModalAnswerer confirm;
    confirm.clickButton("OK");
    QVERIFY(QMetaObject::invokeMethod(window, "on_DeleteWordButton_clicked"));
    QVERIFY(confirm.answered() && cat->isRemoved());
    window->activateWindow(); // what a desktop's window manager does when the question closes
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTRY_COMPARE(undoAction->toolTip(), QStringLiteral("Undo: Delete \"cat\" (Ctrl+Z)"));
    QVERIFY(undoAction->isEnabled());

    use(window, undo, "Undo");
    QCOMPARE(opened->findWord("cat"), cat);
    QCOMPARE(listed(window), (QStringList{"abbot", "call", "cat", "dog"}));
    QCOMPARE(current(window), QStringLiteral("cat"));
    QVERIFY(!opened->isDirty() && !undoAction->isEnabled() && redoAction->isEnabled());
    QCOMPARE(redoAction->toolTip(), QStringLiteral("Redo: Delete \"cat\" (Ctrl+Shift+Z)"));

    // The key's release took the focus to the word box, whose own undo of typing must not take the key.
    use(window, redo, "Redo");
    QVERIFY(cat->isRemoved());
    QCOMPARE(listed(window), (QStringList{"abbot", "call", "dog"}));
    QVERIFY(undoAction->isEnabled() && !redoAction->isEnabled());

    // An edit made in the details panel reaches the actions without a word from the window.
    opened->findWord("dog")->codes.at(0)->setFrequency("9");
    QTRY_COMPARE(undoAction->toolTip(), QStringLiteral("Undo: Frequency of \"dog\" 20 \u2192 9 (Ctrl+Z)"));
    window->hide();
    viewer->hide();
}

// The window a word was transferred to takes the transfer back: the word is listed again where it came from.
void TestHostUndo::transferUndoneInTheOtherWindow()
{
    TempDictionary collected(sampleLines), personal({"zebra\tnoun/reg/9"});
    HostWindowManager manager;
    DictionaryEditor *source = manager.addWindow(collected.reference(), true);
    DictionaryEditor *target = manager.addWindow(personal.reference(), true);
    source->setTransferTo(personal.reference());
    manager.showAll();
    QVERIFY(QTest::qWaitForWindowExposed(target));
    source->findWord("call");
    QVERIFY(QMetaObject::invokeMethod(source, "on_AddWordButton_clicked"));
    QVERIFY(!collected->findWord("call") && personal->findWord("call"));
    target->refreshList();
    QCOMPARE(listed(target), (QStringList{"call", "zebra"}));

    target->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(target));
    QTRY_VERIFY(action(target, "Undo")->isEnabled());
    action(target, "Undo")->trigger();
    QCOMPARE(listed(target), QStringList{"zebra"});
    QCOMPARE(listed(source), (QStringList{"abbot", "call", "cat", "dog"}));
    QCOMPARE(current(source), QStringLiteral("call"));
    QVERIFY(!collected->isDirty() && !personal->isDirty());
    source->hide();
    target->hide();
}

QTEST_MAIN(TestHostUndo)
#include "tst_hostundo.moc"
