#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

#include "grammar.h"
#include "lexicon.h"
#include "prediction.h"
#include "tempdictionary.h"

namespace {

QStringList partsOfSpeech(const Word *word)
{
    QStringList result;
    for (const GCode *code : word->codes)
        result << code->partOfSpeech;
    return result;
}

// Every field of a word, flattened so that two words can be compared in one QCOMPARE.
QStringList describe(const Word *word)
{
    QStringList out{word->text};
    for (const GCode *code : word->codes) {
        out << code->partOfSpeech << code->subcode << code->frequency << code->expansion
            << code->adverbPositions->codes().join(QLatin1Char(','));
        for (const Usage *usage : code->usages)
            out << QStringLiteral("usage") << usage->complements()->codes().join(QLatin1Char(','))
                << usage->particles()->codes().join(QLatin1Char(','))
                << usage->prepositions()->codes().join(QLatin1Char(','));
    }
    return out;
}

void setExpansion(Word *word, int index, const QString &expansion)
{
    word->codes.at(index)->expansion = expansion;
    word->codes.at(index)->touch();
}

// Writes a letter-group threshold straight into a closed dictionary file.
bool setThreshold(const QString &path, int threshold)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return false;
    const QByteArray sql =
        "UPDATE meta SET value = '" + QByteArray::number(threshold) + "' WHERE key = 'letter_group_threshold'";
    const bool ok = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
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

    void selectionRulesAreTheFilterNames();
    void filters_data();
    void filters();
    void unknownRuleKeepsTheRule_data();
    void unknownRuleKeepsTheRule();
    void order_data();
    void order();
    void wordListFollowsEdits();
    void wordListIsCached();
    void letterGroupThreshold_data();
    void letterGroupThreshold();
    void letterGroups();
    void noLetterGroupsBelowThreshold();
    void addWordRefuses_data();
    void addWordRefuses();
    void addWordReturnsExistingWordUnchanged();
    void grammarModes_data();
    void grammarModes();
    void addWordCopiesFromAnotherDictionary();
    void changeSpelling_data();
    void changeSpelling();
    void editsMarkDirty_data();
    void editsMarkDirty();
    void payloadRoundTrip_data();
    void payloadRoundTrip();
    void payloadOfNoWord();
    void malformedPayloads_data();
    void malformedPayloads();
    void truncatedPayloadsAreRefused();
    void wordPointersSurviveRemovalAndReload();
    void manyAdditionsRemovalsAndRespellings();
    void samePathSharesTheDictionary();
};

void TestDictionary::selectionRulesAreTheFilterNames()
{
    TempDictionary dict({});
    QVERIFY2(dict.error().isEmpty(), qPrintable(dict.error()));
    QCOMPARE(dict->selectionRules(),
             QStringList({"all words", "Names only", "Nouns only", "Verbs only", "Adjectives only", "Adverbs only",
                          "Expansions", "Non-Expansions", "Unknown words"}));
}

void TestDictionary::filters_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QStringList>("expected");

    const QStringList all = {"Abbey", "abbot", "about", "asap", "blorp", "call", "quick", "zzz"};
    QTest::newRow("all words") << "all words" << 0 << 31 << all;
    QTest::newRow("names") << "Names only" << 0 << 31 << QStringList{"Abbey"};
    QTest::newRow("nouns") << "Nouns only" << 0 << 31 << QStringList{"abbot"};
    QTest::newRow("verbs") << "Verbs only" << 0 << 31 << QStringList{"call"};
    QTest::newRow("adjectives") << "Adjectives only" << 0 << 31 << QStringList{"quick"};
    QTest::newRow("adverbs: any code counts") << "Adverbs only" << 0 << 31 << QStringList{"about", "asap", "quick"};
    QTest::newRow("expansions") << "Expansions" << 0 << 31 << QStringList{"asap"};
    QTest::newRow("non-expansions") << "Non-Expansions" << 0 << 31
                                    << QStringList{"Abbey", "abbot", "about", "blorp", "call", "quick", "zzz"};
    QTest::newRow("unknown: no code or only new") << "Unknown words" << 0 << 31 << QStringList{"blorp", "zzz"};
    QTest::newRow("highest code frequency counts") << "all words" << 12 << 31 << QStringList{"about", "call", "quick"};
    QTest::newRow("bounds are inclusive") << "all words" << 10 << 12 << QStringList{"Abbey", "quick"};
    QTest::newRow("single value") << "all words" << 20 << 20 << QStringList{"about"};
    QTest::newRow("no codes is frequency 0") << "all words" << 0 << 0 << QStringList{"zzz"};
    QTest::newRow("inverted range lists nothing") << "all words" << 20 << 10 << QStringList();
    QTest::newRow("rule and range together") << "Adverbs only" << 5 << 31 << QStringList{"about", "asap", "quick"};
    QTest::newRow("rule and range exclude") << "Adverbs only" << 13 << 31 << QStringList{"about"};
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
    dict->setSelectionRule(rule);
    dict->setMinimumFreq(minimum);
    dict->setMaximumFreq(maximum);
    QCOMPARE(dict->wordList(), expected);
    QCOMPARE(dict->filteredWordCount(), int(expected.size()));
    QCOMPARE(dict->wordCount(), int(FilterWords.size()));
}

