#include "grammar.h"

#include "inflection.h"
#include "lexicon.h"
#include "subcodetable.h"

#include <QHash>

#include <algorithm>

namespace {

const QString noun = QStringLiteral("noun");
const QString verb = QStringLiteral("verb");
const QString name = QStringLiteral("name");
const QString adjective = QStringLiteral("adj.");
const QString adverb = QStringLiteral("adv.");
const QString timeWord = QStringLiteral("time");
const QString unknown = QStringLiteral("new");

bool endsWithAny(const QString &word, std::initializer_list<const char *> endings, int minimumStem = 2)
{
    for (const char *e : endings) {
        const QLatin1String ending(e);
        if (word.endsWith(ending) && word.size() - ending.size() >= minimumStem)
            return true;
    }
    return false;
}

bool isCapitalised(const QString &word)
{
    return !word.isEmpty() && word.at(0).isUpper();
}

// A word the rules may judge: letters, with an inner hyphen or apostrophe at most.
bool isPlainWord(const QString &word)
{
    if (word.isEmpty() || !word.at(0).isLetter() || !word.back().isLetter())
        return false;
    for (const QChar c : word) {
        if (!c.isLetter() && c != QLatin1Char('-') && c != QLatin1Char('\''))
            return false;
    }
    return true;
}

int maximumFrequency(const Lexicon::Entry &entry)
{
    int f = 0;
    for (const Lexicon::Code &c : entry.codes)
        f = qMax(f, c.frequency);
    return f;
}

Grammar::Guess makeGuess(const QString &partOfSpeech, const QString &subcode, int frequency)
{
    Grammar::Guess g;
    g.partOfSpeech = partOfSpeech;
    g.subcode = subcode;
    g.frequency = qBound(1, frequency, 31);
    return g;
}

void addUnique(QList<Grammar::Guess> *guesses, const Grammar::Guess &guess)
{
    for (const Grammar::Guess &g : std::as_const(*guesses)) {
        if (g.partOfSpeech == guess.partOfSpeech)
            return;
    }
    guesses->append(guess);
}

// Inflected forms of a word the lexicon knows: "walked" from "walk", "dogs" from "dog", "taller" from "tall".
QList<Grammar::Guess> guessFromBase(const QString &word, const Lexicon &lexicon)
{
    struct Candidate
    {
        QString base;
        QString partOfSpeech;
        QString subcode;
    };
    QList<Candidate> candidates;
    const int n = word.size();
    auto add = [&](const QString &base, const QString &pos, const char *subcode) {
        if (base.size() >= 2)
            candidates.append({base, pos, QString::fromLatin1(subcode)});
    };
    auto undoubled = [&](int suffixLength) {
        const int stem = n - suffixLength;
        if (stem >= 3 && word.at(stem - 1) == word.at(stem - 2))
            return word.left(stem - 1);
        return QString();
    };
    if (word.endsWith(QLatin1String("ing")) && n > 4) {
        add(word.left(n - 3), verb, "+ing");
        add(word.left(n - 3) + QLatin1Char('e'), verb, "+ing");
        add(undoubled(3), verb, "+ing");
        if (word.endsWith(QLatin1String("ying")))
            add(word.left(n - 4) + QStringLiteral("ie"), verb, "+ing");
    }
    if (word.endsWith(QLatin1String("ed")) && n > 3) {
        add(word.left(n - 2), verb, "+ed (p & pp)");
        add(word.left(n - 1), verb, "+ed (p & pp)");
        add(undoubled(2), verb, "+ed (p & pp)");
        if (word.endsWith(QLatin1String("ied")))
            add(word.left(n - 3) + QLatin1Char('y'), verb, "+ed (p & pp)");
    }
    if (word.endsWith(QLatin1Char('s')) && !word.endsWith(QLatin1String("ss")) && n > 3) {
        for (const QString &pos : {noun, verb}) {
            const char *subcode = pos == noun ? "plural only" : "+s";
            add(word.left(n - 1), pos, subcode);
            if (word.endsWith(QLatin1String("es")))
                add(word.left(n - 2), pos, subcode);
            if (word.endsWith(QLatin1String("ies")))
                add(word.left(n - 3) + QLatin1Char('y'), pos, subcode);
        }
    }
    for (const auto &[suffix, subcode] :
         {qMakePair(QLatin1String("est"), "superlative"), qMakePair(QLatin1String("er"), "comparative")}) {
        if (word.endsWith(suffix) && n > suffix.size() + 2) {
            const int stem = n - suffix.size();
            add(word.left(stem), adjective, subcode);
            add(word.left(stem) + QLatin1Char('e'), adjective, subcode);
            add(undoubled(suffix.size()), adjective, subcode);
            if (word.at(stem - 1) == QLatin1Char('i'))
                add(word.left(stem - 1) + QLatin1Char('y'), adjective, subcode);
        }
    }

    struct Ranked
    {
        Grammar::Guess guess;
        int rank;
    };
    QList<Ranked> found;
    for (const Candidate &c : std::as_const(candidates)) {
        Lexicon::Entry entry;
        if (!lexicon.lookup(c.base, &entry))
            continue;
        for (int i = 0; i < entry.codes.size(); ++i) {
            const Lexicon::Code &code = entry.codes.at(i);
            if (code.partOfSpeech != c.partOfSpeech)
                continue;
            // A regular form of an irregular verb ("runned") is no form at all.
            if (c.subcode == QLatin1String("+ed (p & pp)") &&
                (!entry.past.isEmpty() || Inflection::irregularVerb(c.base, nullptr, nullptr)))
                continue;
            found.append({makeGuess(c.partOfSpeech, c.subcode, code.frequency), i});
        }
    }
    // The commonest reading first ("does" is the verb before the deer), the lexicon's order on ties.
    std::stable_sort(found.begin(), found.end(), [](const Ranked &a, const Ranked &b) {
        return a.guess.frequency != b.guess.frequency ? a.guess.frequency > b.guess.frequency : a.rank < b.rank;
    });
    QList<Grammar::Guess> guesses;
    for (const Ranked &r : std::as_const(found))
        addUnique(&guesses, r.guess);
    return guesses;
}

// Parts of speech told by the ending of a word nothing else knows.
QList<Grammar::Guess> guessBySpelling(const QString &word)
{
    QList<Grammar::Guess> guesses;
    if (!isPlainWord(word))
        return guesses;
    if (isCapitalised(word)) {
        guesses << makeGuess(name, QStringLiteral("Singular name"), 1);
        return guesses;
    }
    const QString w = word.toLower();
    if (endsWithAny(w, {"ly"}, 3)) {
        guesses << makeGuess(adverb, QStringLiteral("-"), 1);
    } else if (endsWithAny(w, {"ness", "tion", "sion", "ment", "ity", "ism", "ship", "hood", "ance", "ence", "ology",
                               "ist", "dom", "ure", "age", "ery"})) {
        guesses << makeGuess(noun, QStringLiteral("reg"), 1);
    } else if (endsWithAny(w, {"ize", "ise", "ify", "ate", "yze", "yse"})) {
        guesses << makeGuess(verb, QStringLiteral("reg"), 1);
    } else if (endsWithAny(w, {"ful", "ous", "able", "ible", "ive", "less", "ical", "ic", "ish", "esque", "ary", "ial",
                               "al", "ent", "ant"})) {
        guesses << makeGuess(adjective, Inflection::adjectiveSubcode(w, false), 1);
    } else if (endsWithAny(w, {"ing"}, 3)) {
        guesses << makeGuess(verb, QStringLiteral("+ing"), 1) << makeGuess(adjective, QStringLiteral("verb 'ING'"), 1);
    } else if (endsWithAny(w, {"ed"}, 3)) {
        guesses << makeGuess(verb, QStringLiteral("+ed (p & pp)"), 1)
                << makeGuess(adjective, QStringLiteral("verb 'ED'"), 1);
    } else if (endsWithAny(w, {"er", "or"}, 3)) {
        guesses << makeGuess(noun, QStringLiteral("reg"), 1);
    }
    return guesses;
}

QString plural(const QString &word, const QString &subcode, const Lexicon::Entry &entry)
{
    if (subcode == QLatin1String("plural unchanged") || subcode == QLatin1String("U or C, pl. unchgd"))
        return word;
    if (subcode == QLatin1String("man, men, etc.."))
        return entry.plural.isEmpty() ? Inflection::irregularPlural(word) : entry.plural;
    if (subcode.contains(QLatin1String("Latin")))
        return entry.plural.isEmpty() ? Inflection::latinPlural(word) : entry.plural;
    if (subcode == QLatin1String("plural = '~zzes'"))
        return word + QStringLiteral("zes");
    if (subcode == QLatin1String("pl unchngd or +s"))
        return word + QStringLiteral(", two ") + Inflection::addS(word);
    return entry.plural.isEmpty() ? Inflection::addS(word) : entry.plural;
}

using Lines = QList<QPair<QString, QString>>;

Lines nounExamples(const QString &word, const QString &subcode, const Lexicon::Entry &entry)
{
    const QString singular = QStringLiteral("~: one ") + word;
    const QString plural = QStringLiteral("~: two ") + ::plural(word, subcode, entry);
    const QString uncount = QStringLiteral("~: some ") + word + QStringLiteral(" is");
    const QPair<QString, QString> s{QStringLiteral("singular"), singular};
    const QPair<QString, QString> p{QStringLiteral("plural"), plural};
    const QPair<QString, QString> u{QStringLiteral("uncount"), uncount};
    if (subcode == QLatin1String("singular only"))
        return {s};
    if (subcode == QLatin1String("plural only") || subcode == QLatin1String("pl. only: add 's' "))
        return {{QStringLiteral("plural"),
                 QStringLiteral("~: two ") + (subcode.startsWith(QLatin1String("pl.")) ? word + 's' : word)}};
    if (subcode == QLatin1String("usually plural"))
        return {p, s};
    if (subcode == QLatin1String("group"))
        return {s, p, {QStringLiteral("group"), QStringLiteral("~: the %1 is.../~: the %1 are...").arg(word)}};
    if (subcode == QLatin1String("uncount"))
        return {u};
    if (subcode == QLatin1String("uncount or count") || subcode == QLatin1String("U or C, pl. unchgd") ||
        subcode == QLatin1String("U or C, Latin pl."))
        return {u, s, p};
    if (subcode == QLatin1String("U or C, usu.pl") || subcode == QLatin1String("U or plural count"))
        return {u, p};
    if (subcode == QLatin1String("U or singular"))
        return {u, {QStringLiteral("singular"), QStringLiteral("~: a ") + word}};
    if (subcode == QLatin1String("uncount plural"))
        return {{QStringLiteral("uncount plural"), QStringLiteral("~: these ") + word + QStringLiteral(" are")}};
    if (subcode == QLatin1String("singular with 'the'"))
        return {{QStringLiteral("with 'the'"), QStringLiteral("~: the ") + word + QStringLiteral(" is")}};
    if (subcode == QLatin1String("plural with 'the'"))
        return {{QStringLiteral("with 'the'"), QStringLiteral("~: the ") + word + QStringLiteral(" are")}};
    return {s, p};
}

Lines verbExamples(const QString &word, const QString &subcode, const Lexicon::Entry &entry)
{
    const bool doubled = subcode.contains(QLatin1String("dbl"));
    QString past = entry.past;
    QString participle = entry.participle;
    if (past.isEmpty() && participle.isEmpty())
        Inflection::irregularVerb(word, &past, &participle);
    const QString compact = QString(subcode).remove(QLatin1Char(' ')).remove(QLatin1String(",dbl"));
    if (compact == QLatin1String("reg")) {
        past.clear();
        participle.clear();
    } else if (compact == QLatin1String("p&pp=root")) {
        past = participle = word;
    } else if (compact == QLatin1String("past=root")) {
        past = word;
    } else if (compact == QLatin1String("pp=root")) {
        participle = word;
    }
    const Inflection::VerbForms f = Inflection::verbForms(word, doubled, past, participle);
    const QPair<QString, QString> root{QStringLiteral("root"), QStringLiteral("~: to ") + f.root};
    const QPair<QString, QString> third{QStringLiteral("3rd person"), QStringLiteral("~: she ") + f.third};
    const QPair<QString, QString> ing{QStringLiteral("-ing"), QStringLiteral("~: she is ") + f.ing};
    const QPair<QString, QString> pastLine{QStringLiteral("past"), QStringLiteral("~: she ") + f.past};
    const QPair<QString, QString> participleLine{QStringLiteral("past participle"),
                                                 QStringLiteral("~: she has ") + f.pastParticiple};
    if (subcode == QLatin1String("root"))
        return {root};
    if (subcode == QLatin1String("infinitive"))
        return {{QStringLiteral("infinitive"), QStringLiteral("~: to ") + word}};
    if (subcode == QLatin1String("+s"))
        return {{QStringLiteral("3rd person"), QStringLiteral("~: she ") + word}};
    if (subcode == QLatin1String("+ing"))
        return {{QStringLiteral("-ing"), QStringLiteral("~: she is ") + word}};
    if (subcode == QLatin1String("past"))
        return {{QStringLiteral("past"), QStringLiteral("~: she ") + word}};
    if (subcode == QLatin1String("past participle"))
        return {{QStringLiteral("past participle"), QStringLiteral("~: she has ") + word}};
    if (subcode == QLatin1String("+ed (p & pp)") || subcode == QLatin1String("p & pp, not passive"))
        return {{QStringLiteral("past"), QStringLiteral("~: she ") + word},
                {QStringLiteral("past participle"), QStringLiteral("~: she has ") + word}};
    if (subcode == QLatin1String("passive only"))
        return {{QStringLiteral("passive"), QStringLiteral("~: it was ") + word}};
    return {root, third, ing, pastLine, participleLine};
}

Lines adjectiveExamples(const QString &word, const QString &subcode, const Lexicon::Entry &entry)
{
    if (subcode == QLatin1String("reg") || subcode == QLatin1String("reg, dbl")) {
        const bool doubled = subcode == QLatin1String("reg, dbl");
        const QString comparative =
            entry.comparative.isEmpty() ? Inflection::comparative(word, doubled) : entry.comparative;
        const QString superlative =
            entry.superlative.isEmpty() ? Inflection::superlative(word, doubled) : entry.superlative;
        return {{QStringLiteral("comparative"), QStringLiteral("~: ") + comparative + QStringLiteral(" than that")},
                {QStringLiteral("superlative"), QStringLiteral("~: the ") + superlative}};
    }
    if (subcode.startsWith(QLatin1String("absolute")))
        return {{QStringLiteral("comparative"), QStringLiteral("~: more ") + word + QStringLiteral(" than that")},
                {QStringLiteral("superlative"), QStringLiteral("~: the most ") + word}};
    if (subcode == QLatin1String("comparative"))
        return {{QStringLiteral("comparative"), QStringLiteral("~: ") + word + QStringLiteral(" than that")}};
    if (subcode == QLatin1String("superlative"))
        return {{QStringLiteral("superlative"), QStringLiteral("~: the ") + word + QStringLiteral(" one of all")}};
    const QPair<QString, QString> attributive{QStringLiteral("before a noun"),
                                              QStringLiteral("~: a ") + word + QStringLiteral(" thing")};
    const QPair<QString, QString> predicative{QStringLiteral("after a verb"), QStringLiteral("~: it is ") + word};
    if (subcode.contains(QLatin1String("attrib")))
        return {attributive};
    if (subcode.contains(QLatin1String("pred")))
        return {predicative};
    return {attributive, predicative};
}

Lines nameExamples(const QString &word, const QString &subcode)
{
    static const QHash<QString, QString> frames = {
        {QStringLiteral("Singular name"), QStringLiteral("~: %1 is")},
        {QStringLiteral("Singular with 'the'"), QStringLiteral("~: the %1 is")},
        {QStringLiteral("Plural name"), QStringLiteral("~: %1 are")},
        {QStringLiteral("Plural with 'the'"), QStringLiteral("~: the %1 are")},
        {QStringLiteral("First Name"), QStringLiteral("~: %1 Smith")},
        {QStringLiteral("Last Name"), QStringLiteral("~: John %1")},
        {QStringLiteral("Time, Event"), QStringLiteral("~: at %1")},
        {QStringLiteral("Time with 'the'"), QStringLiteral("~: at the %1")},
        {QStringLiteral("Location"), QStringLiteral("~: in %1")},
        {QStringLiteral("Loc sing with 'the'"), QStringLiteral("~: at the %1")},
        {QStringLiteral("Loc pl with 'the'"), QStringLiteral("~: in the %1")},
        {QStringLiteral("City, etc"), QStringLiteral("~: %1 is.../~: %1 are playing")},
    };
    return {{QStringLiteral("name"), frames.value(subcode, QStringLiteral("~: %1")).arg(word)}};
}

// Sentence frames of the verb patterns; "%1" is the verb.
const QHash<QString, QString> &verbFrames()
{
    static const QHash<QString, QString> frames = {
        {QStringLiteral("I"), QStringLiteral("%1 1")},
        {QStringLiteral("Ip"), QStringLiteral("%1 1")},
        {QStringLiteral("ILoc"), QStringLiteral("%1 1 2 a place")},
        {QStringLiteral("Idest"), QStringLiteral("%1 1 2 a place")},
        {QStringLiteral("Ipr"), QStringLiteral("%1 1 2 something")},
        {QStringLiteral("Ipg"), QStringLiteral("%1 1 2 doing something")},
        {QStringLiteral("Tn"), QStringLiteral("%1 someone 1")},
        {QStringLiteral("Tnp"), QStringLiteral("%1 someone 1")},
        {QStringLiteral("TnLoc"), QStringLiteral("%1 something 1 2 a place")},
        {QStringLiteral("TnDest"), QStringLiteral("%1 something 1 2 a place")},
        {QStringLiteral("Tnpr"), QStringLiteral("%1 someone 1 2 something")},
        {QStringLiteral("Tnppr"), QStringLiteral("%1 someone 1 2 something")},
        {QStringLiteral("Tf"), QStringLiteral("%1 1 that it is so")},
        {QStringLiteral("Tw"), QStringLiteral("%1 1 how it is")},
        {QStringLiteral("Tt"), QStringLiteral("%1 1 to do it")},
        {QStringLiteral("Tnt"), QStringLiteral("%1 someone 1 to do it")},
        {QStringLiteral("Tg"), QStringLiteral("%1 1 doing it")},
        {QStringLiteral("Tsg"), QStringLiteral("%1 1 his doing it")},
        {QStringLiteral("Tng"), QStringLiteral("%1 someone 1 doing it")},
        {QStringLiteral("Tni"), QStringLiteral("%1 someone 1 do it")},
        {QStringLiteral("Tned"), QStringLiteral("%1 something 1 done")},
        {QStringLiteral("Lv"), QStringLiteral("%1 1 do it")},
        {QStringLiteral("La"), QStringLiteral("%1 1 happy")},
        {QStringLiteral("Ln"), QStringLiteral("%1 1 a teacher")},
        {QStringLiteral("Lln"), QStringLiteral("%1 1 like a dog")},
        {QStringLiteral("Cna"), QStringLiteral("%1 someone 1 angry")},
        {QStringLiteral("Cnn"), QStringLiteral("%1 someone 1 president")},
        {QStringLiteral("Cnas"), QStringLiteral("%1 something 1 as the truth")},
        {QStringLiteral("Dnn"), QStringLiteral("%1 someone 1 a book")},
        {QStringLiteral("Dnpr"), QStringLiteral("%1 a book 1 2 someone")},
        {QStringLiteral("Dnf"), QStringLiteral("%1 someone 1 that it is so")},
        {QStringLiteral("Dnw"), QStringLiteral("%1 someone 1 what to do")},
    };
    return frames;
}

// Frames of the noun complements; "%1" is the noun.
const QHash<QString, QString> &nounFrames()
{
    static const QHash<QString, QString> frames = {
        {QStringLiteral("default"), QStringLiteral("a %1 2 something")},
        {QStringLiteral("Q1"), QStringLiteral("a %1 of something")},
        {QStringLiteral("Q2"), QStringLiteral("a %1 of people")},
        {QStringLiteral("Q3"), QStringLiteral("a %1 of something")},
        {QStringLiteral("full"), QStringLiteral("a %1 full of things")},
        {QStringLiteral("in"), QStringLiteral("a %1 in a place")},
        {QStringLiteral("T1"), QStringLiteral("the %1 on Monday")},
        {QStringLiteral("T2"), QStringLiteral("the %1 for five years")},
        {QStringLiteral("T3"), QStringLiteral("the %1 every year")},
        {QStringLiteral("on"), QStringLiteral("a %1 on something")},
        {QStringLiteral("of"), QStringLiteral("a %1 of something")},
        {QStringLiteral("of1"), QStringLiteral("a %1 made of something")},
        {QStringLiteral("with"), QStringLiteral("a %1 with something")},
        {QStringLiteral("on1"), QStringLiteral("the %1 on something")},
        {QStringLiteral("of2"), QStringLiteral("a %1 of mine")},
        {QStringLiteral("to"), QStringLiteral("a %1 to someone")},
        {QStringLiteral("WH"), QStringLiteral("the %1 what to do")},
        {QStringLiteral("WH3"), QStringLiteral("the %1 why it happened")},
        {QStringLiteral("for"), QStringLiteral("a %1 for something")},
        {QStringLiteral("to1"), QStringLiteral("a %1 to a place")},
        {QStringLiteral("with1"), QStringLiteral("a %1 with something")},
        {QStringLiteral("by"), QStringLiteral("a %1 by something")},
        {QStringLiteral("at"), QStringLiteral("a %1 at something")},
        {QStringLiteral("against"), QStringLiteral("a %1 against something")},
        {QStringLiteral("about"), QStringLiteral("a %1 about something")},
        {QStringLiteral("that"), QStringLiteral("the %1 that it happened")},
        {QStringLiteral("toV"), QStringLiteral("a %1 to do it")},
        {QStringLiteral("WH1"), QStringLiteral("the %1 about what to do")},
        {QStringLiteral("WH2"), QStringLiteral("the %1 of what to do")},
        {QStringLiteral("forV"), QStringLiteral("a %1 for doing it")},
        {QStringLiteral("inV"), QStringLiteral("the %1 in doing it")},
    };
    return frames;
}

// Frames of the adjective complements; "%1" is the adjective.
const QHash<QString, QString> &adjectiveFrames()
{
    static const QHash<QString, QString> frames = [] {
        QHash<QString, QString> f = {
            {QStringLiteral("-"), QStringLiteral("it is %1")},
            {QStringLiteral("wh1"), QStringLiteral("it is %1 what to do")},
            {QStringLiteral("wh2"), QStringLiteral("it is %1 of what to do")},
            {QStringLiteral("wh3"), QStringLiteral("it is %1 about what to do")},
            {QStringLiteral("to1"), QStringLiteral("she is %1 to do it")},
            {QStringLiteral("to2"), QStringLiteral("it is %1 to do")},
            {QStringLiteral("to3"), QStringLiteral("it is %1 of you to do it")},
            {QStringLiteral("to4"), QStringLiteral("it is %1 for you to do it")},
            {QStringLiteral("to5"), QStringLiteral("it was %1 to do it")},
            {QStringLiteral("ing6"), QStringLiteral("it was %1 doing it")},
            {QStringLiteral("t1"), QStringLiteral("it is %1 that it happened")},
            {QStringLiteral("t2"), QStringLiteral("she is %1 that it happened")},
            {QStringLiteral("ing"), QStringLiteral("she is %1 doing things")},
            {QStringLiteral("than"), QStringLiteral("it is %1 than it was")},
        };
        for (const char *preposition : {"about", "around", "at", "for", "from", "in", "of", "on", "to", "with"})
            f.insert(QLatin1String(preposition),
                     QStringLiteral("she is %1 ") + QLatin1String(preposition) + QStringLiteral(" something"));
        return f;
    }();
    return frames;
}

bool isPhrasalMarker(const QString &code)
{
    return code == QLatin1String("phrasal") || code == QLatin1String("nonphrasal") ||
           code == QLatin1String("Phrasal verb") || code == QLatin1String("Non Phrasal Verb");
}

} // namespace

