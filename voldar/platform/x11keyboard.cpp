#include "x11keyboard.h"

#include "layoutwatcher.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <utility>
#include <xcb/xcb.h>

// X11 headers last: they define macros (None, Bool, Status) that clash with Qt.
#include <X11/Xatom.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace platform::x11 {
namespace {

Display* display()
{
    const auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                          ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                          : nullptr;
    return app ? app->display() : nullptr;
}

// XKB layout names and the Windows language identifiers they stand for.
constexpr std::array<std::pair<const char16_t*, std::uint16_t>, 36> Languages{{
    {u"us", 0x0409}, {u"ru", 0x0419}, {u"gb", 0x0809}, {u"de", 0x0407}, {u"fr", 0x040C},
    {u"ua", 0x0422}, {u"by", 0x0423}, {u"kz", 0x043F}, {u"it", 0x0410}, {u"es", 0x0C0A},
    {u"pl", 0x0415}, {u"cz", 0x0405}, {u"tr", 0x041F}, {u"fi", 0x040B}, {u"se", 0x041D},
    {u"no", 0x0414}, {u"dk", 0x0406}, {u"nl", 0x0413}, {u"pt", 0x0816}, {u"br", 0x0416},
    {u"jp", 0x0411}, {u"cn", 0x0804}, {u"kr", 0x0412}, {u"il", 0x040D}, {u"gr", 0x0408},
    {u"hu", 0x040E}, {u"ro", 0x0418}, {u"bg", 0x0402}, {u"ee", 0x0425}, {u"lv", 0x0426},
    {u"lt", 0x0427}, {u"am", 0x042B}, {u"ge", 0x0437}, {u"az", 0x042C}, {u"uz", 0x0443},
    {u"ca", 0x0C0C},
}};

} // namespace

RulesNames parseRulesNames(const QByteArray& property)
{
    // rules \0 model \0 layouts \0 variants \0 options \0
    const QList<QByteArray> fields = property.split('\0');
    RulesNames names;
    if (fields.size() > 1)
        names.model = QString::fromLatin1(fields.at(1)).trimmed();
    if (fields.size() > 2) {
        for (const QByteArray& layout : fields.at(2).split(','))
            names.layouts.append(QString::fromLatin1(layout).trimmed());
    }
    return names;
}

std::uint16_t languageOf(const QString& layout)
{
    const auto found = std::find_if(Languages.begin(), Languages.end(),
                                    [&](const auto& entry) { return layout == entry.first; });
    return found == Languages.end() ? 0 : found->second;
}

int keyboardTypeOf(const QString& model, int which)
{
    // The usual PC keyboards are all the enhanced 101/102-key type (4) with
    // twelve function keys; Japanese 106-key keyboards are type 7.
    static constexpr std::array<const char16_t*, 4> Enhanced{u"pc101", u"pc102", u"pc104",
                                                             u"pc105"};
    const bool enhanced = std::any_of(Enhanced.begin(), Enhanced.end(),
                                      [&](const char16_t* name) { return model == name; });
    const bool japanese = model == u"jp106";
    if (!enhanced && !japanese)
        return 0;
    switch (which) {
    case 0:
        return enhanced ? 4 : 7;
    case 1:
        return 0;
    case 2:
        return 12;
    default:
        return 0;
    }
}

bool hasDisplay()
{
    return display() != nullptr;
}

int currentGroup()
{
    Display* const dpy = display();
    if (!dpy)
        return 0;
    XkbStateRec state{};
    if (XkbGetState(dpy, XkbUseCoreKbd, &state) != Success)
        return 0;
    return state.group;
}

RulesNames currentRulesNames()
{
    Display* const dpy = display();
    if (!dpy)
        return {};
    const Atom atom = XInternAtom(dpy, "_XKB_RULES_NAMES", True);
    if (atom == 0)
        return {};

    Atom type = 0;
    int format = 0;
    unsigned long items = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(dpy, DefaultRootWindow(dpy), atom, 0, 1024, False,
                                          XA_STRING, &type, &format, &items, &remaining, &data);
    RulesNames names;
    if (status == Success && data && format == 8)
        names = parseRulesNames(
            QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(items)));
    if (data)
        XFree(data);
    return names;
}