void TestDictionary::unknownRuleKeepsTheRule_data()
{
    QTest::addColumn<QString>("rule");
    QTest::newRow("empty") << QString();
    QTest::newRow("unknown") << "Pronouns only";
    QTest::newRow("wrong case") << "verbs only";
}

void TestDictionary::unknownRuleKeepsTheRule()
{
    QFETCH(QString, rule);
    TempDictionary dict(FilterWords);
    dict->setSelectionRule("Verbs only");
    QCOMPARE(dict->wordList(), QStringList{"call"});
    dict->setSelectionRule(rule);
    QCOMPARE(dict->wordList(), QStringList{"call"});
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
    QTest::newRow("digits and spaces") << QStringList{"b", "a b", "a", "1st"} << QStringList{"1st", "a", "a b", "b"};
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
    QStringList reversed = words;
    std::reverse(reversed.begin(), reversed.end());
    TempDictionary other(reversed);
    QCOMPARE(other->wordList(), expected);
}

void TestDictionary::wordListFollowsEdits()
{
    TempDictionary dict(FilterWords);
    dict->setSelectionRule("Verbs only");
    QCOMPARE(dict->wordList(), QStringList{"call"});

    Word *abbot = dict->findWord("abbot");
    abbot->setCodeName(0, "verb");
    QCOMPARE(dict->wordList(), (QStringList{"abbot", "call"}));

    dict->setMinimumFreq(10);
    QCOMPARE(dict->wordList(), QStringList{"call"});
    abbot->codes.at(0)->setFrequency("25");
    QCOMPARE(dict->wordList(), (QStringList{"abbot", "call"}));

    dict->findWord("call")->removeWord();
    QCOMPARE(dict->wordList(), QStringList{"abbot"});
    abbot->changeSpelling("zabbot");
    QCOMPARE(dict->wordList(), QStringList{"zabbot"});
    QCOMPARE(dict->filteredWordCount(), 1);

    // invalidateWordList() rebuilds without losing anything.
    dict->invalidateWordList();
    QCOMPARE(dict->wordList(), QStringList{"zabbot"});
}

void TestDictionary::wordListIsCached()
{
    TempDictionary dict(FilterWords);
    const QStringList first = dict->wordList();
    // Without a change the same list comes back, not a rebuilt copy.
    QCOMPARE(dict->wordList().constData(), first.constData());
    dict->findWord("call");
    dict->setSelectionRule("no such rule");
    dict->setMinimumFreq(0);
    QCOMPARE(dict->wordList().constData(), first.constData());
    dict->invalidateWordList();
    const QStringList rebuilt = dict->wordList();
    QVERIFY(rebuilt.constData() != first.constData());
    QCOMPARE(rebuilt, first);
    dict->findWord("call")->codes.at(0)->setFrequency("1");
    QVERIFY(dict->wordList().constData() != rebuilt.constData());
}

void TestDictionary::letterGroupThreshold_data()
{
    QTest::addColumn<int>("threshold");
    QTest::addColumn<bool>("byGroup");
    QTest::newRow("one below the word count") << 4 << true;
    QTest::newRow("equal to the word count") << 5 << false;
    QTest::newRow("above") << 6 << false;
    QTest::newRow("zero means never") << 0 << false;
    QTest::newRow("one") << 1 << true;
}

