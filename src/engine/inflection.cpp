#include "inflection.h"

#include <QHash>

namespace {

// Root, past and past participle of the common irregular verbs. Alternatives are not listed: the
// form most writers of American and British English share comes first.
const char *const irregularVerbTable[] = {
    "arise arose arisen",
    "awake awoke awoken",
    "be was been",
    "bear bore borne",
    "beat beat beaten",
    "become became become",
    "begin began begun",
    "bend bent bent",
    "bet bet bet",
    "bid bid bid",
    "bind bound bound",
    "bite bit bitten",
    "bleed bled bled",
    "blow blew blown",
    "break broke broken",
    "breed bred bred",
    "bring brought brought",
    "broadcast broadcast broadcast",
    "build built built",
    "burst burst burst",
    "buy bought bought",
    "cast cast cast",
    "catch caught caught",
    "choose chose chosen",
    "cling clung clung",
    "come came come",
    "cost cost cost",
    "creep crept crept",
    "cut cut cut",
    "deal dealt dealt",
    "dig dug dug",
    "do did done",
    "draw drew drawn",
    "drink drank drunk",
    "drive drove driven",
    "eat ate eaten",
    "fall fell fallen",
    "feed fed fed",
    "feel felt felt",
    "fight fought fought",
    "find found found",
    "flee fled fled",
    "fling flung flung",
    "fly flew flown",
    "forbid forbade forbidden",
    "forecast forecast forecast",
    "foresee foresaw foreseen",
    "forget forgot forgotten",
    "forgive forgave forgiven",
    "freeze froze frozen",
    "get got gotten",
    "give gave given",
    "go went gone",
    "grind ground ground",
    "grow grew grown",
    "hang hung hung",
    "have had had",
    "hear heard heard",
    "hide hid hidden",
    "hit hit hit",
    "hold held held",
    "hurt hurt hurt",
    "keep kept kept",
    "kneel knelt knelt",
    "know knew known",
    "lay laid laid",
    "lead led led",
    "leave left left",
    "lend lent lent",
    "let let let",
    "lie lay lain",
    "light lit lit",
    "lose lost lost",
    "make made made",
    "mean meant meant",
    "meet met met",
    "mislead misled misled",
    "mistake mistook mistaken",
    "overcome overcame overcome",
    "overtake overtook overtaken",
    "pay paid paid",
    "put put put",
    "quit quit quit",
    "read read read",
    "rid rid rid",
    "ride rode ridden",
    "ring rang rung",
    "rise rose risen",
    "run ran run",
    "say said said",
    "see saw seen",
    "seek sought sought",
    "sell sold sold",
    "send sent sent",
    "set set set",
    "sew sewed sewn",
    "shake shook shaken",
    "shed shed shed",
    "shine shone shone",
    "shoot shot shot",
    "show showed shown",
    "shrink shrank shrunk",
    "shut shut shut",
    "sing sang sung",
    "sink sank sunk",
    "sit sat sat",
    "slay slew slain",
    "sleep slept slept",
    "slide slid slid",
    "sling slung slung",
    "slit slit slit",
    "speak spoke spoken",
    "speed sped sped",
    "spend spent spent",
    "spin spun spun",
    "spit spat spat",
    "split split split",
    "spread spread spread",
    "spring sprang sprung",
    "stand stood stood",
    "steal stole stolen",
    "stick stuck stuck",
    "sting stung stung",
    "stink stank stunk",
    "stride strode stridden",
    "strike struck struck",
    "string strung strung",
    "strive strove striven",
    "swear swore sworn",
    "sweep swept swept",
    "swell swelled swollen",
    "swim swam swum",
    "swing swung swung",
    "take took taken",
    "teach taught taught",
    "tear tore torn",
    "tell told told",
    "think thought thought",
    "throw threw thrown",
    "thrust thrust thrust",
    "tread trod trodden",
    "understand understood understood",
    "undertake undertook undertaken",
    "undo undid undone",
    "upset upset upset",
    "wake woke woken",
    "wear wore worn",
    "weave wove woven",
    "weep wept wept",
    "win won won",
    "wind wound wound",
    "withdraw withdrew withdrawn",
    "withhold withheld withheld",
    "withstand withstood withstood",
    "wring wrung wrung",
    "write wrote written",
};

// Verbs of more than one syllable stressed on the last, which double like one-syllable verbs.
const char *const stressedFinalSyllable[] = {
    "admit",  "begin",    "commit",   "compel", "concur", "confer", "control", "defer",  "deter",
    "equip",  "excel",    "expel",    "forbid", "forget", "incur",  "infer",   "occur",  "omit",
    "patrol", "permit",   "prefer",   "propel", "rebel",  "recur",  "refer",   "regret", "repel",
    "submit", "transfer", "transmit", "upset",  "outwit", "unwrap", "acquit",  "abet",   "abhor",
};

struct IrregularVerb
{
    QString past;
    QString participle;
};

const QHash<QString, IrregularVerb> &irregularVerbs()
{
    static const QHash<QString, IrregularVerb> table = [] {
        QHash<QString, IrregularVerb> t;
        for (const char *line : irregularVerbTable) {
            const QStringList parts = QString::fromLatin1(line).split(QLatin1Char(' '));
            t.insert(parts.at(0), {parts.at(1), parts.at(2)});
        }
        return t;
    }();
    return table;
}

bool isVowel(QChar c)
{
    return QStringLiteral("aeiou").contains(c.toLower());
}

bool endsWithAny(const QString &word, std::initializer_list<const char *> endings)
{
    for (const char *e : endings) {
        if (word.endsWith(QLatin1String(e)))
            return true;
    }
    return false;
}

} // namespace

