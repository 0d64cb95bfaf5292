#include "platform/WindowBus.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QTimer>
#include <QtGlobal>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <exception>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace vtl::platform {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::array<char, 4> kMagic{'V', 'W', 'M', '1'};
constexpr std::size_t kHeaderSize = 4 + 4 + 8 + 8 + 8 + 4;
constexpr std::size_t kReplySize = 4 + 8;
// Handles stay positive even when a peer reads them as signed 32-bit numbers.
constexpr WindowHandle kHighestHandle = 0x7FFFFFFF;
constexpr int kClaimAttempts = 64;
// A peer that has not finished its request by then is dropped, so a stalled
// client can neither hang the window nor keep a connection forever.
constexpr auto kRequestTimeLimit = std::chrono::seconds(3);
constexpr std::size_t kMaxPendingConnections = 32;
// An unlocked entry this young may belong to a publisher that has not started
// listening yet; it is not taken for stale.
constexpr std::time_t kStaleGraceSeconds = 2;
constexpr qint64 kMaxEntryBytes = 8192;

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.m_fd, -1));
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    void reset(int fd = -1) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = fd;
    }

private:
    int m_fd = -1;
};

struct RequestHeader {
    std::uint32_t message = 0;
    std::uint64_t wParam = 0;
    std::uint64_t lParam = 0;
    std::uint64_t dwData = 0;
    std::uint32_t cbData = 0;
};

void appendLe(QByteArray& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

std::uint64_t readLe(const char* in, int bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value |= std::uint64_t(static_cast<unsigned char>(in[i])) << (8 * i);
    }
    return value;
}

bool hasMagic(const char* in) {
    return std::memcmp(in, kMagic.data(), kMagic.size()) == 0;
}

std::optional<RequestHeader> parseHeader(const char* in) {
    if (!hasMagic(in)) {
        return std::nullopt;
    }
    RequestHeader header;
    header.message = static_cast<std::uint32_t>(readLe(in + 4, 4));
    header.wParam = readLe(in + 8, 8);
    header.lParam = readLe(in + 16, 8);
    header.dwData = readLe(in + 24, 8);
    header.cbData = static_cast<std::uint32_t>(readLe(in + 32, 4));
    if (header.cbData > kMaxCopyDataBytes) {
        return std::nullopt;
    }
    // Only WM_COPYDATA carries bytes; anything else with a payload is malformed.
    if (header.cbData != 0 && header.message != WM_COPYDATA) {
        return std::nullopt;
    }
    return header;
}

QByteArray encodeReply(std::int64_t result) {
    QByteArray out(kMagic.data(), kMagic.size());
    appendLe(out, static_cast<std::uint64_t>(result), 8);
    return out;
}

QString entryPath(const QString& folder, WindowHandle handle, const char* suffix) {
    return folder + QLatin1Char('/') + QString::number(handle) + QLatin1String(suffix);
}

std::optional<sockaddr_un> socketAddress(const QString& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.isEmpty() || std::size_t(encoded.size()) >= sizeof(address.sun_path)) {
        return std::nullopt;
    }
    std::memcpy(address.sun_path, encoded.constData(), std::size_t(encoded.size()));
    return address;
}

bool connectTo(int fd, const sockaddr_un& address) {
    int rc = 0;
    do {
        rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    } while (rc != 0 && errno == EINTR);
    return rc == 0;
}

// A live window's socket accepts a connection (or has a full backlog, which also
// means someone listens); a dead one refuses or is missing.
bool socketAnswers(const QString& path) {
    const auto address = socketAddress(path);
    if (!address) {
        return false;
    }
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd) {
        return false;
    }
    return connectTo(fd.get(), *address) || errno == EAGAIN || errno == EINPROGRESS;
}

struct EntryText {
    QString className;
    QString caption;
};

