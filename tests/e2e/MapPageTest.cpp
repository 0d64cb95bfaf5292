// The bundled map page and the recording page, driven through the real browser
// exactly as the programs drive them: by script texts.

#include "PageFixture.h"
#include "shared/FileUrl.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace vtl::test {
namespace {

QString toText(const QJsonValue& value) {
    if (value.isObject()) {
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    }
    if (value.isArray()) {
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    }
    return QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
}

// Every member of expected is in actual with the same value; numbers within a
// small tolerance. Appends the differences to failures.
void compareSubset(const QJsonValue& expected, const QJsonValue& actual, const QString& path,
                   QStringList& failures) {
    if (expected.isObject() && actual.isObject()) {
        const QJsonObject e = expected.toObject();
        const QJsonObject a = actual.toObject();
        for (auto it = e.begin(); it != e.end(); ++it) {
            compareSubset(it.value(), a.value(it.key()), path + "." + it.key(), failures);
        }
    } else if (expected.isArray() && actual.isArray() &&
               expected.toArray().size() == actual.toArray().size()) {
        const QJsonArray e = expected.toArray();
        const QJsonArray a = actual.toArray();
        for (int i = 0; i < e.size(); ++i) {
            compareSubset(e.at(i), a.at(i), path + "[" + QString::number(i) + "]", failures);
        }
    } else if (expected.isDouble() && actual.isDouble()) {
        if (std::abs(expected.toDouble() - actual.toDouble()) > 1e-6) {
            failures << path + ": expected " + toText(expected) + ", got " + toText(actual);
        }
    } else if (expected != actual) {
        failures << path + ": expected " + toText(expected) + ", got " + toText(actual);
    }
}

class MapPageTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(page.load(bundledPageUrl())) << "the map page did not load";
    }

    QJsonObject state() { return page.evaluateJson(QStringLiteral("skyplotState()")).toObject(); }

    PageFixture page;
};

TEST_F(MapPageTest, DefinesEveryNameTheProgramsCall) {
    const QJsonValue types = page.evaluateJson(QStringLiteral(
        "[typeof map, typeof map.panTo, typeof map.setZoom, typeof map.getZoom,"
        " typeof map.setMapTypeId, typeof map.getCenter, typeof google.maps.LatLng,"
        " typeof google.maps.Polyline, typeof google.maps.MapTypeId, typeof drawPlaneMarker,"
        " typeof removePlane, typeof zoomIn, typeof zoomOut, typeof drawFltPlnMarker,"
        " typeof clearWptIcons, typeof clearFlightPlan, typeof zoomToPlan,"
        " typeof overlayChart, typeof clearChart, typeof skyplotState]"));
    QStringList expected(20, QStringLiteral("function"));
    expected[0] = expected[8] = QStringLiteral("object");
    EXPECT_EQ(types.toVariant().toStringList(), expected);
}

TEST_F(MapPageTest, StartsOnTheTerrainMapAtZoomTwoOverNullIsland) {
    QStringList failures;
    compareSubset(QJsonDocument::fromJson(R"({"center":[0,0],"zoom":2,"mapType":"terrain",
        "tileLayers":["terrain"],"plane":null,"planMarkers":[],"flightplanOnMap":false,
        "polylines":[],"chart":null})")
                      .object(),
                  state(), QStringLiteral("state"), failures);
    EXPECT_TRUE(failures.isEmpty()) << failures.join('\n').toStdString();
}

// --- script texts and their effect ----------------------------------------------

struct ScriptCase {
    const char* name;
    std::vector<QString> scripts; // run one after the other
    const char* expectedState;    // the members of skyplotState() to check
    const char* alsoTrue = "";    // an expression that must hold afterwards
};

const QString kPlaneLine = QStringLiteral(
    "var flightplan = new google.maps.Polyline({ path: [new google.maps.LatLng(47, -122), "
    "new google.maps.LatLng(48, -121.5)], strokeColor: \"#FF00FF\", strokeWeight: 5, "
    "strokeOpacity: 0.6 })");

