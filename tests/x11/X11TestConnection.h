#pragma once

// Access to the X server for the tests that run under Xvfb: Qt's own connection,
// and connections of a second client for what must come from another program.

#include <QGuiApplication>
#include <X11/Xlib.h>

namespace vtl::testing_x11 {

// Qt's connection; null when the tests do not run on xcb.
inline Display* qtDisplay() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->display() : nullptr;
}

// A connection of its own: to the server, another client than this program's Qt.
class OtherClient {
public:
    OtherClient() : m_display(XOpenDisplay(nullptr)) {}
    ~OtherClient() {
        if (m_display != nullptr) {
            XCloseDisplay(m_display);
        }
    }
    OtherClient(const OtherClient&) = delete;
    OtherClient& operator=(const OtherClient&) = delete;

    Display* display() const { return m_display; }

    // Grabs a key on the root window; false when the server refuses it
    // (another client holds it).
    bool grabKey(unsigned keycode, unsigned modifiers) {
        s_failed = false;
        const XErrorHandler previous = XSetErrorHandler(&OtherClient::onError);
        XGrabKey(m_display, static_cast<int>(keycode), modifiers, DefaultRootWindow(m_display),
                 False, GrabModeAsync, GrabModeAsync);
        XSync(m_display, False);
        XSetErrorHandler(previous);
        return !s_failed;
    }

    void ungrabKey(unsigned keycode, unsigned modifiers) {
        XUngrabKey(m_display, static_cast<int>(keycode), modifiers, DefaultRootWindow(m_display));
        XSync(m_display, False);
    }

private:
    static int onError(Display* /*display*/, XErrorEvent* /*error*/) {
        s_failed = true;
        return 0;
    }

    Display* m_display;
    static inline bool s_failed = false;
};

} // namespace vtl::testing_x11
