#pragma once

#include <QHash>
#include <QString>
#include <vector>

#include "corpus.h"

/// What the corpus tables say about the word that follows the text: the words seen after the previous word
/// (pair counts) and after the last two (triple counts), and the kinds of word likely after the previous
/// word's part of speech. A context is a key of one or two words, lower case, as key() joins them; "^"
/// stands for the start of a sentence and the marks ",", ";" and ":" stand as words. Read once from the
/// engine's data folder; without the tables every answer is neutral and prediction falls back on frequency
/// alone.
class ContextModel
{
public:
    struct Successor
    {
        QString word;
        int count;
    };
    /// What the corpus saw after one context.
    struct Followers
    {
        std::vector<Successor> words; // most often first
        QHash<QString, int> counts;   // word -> how often it came after the context
        int total = 0;                // how often the context was followed by any word
    };

    /// An empty model: no successors, every boost 1.
    ContextModel() = default;
    /// Reads the bigram, trigram and tag-pair tables (files as data/language holds them).
    ContextModel(const QString &bigramPath, const QString &trigramPath, const QString &tagPairPath);

    /// The model the engine uses, read on first use.
    static const ContextModel &shared();

    /// The context key of the previous word, or of the last two words.
    static QString key(const QString &previous);
    static QString key(const QString &secondLast, const QString &previous);

    /// What followed the context, or nullptr when the corpus saw nothing after it.
    const Followers *followers(const QString &context) const;

    /// How much likelier a word of class next is after a word with this part of speech ("^": at the start
    /// of a sentence) than anywhere: P(next | previous) / P(next); 1 when the tables know nothing of it.
    double classBoost(const QString &previousPartOfSpeech, Corpus::WordClass next) const;

private:
    static QString contextKey(const QString &partOfSpeech);
    void addSequence(const QString &context, const QString &next, int count);

    QHash<QString, Followers> m_followers;        // context key -> what came after it
    QHash<QString, std::vector<double>> m_boosts; // context key -> boost of each word class
};
