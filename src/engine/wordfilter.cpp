#include "wordfilter.h"

#include "dictionarycontent.h"
#include "wordorder.h"
#include "wordrecord.h"

QStringList WordFilter::selectionRules()
{
    return {QStringLiteral("all words"),  QStringLiteral("Names only"),      QStringLiteral("Nouns only"),
            QStringLiteral("Verbs only"), QStringLiteral("Adjectives only"), QStringLiteral("Adverbs only"),
            QStringLiteral("Expansions"), QStringLiteral("Non-Expansions"),  QStringLiteral("Unknown words")};
}

void WordFilter::setSelectionRule(const QString &rule)
{
    const int index = int(selectionRules().indexOf(rule));
    if (index < 0 || index == m_rule)
        return;
    m_rule = index;
    m_valid = false;
}

void WordFilter::setMinimumFreq(int frequency)
{
    if (frequency != m_minimumFreq) {
        m_minimumFreq = frequency;
        m_valid = false;
    }
}

void WordFilter::setMaximumFreq(int frequency)
{
    if (frequency != m_maximumFreq) {
        m_maximumFreq = frequency;
        m_valid = false;
    }
}

char32_t WordFilter::letterGroupOf(const QString &text)
{
    // The groups follow the order of the words: a group is the run of words with one first base letter.
    return WordOrder::letterGroupOf(text);
}

bool WordFilter::setLetterGroup(const QString &text, bool byGroup)
{
    if (text.isEmpty())
        return false;
    const char32_t group = letterGroupOf(text);
    if (group == m_group)
        return false;
    m_group = group;
    if (!byGroup)
        return false;
    m_valid = false;
    return true;
}

bool WordFilter::passes(const WordEntry *entry) const
{
    if (entry->frequency < m_minimumFreq || entry->frequency > m_maximumFreq)
        return false;
    switch (m_rule) {
    case 1:
        return entry->kinds & WordRecord::Name;
    case 2:
        return entry->kinds & WordRecord::Noun;
    case 3:
        return entry->kinds & WordRecord::Verb;
    case 4:
        return entry->kinds & WordRecord::Adjective;
    case 5:
        return entry->kinds & WordRecord::Adverb;
    case 6:
        return entry->kinds & WordRecord::Expansion;
    case 7:
        return !(entry->kinds & WordRecord::Expansion);
    case 8:
        return !(entry->kinds & WordRecord::Known);
    default:
        return true;
    }
}

char32_t WordFilter::firstGroup(const DictionaryContent &content) const
{
    for (const WordEntry *entry : content.order) {
        if (passes(entry))
            return letterGroupOf(entry->text);
    }
    return content.order.empty() ? 0 : letterGroupOf(content.order.front()->text);
}

const QStringList &WordFilter::list(const DictionaryContent &content, bool byGroup)
{
    if (m_valid)
        return m_list;
    m_list.clear();
    if (!byGroup)
        m_list.reserve(qsizetype(content.order.size()));
    if (byGroup && m_group == 0)
        m_group = firstGroup(content);
    for (const WordEntry *entry : content.order) {
        if (!passes(entry))
            continue;
        if (byGroup && letterGroupOf(entry->text) != m_group)
            continue;
        m_list.append(entry->text);
    }
    m_valid = true;
    return m_list;
}