const std::vector<ScriptCase> kScriptCases = {
    {"DrawPlaneMarker",
     {R"(drawPlaneMarker("file://localhost/img/plane90.png", "47.5", "-122.25", "Aircraft"))"},
     R"({"plane":{"icon":"file://localhost/img/plane90.png","lat":47.5,"lng":-122.25,
         "title":"Aircraft"}})"},
    {"DrawPlaneMarkerAgainKeepsOneMarker",
     {R"(drawPlaneMarker("p0.png", "47.5", "-122.25", "Aircraft"))",
      R"(drawPlaneMarker("p0.png", "47.6", "-122.2", "Aircraft"))",
      R"(drawPlaneMarker("p10.png", "47.7", "-122.1", "Aircraft"))"},
     R"({"plane":{"icon":"p10.png","lat":47.7,"lng":-122.1}})",
     "document.querySelectorAll('.leaflet-marker-icon').length === 1"},
    {"RemovePlane",
     {R"(drawPlaneMarker("p0.png", "47.5", "-122.25", "Aircraft"))", "removePlane()"},
     R"({"plane":null})",
     "document.querySelectorAll('.leaflet-marker-icon').length === 0"},
    {"RemovePlaneWithoutPlane", {"removePlane()", "removePlane()"}, R"({"plane":null})"},
    // Small moves are made in whole pixels: the point lands in the middle.
    {"PanTo",
     {"map.panTo(new google.maps.LatLng(47.5, -122.25))"},
     R"({"zoom":2})",
     "map.leaflet.latLngToContainerPoint([47.5, -122.25])"
     ".distanceTo(map.leaflet.getSize().divideBy(2)) <= 1"},
    {"PanToFarAway",
     {"map.setZoom(12)", "map.panTo(new google.maps.LatLng(-33.9, 151.2))"},
     R"({"zoom":12})",
     "map.leaflet.latLngToContainerPoint([-33.9, 151.2])"
     ".distanceTo(map.leaflet.getSize().divideBy(2)) <= 1"},
    {"SetZoom", {"map.setZoom(11)"}, R"({"zoom":11})", "map.getZoom() === 11"},
    {"Roadmap",
     {"map.setMapTypeId(google.maps.MapTypeId.ROADMAP)"},
     R"({"mapType":"roadmap","tileLayers":["roadmap"]})"},
    {"Satellite",
     {"map.setMapTypeId(google.maps.MapTypeId.SATELLITE)"},
     R"({"mapType":"satellite","tileLayers":["imagery"]})"},
    {"Hybrid",
     {"map.setMapTypeId(google.maps.MapTypeId.HYBRID)"},
     R"({"mapType":"hybrid","tileLayers":["imagery","labels"]})"},
    {"BackToTerrain",
     {"map.setMapTypeId(google.maps.MapTypeId.HYBRID)",
      "map.setMapTypeId(google.maps.MapTypeId.TERRAIN)"},
     R"({"mapType":"terrain","tileLayers":["terrain"]})",
     "document.querySelectorAll('.leaflet-layer').length === 1"},
    {"ZoomIn", {"zoomIn()"}, R"({"zoom":3})"},
    {"ZoomOut", {"zoomOut()"}, R"({"zoom":1})"},
    {"ZoomInTwiceAfterSetZoom", {"map.setZoom(7)", "zoomIn()", "zoomIn()"}, R"({"zoom":9})"},
    {"PlanMarkers",
     {R"(drawFltPlnMarker("airport.png", "47.45", "-122.31", "<b>KSEA</b>"))",
      R"(drawFltPlnMarker("waypnt.png", "47.9", "-122.0", "<b>A &amp; B</b>"))"},
     R"({"planMarkers":[{"icon":"airport.png","lat":47.45,"lng":-122.31,"html":"<b>KSEA</b>"},
         {"icon":"waypnt.png","lat":47.9,"lng":-122,"html":"<b>A &amp; B</b>"}]})"},
    {"ClearWptIcons",
     {R"(drawFltPlnMarker("airport.png", "47.45", "-122.31", "KSEA"))",
      R"(drawFltPlnMarker("waypnt.png", "47.9", "-122.0", "A"))", "clearWptIcons()"},
     R"({"planMarkers":[]})",
     "document.querySelectorAll('.vtl-plan-icon').length === 0"},
    {"FlightPlanLine",
     {kPlaneLine, "flightplan.setMap(map)"},
     R"({"flightplanOnMap":true,"polylines":[[[47,-122],[48,-121.5]]]})",
     "document.querySelectorAll('.leaflet-overlay-pane path').length === 1"},
    {"FlightPlanLineSetMapNull",
     {kPlaneLine, "flightplan.setMap(map)", "flightplan.setMap(null)"},
     R"({"flightplanOnMap":false,"polylines":[]})"},
    {"ClearFlightPlan",
     {kPlaneLine, "flightplan.setMap(map)", "clearFlightPlan()"},
     R"({"flightplanOnMap":false,"polylines":[]})"},
    {"ClearFlightPlanWithoutLine", {"clearFlightPlan()"}, R"({"flightplanOnMap":false})"},
    {"ZoomToPlan",
     {"zoomToPlan(47.0, -123.0, 48.0, -121.0)"},
     R"({})",
     "map.getZoom() > 5 && map.leaflet.getBounds().contains([[47, -123], [48, -121]])"},
    {"OverlayChart",
     {R"(overlayChart("file://localhost/c/chart%201.jpg", -123.5, -122.0, 48.25, 47.0))"},
     R"({"chart":{"url":"file://localhost/c/chart%201.jpg",
         "bounds":{"west":-123.5,"east":-122,"north":48.25,"south":47}}})"},
    {"OverlayChartFromTexts",
     {R"(overlayChart("c.jpg", "-123.5", "-122.0", "48.25", "47.0"))"},
     R"({"chart":{"url":"c.jpg","bounds":{"west":-123.5,"east":-122,"north":48.25,"south":47}}})"},
    {"OverlayChartReplacesTheLastOne",
     {R"(overlayChart("a.jpg", 1, 2, 4, 3))", R"(overlayChart("b.jpg", 5, 6, 8, 7))"},
     R"({"chart":{"url":"b.jpg","bounds":{"west":5,"east":6,"north":8,"south":7}}})",
     "document.querySelectorAll('.leaflet-image-layer').length === 1"},
    {"ClearChart",
     {R"(overlayChart("a.jpg", 1, 2, 4, 3))", "clearChart()"},
     R"({"chart":null})",
     "document.querySelectorAll('.leaflet-image-layer').length === 0"},
    // Unusable arguments change nothing and raise nothing.
    {"BadPlanePosition",
     {R"(drawPlaneMarker("p.png", "abc", "1", "Aircraft"))",
      R"(drawPlaneMarker("p.png", "95", "1", "Aircraft"))",
      R"(drawPlaneMarker("p.png", "1", "", "Aircraft"))"},
     R"({"plane":null})"},
    {"BadZoom", {R"(map.setZoom("x"))", "map.setZoom()"}, R"({"zoom":2})"},
    {"BadPan",
     {R"(map.panTo(new google.maps.LatLng("north", "5")))", "map.panTo(null)",
      "map.panTo(new google.maps.LatLng(NaN, 5))"},
     R"({"center":[0,0]})"},
    {"BadMapType",
     {R"(map.setMapTypeId("nonsense"))", "map.setMapTypeId()"},
     R"({"mapType":"terrain"})"},
    {"BadPlanMarker", {R"(drawFltPlnMarker("w.png", "", "x", "A"))"}, R"({"planMarkers":[]})"},
    {"BadZoomToPlan", {R"(zoomToPlan("a", 1, 2, 3))"}, R"({"zoom":2,"center":[0,0]})"},
    {"BadChart",
     {R"(overlayChart("c.jpg", "w", "e", "n", "s"))", R"(overlayChart("", 1, 2, 4, 3))"},
     R"({"chart":null})"},
    {"BadLinePointsLeftOut",
     {"var flightplan = new google.maps.Polyline({ path: [new google.maps.LatLng(1, 2), "
      "new google.maps.LatLng('x', 3), new google.maps.LatLng(4, 5)] })",
      "flightplan.setMap(map)"},
     R"({"flightplanOnMap":true,"polylines":[[[1,2],[4,5]]]})"},
};

