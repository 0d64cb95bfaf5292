#include "X11TestConnection.h"

#include <QGuiApplication>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <array>

namespace vtl::testing_x11 {

namespace {

// Xlib error handlers take no user data.
bool g_failed = false;

int onError(Display* /*display*/, XErrorEvent* /*error*/) {
    g_failed = true;
    return 0;
}

} // namespace

Display* qtDisplay() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->display() : nullptr;
}

void syncQt() {
    XSync(qtDisplay(), False);
}

unsigned keycodeOf(char character) {
    return XKeysymToKeycode(qtDisplay(), static_cast<unsigned char>(character));
}

bool anyKeyDown() {
    std::array<char, 32> keys{};
    XQueryKeymap(qtDisplay(), keys.data());
    return std::any_of(keys.begin(), keys.end(), [](char k) { return k != 0; });
}

unsigned long inputFocus() {
    Window focus = 0;
    int revertTo = 0;
    XGetInputFocus(qtDisplay(), &focus, &revertTo);
    return focus;
}

std::pair<QString, QString> windowClass(unsigned long window) {
    XClassHint hint{};
    if (XGetClassHint(qtDisplay(), window, &hint) == 0) {
        return {};
    }
    std::pair<QString, QString> names{QString::fromLatin1(hint.res_name),
                                      QString::fromLatin1(hint.res_class)};
    XFree(hint.res_name);
    XFree(hint.res_class);
    return names;
}

ScopedLockedModifiers::ScopedLockedModifiers(unsigned mask) : m_mask(mask) {
    XkbLockModifiers(qtDisplay(), XkbUseCoreKbd, m_mask, m_mask);
    XSync(qtDisplay(), False);
}

ScopedLockedModifiers::~ScopedLockedModifiers() {
    XkbLockModifiers(qtDisplay(), XkbUseCoreKbd, m_mask, 0);
    XSync(qtDisplay(), False);
}

unsigned ScopedLockedModifiers::locked() {
    XkbStateRec state{};
    XkbGetState(qtDisplay(), XkbUseCoreKbd, &state);
    return state.locked_mods;
}

OtherClient::OtherClient() : m_display(XOpenDisplay(nullptr)) {}

OtherClient::~OtherClient() {
    if (m_display != nullptr) {
        XCloseDisplay(m_display);
    }
}

bool OtherClient::grabKey(unsigned keycode, unsigned modifiers) {
    g_failed = false;
    const XErrorHandler previous = XSetErrorHandler(&onError);
    XGrabKey(m_display, static_cast<int>(keycode), modifiers, DefaultRootWindow(m_display), False,
             GrabModeAsync, GrabModeAsync);
    XSync(m_display, False);
    XSetErrorHandler(previous);
    return !g_failed;
}

void OtherClient::ungrabKey(unsigned keycode, unsigned modifiers) {
    XUngrabKey(m_display, static_cast<int>(keycode), modifiers, DefaultRootWindow(m_display));
    XSync(m_display, False);
}

} // namespace vtl::testing_x11