void TestDictionary::letterGroupThreshold()
{
    QFETCH(int, threshold);
    QFETCH(bool, byGroup);
    QTemporaryDir dir;
    const QString path = dir.filePath("threshold.dict");
    {
        DictionaryReference ref = Prediction::createDictionary(path, "Threshold", Prediction::American);
        for (const char *text : {"apple", "avocado", "banana", "cherry", "Cranberry"})
            QVERIFY(ref->addWord(text, "edit"));
        QCOMPARE(ref->save(), 0);
        // A new dictionary shows small word counts whole.
        QVERIFY(!ref->displayByLetterGroup());
    }
    QVERIFY(setThreshold(path, threshold));
    DictionaryReference ref = Prediction::openDictionary(path);
    QCOMPARE(ref->displayByLetterGroup(), byGroup);
    QCOMPARE(ref->wordList(), byGroup ? QStringList({"apple", "avocado"})
                                      : QStringList({"apple", "avocado", "banana", "cherry", "Cranberry"}));
    QCOMPARE(ref->setLetterGroup("c"), byGroup);
    QCOMPARE(ref->wordList(), byGroup ? QStringList({"cherry", "Cranberry"})
                                      : QStringList({"apple", "avocado", "banana", "cherry", "Cranberry"}));
    // Removing a word can end letter-group mode; adding one can start it.
    if (byGroup && threshold == 4) {
        ref->findWord("apple")->removeWord();
        QVERIFY(!ref->displayByLetterGroup());
        QCOMPARE(ref->filteredWordCount(), 4);
        QVERIFY(ref->addWord("date", "edit"));
        QVERIFY(ref->displayByLetterGroup());
        QCOMPARE(ref->wordList(), (QStringList{"cherry", "Cranberry"}));
    }
}

void TestDictionary::letterGroups()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("groups.dict");
    {
        DictionaryReference ref = Prediction::createDictionary(path, "Groups", Prediction::American);
        QVERIFY(ref != 0);
        for (const char *text : {"zebra", "Émile", "about", "Abbey", "eagle", "abbot", "Zulu", "éclair"})
            QVERIFY(ref->addWord(text, "edit"));
        QCOMPARE(ref->save(), 0);
    }
    QVERIFY(setThreshold(path, 5));
    QString error;
    DictionaryReference ref = Prediction::openDictionary(path, &error);
    QVERIFY2(ref != 0, qPrintable(error));
    QVERIFY(ref->displayByLetterGroup());
    // The list starts on the group of the first word in order.
    QCOMPARE(ref->wordList(), (QStringList{"Abbey", "abbot", "about"}));
    QCOMPARE(ref->filteredWordCount(), 3);

    QVERIFY(ref->setLetterGroup("Eve"));
    QCOMPARE(ref->wordList(), (QStringList{"eagle", "éclair", "Émile"}));
    QVERIFY(!ref->setLetterGroup("ELK"));
    QVERIFY(!ref->setLetterGroup(QString::fromUtf8("ébène")));
    QVERIFY(!ref->setLetterGroup(QString()));
    QCOMPARE(ref->filteredWordCount(), 3);

    QVERIFY(ref->setLetterGroup("zz"));
    QCOMPARE(ref->wordList(), (QStringList{"zebra", "Zulu"}));
    QVERIFY(ref->setLetterGroup("q"));
    QCOMPARE(ref->wordList(), QStringList());
    QCOMPARE(ref->filteredWordCount(), 0);

    // Filters apply inside the group.
    QVERIFY(ref->setLetterGroup("a"));
    ref->setSelectionRule("Names only");
    QCOMPARE(ref->wordList(), QStringList{"Abbey"});
}

void TestDictionary::noLetterGroupsBelowThreshold()
{
    TempDictionary dict({"apple", "banana", "cherry"});
    QVERIFY(!dict->displayByLetterGroup());
    QVERIFY(!dict->setLetterGroup("banana"));
    QCOMPARE(dict->wordList(), (QStringList{"apple", "banana", "cherry"}));

    QTemporaryDir dir;
    const QString path = dir.filePath("never.dict");
    {
        DictionaryReference ref = Prediction::createDictionary(path, "Never", Prediction::American);
        for (int i = 0; i < 20; ++i)
            ref->addWord(QStringLiteral("w%1").arg(i), "edit");
        QCOMPARE(ref->save(), 0);
    }
    QVERIFY(setThreshold(path, 0));
    DictionaryReference ref = Prediction::openDictionary(path);
    QVERIFY(!ref->displayByLetterGroup());
    QCOMPARE(ref->filteredWordCount(), 20);
}

