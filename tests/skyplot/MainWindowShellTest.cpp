#include "MainWindowFixture.h"
#include "platform/Ticks.h"
#include "platform/WindowBus.h"
#include "support/SimulatorPeer.h"

#include <QCoreApplication>

using namespace vtl;
using namespace vtl::test;
using vtl::platform::findWindow;

TEST_F(MainWindowTest, ComponentsSitWhereTheSkinExpectsThem) {
    open();
    EXPECT_EQ(window->size(), QSize(600, 755));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Vantrelle Skyplot"));
    const struct {
        const char* name;
        QRect geometry;
        bool visible;
    } cases[] = {
        {"imgSurround", {0, 0, 600, 755}, true},
        {"imgClose", {80, 724, 45, 22}, true},
        {"imgTopMostOn", {475, 724, 45, 22}, false},
        {"imgTopMostOff", {475, 724, 45, 22}, true},
        {"pnlMapMenu", {56, 62, 490, 635}, true},
        {"pnlSkyplot", {56, 62, 490, 635}, false},
        {"btnVectorMap", {137, 489, 105, 50}, true},
        {"btnSkyplot", {248, 489, 105, 50}, true},
        {"imgMapMenuSplash", {0, 53, 490, 400}, true},
        {"pnlNorvaneOnly", {153, 303, 297, 63}, false},
        {"imgNorvaneOnly", {28, 16, 32, 32}, false},
        {"btnToggleTGlobe", {255, 47, 70, 35}, false},
        {"pnlReloadSkyplot", {97, 241, 297, 63}, false},
        {"pnlSkyplotBusy", {97, 241, 297, 63}, false},
    };
    for (const auto& c : cases) {
        const QWidget* widget = child(c.name);
        ASSERT_NE(widget, nullptr) << c.name;
        EXPECT_EQ(widget->geometry(), c.geometry) << c.name;
        EXPECT_EQ(widget->isVisible(), c.visible) << c.name;
    }
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(child<QLabel>("lbMapMenuHdg")->height(), 55);
}

TEST_F(MainWindowTest, WindowIsFoundOnTheBusByClassAndCaption) {
    open();
    EXPECT_FALSE(window->isPopupMode());
    EXPECT_EQ(findWindow(QStringLiteral("TfrmMain_Skyplot"), QStringLiteral("Vantrelle Skyplot")),
              window->windowHandle32());
    window.reset();
    EXPECT_EQ(findWindow(QStringLiteral("TfrmMain_Skyplot")), 0u);
}

TEST_F(MainWindowTest, PopupModeOnlyWhileTheSimulatorRunsAndTheSettingAsksExactlyOne) {
    writeFile(appFile(QStringLiteral("VantrelleSkyplot.ini")), "[AppControl]\r\nPopupWnd=1\r\n");
    open(); // no simulator yet: an ordinary window
    EXPECT_FALSE(window->isPopupMode());
    window.reset();

    SimulatorPeer simulator;
    open();
    EXPECT_TRUE(window->isPopupMode());
    EXPECT_EQ(skyplot::XPlaneWindow, simulator.handle());
    // The running-copy search looks for the normal class and so misses a popup.
    EXPECT_EQ(findWindow(QStringLiteral("TfrmMain_Skyplot"), QStringLiteral("Vantrelle Skyplot")),
              0u);
    EXPECT_EQ(findWindow(QStringLiteral("SkyplotX"), QStringLiteral("Vantrelle Skyplot")),
              window->windowHandle32());
    window.reset();

    writeFile(appFile(QStringLiteral("VantrelleSkyplot.ini")), "[AppControl]\r\nPopupWnd=2\r\n");
    open();
    EXPECT_FALSE(window->isPopupMode());
}

TEST_F(MainWindowTest, SettingsDriveTheMemoryTimer) {
    const struct {
        QByteArray ini;
        bool active;
        int interval;
    } cases[] = {
        {"", true, 5000},
        {"[MemControl]\r\nmemctrl=0\r\n", false, 5000},
        {"[MemControl]\r\nmeminterval=0x0A\r\n", true, 10000},
        {"[MemControl]\r\nmeminterval=0\r\n", false, 0},
    };
    for (const auto& c : cases) {
        writeFile(appFile(QStringLiteral("VantrelleSkyplot.ini")), c.ini);
        open();
        const auto* timer = window->findChild<QTimer*>(QStringLiteral("timMemTrim"));
        ASSERT_NE(timer, nullptr);
        EXPECT_EQ(timer->isActive(), c.active) << c.ini.toStdString();
        EXPECT_EQ(timer->interval(), c.interval) << c.ini.toStdString();
        window.reset();
    }
}

