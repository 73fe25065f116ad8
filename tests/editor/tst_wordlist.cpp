// The word list and its filters: refills, the count box, focus, and the list's selection handling.

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include "editortesthelpers.h"

using namespace EditorTest;

namespace {

const QStringList FiveWords = {"apple\tnoun/reg/5", "banana\tnoun/reg/15", "cherry\tnoun/reg/25", "date\tverb/reg/10",
                               "elder\tadj./-/20"};

/// A saved dictionary of words that the engine shows one letter group at a time once it holds more than
/// threshold words.
DictionaryReference byLetterGroup(const QString &path, const QStringList &words, int threshold)
{
    DictionaryReference created =
        Prediction::createDictionary(path, QStringLiteral("Groups"), Prediction::American, nullptr, threshold);
    if (created == 0)
        return DictionaryReference();
    for (const QString &text : words)
        created->addWord(text, QStringLiteral("edit"));
    if (created->save() != 0)
        return DictionaryReference();
    return created;
}

} // namespace

class TestWordList : public QObject
{
    Q_OBJECT

private slots:
    void refreshKeepsOrLosesRow_data();
    void refreshKeepsOrLosesRow();
    void frequencyRange_data();
    void frequencyRange();
    void filterFindsWordBoxWordAgain();
    void focusAfterFilterAndFrequencyChanges();
    void selectionWritesWordBoxWithoutChangeHandling_data();
    void selectionWritesWordBoxWithoutChangeHandling();
    void missingWordOffersAddEvenInTransferMode();
    void showWordSetsAddButton_data();
    void showWordSetsAddButton();
    void prefixSearchMatchesFindItems_data();
    void prefixSearchMatchesFindItems();
    void prefixSearchFollowsListChangedOutsideWindow();
    void letterGroupFollowsWordBox_data();
    void letterGroupFollowsWordBox();
    void cleanup();
};

void TestWordList::refreshKeepsOrLosesRow_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("removed");
    QTest::addColumn<int>("expectedRow");
    QTest::newRow("no current row") << -1 << 0 << -1;
    QTest::newRow("same row, same list") << 2 << 0 << 2;
    QTest::newRow("same position, shorter list") << 1 << 2 << 1;
    QTest::newRow("row beyond the shorter list") << 4 << 2 << -1;
}

void TestWordList::refreshKeepsOrLosesRow()
{
    QFETCH(int, row);
    QFETCH(int, removed);
    QFETCH(int, expectedRow);
    TempDictionary dict(FiveWords);
    auto editor = create(dict.reference());
    auto listWidget = list(editor.get());
    listWidget->setCurrentRow(row);
    if (row < 0)
        listWidget->setCurrentItem(nullptr);
    QCOMPARE(listWidget->currentRow(), row);
    // Change the dictionary behind the window's back, then ask it to catch up.
    for (int i = 0; i < removed; ++i)
        dict->findWord(dict->wordList().constLast())->removeWord();
    editor->refreshList();
    QCOMPARE(listed(listWidget), dict->wordList());
    QCOMPARE(listWidget->currentRow(), expectedRow);
    QCOMPARE(child<QLineEdit>(editor.get(), "debugwindow")->text(), QString::number(dict->filteredWordCount()));
}

void TestWordList::frequencyRange_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("everything") << 0 << 31 << QStringList{"apple", "banana", "cherry", "date", "elder"};
    QTest::newRow("from 10") << 10 << 31 << QStringList{"banana", "cherry", "date", "elder"};
    QTest::newRow("up to 15") << 0 << 15 << QStringList{"apple", "banana", "date"};
    QTest::newRow("10 to 20") << 10 << 20 << QStringList{"banana", "date", "elder"};
    QTest::newRow("exactly 25") << 25 << 25 << QStringList{"cherry"};
    // The window does not reorder the ends: both go to the engine as they stand.
    QTest::newRow("inverted ends") << 20 << 10 << QStringList();
}

