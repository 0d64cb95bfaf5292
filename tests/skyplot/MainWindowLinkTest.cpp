#include "MainWindowFixture.h"
#include "platform/Ticks.h"
#include "platform/WindowBus.h"
#include "shared/MapPage.h"
#include "support/RawBusPeer.h"
#include "support/SimulatorPeer.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace vtl;
using namespace vtl::test;
using namespace vtl::skyplot;

namespace {

const QString kPanTo = QStringLiteral("map.panTo(new google.maps.LatLng(47.5, -122.25))");

QString planeCall(const QString& icon) {
    return QStringLiteral("drawPlaneMarker(\"") + AssetBaseUrl + icon +
           QStringLiteral("\", \"47.5\", \"-122.25\", \"Aircraft\")");
}

class LinkTest : public MainWindowTest {
protected:
    // The map panel on screen with the page loaded, connected, as after SKYPLOT.
    void connectWithoutSimulator() {
        writeFile(appFile(QStringLiteral("SimConnect.CFG")));
        open();
        window->btnSkyplotClick();
        ASSERT_TRUE(IsConnected);
        browser->scripts.clear();
    }
};

} // namespace

TEST_F(LinkTest, ConnectChecksFailWithTheirNotices) {
    const struct {
        const char* name;
        bool simulator;
        QStringList notices;
    } cases[] = {
        {"no simulator", false, {QStringLiteral("Please start X-Plane first!")}},
        {"no plug-in",
         true,
         {QStringLiteral("XPL file not found!"), QStringLiteral("Please install it first!"),
          QStringLiteral("See Skyplot PDF for details.")}},
    };
    for (const auto& c : cases) {
        std::unique_ptr<SimulatorPeer> simulator;
        if (c.simulator) {
            simulator = std::make_unique<SimulatorPeer>();
        }
        open();
        const QStringList seen = noticesDuring([&] { window->btnSkyplotClick(); });
        EXPECT_EQ(seen, c.notices) << c.name;
        EXPECT_TRUE(child("pnlMapMenu")->isVisible()) << c.name;
        EXPECT_FALSE(child("pnlSkyplot")->isVisible()) << c.name;
        EXPECT_TRUE(browser->navigations.isEmpty()) << c.name;
        EXPECT_FALSE(IsConnected) << c.name;
        window.reset();
    }
}

TEST_F(LinkTest, EveryPluginFileNamePassesTheCheck) {
    open();
    EXPECT_FALSE(window->IsPluginInstalled());
    for (const char* name :
         {"Resources/plugins/vantrellevars.xpl", "Resources/plugins/VantrelleVARS/win.xpl",
          "Resources/plugins/VantrelleVARS/32/win.xpl",
          "Resources/plugins/VantrelleVARS/64/win.xpl", "Resources/plugins/VantrelleVARS/lin.xpl",
          "Resources/plugins/VantrelleVARS/32/lin.xpl",
          "Resources/plugins/VantrelleVARS/64/lin.xpl"}) {
        const QString path = xplaneFile(QString::fromLatin1(name));
        writeFile(path);
        EXPECT_TRUE(window->IsPluginInstalled()) << name;
        QFile::remove(path);
    }
}

