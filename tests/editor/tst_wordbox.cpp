// The word box: find-as-you-type, Up and Down, Return, and keys that reach the window elsewhere.

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "editortesthelpers.h"
#include "ourlineedit.h"

using namespace EditorTest;

namespace {

const QStringList ThreeWords = {"Abbey\tname/-/5", "abbot\tnoun/reg/9", "about\tadv./-/20"};

} // namespace

class TestWordBox : public QObject
{
    Q_OBJECT

private slots:
    void findAsYouType_data();
    void findAsYouType();
    void noMatchKeepsCurrentItemAndClearsPanel();
    void emptyingTheBoxChangesNothing();
    void upAndDown_data();
    void upAndDown();
    void returnAdds_data();
    void returnAdds();
    void keysReachingWindowWhileSpinBoxHasFocus_data();
    void keysReachingWindowWhileSpinBoxHasFocus();
    void inputMethodReachingWindowGoesToWordBox();
    void findWordByName();
    void wordBoxSignalsAndFocusOut();
    void cleanup();
};

void TestWordBox::findAsYouType_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("shown");
    auto row = [](const char *name, const char *typed, const char *current, const char *shown) {
        QTest::newRow(name) << QString::fromLatin1(typed) << QString::fromLatin1(current) << QString::fromLatin1(shown);
    };
    row("a", "a", "Abbey", "");
    row("ab: prefix ignoring case, not exact", "ab", "Abbey", "");
    row("abo", "abo", "about", "");
    row("about: exact", "about", "about", "about");
    row("abbot: exact", "abbot", "abbot", "abbot");
    row("abbey: prefix in another case", "abbey", "Abbey", "");
    row("Abbey: exact with case", "Abbey", "Abbey", "Abbey");
}

void TestWordBox::findAsYouType()
{
    QFETCH(QString, typed);
    QFETCH(QString, current);
    QFETCH(QString, shown);
    TempDictionary dict(ThreeWords);
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    QSignalSpy changing(editor.get(), SIGNAL(textChanging(QString)));
    typeInto(wordBox(editor.get()), typed);
    QCOMPARE(currentText(list(editor.get())), current);
    QCOMPARE(panelWord(editor.get()), shown);
    QCOMPARE(changing.count(), typed.size());
    QCOMPARE(changing.constLast().at(0).toString(), typed);
    // Typing does not write back into the word box.
    QCOMPARE(wordBox(editor.get())->toPlainText(), typed);
    auto addGrammar = child<QPushButton>(editor.get(), "addGrammarButton");
    QCOMPARE(addGrammar->isEnabledTo(addGrammar->parentWidget()), !shown.isEmpty());
    auto add = child<QPushButton>(editor.get(), "AddWordButton");
    QCOMPARE(add->isEnabled(), shown.isEmpty());
}

void TestWordBox::noMatchKeepsCurrentItemAndClearsPanel()
{
    TempDictionary dict(ThreeWords);
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    typeInto(wordBox(editor.get()), QStringLiteral("abbot"));
    QCOMPARE(panelWord(editor.get()), QStringLiteral("abbot"));
    QTest::keyClicks(wordBox(editor.get()), QStringLiteral("x"));
    QCOMPARE(currentText(list(editor.get())), QStringLiteral("abbot"));
    QVERIFY(panelEmpty(editor.get()));
    QVERIFY(child<QPushButton>(editor.get(), "AddWordButton")->isEnabled());
}

void TestWordBox::emptyingTheBoxChangesNothing()
{
    TempDictionary dict(ThreeWords);
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    auto box = wordBox(editor.get());
    typeInto(box, QStringLiteral("about"));
    QCOMPARE(panelWord(editor.get()), QStringLiteral("about"));
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(box->toPlainText(), QString());
    QCOMPARE(currentText(list(editor.get())), QStringLiteral("about"));
    QCOMPARE(panelWord(editor.get()), QStringLiteral("about"));
}

void TestWordBox::upAndDown_data()
{
    QTest::addColumn<int>("startRow");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expectedRow");
    QTest::addColumn<bool>("moved");
    QTest::newRow("down from the first row") << 0 << int(Qt::Key_Down) << 1 << true;
    QTest::newRow("up from the last row") << 2 << int(Qt::Key_Up) << 1 << true;
    QTest::newRow("up on the first row") << 0 << int(Qt::Key_Up) << 0 << true;
    QTest::newRow("down on the last row") << 2 << int(Qt::Key_Down) << 2 << false;
}