bool Inflection::irregularVerb(const QString &root, QString *past, QString *pastParticiple)
{
    const auto it = irregularVerbs().constFind(root.toLower());
    if (it == irregularVerbs().constEnd())
        return false;
    if (past)
        *past = it->past;
    if (pastParticiple)
        *pastParticiple = it->participle;
    return true;
}

bool Inflection::doublesByRule(const QString &word)
{
    const QString w = word.toLower();
    const int n = w.size();
    if (n < 3)
        return false;
    const QChar last = w.at(n - 1);
    if (isVowel(last) || QStringLiteral("wxy").contains(last) || !last.isLetter())
        return false;
    if (!isVowel(w.at(n - 2)))
        return false;
    // "quit", "equip": the u after q is no vowel of its own.
    const bool quVowel = n >= 4 && w.at(n - 3) == QLatin1Char('u') && w.at(n - 4) == QLatin1Char('q');
    if (isVowel(w.at(n - 3)) && !quVowel)
        return false;
    if (syllables(w) == 1)
        return true;
    for (const char *verb : stressedFinalSyllable) {
        if (w == QLatin1String(verb))
            return true;
    }
    return false;
}

int Inflection::syllables(const QString &word)
{
    const QString w = word.toLower();
    int groups = 0;
    bool inVowel = false;
    for (int i = 0; i < w.size(); ++i) {
        const bool vowel = isVowel(w.at(i)) || (w.at(i) == QLatin1Char('y') && i > 0);
        if (vowel && !inVowel)
            ++groups;
        inVowel = vowel;
    }
    // A final silent e ("make", "simple" keeps its syllable through "le").
    if (w.size() > 2 && w.endsWith(QLatin1Char('e')) && !isVowel(w.at(w.size() - 2)) &&
        !w.endsWith(QLatin1String("le")))
        --groups;
    return qMax(groups, 1);
}

QString Inflection::addVowelSuffix(const QString &word, const QString &suffix, bool doubled)
{
    const int n = word.size();
    if (n == 0)
        return suffix;
    const QChar last = word.at(n - 1);
    if (doubled && !isVowel(last))
        return word + last + suffix;
    if (last == QLatin1Char('e')) {
        // "see" + "ing" keeps its e; "ee", "ye", "oe" before -ing keep it too.
        if (suffix == QLatin1String("ing")) {
            if (word.endsWith(QLatin1String("ee")) || word.endsWith(QLatin1String("ye")) ||
                word.endsWith(QLatin1String("oe")))
                return word + suffix;
            if (word.endsWith(QLatin1String("ie")))
                return word.left(n - 2) + QStringLiteral("ying");
        }
        if (suffix.startsWith(QLatin1Char('e')))
            return word + suffix.mid(1);
        return word.left(n - 1) + suffix;
    }
    if (last == QLatin1Char('y') && n > 1 && !isVowel(word.at(n - 2)) && suffix != QLatin1String("ing"))
        return word.left(n - 1) + QLatin1Char('i') + suffix;
    return word + suffix;
}

