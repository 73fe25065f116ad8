#include "atspibridge.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QMenu>
#include <QPointer>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTimer>
#include <QUrl>

#include "ourlineedit.h"
#include "ourtextbrowser.h"

namespace {

// The bridge's connection to the accessibility bus and the subtree its adaptor answers: every accessible
// object is "<tree>/<unique id>" (the application is "<tree>/root"). A link of a details panel is two objects in
// a part of the subtree the bridge never hands out: its Hyperlink at "<tree>/hyperlink/<panel id>/<link index>"
// and the link object it leads to at "<tree>/link/<panel id>/<link index>" (a client keeps one object per path,
// so the two need their own).
const QString ConnectionName = QStringLiteral("a11y");
const QString TreePath = QStringLiteral("/org/a11y/atspi/accessible");
const QString NodePrefix = TreePath + QLatin1Char('/');
const QString RootPath = NodePrefix + QLatin1String("root");
const QString LinkPrefix = NodePrefix + QLatin1String("link/");
const QString HyperlinkPrefix = NodePrefix + QLatin1String("hyperlink/");
const QString NullPath = QStringLiteral("/org/a11y/atspi/null");

const QString PropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString AccessibleInterface = QStringLiteral("org.a11y.atspi.Accessible");
const QString ActionInterface = QStringLiteral("org.a11y.atspi.Action");
const QString ComponentInterface = QStringLiteral("org.a11y.atspi.Component");
const QString HypertextInterface = QStringLiteral("org.a11y.atspi.Hypertext");
const QString HyperlinkInterface = QStringLiteral("org.a11y.atspi.Hyperlink");
const QString ObjectEvents = QStringLiteral("org.a11y.atspi.Event.Object");
const QString FocusEvents = QStringLiteral("org.a11y.atspi.Event.Focus");

// AT-SPI's numbers for the roles and states used here.
const uint LinkRole = 88;
enum SpiState
{
    Active = 1,
    Busy = 3,
    Checked = 4,
    Collapsed = 5,
    Editable = 7,
    Enabled = 8,
    Expandable = 9,
    Expanded = 10,
    Focusable = 11,
    Focused = 12,
    Modal = 16,
    MultiLine = 17,
    Multiselectable = 18,
    Pressed = 20,
    Resizable = 21,
    Selectable = 22,
    Selected = 23,
    Sensitive = 24,
    Showing = 25,
    SingleLine = 26,
    Transient = 28,
    Visible = 30,
    ManagesDescendants = 31,
    Indeterminate = 32,
    Animated = 35,
    SupportsAutocompletion = 37,
    IsDefault = 39,
    Visited = 40,
    Checkable = 41,
    HasPopup = 42,
    ReadOnly = 43
};

} // namespace

// An object reference as AT-SPI passes it: the owner's bus name and the object's path, "(so)".
struct SpiReference
{
    QString service;
    QDBusObjectPath path;
};
// One relation of an object, "(ua(so))"; a link object has none.
struct SpiRelation
{
    uint type = 0;
    QList<SpiReference> targets;
};
// One action: its name, description and key, "(sss)".
struct SpiAction
{
    QString name;
    QString description;
    QString key;
};
Q_DECLARE_METATYPE(SpiReference)
Q_DECLARE_METATYPE(SpiRelation)
Q_DECLARE_METATYPE(SpiAction)

QDBusArgument &operator<<(QDBusArgument &argument, const SpiReference &reference)
{
    argument.beginStructure();
    argument << reference.service << reference.path;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, SpiReference &reference)
{
    argument.beginStructure();
    argument >> reference.service >> reference.path;
    argument.endStructure();
    return argument;
}

QDBusArgument &operator<<(QDBusArgument &argument, const SpiRelation &relation)
{
    argument.beginStructure();
    argument << relation.type << relation.targets;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, SpiRelation &relation)
{
    argument.beginStructure();
    argument >> relation.type >> relation.targets;
    argument.endStructure();
    return argument;
}

