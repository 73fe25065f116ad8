#pragma once

#include <QListWidget>
#include <QPoint>

#include "prediction.h"

class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QMouseEvent;

/// The editor's word list: drags the current word out as the engine's text form and adds a word
/// dropped from another editor's list to this list's dictionary.
class OurListWidget : public QListWidget
{
public:
    /// The drag format that carries a word between word lists.
    static const char *const WordMimeType;

    explicit OurListWidget(QWidget *parent = nullptr);

    void setDictionary(DictionaryReference dictionary, bool writable);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QPoint dragStartPosition;
    DictionaryReference listDictionary;
    bool writable = false;
};
