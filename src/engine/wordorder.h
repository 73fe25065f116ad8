#pragma once

// The display order of a dictionary's words: case-insensitive first, then case-sensitive, so that the order
// is total and stable; and the sorting and merging that keep a big list in that order cheaply.

#include <QString>
#include <vector>

struct DictionaryContent;
struct WordEntry;

namespace WordOrder {

/// Negative, zero or positive as a goes before, with or after b.
int compare(const QString &a, const QString &b);

/// How text stands to the range of words that begin with prefix, ignoring case as the order does first:
/// below it (negative), inside it (zero) or above it (positive).
int comparePrefix(const QString &text, const QString &prefix);

/// Sorts entries into display order.
void sort(std::vector<WordEntry *>::iterator begin, std::vector<WordEntry *>::iterator end);

/// Puts the words of a file just read into display order: mostly in order already, with the words saved since
/// the last full rewrite at the end.
void sortLoaded(std::vector<WordEntry *> *order);

/// Merges the entries waiting in content->pending into content->order and drops the dead ones.
void merge(DictionaryContent *content);

} // namespace WordOrder