QDBusArgument &operator<<(QDBusArgument &argument, const SpiAction &action)
{
    argument.beginStructure();
    argument << action.name << action.description << action.key;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, SpiAction &action)
{
    argument.beginStructure();
    argument >> action.name >> action.description >> action.key;
    argument.endStructure();
    return argument;
}

namespace {

QVariant reference(const QDBusConnection &connection, const QString &path)
{
    return QVariant::fromValue(SpiReference{connection.baseService(), QDBusObjectPath(path)});
}

QString pathOf(QAccessibleInterface *iface)
{
    return NodePrefix + QString::number(QAccessible::uniqueId(iface));
}

QAccessibleInterface *interfaceAt(const QString &path)
{
    if (path == RootPath)
        return QAccessible::queryAccessibleInterface(qApp);
    if (!path.startsWith(NodePrefix))
        return nullptr;
    bool ok = false;
    const uint id = QStringView(path).mid(NodePrefix.size()).toUInt(&ok);
    return ok ? QAccessible::accessibleInterface(QAccessible::Id(id)) : nullptr;
}

OurTextBrowser *panelOf(QAccessibleInterface *iface)
{
    return iface ? qobject_cast<OurTextBrowser *>(iface->object()) : nullptr;
}

QString linkPath(OurTextBrowser *panel, int index, const QString &prefix = LinkPrefix)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(panel);
    return prefix + QString::number(QAccessible::uniqueId(iface)) + QLatin1Char('/') + QString::number(index);
}

// The two 32-bit words of an AT-SPI state set.
QVariant stateSet(quint64 bits)
{
    return QVariant::fromValue(QList<uint>{uint(bits & 0xffffffffu), uint(bits >> 32)});
}

void set(quint64 *bits, SpiState state, bool on = true)
{
    if (on)
        *bits |= quint64(1) << state;
    else
        *bits &= ~(quint64(1) << state);
}

// The state set the bridge reports for a Qt state.
quint64 spiStates(const QAccessible::State &state)
{
    quint64 bits = 0;
    set(&bits, Active, state.active);
    set(&bits, Editable, state.editable);
    set(&bits, Enabled, !state.disabled);
    set(&bits, Sensitive, !state.disabled);
    set(&bits, Selected, state.selected);
    set(&bits, Focused, state.focused);
    set(&bits, Pressed, state.pressed);
    set(&bits, Checked, state.checked);
    set(&bits, Indeterminate, state.checkStateMixed);
    set(&bits, ReadOnly, state.readOnly);
    set(&bits, IsDefault, state.defaultButton);
    set(&bits, Expandable, state.expandable);
    set(&bits, Expanded, state.expanded);
    set(&bits, Collapsed, state.collapsed);
    set(&bits, Busy, state.busy);
    set(&bits, Animated, state.marqueed || state.animated);
    set(&bits, Showing, !state.invisible && !state.offscreen);
    set(&bits, Visible, !state.invisible && !state.offscreen);
    set(&bits, Resizable, state.sizeable);
    set(&bits, Focusable, state.focusable);
    set(&bits, Selectable, state.selectable || state.extSelectable);
    set(&bits, Visited, state.traversed);
    set(&bits, Multiselectable, state.multiSelectable || state.extSelectable);
    set(&bits, Modal, state.modal);
    set(&bits, MultiLine, state.multiLine);
    set(&bits, HasPopup, state.hasPopup);
    set(&bits, SupportsAutocompletion, state.supportsAutoCompletion);
    set(&bits, Checkable, state.checkable);
    return bits;
}

QAbstractItemView *viewOf(QAccessibleInterface *item)
{
    for (QAccessibleInterface *up = item->parent(); up; up = up->parent()) {
        if (auto *view = qobject_cast<QAbstractItemView *>(up->object()))
            return view;
        if (up->object())
            return nullptr;
    }
    return nullptr;
}

bool isItem(QAccessible::Role role)
{
    return role == QAccessible::ListItem || role == QAccessible::Cell || role == QAccessible::TreeItem;
}