void TestWordList::frequencyRange()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(QStringList, expected);
    TempDictionary dict(FiveWords);
    auto editor = create(dict.reference());
    child<QSpinBox>(editor.get(), "MaxFreq")->setValue(maximum);
    child<QSpinBox>(editor.get(), "MinFreq")->setValue(minimum);
    QCOMPARE(child<QSpinBox>(editor.get(), "MinFreq")->value(), minimum);
    QCOMPARE(child<QSpinBox>(editor.get(), "MaxFreq")->value(), maximum);
    QCOMPARE(listed(list(editor.get())), expected);
    QCOMPARE(child<QLineEdit>(editor.get(), "debugwindow")->text(), QString::number(expected.size()));
}

void TestWordList::filterFindsWordBoxWordAgain()
{
    TempDictionary dict({"apple\tnoun/reg/5", "bake\tverb/reg/9", "banana\tnoun/reg/15", "bend\tverb/reg/3"});
    auto editor = create(dict.reference(), true, QStringLiteral("bend"));
    QCOMPARE(currentText(list(editor.get())), QStringLiteral("bend"));
    auto combo = child<QComboBox>(editor.get(), "FilterLIst");
    combo->setCurrentIndex(combo->findText(QStringLiteral("Verbs only")));
    QCOMPARE(listed(list(editor.get())), (QStringList{"bake", "bend"}));
    QCOMPARE(child<QLineEdit>(editor.get(), "debugwindow")->text(), QStringLiteral("2"));
    QCOMPARE(currentText(list(editor.get())), QStringLiteral("bend"));
    QCOMPARE(wordBox(editor.get())->toPlainText(), QStringLiteral("bend"));
    combo->setCurrentIndex(combo->findText(QStringLiteral("Nouns only")));
    QCOMPARE(listed(list(editor.get())), (QStringList{"apple", "banana"}));
    // No listed word begins with the word box's text: nothing is current and the panel is cleared.
    QVERIFY(!list(editor.get())->currentItem());
    QVERIFY(panelEmpty(editor.get()));
    QCOMPARE(wordBox(editor.get())->toPlainText(), QStringLiteral("bend"));
}

void TestWordList::focusAfterFilterAndFrequencyChanges()
{
    TempDictionary dict(FiveWords);
    auto editor = create(dict.reference());
    editor->collapse(false);
    QVERIFY(showActive(editor.get()));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(wordBox(editor.get())));

    auto combo = child<QComboBox>(editor.get(), "FilterLIst");
    combo->setCurrentIndex(combo->findText(QStringLiteral("Nouns only")));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(list(editor.get())));

    auto maximum = child<QSpinBox>(editor.get(), "MaxFreq");
    maximum->setValue(20);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(maximum));

    auto minimum = child<QSpinBox>(editor.get(), "MinFreq");
    minimum->setValue(3);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(minimum));
}

void TestWordList::selectionWritesWordBoxWithoutChangeHandling_data()
{
    QTest::addColumn<bool>("writable");
    QTest::newRow("editor") << true;
    QTest::newRow("viewer") << false;
}

void TestWordList::selectionWritesWordBoxWithoutChangeHandling()
{
    QFETCH(bool, writable);
    TempDictionary dict(FiveWords);
    auto editor = create(dict.reference(), writable);
    QVERIFY(showActive(editor.get()));
    auto listWidget = list(editor.get());
    QSignalSpy changing(editor.get(), SIGNAL(textChanging(QString)));
    QListWidgetItem *item = listWidget->item(3);
    clickRow(editor.get(), 3);
    QCOMPARE(listWidget->currentItem(), item);
    QCOMPARE(wordBox(editor.get())->toPlainText(), item->text());
    QCOMPARE(wordBox(editor.get())->textCursor().selectedText(), item->text());
    QCOMPARE(changing.count(), 0);
    QVERIFY(editor->currentWord);
    QCOMPARE(editor->currentWord->text, item->text());
    QCOMPARE(panelWord(editor.get()), item->text());
    // Delete and Change follow the window's writability; a listed word cannot be added again.
    QCOMPARE(child<QPushButton>(editor.get(), "DeleteWordButton")->isEnabled(), writable);
    QCOMPARE(child<QPushButton>(editor.get(), "changeButton")->isEnabled(), writable);
    QVERIFY(!child<QPushButton>(editor.get(), "AddWordButton")->isEnabled());
    QVERIFY(!DictEditor::suppressTextChanged);
}

