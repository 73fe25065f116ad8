#pragma once

// Helpers shared by the editor window's tests: build a window the way a host does and read its widgets.

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <memory>

#include "dicteditor.h"
#include "dictionaryeditor.h"
#include "grammarpopupuser.h"
#include "ourtextbrowser.h"
#include "tempdictionary.h"
#include "windowsleft.h"

namespace EditorTest {

/// Creates a window through the exported factory, as a host would.
inline std::unique_ptr<DictEditor> create(const DictionaryReference &dictionary, bool writable = true,
                                          const QString &word = QString(), bool saveByHost = false)
{
    return std::unique_ptr<DictEditor>(qobject_cast<DictEditor *>(
        DictionaryEditor::createEditor(writable, word, dictionary, nullptr, Qt::WindowFlags(), saveByHost)));
}

/// Shows the window and waits until it is the active window, so that focus rules apply.
inline bool showActive(QWidget *window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

template<class T = QPushButton> T *child(const QWidget *window, const char *name)
{
    return window->findChild<T *>(QLatin1String(name));
}

inline QListWidget *list(const QWidget *window)
{
    return child<QListWidget>(window, "listWidget");
}

inline QTextEdit *wordBox(const QWidget *window)
{
    return child<QTextEdit>(window, "lineEdit");
}

inline QStringList listed(const QListWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

inline QString currentText(const QListWidget *list)
{
    return list->currentItem() ? list->currentItem()->text() : QString();
}

/// The word the details panel shows, empty when it shows none.
inline QString panelWord(const DictEditor *editor)
{
    return editor->grammarPopUp->WordNameBox->toPlainText().trimmed();
}

/// Types into the word box the way a user does: focused, the old word selected, then key by key.
inline void typeInto(QTextEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

/// Clicks a row of the window's list with the mouse.
inline void clickRow(QWidget *window, int row)
{
    QListWidget *listWidget = list(window);
    QTest::mouseClick(listWidget->viewport(), Qt::LeftButton, Qt::NoModifier,
                      listWidget->visualItemRect(listWidget->item(row)).center());
}

} // namespace EditorTest
