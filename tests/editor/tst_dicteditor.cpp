// The editor window as a person and a host see it: start-up, the word box, the list and its filters, keys.

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QtTest>

#include "editortesthelpers.h"
#include "modalanswerer.h"

using namespace EditorTest;

namespace {

const QStringList ThreeWords = {"Abbey\tname/-/5", "abbot\tnoun/reg/9", "about\tadv./-/20"};
const QStringList FiveWords = {"apple\tnoun/reg/5", "banana\tnoun/reg/15", "cherry\tnoun/reg/25", "date\tverb/reg/10",
                               "elder\tadj./-/20"};

QString count(const DictEditor *editor)
{
    return child<QLineEdit>(editor, "debugwindow")->text();
}

} // namespace

class TestDictEditor : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void startingWord_data();
    void startingWord();
    void windowTitle_data();
    void windowTitle();
    void unboundHandleIsInert();
    void hostSignals();
    void typingFindsWord_data();
    void typingFindsWord();
    void prefixSearchAgreesWithTheList();
    void upAndDown_data();
    void upAndDown();
    void returnAddsWord_data();
    void returnAddsWord();
    void keysWhileSpinBoxHasFocus_data();
    void keysWhileSpinBoxHasFocus();
    void filters_data();
    void filters();
    void refreshKeepsRow();
    void letterGroupFollowsWordBox();
    void moreLessAndFonts();
    void help();
};

void TestDictEditor::cleanup()
{
    QTRY_VERIFY2(windowsLeft().isEmpty(), qPrintable(windowsLeft().join(QLatin1Char(' '))));
}

void TestDictEditor::startingWord_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QStringList>("texts"); // the word asked for, the list's current word, the panel's word
    QTest::newRow("no word: the first") << true << QStringList{"", "Abbey", "Abbey"};
    QTest::newRow("a listed word") << true << QStringList{"abbot", "abbot", "abbot"};
    QTest::newRow("unknown word, viewer") << false << QStringList{"zebra", "", ""};
}

void TestDictEditor::startingWord()
{
    QFETCH(bool, writable);
    QFETCH(QStringList, texts);
    const QString word = texts.at(0), current = texts.at(1), shown = texts.at(2);
    TempDictionary dict(ThreeWords);
    auto editor = create(dict.reference(), writable, word);
    QCOMPARE(wordBox(editor.get())->toPlainText(), word.isEmpty() ? current : word);
    QCOMPARE(listed(list(editor.get())), dict->wordList());
    QCOMPARE(currentText(list(editor.get())), current);
    QCOMPARE(panelWord(editor.get()), shown);
    QCOMPARE(count(editor.get()), QStringLiteral("3"));
    for (const char *name : {"AddWordButton", "DeleteWordButton", "changeButton", "SaveButton"})
        QCOMPARE(child(editor.get(), name)->isEnabled(), writable);
    QCOMPARE(child<QComboBox>(editor.get(), "FilterLIst")->itemText(0), dict->selectionRules().first());
    QVERIFY(showActive(editor.get()));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(wordBox(editor.get())));
}

void TestDictEditor::windowTitle_data()
{
    QTest::addColumn<bool>("development");
    QTest::addColumn<int>("variety");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("title");
    QTest::newRow("editor") << false << int(Prediction::British) << true << "Personal  Dictionary Editor";
    QTest::newRow("viewer") << false << int(Prediction::American) << false << "Personal  Dictionary Viewer (Read Only)";
    QTest::newRow("british") << true << int(Prediction::British) << true << "Personal - British  Dictionary Editor";
    QTest::newRow("canadian") << true << int(Prediction::Canadian) << true << "Personal - Canadian  Dictionary Editor";
    QTest::newRow("american") << true << int(Prediction::American) << true << "Personal - American  Dictionary Editor";
}

void TestDictEditor::windowTitle()
{
    QFETCH(bool, development);
    QFETCH(int, variety);
    QFETCH(bool, writable);
    QFETCH(QString, title);
    TempDictionary dict({"about"}, Prediction::Variety(variety), QStringLiteral("Personal"));
    Prediction::setDevelopmentMode(development);
    auto editor = create(dict.reference(), writable);
    Prediction::setDevelopmentMode(false);
    QCOMPARE(editor->windowTitle(), title);
}

void TestDictEditor::unboundHandleIsInert()
{
    auto editor = create(DictionaryReference(), true, QStringLiteral("word"));
    QSignalSpy changed(editor.get(), SIGNAL(DictionaryChanged()));
    for (const char *slot : {"on_AddWordButton_clicked", "on_DeleteWordButton_clicked", "on_changeButton_clicked",
                             "on_addGrammarButton_clicked", "on_ExportWordButton_clicked", "refreshList"})
        QVERIFY(QMetaObject::invokeMethod(editor.get(), slot));
    child<QSpinBox>(editor.get(), "MaxFreq")->setValue(5);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(list(editor.get())->count(), 0);
}

