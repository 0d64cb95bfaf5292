#include "platform/WindowBus.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;
using namespace vtl::platform;

namespace {

// Generous: only there so that a fault shows as a failure instead of a hang.
constexpr auto kHangLimit = 20s;

using Reply = std::optional<std::int64_t>;

class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { reset(); }
    Fd(Fd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Fd& operator=(Fd&&) = delete;
    int get() const { return m_fd; }
    void reset() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = -1;
    }

private:
    int m_fd;
};

sockaddr_un addressOf(const QString& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(path);
    std::memcpy(address.sun_path, encoded.constData(), std::size_t(encoded.size()));
    return address;
}

// Processes events on this thread, the one the windows live on, until `done`.
bool serveUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = kHangLimit) {
    if (done()) {
        return true;
    }
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    poll.start(5);
    QTimer::singleShot(limit, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

void pauseFor(std::chrono::milliseconds time) {
    QEventLoop loop;
    QTimer::singleShot(time, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs `work` on a thread of its own, so that a hang fails the test instead of
// blocking it: nothing comes back if it does not finish within the limit.
template <typename Work> auto withinHangLimit(Work work) {
    using Result = decltype(work());
    auto promise = std::make_shared<std::promise<Result>>();
    auto result = promise->get_future();
    std::thread([promise, work] { promise->set_value(work()); }).detach();
    return result.wait_for(kHangLimit) == std::future_status::ready
               ? std::optional<Result>(result.get())
               : std::nullopt;
}

template <typename T> bool isReady(const std::future<T>& future) {
    return future.wait_for(0s) == std::future_status::ready;
}

// sendMessage blocks its caller, so it runs on another thread while this one
// handles the request.
std::future<Reply> sendAsync(WindowHandle target, BusMessage message,
                             std::chrono::milliseconds timeout = kSendTimeout) {
    return std::async(std::launch::async, [=] { return sendMessage(target, message, timeout); });
}

Reply sendServed(WindowHandle target, const BusMessage& message,
                 std::chrono::milliseconds timeout = kSendTimeout) {
    auto reply = sendAsync(target, message, timeout);
    serveUntil([&] { return isReady(reply); });
    return reply.get();
}

BusMessage plainMessage(std::uint64_t wParam) {
    BusMessage message;
    message.message = registerWindowMessage("VANTRELLE_TEST_PING");
    message.wParam = wParam;
    return message;
}

void putDouble(QByteArray& bytes, int offset, double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i) {
        bytes[offset + i] = char((bits >> (8 * i)) & 0xFF);
    }
}

// One aircraft record as the simulator side sends it.
BusMessage positionRecord() {
    QByteArray record(136, '\0');
    putDouble(record, 8, 47.4647);
    putDouble(record, 16, 8.5492);
    putDouble(record, 64, 281.5);
    record[135] = '\x7F';
    BusMessage message;
    message.message = WM_COPYDATA;
    message.wParam = 0x1234;
    message.dwData = 1;
    message.data = record;
    return message;
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(content);
}

// Reads until the peer closes or the limit passes.
struct ReadResult {
    QByteArray bytes;
    bool closed = false;
};

ReadResult readUntilClosed(int fd, std::chrono::milliseconds limit = kHangLimit) {
    ReadResult result;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, 50) <= 0) {
            continue;
        }
        char chunk[256];
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n <= 0) {
            result.closed = true;
            return result;
        }
        result.bytes.append(chunk, n);
    }
    return result;
}

class ScopedRuntimeDir {
public:
    explicit ScopedRuntimeDir(const QByteArray& value)
        : m_wasSet(qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")),
          m_saved(qgetenv("XDG_RUNTIME_DIR")) {
        if (value.isNull()) {
            qunsetenv("XDG_RUNTIME_DIR");
        } else {
            qputenv("XDG_RUNTIME_DIR", value);
        }
    }
    ~ScopedRuntimeDir() {
        if (m_wasSet) {
            qputenv("XDG_RUNTIME_DIR", m_saved);
        } else {
            qunsetenv("XDG_RUNTIME_DIR");
        }
    }

private:
    bool m_wasSet;
    QByteArray m_saved;
};

// Every test gets its own empty bus.
class WindowBusTest : public ::testing::Test {
protected:
    QString folder() const { return m_runtime.path() + QStringLiteral("/vantrelle-windows"); }
    QString entry(WindowHandle handle, const char* suffix) const {
        return folder() + QLatin1Char('/') + QString::number(handle) + QLatin1String(suffix);
    }

