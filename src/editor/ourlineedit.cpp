#include "ourlineedit.h"

#include <QKeyEvent>

OurLineEdit::OurLineEdit(QWidget *parent) : QTextEdit(parent), copyAvailable(false)
{
    installEventFilter(this);
    connect(this, &QTextEdit::copyAvailable, this, &OurLineEdit::rememberCopyStatus);
}

void OurLineEdit::rememberCopyStatus(bool copyAvailable)
{
    this->copyAvailable = copyAvailable;
}

bool OurLineEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == this && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Tab)
            emit userIsTabbing();
        else if (key == Qt::Key_Up || key == Qt::Key_Down)
            emit userIsCursoring(key);
    }
    // Every event goes on to the normal handling.
    return QTextEdit::eventFilter(watched, event);
}

void OurLineEdit::focusOutEvent(QFocusEvent *event)
{
    selectAll();
    repaint();
    QTextEdit::focusOutEvent(event);
    repaint();
}
