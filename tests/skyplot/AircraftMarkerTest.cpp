#include "skyplot/AircraftMarker.h"

#include "shared/NumberText.h"
#include "skyplot/globals.h"
#include "support/FakeBrowser.h"

#include <gtest/gtest.h>

using namespace vtl::skyplot;

TEST(AircraftIcon, HeadingBandsOfTenWrapAtNorth) {
    // Headings as they arrive, rounded halves-to-even first.
    const struct {
        double heading;
        int icon;
    } cases[] = {
        {4.5, 0},     {5.5, 10},  {14.5, 10}, {15, 20}, {90, 90}, {95, 100},
        {354.5, 350}, {354.6, 0}, {359.7, 0}, {-3, 0},  {725, 0}, {360, 0},
    };
    for (const auto& c : cases) {
        const auto rounded = vtl::roundHalfEven32(c.heading);
        ASSERT_TRUE(rounded);
        EXPECT_EQ(aircraftIconNumber(*rounded), c.icon) << c.heading;
    }
}

TEST(AircraftScripts, PositionsTravelAsFifteenDigitTextAndTheIconAddressIsEscaped) {
    EXPECT_EQ(panToScript(47.4502, -122.3088),
              QStringLiteral("map.panTo(new google.maps.LatLng(47.4502, -122.3088))"));
    EXPECT_EQ(panToScript(0.00005, 0),
              QStringLiteral("map.panTo(new google.maps.LatLng(5E-5, 0))"));
    EXPECT_EQ(drawPlaneMarkerScript(QStringLiteral("file://localhost/a/plane0.png"), 47.5, -122.25),
              QStringLiteral("drawPlaneMarker(\"file://localhost/a/plane0.png\", \"47.5\", "
                             "\"-122.25\", \"Aircraft\")"));
    // A configured address cannot break out of its string.
    EXPECT_EQ(
        drawPlaneMarkerScript(QStringLiteral("x\");alert(1);//"), 1, 2),
        QStringLiteral("drawPlaneMarker(\"x\\\");alert(1);//\", \"1\", \"2\", \"Aircraft\")"));
}

TEST(AircraftScripts, MarkerBeforeAnyRecordIsAtZeroWithIconZero) {
    QWidget host;
    vtl::test::FakeBrowser browser(&host);
    AircraftLat = 0;
    AircraftLon = 0;
    AircraftHeading = 0;
    AssetBaseUrl = QStringLiteral("http://pictures/");
    AircraftMarker marker(browser, [] { return false; });
    marker.DrawAircraftMarker();
    EXPECT_EQ(browser.scripts,
              (QStringList{QStringLiteral("removePlane()"),
                           QStringLiteral("drawPlaneMarker(\"http://pictures/plane0.png\", \"0\", "
                                          "\"0\", \"Aircraft\")")}));
}
