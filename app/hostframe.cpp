#include "hostframe.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QToolBar>

#include "dictionaryeditor.h"

HostFrame::HostFrame(DictionaryEditor *editor, const QList<QAction *> &commands)
    : m_editor(editor), m_bar(new QToolBar(this))
{
    m_bar->setAccessibleName(tr("Commands"));
    m_bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_bar->setMovable(false);
    m_bar->addActions(commands);

    // The editor window placed itself on the screen; the frame takes that place, the window goes below the bar.
    const QRect placed = editor->geometry();
    editor->setParent(this, Qt::Widget);
    setWindowTitle(editor->windowTitle());
    setWindowIcon(editor->windowIcon());
    connect(editor, &QWidget::windowTitleChanged, this, &QWidget::setWindowTitle);
    editor->installEventFilter(this);
    setGeometry(placed);
    setMinimumWidth(editor->minimumWidth());
    setMaximumWidth(editor->maximumWidth());
    editor->show();
}

int HostFrame::barHeight() const
{
    return m_bar->sizeHint().height();
}

void HostFrame::resizeEvent(QResizeEvent *)
{
    m_bar->setGeometry(0, 0, width(), barHeight());
    m_editor->setGeometry(0, barHeight(), width(), height() - barHeight());
}

bool HostFrame::event(QEvent *event)
{
    // Raising or restacking the frame is raising the editor window: it starts editing and tells its host.
    if (event->type() == QEvent::ZOrderChange) {
        QEvent restacked(QEvent::ZOrderChange);
        QCoreApplication::sendEvent(m_editor, &restacked);
    }
    return QWidget::event(event);
}

void HostFrame::closeEvent(QCloseEvent *event)
{
    // The editor window answers a close request with its Done steps, hiding itself unless the person cancels.
    QCloseEvent request;
    QCoreApplication::sendEvent(m_editor, &request);
    event->setAccepted(m_editor->isHidden());
}

bool HostFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor) {
        if (event->type() == QEvent::Resize) {
            // More and Less fix the window's width; the frame takes the same.
            setMinimumWidth(m_editor->minimumWidth());
            setMaximumWidth(m_editor->maximumWidth());
            if (width() != m_editor->width())
                resize(m_editor->width(), height());
        } else if (event->type() == QEvent::Hide && m_editor->isHidden()) {
            hide(); // the window was left (Done, Escape)
        }
    }
    return QWidget::eventFilter(watched, event);
}
