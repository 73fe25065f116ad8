#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "grammar.h"
#include "prediction.h"
#include "tempdictionary.h"

namespace {

void setExpansion(Word *word, int index, const QString &expansion)
{
    word->codes.at(index)->expansion = expansion;
    word->codes.at(index)->touch();
}

// A saved dictionary of the words, shown by letter group above threshold words.
DictionaryReference withThreshold(const QString &path, const QStringList &words, int threshold)
{
    DictionaryReference ref = Prediction::createDictionary(path, "Threshold", Prediction::American, nullptr, threshold);
    for (const QString &text : words)
        ref->addWord(text, "edit");
    return ref->save() == 0 ? ref : DictionaryReference();
}

// The fields a code derives from its word, part of speech and subcode.
void checkDerivedFields(const Word *word)
{
    for (const GCode *code : word->codes) {
        QCOMPARE(code->subcodeChoices, Grammar::subcodeChoices(code->partOfSpeech));
        QStringList labels, templates;
        Grammar::examples(word->text, code->partOfSpeech, code->subcode, &labels, &templates);
        QCOMPARE(code->exampleLabels, labels);
        QCOMPARE(code->exampleTemplates, templates);
    }
}

const QStringList FilterWords = {
    QStringLiteral("Abbey\tname/-/10"),
    QStringLiteral("abbot\tnoun/reg/5"),
    QStringLiteral("about\tadv./-/20"),
    QStringLiteral("call\tverb/reg/18/Tn:up:|Ipr::about,for"),
    QStringLiteral("quick\tadj./reg/12;adv./-/3"),
    QStringLiteral("asap\tadv./-/7"),
    QStringLiteral("blorp\tnew//1"),
    QStringLiteral("zzz"),
};

} // namespace

/// The in-memory side of a dictionary: word list, filters, letter groups, adding and editing words,
/// the drag payload and the lifetime of Word objects.
class TestDictionary : public QObject
{
    Q_OBJECT

private slots:
    void init() { DictionaryReference::setEditPreferences(QStringLiteral("basic_grammar")); }

    void filters_data();
    void filters();
    void order_data();
    void order();
    void predictions_data();
    void predictions();
    void letterGroups_data();
    void letterGroups();
    void addWord_data();
    void addWord();
    void changeSpelling_data();
    void changeSpelling();
    void editsMarkDirty_data();
    void editsMarkDirty();
    void payloadRoundTrip_data();
    void payloadRoundTrip();
    void malformedPayloads_data();
    void malformedPayloads();
    void truncatedPayloadsAreRefused();
    void wordPointersSurviveRemovalAndReload();
    void manyAdditionsRemovalsAndRespellings();
    void samePathSharesTheDictionary();
};

void TestDictionary::filters_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QStringList>("expected");

    auto row = [](const char *name, const QString &rule, int min, int max, const QStringList &expected) {
        QTest::newRow(name) << rule << min << max << expected;
    };
    const QStringList all = {"Abbey", "abbot", "about", "asap", "blorp", "call", "quick", "zzz"};
    row("all words", "all words", 0, 31, all);
    row("verbs", "Verbs only", 0, 31, {"call"});
    row("adverbs: any code counts", "Adverbs only", 0, 31, {"about", "asap", "quick"});
    row("expansions", "Expansions", 0, 31, {"asap"});
    row("unknown: no code or only new", "Unknown words", 0, 31, {"blorp", "zzz"});
    row("highest code frequency counts", "all words", 12, 31, {"about", "call", "quick"});
    row("bounds are inclusive", "all words", 10, 12, {"Abbey", "quick"});
    row("inverted range lists nothing", "all words", 20, 10, {});
    row("rule and range exclude", "Adverbs only", 13, 31, {"about"});
    // A rule that is not one of the names leaves the previous rule in force.
    row("unknown rule", "Pronouns only", 0, 31, {"call"});
}

void TestDictionary::filters()
{
    QFETCH(QString, rule);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(QStringList, expected);

    TempDictionary dict(FilterWords);
    QVERIFY2(dict.error().isEmpty(), qPrintable(dict.error()));
    setExpansion(dict->findWord("asap"), 0, "as soon as possible");
    dict->setSelectionRule("Verbs only");
    dict->setSelectionRule(rule);
    dict->setMinimumFreq(minimum);
    dict->setMaximumFreq(maximum);
    QCOMPARE(dict->wordList(), expected);
    QCOMPARE(dict->filteredWordCount(), int(expected.size()));
    QCOMPARE(dict->wordCount(), int(FilterWords.size()));
}