std::optional<EntryText> readEntry(const QString& path) {
    // O_NONBLOCK keeps a FIFO planted in the folder from blocking the search.
    UniqueFd fd(::open(QFile::encodeName(path).constData(),
                       O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    QByteArray text;
    std::array<char, 1024> chunk{};
    while (text.size() < kMaxEntryBytes) {
        const ssize_t n = ::read(fd.get(), chunk.data(), chunk.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        text.append(chunk.data(), n);
    }
    const QList<QByteArray> lines = text.split('\n');
    const auto line = [&lines](qsizetype index) {
        QByteArray value = index < lines.size() ? lines[index] : QByteArray();
        if (value.endsWith('\r')) {
            value.chop(1);
        }
        return QString::fromUtf8(value);
    };
    return EntryText{line(0), line(1)};
}

// One line each: a line break inside a name would shift the caption line.
QByteArray entryContent(const QString& className, const QString& caption) {
    const auto oneLine = [](QString text) {
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        text.replace(QLatin1Char('\r'), QLatin1Char(' '));
        return text.toUtf8();
    };
    return oneLine(className) + '\n' + oneLine(caption) + '\n';
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += n;
    }
    return true;
}

// Live publishers hold an exclusive flock on their description. An entry is
// removed only when nobody holds it, it is not brand new and its socket is dead;
// the inode check keeps us from deleting an entry that someone just re-created.
bool removeIfStale(const QString& folder, WindowHandle handle) {
    const QByteArray winPath = QFile::encodeName(entryPath(folder, handle, ".win"));
    UniqueFd fd(::open(winPath.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (!fd) {
        return errno == ENOENT;
    }
    struct stat held {};
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0 || ::fstat(fd.get(), &held) != 0) {
        return false;
    }
    if (std::time(nullptr) - held.st_mtime < kStaleGraceSeconds) {
        return false;
    }
    const QString sockPath = entryPath(folder, handle, ".sock");
    if (socketAnswers(sockPath)) {
        return false;
    }
    struct stat current {};
    if (::lstat(winPath.constData(), &current) != 0 || current.st_ino != held.st_ino ||
        current.st_dev != held.st_dev) {
        return false;
    }
    // The socket first: while the old description exists nobody else can claim
    // the handle, so the socket file still belongs to the dead owner.
    ::unlink(QFile::encodeName(sockPath).constData());
    ::unlink(winPath.constData());
    return true;
}

std::optional<WindowHandle> parseHandle(const QString& fileName) {
    const QString base = fileName.chopped(4); // ".win"
    bool ok = false;
    const uint value = base.toUInt(&ok, 10);
    // Only the canonical spelling names the matching socket file.
    if (!ok || value == 0 || QString::number(value) != base) {
        return std::nullopt;
    }
    return WindowHandle(value);
}

int remainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return int(std::clamp<long long>(left, 0, 1'000'000));
}

bool waitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const int ms = remainingMs(deadline);
        if (ms <= 0) {
            return false;
        }
        pollfd entry{fd, events, 0};
        const int rc = ::poll(&entry, 1, ms);
        if (rc < 0 && errno == EINTR) {
            continue;
        }
        return rc > 0;
    }
}

bool sendAll(int fd, const QByteArray& bytes, Clock::time_point deadline) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::send(fd, bytes.constData() + done, std::size_t(bytes.size() - done), MSG_NOSIGNAL);
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            if (!waitFor(fd, POLLOUT, deadline)) {
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

bool receiveExactly(int fd, char* out, std::size_t size, Clock::time_point deadline) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::recv(fd, out + done, size - done, 0);
        if (n > 0) {
            done += std::size_t(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            if (!waitFor(fd, POLLIN, deadline)) {
                return false;
            }
        } else {
            return false; // closed early or failed
        }
    }
    return true;
}

} // namespace

