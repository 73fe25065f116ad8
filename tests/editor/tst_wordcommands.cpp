// Add, Transfer, Delete and Change, and the grammar-code and usage commands.

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "editortesthelpers.h"
#include "modalanswerer.h"

using namespace EditorTest;

namespace {

bool invoke(DictEditor *editor, const char *slot)
{
    return QMetaObject::invokeMethod(editor, slot);
}

/// Arms answerer to click button in the next yes/no question, noting how the question was built: every one is
/// a parentless, icon-less, modal message box in a plain dialog window, with OK (the default) and Cancel.
void answerQuestion(ModalAnswerer &answerer, const QString &button, QString *shape)
{
    answerer.handle([=](QWidget *widget) {
        auto box = qobject_cast<QMessageBox *>(widget);
        if (!box) {
            *shape = QStringLiteral("not a message box");
            static_cast<QDialog *>(widget)->reject();
            return;
        }
        const Qt::WindowFlags flags = widget->windowFlags();
        const bool shaped = !widget->parentWidget() && widget->isModal() && box->icon() == QMessageBox::NoIcon &&
                            box->standardButtons() == (QMessageBox::Ok | QMessageBox::Cancel) &&
                            box->defaultButton() == box->button(QMessageBox::Ok) &&
                            (flags & Qt::WindowType_Mask) == Qt::Dialog &&
                            flags.testFlag(Qt::MSWindowsFixedSizeDialogHint);
        *shape = shaped ? QStringLiteral("question") : QStringLiteral("misshapen");
        box->button(button == QLatin1String("OK") ? QMessageBox::Ok : QMessageBox::Cancel)->click();
    });
}

} // namespace

class TestWordCommands : public QObject
{
    Q_OBJECT

private slots:
    void addWord_data();
    void addWord();
    void transferMovesSelectedWord_data();
    void transferMovesSelectedWord();
    void transferNeedsWordBoxText();
    void transferModeWithAddLabelAddsToOwnDictionary();
    void deleteWord_data();
    void deleteWord();
    void deleteAndChangeRefusedInViewer_data();
    void deleteAndChangeRefusedInViewer();
    void changeSpelling_data();
    void changeSpelling();
    void addGrammarCodeCopiesPreviousFrequency_data();
    void addGrammarCodeCopiesPreviousFrequency();
    void deleteGrammarCodeAsks_data();
    void deleteGrammarCodeAsks();
    void deleteGrammarButtonUsesClickedRegion_data();
    void deleteGrammarButtonUsesClickedRegion();
    void usageCommands();
    void grammarButtonsFollowPanel();
    void cleanup();
};

void TestWordCommands::addWord_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("stored");
    QTest::newRow("plain, basic") << "zebra"
                                  << "BasicGrammarButton"
                                  << "zebra";
    QTest::newRow("outer and inner spaces, advanced") << "  ice   cream  "
                                                      << "AdvancedGrammarButton"
                                                      << "ice cream";
    QTest::newRow("tab inside") << "hot\t dog"
                                << "BasicGrammarButton"
                                << "hot dog";
    // Even with nothing to add, the grammar mode of the radio buttons reaches the engine.
    QTest::newRow("only spaces") << "   "
                                 << "AdvancedGrammarButton" << QString();
}