// The menus open on their own, as a context menu without a parent widget is: Qt leaves them out of the
// application's children, though their parent is the application.
QList<QAccessibleInterface *> openMenus()
{
    QList<QAccessibleInterface *> menus;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (!qobject_cast<QMenu *>(window) || !window->isVisible())
            continue;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(window);
        if (iface && iface->parent() && iface->parent()->object() == qApp)
            menus += iface;
    }
    return menus;
}

bool within(QAccessibleInterface *iface, QObject *ancestor)
{
    for (int depth = 0; iface && depth < 32; ++depth, iface = iface->parent()) {
        if (iface->object() == ancestor)
            return true;
    }
    return false;
}

// Whether a node holds the keyboard focus, given what Qt says: an open menu holds it (until one of its
// entries is current) and nothing outside it does; an item view's current item holds it only with its view.
bool holdsFocus(QAccessibleInterface *iface, bool qtSays)
{
    if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
        if (iface->object() == menu)
            return menu->activeAction() == nullptr;
        return qtSays && within(iface, menu);
    }
    if (qtSays && isItem(iface->role())) {
        const QAbstractItemView *view = viewOf(iface);
        return !view || view->hasFocus();
    }
    return qtSays;
}

// The link of a panel at a link path, or null when the path names none (any more).
struct LinkAt
{
    OurTextBrowser *panel = nullptr;
    bool hyperlink = false;
    QString panelPath;
    int index = -1;
    DetailsLink link;
};

LinkAt linkAt(const QString &path)
{
    LinkAt found;
    found.hyperlink = path.startsWith(HyperlinkPrefix);
    const QString prefix = found.hyperlink ? HyperlinkPrefix : LinkPrefix;
    const QStringList parts = path.mid(prefix.size()).split(QLatin1Char('/'));
    if (parts.size() != 2)
        return found;
    bool ok = false;
    const int index = parts.at(1).toInt(&ok);
    if (!ok)
        return found;
    QAccessibleInterface *iface = interfaceAt(NodePrefix + parts.at(0));
    OurTextBrowser *panel = panelOf(iface);
    if (!panel)
        return found;
    const QList<DetailsLink> links = panel->links();
    if (index < 0 || index >= links.size())
        return found;
    found.panel = panel;
    found.panelPath = pathOf(iface);
    found.index = index;
    found.link = links.at(index);
    return found;
}

// Where a link's characters lie, in the coordinates AT-SPI asks for (0 screen, 1 window, 2 parent).
QRect linkExtents(const LinkAt &at, uint coordinates)
{
    QTextCursor cursor(at.panel->document());
    cursor.setPosition(at.link.start);
    QRect area = at.panel->cursorRect(cursor);
    cursor.setPosition(at.link.end);
    area |= at.panel->cursorRect(cursor);
    QPoint origin = at.panel->viewport()->mapToGlobal(QPoint(0, 0));
    if (coordinates == 1)
        origin -= at.panel->window()->mapToGlobal(QPoint(0, 0));
    else if (coordinates == 2)
        origin -= at.panel->mapToGlobal(QPoint(0, 0));
    return area.translated(origin);
}

quint64 linkStates(const LinkAt &at)
{
    quint64 bits = 0;
    set(&bits, Enabled);
    set(&bits, Sensitive);
    set(&bits, Focusable);
    const QRect shown(at.panel->viewport()->mapToGlobal(QPoint(0, 0)), at.panel->viewport()->size());
    const bool showing = at.panel->isVisible() && shown.intersects(linkExtents(at, 0));
    set(&bits, Showing, showing);
    set(&bits, Visible, showing);
    set(&bits, Focused, at.panel->hasFocus() && at.panel->selectedLink() == at.index);
    return bits;
}