void TestDictEditor::hostSignals()
{
    TempDictionary dict({"about"});
    auto editor = create(dict.reference());
    QSignalSpy activated(editor.get(), SIGNAL(EditWindow_Activate(DictionaryReference)));
    QSignalSpy test(editor.get(), SIGNAL(Test_Dictionary(DictionaryReference)));
    QSignalSpy toolkit(editor.get(), SIGNAL(UserWantsToolkit(DictionaryReference)));
    QVERIFY(showActive(editor.get()));
    editor->raise();
    QTRY_VERIFY(!activated.isEmpty());
    QVERIFY(qvariant_cast<DictionaryReference>(activated.last().at(0)) == dict.reference());
    QVERIFY(QMetaObject::invokeMethod(editor.get(), "on_TestButton_clicked", Q_ARG(bool, false)));
    QVERIFY(QMetaObject::invokeMethod(editor.get(), "on_ToolkitButton_clicked"));
    QCOMPARE(test.count(), 1);
    QCOMPARE(toolkit.count(), 1);
    QVERIFY(qvariant_cast<DictionaryReference>(test.at(0).at(0)) == dict.reference());
}

void TestDictEditor::typingFindsWord_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("shown");
    QTest::newRow("prefix ignoring case") << "ab"
                                          << "Abbey"
                                          << "";
    QTest::newRow("longer prefix") << "abo"
                                   << "about"
                                   << "";
    QTest::newRow("exact word") << "abbot"
                                << "abbot"
                                << "abbot";
    QTest::newRow("exact only with case") << "abbey"
                                          << "Abbey"
                                          << "";
    QTest::newRow("no match keeps the row") << "abbotx"
                                            << "abbot"
                                            << "";
}

void TestDictEditor::typingFindsWord()
{
    QFETCH(QString, typed);
    QFETCH(QString, current);
    QFETCH(QString, shown);
    TempDictionary dict(ThreeWords);
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    typeInto(wordBox(editor.get()), typed);
    QCOMPARE(wordBox(editor.get())->toPlainText(), typed);
    QCOMPARE(currentText(list(editor.get())), current);
    QCOMPARE(panelWord(editor.get()), shown);
    QCOMPARE(child(editor.get(), "AddWordButton")->isEnabled(), shown.isEmpty());
    // Emptying the box leaves list and panel as they were.
    wordBox(editor.get())->clear();
    QCOMPARE(currentText(list(editor.get())), current);
    QCOMPARE(panelWord(editor.get()), shown);
}

// The window searches a copy of the list (binary search while sorted); it must find what a scan finds, also
// after the list was changed behind its back.
void TestDictEditor::prefixSearchAgreesWithTheList()
{
    TempDictionary dict({"Abbey", "abbot", "about", "ABOVE", "zulu", "\u00e9lan", "e", "E", "ea"});
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    QListWidget *listWidget = list(editor.get());
    QTextEdit *box = wordBox(editor.get());
    box->setFocus();
    for (int round = 0; round < 2; ++round) {
        for (const char *prefix : {"a", "AB", "abo", "abov", "z", "e", "EA", "eb", "x", "\u00c9"}) {
            const QString text = QString::fromUtf8(prefix);
            listWidget->setCurrentRow(0);
            box->setPlainText(text);
            const auto found = listWidget->findItems(text, Qt::MatchStartsWith);
            QVERIFY2(listWidget->currentItem() == (found.isEmpty() ? listWidget->item(0) : found.first()), prefix);
        }
        listWidget->insertItem(0, QStringLiteral("zebra"));
        listWidget->item(3)->setText(QStringLiteral("eagle"));
    }
}

void TestDictEditor::upAndDown_data()
{
    QTest::addColumn<int>("startRow");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("row");
    QTest::newRow("down") << 0 << int(Qt::Key_Down) << 1;
    QTest::newRow("up") << 2 << int(Qt::Key_Up) << 1;
    QTest::newRow("up on the first row") << 0 << int(Qt::Key_Up) << 0;
    QTest::newRow("down on the last row") << 2 << int(Qt::Key_Down) << -1;
}

