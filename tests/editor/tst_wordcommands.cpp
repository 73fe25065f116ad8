// The window's commands: Add, Transfer, Delete, Change, the grammar codes and usages, Save, Done and Export.

#include <QFileDialog>
#include <QLineEdit>
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

bool invoke(DictEditor *editor, const char *slot)
{
    return QMetaObject::invokeMethod(editor, slot);
}

} // namespace

class TestWordCommands : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QTRY_VERIFY2(windowsLeft().isEmpty(), qPrintable(windowsLeft().join(' '))); }
    void addWord();
    void transfer();
    void deleteWord();
    void viewerRefusesCommands();
    void changeSpelling();
    void grammarCodes_data();
    void grammarCodes();
    void usages();
    void save();
    void done_data();
    void done();
    void exportWords_data();
    void exportWords();
};

// Add stores the word box's text with its blanks simplified, in the grammar mode chosen by the radio buttons.
void TestWordCommands::addWord()
{
    TempDictionary dict({"apple", "banana"});
    auto editor = create(dict.reference());
    editor->collapse(false);
    QVERIFY(showActive(editor.get()));
    QSignalSpy changed(editor.get(), SIGNAL(DictionaryChanged()));
    const QList<QStringList> steps = {{"zebra", "BasicGrammarButton", "basic_grammar", "zebra"},
                                      {"  ice \t cream ", "AdvancedGrammarButton", "advanced_grammar", "ice cream"},
                                      {"   ", "BasicGrammarButton", "basic_grammar", ""}};
    for (const QStringList &step : steps) {
        editor->findChild<QRadioButton *>(step.at(1))->click();
        DictionaryReference::setEditPreferences(QString());
        wordBox(editor.get())->setPlainText(step.at(0));
        child(editor.get(), "AddWordButton")->click();
        QCOMPARE(DictionaryReference::editPreferences(), step.at(2)); // even when there is nothing to add
        if (!step.at(3).isEmpty()) {
            QVERIFY(dict->findWord(step.at(3)));
            QCOMPARE(currentText(list(editor.get())), step.at(3));
            QCOMPARE(wordBox(editor.get())->toPlainText(), step.at(3));
        }
    }
    QCOMPARE(dict->wordCount(), 4);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(listed(list(editor.get())), dict->wordList());
    QCOMPARE(child<QLineEdit>(editor.get(), "debugwindow")->text(), QStringLiteral("4"));

    // An empty dictionary shows no details panel, until it has a word to show.
    TempDictionary empty({});
    auto first = create(empty.reference());
    first->collapse(false);
    QVERIFY(showActive(first.get()));
    QVERIFY(!first->grammarPopUp->isVisible());
    wordBox(first.get())->setPlainText(QStringLiteral("zebra"));
    child(first.get(), "AddWordButton")->click();
    QVERIFY(first->grammarPopUp->isVisible());
    QCOMPARE(panelWord(first.get()), QStringLiteral("zebra"));
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
        QVERIFY(invoke(editor.get(), "on_AddWordButton_clicked"));
    }
    QCOMPARE(collected->wordList(), QStringList{"banana"});
    QCOMPARE(personal->wordList(), (QStringList{"apple", "cherry", "zebra"}));
    QCOMPARE(personal->findWord(QStringLiteral("cherry"))->codes.size(), 1);
    QCOMPARE(listed(list(editor.get())), QStringList{"banana"});
    QCOMPARE(wordBox(editor.get())->toPlainText(), QStringLiteral("banana"));
    QCOMPARE(changed.count(), 2);
    DictEditor::suppressTextChanged = true;
    wordBox(editor.get())->clear();
    DictEditor::suppressTextChanged = false;
    QVERIFY(invoke(editor.get(), "on_AddWordButton_clicked")); // an empty word box transfers nothing
    QVERIFY(collected->findWord(QStringLiteral("banana")));
    typeInto(wordBox(editor.get()), QStringLiteral("date"));
    QCOMPARE(add->text(), QStringLiteral("Add"));
    add->click();
    QVERIFY(collected->findWord(QStringLiteral("date")));
    QVERIFY(!personal->findWord(QStringLiteral("date")));
}