void TestDictionary::order_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("case-insensitive") << QStringList{"about", "abbot", "Abbey"}
                                      << QStringList{"Abbey", "abbot", "about"};
    QTest::newRow("ties broken by case") << QStringList{"polish", "Polish", "POLISH", "pole"}
                                         << QStringList{"pole", "POLISH", "Polish", "polish"};
    QTest::newRow("prefix first") << QStringList{"car", "Cart", "ca", "CARS"}
                                  << QStringList{"ca", "car", "CARS", "Cart"};
}

void TestDictionary::order()
{
    QFETCH(QStringList, words);
    QFETCH(QStringList, expected);
    TempDictionary dict(words);
    QVERIFY2(dict.error().isEmpty(), qPrintable(dict.error()));
    QCOMPARE(dict->wordList(), expected);
    // The same order after a round trip through the file, and with the words added in reverse.
    QVERIFY(dict->reload());
    QCOMPARE(dict->wordList(), expected);
    std::reverse(words.begin(), words.end());
    TempDictionary other(words);
    QCOMPARE(other->wordList(), expected);
}

void TestDictionary::predictions_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty prefix: most frequent first") << "" << 3 << QStringList{"dog", "cat", "Cabin"};
    QTest::newRow("ties alphabetical, case ignored") << "CA" << 9 << QStringList{"cat", "Cabin", "cable", "cab", "Ca"};
    QTest::newRow("a whole word is offered too") << "cab" << 9 << QStringList{"Cabin", "cable", "cab"};
    QTest::newRow("count limits") << "c" << 2 << QStringList{"cat", "Cabin"};
    QTest::newRow("nothing begins so") << "cx" << 9 << QStringList{};
    QTest::newRow("longer than any word") << "cabinets" << 9 << QStringList{};
}

// The words offered for a prefix follow edits (a short prefix's cached answer too), and looking offers up
// through peekWord leaves the word a drag carries alone.
void TestDictionary::predictions()
{
    QFETCH(QString, prefix);
    QFETCH(int, count);
    QFETCH(QStringList, expected);
    TempDictionary dictionary({"cab\tnoun/reg/10", "cable\tnoun/reg/12;verb/reg/5", "Cabin\tnoun/reg/12",
                               "cat\tnoun/reg/16", "dog\tnoun/reg/20", "Ca\tname/-/1", "cub\tnoun/reg/30"});
    dictionary->findWord(QStringLiteral("cub"))->removeWord();
    QCOMPARE(dictionary->predictions(prefix, count), expected);
    QVERIFY(dictionary->findWord(QStringLiteral("dog")));
    const QString carried = dictionary->copyCurrentWord();
    for (const QString &word : expected)
        QVERIFY(dictionary->peekWord(word));
    QCOMPARE(dictionary->copyCurrentWord(), carried);

    const quint64 before = dictionary->revision();
    if (expected.isEmpty())
        return;
    dictionary->findWord(expected.last())->codes.first()->setFrequency(QStringLiteral("31"));
    QVERIFY(dictionary->revision() != before);
    QCOMPARE(dictionary->predictions(prefix, count).first(), expected.last());
}

void TestDictionary::letterGroups_data()
{
    QTest::addColumn<int>("threshold");
    QTest::addColumn<bool>("byGroup");
    QTest::newRow("one below the word count") << 7 << true;
    QTest::newRow("above") << 9 << false;
    QTest::newRow("zero means never") << 0 << false;
}

