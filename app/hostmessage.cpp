#include "hostmessage.h"

#include <QMessageBox>
#include <cstdio>

namespace {

void printLine(const QString &text)
{
    std::fprintf(stderr, "lexora-editor: %s\n", qPrintable(text));
    std::fflush(stderr);
}

} // namespace

void HostMessage::error(const QString &text)
{
    printLine(text);
    QMessageBox::critical(nullptr, QObject::tr("Lexora Editor"), text);
}

void HostMessage::warning(const QString &text)
{
    printLine(text);
    QMessageBox::warning(nullptr, QObject::tr("Lexora Editor"), text);
}