const char *const LinkIntrospection =
    "  <interface name=\"org.a11y.atspi.Accessible\">\n"
    "    <property name=\"Name\" type=\"s\" access=\"read\"/>\n"
    "    <property name=\"Description\" type=\"s\" access=\"read\"/>\n"
    "    <property name=\"Parent\" type=\"(so)\" access=\"read\"/>\n"
    "    <property name=\"ChildCount\" type=\"i\" access=\"read\"/>\n"
    "    <property name=\"Locale\" type=\"s\" access=\"read\"/>\n"
    "    <property name=\"AccessibleId\" type=\"s\" access=\"read\"/>\n"
    "    <method name=\"GetChildAtIndex\"><arg direction=\"in\" type=\"i\"/><arg direction=\"out\" "
    "type=\"(so)\"/></method>\n"
    "    <method name=\"GetChildren\"><arg direction=\"out\" type=\"a(so)\"/></method>\n"
    "    <method name=\"GetIndexInParent\"><arg direction=\"out\" type=\"i\"/></method>\n"
    "    <method name=\"GetRelationSet\"><arg direction=\"out\" type=\"a(ua(so))\"/></method>\n"
    "    <method name=\"GetRole\"><arg direction=\"out\" type=\"u\"/></method>\n"
    "    <method name=\"GetRoleName\"><arg direction=\"out\" type=\"s\"/></method>\n"
    "    <method name=\"GetLocalizedRoleName\"><arg direction=\"out\" type=\"s\"/></method>\n"
    "    <method name=\"GetState\"><arg direction=\"out\" type=\"au\"/></method>\n"
    "    <method name=\"GetAttributes\"><arg direction=\"out\" type=\"a{ss}\"/></method>\n"
    "    <method name=\"GetApplication\"><arg direction=\"out\" type=\"(so)\"/></method>\n"
    "    <method name=\"GetInterfaces\"><arg direction=\"out\" type=\"as\"/></method>\n"
    "  </interface>\n"
    "  <interface name=\"org.a11y.atspi.Component\">\n"
    "    <method name=\"GetExtents\"><arg direction=\"in\" type=\"u\"/><arg direction=\"out\" "
    "type=\"(iiii)\"/></method>\n"
    "  </interface>\n"
    "  <interface name=\"org.a11y.atspi.Action\">\n"
    "    <property name=\"NActions\" type=\"i\" access=\"read\"/>\n"
    "    <method name=\"GetName\"><arg direction=\"in\" type=\"i\"/><arg direction=\"out\" type=\"s\"/></method>\n"
    "    <method name=\"GetLocalizedName\"><arg direction=\"in\" type=\"i\"/><arg direction=\"out\" "
    "type=\"s\"/></method>\n"
    "    <method name=\"GetDescription\"><arg direction=\"in\" type=\"i\"/><arg direction=\"out\" "
    "type=\"s\"/></method>\n"
    "    <method name=\"GetKeyBinding\"><arg direction=\"in\" type=\"i\"/><arg direction=\"out\" "
    "type=\"s\"/></method>\n"
    "    <method name=\"GetActions\"><arg direction=\"out\" type=\"a(sss)\"/></method>\n"
    "    <method name=\"DoAction\"><arg direction=\"in\" type=\"i\"/><arg direction=\"out\" type=\"b\"/></method>\n"
    "  </interface>\n";

const char *const HyperlinkIntrospection =
    "  <interface name=\"org.a11y.atspi.Hyperlink\">\n"
    "    <property name=\"NAnchors\" type=\"n\" access=\"read\"/>\n"
    "    <property name=\"StartIndex\" type=\"i\" access=\"read\"/>\n"
    "    <property name=\"EndIndex\" type=\"i\" access=\"read\"/>\n"
    "    <method name=\"GetObject\"><arg direction=\"in\" type=\"i\"/><arg direction=\"out\" type=\"(so)\"/></method>\n"
    "    <method name=\"GetURI\"><arg direction=\"in\" type=\"i\"/><arg direction=\"out\" type=\"s\"/></method>\n"
    "    <method name=\"IsValid\"><arg direction=\"out\" type=\"b\"/></method>\n"
    "  </interface>\n";

const char *const HypertextIntrospection =
    "  <interface name=\"org.a11y.atspi.Hypertext\">\n"
    "    <method name=\"GetNLinks\"><arg direction=\"out\" type=\"i\"/></method>\n"
    "    <method name=\"GetLink\"><arg direction=\"in\" type=\"i\"/><arg direction=\"out\" type=\"(so)\"/></method>\n"
    "    <method name=\"GetLinkIndex\"><arg direction=\"in\" type=\"i\"/><arg direction=\"out\" type=\"i\"/></method>\n"
    "  </interface>\n";

