#include <QFile>
#include <QtTest>
#include <functional>

#include "grammar.h"
#include "prediction.h"
#include "tempdictionary.h"

// Every field of a word, for comparing two words in one QCOMPARE.
constexpr auto describe = &TempDictionary::describe;

/// The in-memory side of a dictionary: word list, filters, letter groups, adding and editing words and
/// saving them, the drag payload and the lifetimes of words and dictionaries.
class TestDictionary : public QObject
{
    Q_OBJECT

private slots:
    void init() { DictionaryReference::setEditPreferences("basic_grammar"); }
    void filters_data();
    void filters();
    void wordOrder_data();
    void wordOrder();
    void letterGroups_data();
    void letterGroups();
    void addAndRespell_data();
    void addAndRespell();
    void everyEditRoundTrips();
    void payloads_data();
    void payloads();
    void lifetimes();
    void predictFollowsEdits();
    void predictReadsContext_data();
    void predictReadsContext();
};

void TestDictionary::filters_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QStringList>("expected");
    auto row = [](const char *name, const char *rule, int min, int max, const QStringList &expected) {
        QTest::newRow(name) << QString(rule) << min << max << expected;
    };
    row("adverbs: any code counts", "Adverbs only", 0, 31, {"about", "asap", "quick"});
    row("expansions", "Expansions", 0, 31, {"asap"});
    row("unknown: no code or only new", "Unknown words", 0, 31, {"blorp", "zzz"});
    row("highest code frequency counts", "all words", 12, 31, {"about", "call", "quick"});
    row("rule and range, bounds inclusive", "Adverbs only", 7, 12, {"asap", "quick"});
}

void TestDictionary::filters()
{
    QFETCH(QString, rule);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(QStringList, expected);
    TempDictionary dict({"Abbey\tname/-/10", "abbot\tnoun/reg/5", "about\tadv./-/20", "call\tverb/reg/18/Tn:up:",
                         "quick\tadj./reg/12;adv./-/3", "asap\tadv./-/7", "blorp\tnew//1", "zzz"});
    dict->findWord("asap")->codes.at(0)->expansion = "as soon as possible";
    dict->findWord("asap")->codes.at(0)->touch();
    dict->setSelectionRule(rule);
    dict->setMinimumFreq(minimum);
    dict->setMaximumFreq(maximum);
    QCOMPARE(dict->wordList(), expected);
    QCOMPARE(dict->filteredWordCount(), int(expected.size()));
    QCOMPARE(dict->wordCount(), 8);
}

void TestDictionary::wordOrder_data()
{
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("offered"); // words offered for the prefix
    auto row = [](const char *name, const char *words, const char *prefix, int offered) {
        QTest::newRow(name) << QString::fromUtf8(words).split(' ') << QString::fromUtf8(prefix) << offered;
    };
    row("accents with their base letter", "eager elan \u00e9lan eland ezra Z\u00fcrich Zyuganov", "EL", 3);
    row("accent after the plain letter, case last, capital first", "Elan elan \u00c9lan \u00e9lan \u00e9land",
        "\u00e9la", 5);
    row("Angstrom among the a's", "angle Angst \u00c5ngstr\u00f6m anguish", "\u00c5ngs", 2);
    row("sharp s as ss, ae and oe as two letters",
        "aeon aether \u00e6ther afar \u0153uvre oeuvres Strasse strasse stra\u00dfe strassen", "STRASS", 4);
    row("a decomposed accent counts as the accent", "elam elan e\u0301lan \u00e9lan elan\u0301d", "\u00e9lan", 4);
}

// Words list in the order of their base letters, then of their accents, then of their code units; the
// order holds for words added, saved and read back, and offers for a prefix ignore accents as it does.
void TestDictionary::wordOrder()
{
    QFETCH(QStringList, expected);
    QFETCH(QString, prefix);
    QFETCH(int, offered);
    QStringList scrambled = expected;
    std::reverse(scrambled.begin(), scrambled.end());
    std::rotate(scrambled.begin(), scrambled.begin() + scrambled.size() / 2, scrambled.end());
    TempDictionary dict(scrambled.mid(0, 2));
    for (const QString &text : scrambled.mid(2))
        QVERIFY(dict->addWord(text, "edit"));
    QCOMPARE(dict->allWords(), expected);
    QCOMPARE(dict->wordList(), expected);
    QCOMPARE(dict->save(), 0);
    QVERIFY(dict->reload());
    QCOMPARE(dict->allWords(), expected);
    QCOMPARE(dict->predictions(prefix, 100).size(), offered);
}