QString Inflection::addS(const QString &word)
{
    const int n = word.size();
    if (n == 0)
        return QStringLiteral("s");
    if (endsWithAny(word, {"s", "x", "z", "ch", "sh"}))
        return word + QStringLiteral("es");
    if (word.endsWith(QLatin1Char('y')) && n > 1 && !isVowel(word.at(n - 2)))
        return word.left(n - 1) + QStringLiteral("ies");
    if (word.endsWith(QLatin1Char('o')) && n > 1 && !isVowel(word.at(n - 2)) &&
        (word == QLatin1String("go") || word == QLatin1String("do") || word == QLatin1String("echo") ||
         word == QLatin1String("veto") || word == QLatin1String("hero") || word == QLatin1String("potato") ||
         word == QLatin1String("tomato") || word == QLatin1String("torpedo")))
        return word + QStringLiteral("es");
    return word + QLatin1Char('s');
}

Inflection::VerbForms Inflection::verbForms(const QString &root, bool doubled, const QString &irregularPast,
                                            const QString &irregularParticiple)
{
    VerbForms f;
    f.root = root;
    const QString lower = root.toLower();
    if (lower == QLatin1String("be")) {
        f.third = QStringLiteral("is");
    } else if (lower == QLatin1String("have")) {
        f.third = QStringLiteral("has");
    } else {
        f.third = addS(root);
    }
    f.ing = addVowelSuffix(root, QStringLiteral("ing"), doubled);
    const QString regular = addVowelSuffix(root, QStringLiteral("ed"), doubled);
    f.past = irregularPast.isEmpty() ? regular : irregularPast;
    f.pastParticiple = irregularParticiple.isEmpty() ? f.past : irregularParticiple;
    return f;
}

QString Inflection::verbSubcode(const QString &root, bool doubled, const QString &past, const QString &participle)
{
    const QString regular = addVowelSuffix(root, QStringLiteral("ed"), doubled);
    const bool pastRegular = past.isEmpty() || past == regular;
    const bool participleRegular = participle.isEmpty() || participle == regular;
    if (pastRegular && participleRegular)
        return doubled ? QStringLiteral("reg, dbl") : QStringLiteral("reg");
    const bool pastIsRoot = past == root;
    const bool participleIsRoot = participle == root;
    if (pastIsRoot && participleIsRoot)
        return doubled ? QStringLiteral("p&pp=root,dbl") : QStringLiteral("p & pp = root");
    if (pastIsRoot)
        return doubled ? QStringLiteral("past=root,dbl") : QStringLiteral("past = root");
    if (participleIsRoot)
        return doubled ? QStringLiteral("pp = root, dbl") : QStringLiteral("pp = root");
    return doubled ? QStringLiteral("irreg p&pp,dbl") : QStringLiteral("irreg p & pp");
}

QString Inflection::irregularPlural(const QString &noun)
{
    static const QHash<QString, QString> table = {
        {QStringLiteral("man"), QStringLiteral("men")},        {QStringLiteral("woman"), QStringLiteral("women")},
        {QStringLiteral("child"), QStringLiteral("children")}, {QStringLiteral("foot"), QStringLiteral("feet")},
        {QStringLiteral("tooth"), QStringLiteral("teeth")},    {QStringLiteral("goose"), QStringLiteral("geese")},
        {QStringLiteral("mouse"), QStringLiteral("mice")},     {QStringLiteral("louse"), QStringLiteral("lice")},
        {QStringLiteral("ox"), QStringLiteral("oxen")},        {QStringLiteral("person"), QStringLiteral("people")},
        {QStringLiteral("die"), QStringLiteral("dice")},
    };
    const QString lower = noun.toLower();
    const auto it = table.constFind(lower);
    if (it != table.constEnd())
        return *it;
    if (lower.endsWith(QLatin1String("man")))
        return noun.left(noun.size() - 3) + QStringLiteral("men");
    if (lower.endsWith(QLatin1String("foot")))
        return noun.left(noun.size() - 4) + QStringLiteral("feet");
    if (lower.endsWith(QLatin1String("child")))
        return noun + QStringLiteral("ren");
    if (lower.endsWith(QLatin1String("fe")))
        return noun.left(noun.size() - 2) + QStringLiteral("ves");
    if (lower.endsWith(QLatin1String("f")))
        return noun.left(noun.size() - 1) + QStringLiteral("ves");
    return addS(noun);
}

