#pragma once

#include <QString>
#include <QStringList>

struct DictionaryContent;
struct WordEntry;

/// The word list a window shows: the selection rule, the frequency bounds and the letter group, and the list
/// they leave of a dictionary's words, rebuilt only after something changed.
class WordFilter
{
public:
    static QStringList selectionRules();
    /// The letter group of a word: its first letter, case-folded, accents taken off.
    static char32_t letterGroupOf(const QString &text);

    void setSelectionRule(const QString &rule);
    void setMinimumFreq(int frequency);
    void setMaximumFreq(int frequency);
    /// Selects the group of text's first letter; true when it changed and the list is shown by group.
    bool setLetterGroup(const QString &text, bool byGroup);
    void invalidate() { m_valid = false; }

    /// The words of content (its order merged) that pass, from one letter group when byGroup.
    const QStringList &list(const DictionaryContent &content, bool byGroup);

private:
    bool passes(const WordEntry *entry) const;
    char32_t firstGroup(const DictionaryContent &content) const;

    int m_rule = 0;
    int m_minimumFreq = 0;
    int m_maximumFreq = 31;
    char32_t m_group = 0;
    bool m_valid = false;
    QStringList m_list;
};
