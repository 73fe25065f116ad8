#pragma once

#include <QList>
#include <QObject>
#include <QString>

class DictionaryEditor;
class QAction;

/// The host's commands on an editor window: Help, Test Prediction, Save, Export, font size and More/Less.
/// Each is a keyboard shortcut that works wherever the focus is in the window, an entry of the menu the
/// window shows when right-clicked, and a button of the window's toolbar (DictionaryEditor::addHostActions);
/// each runs the window's command of that name. The keys are ones the window leaves alone: typed keys,
/// Return, Tab, Up and Down keep their meaning.
class HostCommands : public QObject
{
    Q_OBJECT
public:
    /// Gives window the commands; they live as long as it does.
    HostCommands(DictionaryEditor *window, bool writable);

    QList<QAction *> actions() const { return m_actions; }
    /// The commands and their keys, one sentence, for the end of the help text.
    static QString helpText();

private:
    QList<QAction *> m_actions;
};