/// Stands in the bridge's place on the accessibility bus: answers what the bridge lacks and hands every
/// other message to the bridge's own adaptor.
class Extension : public QDBusVirtualObject
{
public:
    explicit Extension(QDBusVirtualObject *bridge) : QDBusVirtualObject(bridge), bridge(bridge) {}

    QDBusVirtualObject *adaptor() const { return bridge; }

    QString introspect(const QString &path) const override
    {
        if (path.startsWith(LinkPrefix))
            return QString::fromLatin1(LinkIntrospection);
        if (path.startsWith(HyperlinkPrefix))
            return QString::fromLatin1(HyperlinkIntrospection);
        QString xml = bridge ? bridge->introspect(path) : QString();
        if (panelOf(interfaceAt(path)))
            xml += QString::fromLatin1(HypertextIntrospection);
        return xml;
    }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        const QString path = message.path();
        if (path.startsWith(LinkPrefix) || path.startsWith(HyperlinkPrefix))
            return answerLink(message, connection);
        QAccessibleInterface *iface = interfaceAt(path);
        if (panelOf(iface) && answerPanel(iface, message, connection))
            return true;
        if (iface && message.interface() == AccessibleInterface && message.member() == QLatin1String("GetState") &&
            answerState(iface, message, connection))
            return true;
        if (iface && answerMenus(iface, message, connection))
            return true;
        return bridge && bridge->handleMessage(message, connection);
    }

