// Starts of the real map program, as a user makes them: a first copy, then more
// copies that must find it (or not) and step aside.

#include "platform/WindowBus.h"
#include "support/RawBusPeer.h"
#include "support/SimulatorPeer.h"
#include "support/TopLevelWindows.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

// Xlib last: its macros clash with Qt and test names.
#include <X11/Xlib.h>

using namespace vtl;

namespace {

class XConnection {
public:
    XConnection() : m_display(XOpenDisplay(nullptr)) {}
    ~XConnection() {
        if (m_display != nullptr) {
            XCloseDisplay(m_display);
        }
    }
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;
    Display* display() const { return m_display; }

private:
    Display* m_display;
};

std::vector<bool> windowsOfClass(const char* className) {
    const XConnection x;
    return test::topLevelWindowsOfClass(x.display(), className);
}

int shownWindowsOfClass(const char* className) {
    const auto all = windowsOfClass(className);
    return static_cast<int>(std::count(all.begin(), all.end(), true));
}

bool waitFor(const std::function<bool()>& condition, int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (condition()) {
            return true;
        }
        QThread::msleep(100);
    }
    return condition();
}

class ProgramStart : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        const QString app = tree.filePath(QStringLiteral("X-Plane/Norvane"));
        QDir().mkpath(app);
        QDir().mkpath(tree.filePath(QStringLiteral("X-Plane/Output/FMS Plans")));
        exe = app + QStringLiteral("/VantrelleSkyplot");
        ASSERT_TRUE(QFile::copy(QStringLiteral(VTL_APP_DIR "/VantrelleSkyplot"), exe));
    }
    void TearDown() override {
        for (auto& process : copies) {
            process->kill();
            process->waitForFinished(5000);
        }
    }

    QProcess& start(const char* messageBoxAnswer = nullptr) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        if (messageBoxAnswer != nullptr) {
            env.insert(QStringLiteral("VANTRELLE_TEST_MSGBOX"),
                       QString::fromLatin1(messageBoxAnswer));
        }
        process->setProcessEnvironment(env);
        process->start(exe, {});
        EXPECT_TRUE(process->waitForStarted(10000));
        copies.push_back(std::move(process));
        return *copies.back();
    }

    void startFirstCopy() {
        start();
        ASSERT_TRUE(waitFor([] { return shownWindowsOfClass("TfrmMain_Skyplot") == 1; }, 60000))
            << "the first copy never showed its window";
    }

    QTemporaryDir runtime;
    QTemporaryDir tree;
    QString exe;
    std::vector<std::unique_ptr<QProcess>> copies;
};

} // namespace

TEST_F(ProgramStart, ALaterCopyAnsweredOkTogglesTheFirstCopysWindow) {
    startFirstCopy();
    for (const bool shownAfter : {false, true}) {
        QProcess& later = start("ok");
        ASSERT_TRUE(later.waitForFinished(60000));
        EXPECT_EQ(later.exitCode(), 0);
        EXPECT_TRUE(
            later.readAllStandardError().contains("MESSAGEBOX Vantrelle Skyplot|Vantrelle Skyplot "
                                                  "is already running, but may be hidden!"));
        EXPECT_TRUE(waitFor(
            [&] { return shownWindowsOfClass("TfrmMain_Skyplot") == (shownAfter ? 1 : 0); }, 10000))
            << "after a start answered OK, the window should be "
            << (shownAfter ? "shown" : "hidden");
        EXPECT_EQ(windowsOfClass("TfrmMain_Skyplot").size(), 1u); // never a second window
    }
}

TEST_F(ProgramStart, ALaterCopyAnsweredCancelChangesNothing) {
    startFirstCopy();
    QProcess& later = start("cancel");
    ASSERT_TRUE(later.waitForFinished(60000));
    EXPECT_EQ(later.exitCode(), 0);
    QThread::msleep(1000);
    EXPECT_EQ(shownWindowsOfClass("TfrmMain_Skyplot"), 1);
}

TEST_F(ProgramStart, APopupFirstCopyIsNotFoundAndTheLaterCopyEndsSilently) {
    test::SimulatorPeer simulator;
    QFile ini(QFileInfo(exe).path() + QStringLiteral("/VantrelleSkyplot.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[AppControl]\r\nPopupWnd=1\r\n");
    ini.close();

    start();
    ASSERT_TRUE(waitFor([] { return shownWindowsOfClass("SkyplotX") == 1; }, 60000));
    EXPECT_EQ(platform::findWindow(QStringLiteral("TfrmMain_Skyplot"),
                                   QStringLiteral("Vantrelle Skyplot")),
              0u);

    QProcess& later = start("ok");
    ASSERT_TRUE(later.waitForFinished(60000));
    EXPECT_FALSE(later.readAllStandardError().contains("MESSAGEBOX"));
    EXPECT_EQ(shownWindowsOfClass("SkyplotX"), 1);
    EXPECT_TRUE(windowsOfClass("TfrmMain_Skyplot").empty() ||
                shownWindowsOfClass("TfrmMain_Skyplot") == 0);
}

TEST_F(ProgramStart, HostilePeersLeaveTheProgramAnswering) {
    startFirstCopy();
    const platform::WindowHandle map = platform::findWindow(QStringLiteral("TfrmMain_Skyplot"),
                                                            QStringLiteral("Vantrelle Skyplot"));
    ASSERT_NE(map, 0u);

    platform::BusMessage record;
    record.message = platform::WM_COPYDATA;
    record.dwData = 1;
    record.data = QByteArray(136, '\0');
    const QByteArray good = platform::encodeRequest(record);
    QByteArray wrongMagic = good;
    wrongMagic[0] = 'X';
    QByteArray huge = good.left(36);
    huge.append("\xff\xff\xff\x7f", 4);

    test::sendRawAndHangUp(map, wrongMagic);
    test::sendRawAndHangUp(map, huge);
    test::sendRawAndHangUp(map, good.left(20)); // closes inside the header
    test::sendRawAndHangUp(map, good.left(80)); // closes inside the record
    test::sendRawAndHangUp(map, good.left(50), std::chrono::milliseconds(500)); // stalls

    // Not connected, so the record is not taken in, but it is answered.
    EXPECT_EQ(platform::sendMessage(map, record), std::optional<std::int64_t>(0));
    EXPECT_EQ(copies.front()->state(), QProcess::Running);
    EXPECT_EQ(shownWindowsOfClass("TfrmMain_Skyplot"), 1);
}