namespace Grammar {

QList<Guess> guess(const QString &word, bool advanced)
{
    QList<Guess> guesses;
    const Lexicon &lexicon = Lexicon::shared();
    Lexicon::Entry entry;
    bool known = lexicon.lookup(word, &entry);
    bool hasCodes = known && !entry.codes.isEmpty();
    if (!hasCodes && !isCapitalised(word) && isPlainWord(word)) {
        // A word the corpora saw mostly at the start of a line ("Uh") is listed with its capital; written
        // in lower case it is the same word, unless the listing is a name.
        Lexicon::Entry capitalised;
        if (lexicon.lookup(word.left(1).toUpper() + word.mid(1), &capitalised) && !capitalised.codes.isEmpty() &&
            std::none_of(capitalised.codes.cbegin(), capitalised.codes.cend(),
                         [](const Lexicon::Code &c) { return c.partOfSpeech == name; })) {
            entry = capitalised;
            known = hasCodes = true;
        }
    }
    // A capitalised word is a name, unless the lexicon knows it as spelt ("I").
    if (!hasCodes && isCapitalised(word) && isPlainWord(word)) {
        int frequency = known ? entry.frequency : 0;
        Lexicon::Entry lower;
        if (frequency == 0 && lexicon.lookup(word.toLower(), &lower))
            frequency = maximumFrequency(lower);
        guesses << makeGuess(name, QStringLiteral("Singular name"), frequency);
        return guesses;
    }
    if (hasCodes) {
        for (const Lexicon::Code &c : std::as_const(entry.codes))
            addUnique(&guesses, makeGuess(c.partOfSpeech, c.subcode, c.frequency));
    }
    // A form of a known word ("looking", "walked") may be a lemma of its own as well; its readings as
    // a form go before the lemma's readings that are rarer.
    if (isPlainWord(word)) {
        for (const Guess &derived : guessFromBase(word, lexicon)) {
            bool present = false;
            for (const Guess &g : std::as_const(guesses))
                present = present || g.partOfSpeech == derived.partOfSpeech;
            if (present)
                continue;
            int at = 0;
            while (at < guesses.size() && guesses.at(at).frequency >= derived.frequency)
                ++at;
            guesses.insert(at, derived);
        }
    }
    if (guesses.isEmpty())
        guesses = guessBySpelling(word);
    if (guesses.isEmpty())
        guesses << makeGuess(unknown, QString(), 1);
    // Codes that come from rules or from the word's base take the word's own count where the corpus has
    // one: "dogs" is as common as "dogs" is, not as "dog".
    if (known && !hasCodes && entry.frequency > 0) {
        for (int i = 0; i < guesses.size(); ++i)
            guesses[i].frequency = i == 0 ? entry.frequency : qBound(2, guesses.at(i).frequency, entry.frequency);
    }
    if (!advanced)
        guesses = guesses.mid(0, 1);
    return guesses;
}

QStringList subcodeChoices(const QString &partOfSpeech)
{
    return SubcodeTable::codes(partOfSpeech);
}

void examples(const QString &word, const QString &partOfSpeech, const QString &subcode, QStringList *labels,
              QStringList *templates)
{
    Lines lines;
    if (!word.isEmpty()) {
        Lexicon::Entry entry;
        Lexicon::shared().lookup(word, &entry);
        if (partOfSpeech == noun)
            lines = nounExamples(word, subcode, entry);
        else if (partOfSpeech == verb)
            lines = verbExamples(word, subcode, entry);
        else if (partOfSpeech == adjective)
            lines = adjectiveExamples(word, subcode, entry);
        else if (partOfSpeech == name)
            lines = nameExamples(word, subcode);
        else if (partOfSpeech == adverb)
            lines = {{QStringLiteral("adverb"), QStringLiteral("~: she did it ") + word}};
        else if (partOfSpeech == timeWord)
            lines = {{QStringLiteral("time"), QStringLiteral("~: ") + word}};
    }
    if (labels)
        labels->clear();
    if (templates)
        templates->clear();
    for (const auto &line : std::as_const(lines)) {
        if (labels)
            labels->append(line.first);
        if (templates)
            templates->append(line.second);
    }
}

bool canHaveUses(const QString &partOfSpeech)
{
    return partOfSpeech == noun || partOfSpeech == verb || partOfSpeech == adjective;
}

QString complementName(const QString &partOfSpeech, const QStringList &codes)
{
    if (codes.isEmpty())
        return QStringLiteral("no complement");
    QStringList names;
    for (const QString &code : codes) {
        if (code == QLatin1String("phrasal"))
            names << QStringLiteral("Phrasal verb");
        else if (code == QLatin1String("nonphrasal"))
            names << QStringLiteral("Non Phrasal Verb");
        else if (code == QLatin1String("-") && partOfSpeech == adjective)
            names << QStringLiteral("no-prep");
        else
            names << code;
    }
    return names.join(QStringLiteral(", "));
}

QStringList complementPatterns(const QString &word, const QString &partOfSpeech, const QStringList &codes)
{
    const QHash<QString, QString> *frames = nullptr;
    QString fallback;
    if (partOfSpeech == verb) {
        frames = &verbFrames();
        fallback = QStringLiteral("%1 1 2 something");
    } else if (partOfSpeech == noun) {
        frames = &nounFrames();
        fallback = QStringLiteral("a %1 2 something");
    } else if (partOfSpeech == adjective) {
        frames = &adjectiveFrames();
        fallback = QStringLiteral("she is %1 2 something");
    } else {
        return {};
    }
    QStringList patterns;
    bool phrasal = false;
    for (const QString &code : codes) {
        if (isPhrasalMarker(code)) {
            phrasal = phrasal || code == QLatin1String("phrasal") || code == QLatin1String("Phrasal verb");
            continue;
        }
        const QString pattern = frames->value(code, fallback).arg(word);
        if (!patterns.contains(pattern))
            patterns << pattern;
    }
    // A phrasal verb without a pattern still needs a place for its particles.
    if (patterns.isEmpty() && phrasal)
        patterns << QStringLiteral("%1 someone 1").arg(word);
    return patterns;
}

QString listText(const QStringList &codes)
{
    return codes.join(QLatin1Char('/'));
}

QString adverbText(const QStringList &codes)
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("vp+"), QStringLiteral("after the verb phrase")},
        {QStringLiteral("+S"), QStringLiteral("before the sentence")},
        {QStringLiteral("+vp"), QStringLiteral("inside the verb phrase")},
        {QStringLiteral("+np"), QStringLiteral("before a noun phrase")},
        {QStringLiteral("+adj"), QStringLiteral("before an adjective")},
        {QStringLiteral("very+"), QStringLiteral("after 'very'")},
        {QStringLiteral("almost+"), QStringLiteral("after 'almost'")},
        {QStringLiteral("er"), QStringLiteral("comparative")},
    };
    QStringList parts;
    for (const QString &code : codes)
        parts << names.value(code, code);
    return parts.join(QStringLiteral(", "));
}

} // namespace Grammar