void TestDictEditor::upAndDown()
{
    QFETCH(int, startRow);
    QFETCH(int, key);
    QFETCH(int, row);
    TempDictionary dict({"alpha", "beta", "gamma"});
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    QTextEdit *box = wordBox(editor.get());
    box->setFocus();
    box->setPlainText(QStringLiteral("g"));
    list(editor.get())->setCurrentRow(startRow);
    // The press moves the focus to the list, so the release goes there, as it would for a real key.
    QTest::keyPress(box, Qt::Key(key));
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key(key));
    if (row < 0) {
        QCOMPARE(list(editor.get())->currentRow(), startRow);
        QCOMPARE(box->toPlainText(), QStringLiteral("g"));
        return;
    }
    const QString word = list(editor.get())->item(row)->text();
    QCOMPARE(list(editor.get())->currentRow(), row);
    QCOMPARE(box->textCursor().selectedText(), word);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(list(editor.get())));
    QCOMPARE(panelWord(editor.get()), word);
}

void TestDictEditor::returnAddsWord_data()
{
    // Return pressed in the word box, sent to the window while the list has the focus, or pasted.
    QTest::addColumn<QString>("route");
    QTest::addColumn<bool>("writable");
    QTest::newRow("word box") << "box" << true;
    QTest::newRow("word box, viewer") << "box" << false;
    QTest::newRow("window") << "window" << true;
    QTest::newRow("window, viewer") << "window" << false;
    QTest::newRow("pasted control character") << "control" << true;
}

void TestDictEditor::returnAddsWord()
{
    QFETCH(QString, route);
    QFETCH(bool, writable);
    TempDictionary dict(ThreeWords);
    auto editor = create(dict.reference(), writable);
    QVERIFY(showActive(editor.get()));
    QSignalSpy changed(editor.get(), SIGNAL(DictionaryChanged()));
    QTextEdit *box = wordBox(editor.get());
    if (route == QLatin1String("control")) {
        box->setFocus();
        box->setPlainText(QStringLiteral("new") + QChar(0x13) + QStringLiteral("t"));
    } else if (route == QLatin1String("box")) {
        typeInto(box, QStringLiteral("newt"));
        QTest::keyPress(box, Qt::Key_Return);
        QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Return);
    } else {
        typeInto(box, QStringLiteral("newt"));
        list(editor.get())->setFocus();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Enter, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(editor.get(), &press);
    }
    QCOMPARE(box->toPlainText(), QStringLiteral("newt"));
    QCOMPARE(dict->findWord(QStringLiteral("newt")) != nullptr, writable);
    QCOMPARE(changed.count(), writable ? 1 : 0);
    QCOMPARE(listed(list(editor.get())), dict->wordList());
    QCOMPARE(currentText(list(editor.get())), writable ? QStringLiteral("newt") : QStringLiteral("Abbey"));
}

void TestDictEditor::keysWhileSpinBoxHasFocus_data()
{
    // Digits and editing keys stay with a frequency box; anything else goes to the word box.
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("stays");
    QTest::newRow("digit") << int(Qt::Key_7) << "7" << true;
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << "" << true;
    QTest::newRow("right") << int(Qt::Key_Right) << "" << true;
    QTest::newRow("letter") << int(Qt::Key_X) << "x" << false;
}

void TestDictEditor::keysWhileSpinBoxHasFocus()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(bool, stays);
    TempDictionary dict(ThreeWords);
    auto editor = create(dict.reference());
    editor->collapse(false);
    QVERIFY(showActive(editor.get()));
    wordBox(editor.get())->clear();
    QWidget *spin = child<QSpinBox>(editor.get(), "MaxFreq");
    spin->setFocus();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(editor.get(), &press);
    QCOMPARE(QApplication::focusWidget(), stays ? spin : static_cast<QWidget *>(wordBox(editor.get())));
    QCOMPARE(wordBox(editor.get())->toPlainText(), stays ? QString() : text);
}

void TestDictEditor::filters_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("from 10") << 10 << 31 << "" << QStringList{"banana", "cherry", "date", "elder"};
    QTest::newRow("up to 15") << 0 << 15 << "" << QStringList{"apple", "banana", "date"};
    QTest::newRow("exactly 25") << 25 << 25 << "" << QStringList{"cherry"};
    QTest::newRow("inverted ends") << 20 << 10 << "" << QStringList();
    QTest::newRow("nouns from 10") << 10 << 31 << "Nouns only" << QStringList{"banana", "cherry"};
    QTest::newRow("verbs") << 0 << 31 << "Verbs only" << QStringList{"date"};
}

void TestDictEditor::filters()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(QString, rule);
    QFETCH(QStringList, expected);
    TempDictionary dict(FiveWords);
    auto editor = create(dict.reference(), true, QStringLiteral("date"));
    editor->collapse(false);
    QVERIFY(showActive(editor.get()));
    auto maxFreq = child<QSpinBox>(editor.get(), "MaxFreq");
    maxFreq->setValue(maximum);
    if (maximum < 31)
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(maxFreq));
    child<QSpinBox>(editor.get(), "MinFreq")->setValue(minimum);
    if (!rule.isEmpty()) {
        auto combo = child<QComboBox>(editor.get(), "FilterLIst");
        combo->setCurrentIndex(combo->findText(rule));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(list(editor.get())));
    }
    QCOMPARE(listed(list(editor.get())), expected);
    QCOMPARE(count(editor.get()), QString::number(expected.size()));
    // The word box's word is found again in the new list, or the panel is cleared.
    const bool kept = expected.contains(QStringLiteral("date"));
    if (kept)
        QCOMPARE(currentText(list(editor.get())), QStringLiteral("date"));
    QCOMPARE(panelWord(editor.get()), kept ? QStringLiteral("date") : QString());
}

