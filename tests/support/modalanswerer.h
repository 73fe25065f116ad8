#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

class QWidget;

/// Answers the next modal dialog, message box or pop-up menu for real: it polls on a short timer for
/// QApplication::activeModalWidget() (or activePopupWidget() for menus), records what it saw and clicks
/// the named button or triggers the named entry. Tests check answered() afterwards.
class ModalAnswerer : public QObject
{
    Q_OBJECT
public:
    explicit ModalAnswerer(QObject *parent = nullptr);

    /// Clicks the button of the next modal widget whose text (ampersands ignored) or object name is buttonName.
    void clickButton(const QString &buttonName) { clickButtons({buttonName}); }
    /// Clicks the buttons named so in turn (check boxes, say, then the one that ends the run).
    void clickButtons(const QStringList &buttonNames);
    /// Runs action on the next modal widget; the action must end the modal run (accept, reject, close).
    void handle(std::function<void(QWidget *)> action);
    /// Triggers the entry entryText of the next pop-up menu; an empty entryText closes it without a choice.
    void chooseMenuEntry(const QString &entryText);

    bool answered() const { return m_answered; }
    /// Window title, text (a message box's text, or the labels joined) and class name of the widget answered.
    QString title() const { return m_title; }
    QString text() const { return m_text; }
    /// True when the widget answered was a yes/no question as the windows ask them: a parentless message
    /// box with no icon and the buttons OK and Cancel, OK the default.
    bool wasYesNoQuestion() const { return m_yesNoQuestion; }
    QString className() const { return m_className; }
    /// The entries of the pop-up menu answered, in order, separators skipped.
    QStringList menuEntries() const { return m_menuEntries; }
    QString failure() const { return m_failure; }

private:
    void start(std::function<bool()> poll);
    void record(QWidget *widget);

    QTimer m_timer;
    std::function<bool()> m_poll;
    bool m_answered = false;
    QString m_title;
    QString m_text;
    bool m_yesNoQuestion = false;
    QString m_className;
    QStringList m_menuEntries;
    QString m_failure;
};
