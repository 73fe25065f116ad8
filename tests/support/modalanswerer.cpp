#include "modalanswerer.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTest>

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

ModalAnswerer::~ModalAnswerer() = default;

void ModalAnswerer::start(std::function<bool()> poll)
{
    m_answered = false;
    m_failure.clear();
    m_poll = std::move(poll);
    m_timer.start();
}

void ModalAnswerer::record(QWidget *widget)
{
    m_title = widget->windowTitle();
    m_className = QString::fromLatin1(widget->metaObject()->className());
    if (auto box = qobject_cast<QMessageBox *>(widget)) {
        m_text = box->text();
        return;
    }
    QStringList texts;
    const auto labels = widget->findChildren<QLabel *>();
    for (QLabel *label : labels)
        texts << label->text();
    m_text = texts.join(QLatin1Char('\n'));
}

void ModalAnswerer::clickButton(const QString &buttonName)
{
    start([this, buttonName] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return false;
        record(modal);
        const auto buttons = modal->findChildren<QAbstractButton *>();
        for (QAbstractButton *button : buttons) {
            if (plain(button->text()) == plain(buttonName) || button->objectName() == buttonName) {
                m_answered = true;
                button->click();
                return true;
            }
        }
        m_failure = QStringLiteral("no button \"%1\" in %2").arg(buttonName, m_className);
        m_answered = true;
        if (auto dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
        return true;
    });
}

void ModalAnswerer::handle(std::function<void(QWidget *)> action)
{
    start([this, action] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return false;
        record(modal);
        m_answered = true;
        action(modal);
        return true;
    });
}

void ModalAnswerer::pressEscape()
{
    start([this] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return false;
        record(modal);
        m_answered = true;
        QTest::keyClick(modal, Qt::Key_Escape);
        return true;
    });
}

void ModalAnswerer::chooseMenuEntry(const QString &entryText)
{
    start([this, entryText] {
        auto menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return false;
        m_className = QString::fromLatin1(menu->metaObject()->className());
        m_title = menu->title();
        m_menuEntries.clear();
        QAction *chosen = nullptr;
        const auto actions = menu->actions();
        for (QAction *action : actions) {
            if (action->isSeparator())
                continue;
            m_menuEntries << action->text();
            if (!chosen && !entryText.isEmpty() && plain(action->text()) == plain(entryText))
                chosen = action;
        }
        m_answered = true;
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
