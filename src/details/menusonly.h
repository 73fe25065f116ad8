#pragma once

#include <QMainWindow>
#include <memory>

class QAction;
class QMenu;

namespace Ui {
class MenusOnly;
}

/// Appends an entry showing text and carrying code as its data to menu; the entry's parent object is
/// the menu's parent.
QAction *addMenuEntry(QMenu *menu, const QString &text, const QString &code);

/// A main window that is never shown; it builds and owns the grammar-code pop-up menus of a details panel.
class MenusOnly : public QMainWindow
{
    Q_OBJECT
public:
    MenusOnly(bool fillSubcodeMenus, QWidget *parent = nullptr);
    ~MenusOnly() override;

    QMenu *partOfSpeechMenu;
    QMenu *nounMenu;
    QMenu *nameMenu;
    QMenu *verbMenu;
    QMenu *adjectiveMenu;
    QMenu *timeMenu;
    /// The "City, etc" entry of nameMenu; null while nameMenu is unfilled.
    QAction *cityEntry;
    bool fillSubcodeMenus;

private:
    void buildMenus();

    std::unique_ptr<Ui::MenusOnly> ui;
    // Submenus of partOfSpeechMenu; created without a parent, so this window releases them.
    std::unique_ptr<QMenu> otherMenu;
    std::unique_ptr<QMenu> vauxMenu;
    std::unique_ptr<QMenu> determinerMenu;
    std::unique_ptr<QMenu> prepositionMenu;
    std::unique_ptr<QMenu> miscellaneousMenu;
    // The member menus too, when no parent was given to own them.
    bool ownsMemberMenus;
};