// Delete asks first; the list keeps the row, or the one before when the last row went.
void TestWordCommands::deleteWord()
{
    TempDictionary dict({"apple", "banana", "cherry", "date"});
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    const QList<std::tuple<int, QString, QStringList, int>> steps = {
        {1, "Cancel", {"apple", "banana", "cherry", "date"}, 1},
        {1, "OK", {"apple", "cherry", "date"}, 1},
        {2, "OK", {"apple", "cherry"}, 1}};
    for (const auto &[row, answer, remaining, currentRow] : steps) {
        clickRow(editor.get(), row);
        const QString word = list(editor.get())->item(row)->text();
        ModalAnswerer answerer;
        answerer.clickButton(answer);
        child(editor.get(), "DeleteWordButton")->click();
        QCOMPARE(answerer.title(), QStringLiteral("Delete Word?"));
        QVERIFY(answerer.wasYesNoQuestion());
        QCOMPARE(answerer.text(),
                 QStringLiteral("Are you sure you want to remove \"%1\" from the dictionary?").arg(word));
        QCOMPARE(dict->wordList(), remaining);
        QCOMPARE(listed(list(editor.get())), remaining);
        QCOMPARE(list(editor.get())->currentRow(), currentRow);
        QCOMPARE(child<QLineEdit>(editor.get(), "debugwindow")->text(), QString::number(remaining.size()));
    }
}

void TestWordCommands::viewerRefusesCommands()
{
    TempDictionary dict({"apple\tnoun/reg/5", "banana\tnoun/reg/7;verb/reg/3/Tn::"});
    auto editor = create(dict.reference(), false);
    QVERIFY(showActive(editor.get()));
    clickRow(editor.get(), 1);
    editor->grammarPopUp->textBrowser->currentRegion = editor->grammarPopUp->textBrowser->regions;
    const QStringList before = TempDictionary::describe(dict->findWord(QStringLiteral("banana")));
    ModalAnswerer answerer;
    answerer.clickButton(QStringLiteral("OK"));
    for (const char *slot : {"on_DeleteWordButton_clicked", "on_changeButton_clicked", "on_addGrammarButton_clicked",
                             "on_DeleteGrammarButton_clicked", "on_addUsageButton_clicked",
                             "on_deleteUsageButton_clicked", "on_AddWordButton_clicked"})
        QVERIFY(invoke(editor.get(), slot));
    QVERIFY(!answerer.answered());
    QCOMPARE(TempDictionary::describe(dict->findWord(QStringLiteral("banana"))), before);
    QCOMPARE(dict->wordCount(), 2);
    QVERIFY(!dict->isDirty());
}

void TestWordCommands::changeSpelling()
{
    TempDictionary dict({"apple", "banana", "cherry"});
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    for (const bool accept : {false, true}) {
        clickRow(editor.get(), 1);
        QString offered;
        ModalAnswerer answerer;
        answerer.handle([&](QWidget *dialog) {
            auto newBox = dialog->findChild<QLineEdit *>(QStringLiteral("newBox"));
            offered = newBox->text();
            newBox->selectAll();
            QTest::keyClicks(newBox, QStringLiteral("bananna"));
            QTest::keyClick(newBox, accept ? Qt::Key_Return : Qt::Key_Escape);
        });
        child(editor.get(), "changeButton")->click();
        QCOMPARE(answerer.title(), QStringLiteral("Change Spelling"));
        QCOMPARE(offered, QStringLiteral("banana"));
        const QString now = accept ? QStringLiteral("bananna") : QStringLiteral("banana");
        QCOMPARE(dict->wordList(), (QStringList{"apple", now, "cherry"}));
        QCOMPARE(listed(list(editor.get())), dict->wordList());
        QCOMPARE(currentText(list(editor.get())), now);
        QCOMPARE(wordBox(editor.get())->toPlainText(), now);
        QCOMPARE(dict->isDirty(), accept);
    }
}

