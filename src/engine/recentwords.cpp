#include "recentwords.h"

#include "prediction.h"

namespace {

const int TailLength = 32;

} // namespace

void RecentWords::clear()
{
    m_tokens.clear();
    m_counts.clear();
    m_read = 0;
    m_tail.clear();
}

void RecentWords::read(const QString &text)
{
    const bool grown = text.size() >= m_read && QStringView(text).mid(m_read - m_tail.size(), m_tail.size()) == m_tail;
    if (!grown)
        clear();
    // Only the words the text has finished: the last one may still be being typed.
    qsizetype end = text.size();
    while (end > m_read && Prediction::isWordCharacter(text.at(end - 1)))
        --end;
    qsizetype at = m_read;
    if (end - Window > at) {
        // Far more new text than the window: start at a word that begins inside it.
        at = end - Window;
        while (at < end && Prediction::isWordCharacter(text.at(at - 1)))
            ++at;
    }
    while (at < end) {
        if (!Prediction::isWordCharacter(text.at(at))) {
            ++at;
            continue;
        }
        qsizetype wordEnd = at;
        while (wordEnd < end && Prediction::isWordCharacter(text.at(wordEnd)))
            ++wordEnd;
        const QString word = text.mid(at, wordEnd - at).toLower();
        m_tokens.push_back({wordEnd, word});
        ++m_counts[word];
        at = wordEnd;
    }
    if (end > m_read) {
        m_read = end;
        m_tail = text.mid(qMax<qsizetype>(0, end - TailLength), qMin<qsizetype>(end, TailLength));
    }
    while (!m_tokens.empty() && m_tokens.front().end <= m_read - Window) {
        auto it = m_counts.find(m_tokens.front().word);
        if (--it.value() == 0)
            m_counts.erase(it);
        m_tokens.pop_front();
    }
}