QString Inflection::latinPlural(const QString &noun)
{
    const QString lower = noun.toLower();
    if (lower.endsWith(QLatin1String("us")))
        return noun.left(noun.size() - 2) + QLatin1Char('i');
    if (lower.endsWith(QLatin1String("um")) || lower.endsWith(QLatin1String("on")))
        return noun.left(noun.size() - 2) + QLatin1Char('a');
    if (lower.endsWith(QLatin1String("is")))
        return noun.left(noun.size() - 2) + QStringLiteral("es");
    if (lower.endsWith(QLatin1String("ex")) || lower.endsWith(QLatin1String("ix")))
        return noun.left(noun.size() - 2) + QStringLiteral("ices");
    if (lower.endsWith(QLatin1Char('a')))
        return noun + QLatin1Char('e');
    return addS(noun);
}

bool Inflection::irregularComparison(const QString &adjective, QString *comparative, QString *superlative)
{
    static const QHash<QString, QPair<QString, QString>> table = {
        {QStringLiteral("good"), {QStringLiteral("better"), QStringLiteral("best")}},
        {QStringLiteral("well"), {QStringLiteral("better"), QStringLiteral("best")}},
        {QStringLiteral("bad"), {QStringLiteral("worse"), QStringLiteral("worst")}},
        {QStringLiteral("ill"), {QStringLiteral("worse"), QStringLiteral("worst")}},
        {QStringLiteral("far"), {QStringLiteral("farther"), QStringLiteral("farthest")}},
        {QStringLiteral("little"), {QStringLiteral("less"), QStringLiteral("least")}},
        {QStringLiteral("many"), {QStringLiteral("more"), QStringLiteral("most")}},
        {QStringLiteral("much"), {QStringLiteral("more"), QStringLiteral("most")}},
    };
    const auto it = table.constFind(adjective.toLower());
    if (it == table.constEnd())
        return false;
    if (comparative)
        *comparative = it->first;
    if (superlative)
        *superlative = it->second;
    return true;
}

QString Inflection::comparative(const QString &adjective, bool doubled)
{
    QString irregular;
    if (irregularComparison(adjective, &irregular, nullptr))
        return irregular;
    return addVowelSuffix(adjective, QStringLiteral("er"), doubled);
}

QString Inflection::superlative(const QString &adjective, bool doubled)
{
    QString irregular;
    if (irregularComparison(adjective, nullptr, &irregular))
        return irregular;
    return addVowelSuffix(adjective, QStringLiteral("est"), doubled);
}

QString Inflection::adjectiveSubcode(const QString &adjective, bool doubled)
{
    const QString w = adjective.toLower();
    if (doubled)
        return QStringLiteral("reg, dbl");
    if (irregularComparison(w, nullptr, nullptr))
        return QStringLiteral("reg");
    const int count = syllables(w);
    if (count == 1 && !endsWithAny(w, {"ed"}))
        return doublesByRule(w) ? QStringLiteral("reg, dbl") : QStringLiteral("reg");
    if (count == 2 && endsWithAny(w, {"y", "ow", "le", "er", "ure"}) && !endsWithAny(w, {"ly"}))
        return QStringLiteral("reg");
    return QStringLiteral("absolute");
}

QString Inflection::nounSubcodeForPlural(const QString &noun, const QString &plural)
{
    // Nouns whose plural is the singular, which no exception list spells out.
    static const QStringList unchanged = {
        QStringLiteral("aircraft"), QStringLiteral("bison"), QStringLiteral("cod"),       QStringLiteral("deer"),
        QStringLiteral("fish"),     QStringLiteral("moose"), QStringLiteral("offspring"), QStringLiteral("salmon"),
        QStringLiteral("series"),   QStringLiteral("sheep"), QStringLiteral("species"),   QStringLiteral("spacecraft"),
        QStringLiteral("swine"),    QStringLiteral("trout"), QStringLiteral("watercraft")};
    if (plural.isEmpty() && unchanged.contains(noun.toLower()))
        return QStringLiteral("plural unchanged");
    if (plural.isEmpty() || plural == addS(noun))
        return QStringLiteral("reg");
    if (plural == noun)
        return QStringLiteral("plural unchanged");
    if (plural == irregularPlural(noun) && plural != addS(noun))
        return QStringLiteral("man, men, etc..");
    if (plural == latinPlural(noun))
        return QStringLiteral("Latin plural");
    if (plural == noun + QStringLiteral("zes") && noun.endsWith(QLatin1Char('z')))
        return QStringLiteral("plural = '~zzes'");
    return QStringLiteral("singular only");
}