TEST_F(LinkTest, ConnectRegistersWithTheSimulatorAndDropsRecordsUntilDone) {
    SimulatorPeer simulator;
    writeFile(xplaneFile(QStringLiteral("Resources/plugins/VantrelleVARS/64/lin.xpl")));
    open();

    // Records that come during the connecting notice and the wait after the
    // page was asked for are dropped.
    int droppedCalls = 0;
    for (int at : {1000, 4000}) {
        QTimer::singleShot(at, [&] {
            window->WMCopyData(1, record(10, 20, 30));
            ++droppedCalls;
        });
    }
    const QStringList seen = noticesDuring([&] { window->btnSkyplotClick(); });
    EXPECT_EQ(droppedCalls, 2);
    EXPECT_EQ(AircraftData.Latitude(), 0.0);
    EXPECT_TRUE(browser->scripts.isEmpty());

    EXPECT_EQ(seen.value(0), QStringLiteral("Connecting to X-Plane..."));
    EXPECT_FALSE(child("pnlMapMenu")->isVisible());
    EXPECT_TRUE(child("pnlSkyplot")->isVisible());
    EXPECT_EQ(browser->navigations, QStringList{GetMapPageUrl(AppFolder)});
    EXPECT_TRUE(window->isTrackingOn());
    EXPECT_TRUE(IsConnected);
    EXPECT_EQ(XPlaneWindow, simulator.handle());
    EXPECT_EQ(RegisterWindowHandleMsg, platform::registerWindowMessage("REGISTER_WINDOW_HANDLE"));
    EXPECT_EQ(simulator.registeredWindow(), window->windowHandle32());
    EXPECT_EQ(simulator.registrations(), 1);
}

TEST_F(LinkTest, SimConnectMarkerSkipsTheChecksAndConnectsWithoutASimulator) {
    connectWithoutSimulator();
    EXPECT_EQ(XPlaneWindow, 0u);
    EXPECT_TRUE(child("pnlSkyplot")->isVisible());
    EXPECT_EQ(browser->navigations.size(), 1);
}

TEST_F(LinkTest, AnUnansweredRegistrationIsAFailedConnection) {
    SimulatorPeer silent(false);
    writeFile(appFile(QStringLiteral("SimConnect.CFG")));
    open();
    const QStringList seen = noticesDuring([&] { window->btnSkyplotClick(); });
    EXPECT_EQ(seen.value(seen.size() - 1), QStringLiteral("Unable to connect!"));
    EXPECT_FALSE(IsConnected);
    EXPECT_TRUE(window->isTrackingOn()); // as the failed sequence left it
    EXPECT_TRUE(child("pnlSkyplot")->isVisible());

    // The tracking button is the way on: off first, then on again.
    window->btnConnectSkyplotClick();
    EXPECT_FALSE(IsConnected);
    window->btnConnectSkyplotClick();
    EXPECT_TRUE(IsConnected);
}

TEST_F(LinkTest, ARecordPansThenRedrawsTheMarker) {
    connectWithoutSimulator();
    EXPECT_EQ(window->WMCopyData(1, record(47.5, -122.25, 95)), 0);
    EXPECT_EQ(browser->scripts,
              (QStringList{kPanTo, QStringLiteral("removePlane()"), planeCall("plane100.png")}));
    EXPECT_EQ(AircraftLat, 47.5);
    EXPECT_EQ(AircraftLon, -122.25);
    EXPECT_EQ(AircraftHeading, 95);
}

TEST_F(LinkTest, RecordsAreKeptButNotDrawnWhileTheMapCannotShowThem) {
    connectWithoutSimulator();
    window->hkShowHidePress(); // hidden
    window->WMCopyData(1, record(47.5, -122.25, 10));
    EXPECT_TRUE(browser->scripts.isEmpty());
    EXPECT_EQ(AircraftLat, 47.5);
    window->hkShowHidePress();

    browser->busy = true;
    window->WMCopyData(1, record(48, -121, 20));
    EXPECT_TRUE(browser->scripts.isEmpty());
    EXPECT_EQ(AircraftLat, 48.0);
    EXPECT_EQ(AircraftHeading, 20);
    browser->busy = false;

    window->WMCopyData(1, record(47.5, -122.25, 10));
    EXPECT_EQ(browser->scripts.size(), 3);
}