void TestDictionary::letterGroups_data()
{
    QTest::addColumn<int>("threshold");
    QTest::newRow("one below the word count") << 8;
    QTest::newRow("zero means never") << 0;
}

void TestDictionary::letterGroups()
{
    QFETCH(int, threshold);
    QTemporaryDir dir;
    const QStringList words = {"zebra", "Émile", "about", "Abbey", "ångström", "eagle", "abbot", "Zulu", "éclair"};
    DictionaryReference ref =
        Prediction::createDictionary(dir.filePath("g.dict"), "G", Prediction::American, nullptr, threshold);
    for (const QString &text : words)
        QVERIFY(ref->addWord(text, "edit"));
    QCOMPARE(ref->save(), 0);
    QCOMPARE(ref->displayByLetterGroup(), threshold != 0);
    QVERIFY(threshold != 0 || (!ref->setLetterGroup("e") && ref->filteredWordCount() == 9));
    if (threshold == 0)
        return;
    // The list starts on the group of the first word in order.
    QCOMPARE(ref->wordList(), (QStringList{"Abbey", "abbot", "about", "ångström"}));
    // Accented letters fall into the group of their base letter; only a plain letter names a group.
    QVERIFY(ref->setLetterGroup("Eve"));
    QCOMPARE(ref->wordList(), (QStringList{"eagle", "éclair", "Émile"}));
    QCOMPARE(ref->filteredWordCount(), 3);
    QVERIFY(ref->setLetterGroup("zz"));
    QCOMPARE(ref->wordList(), (QStringList{"zebra", "Zulu"}));
    // Removing a word can end letter-group mode; adding one starts it again, on the same group.
    ref->findWord("eagle")->removeWord();
    QVERIFY(!ref->displayByLetterGroup());
    QCOMPARE(ref->filteredWordCount(), 8);
    QVERIFY(ref->addWord("date", "edit"));
    QCOMPARE(ref->wordList(), (QStringList{"zebra", "Zulu"}));
    // Filters apply inside the group.
    QVERIFY(ref->setLetterGroup("Å"));
    QCOMPARE(ref->wordList(), (QStringList{"Abbey", "abbot", "about", "ångström"}));
    ref->setSelectionRule("Names only");
    QCOMPARE(ref->wordList(), QStringList{"Abbey"});
}

void TestDictionary::addAndRespell_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("accepted"); // as a new word, and as the new spelling of another word
    QTest::addColumn<QString>("plain"); // a spelling whose guesses the word gets too
    auto row = [](const char *name, const QString &text, const char *mode, bool accepted, const char *plain = "") {
        QTest::newRow(name) << text << QString(mode) << accepted << QString(plain);
    };
    row("advanced", "study", "advanced_grammar", true);
    row("accents the lexicon does not list", "\u00e9lan", "advanced_grammar", true, "elan");
    row("an inflection of such a word", "\u00e9clairs", "basic_grammar", true, "eclairs");
    row("64 characters", QString(64, 'a'), "basic_grammar", true);
    row("33 emoji, 66 UTF-16 units", QString::fromUtf8("😀").repeated(33), "advanced_grammar", true);
    row("65 characters", QString(65, 'a'), "basic_grammar", false);
    row("already there", "call", "basic_grammar", false);
    row("line feed", "two\nlines", "basic_grammar", false);
}

