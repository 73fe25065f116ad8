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

/// The valid subcodes of a part of speech, in menu order; empty for parts without subcodes.
QStringList subcodeChoices(const QString &partOfSpeech);

/// Example labels and templates of a code: "~" marks where the bold label goes, "/" separates lines.
void examples(const QString &word, const QString &partOfSpeech, const QString &subcode, QStringList *labels,
              QStringList *templates);

/// Nouns, verbs and adjectives can carry usages.
bool canHaveUses(const QString &partOfSpeech);

/// The name of a usage's complement as the details panel shows it.
QString complementName(const QString &partOfSpeech, const QStringList &codes);

/// Sentence frames of a usage: "1" where the particles go, a lone "2" where the prepositions go.
QStringList complementPatterns(const QString &word, const QString &partOfSpeech, const QStringList &codes);

/// The display text of a particle or preposition list.
QString listText(const QStringList &codes);

/// The display text of an adverb position list.
QString adverbText(const QStringList &codes);

} // namespace Grammar