private:
    static bool reply(const QDBusMessage &message, const QDBusConnection &connection, const QVariant &value)
    {
        return connection.send(message.createReply(value));
    }

    // The panel: the interfaces the bridge lists for it and Hypertext, and the Hypertext methods.
    bool answerPanel(QAccessibleInterface *iface, const QDBusMessage &message, const QDBusConnection &connection)
    {
        const QString member = message.member();
        if (message.interface() == AccessibleInterface && member == QLatin1String("GetInterfaces")) {
            static const QRegularExpression named(QStringLiteral("<interface name=\"([^\"]+)\""));
            QStringList interfaces;
            for (auto it = named.globalMatch(bridge->introspect(message.path())); it.hasNext();)
                interfaces += it.next().captured(1);
            if (!interfaces.contains(AccessibleInterface))
                return false;
            interfaces.removeAll(QStringLiteral("org.freedesktop.DBus.Introspectable"));
            interfaces += HypertextInterface;
            return reply(message, connection, interfaces);
        }
        if (message.interface() != HypertextInterface)
            return false;
        OurTextBrowser *panel = panelOf(iface);
        const QList<DetailsLink> links = panel->links();
        const int argument = message.arguments().value(0).toInt();
        if (member == QLatin1String("GetNLinks"))
            return reply(message, connection, int(links.size()));
        if (member == QLatin1String("GetLink")) {
            const bool exists = argument >= 0 && argument < links.size();
            return reply(message, connection,
                         reference(connection, exists ? linkPath(panel, argument, HyperlinkPrefix) : NullPath));
        }
        if (member == QLatin1String("GetLinkIndex")) {
            int index = -1;
            for (int i = 0; i < links.size() && index < 0; ++i) {
                if (links.at(i).start <= argument && argument < links.at(i).end)
                    index = i;
            }
            return reply(message, connection, index);
        }
        return false;
    }

    // States that follow the keyboard focus: an item view's current item is focused only while the view
    // holds the keyboard focus, and the word box takes one line (Return adds the word).
    bool answerState(QAccessibleInterface *iface, const QDBusMessage &message, const QDBusConnection &connection)
    {
        QAccessible::State state = iface->state();
        const bool focused = holdsFocus(iface, state.focused);
        const bool wordBox = qobject_cast<OurLineEdit *>(iface->object()) != nullptr;
        if (focused == bool(state.focused) && !wordBox)
            return false;
        state.focused = focused;
        quint64 bits = spiStates(state);
        if (wordBox) {
            set(&bits, MultiLine, false);
            set(&bits, SingleLine);
        }
        // As the bridge does: items are not to be cached, tables manage their descendants.
        if (iface->role() == QAccessible::ListItem || iface->role() == QAccessible::TreeItem)
            set(&bits, Transient);
        if (iface->tableInterface())
            set(&bits, ManagesDescendants);
        return reply(message, connection, stateSet(bits));
    }

    // The application's children with its open menus after its windows, and those menus' place among them.
    bool answerMenus(QAccessibleInterface *iface, const QDBusMessage &message, const QDBusConnection &connection)
    {
        const QString member = message.member();
        const bool application = iface->object() == qApp;
        if (!application && member != QLatin1String("GetIndexInParent"))
            return false;
        const QList<QAccessibleInterface *> menus = openMenus();
        if (menus.isEmpty())
            return false;
        QAccessibleInterface *app = application ? iface : QAccessible::queryAccessibleInterface(qApp);
        const int windows = app->childCount();
        if (!application) {
            const int index = int(menus.indexOf(iface));
            return index >= 0 && reply(message, connection, windows + index);
        }
        if (message.interface() == PropertiesInterface && member == QLatin1String("Get") &&
            message.arguments().value(0).toString() == AccessibleInterface &&
            message.arguments().value(1).toString() == QLatin1String("ChildCount"))
            return reply(message, connection, QVariant::fromValue(QDBusVariant(int(windows + menus.size()))));
        if (message.interface() != AccessibleInterface)
            return false;
        if (member == QLatin1String("GetChildAtIndex")) {
            const int index = message.arguments().value(0).toInt() - windows;
            return index >= 0 && index < menus.size() &&
                   reply(message, connection, reference(connection, pathOf(menus.at(index))));
        }
        if (member == QLatin1String("GetChildren")) {
            QList<SpiReference> children;
            for (int i = 0; i < windows; ++i) {
                if (QAccessibleInterface *child = app->child(i))
                    children.append(SpiReference{connection.baseService(), QDBusObjectPath(pathOf(child))});
            }
            for (QAccessibleInterface *menu : menus)
                children.append(SpiReference{connection.baseService(), QDBusObjectPath(pathOf(menu))});
            return reply(message, connection, QVariant::fromValue(children));
        }
        return false;
    }

    bool answerLink(const QDBusMessage &message, const QDBusConnection &connection)
    {
        const LinkAt at = linkAt(message.path());
        const QString interface = message.interface();
        const QString member = message.member();
        const QVariantList arguments = message.arguments();
        if (interface == HyperlinkInterface && member == QLatin1String("IsValid"))
            return reply(message, connection, at.panel != nullptr);
        if (!at.panel)
            return connection.send(message.createErrorReply(QDBusError::UnknownObject, message.path()));

        if (interface == PropertiesInterface) {
            const QString asked = arguments.value(0).toString();
            const QVariantMap properties =
                at.hyperlink ? hyperlinkProperties(at, asked) : linkProperties(at, asked, connection);
            if (member == QLatin1String("GetAll"))
                return reply(message, connection, properties);
            const QString name = arguments.value(1).toString();
            if (member == QLatin1String("Get") && properties.contains(name))
                return reply(message, connection, QVariant::fromValue(QDBusVariant(properties.value(name))));
        } else if (at.hyperlink) {
            if (interface == HyperlinkInterface && member == QLatin1String("GetObject"))
                return reply(message, connection, reference(connection, linkPath(at.panel, at.index)));
            if (interface == HyperlinkInterface && member == QLatin1String("GetURI"))
                return reply(message, connection, at.link.anchor);
        } else if (interface == AccessibleInterface) {
            if (member == QLatin1String("GetRole"))
                return reply(message, connection, LinkRole);
            if (member == QLatin1String("GetRoleName") || member == QLatin1String("GetLocalizedRoleName"))
                return reply(message, connection, QStringLiteral("link"));
            if (member == QLatin1String("GetState"))
                return reply(message, connection, stateSet(linkStates(at)));
            if (member == QLatin1String("GetInterfaces"))
                return reply(message, connection,
                             QStringList{AccessibleInterface, ActionInterface, ComponentInterface});
            if (member == QLatin1String("GetChildAtIndex"))
                return reply(message, connection, reference(connection, NullPath));
            if (member == QLatin1String("GetChildren"))
                return reply(message, connection, QVariant::fromValue(QList<SpiReference>()));
            if (member == QLatin1String("GetIndexInParent"))
                return reply(message, connection, -1);
            if (member == QLatin1String("GetAttributes"))
                return reply(message, connection, QVariant::fromValue(QMap<QString, QString>()));
            if (member == QLatin1String("GetRelationSet"))
                return reply(message, connection, QVariant::fromValue(QList<SpiRelation>()));
            if (member == QLatin1String("GetApplication"))
                return reply(message, connection, reference(connection, RootPath));
        } else if (interface == ComponentInterface && member == QLatin1String("GetExtents")) {
            return reply(message, connection, linkExtents(at, arguments.value(0).toUInt()));
        } else if (interface == ActionInterface) {
            const QString jump = QStringLiteral("jump");
            if (member == QLatin1String("GetName") || member == QLatin1String("GetLocalizedName"))
                return reply(message, connection, jump);
            if (member == QLatin1String("GetDescription"))
                return reply(message, connection, QObject::tr("Changes the %1").arg(at.link.name));
            if (member == QLatin1String("GetKeyBinding"))
                return reply(message, connection, QStringLiteral("Return"));
            if (member == QLatin1String("GetActions"))
                return reply(message, connection,
                             QVariant::fromValue(QList<SpiAction>{{jump, at.link.name, QStringLiteral("Return")}}));
            if (member == QLatin1String("DoAction")) {
                // The link opens a modal choice: the caller hears back before it runs.
                reply(message, connection, true);
                QPointer<OurTextBrowser> panel = at.panel;
                const QUrl anchor(at.link.anchor);
                QTimer::singleShot(0, panel, [panel, anchor] {
                    if (panel)
                        emit panel->anchorClicked(anchor);
                });
                return true;
            }
        }
        return connection.send(message.createErrorReply(QDBusError::UnknownMethod, member));
    }

    static QVariantMap linkProperties(const LinkAt &at, const QString &interface, const QDBusConnection &connection)
    {
        QVariantMap properties;
        if (interface == AccessibleInterface || interface.isEmpty()) {
            properties.insert(QStringLiteral("Name"), at.link.name);
            properties.insert(QStringLiteral("Description"), QString());
            properties.insert(QStringLiteral("Parent"), reference(connection, at.panelPath));
            properties.insert(QStringLiteral("ChildCount"), 0);
            properties.insert(QStringLiteral("Locale"), QLocale().name());
            properties.insert(QStringLiteral("AccessibleId"), QString());
        }
        if (interface == ActionInterface || interface.isEmpty())
            properties.insert(QStringLiteral("NActions"), 1);
        return properties;
    }

    static QVariantMap hyperlinkProperties(const LinkAt &at, const QString &interface)
    {
        QVariantMap properties;
        if (interface == HyperlinkInterface || interface.isEmpty()) {
            properties.insert(QStringLiteral("NAnchors"), QVariant::fromValue(qint16(1)));
            properties.insert(QStringLiteral("StartIndex"), at.link.start);
            properties.insert(QStringLiteral("EndIndex"), at.link.end);
        }
        return properties;
    }

    QPointer<QDBusVirtualObject> bridge;
};