void TestDictionary::addAndRespell()
{
    QFETCH(QString, text);
    QFETCH(QString, mode);
    QFETCH(bool, accepted);
    QFETCH(QString, plain);
    TempDictionary dict({"call\tverb/reg/18/Tn:up:", "zoo\tnoun/reg/3"});
    Word *call = dict->findWord("call");
    DictionaryReference::setEditPreferences(mode);
    Word *word = dict->addWord(text, "edit");
    QCOMPARE(dict->isDirty(), accepted);
    QCOMPARE(dict->wordCount(), accepted ? 3 : 2);
    if (!accepted) {
        // A word already there comes back unchanged; anything else is refused, also as a new spelling.
        QCOMPARE(word, text == "call" ? call : nullptr);
        dict->findWord("zoo")->changeSpelling(text);
        QCOMPARE(dict->wordList(), (QStringList{"call", "zoo"}));
        QVERIFY(!dict->isDirty());
        return;
    }
    QCOMPARE(dict->findWord(text), word);
    // The codes are the grammar's guesses: all of them in advanced mode, the most likely one in basic mode.
    QStringList codes, guesses;
    for (const GCode *code : word->codes)
        codes << code->partOfSpeech + '/' + code->subcode + '/' + code->frequency;
    for (const Grammar::Guess &g : Grammar::guess(text, mode == "advanced_grammar"))
        guesses << g.partOfSpeech + '/' + g.subcode + '/' + QString::number(g.frequency);
    QCOMPARE(codes, guesses);
    if (!plain.isEmpty()) {
        // Known to the lexicon only without its accents, the word is guessed as its plain spelling is.
        QStringList plainGuesses;
        for (const Grammar::Guess &g : Grammar::guess(plain, mode == "advanced_grammar"))
            plainGuesses << g.partOfSpeech + '/' + g.subcode + '/' + QString::number(g.frequency);
        QCOMPARE(codes, plainGuesses);
        QVERIFY(!codes.first().startsWith("new/"));
    }
    // The same spelling is a good new spelling for another word, and is stored like any other.
    word->removeWord();
    dict->findWord("zoo")->changeSpelling(text);
    QCOMPARE(dict->save(), 0);
    QVERIFY(dict->reload() && dict->findWord(text) && !dict->findWord("zoo"));
}