void TestWordCommands::addWord()
{
    QFETCH(QString, typed);
    QFETCH(QString, button);
    QFETCH(QString, stored);
    TempDictionary dict({"apple", "banana"});
    auto editor = create(dict.reference());
    editor->collapse(false);
    QVERIFY(showActive(editor.get()));
    QSignalSpy changed(editor.get(), SIGNAL(DictionaryChanged()));
    // Switch away and back, so the chosen button's own click sets the mode.
    child<QRadioButton>(editor.get(), "AdvancedGrammarButton")->click();
    editor->findChild<QRadioButton *>(button)->click();
    const QString mode = button.startsWith(QLatin1String("Basic")) ? QStringLiteral("basic_grammar")
                                                                   : QStringLiteral("advanced_grammar");
    QCOMPARE(editor->grammarMode, mode);
    DictionaryReference::setEditPreferences(QString());
    const int before = dict->wordCount();
    wordBox(editor.get())->setPlainText(typed);
    child<QPushButton>(editor.get(), "AddWordButton")->click();
    QCOMPARE(DictionaryReference::editPreferences(), mode);
    QCOMPARE(listed(list(editor.get())), dict->wordList());
    QCOMPARE(child<QLineEdit>(editor.get(), "debugwindow")->text(), QString::number(dict->filteredWordCount()));
    if (stored.isEmpty()) {
        QCOMPARE(dict->wordCount(), before);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(wordBox(editor.get())->toPlainText(), typed);
        return;
    }
    QVERIFY(dict->findWord(stored));
    QCOMPARE(currentText(list(editor.get())), stored);
    QCOMPARE(wordBox(editor.get())->toPlainText(), stored);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(list(editor.get())));
}

void TestWordCommands::transferMovesSelectedWord_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("moved");
    QTest::addColumn<QString>("nextCurrent");
    QTest::newRow("middle word") << 1 << QStringLiteral("banana") << QStringLiteral("cherry");
    QTest::newRow("last word") << 2 << QStringLiteral("cherry") << QStringLiteral("banana");
    QTest::newRow("first word") << 0 << QStringLiteral("apple") << QStringLiteral("banana");
}

void TestWordCommands::transferMovesSelectedWord()
{
    QFETCH(int, row);
    QFETCH(QString, moved);
    QFETCH(QString, nextCurrent);
    TempDictionary collected({"apple\tnoun/reg/5", "banana\tnoun/reg/7", "cherry\tnoun/reg/9"});
    TempDictionary personal({"zebra"});
    auto editor = create(collected.reference());
    editor->setTransferTo(personal.reference());
    QVERIFY(showActive(editor.get()));
    QSignalSpy changed(editor.get(), SIGNAL(DictionaryChanged()));
    clickRow(editor.get(), row);
    QCOMPARE(child<QPushButton>(editor.get(), "AddWordButton")->text(), QStringLiteral("Transfer"));
    QVERIFY(invoke(editor.get(), "on_AddWordButton_clicked"));
    QVERIFY(!collected->findWord(moved));
    QVERIFY(personal->findWord(moved));
    QCOMPARE(personal->findWord(moved)->codes.size(), 1);
    QCOMPARE(listed(list(editor.get())), collected->wordList());
    QCOMPARE(currentText(list(editor.get())), nextCurrent);
    QCOMPARE(wordBox(editor.get())->toPlainText(), nextCurrent);
    QVERIFY(!editor->currentWord || editor->currentWord->text == nextCurrent);
    QCOMPARE(changed.count(), 1);
}

void TestWordCommands::transferNeedsWordBoxText()
{
    TempDictionary collected({"apple", "banana"});
    TempDictionary personal({"zebra"});
    auto editor = create(collected.reference());
    editor->setTransferTo(personal.reference());
    QVERIFY(showActive(editor.get()));
    clickRow(editor.get(), 1);
    DictEditor::suppressTextChanged = true;
    wordBox(editor.get())->clear();
    DictEditor::suppressTextChanged = false;
    QVERIFY(invoke(editor.get(), "on_AddWordButton_clicked"));
    QVERIFY(collected->findWord(QStringLiteral("banana")));
    QVERIFY(!personal->findWord(QStringLiteral("banana")));
}

void TestWordCommands::transferModeWithAddLabelAddsToOwnDictionary()
{
    TempDictionary collected({"apple", "banana"});
    TempDictionary personal({"zebra"});
    auto editor = create(collected.reference());
    editor->setTransferTo(personal.reference());
    QVERIFY(showActive(editor.get()));
    typeInto(wordBox(editor.get()), QStringLiteral("cherry"));
    auto add = child<QPushButton>(editor.get(), "AddWordButton");
    QCOMPARE(add->text(), QStringLiteral("Add"));
    add->click();
    QVERIFY(collected->findWord(QStringLiteral("cherry")));
    QVERIFY(!personal->findWord(QStringLiteral("cherry")));
    QCOMPARE(add->text(), QStringLiteral("Transfer"));
}