void TestDictionary::letterGroups()
{
    QFETCH(int, threshold);
    QFETCH(bool, byGroup);
    QTemporaryDir dir;
    const QStringList words = {"zebra", "Émile", "about", "Abbey", "eagle", "abbot", "Zulu", "éclair"};
    DictionaryReference ref = withThreshold(dir.filePath("groups.dict"), words, threshold);
    QVERIFY(ref != 0);
    QCOMPARE(ref->displayByLetterGroup(), byGroup);
    if (!byGroup) {
        QVERIFY(!ref->setLetterGroup("e"));
        const QStringList listed = ref->wordList();
        QCOMPARE(QSet<QString>(listed.cbegin(), listed.cend()), QSet<QString>(words.cbegin(), words.cend()));
        QCOMPARE(ref->filteredWordCount(), 8);
        return;
    }
    // The list starts on the group of the first word in order.
    QCOMPARE(ref->wordList(), (QStringList{"Abbey", "abbot", "about"}));
    QCOMPARE(ref->filteredWordCount(), 3);

    // Accented letters fall into the group of their base letter; only a plain letter names a group.
    QVERIFY(ref->setLetterGroup("Eve"));
    QCOMPARE(ref->wordList(), (QStringList{"eagle", "éclair", "Émile"}));
    QVERIFY(!ref->setLetterGroup("ELK"));
    QVERIFY(!ref->setLetterGroup(QString::fromUtf8("ébène")));
    QVERIFY(!ref->setLetterGroup(QString()));
    QCOMPARE(ref->filteredWordCount(), 3);
    QVERIFY(ref->setLetterGroup("q"));
    QCOMPARE(ref->wordList(), QStringList());
    QCOMPARE(ref->filteredWordCount(), 0);
    QVERIFY(ref->setLetterGroup("zz"));
    QCOMPARE(ref->wordList(), (QStringList{"zebra", "Zulu"}));

    // Removing a word can end letter-group mode; adding one can start it again, on the same group.
    if (threshold == 7) {
        ref->findWord("eagle")->removeWord();
        QVERIFY(!ref->displayByLetterGroup());
        QCOMPARE(ref->filteredWordCount(), 7);
        QVERIFY(ref->addWord("date", "edit"));
        QVERIFY(ref->displayByLetterGroup());
        QCOMPARE(ref->wordList(), (QStringList{"zebra", "Zulu"}));
    }
    // Filters apply inside the group.
    QVERIFY(ref->setLetterGroup("a"));
    ref->setSelectionRule("Names only");
    QCOMPARE(ref->wordList(), QStringList{"Abbey"});
}

void TestDictionary::addWord_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("added");
    QTest::newRow("basic") << "study"
                           << "basic_grammar" << true;
    QTest::newRow("advanced") << "study"
                              << "advanced_grammar" << true;
    QTest::newRow("advanced, nothing known") << "xq"
                                             << "advanced_grammar" << true;
    QTest::newRow("64 characters") << QString(64, QLatin1Char('a')) << "basic_grammar" << true;
    QTest::newRow("33 emoji, 66 UTF-16 units") << QString::fromUtf8("😀").repeated(33) << "basic_grammar" << true;
    QTest::newRow("65 emoji") << QString::fromUtf8("😀").repeated(65) << "basic_grammar" << false;
    QTest::newRow("already there") << "call"
                                   << "basic_grammar" << false;
    QTest::newRow("empty") << QString() << "basic_grammar" << false;
    QTest::newRow("65 characters") << QString(65, QLatin1Char('a')) << "basic_grammar" << false;
    QTest::newRow("line feed") << "two\nlines"
                               << "basic_grammar" << false;
    QTest::newRow("line separator") << QString(QChar(0x2028)) + "x"
                                    << "basic_grammar" << false;
}

void TestDictionary::addWord()
{
    QFETCH(QString, text);
    QFETCH(QString, mode);
    QFETCH(bool, added);
    TempDictionary dict({"call\tverb/reg/18/Tn:up:"});
    Word *call = dict->findWord("call");
    const QStringList before = TempDictionary::describe(call);
    DictionaryReference::setEditPreferences(mode);
    QCOMPARE(DictionaryReference::editPreferences(), mode);
    Word *word = dict->addWord(text, "edit");
    QCOMPARE(dict->isDirty(), added);
    QCOMPARE(dict->wordCount(), added ? 2 : 1);
    if (!added) {
        // A word already there comes back unchanged; anything else is refused.
        QCOMPARE(word, text == "call" ? call : nullptr);
        QCOMPARE(TempDictionary::describe(call), before);
        QCOMPARE(dict->wordList(), QStringList{"call"});
        return;
    }
    QVERIFY(word);
    QCOMPARE(dict->findWord(text), word);
    // The codes are the grammar's guesses: all of them in advanced mode, the most likely one in basic mode.
    const QList<Grammar::Guess> guesses = Grammar::guess(text, mode == "advanced_grammar");
    QCOMPARE(word->codes.size(), guesses.size());
    for (int i = 0; i < guesses.size(); ++i) {
        const GCode *code = word->codes.at(i);
        QCOMPARE(code->partOfSpeech + '/' + code->subcode, guesses.at(i).partOfSpeech + '/' + guesses.at(i).subcode);
        QCOMPARE(code->frequency, QString::number(guesses.at(i).frequency));
    }
    checkDerivedFields(word);
}

