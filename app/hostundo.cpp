#include "hostundo.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>

#include "dictionaryeditor.h"

namespace {

// Edits made in the details panel reach the engine without a signal, so the actions look at the
// dictionary's revision this often; reading it costs nothing.
const int watchIntervalMs = 150;

const QList<QKeySequence> undoKeys = {QKeySequence(Qt::CTRL | Qt::Key_Z)};
const QList<QKeySequence> redoKeys = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                      QKeySequence(Qt::CTRL | Qt::Key_Y)};

QString keyText(const QList<QKeySequence> &keys)
{
    return keys.first().toString(QKeySequence::NativeText);
}

} // namespace

QList<HostUndo *> HostUndo::s_all;

HostUndo::HostUndo(DictionaryEditor *window, DictionaryReference dictionary)
    : QObject(window), m_window(window), m_dictionary(dictionary), m_undo(new QAction(tr("Undo"), window)),
      m_redo(new QAction(tr("Redo"), window))
{
    m_undo->setShortcuts(undoKeys);
    m_redo->setShortcuts(redoKeys);
    for (QAction *action : actions())
        action->setShortcutContext(Qt::WindowShortcut);
    connect(m_undo, &QAction::triggered, this, &HostUndo::undo);
    connect(m_redo, &QAction::triggered, this, &HostUndo::redo);
    connect(&m_watch, &QTimer::timeout, this, &HostUndo::update);
    m_watch.start(watchIntervalMs);
    qApp->installEventFilter(this);
    s_all << this;
    if (m_dictionary != 0)
        m_seenRevision = m_dictionary->revision();
    update();
}

HostUndo::~HostUndo()
{
    s_all.removeAll(this);
}

QString HostUndo::helpText()
{
    QStringList redo;
    for (const QKeySequence &key : redoKeys)
        redo << key.toString(QKeySequence::NativeText);
    return tr("Undo %1 and Redo %2 take back and do again, one at a time, every change made since the dictionary "
              "was opened, also after saving; their tips say which change.")
        .arg(keyText(undoKeys), redo.join(tr(" or ")));
}

bool HostUndo::eventFilter(QObject *watched, QEvent *event)
{
    // A text box claims Ctrl+Z and the redo keys for its own undo of typing, and the window sends every key
    // it does not use to its word box, so the keys would undo a dictionary edit only once. Held back from
    // the text boxes of this window while there is a step to undo or redo, they reach the actions.
    if (event->type() == QEvent::ShortcutOverride && m_window && watched->isWidgetType() &&
        (watched == m_window || m_window->isAncestorOf(static_cast<QWidget *>(watched)))) {
        const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
        if ((m_undo->isEnabled() && undoKeys.contains(pressed)) || (m_redo->isEnabled() && redoKeys.contains(pressed)))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

void HostUndo::update()
{
    if (m_dictionary == 0)
        return;
    const bool canUndo = m_dictionary->canUndo();
    const bool canRedo = m_dictionary->canRedo();
    m_undo->setEnabled(canUndo);
    m_redo->setEnabled(canRedo);
    m_seenRevision = m_dictionary->revision();
    m_undo->setToolTip(canUndo ? tr("Undo: %1 (%2)").arg(m_dictionary->undoText(), keyText(undoKeys))
                               : tr("Nothing to undo (%1)").arg(keyText(undoKeys)));
    m_redo->setToolTip(canRedo ? tr("Redo: %1 (%2)").arg(m_dictionary->redoText(), keyText(redoKeys))
                               : tr("Nothing to redo (%1)").arg(keyText(redoKeys)));
}

void HostUndo::undo()
{
    step(true);
}

void HostUndo::redo()
{
    step(false);
}

void HostUndo::step(bool undoing)
{
    if (m_dictionary == 0 || !m_window)
        return;
    Word *word = undoing ? m_dictionary->undo() : m_dictionary->redo();
    if (!word)
        return;
    // The list and the details panel show the word as it now is, or, when the step took it out, its
    // spelling as a word that is not in the dictionary.
    const QString text = word->text;
    m_window->refreshList();
    m_window->findWord(text);
    update();
    // The other side of a transfer has the same spelling.
    for (HostUndo *other : std::as_const(s_all)) {
        if (other != this)
            other->refreshIfChanged(text);
    }
}

void HostUndo::refreshIfChanged(const QString &text)
{
    if (m_dictionary == 0 || !m_window || m_dictionary->revision() == m_seenRevision)
        return;
    m_window->refreshList();
    m_window->findWord(text);
    update();
}