void TestWordCommands::deleteWord_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<int>("currentRow");
    QTest::newRow("middle, OK") << QStringList{"apple", "banana", "cherry"} << 1 << "OK"
                                << QStringList{"apple", "cherry"} << 1;
    QTest::newRow("last, OK") << QStringList{"apple", "banana", "cherry"} << 2 << "OK" << QStringList{"apple", "banana"}
                              << 1;
    QTest::newRow("only, OK") << QStringList{"apple"} << 0 << "OK" << QStringList{} << -1;
    QTest::newRow("cancel") << QStringList{"apple", "banana", "cherry"} << 1 << "Cancel"
                            << QStringList{"apple", "banana", "cherry"} << 1;
}

void TestWordCommands::deleteWord()
{
    QFETCH(QStringList, words);
    QFETCH(int, row);
    QFETCH(QString, answer);
    QFETCH(QStringList, remaining);
    QFETCH(int, currentRow);
    TempDictionary dict(words);
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    clickRow(editor.get(), row);
    const QString word = words.at(row);
    QSignalSpy changed(editor.get(), SIGNAL(DictionaryChanged()));
    QListWidgetItem *before = list(editor.get())->item(0);
    ModalAnswerer answerer;
    QString shape;
    answerQuestion(answerer, answer, &shape);
    child<QPushButton>(editor.get(), "DeleteWordButton")->click();
    QVERIFY(answerer.answered());
    QCOMPARE(shape, QStringLiteral("question"));
    QCOMPARE(answerer.title(), QStringLiteral("Delete Word?"));
    QCOMPARE(answerer.text(), QStringLiteral("Are you sure you want to remove \"%1\" from the dictionary?").arg(word));
    QCOMPARE(listed(list(editor.get())), remaining);
    QCOMPARE(dict->findWord(word) != nullptr, answer == QLatin1String("Cancel"));
    QCOMPARE(list(editor.get())->currentRow(), currentRow);
    QCOMPARE(child<QLineEdit>(editor.get(), "debugwindow")->text(), QString::number(remaining.size()));
    // Whatever the answer, the list is rebuilt and the change is announced.
    QVERIFY(list(editor.get())->count() == 0 || list(editor.get())->item(0) != before);
    QCOMPARE(changed.count(), 1);
}

void TestWordCommands::deleteAndChangeRefusedInViewer_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::newRow("delete") << QByteArray("on_DeleteWordButton_clicked");
    QTest::newRow("change") << QByteArray("on_changeButton_clicked");
    QTest::newRow("add grammar") << QByteArray("on_addGrammarButton_clicked");
    QTest::newRow("delete grammar") << QByteArray("on_DeleteGrammarButton_clicked");
    QTest::newRow("add usage") << QByteArray("on_addUsageButton_clicked");
    QTest::newRow("delete usage") << QByteArray("on_deleteUsageButton_clicked");
}

void TestWordCommands::deleteAndChangeRefusedInViewer()
{
    QFETCH(QByteArray, slot);
    TempDictionary dict({"apple\tnoun/reg/5", "banana\tnoun/reg/7;verb/reg/3/Tn::"});
    auto editor = create(dict.reference(), false);
    QVERIFY(showActive(editor.get()));
    clickRow(editor.get(), 1);
    editor->grammarPopUp->textBrowser->currentRegion = editor->grammarPopUp->textBrowser->regions;
    QSignalSpy changed(editor.get(), SIGNAL(DictionaryChanged()));
    ModalAnswerer answerer;
    answerer.clickButton(QStringLiteral("OK"));
    QVERIFY(QMetaObject::invokeMethod(editor.get(), slot.constData()));
    QVERIFY(!answerer.answered());
    QCOMPARE(dict->wordCount(), 2);
    QCOMPARE(dict->findWord(QStringLiteral("banana"))->codes.size(), 2);
    QCOMPARE(dict->findWord(QStringLiteral("banana"))->codes.at(1)->usages.size(), 1);
    QCOMPARE(changed.count(), 0);
    QVERIFY(!dict->isDirty());
}

