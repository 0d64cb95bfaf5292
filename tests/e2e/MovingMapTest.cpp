// The moving map end to end: the simulator stand-in in its own process flies
// records over the window bus into the map window, whose real browser shows the
// recording page.

#include "PageFixture.h"
#include "platform/WebBrowser.h"
#include "skyplot/MainWindow.h"
#include "skyplot/globals.h"
#include "support/TempInstallation.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <cmath>
#include <gtest/gtest.h>

using namespace vtl;
using namespace std::chrono_literals;

namespace {

QJsonArray recordedCalls(platform::WebBrowser& browser) {
    QJsonArray calls;
    bool done = false;
    browser.ExecScript(QStringLiteral("JSON.stringify(window.recordedCalls)"),
                       [&](const QVariant& value) {
                           calls = QJsonDocument::fromJson(value.toString().toUtf8()).array();
                           done = true;
                       });
    test::waitUntil([&] { return done; }, test::kScriptTimeout);
    return calls;
}

} // namespace

TEST(MovingMap, StandInRecordsReachThePageAsPanRemoveAndDraw) {
    test::TempInstallation install(QStringLiteral("recording.html"));
    qputenv("XDG_RUNTIME_DIR", install.runtimeFolder().toUtf8());
    install.addXPlaneFile(QStringLiteral("Resources/plugins/VantrelleVARS/64/lin.xpl"));

    QProcess standIn;
    standIn.start(QStringLiteral(VTL_TOOLS_DIR "/vantrelle-simstandin"),
                  {QStringLiteral("--count"), QStringLiteral("3"), QStringLiteral("--rate"),
                   QStringLiteral("5")});
    ASSERT_TRUE(standIn.waitForReadyRead(10000)); // "simulator window N"

    skyplot::TfrmMain_Skyplot::Options options;
    options.executablePath = install.executablePath();
    options.registryFile = install.appFolder() + QStringLiteral("registry.json");
    options.instanceBlockName = QStringLiteral("VtlSkyplotE2E");
    platform::WebBrowser* browser = nullptr;
    options.createBrowser = [&](QWidget* parent) {
        browser = new platform::WebBrowser(parent);
        return browser;
    };
    skyplot::TfrmMain_Skyplot window(options);
    window.show();
    window.btnSkyplotClick();
    ASSERT_TRUE(skyplot::IsConnected);

    ASSERT_TRUE(test::waitUntil([&] { return standIn.state() == QProcess::NotRunning; }, 30s));
    const QStringList output =
        QString::fromUtf8(standIn.readAllStandardOutput()).split(QLatin1Char('\n'));
    // The registration named the map window's own handle.
    EXPECT_TRUE(output.contains(QStringLiteral("registered %1").arg(window.windowHandle32())));
    const QStringList sent = output.filter(QStringLiteral("sent "));
    ASSERT_EQ(sent.size(), 3);

    const QJsonArray calls = recordedCalls(*browser);
    ASSERT_EQ(calls.size(), 9) << QJsonDocument(calls).toJson().toStdString();
    const QRegularExpression pan(QString::fromLatin1(R"(^map\.panTo\(([-0-9.E]+),([-0-9.E]+)\)$)"));
    const QRegularExpression draw(QString::fromLatin1(
        R"re(^drawPlaneMarker\("(.*)plane(\d+)\.png","([-0-9.E]+)","([-0-9.E]+)","Aircraft"\)$)re"));
    for (int i = 0; i < 3; ++i) {
        const auto panned = pan.match(calls[3 * i].toString());
        ASSERT_TRUE(panned.hasMatch()) << calls[3 * i].toString().toStdString();
        EXPECT_EQ(calls[3 * i + 1].toString(), QStringLiteral("removePlane()"));
        const auto drawn = draw.match(calls[3 * i + 2].toString());
        ASSERT_TRUE(drawn.hasMatch()) << calls[3 * i + 2].toString().toStdString();
        EXPECT_EQ(drawn.captured(1), skyplot::AssetBaseUrl);

        // The stand-in said where it was and where it was heading.
        const QStringList fields = sent[i].split(QLatin1Char(' '));
        const double lat = fields[2].toDouble(), lon = fields[3].toDouble();
        const double heading = fields[4].toDouble();
        EXPECT_NEAR(panned.captured(1).toDouble(), lat, 1e-6);
        EXPECT_NEAR(panned.captured(2).toDouble(), lon, 1e-6);
        EXPECT_EQ(drawn.captured(3), panned.captured(1));
        EXPECT_EQ(drawn.captured(4), panned.captured(2));
        const int expectedIcon = (static_cast<int>(std::lround(heading)) + 5) / 10 * 10 % 360;
        EXPECT_EQ(drawn.captured(2).toInt(), expectedIcon);
    }
}