QString busFolder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const QString path = runtime.isEmpty()
                             ? QStringLiteral("/tmp/vantrelle-windows-%1").arg(::geteuid())
                             : QFile::decodeName(runtime) + QStringLiteral("/vantrelle-windows");
    if (!path.startsWith(QLatin1Char('/'))) {
        return {};
    }
    const QByteArray encoded = QFile::encodeName(path);
    if (::mkdir(encoded.constData(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    // Opened without following links: a symlink or someone else's folder in a
    // shared /tmp must never become our bus.
    UniqueFd dir(::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (!dir || ::fstat(dir.get(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::geteuid()) {
        return {};
    }
    if ((info.st_mode & 07777) != 0700 && ::fchmod(dir.get(), 0700) != 0) {
        return {};
    }
    return path;
}

std::uint32_t registerWindowMessage(std::string_view name) {
    std::uint32_t hash = 0x811C9DC5u;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x01000193u;
    }
    return 0xC000u + hash % 0x4000u;
}

WindowHandle findWindow(const QString& className, const std::optional<QString>& caption) {
    const QString folder = busFolder();
    if (folder.isEmpty()) {
        return 0;
    }
    std::vector<WindowHandle> handles;
    const QStringList names = QDir(folder).entryList({QStringLiteral("*.win")},
                                                     QDir::Files | QDir::System | QDir::NoSymLinks);
    for (const QString& name : names) {
        if (const auto handle = parseHandle(name)) {
            handles.push_back(*handle);
        }
    }
    std::sort(handles.begin(), handles.end());
    for (const WindowHandle handle : handles) {
        const auto entry = readEntry(entryPath(folder, handle, ".win"));
        if (!entry || entry->className != className || (caption && entry->caption != *caption)) {
            continue;
        }
        if (socketAnswers(entryPath(folder, handle, ".sock"))) {
            return handle;
        }
        removeIfStale(folder, handle);
    }
    return 0;
}

QByteArray encodeRequest(const BusMessage& message) {
    const bool carriesData = message.message == WM_COPYDATA;
    QByteArray out(kMagic.data(), kMagic.size());
    appendLe(out, message.message, 4);
    appendLe(out, message.wParam, 8);
    appendLe(out, carriesData ? 0 : message.lParam, 8);
    appendLe(out, message.dwData, 8);
    appendLe(out, carriesData ? std::uint64_t(message.data.size()) : 0, 4);
    if (carriesData) {
        out.append(message.data);
    }
    return out;
}

std::optional<std::int64_t> sendMessage(WindowHandle target, const BusMessage& message,
                                        std::chrono::milliseconds timeout) {
    if (target == 0 || timeout.count() <= 0 ||
        (message.message == WM_COPYDATA && std::size_t(message.data.size()) > kMaxCopyDataBytes)) {
        return std::nullopt;
    }
    const QString folder = busFolder();
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    const auto address = socketAddress(entryPath(folder, target, ".sock"));
    if (!address) {
        return std::nullopt;
    }
    const auto deadline = Clock::now() + timeout;
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd) {
        return std::nullopt;
    }
    // A blocking connect waits for room in a full backlog; the send time-out
    // bounds that wait.
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(timeout).count();
    const timeval limit{static_cast<time_t>(micros / 1'000'000),
                        static_cast<suseconds_t>(std::max<long long>(micros % 1'000'000, 1))};
    ::setsockopt(fd.get(), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof(limit));
    if (!connectTo(fd.get(), *address)) {
        return std::nullopt;
    }
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags | O_NONBLOCK) != 0) {
        return std::nullopt;
    }
    if (!sendAll(fd.get(), encodeRequest(message), deadline)) {
        return std::nullopt;
    }
    std::array<char, kReplySize> reply{};
    if (!receiveExactly(fd.get(), reply.data(), reply.size(), deadline) ||
        !hasMagic(reply.data())) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(readLe(reply.data() + 4, 8));
}

// ---------------------------------------------------------------------------

struct BusWindow::Impl {
    // One message in flight: read exactly the request, answer once, close.
    struct Connection {
        UniqueFd fd;
        std::unique_ptr<QSocketNotifier> notifier;
        std::vector<char> buffer = std::vector<char>(kHeaderSize);
        std::size_t received = 0;
        std::optional<RequestHeader> header;
        Clock::time_point deadline;

        ~Connection() { close(); }

        // Safe from inside the notifier's own signal: the notifier is only
        // disabled here and deleted once control is back in the event loop.
        void close() {
            if (notifier) {
                notifier->setEnabled(false);
                notifier.release()->deleteLater();
            }
            fd.reset();
        }
    };
    using ConnectionPtr = std::shared_ptr<Connection>;

    explicit Impl(BusWindow* owner, QString windowClass, QString windowCaption)
        : q(owner), className(std::move(windowClass)), caption(std::move(windowCaption)) {}

    ~Impl() {
        listenNotifier.reset();
        listener.reset();
        if (handle != 0) {
            ::unlink(QFile::encodeName(entryPath(folder, handle, ".sock")).constData());
            ::unlink(QFile::encodeName(entryPath(folder, handle, ".win")).constData());
        }
        entryLock.reset();
        pending.clear();
    }

    void publish();
    bool claimHandle();
    bool listen();
    void acceptPeers();
    void readFrom(const ConnectionPtr& connection);
    void dispatch(ConnectionPtr connection);
    void drop(ConnectionPtr connection);
    void dropExpired();

    BusWindow* q;
    QString className;
    QString caption;
    QString folder;
    WindowHandle handle = 0;
    UniqueFd entryLock; // held for the window's life: marks the entry as live
    UniqueFd listener;
    std::unique_ptr<QSocketNotifier> listenNotifier;
    QTimer expiryTimer;
    std::vector<ConnectionPtr> pending;
    Handler handler;
};

void BusWindow::Impl::publish() {
    folder = busFolder();
    if (folder.isEmpty() || !claimHandle()) {
        return;
    }
    if (!listen()) {
        ::unlink(QFile::encodeName(entryPath(folder, handle, ".win")).constData());
        entryLock.reset();
        handle = 0;
        return;
    }
    expiryTimer.setInterval(500);
    QObject::connect(&expiryTimer, &QTimer::timeout, q, [this] { dropExpired(); });
}

// The description is written and locked under a private name first, then linked
// to <handle>.win: link() fails on an existing name, so the claim is exclusive
// and a reader never sees half a description.
bool BusWindow::Impl::claimHandle() {
    QByteArray scratch = QFile::encodeName(folder + QStringLiteral("/.claim-XXXXXX"));
    UniqueFd fd(::mkostemp(scratch.data(), O_CLOEXEC));
    if (!fd) {
        return false;
    }
    const bool ready = ::fchmod(fd.get(), 0600) == 0 && ::flock(fd.get(), LOCK_EX) == 0 &&
                       writeAll(fd.get(), entryContent(className, caption));
    bool claimed = false;
    for (int attempt = 0; ready && !claimed && attempt < kClaimAttempts; ++attempt) {
        const WindowHandle candidate = QRandomGenerator::global()->bounded(1u, kHighestHandle + 1u);
        const QByteArray target = QFile::encodeName(entryPath(folder, candidate, ".win"));
        claimed = ::link(scratch.constData(), target.constData()) == 0;
        if (!claimed && errno == EEXIST && removeIfStale(folder, candidate)) {
            claimed = ::link(scratch.constData(), target.constData()) == 0;
        }
        if (claimed) {
            handle = candidate;
        } else if (errno != EEXIST) {
            break;
        }
    }
    ::unlink(scratch.constData());
    if (claimed) {
        entryLock = std::move(fd);
    }
    return claimed;
}

bool BusWindow::Impl::listen() {
    const QString path = entryPath(folder, handle, ".sock");
    const auto address = socketAddress(path);
    if (!address) {
        return false;
    }
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd) {
        return false;
    }
    const QByteArray encoded = QFile::encodeName(path);
    ::unlink(encoded.constData()); // left over by a dead owner of this handle
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof(*address)) != 0) {
        return false;
    }
    ::chmod(encoded.constData(), 0600);
    if (::listen(fd.get(), SOMAXCONN) != 0) {
        ::unlink(encoded.constData());
        return false;
    }
    listener = std::move(fd);
    listenNotifier = std::make_unique<QSocketNotifier>(listener.get(), QSocketNotifier::Read);
    QObject::connect(listenNotifier.get(), &QSocketNotifier::activated, q,
                     [this] { acceptPeers(); });
    return true;
}