void TestDictEditor::refreshKeepsRow()
{
    TempDictionary dict(FiveWords);
    auto editor = create(dict.reference());
    list(editor.get())->setCurrentRow(3);
    dict->findWord(QStringLiteral("apple"))->removeWord();
    editor->refreshList();
    QCOMPARE(listed(list(editor.get())), dict->wordList());
    QCOMPARE(list(editor.get())->currentRow(), 3);
    QCOMPARE(count(editor.get()), QStringLiteral("4"));
    list(editor.get())->setCurrentItem(nullptr);
    editor->refreshList();
    QCOMPARE(list(editor.get())->currentRow(), -1);
}

// A large dictionary lists one letter group at a time: the word box's text picks the group.
void TestDictEditor::letterGroupFollowsWordBox()
{
    QTemporaryDir dir;
    DictionaryReference groups = Prediction::createDictionary(
        dir.filePath(QStringLiteral("groups.dict")), QStringLiteral("Groups"), Prediction::American, nullptr, 2);
    QVERIFY(groups != 0);
    for (const char *word : {"apple", "avocado", "banana", "blueberry", "cherry"})
        groups->addWord(QString::fromLatin1(word), QStringLiteral("edit"));
    QCOMPARE(groups->save(), 0);
    auto editor = create(groups);
    QVERIFY(showActive(editor.get()));
    QCOMPARE(listed(list(editor.get())), (QStringList{"apple", "avocado"}));
    typeInto(wordBox(editor.get()), QStringLiteral("bl"));
    QCOMPARE(listed(list(editor.get())), (QStringList{"banana", "blueberry"}));
    QCOMPARE(currentText(list(editor.get())), QStringLiteral("blueberry"));
    typeInto(wordBox(editor.get()), QStringLiteral("C"));
    QCOMPARE(listed(list(editor.get())), QStringList{"cherry"});
}

void TestDictEditor::moreLessAndFonts()
{
    TempDictionary dict({"about\tadv./-/20"});
    auto editor = create(dict.reference());
    auto moreLess = child(editor.get(), "MoreLessButton");
    QCOMPARE(editor->width(), 350);
    QVERIFY(!child(editor.get(), "ExportWordButton")->isEnabled());
    QTest::mouseClick(moreLess, Qt::LeftButton);
    QCOMPARE(editor->width(), 742);
    QCOMPARE(moreLess->text(), QStringLiteral("<< Less"));
    QVERIFY(child(editor.get(), "ExportWordButton")->isEnabled());
    editor->collapse(false);
    QCOMPARE(editor->width(), 742);
    editor->collapse(true);
    QCOMPARE(editor->maximumWidth(), 350);
    QCOMPARE(moreLess->text(), QStringLiteral("More >>"));

    const qreal details = editor->grammarPopUp->textBrowser->font().pointSizeF();
    child(editor.get(), "BiggerButton")->click();
    QCOMPARE(list(editor.get())->font().pointSize(), 10);
    QCOMPARE(wordBox(editor.get())->font().pointSize(), 10);
    QVERIFY(editor->grammarPopUp->textBrowser->font().pointSizeF() > details);
    for (int i = 0; i < 12; ++i)
        child(editor.get(), "SmallerButton")->click();
    QCOMPARE(list(editor.get())->font().pointSize(), 1);
    QVERIFY(editor->grammarPopUp->textBrowser->font().pointSizeF() < details);
}

void TestDictEditor::help()
{
    TempDictionary dict({"about"});
    auto editor = create(dict.reference());
    QString text;
    ModalAnswerer answer;
    answer.handle([&](QWidget *dialog) {
        text = dialog->findChild<QPlainTextEdit *>()->toPlainText();
        dialog->findChild<QPushButton *>(QStringLiteral("OkButton"))->click();
    });
    QVERIFY(QMetaObject::invokeMethod(editor.get(), "on_HelpButton_clicked"));
    QVERIFY(answer.answered());
    QVERIFY2(text.startsWith(QStringLiteral("To add a word, type the word in the \"Word\" box, then below the Word "
                                            "box, click \"add\"\n\n")),
             qPrintable(text));
}

QTEST_MAIN(TestDictEditor)
#include "tst_dicteditor.moc"
