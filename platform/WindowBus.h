#pragma once

// Window search and window messages between processes of the same user.
//
// A published window owns a positive 32-bit handle, listens on
// <folder>/<handle>.sock and describes itself in <folder>/<handle>.win (class name
// and caption, one per line). A message is one connection: request, handler on the
// receiver's user-interface thread, reply. The wire format is documented for
// plug-in authors in docs/plugin-protocol.md.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

namespace vtl::platform {

using WindowHandle = std::uint32_t;

inline constexpr std::uint32_t WM_COPYDATA = 0x004A;
inline constexpr std::uint32_t kMaxCopyDataBytes = 65536;
inline constexpr std::chrono::milliseconds kSendTimeout{5000};

struct BusMessage {
    std::uint32_t message = 0;
    std::uint64_t wParam = 0;
    std::uint64_t lParam = 0;
    std::uint64_t dwData = 0;
    QByteArray data; // only WM_COPYDATA carries bytes
};

// The per-user bus folder: $XDG_RUNTIME_DIR/vantrelle-windows, or
// /tmp/vantrelle-windows-<uid> without that variable. Created with mode 0700.
QString busFolder();

// The same number in every process for the same name (RegisterWindowMessage).
std::uint32_t registerWindowMessage(std::string_view name);

// Lowest live handle whose class (and caption, when given) match exactly; 0 if none.
WindowHandle findWindow(const QString& className, const std::optional<QString>& caption = {});

// Blocks until the receiver answers or the time limit passes. No value on failure:
// no such window, refused connection, time-out or a malformed reply.
std::optional<std::int64_t> sendMessage(WindowHandle target, const BusMessage& message,
                                        std::chrono::milliseconds timeout = kSendTimeout);

// Request encoding, shared by senders and by tests that play a hostile peer.
QByteArray encodeRequest(const BusMessage& message);

// A window published on the bus for as long as the object lives. Messages are
// handled on the thread that created it, inside whatever event loop runs there.
class BusWindow : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<std::int64_t(const BusMessage&)>;

    BusWindow(const QString& className, const QString& caption, QObject* parent = nullptr);
    ~BusWindow() override;
    BusWindow(const BusWindow&) = delete;
    BusWindow& operator=(const BusWindow&) = delete;

    // 0 when the window could not be published (the bus folder is unusable).
    WindowHandle handle() const;
    QString className() const;
    void setHandler(Handler handler);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace vtl::platform
