#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "prediction.h"

/// Opens the dictionaries of one run of the editor: finds or creates the person's own dictionary, and
/// takes the engine's editing lock of every dictionary opened for editing, so that a second copy of the
/// editor (or lexora-dict) cannot edit it at the same time. The locks last as long as the opener.
class DictionaryOpener
{
public:
    DictionaryOpener();
    ~DictionaryOpener();

    /// The person's own dictionary in the application's data folder. On first run it is made from the
    /// sample dictionary, or created empty when there is no sample. Empty on failure, *error says why.
    static QString personalDictionary(QString *error);

    /// Where a sample dictionary was built or installed beside the program; empty when there is none.
    static QString sampleDictionary();

    /// Opens the dictionary at path; for editing it also takes its editing lock. The handle equals
    /// 0 on failure and *error says why. Opening the same file twice yields the same dictionary.
    DictionaryReference open(const QString &path, bool forEditing, QString *error);

private:
    std::vector<DictionaryReference> m_locked; // keeps each locked dictionary, and so its lock, open
};
