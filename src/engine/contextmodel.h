#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

#include "corpus.h"

/// What the corpus tables say about the word that follows the text: the words seen after the previous word
/// (pair counts) and after the last two (triple counts), and the kinds of word likely after the previous
/// word's part of speech. A context is one word or two, lower case; "^"
/// stands for the start of a sentence and the marks ",", ";" and ":" stand as words. Read once from the
/// engine's data folder; without the tables every answer is neutral and prediction falls back on frequency
/// alone.
class ContextModel
{
public:
    /// A word of the tables, by number; NoWord for a word they do not have.
    static const quint32 NoWord = 0xffffffffu;

    struct Successor
    {
        quint32 word;
        int count;
    };
    /// What the corpus saw after one context.
    struct Followers
    {
        std::vector<Successor> words; // most often first
        int total = 0;                // how often the context was followed by any word
    };

    /// An empty model: no successors, every boost 1.
    ContextModel() = default;
    /// Reads the bigram, trigram and tag-pair tables (files as data/language holds them).
    ContextModel(const QString &bigramPath, const QString &trigramPath, const QString &tagPairPath);

    /// The model the engine uses, read on first use.
    static const ContextModel &shared();

    /// The number of a word (lower case) and the word of a number.
    quint32 id(const QString &word) const { return m_ids.value(word, NoWord); }
    const QString &word(quint32 id) const { return m_words.at(qsizetype(id)); }

    /// The context of the previous word, or of the last two words; -1 when the corpus saw nothing after it.
    int context(const QString &previous) const;
    int context(const QString &secondLast, const QString &previous) const;
    /// What followed a context; nothing for -1.
    const Followers &followers(int context) const;
    /// How often the word numbered next followed the context.
    int count(int context, quint32 next) const;

    /// How much likelier a word of class next is after a word with this part of speech ("^": at the start
    /// of a sentence) than anywhere: P(next | previous) / P(next); 1 when the tables know nothing of it.
    double classBoost(const QString &previousPartOfSpeech, Corpus::WordClass next) const;

private:
    static QString contextKey(const QString &partOfSpeech);
    static quint64 sequenceKey(quint32 secondLast, quint32 previous) { return quint64(secondLast) << 32 | previous; }
    quint32 addWord(const QByteArray &word);
    void addSequence(quint64 context, quint32 next, int count);

    // Every word is kept once and named by its number: the tables repeat a few thousand words some
    // 160,000 times.
    QHash<QString, quint32> m_ids;
    QStringList m_words;
    QHash<quint64, int> m_contexts; // sequenceKey(second last or NoWord, previous) -> index of m_followers
    std::vector<Followers> m_followers;
    QHash<quint64, int> m_counts;                 // context << 32 | next -> count
    QHash<QString, std::vector<double>> m_boosts; // context key -> boost of each word class
};