void TestWordCommands::changeSpelling_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accept");
    QTest::newRow("new spelling") << "bananna" << true;
    QTest::newRow("same spelling") << "banana" << true;
    QTest::newRow("kept as typed, with spaces") << " ban ana" << true;
    QTest::newRow("cancelled") << "bananna" << false;
}

void TestWordCommands::changeSpelling()
{
    QFETCH(QString, typed);
    QFETCH(bool, accept);
    TempDictionary dict({"apple", "banana", "cherry"});
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    clickRow(editor.get(), 1);
    QSignalSpy changed(editor.get(), SIGNAL(DictionaryChanged()));
    const QString countBefore = child<QLineEdit>(editor.get(), "debugwindow")->text();
    QListWidgetItem *item = list(editor.get())->item(1);
    QString offered;
    QWidget *dialogParent = nullptr;
    ModalAnswerer answerer;
    answerer.handle([&](QWidget *dialog) {
        dialogParent = dialog->parentWidget();
        auto newBox = dialog->findChild<QLineEdit *>(QStringLiteral("newBox"));
        offered = newBox->text();
        newBox->setText(typed);
        accept ? static_cast<QDialog *>(dialog)->accept() : static_cast<QDialog *>(dialog)->reject();
    });
    child<QPushButton>(editor.get(), "changeButton")->click();
    QVERIFY(answerer.answered());
    QCOMPARE(answerer.className(), QStringLiteral("ChangeDlg"));
    QCOMPARE(dialogParent, editor.get());
    QCOMPARE(offered, QStringLiteral("banana"));
    const QString now = accept ? typed : QStringLiteral("banana");
    QVERIFY(dict->findWord(now));
    if (now != QLatin1String("banana"))
        QVERIFY(!dict->findWord(QStringLiteral("banana")));
    QCOMPARE(listed(list(editor.get())), dict->wordList());
    QCOMPARE(currentText(list(editor.get())), now);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(child<QLineEdit>(editor.get(), "debugwindow")->text(), countBefore);
    if (accept) {
        QCOMPARE(wordBox(editor.get())->toPlainText(), typed);
    } else {
        QCOMPARE(list(editor.get())->item(1), item);
        QVERIFY(!dict->isDirty());
    }
}

void TestWordCommands::addGrammarCodeCopiesPreviousFrequency_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("codesBefore");
    QTest::newRow("two codes, 12 and 7") << "bank\tnoun/reg/12;verb/reg/7" << 2;
    QTest::newRow("one code") << "bank\tnoun/reg/12" << 1;
    QTest::newRow("no codes") << "bank" << 0;
}

void TestWordCommands::addGrammarCodeCopiesPreviousFrequency()
{
    QFETCH(QString, line);
    QFETCH(int, codesBefore);
    TempDictionary dict({"apple\tnoun/reg/3", line});
    auto editor = create(dict.reference());
    editor->collapse(false);
    QVERIFY(showActive(editor.get()));
    clickRow(editor.get(), 1);
    Word *word = dict->findWord(QStringLiteral("bank"));
    QCOMPARE(word->codes.size(), codesBefore);
    // The frequency a fresh code gets from the engine, for comparison with a first code.
    Word *probe = dict->addWord(QStringLiteral("probe"), QStringLiteral("edit"));
    while (!probe->codes.isEmpty())
        probe->removeGCode(0);
    probe->addGCode();
    const QString engineDefault = probe->codes.at(0)->frequency;
    probe->removeWord();

    QVERIFY(invoke(editor.get(), "on_addGrammarButton_clicked"));
    QCOMPARE(word->codes.size(), codesBefore + 1);
    QCOMPARE(word->codes.constLast()->partOfSpeech, QStringLiteral("new"));
    const QString expected = codesBefore > 0 ? word->codes.at(codesBefore - 1)->frequency : engineDefault;
    QCOMPARE(word->codes.constLast()->frequency, expected);
    QVERIFY(editor->grammarPopUp->isVisible());
    QVERIFY(editor->grammarPopUp->textBrowser->toPlainText().contains(QStringLiteral("new")));
}

