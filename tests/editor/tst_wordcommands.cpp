// The window's commands: Add, Transfer, Delete, Change, the grammar codes and usages, Save, Done and Export.

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QtTest>

#include "editortesthelpers.h"
#include "modalanswerer.h"

using namespace EditorTest;

namespace {

void makeDirty(TempDictionary &dict, const QString &word)
{
    dict->begin_edit();
    QVERIFY(dict->addWord(word, QStringLiteral("edit")));
}

QStringList partsOfSpeech(const Word *word)
{
    QStringList parts;
    for (const GCode *code : word->codes)
        parts << code->partOfSpeech;
    return parts;
}

} // namespace

class TestWordCommands : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void addWord_data();
    void addWord();
    void transfer();
    void deleteWord_data();
    void deleteWord();
    void viewerRefusesCommands();
    void changeSpelling_data();
    void changeSpelling();
    void grammarCodes();
    void deleteGrammarCode_data();
    void deleteGrammarCode();
    void usages();
    void save_data();
    void save();
    void done_data();
    void done();
    void exportWords_data();
    void exportWords();
};

void TestWordCommands::cleanup()
{
    QTRY_VERIFY2(windowsLeft().isEmpty(), qPrintable(windowsLeft().join(QLatin1Char(' '))));
}

void TestWordCommands::addWord_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("stored");
    QTest::newRow("basic") << "zebra"
                           << "BasicGrammarButton"
                           << "zebra";
    QTest::newRow("spaces and tabs, advanced") << "  ice \t cream "
                                               << "AdvancedGrammarButton"
                                               << "ice cream";
    QTest::newRow("only spaces") << "   "
                                 << "AdvancedGrammarButton"
                                 << "";
}

void TestWordCommands::addWord()
{
    QFETCH(QString, typed);
    QFETCH(QString, mode);
    QFETCH(QString, stored);
    TempDictionary dict({"apple", "banana"});
    auto editor = create(dict.reference());
    editor->collapse(false);
    QVERIFY(showActive(editor.get()));
    QSignalSpy changed(editor.get(), SIGNAL(DictionaryChanged()));
    child<QRadioButton>(editor.get(), "AdvancedGrammarButton")->click();
    editor->findChild<QRadioButton *>(mode)->click();
    DictionaryReference::setEditPreferences(QString());
    wordBox(editor.get())->setPlainText(typed);
    child(editor.get(), "AddWordButton")->click();
    // The chosen grammar mode reaches the engine, even when there is nothing to add.
    QCOMPARE(DictionaryReference::editPreferences(), mode.startsWith(QLatin1String("Basic"))
                                                         ? QStringLiteral("basic_grammar")
                                                         : QStringLiteral("advanced_grammar"));
    QCOMPARE(dict->wordCount(), stored.isEmpty() ? 2 : 3);
    QCOMPARE(changed.count(), stored.isEmpty() ? 0 : 1);
    QCOMPARE(listed(list(editor.get())), dict->wordList());
    QCOMPARE(child<QLineEdit>(editor.get(), "debugwindow")->text(), QString::number(dict->wordCount()));
    if (!stored.isEmpty()) {
        QVERIFY(dict->findWord(stored));
        QCOMPARE(currentText(list(editor.get())), stored);
        QCOMPARE(wordBox(editor.get())->toPlainText(), stored);
    }
}

