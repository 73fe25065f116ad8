#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "prediction.h"

class QLockFile;

/// Opens the dictionaries of one run of the editor: finds or creates the person's own dictionary, and
/// guards every dictionary opened for editing with a lock file so that a second copy of the editor
/// cannot edit it at the same time. The locks last as long as the opener.
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

    /// Opens the dictionary at path; for editing it also takes its lock ("<path>.lock"). The handle equals
    /// 0 on failure and *error says why. Opening the same file twice yields the same dictionary.
    DictionaryReference open(const QString &path, bool forEditing, QString *error);

private:
    bool lock(const QString &canonicalPath, QString *error);

    std::vector<std::unique_ptr<QLockFile>> m_locks;
    QStringList m_lockedPaths;
};
