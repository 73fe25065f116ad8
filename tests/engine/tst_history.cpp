#include <QFile>
#include <QtTest>
#include <functional>

#include "prediction.h"
#include "tempdictionary.h"

using Edit = std::function<void(Dictionary *)>;
Q_DECLARE_METATYPE(Edit)

namespace {

const QStringList lines = {"apple\tnoun/reg/10", "call\tverb/reg/18/Tn:up:about", "cat\tnoun/reg/16",
                           "depend\tverb/reg/8", "quick\tadj./reg/12;adv./-/3"};

// Every word with all its fields, in order: what a fresh open of the file must give back.
QStringList contents(Dictionary *dictionary)
{
    QStringList out;
    for (const QString &text : dictionary->allWords())
        out << TempDictionary::describe(dictionary->peekWord(text)).join(QLatin1Char('|'));
    return out;
}

// The words as stored: a copy of the file opened on its own, so that nothing in memory answers for it.
QStringList stored(const TempDictionary &dict, const QString &name)
{
    const QString copy = dict.folder() + QLatin1Char('/') + name + QStringLiteral(".dict");
    if (!QFile::copy(dict.path(), copy))
        return {QStringLiteral("no copy")};
    DictionaryReference fresh = Prediction::openDictionary(copy);
    return fresh == 0 ? QStringList{QStringLiteral("no open")} : contents(fresh.get());
}

} // namespace

/// Undo and redo: every kind of edit taken back and done again, through saves, across two dictionaries.
class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void init() { DictionaryReference::setEditPreferences("basic_grammar"); }
    void everyEdit_data();
    void everyEdit();
    void transfer_data();
    void transfer();
    void forgetting();
};

void TestHistory::everyEdit_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QString>("description"); // of the last step
    auto row = [](const char *name, int steps, const QString &description, Edit edit) {
        QTest::newRow(name) << edit << steps << description;
    };
    auto word = [](Dictionary *d, const char *text) { return d->findWord(QString::fromLatin1(text)); };
    row("add", 1, "Add \"zebra\"", [](Dictionary *d) { QVERIFY(d->addWord("zebra", "edit")); });
    row("delete", 1, "Delete \"call\"", [=](Dictionary *d) { word(d, "call")->removeWord(); });
    row("re-spell", 1, "Re-spell \"apple\" as \"Apple\"",
        [=](Dictionary *d) { word(d, "apple")->changeSpelling("Apple"); });
    row("frequency", 1, "Frequency of \"depend\" 8 \u2192 12",
        [=](Dictionary *d) { word(d, "depend")->codes.at(0)->setFrequency("12"); });
    row("part of speech", 1, "Part of speech of \"depend\" verb \u2192 noun",
        [=](Dictionary *d) { word(d, "depend")->setCodeName(0, "noun"); });
    row("subcode", 1, "Subcode of \"apple\" reg \u2192 uncount",
        [=](Dictionary *d) { word(d, "apple")->codes.at(0)->setSubcode("uncount"); });
    row("add grammar code", 1, "Add a grammar code to \"cat\"", [=](Dictionary *d) { word(d, "cat")->addGCode(); });
    row("delete grammar code", 1, "Delete the adj. code of \"quick\"",
        [=](Dictionary *d) { word(d, "quick")->removeGCode(0); });
    row("add usage", 1, "Add a usage to \"call\"", [=](Dictionary *d) { word(d, "call")->addUse(0); });
    row("usage codes", 1, "Change a usage of \"call\"",
        [=](Dictionary *d) { word(d, "call")->codes.at(0)->usages.at(0)->particles()->setCodes({"away"}); });
    row("delete usage", 1, "Delete a usage of \"call\"", [=](Dictionary *d) { word(d, "call")->removeUse(0, 0); });
    row("adverb positions", 1, "Adverb positions of \"quick\"",
        [=](Dictionary *d) { word(d, "quick")->codes.at(1)->adverbPositions->setCodes({"vp+"}); });
    row("paste", 1, "Paste \"zebra\"", [](Dictionary *d) {
        TempDictionary other({"zebra\tnoun/reg/9"});
        other->findWord("zebra");
        QCOMPARE(d->pasteWord(other->copyCurrentWord()), QStringLiteral("zebra"));
    });
    // Steps that meet in one spelling: a word deleted and added anew, two words trading spellings.
    row("delete, then add anew", 2, "Add \"call\"", [=](Dictionary *d) {
        word(d, "call")->removeWord();
        QVERIFY(d->addWord("call", "edit"));
    });
    row("swap spellings", 3, "Re-spell \"swap\" as \"cat\"", [=](Dictionary *d) {
        Word *apple = word(d, "apple");
        apple->changeSpelling("swap");
        word(d, "cat")->changeSpelling("apple");
        apple->changeSpelling("cat");
    });
    row("many edits of one word", 4, "Re-spell \"depend\" as \"depends\"", [=](Dictionary *d) {
        for (const char *frequency : {"1", "2", "3"})
            word(d, "depend")->codes.at(0)->setFrequency(frequency);
        word(d, "depend")->codes.at(0)->setFrequency("3"); // no change, no step
        word(d, "depend")->changeSpelling("depends");
    });
}

