#include "hostmessage.h"

#include <QMessageBox>
#include <cstdio>

bool HostMessage::s_interactive = true;

bool HostMessage::interactive()
{
    return s_interactive;
}

void HostMessage::setInteractive(bool interactive)
{
    s_interactive = interactive;
}

void HostMessage::error(const QString &text)
{
    std::fprintf(stderr, "lexora-editor: %s\n", qPrintable(text));
    std::fflush(stderr);
    if (s_interactive)
        QMessageBox::critical(nullptr, QObject::tr("Lexora Editor"), text);
}

void HostMessage::warning(const QString &text)
{
    std::fprintf(stderr, "lexora-editor: %s\n", qPrintable(text));
    std::fflush(stderr);
    if (s_interactive)
        QMessageBox::warning(nullptr, QObject::tr("Lexora Editor"), text);
}