class MapPageScripts : public MapPageTest, public testing::WithParamInterface<ScriptCase> {};

TEST_P(MapPageScripts, RunWithoutErrorAndShowTheirEffect) {
    const ScriptCase& c = GetParam();
    for (const QString& script : c.scripts) {
        EXPECT_EQ(page.runReportingError(script), QString()) << script.toStdString();
    }
    const QJsonObject actual = state();
    QStringList failures;
    compareSubset(QJsonDocument::fromJson(c.expectedState).object(), actual,
                  QStringLiteral("state"), failures);
    EXPECT_TRUE(failures.isEmpty())
        << failures.join('\n').toStdString() << "\nstate " << toText(actual).toStdString();
    if (*c.alsoTrue) {
        const auto holds = page.evaluate(QStringLiteral("!!(%1)").arg(c.alsoTrue));
        EXPECT_TRUE(holds && holds->toBool()) << c.alsoTrue;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MapPageScripts, testing::ValuesIn(kScriptCases),
                         [](const testing::TestParamInfo<ScriptCase>& info) {
                             return info.param.name;
                         });

TEST_F(MapPageTest, ScriptErrorIsDroppedAndTheNextScriptRuns) {
    auto& browser = page.browser();
    browser.ExecScript(QStringLiteral("noSuchFunction(1)"));
    browser.ExecScript(QStringLiteral("this is not a script ("));
    browser.ExecScript(QStringLiteral(R"(drawPlaneMarker("p.png", "10", "20", "Aircraft"))"));
    const QJsonObject plane = state().value(QStringLiteral("plane")).toObject();
    EXPECT_EQ(plane.value(QStringLiteral("lat")).toDouble(), 10.0);
    EXPECT_EQ(plane.value(QStringLiteral("lng")).toDouble(), 20.0);
}

TEST_F(MapPageTest, PlanMarkerOpensItsInfoWindowWhenClicked) {
    page.browser().ExecScript(
        QStringLiteral(R"(drawFltPlnMarker("w.png", "0", "0", "<b id='info'>KSEA</b>"))"));
    ASSERT_TRUE(page.waitForTrue(QStringLiteral("document.querySelector('.vtl-plan-icon')")));
    page.browser().ExecScript(
        QStringLiteral("document.querySelector('.vtl-plan-icon img').click()"));
    EXPECT_TRUE(
        page.waitForTrue(QStringLiteral("document.querySelector('.leaflet-popup-content #info')")));
}

// --- local chart pictures ----------------------------------------------------------

class ChartPicture : public MapPageTest {
protected:
    // A red picture in a folder whose name would cut an unencoded address short.
    QString makeChart() {
        const QString folder = temp.filePath(QStringLiteral("my charts #1"));
        EXPECT_TRUE(QDir().mkpath(folder));
        const QString path = QDir(folder).filePath(QStringLiteral("chart 1.jpg"));
        QImage image(64, 64, QImage::Format_RGB32);
        image.fill(Qt::red);
        EXPECT_TRUE(image.save(path, "JPG"));
        return path;
    }

    QString overlay(const QString& url) {
        return QStringLiteral("overlayChart(%1, -1.0, 1.0, 1.0, -1.0)").arg(jsString(url));
    }

    QTemporaryDir temp;
};

TEST_F(ChartPicture, ShowsThroughAnEncodedFileAddress) {
    const QString path = makeChart();
    page.browser().ExecScript(overlay(FileToUrl(path)));
    ASSERT_TRUE(page.waitForTrue(QStringLiteral("window.chartImageLoaded === true")))
        << "chartImageLoaded: "
        << toText(page.evaluateJson(QStringLiteral("window.chartImageLoaded"))).toStdString();

    // Centred on the chart, the middle of the view turns red through the overlay.
    page.browser().ExecScript(QStringLiteral("map.setZoom(6)"));
    page.browser().ExecScript(QStringLiteral("map.panTo(new google.maps.LatLng(0, 0))"));
    QColor middle;
    const bool red = waitUntil(
        [&] {
            const QImage shot = page.view()->grab().toImage();
            middle = shot.pixelColor(shot.width() / 2, shot.height() / 2);
            return middle.red() > 200 && middle.green() < 120 && middle.blue() < 120;
        },
        kScriptTimeout);
    EXPECT_TRUE(red) << "middle pixel " << middle.name().toStdString();
}

TEST_F(ChartPicture, MissingPictureReportsAnError) {
    page.browser().ExecScript(overlay(FileToUrl(temp.filePath(QStringLiteral("none #2.jpg")))));
    EXPECT_TRUE(page.waitForTrue(QStringLiteral("window.chartImageLoaded === false")));
}

// --- the recording page ----------------------------------------------------------------

TEST(RecordingPage, RecordsEveryCallInOrder) {
    PageFixture page;
    ASSERT_TRUE(page.load(bundledPageUrl(QStringLiteral("recording.html"))));
    const QStringList scripts = {
        R"(drawPlaneMarker("a.png","1","2","Aircraft"))",
        "map.panTo(new google.maps.LatLng(47.5, -122.25))",
        "removePlane()",
        "map.setZoom(11)",
        "map.setMapTypeId(google.maps.MapTypeId.HYBRID)",
        "zoomIn()",
        "zoomOut()",
        R"(drawFltPlnMarker("w.png","1.5","2.5","<b>X</b>"))",
        "var flightplan = new google.maps.Polyline({ path: [new google.maps.LatLng(1, 2), "
        "new google.maps.LatLng(3, 4)], strokeColor: \"#FF00FF\", strokeWeight: 5, "
        "strokeOpacity: 0.6 })",
        "flightplan.setMap(map)",
        "zoomToPlan(1, 2, 3, 4)",
        "clearFlightPlan()",
        "clearWptIcons()",
        R"(overlayChart("c.jpg", -123, -122, 48, 47))",
        "clearChart()",
    };
    for (const QString& script : scripts) {
        page.browser().ExecScript(script);
    }
    const QStringList expected = {
        R"(drawPlaneMarker("a.png","1","2","Aircraft"))",
        "map.panTo(47.5,-122.25)",
        "removePlane()",
        "map.setZoom(11)",
        R"(map.setMapTypeId("hybrid"))",
        "zoomIn()",
        "zoomOut()",
        R"(drawFltPlnMarker("w.png","1.5","2.5","<b>X</b>"))",
        R"(new google.maps.Polyline({"path":[[1,2],[3,4]],"strokeColor":"#FF00FF",)"
        R"("strokeWeight":5,"strokeOpacity":0.6}))",
        "polyline.setMap(map)",
        "zoomToPlan(1,2,3,4)",
        "clearFlightPlan()",
        "clearWptIcons()",
        R"(overlayChart("c.jpg",-123,-122,48,47))",
        "clearChart()",
    };
    EXPECT_EQ(page.evaluateJson(QStringLiteral("takeRecordedCalls()")).toVariant().toStringList(),
              expected);
    EXPECT_EQ(page.evaluateJson(QStringLiteral("takeRecordedCalls()")).toArray().size(), 0);
}

} // namespace
} // namespace vtl::test
