#include "platform/X11Input.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <array>
#include <xcb/xcb.h>
#include <xcb/xproto.h>

namespace vtl::platform {

namespace {

// Modifiers in the order they go down; they come up in the opposite order.
struct ModifierKey {
    Modifier modifier;
    std::uint16_t virtualKey;
};
constexpr std::array<ModifierKey, 3> kModifierKeys{{
    {Modifier::Ctrl, VK_CONTROL},
    {Modifier::Shift, VK_SHIFT},
    {Modifier::Alt, VK_MENU},
}};

// The lock modifiers a user may have switched on; a hot key must fire whatever
// their state.
constexpr std::array<unsigned, 4> kLockVariants{0, LockMask, Mod2Mask, LockMask | Mod2Mask};

// Only the eight modifier bits; the pointer button bits of an event state do not
// take part in a key grab.
constexpr unsigned kModifierBits = 0xFF;

KeySym keysymForVirtualKey(std::uint16_t key) {
    if (key >= 0x41 && key <= 0x5A) {
        return XK_a + (key - 0x41);
    }
    if (key >= 0x30 && key <= 0x39) {
        return XK_0 + (key - 0x30);
    }
    switch (key) {
    case VK_CONTROL:
        return XK_Control_L;
    case VK_SHIFT:
        return XK_Shift_L;
    case VK_MENU:
        return XK_Alt_L;
    default:
        return NoSymbol;
    }
}

unsigned x11ModifierMask(Modifiers modifiers) {
    unsigned mask = 0;
    if (modifiers.testFlag(Modifier::Ctrl)) {
        mask |= ControlMask;
    }
    if (modifiers.testFlag(Modifier::Shift)) {
        mask |= ShiftMask;
    }
    if (modifiers.testFlag(Modifier::Alt)) {
        mask |= Mod1Mask;
    }
    return mask;
}

// Qt's own Xlib connection, or null when the application does not run on xcb.
Display* qtDisplay() {
    if (qGuiApp == nullptr || QGuiApplication::platformName() != QLatin1String("xcb")) {
        return nullptr;
    }
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->display() : nullptr;
}

// Qt's connection when there is one; otherwise a connection of our own to
// $DISPLAY for as long as this object lives, so that a process without an X11
// window (or without any application object) can still type.
class X11Connection {
public:
    X11Connection() : m_display(qtDisplay()) {
        if (m_display == nullptr) {
            m_display = XOpenDisplay(nullptr);
            m_owned = m_display != nullptr;
        }
    }
    ~X11Connection() {
        if (m_owned) {
            XCloseDisplay(m_display);
        }
    }
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    Display* display() const { return m_display; }

private:
    Display* m_display = nullptr;
    bool m_owned = false;
};

// Catches the X errors of the requests made while it lives instead of letting
// them reach the previous handler. Xlib error handlers take no user data, hence
// the one flag; grabs happen on the user-interface thread only.
class ScopedErrorTrap {
public:
    ScopedErrorTrap() : m_previous(XSetErrorHandler(&ScopedErrorTrap::handle)) { s_failed = false; }
    ~ScopedErrorTrap() { XSetErrorHandler(m_previous); }
    ScopedErrorTrap(const ScopedErrorTrap&) = delete;
    ScopedErrorTrap& operator=(const ScopedErrorTrap&) = delete;

    // Waits for the server to answer everything sent so far.
    bool failed(Display* display) const {
        XSync(display, False);
        return s_failed;
    }

private:
    static int handle(Display* /*display*/, XErrorEvent* /*error*/) {
        s_failed = true;
        return 0;
    }

