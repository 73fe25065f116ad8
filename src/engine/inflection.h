#pragma once

#include <QString>
#include <QStringList>

/// English inflection by rule: verb forms, noun plurals and adjective comparison, with a table of the
/// common irregular verbs. Also derives the grammar subcode that describes a word's inflection.
class Inflection
{
public:
    /// The five forms of a verb.
    struct VerbForms
    {
        QString root;
        QString third;
        QString ing;
        QString past;
        QString pastParticiple;
    };

    /// The past and past participle of a common irregular verb; false when the verb is not in the table.
    static bool irregularVerb(const QString &root, QString *past, QString *pastParticiple);

    /// The forms of a verb. irregularPast/irregularParticiple, when not empty, replace the regular
    /// past forms; doubled asks for the final consonant to be doubled before -ing and -ed.
    static VerbForms verbForms(const QString &root, bool doubled, const QString &irregularPast = QString(),
                               const QString &irregularParticiple = QString());

    /// The verb subcode that describes the given forms ("reg", "irreg p & pp", "reg, dbl", ...).
    static QString verbSubcode(const QString &root, bool doubled, const QString &past, const QString &participle);

    /// True when the final consonant doubles before a vowel suffix by rule (stop, trim; not visit).
    static bool doublesByRule(const QString &word);

    /// Adds a suffix beginning with a vowel ("ing", "ed", "er", "est"), handling silent e, y and doubling.
    static QString addVowelSuffix(const QString &word, const QString &suffix, bool doubled);

    /// The third person singular ("goes", "tries") and a regular noun plural ("boxes", "cities").
    static QString addS(const QString &word);

    /// The plural of a noun of the "man, men, etc.." kind, or of a Latin or Greek noun.
    static QString irregularPlural(const QString &noun);
    static QString latinPlural(const QString &noun);

    /// Comparative and superlative of an adjective; "absolute" ones use more/most.
    static QString comparative(const QString &adjective, bool doubled);
    static QString superlative(const QString &adjective, bool doubled);
    static bool irregularComparison(const QString &adjective, QString *comparative, QString *superlative);

    /// The number of vowel groups, a cheap estimate of syllables.
    static int syllables(const QString &word);

    /// The adjective subcode by rule: short words compare with -er, long ones are "absolute".
    static QString adjectiveSubcode(const QString &adjective, bool doubled);

    /// The noun subcode for a noun whose plural is known to be irregular.
    static QString nounSubcodeForPlural(const QString &noun, const QString &plural);
};