// In transfer mode, Transfer moves the selected word to the target; a word not listed is added as usual.
void TestWordCommands::transfer()
{
    TempDictionary collected({"apple\tnoun/reg/5", "banana\tnoun/reg/7", "cherry\tnoun/reg/9"});
    TempDictionary personal({"zebra"});
    auto editor = create(collected.reference());
    editor->setTransferTo(personal.reference());
    QVERIFY(showActive(editor.get()));
    QSignalSpy changed(editor.get(), SIGNAL(DictionaryChanged()));
    auto add = child(editor.get(), "AddWordButton");
    for (int row : {2, 0}) {
        clickRow(editor.get(), row);
        QCOMPARE(add->text(), QStringLiteral("Transfer"));
        add->setEnabled(true);
        add->click();
    }
    QCOMPARE(collected->wordList(), QStringList{"banana"});
    QCOMPARE(personal->wordList(), (QStringList{"apple", "cherry", "zebra"}));
    QCOMPARE(personal->findWord(QStringLiteral("cherry"))->codes.size(), 1);
    QCOMPARE(listed(list(editor.get())), QStringList{"banana"});
    QCOMPARE(wordBox(editor.get())->toPlainText(), QStringLiteral("banana"));
    QCOMPARE(changed.count(), 2);
    // An empty word box transfers nothing.
    DictEditor::suppressTextChanged = true;
    wordBox(editor.get())->clear();
    DictEditor::suppressTextChanged = false;
    QVERIFY(QMetaObject::invokeMethod(editor.get(), "on_AddWordButton_clicked"));
    QVERIFY(collected->findWord(QStringLiteral("banana")));
    typeInto(wordBox(editor.get()), QStringLiteral("date"));
    QCOMPARE(add->text(), QStringLiteral("Add"));
    add->click();
    QVERIFY(collected->findWord(QStringLiteral("date")));
    QVERIFY(!personal->findWord(QStringLiteral("date")));
}

void TestWordCommands::deleteWord_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<int>("currentRow");
    QTest::newRow("middle") << 1 << "OK" << QStringList{"apple", "cherry"} << 1;
    QTest::newRow("last") << 2 << "OK" << QStringList{"apple", "banana"} << 1;
    QTest::newRow("cancel") << 1 << "Cancel" << QStringList{"apple", "banana", "cherry"} << 1;
}

void TestWordCommands::deleteWord()
{
    QFETCH(int, row);
    QFETCH(QString, answer);
    QFETCH(QStringList, remaining);
    QFETCH(int, currentRow);
    TempDictionary dict({"apple", "banana", "cherry"});
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    clickRow(editor.get(), row);
    const QString word = list(editor.get())->item(row)->text();
    ModalAnswerer answerer;
    answerer.clickButton(answer);
    child(editor.get(), "DeleteWordButton")->click();
    QVERIFY(answerer.answered());
    QCOMPARE(answerer.title(), QStringLiteral("Delete Word?"));
    QCOMPARE(answerer.text(), QStringLiteral("Are you sure you want to remove \"%1\" from the dictionary?").arg(word));
    QCOMPARE(dict->wordList(), remaining);
    QCOMPARE(listed(list(editor.get())), remaining);
    QCOMPARE(list(editor.get())->currentRow(), currentRow);
    QCOMPARE(child<QLineEdit>(editor.get(), "debugwindow")->text(), QString::number(remaining.size()));
}

void TestWordCommands::viewerRefusesCommands()
{
    TempDictionary dict({"apple\tnoun/reg/5", "banana\tnoun/reg/7;verb/reg/3/Tn::"});
    auto editor = create(dict.reference(), false);
    QVERIFY(showActive(editor.get()));
    clickRow(editor.get(), 1);
    editor->grammarPopUp->textBrowser->currentRegion = editor->grammarPopUp->textBrowser->regions;
    ModalAnswerer answerer;
    answerer.clickButton(QStringLiteral("OK"));
    for (const char *slot : {"on_DeleteWordButton_clicked", "on_changeButton_clicked", "on_addGrammarButton_clicked",
                             "on_DeleteGrammarButton_clicked", "on_addUsageButton_clicked",
                             "on_deleteUsageButton_clicked", "on_AddWordButton_clicked"})
        QVERIFY(QMetaObject::invokeMethod(editor.get(), slot));
    QVERIFY(!answerer.answered());
    QCOMPARE(TempDictionary::describe(dict->findWord(QStringLiteral("banana"))),
             TempDictionary::describe(dict->findWord(QStringLiteral("banana"))));
    QCOMPARE(dict->findWord(QStringLiteral("banana"))->codes.at(1)->usages.size(), 1);
    QCOMPARE(dict->wordCount(), 2);
    QVERIFY(!dict->isDirty());
}

