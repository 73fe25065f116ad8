#include "modalanswerer.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <algorithm>

namespace {

QString plain(QString text)
{
    return text.remove(QLatin1Char('&'));
}

} // namespace

ModalAnswerer::ModalAnswerer(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_poll && m_poll()) {
            m_timer.stop();
            m_poll = nullptr;
        }
    });
}

void ModalAnswerer::start(std::function<bool()> poll)
{
    m_answered = false;
    m_failure.clear();
    m_poll = std::move(poll);
    m_timer.start();
}

void ModalAnswerer::record(QWidget *widget)
{
    m_answered = true;
    m_title = widget->windowTitle();
    m_className = QString::fromLatin1(widget->metaObject()->className());
    m_yesNoQuestion = false;
    if (auto box = qobject_cast<QMessageBox *>(widget)) {
        m_text = box->text();
        const bool okAndCancel = box->standardButtons() == (QMessageBox::Ok | QMessageBox::Cancel);
        m_yesNoQuestion = okAndCancel && !box->parentWidget() && box->icon() == QMessageBox::NoIcon &&
                          box->defaultButton() == box->button(QMessageBox::Ok);
        return;
    }
    QStringList texts;
    const auto labels = widget->findChildren<QLabel *>();
    for (QLabel *label : labels)
        texts << label->text();
    m_text = texts.join(QLatin1Char('\n'));
}

void ModalAnswerer::clickButtons(const QStringList &buttonNames)
{
    handle([this, buttonNames](QWidget *modal) {
        for (const QString &buttonName : buttonNames) {
            const auto buttons = modal->findChildren<QAbstractButton *>();
            auto it = std::find_if(buttons.begin(), buttons.end(), [&](QAbstractButton *button) {
                return plain(button->text()) == plain(buttonName) || button->objectName() == buttonName;
            });
            if (it != buttons.end()) {
                (*it)->click();
                continue;
            }
            m_failure = QStringLiteral("no button \"%1\" in %2").arg(buttonName, m_className);
            if (auto dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
            else
                modal->close();
            return;
        }
    });
}

void ModalAnswerer::handle(std::function<void(QWidget *)> action)
{
    start([this, action] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return false;
        record(modal);
        action(modal);
        return true;
    });
}

void ModalAnswerer::chooseMenuEntry(const QString &entryText)
{
    start([this, entryText] {
        auto menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return false;
        record(menu);
        m_menuEntries.clear();
        QAction *chosen = nullptr;
        const auto actions = menu->actions();
        for (QAction *action : actions) {
            if (action->isSeparator())
                continue;
            m_menuEntries << action->text() + (action->isEnabled() ? QString() : QStringLiteral(" (off)"));
            if (!chosen && !entryText.isEmpty() && plain(action->text()) == plain(entryText))
                chosen = action;
        }
        if (!entryText.isEmpty() && !chosen)
            m_failure = QStringLiteral("no entry \"%1\" in the menu").arg(entryText);
        if (chosen) {
            menu->setActiveAction(chosen);
            QTest::keyClick(menu, Qt::Key_Return);
        } else {
            menu->close();
        }
        return true;
    });
}
