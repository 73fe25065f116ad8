#pragma once

#include <QString>

/// Tells the person running the editor about a problem: on stderr, for whoever started it from a
/// terminal, and in a message box that waits for an answer.
class HostMessage
{
public:
    static void error(const QString &text);
    static void warning(const QString &text);
};