void TestWordCommands::grammarCodes_data()
{
    // The word's codes | the code to delete | the answer | the question | the codes left ("" when the word is gone).
    QTest::addColumn<QString>("fields");
    QTest::newRow("noun") << "bank\tnoun/reg/12;verb/reg/7|0|OK|Are you sure you want to remove this noun?|verb,new";
    QTest::newRow("cancelled")
        << "bank\tnoun/reg/12;verb/reg/7|1|Cancel|Are you sure you want to remove this verb?|noun,verb,new";
    QTest::newRow("new entry") << "bank\tnoun/reg/12|1|OK|Are you sure you want to remove new entry?|noun";
    QTest::newRow("the only code deletes the word")
        << "bank\tnoun/reg/12|0|OK|Are you sure you want to remove \"bank\" from the dictionary?|";
}

// Add gives a "new" code with the frequency of the code before it; Delete asks about the clicked code, and
// about the word when it is the only code.
void TestWordCommands::grammarCodes()
{
    QFETCH(QString, fields);
    const QStringList row = fields.split('|');
    TempDictionary dict({"apple", row.at(0)});
    auto editor = create(dict.reference());
    editor->collapse(false);
    QVERIFY(showActive(editor.get()));
    clickRow(editor.get(), 0); // a word without codes gets its first
    QVERIFY(invoke(editor.get(), "on_addGrammarButton_clicked"));
    QCOMPARE(partsOfSpeech(dict->findWord(QStringLiteral("apple"))), QStringList{"new"});
    clickRow(editor.get(), 1);
    Word *word = dict->findWord(QStringLiteral("bank"));
    QVERIFY(invoke(editor.get(), "on_addGrammarButton_clicked"));
    QCOMPARE(word->codes.constLast()->partOfSpeech, QStringLiteral("new"));
    QCOMPARE(word->codes.constLast()->frequency, word->codes.at(word->codes.size() - 2)->frequency);
    if (row.at(1) == QLatin1String("0") && word->codes.size() == 2)
        word->removeGCode(1); // leave the only code
    OurTextBrowser *browser = editor->grammarPopUp->textBrowser;
    ModalAnswerer answerer;
    answerer.clickButton(row.at(2));
    QVERIFY(invoke(editor.get(), "on_DeleteGrammarButton_clicked"));
    QVERIFY(!answerer.answered()); // no code clicked yet
    browser->currentRegion = &browser->regions[row.at(1).toInt()];
    QVERIFY(invoke(editor.get(), "on_DeleteGrammarButton_clicked"));
    QTRY_VERIFY(answerer.answered());
    QCOMPARE(answerer.text(), row.at(3));
    QVERIFY(answerer.wasYesNoQuestion());
    word = dict->findWord(QStringLiteral("bank"));
    QCOMPARE(word ? partsOfSpeech(word).join(',') : QString(), row.at(4));

    // The panel's context switches the grammar buttons; losing its focus disables both.
    emit browser->announceContextChange(true, true, true, false);
    QVERIFY(child(editor.get(), "DeleteGrammarButton")->isEnabled());
    emit browser->alertFocusGone();
    QVERIFY(!child(editor.get(), "DeleteGrammarButton")->isEnabled());
    QVERIFY(!child(editor.get(), "addGrammarButton")->isEnabled());
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
    QVERIFY(invoke(editor.get(), "on_addUsageButton_clicked"));
    QCOMPARE(word->codes.at(0)->usages.size(), 3);
    // Regions: the code, then one per usage; delete the second usage, cancelling first.
    for (const char *answer : {"Cancel", "OK"}) {
        browser->currentRegion = &browser->regions[2];
        ModalAnswerer answerer;
        answerer.clickButton(QLatin1String(answer));
        QVERIFY(invoke(editor.get(), "on_deleteUsageButton_clicked"));
        QCOMPARE(answerer.title(), QStringLiteral("Delete Usage?"));
        QVERIFY(answerer.wasYesNoQuestion());
    }
    QCOMPARE(word->codes.at(0)->usages.size(), 2);
    QCOMPARE(word->codes.at(0)->usages.at(0)->complements()->codes(), QStringList{"Tn"});
    QCOMPARE(word->codes.at(0)->usages.at(1)->complements()->codes(), QStringList());
}