void TestDictionary::addWordRefuses_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("65 characters") << QString(65, QLatin1Char('a'));
    QTest::newRow("tab") << "tab\tword";
    QTest::newRow("line feed") << "two\nlines";
    QTest::newRow("carriage return") << "two\rlines";
    QTest::newRow("bell") << QStringLiteral("bell\a");
    QTest::newRow("escape") << QStringLiteral("\x1b[0m");
    QTest::newRow("line separator") << QString(QChar(0x2028)) + "x";
    QTest::newRow("paragraph separator") << "x" + QString(QChar(0x2029));
}

void TestDictionary::addWordRefuses()
{
    QFETCH(QString, text);
    TempDictionary dict({"apple"});
    QCOMPARE(dict->addWord(text, "edit"), nullptr);
    QCOMPARE(dict->wordCount(), 1);
    QVERIFY(!dict->isDirty());
    QCOMPARE(dict->wordList(), QStringList{"apple"});
}

void TestDictionary::addWordReturnsExistingWordUnchanged()
{
    TempDictionary dict({"call\tverb/reg/18/Tn:up:"});
    Word *call = dict->findWord("call");
    const QStringList before = describe(call);
    QCOMPARE(dict->addWord("call", "edit"), call);
    QCOMPARE(describe(call), before);
    QVERIFY(!dict->isDirty());
    QCOMPARE(dict->wordCount(), 1);

    // 64 characters is still a word; spaces inside are allowed.
    const QString longest(64, QLatin1Char('x'));
    QVERIFY(dict->addWord(longest, "edit"));
    QVERIFY(dict->addWord("ice cream", "edit"));
    QCOMPARE(dict->wordCount(), 3);
    QVERIFY(dict->isDirty());
}

void TestDictionary::grammarModes_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("study") << "study";
    QTest::newRow("capitalised") << "Zanzibarian";
    QTest::newRow("-ly") << "glibbersomely";
    QTest::newRow("-ness") << "flumpiness";
    QTest::newRow("-ize") << "blorkize";
    QTest::newRow("nothing known") << "xq";
}

void TestDictionary::grammarModes()
{
    QFETCH(QString, text);
    TempDictionary basic({});
    TempDictionary advanced({});

    DictionaryReference::setEditPreferences("basic_grammar");
    Word *one = basic->addWord(text, "edit");
    DictionaryReference::setEditPreferences("advanced_grammar");
    QCOMPARE(DictionaryReference::editPreferences(), QStringLiteral("advanced_grammar"));
    Word *many = advanced->addWord(text, "edit");
    QVERIFY(one && many);

    // Basic mode gives exactly one code, the most likely of the advanced ones.
    QCOMPARE(one->codes.size(), 1);
    QVERIFY(!many->codes.isEmpty());
    QCOMPARE(one->codes.at(0)->partOfSpeech, many->codes.at(0)->partOfSpeech);

    // The codes are the grammar's guesses, with their subcodes, frequencies and derived fields.
    const QList<Grammar::Guess> guesses = Grammar::guess(text, true);
    QCOMPARE(many->codes.size(), guesses.size());
    for (int i = 0; i < guesses.size(); ++i) {
        const GCode *code = many->codes.at(i);
        QCOMPARE(code->partOfSpeech, guesses.at(i).partOfSpeech);
        QCOMPARE(code->subcode, guesses.at(i).subcode);
        QCOMPARE(code->frequency, QString::number(guesses.at(i).frequency));
        QCOMPARE(code->subcodeChoices, Grammar::subcodeChoices(code->partOfSpeech));
        QStringList labels, templates;
        Grammar::examples(text, code->partOfSpeech, code->subcode, &labels, &templates);
        QCOMPARE(code->exampleLabels, labels);
        QCOMPARE(code->exampleTemplates, templates);
    }

    Lexicon::Entry entry;
    if (text == QLatin1String("study") && Lexicon::shared().lookup(text, &entry)) {
        QCOMPARE(partsOfSpeech(one), QStringList{"verb"});
        QCOMPARE(partsOfSpeech(many), (QStringList{"verb", "noun"}));
    }
    if (text == QLatin1String("xq"))
        QCOMPARE(partsOfSpeech(many), QStringList{"new"});
    if (text == QLatin1String("Zanzibarian"))
        QVERIFY(partsOfSpeech(many).contains("name"));
}