// Each edit is undone back to the saved words (no longer dirty, the same Word objects), redone, saved; then
// undone across that save and saved again. A fresh open of the file shows each saved state.
void TestHistory::everyEdit()
{
    QFETCH(Edit, edit);
    QFETCH(int, steps);
    QFETCH(QString, description);
    TempDictionary file(lines);
    QVERIFY2(file.error().isEmpty(), qPrintable(file.error()));
    file.release(); // opened afresh, with no history
    DictionaryReference dict = Prediction::openDictionary(file.path());
    QVERIFY(dict != 0);
    const QStringList original = contents(dict.get());
    QMap<QString, Word *> objects;
    for (const QString &text : dict->allWords())
        objects.insert(text, dict->findWord(text));
    QVERIFY(!dict->canUndo() && !dict->canRedo() && dict->undo() == nullptr);

    edit(dict.get());
    const QStringList edited = contents(dict.get());
    QVERIFY(edited != original && dict->isDirty());
    QCOMPARE(dict->undoText(), description);
    if (steps == 1 && description.startsWith("Delete \"call")) // as the window sees it: the removed word
        QVERIFY(objects.value("call")->isRemoved());
    for (int i = 0; i < steps; ++i)
        QVERIFY(dict->undo());
    QCOMPARE(contents(dict.get()), original);
    QVERIFY(!dict->isDirty() && !dict->canUndo());
    for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
        QCOMPARE(dict->findWord(it.key()), it.value());
        QVERIFY(!it.value()->isRemoved());
    }
    for (int i = 0; i < steps; ++i)
        QVERIFY(dict->redo());
    QVERIFY(!dict->canRedo() && dict->redo() == nullptr);
    QCOMPARE(dict->undoText(), description);
    QCOMPARE(contents(dict.get()), edited);
    QVERIFY(dict->isDirty());
    QCOMPARE(dict->save(), 0);
    QCOMPARE(stored(file, "edited"), edited);

    // A save keeps the history: undone past it the words are dirty again, and saved, the file has them back.
    for (int i = 0; i < steps; ++i)
        QVERIFY(dict->undo());
    QCOMPARE(dict->redoText().isEmpty(), false);
    QVERIFY(dict->isDirty());
    QCOMPARE(dict->save(), 0);
    QCOMPARE(stored(file, "undone"), original);
    QVERIFY(dict->redo());
    QVERIFY(dict->isDirty());
}

void TestHistory::transfer_data()
{
    QTest::addColumn<bool>("undoInTarget");
    QTest::addColumn<bool>("targetEditedSince");
    QTest::newRow("undone in the source") << false << false;
    QTest::newRow("undone in the target") << true << false;
    QTest::newRow("target edited since: the source alone") << false << true;
}

// A transfer (added there, removed here) is undone and redone in both dictionaries from either side, the
// source's word back under its old object; when the target has edited since, the source goes alone and
// the word is kept in both.
void TestHistory::transfer()
{
    QFETCH(bool, undoInTarget);
    QFETCH(bool, targetEditedSince);
    TempDictionary source(lines), target({"dog\tnoun/reg/20"});
    Word *call = source->findWord("call");
    const QStringList fields = TempDictionary::describe(call);
    QVERIFY(target->addWord(call));
    call->removeWord();
    QCOMPARE(source->undoText(), QStringLiteral("Transfer \"call\""));
    QCOMPARE(target->undoText(), QStringLiteral("Transfer \"call\""));
    if (targetEditedSince)
        target->findWord("dog")->codes.at(0)->setFrequency("21");

    QVERIFY((undoInTarget ? target : source)->undo());
    QCOMPARE(source->findWord("call"), call);
    QCOMPARE(TempDictionary::describe(call), fields);
    QCOMPARE(target->findWord("call") != nullptr, targetEditedSince);
    QVERIFY(!source->isDirty());
    QCOMPARE(target->isDirty(), targetEditedSince);

    QVERIFY((targetEditedSince || undoInTarget ? source : target)->redo());
    QVERIFY(!source->findWord("call") && target->findWord("call"));
    QVERIFY(!source->canRedo() && !target->canRedo());
    QCOMPARE(source->save(), 0);
    QCOMPARE(target->save(), 0);
    QVERIFY(!stored(source, "source").join('\n').contains("call|"));
    QVERIFY(stored(target, "target").join('\n').contains("call|verb|reg|18"));

    // The target closing leaves the source's side on its own.
    target.release();
    QCOMPARE(source->undo(), call);
    QCOMPARE(source->findWord("call"), call);
}

// A reload discards the edits and their history; an edit after an undo drops what could be redone; a bulk
// import cannot be undone step by step and leaves the dictionary unsaved.
void TestHistory::forgetting()
{
    TempDictionary dict(lines);
    dict->findWord("cat")->removeWord();
    QVERIFY(dict->reload());
    QVERIFY(!dict->canUndo() && dict->findWord("cat"));

    dict->findWord("cat")->removeWord();
    QVERIFY(dict->undo());
    QVERIFY(dict->canRedo());
    QVERIFY(dict->addWord("dog", "edit"));
    QVERIFY(!dict->canRedo());
    QCOMPARE(dict->undoText(), QStringLiteral("Add \"dog\""));

    QVERIFY(dict->importWord("emu"));
    QVERIFY(!dict->canUndo() && dict->isDirty());
    dict->findWord("emu")->removeWord();
    QVERIFY(dict->undo() && dict->isDirty());
    QCOMPARE(dict->save(), 0);
    QVERIFY(!dict->isDirty());
    QCOMPARE(stored(dict, "imported").filter(QRegularExpression("^(dog|emu)\\|")).size(), 2);
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
