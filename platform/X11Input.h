#pragma once

// The global show/hide hot key and synthesised key presses, on X11. Without an
// X11 display the hot key does not register and key presses do nothing.

#include <QAbstractNativeEventFilter>
#include <QFlags>
#include <QObject>
#include <cstdint>
#include <vector>

class QWidget;

namespace vtl::platform {

enum class Modifier { Shift = 1, Alt = 2, Ctrl = 4 };
Q_DECLARE_FLAGS(Modifiers, Modifier)
Q_DECLARE_OPERATORS_FOR_FLAGS(Modifiers)

inline constexpr std::uint16_t VK_SHIFT = 0x10;
inline constexpr std::uint16_t VK_CONTROL = 0x11;
inline constexpr std::uint16_t VK_MENU = 0x12;

struct KeyEvent {
    std::uint16_t virtualKey = 0;
    bool down = true;
    bool extended = false;
    bool operator==(const KeyEvent&) const = default;
};

// Modifiers pressed Ctrl, Shift, Alt, then the key down and up, then the
// modifiers released in reverse order.
std::vector<KeyEvent> keystrokeSequence(std::uint16_t key, Modifiers shift, bool extended);

// Sends the sequence through XTest. Virtual keys 0x30-0x39 and 0x41-0x5A map to
// their digits and letters.
void SendKeystroke(std::uint16_t key, Modifiers shift, bool extended);

// A system-wide hot key for a virtual key with modifiers (grabbed with every
// NumLock/CapsLock variant). Emits pressed() whichever program has the focus.
class GlobalHotKey : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    GlobalHotKey(std::uint16_t key, Modifiers modifiers, QObject* parent = nullptr);
    ~GlobalHotKey() override;

    bool isRegistered() const { return m_registered; }
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    void pressed();

private:
    void grab(bool on);

    unsigned m_keycode = 0;
    unsigned m_modMask = 0;
    unsigned long m_root = 0; // the X11 root window the key is grabbed on
    bool m_registered = false;
};

// Sets the X11 WM_CLASS of a top-level widget (creating its native window).
void setWindowClass(QWidget* window, const QString& className);

} // namespace vtl::platform
