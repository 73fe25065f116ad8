#include "editoraccessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

#include "atspibridge.h"

namespace {

// The viewport of a text box or other scroll area forwards the focus to its area, so Qt reports it
// focused together with the area; only the area holds the keyboard focus.
class ViewportAccessible : public QAccessibleWidget
{
public:
    explicit ViewportAccessible(QWidget *viewport) : QAccessibleWidget(viewport, QAccessible::Client) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.focused = false;
        return state;
    }
};

// A plain container laid out taller than its window (the editor's form) reports only the part the
// window shows, as a reader's review of the screen expects.
class ClippedContainerAccessible : public QAccessibleWidget
{
public:
    explicit ClippedContainerAccessible(QWidget *container) : QAccessibleWidget(container, QAccessible::Client) {}

    QRect rect() const override
    {
        const QWidget *window = widget()->window();
        const QRect shown(window->mapToGlobal(QPoint(0, 0)), window->size());
        return QAccessibleWidget::rect().intersected(shown);
    }
};

// The More/Less button opens and closes the right-hand half of the window: a reader hears whether it is open.
class MoreLessAccessible : public QAccessibleWidget
{
public:
    explicit MoreLessAccessible(QPushButton *button) : QAccessibleWidget(button, QAccessible::PushButton) {}

    QPushButton *button() const { return static_cast<QPushButton *>(widget()); }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = button()->text().contains(QLatin1String("Less"));
        return state;
    }

    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }

    void doAction(const QString &action) override
    {
        if (action == pressAction())
            button()->click();
        else
            QAccessibleWidget::doAction(action);
    }
};

// The word count shows a number: a reader hears it as the count's value, and hears it change.
class WordCountAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit WordCountAccessible(QLineEdit *box) : QAccessibleWidget(box, QAccessible::StaticText) {}

    QLineEdit *box() const { return static_cast<QLineEdit *>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return box()->text();
        return QAccessibleWidget::text(t);
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return box()->text().toInt(); }
    void setCurrentValue(const QVariant &) override {} // the window keeps the count
    QVariant maximumValue() const override { return std::numeric_limits<int>::max(); }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }
};

QAccessibleInterface *editorFactory(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (className == QLatin1String("QWidget") && widget->objectName() == QLatin1String("qt_scrollarea_viewport") &&
        !qobject_cast<QAbstractItemView *>(widget->parentWidget()))
        return new ViewportAccessible(widget);
    // The editor window is the application's main window, though it is built as a dialog.
    if (className == QLatin1String("DictEditor"))
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (className == QLatin1String("QWidget") && widget->parentWidget() && widget->parentWidget()->isWindow())
        return new ClippedContainerAccessible(widget);
    if (className == QLatin1String("QPushButton") && widget->objectName() == QLatin1String("MoreLessButton"))
        return new MoreLessAccessible(static_cast<QPushButton *>(widget));
    if (className == QLatin1String("QLineEdit") && widget->objectName() == QLatin1String("debugwindow")) {
        auto *box = static_cast<QLineEdit *>(widget);
        QObject::connect(box, &QLineEdit::textChanged, box, [box](const QString &text) {
            QAccessibleValueChangeEvent changed(box, text.toInt());
            QAccessible::updateAccessibility(&changed);
        });
        return new WordCountAccessible(box);
    }
    return nullptr;
}

// An item view sends a focus event for its new current item even when the keyboard focus is elsewhere
// (the word list follows the word box as the person types): that item is announced as selected instead.
void filterFocusEvents(QAccessibleEvent *event)
{
    AtSpiBridge::notify(event);
    auto *view = qobject_cast<QAbstractItemView *>(event->object());
    if (event->type() == QAccessible::Focus && view && event->child() >= 0 && !view->hasFocus()) {
        QAccessibleEvent selection(view, QAccessible::Selection);
        selection.setChild(event->child());
        QAccessible::installUpdateHandler(nullptr);
        QAccessible::updateAccessibility(&selection);
        QAccessible::installUpdateHandler(filterFocusEvents);
        return;
    }
    // Everything else goes on to the platform's bridge.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(filterFocusEvents);
}

} // namespace

void EditorAccessibility::install()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(editorFactory);
    QAccessible::installUpdateHandler(filterFocusEvents);
    AtSpiBridge::install();
}