TEST_F(MainWindowTest, MissingPlanFolderIsReportedAndStartUpGoesOn) {
    QDir(xplaneFile(QStringLiteral("Output"))).removeRecursively();
    platform::ScopedMessageBoxAnswerer answerer(
        [](const platform::MessageBoxRequest&) { return platform::MessageResult::Ok; });
    open();
    ASSERT_EQ(answerer.requests().size(), 1u);
    const auto& box = answerer.requests().front();
    EXPECT_EQ(box.caption, QStringLiteral("Vantrelle Skyplot"));
    EXPECT_EQ(box.buttons, platform::MessageButtons::Ok);
    EXPECT_TRUE(box.topmost);
    EXPECT_EQ(
        box.text,
        QStringLiteral("Vantrelle Skyplot cannot find your \"FMS Plans\" folder here:\r\n\r\n") +
            xplaneFile(QStringLiteral("Output/FMS Plans")) +
            QStringLiteral("\r\n\r\nMake sure you are running Skyplot from the "
                           "[X-Plane]/Norvane folder!"));
    EXPECT_TRUE(child("pnlMapMenu")->isVisible());
}

TEST_F(MainWindowTest, UntimedNoticeStaysAndTimedNoticesDoNotQueue) {
    open();
    window->ShowNotice(QStringLiteral("stays"), 0);
    platform::Pause(50);
    EXPECT_TRUE(noticeShown());

    // A notice shown during another's wait replaces the text at once, and each
    // hides the panel when its own time is up.
    bool hiddenBeforeFirstEnded = false;
    QTimer::singleShot(300, [&] {
        window->ShowNotice(QStringLiteral("second"), 1);
        hiddenBeforeFirstEnded = !noticeShown();
    });
    QElapsedTimer clock;
    clock.start();
    window->ShowNotice(QStringLiteral("first"), 2);
    EXPECT_GE(clock.elapsed(), 2000);
    EXPECT_TRUE(hiddenBeforeFirstEnded);
    EXPECT_EQ(noticeText(), QStringLiteral("second"));
    EXPECT_FALSE(noticeShown());
}

TEST_F(MainWindowTest, VectorButtonsShowTheirTwoNotices) {
    open();
    for (const char* button : {"btnVectorMap", "btnToggleTGlobe"}) {
        QElapsedTimer clock;
        clock.start();
        const QStringList seen =
            noticesDuring([&] { QMetaObject::invokeMethod(child(button), "click"); });
        EXPECT_GE(clock.elapsed(), 4000) << button;
        EXPECT_EQ(seen, (QStringList{QStringLiteral("Only available within Norvane..."),
                                     QStringLiteral("Get Free Demo from Vantrelle...")}))
            << button;
        EXPECT_FALSE(noticeShown());
    }
}

TEST_F(MainWindowTest, StayOnTopTogglesWithExactlyOneSwitchShown) {
    open();
    window->imgTopMostOffClick();
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(child("imgTopMostOn")->isVisible());
    EXPECT_FALSE(child("imgTopMostOff")->isVisible());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(noticeText(), QStringLiteral("Stay On Top Disabled..."));

    window->imgTopMostOnClick();
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(child("imgTopMostOn")->isVisible());
    EXPECT_TRUE(child("imgTopMostOff")->isVisible());
    EXPECT_EQ(noticeText(), QStringLiteral("Stay On Top Enabled..."));
}

TEST_F(MainWindowTest, HotKeyHidesAndShowsAndAHiddenWindowKeepsItsBusEntry) {
    open();
    window->hkShowHidePress();
    EXPECT_FALSE(window->isVisible());
    EXPECT_NE(findWindow(QStringLiteral("TfrmMain_Skyplot")), 0u);
    window->hkShowHidePress();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowTest, ASecondWindowWithTheSameBlockStepsAside) {
    open();
    skyplot::TfrmMain_Skyplot::Options options;
    options.executablePath = appFile(QStringLiteral("VantrelleSkyplot"));
    options.registryFile = root.filePath(QStringLiteral("registry.json"));
    options.instanceBlockName = QStringLiteral("VtlSkyplotUnitTest");
    options.createBrowser = [](QWidget* parent) { return new FakeBrowser(parent); };
    const skyplot::TfrmMain_Skyplot second(options);
    EXPECT_TRUE(second.isSecondCopy());
    EXPECT_EQ(second.windowHandle32(), 0u);
    EXPECT_EQ(findWindow(QStringLiteral("TfrmMain_Skyplot")), window->windowHandle32());
    // The queued quit that ends the second copy must not end this test run.
    QCoreApplication::removePostedEvents(qApp);
}

TEST_F(MainWindowTest, CloseSpotStopsRecordsAndClosesAfterItsNotice) {
    open();
    skyplot::IsConnected = true;
    QElapsedTimer clock;
    clock.start();
    window->imgCloseClick();
    EXPECT_GE(clock.elapsed(), 2000);
    EXPECT_FALSE(skyplot::IsConnected);
    EXPECT_EQ(noticeText(), QStringLiteral("Shutting Down SKYPLOT..."));
    EXPECT_FALSE(window->isVisible());
}