QPointer<Extension> extension;
QPointer<QTimer> watch;

// Puts the extension in front of the bridge's adaptor once the bridge's connection and adaptor exist, and
// again when they are made anew.
bool place()
{
    QDBusConnection bus(ConnectionName);
    if (!bus.isConnected())
        return false;
    QObject *registered = bus.objectRegisteredAt(TreePath);
    if (registered && registered == extension)
        return true;
    auto *adaptor = qobject_cast<QDBusVirtualObject *>(registered);
    if (!adaptor)
        return false;
    auto *placed = new Extension(adaptor);
    bus.unregisterObject(TreePath, QDBusConnection::UnregisterNode);
    if (!bus.registerVirtualObject(TreePath, placed, QDBusConnection::SubPath)) {
        bus.registerVirtualObject(TreePath, adaptor, QDBusConnection::SubPath);
        delete placed;
        return false;
    }
    extension = placed;
    return true;
}

// The link that has the keyboard focus: the one the focused panel's selection covers.
QPointer<OurTextBrowser> focusedPanel;
int focusedLink = -1;

void sendEvent(const QString &path, const QString &interface, const QString &member, const QString &kind, int detail)
{
    QDBusMessage signal = QDBusMessage::createSignal(path, interface, member);
    signal << kind << detail << 0 << QVariant::fromValue(QDBusVariant(0)) << QVariant::fromValue(QVariantMap());
    QDBusConnection(ConnectionName).send(signal);
}