    XErrorHandler m_previous;
    static inline bool s_failed = false;
};

} // namespace

std::vector<KeyEvent> keystrokeSequence(std::uint16_t key, Modifiers shift, bool extended) {
    std::vector<KeyEvent> events;
    for (const auto& mod : kModifierKeys) {
        if (shift.testFlag(mod.modifier)) {
            events.push_back({mod.virtualKey, true, false});
        }
    }
    events.push_back({key, true, extended});
    events.push_back({key, false, extended});
    for (auto it = kModifierKeys.rbegin(); it != kModifierKeys.rend(); ++it) {
        if (shift.testFlag(it->modifier)) {
            events.push_back({it->virtualKey, false, false});
        }
    }
    return events;
}

void SendKeystroke(std::uint16_t key, Modifiers shift, bool extended) {
    // Pressing the modifiers alone would achieve nothing.
    if (keysymForVirtualKey(key) == NoSymbol) {
        return;
    }
    const X11Connection connection;
    Display* display = connection.display();
    if (display == nullptr) {
        return;
    }
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        return;
    }
    // X11 key codes already tell the two Ctrl or Enter keys apart, so the
    // extended flag has nothing to do here.
    for (const KeyEvent& event : keystrokeSequence(key, shift, extended)) {
        const KeyCode code = XKeysymToKeycode(display, keysymForVirtualKey(event.virtualKey));
        if (code != 0) {
            XTestFakeKeyEvent(display, code, event.down ? True : False, CurrentTime);
        }
    }
    XSync(display, False);
}

GlobalHotKey::GlobalHotKey(std::uint16_t key, Modifiers modifiers, QObject* parent)
    : QObject(parent) {
    Display* display = qtDisplay();
    const KeySym keysym = keysymForVirtualKey(key);
    if (display == nullptr || keysym == NoSymbol) {
        return;
    }
    m_keycode = XKeysymToKeycode(display, keysym);
    if (m_keycode == 0) {
        return;
    }
    m_modMask = x11ModifierMask(modifiers);
    m_root = DefaultRootWindow(display);
    grab(true);
    if (m_registered) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
}

GlobalHotKey::~GlobalHotKey() {
    if (m_registered) {
        if (auto* app = QCoreApplication::instance()) {
            app->removeNativeEventFilter(this);
        }
        grab(false);
    }
}

void GlobalHotKey::grab(bool on) {
    Display* display = qtDisplay();
    if (display == nullptr) {
        // The connection is gone with the application, and its grabs with it.
        m_registered = false;
        return;
    }
    if (!on) {
        // Releasing a grab that another client holds is a no-op, so this is also
        // the clean-up after a partly failed grab.
        for (const unsigned lock : kLockVariants) {
            XUngrabKey(display, static_cast<int>(m_keycode), m_modMask | lock, m_root);
        }
        XFlush(display);
        m_registered = false;
        return;
    }
    const ScopedErrorTrap trap;
    // owner_events False: the press is reported on the root window even when
    // one of our own windows has the focus, which is where the filter looks.
    for (const unsigned lock : kLockVariants) {
        XGrabKey(display, static_cast<int>(m_keycode), m_modMask | lock, m_root, False,
                 GrabModeAsync, GrabModeAsync);
    }
    m_registered = !trap.failed(display);
    if (!m_registered) {
        // Another client holds (some of) the combination: undo our part.
        for (const unsigned lock : kLockVariants) {
            XUngrabKey(display, static_cast<int>(m_keycode), m_modMask | lock, m_root);
        }
        XSync(display, False);
    }
}

bool GlobalHotKey::nativeEventFilter(const QByteArray& eventType, void* message,
                                     qintptr* /*result*/) {
    if (!m_registered || message == nullptr || eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_KEY_PRESS) {
        return false;
    }
    const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
    const unsigned state = press->state & kModifierBits & ~unsigned{LockMask | Mod2Mask};
    if (press->detail == m_keycode && press->event == m_root && state == m_modMask) {
        emit pressed();
    }
    // Not consumed: another hot key for the same combination may want it too,
    // and Qt ignores key events on the root window anyway.
    return false;
}

void setWindowClass(QWidget* window, const QString& className) {
    Display* display = qtDisplay();
    if (window == nullptr || display == nullptr) {
        return;
    }
    QWidget* topLevel = window->window();
    const WId id = topLevel->winId();
    // WM_CLASS is of type STRING, which is Latin-1.
    QByteArray name = className.toLatin1();
    XClassHint hint{};
    hint.res_name = name.data();
    hint.res_class = name.data();
    XSetClassHint(display, id, &hint);
    XFlush(display);
}

} // namespace vtl::platform
