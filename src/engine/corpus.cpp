#include "corpus.h"

#include <QHash>
#include <QtGlobal>

#include <array>
#include <cmath>

namespace Corpus {

namespace {

// The corpus's tags (without their title and headline marks) and the part-of-speech codes they stand for.
// Open classes map to the five kinds; closed classes to the vocabulary of the part-of-speech menu.
struct TagCode
{
    const char *tag;
    const char *code;
};

const TagCode tagCodes[] = {
    // Open classes.
    {"nn", "noun"},
    {"nns", "noun"},
    {"nn$", "noun"},
    {"nns$", "noun"},
    {"np", "name"},
    {"nps", "name"},
    {"np$", "name"},
    {"nps$", "name"},
    {"nr", "noun"},
    {"nrs", "noun"},
    {"vb", "verb"},
    {"vbd", "verb"},
    {"vbg", "verb"},
    {"vbn", "verb"},
    {"vbz", "verb"},
    {"jj", "adj."},
    {"jjr", "adj."},
    {"jjs", "adj."},
    {"jjt", "adj."},
    {"rb", "adv."},
    {"rbr", "adv."},
    {"rbt", "adv."},
    {"rn", "adv."},
    {"ql", "adv."},
    {"qlp", "adv."},
    // Pronouns.
    {"pps", "pron"},
    {"ppss", "pron"},
    {"ppo", "objPN"},
    {"pp$", "psvPN"},
    {"pp$$", "psvPN"},
    {"ppl", "rflx"},
    {"ppls", "rflx"},
    {"pn", "indef"},
    {"pn$", "indef"},
    // Question and relative words.
    {"wdt", "WH"},
    {"wps", "WH"},
    {"wpo", "WH"},
    {"wp$", "WH"},
    {"wrb", "WH"},
    {"wql", "WH"},
    // Determiners and quantifiers: "this", "these" are demonstratives; "any", "many", "both" quantifiers.
    {"at", "det"},
    {"dt", "TH"},
    {"dts", "TH"},
    {"dti", "quant"},
    {"dtx", "det"},
    {"ap", "quant"},
    {"abn", "quant"},
    {"abx", "quant"},
    {"cd", "nmbr"},
    {"od", "nmbr2"},
    // Prepositions, particles, conjunctions.
    {"in", "prep"},
    {"to", "to"},
    {"rp", "part"},
    {"cc", "conj"},
    {"cs", "conj"},
    // Auxiliaries and modals.
    {"md", "vmight"},
    {"be", "vbe"},
    {"bed", "vbe"},
    {"bedz", "vbe"},
    {"beg", "vbe"},
    {"bem", "vbe"},
    {"ben", "vbe"},
    {"ber", "vbe"},
    {"bez", "vbe"},
    {"hv", "vhave"},
    {"hvd", "vhave"},
    {"hvg", "vhave"},
    {"hvn", "vhave"},
    {"hvz", "vhave"},
    {"do", "vdo"},
    {"dod", "vdo"},
    {"doz", "vdo"},
    // The rest.
    {"ex", "there"},
    {"*", "not"},
    {"uh", "hello"},
};

// Words that have a code of their own in the vocabulary: it replaces the code of their closed-class tags.
const char *const ownCodes[] = {
    "a",       "the",    "to",   "for",  "by",   "of",    "all", "almost", "alone", "and",     "as",
    "but",     "either", "else", "even", "ever", "first", "if",  "it",     "just",  "mine",    "more",
    "neither", "nor",    "not",  "once", "or",   "other", "own", "please", "quite", "same",    "second",
    "so",      "some",   "such", "than", "that", "there", "too", "very",   "yet",   "without",
};

const QHash<QString, QString> &tagTable()
{
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> t;
        for (const TagCode &tc : tagCodes)
            t.insert(QLatin1String(tc.tag), QLatin1String(tc.code));
        return t;
    }();
    return table;
}

bool hasOwnCode(const QString &word)
{
    for (const char *own : ownCodes) {
        if (word == QLatin1String(own))
            return true;
    }
    return false;
}

const double topRate = 40000.0;
const double stepsPerDecade = 4.5;

} // namespace

WordClass classOfCode(const QString &partOfSpeech)
{
    if (partOfSpeech == QLatin1String("name"))
        return NameClass;
    if (partOfSpeech == QLatin1String("noun"))
        return NounClass;
    if (partOfSpeech == QLatin1String("verb"))
        return VerbClass;
    if (partOfSpeech == QLatin1String("adj."))
        return AdjectiveClass;
    if (partOfSpeech == QLatin1String("adv."))
        return AdverbClass;
    if (partOfSpeech.isEmpty() || partOfSpeech == QLatin1String("new"))
        return NewClass;
    return FunctionClass;
}

bool isOpenClass(const QString &partOfSpeech)
{
    const WordClass c = classOfCode(partOfSpeech);
    return c != FunctionClass && c != NewClass;
}

QString codeForTag(const QString &word, const QString &tag)
{
    QString base = tag.section(QLatin1Char('+'), 0, 0);
    // "do*" is "don't": the auxiliary decides, the negation is part of the word.
    if (base.size() > 1 && base.endsWith(QLatin1Char('*')))
        base.chop(1);
    const QString code = tagTable().value(base);
    if (code.isEmpty() || isOpenClass(code))
        return code;
    const QString lower = word.toLower();
    if (lower == QLatin1String("an"))
        return QStringLiteral("a");
    if (hasOwnCode(lower))
        return lower;
    if (lower == QLatin1String("o'clock"))
        return QStringLiteral("oclock");
    return code;
}

int frequencyForRate(double perMillion)
{
    if (!(perMillion > 0))
        return 0;
    const double steps = 31.0 + stepsPerDecade * std::log10(perMillion / topRate);
    return qBound(2, int(std::lround(steps)), 31);
}

double rateForFrequency(int frequency)
{
    // Asked for every word prediction weighs, so the 32 rates are worked out once.
    static const std::array<double, 32> rates = [] {
        std::array<double, 32> table{};
        for (int f = 0; f < 32; ++f)
            table[size_t(f)] = topRate * std::pow(10.0, (f - 31) / stepsPerDecade);
        return table;
    }();
    return rates[size_t(qBound(0, frequency, 31))];
}

} // namespace Corpus
