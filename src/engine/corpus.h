#pragma once

// What the engine takes from its corpus tables (data/language): the tags of the tagged corpus mapped to
// the engine's parts of speech, and the scale that turns a count into a frequency from 0 to 31.

#include <QString>

namespace Corpus {

/// The classes of word that the context model tells apart for the word being predicted: the kinds of
/// WordRecord (name, noun, verb, adjective, adverb), the other known words, and words still "new".
enum WordClass
{
    NameClass,
    NounClass,
    VerbClass,
    AdjectiveClass,
    AdverbClass,
    FunctionClass,
    NewClass,
    WordClassCount
};

/// The class of a part-of-speech code ("noun" -> NounClass, "prep" -> FunctionClass, "new" -> NewClass).
WordClass classOfCode(const QString &partOfSpeech);

/// The part-of-speech code for a word read with a corpus tag ("at" -> "det", "md" -> "vmight", "nn" ->
/// "noun"), with the few words whose own codes the vocabulary has ("the", "of", "and", "not" ...) given
/// those; empty for tags without a code (foreign words, punctuation). The tag may carry the corpus's
/// contraction and negation marks ("ppss+bem", "do*"): the first part of a contraction decides.
QString codeForTag(const QString &word, const QString &tag);

/// Whether the code stands for an open class (names, nouns, verbs, adjectives, adverbs), whose other
/// details (subcodes, irregular forms) the lexicon knows better than the corpus.
bool isOpenClass(const QString &partOfSpeech);

/// The frequency scale: 4.5 steps a decade of occurrences per million words, so that each step is about
/// 1.67 times as common as the one below. 31 stands for 40,000 a million (the commonest words: "the",
/// "you", "I"), 2 for about 0.01 a million; any word seen in the corpora is at least 2.
int frequencyForRate(double perMillion);
/// The occurrences per million words a frequency stands for: the inverse of frequencyForRate, for 1 to 31.
double rateForFrequency(int frequency);

} // namespace Corpus