void sendFocus(const QString &path, bool focused)
{
    sendEvent(path, ObjectEvents, QStringLiteral("StateChanged"), QStringLiteral("focused"), focused ? 1 : 0);
    if (focused)
        sendEvent(path, FocusEvents, QStringLiteral("Focus"), QString(), 0);
}

QString focusPath()
{
    QWidget *widget = QApplication::focusWidget();
    QAccessibleInterface *iface = widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
    return iface ? pathOf(iface) : QString();
}

// A menu that opens takes the keyboard from the focused control and gives it back when it closes; Qt tells
// of neither, so a reader would not hear the menu open nor where the focus is after it.
void followMenu(QAccessibleEvent *event)
{
    auto *menu = qobject_cast<QMenu *>(event->object());
    if (!menu)
        return;
    const QString path = pathOf(QAccessible::queryAccessibleInterface(menu));
    const QString focus = focusPath();
    if (event->type() == QAccessible::PopupMenuStart) {
        if (!focus.isEmpty())
            sendFocus(focus, false);
        sendFocus(path, true);
    } else {
        sendFocus(path, false);
        if (!focus.isEmpty() && !QApplication::activePopupWidget())
            sendFocus(focus, true);
    }
}

void followLinkFocus()
{
    auto *panel = qobject_cast<OurTextBrowser *>(QApplication::focusWidget());
    const int link = panel ? panel->selectedLink() : -1;
    if (panel == focusedPanel && link == focusedLink)
        return;
    if (focusedPanel && focusedLink >= 0)
        sendFocus(linkPath(focusedPanel, focusedLink), false);
    focusedPanel = panel;
    focusedLink = link;
    if (panel && link >= 0) {
        sendFocus(linkPath(panel, link), true);
    }
}

} // namespace

void AtSpiBridge::install()
{
    if (watch)
        return;
    qDBusRegisterMetaType<SpiReference>();
    qDBusRegisterMetaType<QList<SpiReference>>();
    qDBusRegisterMetaType<SpiRelation>();
    qDBusRegisterMetaType<QList<SpiRelation>>();
    qDBusRegisterMetaType<SpiAction>();
    qDBusRegisterMetaType<QList<SpiAction>>();
    qDBusRegisterMetaType<QMap<QString, QString>>();
    // The bridge connects to the accessibility bus asynchronously, some time after the first window.
    watch = new QTimer(qApp);
    watch->setInterval(100);
    QObject::connect(watch, &QTimer::timeout, watch, [] {
        if (place())
            watch->stop();
    });
    watch->start();
}

void AtSpiBridge::notify(QAccessibleEvent *event)
{
    if (!extension || QDBusConnection(ConnectionName).objectRegisteredAt(TreePath) != extension)
        place();
    if (!extension)
        return;
    switch (event->type()) {
    case QAccessible::Focus:
    case QAccessible::TextCaretMoved:
    case QAccessible::TextSelectionChanged:
    case QAccessible::ObjectHide:
        followLinkFocus();
        break;
    case QAccessible::PopupMenuStart:
    case QAccessible::PopupMenuEnd:
        followMenu(event);
        break;
    default:
        break;
    }
}