    // An entry published by hand, as a third-party plug-in would.
    void writeEntry(WindowHandle handle, const QByteArray& className) {
        ASSERT_FALSE(busFolder().isEmpty());
        writeFile(entry(handle, ".win"), className + "\nCaption\n");
    }

    Fd listenRaw(WindowHandle handle) {
        Fd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        const sockaddr_un address = addressOf(entry(handle, ".sock"));
        EXPECT_EQ(::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(::listen(fd.get(), 16), 0);
        return fd;
    }

    // A socket file that nobody listens on any more.
    void deadSocket(WindowHandle handle) { listenRaw(handle); }

    Fd connectRaw(WindowHandle handle) {
        Fd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        const sockaddr_un address = addressOf(entry(handle, ".sock"));
        EXPECT_EQ(::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address),
                  0);
        return fd;
    }

    QTemporaryDir m_runtime;
    ScopedRuntimeDir m_env{QFile::encodeName(m_runtime.path())};
};

// ---------------------------------------------------------------------------

TEST(WindowMessageNumbers, AreTheFnvHashOfTheNameInTheRegisteredRange) {
    const struct {
        std::string_view name;
        std::uint32_t expected;
    } cases[] = {
        {"", 0xDDC5},
        {"a", 0xE92C},
        {"foobar", 0xF968},
        {"REGISTER_WINDOW_HANDLE", 0xE9C8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name));
        const std::uint32_t number = registerWindowMessage(c.name);
        EXPECT_EQ(number, c.expected);
        EXPECT_GE(number, 0xC000u);
        EXPECT_LE(number, 0xFFFFu);
    }
    EXPECT_NE(registerWindowMessage("REGISTER_WINDOW_HANDLE"),
              registerWindowMessage("register_window_handle"));
}

// ---------------------------------------------------------------------------