void TestWordCommands::deleteGrammarCodeAsks_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("question");
    QTest::addColumn<int>("codesAfter");
    QTest::addColumn<bool>("wordKept");
    auto row = [](const char *name, const char *line, int index, const char *answer, const char *title,
                  const char *question, int codesAfter, bool wordKept) {
        QTest::newRow(name) << QString::fromLatin1(line) << index << QString::fromLatin1(answer)
                            << QString::fromLatin1(title) << QString::fromLatin1(question) << codesAfter << wordKept;
    };
    const char *codeTitle = "Delete Grammar Code?";
    row("noun, OK", "bank\tnoun/reg/12;verb/reg/7", 0, "OK", codeTitle, "Are you sure you want to remove this noun?", 1,
        true);
    row("verb, Cancel", "bank\tnoun/reg/12;verb/reg/7", 1, "Cancel", codeTitle,
        "Are you sure you want to remove this verb?", 2, true);
    row("new entry", "bank\tnoun/reg/12;new/-/1", 1, "OK", codeTitle, "Are you sure you want to remove new entry?", 1,
        true);
    row("only code asks to delete the word", "bank\tnoun/reg/12", 0, "OK", "Delete Word?",
        "Are you sure you want to remove \"bank\" from the dictionary?", 1, false);
}

void TestWordCommands::deleteGrammarCodeAsks()
{
    QFETCH(QString, line);
    QFETCH(int, index);
    QFETCH(QString, answer);
    QFETCH(QString, title);
    QFETCH(QString, question);
    QFETCH(int, codesAfter);
    QFETCH(bool, wordKept);
    TempDictionary dict({"apple\tnoun/reg/3", line});
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    clickRow(editor.get(), 1);
    Word *word = dict->findWord(QStringLiteral("bank"));
    QVERIFY(word);
    if (line.contains(QLatin1String("new/"))) {
        // A code added with the Add button reads "new".
        word->removeGCode(1);
        QVERIFY(invoke(editor.get(), "on_addGrammarButton_clicked"));
        QCOMPARE(word->codes.at(1)->partOfSpeech, QStringLiteral("new"));
    }
    ModalAnswerer answerer;
    QString shape;
    answerQuestion(answerer, answer, &shape);
    QVERIFY(QMetaObject::invokeMethod(editor.get(), "DeleteThisGCode", Q_ARG(int, index)));
    QVERIFY(answerer.answered());
    QCOMPARE(shape, QStringLiteral("question"));
    QCOMPARE(answerer.title(), title);
    QCOMPARE(answerer.text(), question);
    QCOMPARE(dict->findWord(QStringLiteral("bank")) != nullptr, wordKept);
    if (wordKept)
        QCOMPARE(word->codes.size(), codesAfter);
}

void TestWordCommands::deleteGrammarButtonUsesClickedRegion_data()
{
    QTest::addColumn<int>("region");
    QTest::addColumn<QString>("remaining");
    QTest::newRow("no region clicked: nothing asked") << -1 << "noun,verb";
    QTest::newRow("first code") << 0 << "verb";
    QTest::newRow("second code") << 1 << "noun";
}

void TestWordCommands::deleteGrammarButtonUsesClickedRegion()
{
    QFETCH(int, region);
    QFETCH(QString, remaining);
    TempDictionary dict({"bank\tnoun/reg/12;verb/reg/7"});
    auto editor = create(dict.reference());
    editor->collapse(false);
    QVERIFY(showActive(editor.get()));
    clickRow(editor.get(), 0);
    OurTextBrowser *browser = editor->grammarPopUp->textBrowser;
    QCOMPARE(browser->regionCount, 2);
    QVERIFY(!browser->currentRegion);
    if (region >= 0)
        browser->currentRegion = &browser->regions[region];
    ModalAnswerer answerer;
    answerer.clickButton(QStringLiteral("OK"));
    QVERIFY(invoke(editor.get(), "on_DeleteGrammarButton_clicked"));
    QCOMPARE(answerer.answered(), region >= 0);
    if (region >= 0)
        QCOMPARE(answerer.text(), QStringLiteral("Are you sure you want to remove this %1?")
                                      .arg(region == 0 ? QStringLiteral("noun") : QStringLiteral("verb")));
    QStringList parts;
    for (const auto *code : dict->findWord(QStringLiteral("bank"))->codes)
        parts << code->partOfSpeech;
    QCOMPARE(parts.join(QLatin1Char(',')), remaining);
}