// Every kind of edit marks the dictionary dirty, keeps the fields derived from the code up to date, and
// reaches the file: a fresh open shows exactly what memory held.
void TestDictionary::everyEditRoundTrips()
{
    QStringList lines = {"call\tverb/reg/18/Tn:up:about", "apple\tnoun/reg/10", "quick\tadj./reg/12;adv./-/3"};
    for (int i = 0; i < 300; ++i)
        lines << QStringLiteral("m%1\tnoun/reg/%2").arg(i, 3, 10, QChar('0')).arg(i % 31);
    TempDictionary dict(lines);
    Word *call = dict->findWord("call");
    Word *apple = dict->findWord("apple");
    Word *quick = dict->findWord("quick");
    auto find = [&](const char *text) { return dict->findWord(text); };
    auto usage = [&](int index) { return call->codes.at(0)->usages.at(index); };
    const QString lastSubcode = Grammar::subcodeChoices("verb").last();
    const QList<std::pair<const char *, std::function<void()>>> edits = {
        {"addGCode", [&] { call->addGCode(); }},
        {"setCodeName", [&] { call->setCodeName(1, "noun"); }},
        {"addUse", [&] { call->addUse(0); }},
        {"complements",
         [&] {
             usage(1)->complements()->setCodes({"Tn", "Q1"});
         }},
        {"particles",
         [&] {
             usage(0)->particles()->setCodes({"away", "out of"});
         }},
        {"removeUse", [&] { call->removeUse(0, 0); }},
        {"Word::setSubcode", [&] { call->setSubcode(0, lastSubcode); }},
        {"GCode::setSubcode", [&] { apple->codes.at(0)->setSubcode("uncount"); }},
        {"setFrequency", [&] { apple->codes.at(0)->setFrequency("3"); }},
        {"adverbPositions",
         [&] {
             quick->codes.at(1)->adverbPositions->setCodes({"vp+", "+S"});
         }},
        {"removeGCode", [&] { quick->removeGCode(0); }},
        {"respell", [&] { find("m100")->changeSpelling("a100"); }},
        {"respell by case", [&] { apple->changeSpelling("Apple"); }},
        {"removeWord", [&] { find("m050")->removeWord(); }},
        {"addWord", [&] { QVERIFY(dict->addWord("Zed", "edit") && dict->addWord("aardvark", "edit")); }},
        // Two words trade spellings, which the file's one-row-per-spelling index must not refuse.
        {"swap", [&] {
             Word *first = find("m200");
             first->changeSpelling("swap");
             find("m201")->changeSpelling("m200");
             first->changeSpelling("m201");
         }}};
    for (const auto &[name, edit] : edits) {
        edit();
        QVERIFY2(dict->isDirty(), name);
        for (const GCode *code : call->codes) {
            QCOMPARE(code->subcodeChoices, Grammar::subcodeChoices(code->partOfSpeech));
            QStringList labels, templates;
            Grammar::examples(call->text, code->partOfSpeech, code->subcode, &labels, &templates);
            QCOMPARE(code->exampleLabels + code->exampleTemplates, labels + templates);
        }
        QCOMPARE(dict->save(), 0);
        QVERIFY(!dict->isDirty());
    }
    // Words saved since the file was last written whole lie after the others; read again, they come in order.
    const QStringList saved = dict->wordList();
    QVERIFY(dict->reload() && dict->wordList() == saved);
    // Then many more additions, removals and respellings, with spellings that differ only in case or begin
    // others, the word list asked for now and then.
    QMap<QString, Word *> churned;
    QRandomGenerator random(7);
    auto spelling = [](int i) { return QStringLiteral("%1%2").arg(i % 2 ? "W" : "w").arg(i / 2 * 7919 % 5003); };
    for (int i = 0; i < 3000; ++i)
        churned.insert(spelling(i), dict->addWord(spelling(i), "edit"));
    for (int round = 0; round < 3000; ++round) {
        const QString text = spelling(int(random.bounded(3000u)));
        Word *word = dict->findWord(text);
        QCOMPARE(word, churned.value(text));
        if (word && round % 3 == 0) {
            word->removeWord();
            churned.remove(text);
        } else if (word && round % 3 == 1 && !churned.contains(text + "x")) {
            word->changeSpelling(text + "x");
            churned.insert(text + "x", churned.take(text));
        } else {
            dict->wordList(); // merges the words waiting to be ordered
        }
    }
    QCOMPARE(dict->save(), 0);
    // The list is in order (case ignored, then upper case first) and holds every word once.
    const QStringList order = dict->wordList();
    QVERIFY(std::is_sorted(order.begin(), order.end(), [](const QString &a, const QString &b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    }));
    QCOMPARE(QSet<QString>(order.begin(), order.end()).size(), 304 + churned.size());
    QMap<QString, QStringList> expected;
    for (const QString &text : order)
        expected.insert(text, describe(dict->findWord(text)));
    for (auto it = churned.cbegin(); it != churned.cend(); ++it)
        QCOMPARE(dict->findWord(it.key()), it.value());
    // A fresh open shows exactly what memory held.
    dict.release();
    DictionaryReference reopened = Prediction::openDictionary(dict.path());
    QCOMPARE(reopened->wordList(), order);
    for (const QString &text : order)
        QCOMPARE(describe(reopened->findWord(text)), expected.value(text));
}