TEST_F(WindowBusTest, FolderIsCreatedPrivateAndLooseModesAreTightened) {
    ASSERT_EQ(busFolder(), folder());
    QFile::setPermissions(folder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                        QFileDevice::ExeOther);
    ASSERT_EQ(busFolder(), folder());
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(folder()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
}

TEST(WindowBusFolder, FallsBackToTmpWithoutRuntimeDir) {
    const ScopedRuntimeDir unset{QByteArray()};
    EXPECT_EQ(busFolder(), QStringLiteral("/tmp/vantrelle-windows-%1").arg(::geteuid()));
}

TEST_F(WindowBusTest, UnusableFolderPublishesAndFindsNothing) {
    const QString elsewhere = m_runtime.path() + QStringLiteral("/elsewhere");
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    const struct {
        const char* name;
        std::function<void()> spoil;
        QByteArray runtimeDir;
    } cases[] = {
        {"symlink to another folder", [&] { QFile::link(elsewhere, folder()); },
         QFile::encodeName(m_runtime.path())},
        {"plain file in its place", [&] { writeFile(folder(), "x"); },
         QFile::encodeName(m_runtime.path())},
        {"runtime dir missing", [] {}, QFile::encodeName(m_runtime.path() + "/missing")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(folder());
        c.spoil();
        const ScopedRuntimeDir runtime(c.runtimeDir);
        EXPECT_TRUE(busFolder().isEmpty());
        BusWindow window(QStringLiteral("Map"), QStringLiteral("Map"));
        EXPECT_EQ(window.handle(), 0u);
        EXPECT_EQ(findWindow(QStringLiteral("Map")), 0u);
        EXPECT_FALSE(sendMessage(1, plainMessage(0), 200ms));
        EXPECT_TRUE(QDir(elsewhere).isEmpty());
    }
}

TEST_F(WindowBusTest, FolderOwnedBySomeoneElseIsRefused) {
    ASSERT_FALSE(busFolder().isEmpty());
    if (::chown(QFile::encodeName(folder()).constData(), 65534, 65534) != 0) {
        GTEST_SKIP() << "changing the owner needs root";
    }
    EXPECT_TRUE(busFolder().isEmpty());
    EXPECT_EQ(BusWindow(QStringLiteral("Map"), QString()).handle(), 0u);
}

// ---------------------------------------------------------------------------

TEST_F(WindowBusTest, WindowPublishesItsDescriptionAndRemovesItWhenGone) {
    const QString caption = QStringLiteral("Karte \u2014 Z\u00FCrich");
    WindowHandle handle = 0;
    {
        BusWindow window(QStringLiteral("VantrelleMap"), caption);
        handle = window.handle();
        ASSERT_GE(handle, 1u);
        EXPECT_LE(handle, 0x7FFFFFFFu);
        EXPECT_EQ(window.className(), QStringLiteral("VantrelleMap"));
        QFile description(entry(handle, ".win"));
        ASSERT_TRUE(description.open(QIODevice::ReadOnly));
        EXPECT_EQ(description.readAll(), "VantrelleMap\n" + caption.toUtf8() + "\n");
        EXPECT_TRUE(QFileInfo(entry(handle, ".sock")).exists());
    }
    EXPECT_FALSE(QFileInfo::exists(entry(handle, ".win")));
    EXPECT_FALSE(QFileInfo::exists(entry(handle, ".sock")));
    EXPECT_EQ(QDir(folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                       QDir::NoDotAndDotDot),
              QStringList());
}

TEST_F(WindowBusTest, FindMatchesClassAndCaptionExactlyAndTheLowestHandleWins) {
    auto mapOne = std::make_unique<BusWindow>(QStringLiteral("Map"), QStringLiteral("One"));
    BusWindow mapTwo(QStringLiteral("Map"), QStringLiteral("Two"));
    BusWindow simulator(QStringLiteral("X-System"), QStringLiteral("X-System"));
    const WindowHandle one = mapOne->handle();
    const WindowHandle two = mapTwo.handle();
    ASSERT_NE(one, 0u);
    ASSERT_NE(two, 0u);
    ASSERT_NE(one, two);

    const struct {
        QString className;
        std::optional<QString> caption;
        WindowHandle expected;
    } cases[] = {
        {"Map", std::nullopt, std::min(one, two)},
        {"Map", "Two", two},
        {"Map", "One", one},
        {"Map", "Three", 0},
        {"map", std::nullopt, 0},
        {"X-System", std::nullopt, simulator.handle()},
        {"X-System", "", 0},
        {"", std::nullopt, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.className.toStdString() + " / " + c.caption.value_or("-").toStdString());
        EXPECT_EQ(findWindow(c.className, c.caption), c.expected);
    }

    mapOne.reset();
    EXPECT_EQ(findWindow(QStringLiteral("Map")), two);
    EXPECT_EQ(findWindow(QStringLiteral("Map"), QStringLiteral("One")), 0u);
}

TEST_F(WindowBusTest, FindIgnoresStaleEntriesAndRemovesOnlyOldOnes) {
    BusWindow live(QStringLiteral("Map"), QStringLiteral("Caption"));
    ASSERT_NE(live.handle(), 0u);
    // Lower than any random handle, so they would win if they counted.
    writeEntry(1, "Map");
    deadSocket(1);
    writeEntry(2, "Map"); // no socket at all
    writeEntry(3, "Map"); // just written: its owner may not listen yet
    const timespec old[2] = {{std::time(nullptr) - 60, 0}, {std::time(nullptr) - 60, 0}};
    for (const WindowHandle handle : {1u, 2u}) {
        ASSERT_EQ(
            ::utimensat(AT_FDCWD, QFile::encodeName(entry(handle, ".win")).constData(), old, 0), 0);
    }

    EXPECT_EQ(findWindow(QStringLiteral("Map")), live.handle());
    EXPECT_FALSE(QFileInfo::exists(entry(1, ".win")));
    EXPECT_FALSE(QFileInfo::exists(entry(1, ".sock")));
    EXPECT_FALSE(QFileInfo::exists(entry(2, ".win")));
    EXPECT_TRUE(QFileInfo::exists(entry(3, ".win")));
    EXPECT_TRUE(QFileInfo::exists(entry(live.handle(), ".win")));
}

TEST_F(WindowBusTest, FindSkipsEntriesThatAreNotDescriptions) {
    BusWindow live(QStringLiteral("Map"), QString());
    ASSERT_NE(live.handle(), 0u);
    writeEntry(1, "Map");
    const Fd answering = listenRaw(1);
    ASSERT_TRUE(QFile::rename(entry(1, ".win"), folder() + "/01.win")); // not canonical
    ASSERT_EQ(::mkfifo(QFile::encodeName(entry(2, ".win")).constData(), 0600), 0);
    const Fd alsoAnswering = listenRaw(2); // a FIFO must not block the search

    EXPECT_EQ(withinHangLimit([] { return findWindow(QStringLiteral("Map")); }), live.handle());
}

TEST_F(WindowBusTest, FindsAPublisherThatIsNotOneOfOurWindows) {
    writeEntry(5, "X-System");
    const Fd listener = listenRaw(5);
    EXPECT_EQ(findWindow(QStringLiteral("X-System"), QStringLiteral("Caption")), 5u);
}

// ---------------------------------------------------------------------------

TEST_F(WindowBusTest, MessagesReachTheHandlerAndItsResultComesBack) {
    BusWindow window(QStringLiteral("Map"), QString());
    ASSERT_NE(window.handle(), 0u);
    std::vector<BusMessage> received;
    std::int64_t nextResult = 0;
    window.setHandler([&](const BusMessage& message) {
        received.push_back(message);
        return nextResult;
    });

    BusMessage registration;
    registration.message = registerWindowMessage("REGISTER_WINDOW_HANDLE");
    registration.wParam = 0xFFFFFFFFFFull;
    registration.lParam = 77;
    BusMessage largest = positionRecord();
    largest.data = QByteArray(int(kMaxCopyDataBytes), 'z');
    BusMessage empty = positionRecord();
    empty.data.clear();

    const struct {
        const char* name;
        BusMessage message;
        std::int64_t result;
    } cases[] = {
        {"position record", positionRecord(), -1234567890123},
        {"registered message", registration, 1},
        {"largest copy", largest, 0x7FFFFFFFFFFFFFFF},
        {"empty copy", empty, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        received.clear();
        nextResult = c.result;
        EXPECT_EQ(sendServed(window.handle(), c.message), c.result);
        ASSERT_EQ(received.size(), 1u);
        const BusMessage& got = received.front();
        EXPECT_EQ(got.message, c.message.message);
        EXPECT_EQ(got.wParam, c.message.wParam);
        EXPECT_EQ(got.dwData, c.message.dwData);
        const bool copy = c.message.message == WM_COPYDATA;
        EXPECT_EQ(got.lParam, copy ? 0 : c.message.lParam);
        EXPECT_EQ(got.data, copy ? c.message.data : QByteArray());
    }
}

TEST_F(WindowBusTest, WithoutHandlerTheReplyIsZero) {
    BusWindow window(QStringLiteral("Map"), QString());
    EXPECT_EQ(sendServed(window.handle(), positionRecord()), 0);
}

TEST_F(WindowBusTest, MessagesArriveWhileAHandlerWaitsInANestedLoop) {
    BusWindow window(QStringLiteral("Map"), QString());
    std::atomic<bool> firstWaiting{false};
    bool secondHandled = false;
    std::vector<int> finished;
    window.setHandler([&](const BusMessage& message) -> std::int64_t {
        if (message.wParam == 1) {
            firstWaiting = true;
            serveUntil([&] { return secondHandled; }); // like a Pause inside a handler
            finished.push_back(1);
            return 10;
        }
        secondHandled = true;
        finished.push_back(2);
        return 20;
    });

    auto first = sendAsync(window.handle(), plainMessage(1));
    auto second = std::async(std::launch::async, [&] {
        const auto giveUp = std::chrono::steady_clock::now() + kHangLimit;
        while (!firstWaiting && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(1ms);
        }
        return sendMessage(window.handle(), plainMessage(2));
    });
    serveUntil([&] { return isReady(first) && isReady(second); });

    EXPECT_EQ(first.get(), 10);
    EXPECT_EQ(second.get(), 20);
    EXPECT_EQ(finished, (std::vector<int>{2, 1}));
}

TEST_F(WindowBusTest, HandlerMayReplaceItselfOrDestroyTheWindow) {
    auto window = std::make_unique<BusWindow>(QStringLiteral("Map"), QString());
    const WindowHandle handle = window->handle();
    // Each handler reads its own captured state after replacing or destroying
    // itself, which only works while the running handler is kept alive.
    window->setHandler([&window, one = std::make_shared<std::int64_t>(1)](const BusMessage&) {
        window->setHandler([&window, two = std::make_shared<std::int64_t>(2)](const BusMessage&) {
            window.reset();
            return *two;
        });
        return *one;
    });

    EXPECT_EQ(sendServed(handle, plainMessage(0)), 1);
    EXPECT_EQ(sendServed(handle, plainMessage(0)), 2);
    EXPECT_EQ(window, nullptr);
    EXPECT_FALSE(QFileInfo::exists(entry(handle, ".win")));
    EXPECT_FALSE(sendServed(handle, plainMessage(0), 500ms));
}

// ---------------------------------------------------------------------------

TEST_F(WindowBusTest, SendFailsWithoutWaitingWhenThereIsNothingToTalkTo) {
    BusWindow window(QStringLiteral("Map"), QString());
    BusMessage tooLarge = positionRecord();
    tooLarge.data = QByteArray(int(kMaxCopyDataBytes) + 1, 'z');
    const WindowHandle missing = window.handle() == 99 ? 98 : 99;
    writeEntry(7, "Map");
    deadSocket(7);

    const struct {
        const char* name;
        WindowHandle target;
        BusMessage message;
    } cases[] = {
        {"no such window", missing, plainMessage(0)},
        {"handle zero", 0, plainMessage(0)},
        {"dead socket", 7, plainMessage(0)},
        {"copy over the limit", window.handle(), tooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(sendMessage(c.target, c.message));
        // Not a speed test: only that it does not sit out the 5 s limit.
        EXPECT_LT(std::chrono::steady_clock::now() - start, kSendTimeout / 2);
    }
}

TEST_F(WindowBusTest, SendGivesUpWhenNoAnswerComesInTime) {
    writeEntry(9, "Deaf");
    const Fd neverAccepts = listenRaw(9);
    EXPECT_FALSE(sendMessage(9, plainMessage(0), 300ms));
}

TEST_F(WindowBusTest, ALateHandlerIsAFailureForTheSenderButNotForTheWindow) {
    BusWindow window(QStringLiteral("Map"), QString());
    int calls = 0;
    window.setHandler([&](const BusMessage& message) -> std::int64_t {
        ++calls;
        if (message.wParam == 1) {
            pauseFor(1000ms); // the sender stops waiting meanwhile
        }
        return 3;
    });

    auto late = sendAsync(window.handle(), plainMessage(1), 200ms);
    // Returns once the handler has answered a sender that is gone by then.
    serveUntil([&] { return isReady(late) && calls == 1; });
    EXPECT_FALSE(late.get());
    EXPECT_EQ(sendServed(window.handle(), plainMessage(2)), 3);
}

TEST_F(WindowBusTest, MalformedRepliesAreFailures) {
    const QByteArray validStart = QByteArray("VWM1") + QByteArray(8, '\x05');
    const struct {
        const char* name;
        QByteArray reply;
    } cases[] = {
        {"wrong magic", QByteArray("XWM1") + QByteArray(8, '\x05')},
        {"short reply", validStart.left(7)},
        {"closed without reply", QByteArray()},
    };
    writeEntry(11, "Odd");
    const Fd listener = listenRaw(11);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto peer = std::async(std::launch::async, [&] {
            pollfd entry{listener.get(), POLLIN, 0};
            if (::poll(&entry, 1, 10'000) != 1) {
                return;
            }
            const Fd fd(::accept(listener.get(), nullptr, nullptr));
            char request[36];
            ::recv(fd.get(), request, sizeof request, MSG_WAITALL);
            ::send(fd.get(), c.reply.constData(), std::size_t(c.reply.size()), MSG_NOSIGNAL);
        });
        EXPECT_FALSE(sendMessage(11, plainMessage(0), 3000ms));
        peer.get();
    }
}

// ---------------------------------------------------------------------------

// A peer that misbehaves must get no answer and must leave the window working
// for the next, normal message, even while it still holds its connection.
TEST_F(WindowBusTest, HostilePeersLeaveTheWindowWorking) {
    BusWindow window(QStringLiteral("Map"), QString());
    std::vector<BusMessage> received;
    window.setHandler([&](const BusMessage& message) -> std::int64_t {
        received.push_back(message);
        return 42;
    });

    const QByteArray record = encodeRequest(positionRecord());
    auto withCbData = [&](std::uint32_t size) {
        QByteArray bytes = record.left(36);
        for (int i = 0; i < 4; ++i) {
            bytes[32 + i] = char((size >> (8 * i)) & 0xFF);
        }
        return bytes;
    };
    QByteArray wrongMagic = record;
    wrongMagic[0] = 'X';
    QByteArray bytesOnPlainMessage = encodeRequest(plainMessage(0));
    bytesOnPlainMessage[32] = 4;
    bytesOnPlainMessage += "abcd";

    enum class Then { Close, AwaitClose, AwaitReply };
    const struct {
        const char* name;
        QByteArray bytes;
        Then then;
    } cases[] = {
        {"wrong magic", wrongMagic, Then::AwaitClose},
        {"cbData 0xFFFFFFFF", withCbData(0xFFFFFFFF) + "data", Then::AwaitClose},
        {"cbData one over the limit", withCbData(kMaxCopyDataBytes + 1), Then::AwaitClose},
        {"bytes on a message that carries none", bytesOnPlainMessage, Then::AwaitClose},
        {"closes inside the header", record.left(10), Then::Close},
        {"closes inside the data", record.left(50), Then::Close},
        {"stalls inside the header", record.left(20), Then::AwaitClose},
        {"stalls inside the data", record.left(100), Then::AwaitClose},
        {"trailing bytes after a request", record + QByteArray(64, '\xEE'), Then::AwaitReply},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        received.clear();
        Fd peer = connectRaw(window.handle());
        ASSERT_EQ(
            ::send(peer.get(), c.bytes.constData(), std::size_t(c.bytes.size()), MSG_NOSIGNAL),
            c.bytes.size());
        if (c.then == Then::Close) {
            peer.reset();
        }
        auto outcome = std::async(std::launch::async, [&] {
            return c.then == Then::Close ? ReadResult{} : readUntilClosed(peer.get());
        });

        // Served while the hostile connection may still be open.
        EXPECT_EQ(sendServed(window.handle(), plainMessage(5)), 42);
        serveUntil([&] { return isReady(outcome); });
        const ReadResult result = outcome.get();

        const auto count = [&](std::uint32_t message) {
            return std::count_if(received.begin(), received.end(),
                                 [&](const BusMessage& m) { return m.message == message; });
        };
        EXPECT_EQ(count(plainMessage(5).message), 1);
        if (c.then == Then::AwaitReply) {
            ASSERT_EQ(count(WM_COPYDATA), 1);
            const auto copy =
                std::find_if(received.begin(), received.end(),
                             [](const BusMessage& m) { return m.message == WM_COPYDATA; });
            EXPECT_EQ(copy->data, positionRecord().data);
            EXPECT_EQ(result.bytes, QByteArray("VWM1") + QByteArray("\x2A\0\0\0\0\0\0\0", 8));
        } else {
            EXPECT_EQ(received.size(), 1u);
            EXPECT_TRUE(result.bytes.isEmpty());
        }
        if (c.then != Then::Close) {
            EXPECT_TRUE(result.closed) << "the window kept the connection open";
        }
    }
}

TEST_F(WindowBusTest, ACrowdOfStalledPeersDoesNotLockOutANormalSender) {
    BusWindow window(QStringLiteral("Map"), QString());
    window.setHandler([](const BusMessage&) -> std::int64_t { return 7; });
    const QByteArray half = encodeRequest(positionRecord()).left(20);
    std::vector<Fd> crowd;
    for (int i = 0; i < 100; ++i) {
        crowd.push_back(connectRaw(window.handle()));
        ::send(crowd.back().get(), half.constData(), std::size_t(half.size()), MSG_NOSIGNAL);
    }
    EXPECT_EQ(sendServed(window.handle(), plainMessage(0)), 7);
}

} // namespace