void TestDictionary::changeSpelling_data()
{
    QTest::addColumn<QString>("spelling");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("new spelling") << "abbots" << true;
    QTest::newRow("case only") << "Abbot" << true;
    QTest::newRow("same") << "abbot" << false;
    QTest::newRow("another word's") << "about" << false;
    QTest::newRow("too long") << QString(65, QLatin1Char('b')) << false;
}

void TestDictionary::changeSpelling()
{
    QFETCH(QString, spelling);
    QFETCH(bool, accepted);
    TempDictionary dict({"abbot\tnoun/reg/5", "about\tadv./-/20", "zoo\tnoun/reg/3"});
    Word *abbot = dict->findWord("abbot");
    abbot->changeSpelling(spelling);
    QCOMPARE(dict->isDirty(), accepted);
    if (!accepted) {
        QCOMPARE(abbot->text, QStringLiteral("abbot"));
        QCOMPARE(dict->findWord("abbot"), abbot);
        QCOMPARE(dict->wordList(), (QStringList{"abbot", "about", "zoo"}));
        return;
    }
    QCOMPARE(abbot->text, spelling);
    QCOMPARE(dict->findWord(spelling), abbot);
    QCOMPARE(dict->findWord("abbot"), nullptr);
    QVERIFY(dict->wordList().contains(spelling));
    // A case-only or non-Latin-1 respelling is stored like any other.
    QCOMPARE(dict->save(), 0);
    QVERIFY(dict->reload());
    QCOMPARE(dict->findWord(spelling), abbot);
    QCOMPARE(dict->wordCount(), 3);
}

void TestDictionary::editsMarkDirty_data()
{
    QTest::addColumn<QString>("edit");
    for (const char *edit : {"addGCode", "removeGCode", "addUse", "removeUse", "setCodeName", "Word::setSubcode",
                             "GCode::setSubcode", "setFrequency", "adverbPositions", "complements", "particles",
                             "prepositions", "changeSpelling", "removeWord", "addWord"})
        QTest::newRow(edit) << QString::fromLatin1(edit);
}

void TestDictionary::editsMarkDirty()
{
    QFETCH(QString, edit);
    TempDictionary dict({"call\tverb/reg/18/Tn:up:about", "apple\tnoun/reg/10"});
    QVERIFY(!dict.reference().isDirty());
    Word *call = dict->findWord("call");
    GCode *code = call->codes.at(0);
    Usage *usage = code->usages.at(0);
    const QString lastSubcode = Grammar::subcodeChoices("verb").last();
    const QMap<QString, std::function<void()>> edits = {
        {"addGCode", [&] { call->addGCode(); }},
        {"removeGCode", [&] { call->removeGCode(0); }},
        {"addUse", [&] { call->addUse(0); }},
        {"removeUse", [&] { call->removeUse(0, 0); }},
        {"setCodeName", [&] { call->setCodeName(0, "noun"); }},
        {"Word::setSubcode", [&] { call->setSubcode(0, lastSubcode); }},
        {"GCode::setSubcode", [&] { code->setSubcode(lastSubcode); }},
        {"setFrequency", [&] { code->setFrequency("3"); }},
        {"adverbPositions", [&] { code->adverbPositions->setCodes({"vp+"}); }},
        {"complements",
         [&] {
             usage->complements()->setCodes({"Tn", "Q1"});
         }},
        {"particles", [&] { usage->particles()->setCodes({"away"}); }},
        {"prepositions", [&] { usage->prepositions()->setCodes({}); }},
        {"changeSpelling", [&] { call->changeSpelling("recall"); }},
        {"removeWord", [&] { call->removeWord(); }},
        {"addWord", [&] { dict->addWord("banana", "edit"); }},
    };
    const QStringList before = TempDictionary::describe(call);
    edits.value(edit)();
    QVERIFY(dict->isDirty());
    // Every edit of the word shows in it (a removed word keeps its fields but leaves the dictionary).
    if (edit != "addWord")
        QVERIFY(TempDictionary::describe(call) != before || (call->isRemoved() && !dict->findWord("call")));
    QVERIFY(dict.reference().isDirty());

    // The derived fields follow the edit.
    checkDerivedFields(call);
    if (edit == "addGCode") {
        QCOMPARE(call->codes.at(1)->partOfSpeech + '/' + call->codes.at(1)->subcode, QStringLiteral("new/"));
        QVERIFY(call->codes.at(1)->frequency.toInt() >= 1);
    }

    // The edit reaches the file, and the file then matches memory.
    const QString spelling = edit == "changeSpelling" ? "recall" : "call";
    Word *edited = dict->findWord(spelling);
    const QStringList expected = edited ? TempDictionary::describe(edited) : QStringList();
    QCOMPARE(dict->save(), 0);
    QVERIFY(!dict->isDirty());
    QVERIFY(dict->reload());
    Word *reloaded = dict->findWord(spelling);
    QCOMPARE(reloaded ? TempDictionary::describe(reloaded) : QStringList(), expected);
    QCOMPARE(reloaded, edited);
    QCOMPARE(bool(dict->findWord("banana")), edit == "addWord");
}