void TestWordList::missingWordOffersAddEvenInTransferMode()
{
    TempDictionary dict(FiveWords);
    TempDictionary target({"other"});
    auto editor = create(dict.reference());
    editor->setTransferTo(target.reference());
    QVERIFY(editor->transferMode);
    QVERIFY(editor->transferTarget == target.reference());
    QVERIFY(showActive(editor.get()));
    // The box holds a listed word, so Transfer is offered but not yet available.
    auto add = child<QPushButton>(editor.get(), "AddWordButton");
    QCOMPARE(add->text(), QStringLiteral("Transfer"));
    QVERIFY(!add->isEnabled());
    typeInto(wordBox(editor.get()), QStringLiteral("zz"));
    QCOMPARE(add->text(), QStringLiteral("Add"));
    QVERIFY(add->isEnabled());
    QVERIFY(panelEmpty(editor.get()));
}

void TestWordList::showWordSetsAddButton_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("transfer");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("enabledBefore");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");
    // Before each call the button reads "?", so a row whose text stays "?" shows that the text was left alone.
    QTest::newRow("empty, editor") << true << false << "" << false << "Add" << true;
    QTest::newRow("empty, editor, transfer") << true << true << "" << false << "Add" << true;
    QTest::newRow("missing, editor") << true << false << "zz" << false << "Add" << true;
    QTest::newRow("missing, viewer") << false << false << "zz" << true << "?" << false;
    QTest::newRow("missing, viewer, transfer, enabled") << false << true << "zz" << true << "Transfer" << true;
    QTest::newRow("missing, viewer, transfer, disabled") << false << true << "zz" << false << "Transfer" << false;
    QTest::newRow("known, editor") << true << false << "banana" << true << "?" << false;
    QTest::newRow("known, editor, transfer, enabled") << true << true << "banana" << true << "Transfer" << true;
    QTest::newRow("known, editor, transfer, disabled") << true << true << "banana" << false << "Transfer" << false;
    QTest::newRow("known, viewer") << false << false << "banana" << true << "?" << false;
}

void TestWordList::showWordSetsAddButton()
{
    QFETCH(bool, writable);
    QFETCH(bool, transfer);
    QFETCH(QString, word);
    QFETCH(bool, enabledBefore);
    QFETCH(QString, text);
    QFETCH(bool, enabled);
    TempDictionary dict(FiveWords);
    TempDictionary target({"other"});
    auto editor = create(dict.reference(), writable);
    if (transfer)
        editor->setTransferTo(target.reference());
    auto add = child<QPushButton>(editor.get(), "AddWordButton");
    add->setText(QStringLiteral("?"));
    add->setEnabled(enabledBefore);
    editor->showWord(word, 1);
    QCOMPARE(add->text(), text);
    QCOMPARE(add->isEnabled(), enabled);
    // The details panel shows a word the engine knows; the empty text clears it.
    if (dict->findWord(word))
        QCOMPARE(panelWord(editor.get()), word);
    else if (word.isEmpty())
        QVERIFY(panelEmpty(editor.get()));
}

void TestWordList::prefixSearchMatchesFindItems_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QStringList>("prefixes");
    const QStringList mixed = {"Abbey", "abbot", "about", "ABOVE", "Zürich", "zulu", "élan", "Élysée", "e", "E", "ea"};
    QTest::newRow("mixed case and accents")
        << mixed << QStringList{"a", "A",  "ab", "AB", "abb", "abo", "abou", "abov", "z",      "zü",    "ZÜ",   "é",
                                "É", "él", "e",  "E",  "ea",  "EA",  "eb",   "x",    "aboutt", "Abbey", "abbey"};
    QTest::newRow("single word") << QStringList{"only"} << QStringList{"o", "O", "on", "only", "onlyx", "a", "z"};
    QTest::newRow("same word in two cases")
        << QStringList{"polish", "Polish", "pole"} << QStringList{"p", "P", "pol", "POLI", "polish", "Polish", "pole"};
}