void TestWordCommands::changeSpelling_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accept");
    QTest::newRow("new spelling") << "bananna" << true;
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
    QString offered;
    ModalAnswerer answerer;
    answerer.handle([&](QWidget *dialog) {
        auto newBox = dialog->findChild<QLineEdit *>(QStringLiteral("newBox"));
        offered = newBox->text();
        newBox->selectAll();
        QTest::keyClicks(newBox, typed);
        QTest::keyClick(newBox, accept ? Qt::Key_Return : Qt::Key_Escape);
    });
    child(editor.get(), "changeButton")->click();
    QVERIFY(answerer.answered());
    QCOMPARE(answerer.title(), QStringLiteral("Change Spelling"));
    QCOMPARE(offered, QStringLiteral("banana"));
    const QString now = accept ? typed : QStringLiteral("banana");
    QCOMPARE(dict->wordList(), (QStringList{"apple", now, "cherry"}));
    QCOMPARE(listed(list(editor.get())), dict->wordList());
    QCOMPARE(currentText(list(editor.get())), now);
    QCOMPARE(wordBox(editor.get())->toPlainText(), now);
    QCOMPARE(dict->isDirty(), accept);
}

// Add gives a "new" code with the frequency of the code before it; Delete asks about the clicked code only.
void TestWordCommands::grammarCodes()
{
    TempDictionary dict({"bank\tnoun/reg/12;verb/reg/7"});
    auto editor = create(dict.reference());
    editor->collapse(false);
    QVERIFY(showActive(editor.get()));
    clickRow(editor.get(), 0);
    Word *word = dict->findWord(QStringLiteral("bank"));
    QVERIFY(QMetaObject::invokeMethod(editor.get(), "on_addGrammarButton_clicked"));
    QCOMPARE(partsOfSpeech(word), (QStringList{"noun", "verb", "new"}));
    QCOMPARE(word->codes.at(2)->frequency, QStringLiteral("7"));
    QVERIFY(editor->grammarPopUp->textBrowser->toPlainText().contains(QStringLiteral("new")));

    ModalAnswerer answerer;
    answerer.clickButton(QStringLiteral("OK"));
    QVERIFY(QMetaObject::invokeMethod(editor.get(), "on_DeleteGrammarButton_clicked"));
    QVERIFY(!answerer.answered()); // no code clicked yet
    OurTextBrowser *browser = editor->grammarPopUp->textBrowser;
    browser->currentRegion = &browser->regions[1];
    QVERIFY(QMetaObject::invokeMethod(editor.get(), "on_DeleteGrammarButton_clicked"));
    QTRY_VERIFY(answerer.answered());
    QCOMPARE(answerer.text(), QStringLiteral("Are you sure you want to remove this verb?"));
    QCOMPARE(partsOfSpeech(word), (QStringList{"noun", "new"}));

    // The panel's context switches the grammar buttons; losing its focus disables both.
    emit browser->announceContextChange(true, true, true, false);
    QVERIFY(child(editor.get(), "DeleteGrammarButton")->isEnabled());
    emit browser->announceContextChange(true, false, true, true);
    QVERIFY(!child(editor.get(), "DeleteGrammarButton")->isEnabled());
    emit browser->alertFocusGone();
    QVERIFY(!child(editor.get(), "addGrammarButton")->isEnabled());
}

void TestWordCommands::deleteGrammarCode_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("remaining"); // empty: the word is gone
    QTest::newRow("noun") << "bank\tnoun/reg/12;verb/reg/7" << 0 << "OK"
                          << "Are you sure you want to remove this noun?" << QStringList{"verb"};
    QTest::newRow("cancelled") << "bank\tnoun/reg/12;verb/reg/7" << 1 << "Cancel"
                               << "Are you sure you want to remove this verb?" << QStringList{"noun", "verb"};
    QTest::newRow("new entry") << "bank\tnoun/reg/12;new/-/1" << 1 << "OK"
                               << "Are you sure you want to remove new entry?" << QStringList{"noun"};
    QTest::newRow("the only code deletes the word")
        << "bank\tnoun/reg/12" << 0 << "OK"
        << "Are you sure you want to remove \"bank\" from the dictionary?" << QStringList();
}

