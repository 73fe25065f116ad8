#pragma once

#include <QHash>
#include <QString>
#include <deque>

/// The words of the last stretch of a text being typed, with how often each came: a person's text repeats
/// its own words (names, the topic) far more than the corpora say. Reading a text that grew from the one
/// read before costs only the new part, so it can be read at every key.
class RecentWords
{
public:
    /// How much of the end of the text counts as recent, in characters.
    static const int Window = 12000;

    /// Reads text (the text before the current word); only its complete words count.
    void read(const QString &text);
    /// How often word (lower case) came in the window, and how many words the window holds.
    int count(const QString &word) const { return m_counts.value(word); }
    int total() const { return int(m_tokens.size()); }
    /// Every word of the window with its count.
    const QHash<QString, int> &counts() const { return m_counts; }

private:
    struct Token
    {
        qsizetype end; // where the word ends in the text
        QString word;
    };

    void clear();

    std::deque<Token> m_tokens;
    QHash<QString, int> m_counts;
    qsizetype m_read = 0; // how much of the text has been read: up to the end of its last complete word
    QString m_tail;       // the characters just before m_read, to tell a grown text from a new one
};
