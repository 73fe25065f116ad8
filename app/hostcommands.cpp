#include "hostcommands.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMetaObject>

#include "dictionaryeditor.h"

namespace {

struct Command
{
    const char *label;
    const char *slot;
    bool takesBool;    // the slot has a bool parameter (the button's checked state), not used
    bool changesWords; // offered only by a writable window
    QList<QKeySequence> keys;
};

const QList<Command> &commands()
{
    static const QList<Command> list = {
        {QT_TRANSLATE_NOOP("HostCommands", "Help"), "on_HelpButton_clicked", false, false, {QKeySequence(Qt::Key_F1)}},
        {QT_TRANSLATE_NOOP("HostCommands", "Test Prediction"),
         "on_TestButton_clicked",
         true,
         false,
         {QKeySequence(Qt::CTRL | Qt::Key_T)}},
        {QT_TRANSLATE_NOOP("HostCommands", "Save"),
         "on_SaveButton_clicked",
         true,
         true,
         {QKeySequence(Qt::CTRL | Qt::Key_S)}},
        {QT_TRANSLATE_NOOP("HostCommands", "Export Words"),
         "on_ExportWordButton_clicked",
         false,
         false,
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}},
        {QT_TRANSLATE_NOOP("HostCommands", "Bigger Font"),
         "on_BiggerButton_clicked",
         false,
         false,
         {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}},
        {QT_TRANSLATE_NOOP("HostCommands", "Smaller Font"),
         "on_SmallerButton_clicked",
         false,
         false,
         {QKeySequence(Qt::CTRL | Qt::Key_Minus)}},
        {QT_TRANSLATE_NOOP("HostCommands", "More or Less"),
         "on_MoreLessButton_clicked",
         false,
         false,
         {QKeySequence(Qt::CTRL | Qt::Key_M)}},
    };
    return list;
}

QString label(const Command &command)
{
    return QCoreApplication::translate("HostCommands", command.label);
}

} // namespace

HostCommands::HostCommands(DictionaryEditor *window, bool writable) : QObject(window)
{
    for (const Command &command : commands()) {
        if (command.changesWords && !writable)
            continue;
        auto action = new QAction(label(command), window);
        action->setShortcuts(command.keys);
        action->setToolTip(
            QStringLiteral("%1 (%2)").arg(action->text(), command.keys.first().toString(QKeySequence::NativeText)));
        action->setShortcutContext(Qt::WindowShortcut);
        const QByteArray slot = command.slot;
        const bool takesBool = command.takesBool;
        connect(action, &QAction::triggered, window, [window, slot, takesBool] {
            if (takesBool)
                QMetaObject::invokeMethod(window, slot.constData(), Q_ARG(bool, false));
            else
                QMetaObject::invokeMethod(window, slot.constData());
        });
        window->addAction(action);
        m_actions << action;
    }
    window->setContextMenuPolicy(Qt::ActionsContextMenu);
}

QString HostCommands::helpText()
{
    QStringList parts;
    for (const Command &command : commands()) {
        QStringList keys;
        for (const QKeySequence &key : command.keys)
            keys << key.toString(QKeySequence::NativeText);
        parts << QStringLiteral("%1 %2").arg(label(command), keys.join(QLatin1String(" or ")));
    }
    return QCoreApplication::translate(
               "HostCommands",
               "Keys: %1. The toolbar above the window and a right-click on the window offer the same commands.")
        .arg(parts.join(QLatin1String(", ")));
}
