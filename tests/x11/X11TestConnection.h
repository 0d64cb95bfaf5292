#pragma once

// Access to the X server for the tests that run under Xvfb: Qt's own connection,
// and a connection of a second client for what must come from another program.
// Xlib's headers stay in the .cpp: their macros (None, Bool, Unsorted...) break
// Qt's and GoogleTest's headers.

#include <QString>
#include <utility>

using Display = struct _XDisplay;

namespace vtl::testing_x11 {

// Modifier bits of the X11 core protocol.
inline constexpr unsigned kShiftMask = 1U << 0;
inline constexpr unsigned kLockMask = 1U << 1; // CapsLock
inline constexpr unsigned kControlMask = 1U << 2;
inline constexpr unsigned kMod1Mask = 1U << 3; // Alt
inline constexpr unsigned kMod2Mask = 1U << 4; // NumLock

// Qt's connection; null when the tests do not run on xcb.
Display* qtDisplay();

// Waits until the server has handled everything sent on Qt's connection.
void syncQt();

// The key code of a Latin-1 character's key (its keysym is its code) on Qt's
// connection; 0 when the keyboard has none.
unsigned keycodeOf(char character);

// Whether the server sees any key held down.
bool anyKeyDown();

// The window that has the keyboard focus on the server.
unsigned long inputFocus();

// WM_CLASS of a window: instance name and class name.
std::pair<QString, QString> windowClass(unsigned long window);

// Switches lock modifiers (kLockMask, kMod2Mask) on for the lifetime of the object.
class ScopedLockedModifiers {
public:
    explicit ScopedLockedModifiers(unsigned mask);
    ~ScopedLockedModifiers();
    ScopedLockedModifiers(const ScopedLockedModifiers&) = delete;
    ScopedLockedModifiers& operator=(const ScopedLockedModifiers&) = delete;

    // The modifiers the server has locked now.
    static unsigned locked();

private:
    unsigned m_mask;
};

// A connection of its own to $DISPLAY: to the server, another client than this
// program's Qt.
class OtherClient {
public:
    OtherClient();
    ~OtherClient();
    OtherClient(const OtherClient&) = delete;
    OtherClient& operator=(const OtherClient&) = delete;

    bool isConnected() const { return m_display != nullptr; }

    // Grabs a key on the root window; false when the server refuses it
    // (another client holds it).
    bool grabKey(unsigned keycode, unsigned modifiers);
    void ungrabKey(unsigned keycode, unsigned modifiers);

private:
    Display* m_display;
};

} // namespace vtl::testing_x11