void TestDictionary::addWordCopiesFromAnotherDictionary()
{
    TempDictionary source({"call\tverb/reg/18/Tn,Q1:up,away:about|Ipr::for;noun/reg/9"});
    TempDictionary target({"apple"});
    Word *call = source->findWord("call");
    call->codes.at(1)->adverbPositions->setCodes({"vp+", "+S"});
    setExpansion(call, 1, "a telephone call");

    Word *copy = target->addWord(call);
    QVERIFY(copy);
    QVERIFY(copy != call);
    QCOMPARE(copy->dictionary(), target.reference().get());
    QCOMPARE(describe(copy), describe(call));
    QVERIFY(target->isDirty());
    QCOMPARE(target->wordList(), (QStringList{"apple", "call"}));

    // The copy is independent of the original.
    copy->codes.at(0)->setFrequency("3");
    QCOMPARE(call->codes.at(0)->frequency, QStringLiteral("18"));

    // A word the target already has is returned unchanged.
    Word *apple = target->findWord("apple");
    TempDictionary third({"apple\tnoun/reg/30"});
    QCOMPARE(target->addWord(third->findWord("apple")), apple);
    QVERIFY(apple->codes.isEmpty());
    QCOMPARE(target->addWord(static_cast<Word *>(nullptr)), nullptr);
}

void TestDictionary::changeSpelling_data()
{
    QTest::addColumn<QString>("spelling");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("new spelling") << "abbots" << true;
    QTest::newRow("case only") << "Abbot" << true;
    QTest::newRow("non-Latin-1") << QString::fromUtf8("Ωmega") << true;
    QTest::newRow("same") << "abbot" << false;
    QTest::newRow("another word's") << "about" << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("tab") << "ab\tbot" << false;
    QTest::newRow("line break") << "ab\nbot" << false;
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
    QCOMPARE(dict->wordCount(), 3);
    QVERIFY(dict->wordList().contains(spelling));
    QVERIFY(!dict->wordList().contains("abbot"));
    // The examples follow the new spelling.
    QStringList labels, templates;
    Grammar::examples(spelling, "noun", "reg", &labels, &templates);
    QCOMPARE(abbot->codes.at(0)->exampleTemplates, templates);
    // And the change is stored.
    QCOMPARE(dict->save(), 0);
    QVERIFY(dict->reload());
    QCOMPARE(dict->findWord(spelling), abbot);
    QCOMPARE(abbot->codes.at(0)->frequency, QStringLiteral("5"));
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
    QVERIFY2(dict.error().isEmpty(), qPrintable(dict.error()));
    QVERIFY(!dict->isDirty());
    QVERIFY(!dict.reference().isDirty());
    Word *call = dict->findWord("call");
    GCode *code = call->codes.at(0);
    Usage *usage = code->usages.at(0);

    if (edit == "addGCode") {
        call->addGCode();
        QCOMPARE(call->codes.size(), 2);
        QCOMPARE(call->codes.at(1)->partOfSpeech, QStringLiteral("new"));
        QVERIFY(call->codes.at(1)->subcode.isEmpty());
        QVERIFY(call->codes.at(1)->frequency.toInt() >= 1);
    } else if (edit == "removeGCode") {
        call->removeGCode(0);
        QVERIFY(call->codes.isEmpty());
    } else if (edit == "addUse") {
        call->addUse(0);
        QCOMPARE(code->usages.size(), 2);
        QVERIFY(code->usages.at(1)->complements()->codes().isEmpty());
    } else if (edit == "removeUse") {
        call->removeUse(0, 0);
        QVERIFY(code->usages.isEmpty());
    } else if (edit == "setCodeName") {
        call->setCodeName(0, "noun");
        QCOMPARE(code->partOfSpeech, QStringLiteral("noun"));
        QCOMPARE(code->subcodeChoices, Grammar::subcodeChoices("noun"));
    } else if (edit == "Word::setSubcode" || edit == "GCode::setSubcode") {
        const QStringList choices = Grammar::subcodeChoices("verb");
        QVERIFY(choices.size() > 1);
        const QString other = choices.last();
        if (edit == "Word::setSubcode")
            call->setSubcode(0, other);
        else
            code->setSubcode(other);
        QCOMPARE(code->subcode, other);
        QStringList labels, templates;
        Grammar::examples("call", "verb", other, &labels, &templates);
        QCOMPARE(code->exampleLabels, labels);
        QCOMPARE(code->exampleTemplates, templates);
    } else if (edit == "setFrequency") {
        code->setFrequency("3");
        dict->setMaximumFreq(5);
        QVERIFY(dict->wordList().contains("call"));
    } else if (edit == "adverbPositions") {
        code->adverbPositions->setCodes({"vp+"});
    } else if (edit == "complements") {
        usage->complements()->setCodes({"Tn", "Q1"});
    } else if (edit == "particles") {
        usage->particles()->setCodes({"away"});
    } else if (edit == "prepositions") {
        usage->prepositions()->setCodes({});
    } else if (edit == "changeSpelling") {
        call->changeSpelling("recall");
    } else if (edit == "removeWord") {
        call->removeWord();
        QVERIFY(!dict->wordList().contains("call"));
    } else if (edit == "addWord") {
        QVERIFY(dict->addWord("banana", "edit"));
    }
    QVERIFY(dict->isDirty());
    QVERIFY(dict.reference().isDirty());

    // The edit reaches the file, and the file then matches memory.
    Word *edited = dict->findWord(edit == "changeSpelling" ? "recall" : "call");
    const QStringList expected = edited ? describe(edited) : QStringList();
    QCOMPARE(dict->save(), 0);
    QVERIFY(!dict->isDirty());
    QVERIFY(dict->reload());
    Word *reloaded = dict->findWord(edit == "changeSpelling" ? "recall" : "call");
    QCOMPARE(reloaded ? describe(reloaded) : QStringList(), expected);
    QCOMPARE(reloaded, edited);
}

