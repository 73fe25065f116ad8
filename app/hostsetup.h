#pragma once

#include <QFont>

/// What the host settles for the whole application before it opens a window: a font with which every text
/// of the editor's fixed-size forms fits, UTF-8 word-list exports and its keys in the help text.
class HostSetup
{
public:
    static void apply();
    /// The application font: a narrow sans-serif face at the size the forms were drawn for.
    static QFont font();
};