void TestWordBox::upAndDown()
{
    QFETCH(int, startRow);
    QFETCH(int, key);
    QFETCH(int, expectedRow);
    QFETCH(bool, moved);
    TempDictionary dict({"alpha", "beta", "gamma"});
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    auto listWidget = list(editor.get());
    auto box = wordBox(editor.get());
    typeInto(box, listWidget->item(startRow)->text());
    QCOMPARE(listWidget->currentRow(), startRow);
    box->setPlainText(QStringLiteral("g"));
    listWidget->setCurrentRow(startRow);
    // The press moves the focus to the list, so the release goes there, as it would for a real key.
    QTest::keyPress(box, Qt::Key(key));
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(listWidget->currentRow(), expectedRow);
    if (moved) {
        QCOMPARE(box->toPlainText(), listWidget->item(expectedRow)->text());
        QCOMPARE(box->textCursor().selectedText(), listWidget->item(expectedRow)->text());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(listWidget));
        QCOMPARE(panelWord(editor.get()), listWidget->item(expectedRow)->text());
    } else {
        QCOMPARE(box->toPlainText(), QStringLiteral("g"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(box));
    }
}

void TestWordBox::returnAdds_data()
{
    // How Return arrives: pressed in the word box, sent to the window while the list has the focus, or as a
    // control character inside pasted text.
    QTest::addColumn<QString>("route");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("focusToList");
    QTest::newRow("word box, editor") << "box" << int(Qt::Key_Return) << true << true;
    QTest::newRow("word box, viewer") << "box" << int(Qt::Key_Return) << false << true;
    QTest::newRow("window, Return, editor") << "window" << int(Qt::Key_Return) << true << true;
    QTest::newRow("window, Enter, editor") << "window" << int(Qt::Key_Enter) << true << true;
    QTest::newRow("window, Return, viewer") << "window" << int(Qt::Key_Return) << false << false;
    QTest::newRow("window, Enter, viewer") << "window" << int(Qt::Key_Enter) << false << false;
    QTest::newRow("control character, editor") << "control" << 0 << true << true;
}

void TestWordBox::returnAdds()
{
    QFETCH(QString, route);
    QFETCH(int, key);
    QFETCH(bool, writable);
    QFETCH(bool, focusToList);
    TempDictionary dict(ThreeWords);
    auto editor = create(dict.reference(), writable);
    QVERIFY(showActive(editor.get()));
    QSignalSpy changed(editor.get(), SIGNAL(DictionaryChanged()));
    const int before = dict->wordCount();
    auto box = wordBox(editor.get());
    QWidget *focused = nullptr; // where the focus is once the key has been handled
    if (route == QLatin1String("control")) {
        box->setFocus();
        box->setPlainText(QStringLiteral("new") + QChar(0x13) + QStringLiteral("t"));
    } else if (route == QLatin1String("box")) {
        typeInto(box, QStringLiteral("newt"));
        // The press moves the focus to the list, so the release goes there, as it would for a real key.
        QTest::keyPress(box, Qt::Key(key));
        focused = QApplication::focusWidget();
        QTest::keyRelease(focused, Qt::Key(key));
    } else {
        typeInto(box, QStringLiteral("newt"));
        list(editor.get())->setFocus();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(editor.get(), &press);
    }
    QCOMPARE(box->toPlainText(), QStringLiteral("newt"));
    if (!focused)
        focused = QApplication::focusWidget();
    QCOMPARE(focused, focusToList ? static_cast<QWidget *>(list(editor.get())) : box);
    QCOMPARE(dict->findWord(QStringLiteral("newt")) != nullptr, writable);
    QCOMPARE(dict->wordCount(), before + (writable ? 1 : 0));
    QCOMPARE(changed.count(), writable ? 1 : 0);
    QCOMPARE(listed(list(editor.get())), dict->wordList());
    if (writable)
        QCOMPARE(currentText(list(editor.get())), QStringLiteral("newt"));
    QVERIFY(!DictEditor::inTextChanged);
}

