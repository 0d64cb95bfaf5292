#include "tools/simstandin/FlightRoute.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vtl::standin;

TEST(StandInRoute, HeadingFollowsTheTrack) {
    const FlightRoute route({{47, -122}, {48, -122}, {48, -121}}, false);
    const struct {
        double flownNm;
        double heading;
    } cases[] = {{0, 0}, {30, 0}, {59, 0}, {61, 90}, {1000, 90}};
    for (const auto& c : cases) {
        EXPECT_NEAR(route.stateAt(c.flownNm).heading, c.heading, 1.0) << c.flownNm;
    }
    // An open route stops at its last point; a closed one comes round again.
    EXPECT_NEAR(route.stateAt(1e6).position.lon, -121, 1e-9);
    const FlightRoute circuit({{47, -122}, {48, -122}}, true);
    EXPECT_NEAR(circuit.stateAt(circuit.lengthNm() + 1).position.lat, 47 + 1.0 / 60, 1e-3);
}

TEST(StandInRoute, ReadsThePlanWaypointsUpToTheEndMarker) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan.fms"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "I\r\n3 version\r\n1\r\n3\r\n1 KSEA 0 47.449 -122.309\r\n11 ALKIS 0 47.576 -122.415\r\n"
        "1 KBLI 0 48.7925 -122.5375\r\n0 ---- 0 0 0\r\n1 XXXX 0 10 10\r\n");
    file.close();
    QString error;
    const auto route = FlightRoute::fromFmsFile(path, &error);
    ASSERT_TRUE(route) << error.toStdString();
    EXPECT_NEAR(route->stateAt(0).position.lat, 47.449, 1e-9);
    EXPECT_NEAR(route->stateAt(1e6).position.lat, 48.7925, 1e-9);
}

TEST(StandInRoute, UnusablePlansAreRefusedWithAReason) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.fms"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("I\r\n3 version\r\n1\r\n1\r\n1 KSEA 0 north west\r\n");
    file.close();
    for (const QString& plan : {path, dir.filePath(QStringLiteral("missing.fms"))}) {
        QString error;
        EXPECT_FALSE(FlightRoute::fromFmsFile(plan, &error));
        EXPECT_FALSE(error.isEmpty());
    }
}