TEST_F(LinkTest, BadRecordsAreDropped) {
    connectWithoutSimulator();
    window->WMCopyData(1, record(47.5, -122.25, 90));
    browser->scripts.clear();
    const TAircraftData before = AircraftData;

    EXPECT_EQ(window->WMCopyData(2, record(1, 2, 3)), 0);
    EXPECT_EQ(window->WMCopyData(1, record(1, 2, 3).left(135)), 0);
    EXPECT_EQ(window->WMCopyData(1, QByteArray()), 0);
    EXPECT_TRUE(browser->scripts.isEmpty());
    EXPECT_EQ(AircraftData.bytes, before.bytes);

    // A heading that is no usable number keeps the last one; the position still moves.
    for (double heading : {std::nan(""), 1e12, -std::numeric_limits<double>::infinity()}) {
        window->WMCopyData(1, record(47.5, -122.25, heading));
        EXPECT_EQ(AircraftHeading, 90);
        EXPECT_EQ(browser->scripts.back(), planeCall("plane90.png"));
    }
}

TEST_F(LinkTest, TrackingButtonSwitchesBothWaysButNotDuringALoad) {
    connectWithoutSimulator();
    auto* button = child<QPushButton>("btnConnectSkyplot");
    window->btnConnectSkyplotClick();
    EXPECT_EQ(button->text(), QStringLiteral("+ CONN"));
    EXPECT_TRUE(child("pnlSkyplotDisc")->isVisible());
    EXPECT_FALSE(IsConnected);
    EXPECT_EQ(browser->scripts, QStringList{QStringLiteral("removePlane()")});

    window->WMCopyData(1, record(47.5, -122.25, 0));
    EXPECT_EQ(AircraftData.Latitude(), 0.0); // dropped while off

    browser->busy = true;
    window->btnConnectSkyplotClick();
    EXPECT_EQ(button->text(), QStringLiteral("+ CONN"));
    browser->busy = false;

    window->btnConnectSkyplotClick();
    EXPECT_EQ(button->text(), QStringLiteral("- DISC"));
    EXPECT_FALSE(child("pnlSkyplotDisc")->isVisible());
    EXPECT_TRUE(IsConnected);
    window->WMCopyData(1, record(47.5, -122.25, 0));
    EXPECT_EQ(browser->scripts.back(), planeCall("plane0.png"));
}

TEST_F(LinkTest, RecordsArriveOverTheBusEvenInsideAWait) {
    connectWithoutSimulator();
    const platform::WindowHandle target = window->windowHandle32();
    std::optional<std::int64_t> answer;
    std::thread sender([&] {
        platform::BusMessage message;
        message.message = platform::WM_COPYDATA;
        message.dwData = 1;
        message.data = record(47.5, -122.25, 355);
        answer = platform::sendMessage(target, message);
    });
    platform::Pause(1500);
    sender.join();
    EXPECT_EQ(answer, std::optional<std::int64_t>(0));
    EXPECT_EQ(browser->scripts,
              (QStringList{kPanTo, QStringLiteral("removePlane()"), planeCall("plane0.png")}));
}

TEST_F(LinkTest, HostilePeersLeaveTheWindowResponsive) {
    connectWithoutSimulator();
    const platform::WindowHandle target = window->windowHandle32();

    auto sendRaw = [&](const QByteArray& bytes) {
        std::thread peer([&] { sendRawAndHangUp(target, bytes); });
        platform::Pause(200);
        peer.join();
    };

    platform::BusMessage copy;
    copy.message = platform::WM_COPYDATA;
    copy.dwData = 1;
    copy.data = record(1, 2, 3);
    QByteArray wrongMagic = platform::encodeRequest(copy);
    wrongMagic[0] = 'X';
    QByteArray huge = platform::encodeRequest(copy);
    huge.truncate(36);
    huge.append(QByteArray("\xff\xff\xff\xff", 4));
    sendRaw(wrongMagic);
    sendRaw(huge);
    sendRaw(platform::encodeRequest(copy).left(60));
    EXPECT_TRUE(browser->scripts.isEmpty());

    std::optional<std::int64_t> answer;
    std::thread sender([&] {
        copy.data = record(47.5, -122.25, 100);
        answer = platform::sendMessage(target, copy);
    });
    platform::Pause(1000);
    sender.join();
    EXPECT_TRUE(answer);
    EXPECT_EQ(browser->scripts.size(), 3);
}

