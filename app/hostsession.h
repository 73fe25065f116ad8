#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "dictionaryopener.h"

class HostWindowManager;

/// One run of the editor: opens the dictionaries asked for (or the person's own) with their locks and
/// makes a window on each. Whatever stops the run is told to the person through HostMessage.
class HostSession
{
public:
    /// What the command line asks for.
    struct Options
    {
        QStringList paths; ///< dictionaries to open; none: the person's own
        QString transferTo;
        bool writable = true;
    };

    HostSession();
    ~HostSession();

    /// Opens everything options name and makes the windows (not shown yet); false when the run cannot go on.
    bool open(const Options &options);
    HostWindowManager &windows() { return *m_windows; }

private:
    bool refuse(const QString &text);

    // The opener holds the lock files, so it outlives the windows, which are deleted first.
    DictionaryOpener m_opener;
    std::unique_ptr<HostWindowManager> m_windows;
};
