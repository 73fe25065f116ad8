#include "ourlistwidget.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>

const char *const OurListWidget::WordMimeType = "{D47C776F-37AD-4358-BE60-7574078E78F9}";

OurListWidget::OurListWidget(QWidget *parent) : QListWidget(parent)
{
    setAcceptDrops(true);
}

void OurListWidget::setDictionary(DictionaryReference dictionary, bool writable)
{
    listDictionary = dictionary;
    this->writable = writable;
}

void OurListWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        dragStartPosition = event->position().toPoint();
    QAbstractItemView::mousePressEvent(event);
}

// The view's own move handling is never called, so its built-in item drag cannot start; only
// this drag, carrying the engine's text form of the word, exists.
void OurListWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    if ((event->position().toPoint() - dragStartPosition).manhattanLength() < QApplication::startDragDistance())
        return;
    if (listDictionary == 0)
        return;

    auto *drag = new QDrag(this);
    auto *mimeData = new QMimeData;
    mimeData->setData(QString::fromLatin1(WordMimeType), listDictionary->copyCurrentWord().toLatin1());
    drag->setMimeData(mimeData);
    drag->exec(Qt::CopyAction);
}

// The source list took the focus with the press, so testing the focus widget keeps a word from
// being dropped back onto the list it came from.
void OurListWidget::dragEnterEvent(QDragEnterEvent *event)
{
    if (QApplication::focusWidget() == this || !writable) {
        event->ignore();
        return;
    }
    if (event->mimeData()->hasFormat(QString::fromLatin1(WordMimeType))) {
        event->acceptProposedAction();
        event->accept();
    }
}

void OurListWidget::dragMoveEvent(QDragMoveEvent *event)
{
    event->acceptProposedAction();
    event->accept();
}

void OurListWidget::dropEvent(QDropEvent *event)
{
    const QString text = QString::fromLatin1(event->mimeData()->data(QString::fromLatin1(WordMimeType)));
    if (text.isEmpty() || listDictionary == 0)
        return;

    const QString spelling = listDictionary->pasteWord(text);
    if (spelling.isEmpty()) {
        event->acceptProposedAction();
        return;
    }

    clear();
    insertItems(0, listDictionary->wordList());
    const QList<QListWidgetItem *> found = findItems(spelling, Qt::MatchExactly);
    if (!found.isEmpty())
        setCurrentItem(found.first());
    event->acceptProposedAction();
}