void TestWordBox::keysReachingWindowWhileSpinBoxHasFocus_data()
{
    QTest::addColumn<QString>("spinBox");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("letThrough");
    QTest::newRow("digit to MaxFreq") << "MaxFreq" << int(Qt::Key_7) << "7" << true;
    QTest::newRow("0 to MinFreq") << "MinFreq" << int(Qt::Key_0) << "0" << true;
    QTest::newRow("9 to MaxFreq") << "MaxFreq" << int(Qt::Key_9) << "9" << true;
    QTest::newRow("backspace") << "MaxFreq" << int(Qt::Key_Backspace) << "" << true;
    QTest::newRow("delete") << "MinFreq" << int(Qt::Key_Delete) << "" << true;
    QTest::newRow("left") << "MaxFreq" << int(Qt::Key_Left) << "" << true;
    QTest::newRow("letter") << "MaxFreq" << int(Qt::Key_X) << "x" << false;
    QTest::newRow("Home") << "MaxFreq" << int(Qt::Key_Home) << "" << false;
}

void TestWordBox::keysReachingWindowWhileSpinBoxHasFocus()
{
    QFETCH(QString, spinBox);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(bool, letThrough);
    TempDictionary dict(ThreeWords);
    auto editor = create(dict.reference());
    editor->collapse(false);
    QVERIFY(showActive(editor.get()));
    auto box = wordBox(editor.get());
    box->setPlainText(QString());
    QWidget *spin = editor->findChild<QWidget *>(spinBox);
    spin->setFocus();
    QCOMPARE(QApplication::focusWidget(), spin);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(editor.get(), &press);
    if (letThrough) {
        QCOMPARE(QApplication::focusWidget(), spin);
        QCOMPARE(box->toPlainText(), QString());
    } else {
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(box));
        QCOMPARE(box->toPlainText(), text);
    }
}

void TestWordBox::inputMethodReachingWindowGoesToWordBox()
{
    TempDictionary dict(ThreeWords);
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    auto box = wordBox(editor.get());
    box->clear();
    list(editor.get())->setFocus();
    QInputMethodEvent composed(QString(), {});
    composed.setCommitString(QStringLiteral("abo"));
    QApplication::sendEvent(editor.get(), &composed);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(box));
    QCOMPARE(box->toPlainText(), QStringLiteral("abo"));
    QCOMPARE(currentText(list(editor.get())), QStringLiteral("about"));
}

void TestWordBox::findWordByName()
{
    TempDictionary dict(ThreeWords);
    auto editor = create(dict.reference());
    QVERIFY(QMetaObject::invokeMethod(editor.get(), "findWord", Q_ARG(QString, QStringLiteral("abbot"))));
    QCOMPARE(wordBox(editor.get())->toPlainText(), QStringLiteral("abbot"));
    QCOMPARE(currentText(list(editor.get())), QStringLiteral("abbot"));
    QCOMPARE(panelWord(editor.get()), QStringLiteral("abbot"));
    editor->findWord(QStringLiteral("zebra"));
    QCOMPARE(wordBox(editor.get())->toPlainText(), QStringLiteral("zebra"));
    QVERIFY(panelEmpty(editor.get()));
}

void TestWordBox::wordBoxSignalsAndFocusOut()
{
    QWidget window;
    auto box = new OurLineEdit(&window);
    auto other = new QPushButton(&window);
    box->setTabChangesFocus(true);
    QVERIFY(!box->copyAvailable);
    QVERIFY(showActive(&window));
    box->setFocus();
    QSignalSpy cursoring(box, &OurLineEdit::userIsCursoring);
    QSignalSpy tabbing(box, &OurLineEdit::userIsTabbing);
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClick(box, Qt::Key_Up);
    // Press and release are both reported.
    QCOMPARE(cursoring.count(), 4);
    QCOMPARE(cursoring.at(0).at(0).toInt(), int(Qt::Key_Down));
    QCOMPARE(cursoring.at(2).at(0).toInt(), int(Qt::Key_Up));
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("word"));
    QTest::keyClick(box, Qt::Key_Left, Qt::ShiftModifier);
    QVERIFY(box->copyAvailable);
    QTest::keyClick(box, Qt::Key_Tab);
    QVERIFY(tabbing.count() >= 1);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(other));
    QCOMPARE(box->textCursor().selectedText(), QStringLiteral("word"));
}

void TestWordBox::cleanup()
{
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(TestWordBox)
#include "tst_wordbox.moc"
