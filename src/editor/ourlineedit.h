#pragma once

#include <QTextEdit>

/// The editor window's word box: a one-line text editor that reports Tab and Up/Down to the window
/// and selects its whole text when it loses the focus, so that the next typing replaces the word.
class OurLineEdit : public QTextEdit
{
    Q_OBJECT

public:
    explicit OurLineEdit(QWidget *parent = nullptr);

    bool copyAvailable;

signals:
    void userIsCursoring(int key);
    void userIsTabbing();

public slots:
    void rememberCopyStatus(bool copyAvailable);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};