void TestDictionary::payloadRoundTrip_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expansion");
    QTest::newRow("plain") << "call\tverb/reg/18/Tn,Q1:up,away:about|Ipr::for;noun/reg/9" << QString();
    QTest::newRow("Japanese") << QString::fromUtf8("日本\tname/-/12") << QString();
    QTest::newRow("emoji") << QString::fromUtf8("party🎉\tnoun/reg/2") << QString();
    QTest::newRow("separators in values") << "asap\tadv./-/7" << QString::fromUtf8("a, b; c\\d\te|f/g:hé");
    QTest::newRow("backslash u in word") << "back\\u0041slash\tnoun/reg/2" << QString();
}

void TestDictionary::payloadRoundTrip()
{
    QFETCH(QString, line);
    QFETCH(QString, expansion);
    TempDictionary source({line});
    TempDictionary target({"other"});
    Word *word = source->findWord(line.section('\t', 0, 0));
    QVERIFY(word);
    if (!expansion.isEmpty())
        setExpansion(word, 0, expansion);
    if (!word->codes.isEmpty())
        word->codes.at(0)->adverbPositions->setCodes({"vp+", "+S"});
    QCOMPARE(source->findWord(word->text), word);

    const QString payload = source->copyCurrentWord();
    QVERIFY(!payload.isEmpty());
    for (QChar c : payload)
        QVERIFY2(c.unicode() < 0x80, "the payload must be plain ASCII");
    // The drag turns the text into 8-bit bytes and back.
    const QString carried = QString::fromLatin1(payload.toLatin1());
    QCOMPARE(target->pasteWord(carried), word->text);
    Word *pasted = target->findWord(word->text);
    QVERIFY(pasted);
    QCOMPARE(TempDictionary::describe(pasted), TempDictionary::describe(word));
    QVERIFY(target->isDirty());
    QCOMPARE(target->wordCount(), 2);

    // Copying the word object gives the same word, independent of the original.
    TempDictionary third({});
    Word *copy = third->addWord(word);
    QVERIFY(copy && copy != word);
    QCOMPARE(copy->dictionary(), third.reference().get());
    QCOMPARE(TempDictionary::describe(copy), TempDictionary::describe(word));
    QVERIFY(third->isDirty());
    if (!copy->codes.isEmpty()) {
        copy->codes.at(0)->setFrequency("3");
        QVERIFY(word->codes.at(0)->frequency != QLatin1String("3"));
    }

    // Pasting or copying a word the target has already adds nothing and changes nothing.
    QCOMPARE(target->save(), 0);
    QCOMPARE(target->pasteWord(carried), word->text);
    QCOMPARE(target->addWord(word), pasted);
    QVERIFY(!target->isDirty());
    QCOMPARE(target->wordCount(), 2);
}