void TestWordCommands::deleteGrammarCode()
{
    QFETCH(QString, line);
    QFETCH(int, index);
    QFETCH(QString, answer);
    QFETCH(QString, question);
    QFETCH(QStringList, remaining);
    TempDictionary dict({"apple", line});
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    clickRow(editor.get(), 1);
    ModalAnswerer answerer;
    answerer.clickButton(answer);
    QVERIFY(QMetaObject::invokeMethod(editor.get(), "DeleteThisGCode", Q_ARG(int, index)));
    QVERIFY(answerer.answered());
    QCOMPARE(answerer.text(), question);
    Word *word = dict->findWord(QStringLiteral("bank"));
    QCOMPARE(word ? partsOfSpeech(word) : QStringList(), remaining);
}

void TestWordCommands::usages()
{
    TempDictionary dict({"call\tverb/reg/18/Tn::|Ipr::about"});
    auto editor = create(dict.reference());
    editor->collapse(false);
    QVERIFY(showActive(editor.get()));
    clickRow(editor.get(), 0);
    Word *word = dict->findWord(QStringLiteral("call"));
    OurTextBrowser *browser = editor->grammarPopUp->textBrowser;
    browser->currentRegion = &browser->regions[0];
    QVERIFY(QMetaObject::invokeMethod(editor.get(), "on_addUsageButton_clicked"));
    QCOMPARE(word->codes.at(0)->usages.size(), 3);
    // Regions: the code, then one per usage; delete the second usage, cancelling first.
    for (const char *answer : {"Cancel", "OK"}) {
        browser->currentRegion = &browser->regions[2];
        ModalAnswerer answerer;
        answerer.clickButton(QLatin1String(answer));
        QVERIFY(QMetaObject::invokeMethod(editor.get(), "on_deleteUsageButton_clicked"));
        QVERIFY(answerer.answered());
        QCOMPARE(answerer.title(), QStringLiteral("Delete Usage?"));
    }
    QCOMPARE(word->codes.at(0)->usages.size(), 2);
    QCOMPARE(word->codes.at(0)->usages.at(0)->complements()->codes(), QStringList{"Tn"});
    QCOMPARE(word->codes.at(0)->usages.at(1)->complements()->codes(), QStringList());
}

void TestWordCommands::save_data()
{
    QTest::addColumn<bool>("saveByHost");
    QTest::addColumn<bool>("transfer");
    QTest::newRow("engine saves") << false << false;
    QTest::newRow("engine saves both") << false << true;
    QTest::newRow("host saves both") << true << true;
}

void TestWordCommands::save()
{
    QFETCH(bool, saveByHost);
    QFETCH(bool, transfer);
    TempDictionary dict({"apple"});
    TempDictionary target({"zebra"});
    auto editor = create(dict.reference(), true, QString(), saveByHost);
    if (transfer)
        editor->setTransferTo(target.reference());
    makeDirty(dict, QStringLiteral("banana"));
    makeDirty(target, QStringLiteral("yak"));
    QSignalSpy saves(editor.get(), SIGNAL(Save_Dictionary(DictionaryReference)));
    QSignalSpy changed(editor.get(), SIGNAL(DictionaryChanged()));
    child(editor.get(), "SaveButton")->click();
    // The engine saves only when the host does not; the host is asked for both dictionaries.
    QCOMPARE(saves.count(), saveByHost ? 2 : 0);
    QCOMPARE(changed.count(), saveByHost ? 1 : 0);
    if (saveByHost)
        QVERIFY(qvariant_cast<DictionaryReference>(saves.at(1).at(0)) == target.reference());
    QCOMPARE(dict->isDirty(), saveByHost);
    QCOMPARE(target->isDirty(), saveByHost || !transfer);
}

