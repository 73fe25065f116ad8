#pragma once

#include <QString>

class QWidget;

/// Tells the person running the editor about a problem: always on stderr, and in a message box when
/// there is a screen that someone can see.
class HostMessage
{
public:
    /// False on platforms without a visible screen (offscreen, minimal): nobody could answer a box there,
    /// so messages go to stderr only and questions take their cautious answer.
    static bool interactive();
    static void setInteractive(bool interactive);

    static void error(const QString &text);
    static void warning(const QString &text);

private:
    static bool s_interactive;
};