void TestDictionary::malformedPayloads_data()
{
    TempDictionary dict({"call\tverb/reg/18/Tn:up:about"});
    dict->findWord("call");
    const QString good = dict->copyCurrentWord();
    QVERIFY(good.startsWith("LexoraWord 1\n"));
    auto changed = [&](const QString &from, const QString &to) { return QString(good).replace(from, to); };
    const QString head = QStringLiteral("LexoraWord 1\ncall\n1\nverb\\u0009reg\\u0009");

    QTest::addColumn<QString>("payload");
    QTest::newRow("plain word") << "call";
    QTest::newRow("other version") << changed("LexoraWord 1", "LexoraWord 2");
    QTest::newRow("junk after end") << good + "\nmore";
    QTest::newRow("Windows line ends") << changed("\n", "\r\n");
    QTest::newRow("count too high") << changed("\n1\n", "\n2\n");
    QTest::newRow("count not a number") << changed("\n1\n", "\none\n");
    QTest::newRow("unknown escape") << changed("call", "ca\\qll");
    QTest::newRow("bad unicode escape") << changed("call", "ca\\u12G4ll");
    QTest::newRow("empty spelling") << changed("\ncall\n", "\n\n");
    QTest::newRow("spelling with control") << changed("call", "ca\\u0007ll");
    QTest::newRow("code with too few fields") << "LexoraWord 1\ncall\n1\nverb\\u0009reg\nend";
    QTest::newRow("frequency not a number") << head + "lots\\u0009\\u0009\nend";
    QTest::newRow("frequency above 31") << head + "32\\u0009\\u0009\nend";
    QTest::newRow("empty code in a list") << head + "18\\u0009\\u0009vp+,\nend";
    QTest::newRow("usage with two lists") << head + "18\\u0009\\u0009\\u0009Tn;up\nend";
}

void TestDictionary::malformedPayloads()
{
    QFETCH(QString, payload);
    TempDictionary target({"apple"});
    QCOMPARE(target->pasteWord(payload), QString());
    QCOMPARE(target->wordCount(), 1);
    QVERIFY(!target->isDirty());
}

void TestDictionary::truncatedPayloadsAreRefused()
{
    TempDictionary source({QString::fromUtf8("日本\tname/-/12/Tn:up:about|Ipr::for;noun/reg/9")});
    QVERIFY(source->findWord(QString::fromUtf8("日本")));
    const QString payload = source->copyCurrentWord();
    TempDictionary target({});
    for (qsizetype length = 0; length < payload.size(); ++length) {
        QVERIFY2(target->pasteWord(payload.left(length)).isEmpty(), qPrintable(payload.left(length)));
        QCOMPARE(target->wordCount(), 0);
    }
    QVERIFY(!target->isDirty());
    QCOMPARE(target->pasteWord(payload), QString::fromUtf8("日本"));
}

void TestDictionary::wordPointersSurviveRemovalAndReload()
{
    TempDictionary dict({"abbot\tnoun/reg/5", "about\tadv./-/20"});
    Word *abbot = dict->findWord("abbot");
    Word *about = dict->findWord("about");

    abbot->removeWord();
    QVERIFY(abbot->isRemoved());
    QCOMPARE(abbot->text, QStringLiteral("abbot"));
    QCOMPARE(abbot->codes.size(), 1);
    QCOMPARE(dict->findWord("abbot"), nullptr);
    // Edits of a removed word touch nothing.
    abbot->addGCode();
    abbot->removeWord();
    QCOMPARE(dict->wordCount(), 1);

    Word *added = dict->addWord("added", "edit");
    QVERIFY(added);
    about->codes.at(0)->setFrequency("2");

    // Reload discards the edits: the removed word comes back as the same object, refreshed.
    QVERIFY(dict.reference().reload());
    QVERIFY(!dict->isDirty());
    QCOMPARE(dict->findWord("abbot"), abbot);
    QVERIFY(!abbot->isRemoved());
    QCOMPARE(abbot->codes.size(), 1);
    QCOMPARE(dict->findWord("about"), about);
    QCOMPARE(about->codes.at(0)->frequency, QStringLiteral("20"));
    // The unsaved word is gone, but its object is still readable.
    QVERIFY(added->isRemoved());
    QCOMPARE(added->text, QStringLiteral("added"));
    QCOMPARE(dict->findWord("added"), nullptr);

    // A saved removal stays removed across reloads; a word of the same spelling added later is a new object.
    abbot->removeWord();
    QCOMPARE(dict->save(), 0);
    QVERIFY(dict->reload());
    QVERIFY(abbot->isRemoved());
    Word *again = dict->addWord("abbot", "edit");
    QVERIFY(again && again != abbot);
    QCOMPARE(dict->save(), 0);
    QVERIFY(dict->reload());
    QCOMPARE(dict->findWord("abbot"), again);
    QVERIFY(abbot->isRemoved());
    QCOMPARE(abbot->text, QStringLiteral("abbot"));
}