void TestDictionary::payloadRoundTrip_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expansion");
    QTest::newRow("plain") << "call\tverb/reg/18/Tn,Q1:up,away:about|Ipr::for;noun/reg/9" << QString();
    QTest::newRow("Greek") << QString::fromUtf8("Ωmega\tname/-/4") << QString();
    QTest::newRow("Japanese") << QString::fromUtf8("日本\tname/-/12") << QString();
    QTest::newRow("Latin-1 accent") << QString::fromUtf8("naïve\tadj./reg/7") << QString();
    QTest::newRow("no codes") << "zzz" << QString();
    QTest::newRow("separators in values") << "asap\tadv./-/7"
                                          << "a, b; c\\d\te|f/g:h\u00e9";
    QTest::newRow("emoji") << QString::fromUtf8("party🎉\tnoun/reg/2") << QString();
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
    QCOMPARE(carried, payload);

    QCOMPARE(target->pasteWord(carried), word->text);
    Word *pasted = target->findWord(word->text);
    QVERIFY(pasted);
    QCOMPARE(describe(pasted), describe(word));
    QVERIFY(target->isDirty());
    QCOMPARE(target->wordCount(), 2);

    // Pasting a word the target has already adds nothing and changes nothing.
    QCOMPARE(target->save(), 0);
    QCOMPARE(target->pasteWord(carried), word->text);
    QVERIFY(!target->isDirty());
    QCOMPARE(target->wordCount(), 2);
}

void TestDictionary::payloadOfNoWord()
{
    TempDictionary dict({"apple", "pear"});
    QCOMPARE(dict->copyCurrentWord(), QString());
    QVERIFY(dict->findWord("pear"));
    QVERIFY(dict->findWord("nothing") == nullptr);
    // The word last found stays current; once removed there is nothing to copy.
    QVERIFY(dict->copyCurrentWord().contains("pear"));
    dict->findWord("pear")->removeWord();
    QCOMPARE(dict->copyCurrentWord(), QString());
}