void TestDictionary::payloads_data()
{
    // A word with every kind of field, characters outside ASCII and the separators of the payload in its values.
    TempDictionary source({"日本🎉back\\u0041slash\tname/-/12/Tn:up:about|Ipr::for;noun/reg/9"});
    Word *word = source->findWord("日本🎉back\\u0041slash");
    word->codes.at(0)->expansion = "a, b; c\\d\te|f/g:hé";
    word->codes.at(0)->touch();
    word->codes.at(1)->adverbPositions->setCodes({"vp+", "+S"});
    QCOMPARE(source->findWord(word->text), word);
    QVERIFY(source->save() == 0 && source->reload()); // the word a drag carries stays the current one
    const QString good = source->copyCurrentWord();
    // The payload is plain ASCII, which a drag carries as 8-bit bytes.
    QCOMPARE(good.toUtf8(), good.toLatin1());
    auto changed = [&](const QString &from, const QString &to) { return QString(good).replace(from, to); };
    const QString head = "LexoraWord 1\ncall\n1\nverb\\u0009reg\\u0009";
    const QString valid = head + "18\\u0009\\u0009\nend";
    QTest::addColumn<QString>("payload");
    QTest::addColumn<QStringList>("pasted"); // every field of the word pasted; empty: refused
    QTest::newRow("whole word") << good << describe(word);
    QTest::newRow("one code") << valid << describe(TempDictionary({"call\tverb/reg/18"})->findWord("call"));
    QTest::newRow("other version") << changed("LexoraWord 1", "LexoraWord 2") << QStringList();
    QTest::newRow("junk after end") << good + "\nmore" << QStringList();
    QTest::newRow("Windows line ends") << changed("\n", "\r\n") << QStringList();
    QTest::newRow("count too high") << changed("\n2\n", "\n3\n") << QStringList();
    QTest::newRow("unknown escape") << QString(valid).replace("call", "ca\\qll") << QStringList();
    QTest::newRow("bad unicode escape") << QString(valid).replace("call", "ca\\u12G4ll") << QStringList();
    QTest::newRow("spelling with control") << QString(valid).replace("call", "ca\\u0007ll") << QStringList();
    QTest::newRow("frequency above 31") << head + "32\\u0009\\u0009\nend" << QStringList();
    QTest::newRow("frequency 1.5") << head + "1.5\\u0009\\u0009\nend" << QStringList();
    QTest::newRow("65 codes") << "LexoraWord 1\ncall\n65\n" +
                                     QString("verb\\u0009reg\\u00093\\u0009\\u0009\n").repeated(65) + "end"
                              << QStringList();
    QTest::newRow("empty code in a list") << head + "18\\u0009\\u0009vp+,\nend" << QStringList();
    QTest::newRow("usage with two lists") << head + "18\\u0009\\u0009\\u0009Tn;up\nend" << QStringList();
    for (qsizetype length = 0; length < good.size(); ++length)
        QTest::addRow("cut after %d characters", int(length)) << good.left(length) << QStringList();
}

// A pasted word arrives whole or not at all; pasting a word the dictionary has already changes nothing.
void TestDictionary::payloads()
{
    QFETCH(QString, payload);
    QFETCH(QStringList, pasted);
    TempDictionary target({"apple"});
    const QString text = target->pasteWord(payload);
    QCOMPARE(target->isDirty(), !pasted.isEmpty());
    QCOMPARE(target->wordCount(), pasted.isEmpty() ? 1 : 2);
    QCOMPARE(text.isEmpty(), pasted.isEmpty());
    if (pasted.isEmpty())
        return;
    QCOMPARE(describe(target->findWord(text)), pasted);
    // Copying the word object into another dictionary gives the same word.
    QCOMPARE(describe(TempDictionary({})->addWord(target->findWord(text))), pasted);
    QCOMPARE(target->save(), 0);
    QCOMPARE(target->pasteWord(payload), text);
    QVERIFY(!target->isDirty());
}

// Word objects outlive removals and reloads, which hand back the same object for the same word; a dictionary
// is shared by every handle on its file and closes with the last one.
void TestDictionary::lifetimes()
{
    TempDictionary dict({"abbot\tnoun/reg/5"});
    Word *abbot = dict->findWord("abbot");
    abbot->removeWord();
    Word *added = dict->addWord("added", "edit");
    QVERIFY(dict->reload());
    QVERIFY(dict->findWord("abbot") == abbot && !abbot->isRemoved() && abbot->codes.size() == 1);
    QVERIFY(added->isRemoved() && added->text == "added" && !dict->findWord("added"));
    // A removal saved with a new word of the same spelling: the old object stays removed.
    abbot->removeWord();
    Word *again = dict->addWord("abbot", "edit");
    QCOMPARE(dict->save(), 0);
    QVERIFY(dict->reload());
    QVERIFY(dict->findWord("abbot") == again && again != abbot && abbot->isRemoved() && abbot->text == "abbot");
    // A link to the file opens the same dictionary.
    const QString link = dict.folder() + "/link.dict";
    QVERIFY(QFile::link(dict.path(), link));
    QCOMPARE(Prediction::openDictionary(link).get(), dict.reference().get());
    QVERIFY(Prediction::openDictionary(link)->addWord("pear", "edit"));
    dict.release();
    QVERIFY(!Prediction::openDictionary(dict.path())->findWord("pear"));
}