void TestWordCommands::done_data()
{
    QTest::addColumn<QString>("answer"); // empty: the close box of a clean window
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<bool>("dirtyAfter");
    QTest::addColumn<bool>("wordKept");
    QTest::newRow("yes saves both") << "YesButton" << true << false << true;
    QTest::newRow("no reloads both") << "NoButton" << true << false << false;
    QTest::newRow("cancel stays open") << "CancelButton" << false << true << true;
    QTest::newRow("close box, clean") << "" << true << false << false;
}

void TestWordCommands::done()
{
    QFETCH(QString, answer);
    QFETCH(bool, hidden);
    QFETCH(bool, dirtyAfter);
    QFETCH(bool, wordKept);
    TempDictionary dict({"apple"}, Prediction::American, QStringLiteral("My Words"));
    TempDictionary target({"zebra"});
    auto editor = create(dict.reference());
    editor->setTransferTo(target.reference());
    QVERIFY(showActive(editor.get()));
    makeDirty(target, QStringLiteral("yak"));
    QSignalSpy closed(editor.get(), SIGNAL(EditWindow_Close(DictionaryReference)));
    ModalAnswerer answerer;
    if (answer.isEmpty()) {
        QVERIFY(!editor->close());
        QCOMPARE(closed.count(), 1);
    } else {
        makeDirty(dict, QStringLiteral("banana"));
        answerer.clickButton(answer);
        child(editor.get(), "DoneButton")->click();
        QCOMPARE(answerer.title(), QStringLiteral("Lexora Editor"));
        QVERIFY2(answerer.text().contains(QStringLiteral("\"My Words\" has changed.")), qPrintable(answerer.text()));
    }
    QCOMPARE(answerer.answered(), !answer.isEmpty());
    QCOMPARE(editor->isVisible(), !hidden);
    QCOMPARE(dict->isDirty(), dirtyAfter);
    QCOMPARE(dict->findWord(QStringLiteral("banana")) != nullptr, wordKept);
    // The transfer target follows the window's own answer.
    QCOMPARE(target->isDirty(), answer.isEmpty() || dirtyAfter);
    QCOMPARE(target->findWord(QStringLiteral("yak")) != nullptr, answer != QLatin1String("NoButton"));
}

void TestWordCommands::exportWords_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QByteArray>("bytes"); // empty: the file dialog is cancelled
    QTest::newRow("lines") << QStringList{"a", "b", "c"} << QByteArray("a\r\nb\r\nc");
    QTest::newRow("outside Latin-1") << QStringList{"caf\u00e9", "\u0434\u0430"} << QByteArray("caf\xe9\r\n??");
    QTest::newRow("cancelled") << QStringList{"a"} << QByteArray();
}

void TestWordCommands::exportWords()
{
    QFETCH(QStringList, words);
    QFETCH(QByteArray, bytes);
    TempDictionary dict(words, Prediction::American, QStringLiteral("Listed"));
    auto editor = create(dict.reference(), false);
    const QString target = dict.folder() + QStringLiteral("/export.txt");
    QFile old(target);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("an earlier, longer content");
    old.close();
    QString startName;
    ModalAnswerer info;
    ModalAnswerer save;
    save.handle([&](QWidget *modal) {
        auto dialog = qobject_cast<QFileDialog *>(modal);
        auto name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        startName = name->text();
        if (bytes.isEmpty())
            return static_cast<QDialog *>(dialog)->reject();
        info.clickButton(QStringLiteral("OK"));
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
        name->setText(target);
        static_cast<QDialog *>(dialog)->accept();
    });
    QVERIFY(QMetaObject::invokeMethod(editor.get(), "on_ExportWordButton_clicked"));
    QVERIFY(save.answered());
    QCOMPARE(save.title(), QStringLiteral("Save List of Words"));
    QCOMPARE(startName, QStringLiteral("Listed.txt"));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), bytes.isEmpty() ? QByteArray("an earlier, longer content") : bytes);
    QCOMPARE(info.answered(), !bytes.isEmpty());
    if (!bytes.isEmpty())
        QCOMPARE(info.text(), QStringLiteral("Text file %1 saved.").arg(target));
}

QTEST_MAIN(TestWordCommands)
#include "tst_wordcommands.moc"