namespace {

std::uint32_t readLayout()
{
    const int group = currentGroup();
    const QStringList layouts = currentRulesNames().layouts;
    if (group < 0 || group >= layouts.size())
        return 0;
    return windowsLayout(languageOf(layouts.at(group)));
}

// Keeps the last layout read and marks it stale when the X server reports a
// change that can move it: XKB events (group, map or keyboard changes, which
// the window system already listens to) and changes of the rules-names
// property on the root window. After such a report it reads the layout once
// and announces it when it is another one.
class XkbLayoutWatcher : public LayoutWatcher, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit XkbLayoutWatcher(QObject* parent) : LayoutWatcher(parent)
    {
        Display* const dpy = display();
        int opcode = 0;
        int error = 0;
        int major = XkbMajorVersion;
        int minor = XkbMinorVersion;
        if (!XkbQueryExtension(dpy, &opcode, &m_xkbEventBase, &error, &major, &minor))
            m_xkbEventBase = -1;
        m_rulesAtom = XInternAtom(dpy, "_XKB_RULES_NAMES", False);
        // Group changes are what the indicator follows; ask for them explicitly
        // in case nothing else on this connection did.
        if (notifies())
            XkbSelectEventDetails(dpy, XkbUseCoreKbd, XkbStateNotify, XkbGroupStateMask,
                                  XkbGroupStateMask);
        qGuiApp->installNativeEventFilter(this);
    }
    ~XkbLayoutWatcher() override
    {
        // Also runs when the application deletes its children, after qGuiApp is gone.
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    bool notifies() const override { return m_xkbEventBase >= 0; }

    std::uint32_t layout() override
    {
        if (m_stale) {
            m_stale = false;
            m_layout = readLayout();
        }
        return m_layout;
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType == "xcb_generic_event_t" &&
            movesLayout(static_cast<const xcb_generic_event_t*>(message))) {
            m_stale = true;
            // One check for a burst of reports (a new keymap comes as several).
            if (!m_checkPending) {
                m_checkPending = true;
                QMetaObject::invokeMethod(this, &XkbLayoutWatcher::check, Qt::QueuedConnection);
            }
        }
        return false; // only watching; the window system handles the event
    }

private:
    bool movesLayout(const xcb_generic_event_t* event) const
    {
        const int type = event->response_type & 0x7f;
        if (type == XCB_PROPERTY_NOTIFY)
            return reinterpret_cast<const xcb_property_notify_event_t*>(event)->atom == m_rulesAtom;
        if (!notifies() || type != m_xkbEventBase)
            return false;
        // Every XKB event comes under one event code, its kind in the second
        // byte. A state change moves the layout only when it moves the group;
        // the modifier keys (every Shift) change the state as well.
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(event);
        if (bytes[XkbKindOffset] != XkbStateNotify)
            return true;
        std::uint16_t changed = 0;
        std::memcpy(&changed, bytes + StateChangedOffset, sizeof changed);
        return (changed & GroupChanges) != 0;
    }

    void check()
    {
        m_checkPending = false;
        const std::uint32_t now = layout();
        if (now == m_announced)
            return;
        m_announced = now;
        emit layoutChanged();
    }

    // The wire form of XKB events (XKBproto.h): the kind of event after the
    // event code, and the "changed" mask of a StateNotify.
    static constexpr std::size_t XkbKindOffset = 1;
    static constexpr std::size_t StateChangedOffset = 26;
    static constexpr std::uint16_t GroupChanges =
        XkbGroupStateMask | XkbGroupBaseMask | XkbGroupLatchMask | XkbGroupLockMask;

    int m_xkbEventBase = -1;
    Atom m_rulesAtom = 0;
    bool m_stale = true;
    bool m_checkPending = false;
    std::uint32_t m_layout = 0;
    std::uint32_t m_announced = 0; // what layoutChanged() last reported
};

} // namespace

LayoutWatcher* layoutWatcher()
{
    if (!hasDisplay())
        return nullptr;
    auto* watcher = qGuiApp->findChild<XkbLayoutWatcher*>(QString(), Qt::FindDirectChildrenOnly);
    return watcher ? watcher : new XkbLayoutWatcher(qGuiApp);
}

} // namespace platform::x11

#include "x11keyboard.moc"
