#pragma once

// Grammar knowledge of the engine: the guesses for a new word, the subcodes a part of speech
// offers, the example lines of a code and the sentence frames of a usage.

#include <QList>
#include <QString>
#include <QStringList>

namespace Grammar {

/// One guessed grammar code for a new word.
struct Guess
{
    QString partOfSpeech;
    QString subcode;
    int frequency = 1; // 1 to 31
};

/// Codes for a word being added: the most likely one when advanced is false, one per plausible part
/// of speech (most likely first) when it is true. A word nothing knows gets one "new" code.
QList<Guess> guess(const QString &word, bool advanced);

/// The valid subcodes of a part of speech, in menu order (SubcodeTable); empty for parts without subcodes.
QStringList subcodeChoices(const QString &partOfSpeech);

/// Example labels and templates of a code: "~" marks where the bold label goes, "/" separates lines.
/// Each pair shows one form of the word: the label names the form and its template is "~: " and a
/// short phrase using that form, so the panel shows e.g. "<b> plural</b>: two dogs".
///   noun "dog", "reg":          singular "~: one dog", plural "~: two dogs"
///   verb "sit", "irreg p&pp,dbl": root "~: to sit", 3rd person "~: she sits", -ing "~: she is sitting",
///                               past "~: she sat", past participle "~: she has sat"
///   adj. "big", "reg, dbl":     comparative "~: bigger than that", superlative "~: the biggest"
///   name "Leeds", "City, etc":  name "~: Leeds is.../~: Leeds are playing" (two lines, each with the label)
/// A code that names a single form ("past", "plural only", "comparative") shows only that form. Irregular
/// forms come from the lexicon, then from the table of common irregular verbs, then from the rules.
/// Parts of speech without forms ("new", the function-word codes) have no example lines.
void examples(const QString &word, const QString &partOfSpeech, const QString &subcode, QStringList *labels,
              QStringList *templates);

/// Nouns, verbs and adjectives can carry usages.
bool canHaveUses(const QString &partOfSpeech);

/// The name of a usage's complement as the details panel shows it: the codes joined by ", ", the phrasal
/// markers spelt out; "no complement" while none is chosen, so that the heading link stays clickable.
QString complementName(const QString &partOfSpeech, const QStringList &codes);

/// Sentence frames of a usage, one per complement code in the order given: "1" where the particles go,
/// a lone "2" where the prepositions go. Verb frames start with the verb and always hold "1" ("Tn":
/// "call someone 1", "Ipr": "complain 1 2 something"); noun and adjective frames hold "2" where the
/// code leaves the preposition open ("default": "a complaint 2 something"). The markers "phrasal" and
/// "nonphrasal" add no frame of their own, but a usage marked phrasal gets "<verb> someone 1".
/// Other parts of speech have no frames.
QStringList complementPatterns(const QString &word, const QString &partOfSpeech, const QStringList &codes);

/// The display text of a particle or preposition list: the codes joined by "/" ("up/down").
QString listText(const QStringList &codes);

/// The display text of an adverb position list: a short description of each position, joined by ", ".
QString adverbText(const QStringList &codes);

} // namespace Grammar
