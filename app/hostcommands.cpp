#include "hostcommands.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>

#include "dictionaryeditor.h"

namespace {

struct Command
{
    const char *label;
    void (*run)(DictionaryEditor *window);
    bool changesWords; // offered only by a writable window
    QList<QKeySequence> keys;
};

const QList<Command> &commands()
{
    static const QList<Command> list = {
        {QT_TRANSLATE_NOOP("HostCommands", "Help"),
         [](DictionaryEditor *window) { window->showHelp(); },
         false,
         {QKeySequence(Qt::Key_F1)}},
        {QT_TRANSLATE_NOOP("HostCommands", "Test Prediction"),
         [](DictionaryEditor *window) { window->requestTest(); },
         false,
         {QKeySequence(Qt::CTRL | Qt::Key_T)}},
        {QT_TRANSLATE_NOOP("HostCommands", "Save"),
         [](DictionaryEditor *window) { window->save(); },
         true,
         {QKeySequence(Qt::CTRL | Qt::Key_S)}},
        {QT_TRANSLATE_NOOP("HostCommands", "Export Words"),
         [](DictionaryEditor *window) { window->exportWords(); },
         false,
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}},
        {QT_TRANSLATE_NOOP("HostCommands", "Bigger Font"),
         [](DictionaryEditor *window) { window->changeFontSize(1); },
         false,
         {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}},
        {QT_TRANSLATE_NOOP("HostCommands", "Smaller Font"),
         [](DictionaryEditor *window) { window->changeFontSize(-1); },
         false,
         {QKeySequence(Qt::CTRL | Qt::Key_Minus)}},
        {QT_TRANSLATE_NOOP("HostCommands", "More or Less"),
         [](DictionaryEditor *window) { window->toggleMoreLess(); },
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
        const auto run = command.run;
        connect(action, &QAction::triggered, window, [window, run] { run(window); });
        m_actions << action;
    }
    window->addHostActions(m_actions);
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
