#pragma once

// A route for the simulator stand-in: waypoints flown in order at a constant
// ground speed, giving a position and a track at any time.

#include <QString>
#include <QVector>
#include <optional>

namespace vtl::standin {

struct GeoPoint {
    double lat = 0;
    double lon = 0;
};

struct AircraftState {
    GeoPoint position;
    double heading = 0; // degrees true, 0..360
};

double distanceNm(const GeoPoint& a, const GeoPoint& b);
double initialBearing(const GeoPoint& from, const GeoPoint& to);
GeoPoint interpolate(const GeoPoint& a, const GeoPoint& b, double fraction);

class FlightRoute {
public:
    explicit FlightRoute(QVector<GeoPoint> points, bool closed);

    // A left-hand circuit around Seattle-Tacoma, closed, for the demo.
    static FlightRoute builtInCircuit();
    // The waypoints of an FMS plan (from line 5 up to the end marker); none when
    // the file cannot be read or holds fewer than two usable waypoints.
    static std::optional<FlightRoute> fromFmsFile(const QString& path, QString* error);

    double lengthNm() const { return m_lengthNm; }
    // Where the aircraft is after flying this far; a closed route wraps, an open
    // one stays at its last point.
    AircraftState stateAt(double flownNm) const;

private:
    QVector<GeoPoint> m_points;
    QVector<double> m_legLengths;
    double m_lengthNm = 0;
    bool m_closed = false;
};

} // namespace vtl::standin