void TestDictionary::manyAdditionsRemovalsAndRespellings()
{
    TempDictionary dict({});
    QMap<QString, Word *> expected; // what the dictionary should hold, in no particular order
    QRandomGenerator random(7);
    auto spelling = [&](int i) { return QStringLiteral("w%1").arg(i * 7919 % 5003); };
    for (int i = 0; i < 3000; ++i) {
        Word *word = dict->addWord(spelling(i), "edit");
        QVERIFY(word);
        expected.insert(spelling(i), word);
    }
    for (int round = 0; round < 3000; ++round) {
        const QString text = spelling(int(random.bounded(3000u)));
        Word *word = dict->findWord(text);
        QCOMPARE(word, expected.value(text));
        if (!word)
            continue;
        if (round % 3 == 0) {
            word->removeWord();
            expected.remove(text);
        } else if (round % 3 == 1) {
            const QString respelt = text + QStringLiteral("x");
            word->changeSpelling(respelt);
            if (!expected.contains(respelt)) {
                expected.remove(text);
                expected.insert(respelt, word);
            }
        } else {
            dict->wordList(); // merges the words waiting to be ordered
        }
    }
    QStringList sorted = expected.keys();
    std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    for (int pass = 0; pass < 2; ++pass) { // before and after a save and reload
        QCOMPARE(dict->wordCount(), int(expected.size()));
        QCOMPARE(dict->wordList(), sorted);
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(dict->findWord(it.key()), it.value());
        QCOMPARE(dict->save(), 0);
        QVERIFY(dict->reload());
    }
}

void TestDictionary::samePathSharesTheDictionary()
{
    TempDictionary dict({"apple"});
    QString error;
    DictionaryReference second = Prediction::openDictionary(dict.path(), &error);
    QVERIFY2(second != 0, qPrintable(error));
    QVERIFY(second == dict.reference());

    // Another spelling of the same path, and a link to it.
    QCOMPARE(Prediction::openDictionary(dict.folder() + "/./test.dict").get(), dict.reference().get());
    const QString link = dict.folder() + "/link.dict";
    QVERIFY(QFile::link(dict.path(), link));
    QCOMPARE(Prediction::openDictionary(link).get(), dict.reference().get());

    // Edits through one handle are seen through the other.
    QVERIFY(second->addWord("pear", "edit"));
    QVERIFY(dict->findWord("pear"));
    QVERIFY(dict.reference().isDirty());

    // A handle to nothing equals 0.
    DictionaryReference none;
    QVERIFY(none == 0 && !(second == 0));
    QVERIFY(!none.isDirty());

    // Once the last handle is gone the dictionary closes: the next open reads the file afresh.
    QTemporaryDir dir;
    const QString path = dir.filePath("close.dict");
    {
        DictionaryReference first = Prediction::createDictionary(path, "Close", Prediction::American);
        DictionaryReference kept = first;
        first = DictionaryReference();
        QVERIFY(kept->addWord("unsaved", "edit"));
        QVERIFY(Prediction::openDictionary(path)->findWord("unsaved"));
    }
    DictionaryReference again = Prediction::openDictionary(path);
    QVERIFY(again != 0);
    QVERIFY(!again->findWord("unsaved"));
    QVERIFY(!again->isDirty());

    // A handle kept in a static variable closes its dictionary after every other static has gone.
    QProcess child;
    child.start(QCoreApplication::applicationDirPath() + "/crashchild", {"static", path});
    QVERIFY(child.waitForFinished(10000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestDictionary)
#include "tst_dictionary.moc"