// The engine saves only when the host does not; the host is asked for both dictionaries.
void TestWordCommands::save()
{
    for (const bool saveByHost : {false, true}) {
        TempDictionary dict({"apple"});
        TempDictionary target({"zebra"});
        auto editor = create(dict.reference(), true, QString(), saveByHost);
        editor->setTransferTo(target.reference());
        makeDirty(dict, QStringLiteral("banana"));
        makeDirty(target, QStringLiteral("yak"));
        QSignalSpy saves(editor.get(), SIGNAL(Save_Dictionary(DictionaryReference)));
        QSignalSpy changed(editor.get(), SIGNAL(DictionaryChanged()));
        child(editor.get(), "SaveButton")->click();
        QCOMPARE(saves.count(), saveByHost ? 2 : 0);
        QCOMPARE(changed.count(), saveByHost ? 1 : 0);
        if (saveByHost)
            QVERIFY(qvariant_cast<DictionaryReference>(saves.at(1).at(0)) == target.reference());
        QCOMPARE(dict->isDirty(), saveByHost);
        QCOMPARE(target->isDirty(), saveByHost);
    }
}

void TestWordCommands::done_data()
{
    QTest::addColumn<QString>("answer");    // empty: the close box of a clean window
    QTest::addColumn<QList<bool>>("after"); // hidden, dirty, the new word kept
    QTest::newRow("yes saves both") << "YesButton" << QList<bool>{true, false, true};
    QTest::newRow("no reloads both") << "NoButton" << QList<bool>{true, false, false};
    QTest::newRow("cancel stays open") << "CancelButton" << QList<bool>{false, true, true};
    QTest::newRow("close box, clean") << "" << QList<bool>{true, false, false};
}

void TestWordCommands::done()
{
    QFETCH(QString, answer);
    QFETCH(QList<bool>, after);
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
    QCOMPARE(QList<bool>({!editor->isVisible(), dict->isDirty(), dict->findWord(QStringLiteral("banana")) != nullptr}),
             after);
    // The transfer target follows the window's own answer.
    QCOMPARE(target->isDirty(), answer.isEmpty() || after.at(1));
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

// The listed words go to a text file, one per line, replacing what it held; a cancelled dialog writes nothing.
void TestWordCommands::exportWords()
{
    QFETCH(QStringList, words);
    QFETCH(QByteArray, bytes);
    TempDictionary dict(words, Prediction::American, QStringLiteral("Listed"));
    auto editor = create(dict.reference(), false);
    const QString target = dict.folder() + QStringLiteral("/export.txt");
    QFile file(target);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("an earlier, longer content");
    file.close();
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
    QVERIFY(invoke(editor.get(), "on_ExportWordButton_clicked"));
    QVERIFY(save.answered());
    QCOMPARE(save.title(), QStringLiteral("Save List of Words"));
    QCOMPARE(startName, QStringLiteral("Listed.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes.isEmpty() ? QByteArray("an earlier, longer content") : bytes);
    QCOMPARE(info.answered(), !bytes.isEmpty());
    if (!bytes.isEmpty())
        QCOMPARE(info.text(), QStringLiteral("Text file %1 saved.").arg(target));
}

QTEST_MAIN(TestWordCommands)
#include "tst_wordcommands.moc"
