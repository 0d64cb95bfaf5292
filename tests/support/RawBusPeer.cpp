#include "support/RawBusPeer.h"

#include <QString>
#include <algorithm>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace vtl::test {

void sendRawAndHangUp(platform::WindowHandle handle, const QByteArray& bytes,
                      std::chrono::milliseconds hold) {
    const QByteArray path =
        (platform::busFolder() + QStringLiteral("/%1.sock").arg(handle)).toUtf8();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(),
                std::min<std::size_t>(path.size(), sizeof address.sun_path - 1));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return;
    }
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        [[maybe_unused]] const auto written = ::write(fd, bytes.constData(), bytes.size());
        std::this_thread::sleep_for(hold);
    }
    ::close(fd);
}

} // namespace vtl::test