TEST_F(LinkTest, ReloadQuestionYesResetsControlsAndLoadsThePageAgain) {
    connectWithoutSimulator();
    window->rgMapTypeClick(2);
    auto* satellite = child<QRadioButton>("rgMapType_SATELLITE");
    satellite->setChecked(true);
    auto* zoom = child<QSpinBox>("seZoom");
    window->btnSkyplotZoomInClick();
    EXPECT_EQ(zoom->value(), 3);

    emit browser->refreshRequest();
    EXPECT_TRUE(child("pnlReloadSkyplot")->isVisible());
    EXPECT_EQ(browser->refreshes, 0);
    window->imgReloadSkyplotNoClick();
    EXPECT_FALSE(child("pnlReloadSkyplot")->isVisible());
    EXPECT_EQ(browser->navigations.size(), 1);

    emit browser->refreshRequest();
    window->imgReloadSkyplotYesClick();
    EXPECT_FALSE(child("pnlReloadSkyplot")->isVisible());
    EXPECT_TRUE(child<QRadioButton>("rgMapType_TERRAIN")->isChecked());
    EXPECT_EQ(zoom->value(), 2);
    EXPECT_EQ(MapTypeIndex, 2);
    EXPECT_EQ(browser->navigations.size(), 2);
    EXPECT_EQ(browser->navigations.back(), GetMapPageUrl(AppFolder));
}

TEST_F(LinkTest, LoadingBarStaysASecondAfterEachCompletedDownload) {
    connectWithoutSimulator();
    auto* bar = child("pnlLoadingSkyplot");
    emit browser->downloadBegin();
    EXPECT_TRUE(bar->isVisible());
    bool shownDuringWait = false;
    QTimer::singleShot(500, [&] { shownDuringWait = bar->isVisible(); });
    QElapsedTimer clock;
    clock.start();
    emit browser->downloadComplete();
    EXPECT_GE(clock.elapsed(), 1000);
    EXPECT_TRUE(shownDuringWait);
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(LinkTest, ShowingTheVisibleMapPanelChangesNothing) {
    connectWithoutSimulator();
    QWidget* panel = child("pnlSkyplot");
    panel->setGeometry(60, 70, 100, 100); // moved by hand: must stay so
    window->ShowMapPanel(panel);
    EXPECT_EQ(panel->geometry(), QRect(60, 70, 100, 100));
    EXPECT_TRUE(panel->isVisible());
}

TEST_F(LinkTest, MapControlsRespectTheBusyPage) {
    connectWithoutSimulator();
    auto* zoom = child<QSpinBox>("seZoom");
    window->rgMapTypeClick(2);
    EXPECT_EQ(browser->scripts.back(),
              QStringLiteral("map.setMapTypeId(google.maps.MapTypeId.SATELLITE)"));
    EXPECT_EQ(MapTypeIndex, 2);

    browser->scripts.clear();
    browser->busy = true;
    child<QRadioButton>("rgMapType_HYBRID")->setChecked(true);
    window->rgMapTypeClick(3);
    window->btnSkyplotZoomInClick();
    window->btnSkyplotZoomOutClick();
    EXPECT_TRUE(browser->scripts.isEmpty());
    EXPECT_TRUE(child<QRadioButton>("rgMapType_SATELLITE")->isChecked());
    EXPECT_EQ(zoom->value(), 2);
    browser->busy = false;

    for (int i = 0; i < 25; ++i) {
        window->btnSkyplotZoomInClick();
    }
    EXPECT_EQ(zoom->value(), 20);
    EXPECT_EQ(browser->scripts.back(), QStringLiteral("zoomIn()"));
    zoom->setValue(11); // as a chart sets it
    window->seZoomChange();
    EXPECT_EQ(browser->scripts.back(), QStringLiteral("map.setZoom(11)"));
}
