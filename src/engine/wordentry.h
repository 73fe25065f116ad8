#pragma once

#include <QString>

class Word;

/// A dictionary's words in memory: one compact entry per word; the full Word object is made on demand.
struct WordEntry
{
    enum Flag : quint8
    {
        Changed = 1,
        Removed = 2,
        Stale = 4,   // left behind when the word moved to another entry (a new spelling)
        Respelt = 8, // holds the row of the word's old spelling, which the next save replaces
        Dead = Removed | Stale
    };

    QString text;
    Word *word = nullptr;    // made on first use, then owned by the dictionary until it closes
    qint64 id = 0;           // row id in the file, 0 while the word is not saved
    quint32 codesOffset = 0; // the stored codes in the content's arena, while word is null
    quint32 codesLength = 0;
    quint8 frequency = 0;
    quint8 kinds = 0;
    quint8 flags = 0;
};