void TestDictionary::malformedPayloads_data()
{
    TempDictionary dict({"call\tverb/reg/18/Tn:up:about"});
    dict->findWord("call");
    const QString good = dict->copyCurrentWord();
    QVERIFY(good.startsWith("LexoraWord 1\n"));

    QTest::addColumn<QString>("payload");
    QTest::newRow("empty") << QString();
    QTest::newRow("plain word") << "call";
    QTest::newRow("other version") << QString(good).replace("LexoraWord 1", "LexoraWord 2");
    QTest::newRow("no header") << good.section('\n', 1);
    QTest::newRow("no end") << good.section('\n', 0, -2);
    QTest::newRow("junk after end") << good + "\nmore";
    QTest::newRow("trailing line break") << good + "\n";
    QTest::newRow("count too high") << QString(good).replace("\n1\n", "\n2\n");
    QTest::newRow("count too low") << QString(good).replace("\n1\n", "\n0\n");
    QTest::newRow("count not a number") << QString(good).replace("\n1\n", "\none\n");
    QTest::newRow("negative count") << QString(good).replace("\n1\n", "\n-1\n");
    QTest::newRow("unknown escape") << QString(good).replace("call", "ca\\qll");
    QTest::newRow("short unicode escape") << QString(good).replace("call", "ca\\u12");
    QTest::newRow("bad unicode escape") << QString(good).replace("call", "ca\\u12G4ll");
    QTest::newRow("raw non-ASCII") << QString(good).replace("call", QString::fromUtf8("cäll"));
    QTest::newRow("empty spelling") << QString(good).replace("\ncall\n", "\n\n");
    QTest::newRow("spelling with control") << QString(good).replace("call", "ca\\u0007ll");
    QTest::newRow("spelling too long") << QString(good).replace("call", QString(65, QLatin1Char('c')));
    QTest::newRow("code with too few fields") << "LexoraWord 1\ncall\n1\nverb\\u0009reg\nend";
    QTest::newRow("usage with four lists")
        << "LexoraWord 1\ncall\n1\nverb\\u0009reg\\u000918\\u0009\\u0009\\u0009Tn;up;on;off\nend";
    QTest::newRow("empty code in a list") << "LexoraWord 1\ncall\n1\nverb\\u0009reg\\u000918\\u0009\\u0009vp+,\nend";
    QTest::newRow("frequency not a number") << "LexoraWord 1\ncall\n1\nverb\\u0009reg\\u0009lots\\u0009\\u0009\nend";
    QTest::newRow("usage with two lists")
        << "LexoraWord 1\ncall\n1\nverb\\u0009reg\\u000918\\u0009\\u0009\\u0009Tn;up\nend";
    QTest::newRow("Windows line ends") << QString(good).replace("\n", "\r\n");
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
    QCOMPARE(dict->wordCount(), 1);
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
    QCOMPARE(dict->findWord("abbot"), nullptr);
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
    QCOMPARE(dict->wordCount(), int(expected.size()));
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(dict->findWord(it.key()), it.value());
    QStringList sorted = expected.keys();
    std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    QCOMPARE(dict->wordList(), sorted);
    QCOMPARE(dict->save(), 0);
    QVERIFY(dict->reload());
    QCOMPARE(dict->wordList(), sorted);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(dict->findWord(it.key()), it.value());
}

void TestDictionary::samePathSharesTheDictionary()
{
    TempDictionary dict({"apple"});
    QString error;
    DictionaryReference second = Prediction::openDictionary(dict.path(), &error);
    QVERIFY2(second != 0, qPrintable(error));
    QCOMPARE(second.get(), dict.reference().get());
    QVERIFY(second == dict.reference());

    // Another spelling of the same path, and a link to it.
    DictionaryReference third = Prediction::openDictionary(dict.folder() + "/./test.dict");
    QCOMPARE(third.get(), dict.reference().get());
    const QString link = dict.folder() + "/link.dict";
    QVERIFY(QFile::link(dict.path(), link));
    DictionaryReference fourth = Prediction::openDictionary(link);
    QCOMPARE(fourth.get(), dict.reference().get());

    // Edits through one handle are seen through the other.
    QVERIFY(second->addWord("pear", "edit"));
    QVERIFY(dict->findWord("pear"));
    QVERIFY(dict.reference().isDirty());

    // Copies share; a handle to nothing equals 0.
    DictionaryReference copy = second;
    QCOMPARE(copy.get(), second.get());
    DictionaryReference none;
    QVERIFY(none == 0);
    QVERIFY(!(copy == 0));
    copy = none;
    QVERIFY(copy == 0);
    QVERIFY(!none.isDirty());
    QCOMPARE(none.displayName(), QString());
}

QTEST_GUILESS_MAIN(TestDictionary)
#include "tst_dictionary.moc"