void BusWindow::Impl::acceptPeers() {
    for (;;) {
        UniqueFd fd(::accept4(listener.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!fd) {
            if (errno == EINTR || errno == ECONNABORTED) {
                continue;
            }
            return; // EAGAIN, or out of descriptors until the next round
        }
        ucred peer{};
        socklen_t size = sizeof(peer);
        if (::getsockopt(fd.get(), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 ||
            peer.uid != ::geteuid()) {
            continue;
        }
        // Make room rather than refuse: the newest peer is the likeliest to be a
        // working one, the oldest the likeliest to be stuck.
        if (pending.size() >= kMaxPendingConnections) {
            drop(pending.front());
        }
        auto connection = std::make_shared<Connection>();
        connection->fd = std::move(fd);
        connection->deadline = Clock::now() + kRequestTimeLimit;
        connection->notifier =
            std::make_unique<QSocketNotifier>(connection->fd.get(), QSocketNotifier::Read);
        const std::weak_ptr<Connection> weak = connection;
        QObject::connect(connection->notifier.get(), &QSocketNotifier::activated, q, [this, weak] {
            if (const auto alive = weak.lock()) {
                readFrom(alive);
            }
        });
        pending.push_back(std::move(connection));
        if (!expiryTimer.isActive()) {
            expiryTimer.start();
        }
    }
}

// Reads only what the request announces; nothing past cbData is consumed.
void BusWindow::Impl::readFrom(const ConnectionPtr& connection) {
    Connection& c = *connection;
    for (;;) {
        if (c.received == c.buffer.size()) {
            if (c.header) {
                dispatch(connection);
                return;
            }
            c.header = parseHeader(c.buffer.data());
            if (!c.header) {
                drop(connection);
                return;
            }
            c.buffer.resize(kHeaderSize + c.header->cbData);
            continue;
        }
        const ssize_t n =
            ::recv(c.fd.get(), c.buffer.data() + c.received, c.buffer.size() - c.received, 0);
        if (n > 0) {
            c.received += std::size_t(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            return; // the rest comes with a later notification
        } else {
            drop(connection); // closed early or failed
            return;
        }
    }
}

// The handler may run a nested event loop, in which other connections are
// served and this window may even be destroyed. The connection stays alive
// through the local reference, and nothing of `this` is touched afterwards.
void BusWindow::Impl::dispatch(ConnectionPtr connection) {
    std::erase(pending, connection);
    connection->notifier->setEnabled(false);

    const RequestHeader& header = *connection->header;
    BusMessage message;
    message.message = header.message;
    message.wParam = header.wParam;
    message.lParam = header.lParam;
    message.dwData = header.dwData;
    message.data = QByteArray(connection->buffer.data() + kHeaderSize, qsizetype(header.cbData));

    const Handler current = handler; // setHandler() inside the handler must not free it
    std::int64_t result = 0;
    if (current) {
        try {
            result = current(message);
        } catch (const std::exception& error) {
            qWarning("Window bus: message %u failed: %s", message.message, error.what());
            connection->close();
            return;
        }
    }
    // A sender that already gave up is no error (and must not raise SIGPIPE).
    const QByteArray reply = encodeReply(result);
    ::send(connection->fd.get(), reply.constData(), std::size_t(reply.size()), MSG_NOSIGNAL);
    connection->close();
}

void BusWindow::Impl::drop(ConnectionPtr connection) {
    connection->close();
    std::erase(pending, connection);
}

void BusWindow::Impl::dropExpired() {
    const auto now = Clock::now();
    const std::vector<ConnectionPtr> snapshot = pending;
    for (const ConnectionPtr& connection : snapshot) {
        if (connection->deadline <= now) {
            drop(connection);
        }
    }
    if (pending.empty()) {
        expiryTimer.stop();
    }
}

// ---------------------------------------------------------------------------

BusWindow::BusWindow(const QString& className, const QString& caption, QObject* parent)
    : QObject(parent), d(std::make_unique<Impl>(this, className, caption)) {
    d->publish();
}

BusWindow::~BusWindow() = default;

WindowHandle BusWindow::handle() const {
    return d->handle;
}

QString BusWindow::className() const {
    return d->className;
}

void BusWindow::setHandler(Handler handler) {
    d->handler = std::move(handler);
}

} // namespace vtl::platform
