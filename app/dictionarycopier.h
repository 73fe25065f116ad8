#pragma once

#include <QString>

#include "prediction.h"

/// Writes every word of an open dictionary, unsaved changes included, into a new dictionary file: the way
/// out when a dictionary cannot be saved where it is. The copy is checked word for word against the
/// dictionary's own count before it takes the name asked for, so a partial copy never passes for a whole one.
class DictionaryCopier
{
public:
    /// The filter state of the list a window shows, put back on the dictionary after the copy has walked it.
    struct ListState
    {
        QString rule;
        int minimumFrequency = 0;
        int maximumFrequency = 31;
        /// A word of the letter group the list showed; empty when the list was empty.
        QString letterGroupWord;
    };

    /// Copies source to targetPath (replacing a file there only once the copy is complete and saved), then
    /// restores state on source. False with *error saying why when the copy could not be made.
    static bool copy(DictionaryReference source, const QString &targetPath, const ListState &state, QString *error);
};