void TestWordCommands::usageCommands()
{
    TempDictionary dict({"call\tverb/reg/18/Tn::|Ipr::about"});
    auto editor = create(dict.reference());
    editor->collapse(false);
    QVERIFY(showActive(editor.get()));
    clickRow(editor.get(), 0);
    Word *word = dict->findWord(QStringLiteral("call"));
    OurTextBrowser *browser = editor->grammarPopUp->textBrowser;
    QVERIFY(browser->regionCount >= 3);

    browser->currentRegion = &browser->regions[0];
    QVERIFY(invoke(editor.get(), "on_addUsageButton_clicked"));
    QCOMPARE(word->codes.at(0)->usages.size(), 3);

    // The new rendering forgets the clicked region; point at the second usage again.
    QVERIFY(!browser->currentRegion);
    int usageRegion = -1;
    for (int i = 0; i < browser->regionCount; ++i) {
        if (browser->regions[i].flags == 12 && browser->regions[i].usageIndex == 1)
            usageRegion = i;
    }
    QVERIFY(usageRegion >= 0);
    browser->currentRegion = &browser->regions[usageRegion];
    ModalAnswerer cancel;
    QString shape;
    answerQuestion(cancel, QStringLiteral("Cancel"), &shape);
    QVERIFY(invoke(editor.get(), "on_deleteUsageButton_clicked"));
    QVERIFY(cancel.answered());
    QCOMPARE(shape, QStringLiteral("question"));
    QCOMPARE(cancel.title(), QStringLiteral("Delete Usage?"));
    QCOMPARE(cancel.text(), QStringLiteral("Are you sure you want to remove this usage?"));
    QCOMPARE(word->codes.at(0)->usages.size(), 3);

    ModalAnswerer ok;
    ok.clickButton(QStringLiteral("OK"));
    QVERIFY(invoke(editor.get(), "on_deleteUsageButton_clicked"));
    QVERIFY(ok.answered());
    QCOMPARE(word->codes.at(0)->usages.size(), 2);
    QCOMPARE(word->codes.at(0)->usages.at(0)->complements()->codes(), QStringList{"Tn"});
    QCOMPARE(word->codes.at(0)->usages.at(1)->complements()->codes(), QStringList());
}

void TestWordCommands::grammarButtonsFollowPanel()
{
    TempDictionary dict({"bank\tnoun/reg/12;verb/reg/7"});
    auto editor = create(dict.reference());
    editor->collapse(false);
    QVERIFY(showActive(editor.get()));
    clickRow(editor.get(), 0);
    auto add = child<QPushButton>(editor.get(), "addGrammarButton");
    auto remove = child<QPushButton>(editor.get(), "DeleteGrammarButton");
    OurTextBrowser *browser = editor->grammarPopUp->textBrowser;
    emit browser->announceContextChange(true, true, true, false);
    QVERIFY(add->isEnabled());
    QVERIFY(remove->isEnabled());
    emit browser->announceContextChange(true, false, true, true);
    QVERIFY(add->isEnabled());
    QVERIFY(!remove->isEnabled());
    emit browser->announceContextChange(true, true, false, false);
    emit browser->alertFocusGone();
    QVERIFY(!add->isEnabled());
    QVERIFY(!remove->isEnabled());
}

void TestWordCommands::cleanup()
{
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(TestWordCommands)
#include "tst_wordcommands.moc"
