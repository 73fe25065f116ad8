#include "windowsleft.h"

#include <QApplication>
#include <QWidget>

QStringList windowsLeft()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList left;
    const auto windows = QApplication::topLevelWidgets();
    for (const QWidget *window : windows)
        left << QString::fromLatin1(window->metaObject()->className());
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget())
        left << QStringLiteral("an open modal or pop-up");
    return left;
}