void TestWordList::prefixSearchMatchesFindItems()
{
    QFETCH(QStringList, words);
    QFETCH(QStringList, prefixes);
    TempDictionary dict(words);
    QVERIFY2(dict.error().isEmpty(), qPrintable(dict.error()));
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    auto listWidget = list(editor.get());
    auto box = wordBox(editor.get());
    for (const QString &prefix : prefixes) {
        box->setFocus();
        listWidget->setCurrentRow(0);
        box->setPlainText(prefix);
        const auto found = listWidget->findItems(prefix, Qt::MatchStartsWith | Qt::MatchWrap);
        QListWidgetItem *expected = found.isEmpty() ? listWidget->item(0) : found.first();
        QVERIFY2(listWidget->currentItem() == expected, qPrintable(prefix));
    }
}

void TestWordList::prefixSearchFollowsListChangedOutsideWindow()
{
    TempDictionary dict({"apple", "banana", "cherry"});
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    auto listWidget = list(editor.get());
    auto box = wordBox(editor.get());
    box->setFocus();
    // Someone else (a drop, say) changes the items: the search must see the list as it now stands.
    listWidget->insertItem(0, QStringLiteral("zebra"));
    listWidget->item(2)->setText(QStringLiteral("blueberry"));
    box->setPlainText(QStringLiteral("z"));
    QCOMPARE(listWidget->currentRow(), 0);
    box->setPlainText(QStringLiteral("blue"));
    QCOMPARE(listWidget->currentRow(), 2);
    box->setPlainText(QStringLiteral("ban"));
    QCOMPARE(listWidget->currentRow(), 2);
    box->setPlainText(QStringLiteral("ch"));
    QCOMPARE(currentText(listWidget), QStringLiteral("cherry"));
}

void TestWordList::letterGroupFollowsWordBox_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("listedAfter");
    QTest::addColumn<QString>("currentAfter");
    QTest::newRow("first group") << QStringList{"av"} << QStringList{"apple", "avocado"} << "avocado";
    QTest::newRow("another group") << QStringList{"b"} << QStringList{"banana", "blueberry"} << "banana";
    QTest::newRow("same group again") << QStringList{"b", "bl"} << QStringList{"banana", "blueberry"} << "blueberry";
    QTest::newRow("group of a capital") << QStringList{"C"} << QStringList{"cherry"} << "cherry";
    QTest::newRow("back to the first") << QStringList{"c", "apple"} << QStringList{"apple", "avocado"} << "apple";
}

void TestWordList::letterGroupFollowsWordBox()
{
    // The engine's list holds one letter group at a time: the word box's text picks the group, and the list
    // is refilled before the word is looked for in it.
    QFETCH(QStringList, typed);
    QFETCH(QStringList, listedAfter);
    QFETCH(QString, currentAfter);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    DictionaryReference groups = byLetterGroup(dir.filePath(QStringLiteral("groups.dict")),
                                               {"apple", "avocado", "banana", "blueberry", "cherry"}, 2);
    QVERIFY(groups != 0);
    QVERIFY(groups->displayByLetterGroup());
    auto editor = create(groups);
    QVERIFY(showActive(editor.get()));
    QCOMPARE(listed(list(editor.get())), (QStringList{"apple", "avocado"}));
    for (const QString &text : typed)
        typeInto(wordBox(editor.get()), text);
    QCOMPARE(listed(list(editor.get())), listedAfter);
    QCOMPARE(currentText(list(editor.get())), currentAfter);
}

void TestWordList::cleanup()
{
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(TestWordList)
#include "tst_wordlist.moc"
