#pragma once

#include <QHash>
#include <QString>
#include <vector>

#include "corpus.h"

/// What the corpus tables say about the word that follows another: the words seen after it (bigram counts)
/// and the kinds of word likely after its part of speech. Read once from the engine's data folder; without
/// the tables every answer is neutral and prediction falls back on frequency alone.
class ContextModel
{
public:
    struct Successor
    {
        QString word;
        int count;
    };

    /// An empty model: no successors, every boost 1.
    ContextModel() = default;
    /// Reads the bigram table and the tag-pair table (files as data/language holds them).
    ContextModel(const QString &bigramPath, const QString &tagPairPath);

    /// The model the engine uses, read on first use.
    static const ContextModel &shared();

    /// The words seen after previous (lower case), most often first, and how often previous was followed
    /// by any word.
    const std::vector<Successor> &successors(const QString &previous) const;
    int followedCount(const QString &previous) const;
    /// How often next followed previous (both lower case).
    int pairCount(const QString &previous, const QString &next) const;

    /// How much likelier a word of class next is after a word with this part of speech ("^": at the start
    /// of a sentence) than anywhere: P(next | previous) / P(next); 1 when the tables know nothing of it.
    double classBoost(const QString &previousPartOfSpeech, Corpus::WordClass next) const;

private:
    static QString contextKey(const QString &partOfSpeech);

    QHash<QString, std::vector<Successor>> m_successors;
    QHash<QString, int> m_followed;
    QHash<QString, int> m_pairs;                  // "previous TAB next" -> count
    QHash<QString, std::vector<double>> m_boosts; // context key -> boost of each word class
};
