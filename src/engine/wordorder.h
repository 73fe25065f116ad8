#pragma once

// The display order of a dictionary's words, and the sorting and merging that keep a big list in that order
// cheaply. Words are compared in three levels, so that the order is total and stable:
//   1. base letters, ignoring case and accents ("élan" and "Elan" spell e-l-a-n; "ß" counts as "ss", "æ" as
//      "ae", "ø" as "o");
//   2. accents, ignoring case: the plain letter first ("elan" before "élan");
//   3. case and everything else, by UTF-16 code units: capitals first ("Elan" before "elan").

#include <QString>
#include <algorithm>
#include <vector>

#include "prediction.h"

struct DictionaryContent;
struct WordEntry;

namespace WordOrder {

/// Negative, zero or positive as a goes before, with or after b.
PREDICTION_EXPORT int compare(const QString &a, const QString &b);

/// Compares the base letters only (the first level of the order): zero when a and b differ at most in case
/// and accents. A list in display order is also in this order.
PREDICTION_EXPORT int compareLetters(const QString &a, const QString &b);

/// How text stands to the range of words whose base letters begin with those of prefix, ignoring case and
/// accents as the order does first: below it (negative), inside it (zero) or above it (positive).
PREDICTION_EXPORT int comparePrefix(const QString &text, const QString &prefix);

/// The letter group of a word: its first base letter, case-folded, accents taken off (0 for none).
PREDICTION_EXPORT char32_t letterGroupOf(const QString &text);

/// Whether c is one of the combining accents (diacritical marks) that the order passes over.
inline bool isCombiningAccent(char32_t c)
{
    return (c >= 0x300 && c <= 0x36f) || (c >= 0x1ab0 && c <= 0x1aff) || (c >= 0x1dc0 && c <= 0x1dff) ||
           (c >= 0x20d0 && c <= 0x20ff) || (c >= 0xfe20 && c <= 0xfe2f);
}

/// text with the accents taken off its letters ("élan" → "elan", "Ångström" → "Angstrom"); letters that
/// are not written with an accent ("ß", "æ", "ø") stay as they are. Inline, so that the lexicon's builder
/// shares it without the engine.
inline QString withoutAccents(const QString &text)
{
    const bool accented = std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() >= 0xc0; });
    if (!accented)
        return text;
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString plain;
    plain.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (!isCombiningAccent(c.unicode()))
            plain.append(c);
    }
    return plain.normalized(QString::NormalizationForm_C);
}

/// Sorts entries into display order.
void sort(std::vector<WordEntry *>::iterator begin, std::vector<WordEntry *>::iterator end);

/// Puts the words of a file just read into display order: mostly in order already, with the words saved since
/// the last full rewrite at the end. A file saved in an older order is sorted whole.
void sortLoaded(std::vector<WordEntry *> *order);

/// Merges the entries waiting in content->pending into content->order and drops the dead ones.
void merge(DictionaryContent *content);

} // namespace WordOrder
