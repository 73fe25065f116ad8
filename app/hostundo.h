#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "prediction.h"

class DictionaryEditor;
class QAction;

/// Undo and Redo for one writable editor window: Undo (Ctrl+Z) and Redo (Ctrl+Shift+Z or Ctrl+Y), each a key
/// that works wherever the focus is in the window, the word box included, and an entry of the menu the window
/// shows when right-clicked; the host also puts them on its toolbar. Their tips say what they would undo or
/// redo, and they are disabled when there is nothing, following every edit of the dictionary. After a step the
/// window is brought up to date through its public operations: the list refilled, the word the step changed
/// shown; so is every other window whose dictionary the step changed (the other side of a transfer).
class HostUndo : public QObject
{
    Q_OBJECT
public:
    /// Attaches the actions to window, which edits dictionary; they live as long as it does.
    HostUndo(DictionaryEditor *window, DictionaryReference dictionary);
    ~HostUndo() override;

    QList<QAction *> actions() const { return {m_undo, m_redo}; }
    QAction *undoAction() const { return m_undo; }
    QAction *redoAction() const { return m_redo; }
    /// The keys, one sentence, for the help text.
    static QString helpText();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

public slots:
    /// Undoes (or redoes) one step and refreshes the windows it changed.
    void undo();
    void redo();
    /// Reads the dictionary's history again: the actions' states and tips.
    void update();

private:
    void step(bool undoing);
    /// Refills the window's list and shows text when the dictionary has changed since this object last looked.
    void refreshIfChanged(const QString &text);

    QPointer<DictionaryEditor> m_window;
    DictionaryReference m_dictionary;
    QAction *m_undo;
    QAction *m_redo;
    QTimer m_watch;
    quint64 m_seenRevision = 0;
    static QList<HostUndo *> s_all;
};