// What predict() offers after a word follows that word's usages and parts of speech as they are edited.
void TestDictionary::predictFollowsEdits()
{
    TempDictionary dict({"zorp\tverb/reg/15", "was\tvbe//20", "with\tprep//10", "blick\tverb/reg/15",
                         "blorf\tnoun/reg/15", "the\tthe//31"});
    QCOMPARE(dict->predict("We zorp ", "w", 1), QStringList{"was"});
    // A usage naming "with" as the preposition after "zorp" makes it the likeliest next word.
    Word *zorp = dict->findWord("zorp");
    zorp->addUse(0);
    zorp->codes.at(0)->usages.at(0)->prepositions()->setCodes({"with"});
    const QList<PredictionOffer> offers = dict->predictOffers("We zorp ", "w", 1);
    QCOMPARE(offers.size(), 1);
    QCOMPARE(offers.first().word, QStringLiteral("with"));
    QCOMPARE(offers.first().usageOf, QStringLiteral("zorp"));
    // After "the" a noun is likelier than a verb as frequent; swapping their parts of speech swaps the offers.
    QCOMPARE(dict->predict("Look at the ", "bl", 2), (QStringList{"blorf", "blick"}));
    dict->findWord("blorf")->setCodeName(0, "verb");
    dict->findWord("blick")->setCodeName(0, "noun");
    QCOMPARE(dict->predict("Look at the ", "bl", 2), (QStringList{"blick", "blorf"}));
    // By frequency alone the context counts for nothing.
    dict->findWord("blorf")->codes.at(0)->setFrequency("16");
    QCOMPARE(dict->predict("Look at the ", "bl", 2, false), (QStringList{"blorf", "blick"}));
}

// What predict() reads of the text before the word: the last two words as the corpus tables key them (a
// full stop starts a sentence, a comma stands as a word), the words the text itself repeats, and the words
// passed over. The words compared have one frequency, so only the context orders them.
void TestDictionary::predictReadsContext_data()
{
    QTest::addColumn<QStringList>("warmUp"); // texts predicted from first, as a person typing them would
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QStringList>("passedOver");
    QTest::addColumn<QStringList>("expected");
    auto row = [](const char *name, const QString &context, const QString &prefix, const QStringList &expected,
                  const QStringList &passedOver = {}, const QStringList &warmUp = {}) {
        QTest::newRow(name) << warmUp << context << prefix << passedOver << expected;
    };
    // "not be" is the commoner pair, "has not been" the triple.
    row("pair", "It will not ", "be", {"be", "been"});
    row("triple", "It has not ", "be", {"been", "be"});
    row("triple over a strong pair", "It was at that ", "t", {"time", "the"});
    row("a full stop starts a sentence", "It was at that. ", "t", {"the", "time"});
    row("a comma stands as a word", "Well, ", "a", {"and", "as"});
    row("without the comma", "as well ", "a", {"as", "and"});
    row("passed over", "as well ", "a", {"and"}, {"as"});
    row("the text's own words", "A blorf ate a blorf, and a ", "bl", {"blorf", "blick"});
    row("before a letter", "A blorf ate a blorf, and a ", "", {"blorf"});
    row("a new text forgets the last one", "And a ", "bl", {"blick", "blorf"}, {}, {"A blorf ate a blorf, and a "});
    row("a text read as it grows", "A blorf, a blorf and a blick, a blick, a blick and a ", "bl", {"blick", "blorf"},
        {}, {"A blorf, a blorf and ", "A blorf, a blorf and a blick, a blick, "});
    const QString longAgo = "A blorf, a blorf. " + QString("It has been. ").repeated(1000);
    row("words long ago are forgotten", longAgo + "A blick and a ", "bl", {"blick", "blorf"}, {},
        {"A blorf, a blorf. ", longAgo});
}

void TestDictionary::predictReadsContext()
{
    QFETCH(QStringList, warmUp);
    QFETCH(QString, context);
    QFETCH(QString, prefix);
    QFETCH(QStringList, passedOver);
    QFETCH(QStringList, expected);
    TempDictionary dict({"be\tvbe//20", "been\tvbe//20", "time\tnoun/reg/20", "the\tthe//20", "and\tand//20",
                         "as\tas//20", "blick\tnoun/reg/15", "blorf\tnoun/reg/15", "it\tit//25", "has\thas//20"});
    for (const QString &text : warmUp)
        dict->predict(text, QString(), 10);
    QCOMPARE(dict->predict(context, prefix, int(expected.size()), true, passedOver), expected);
}

QTEST_GUILESS_MAIN(TestDictionary)
#include "tst_dictionary.moc"
