#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

#include "prediction.h"
#include "wordentry.h"
#include "wordindex.h"

/// Everything read from a dictionary file: its words in memory and its settings; replaced as a whole on reload.
struct DictionaryContent
{
    std::deque<WordEntry> entries;
    std::vector<WordEntry *> order;   // display order, once normalizeOrder() has run
    std::vector<WordEntry *> pending; // entries not yet merged into order
    size_t dead = 0;                  // removed or stale entries still in order
    WordIndex index;
    QByteArray arena;
    QString displayName;
    Prediction::Variety variety = Prediction::American;
    bool ukGrammar = false;
    int letterGroupThreshold = Prediction::DefaultLetterGroupThreshold;
    qint64 changeCounter = 0;
    bool hasChangeCounter = true; // false for a file whose meta table lost it; the next save adds it
    int schemaVersion = 0;
    QStringList notes;                // what loading found and put right
    int hiddenNotes = 0;              // notes left out of a long list
    std::vector<qint64> duplicateIds; // rows of a spelling stored twice, merged into the first; deleted at save
    std::vector<WordEntry *> merged;  // entries to write whole at the next save: merged or repaired on loading
};
