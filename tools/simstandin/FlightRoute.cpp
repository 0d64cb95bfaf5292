#include "tools/simstandin/FlightRoute.h"

#include <QFile>
#include <QTextStream>
#include <charconv>
#include <cmath>
#include <numbers>

namespace vtl::standin {

namespace {
constexpr double kEarthRadiusNm = 3440.065;
double rad(double deg) {
    return deg * std::numbers::pi / 180.0;
}
double deg(double rad) {
    return rad * 180.0 / std::numbers::pi;
}

std::optional<double> parseNumber(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    double value = 0;
    const auto [end, error] = std::from_chars(bytes.begin(), bytes.end(), value);
    if (error != std::errc{} || end != bytes.end() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}
} // namespace

double distanceNm(const GeoPoint& a, const GeoPoint& b) {
    const double dLat = rad(b.lat - a.lat);
    const double dLon = rad(b.lon - a.lon);
    const double h =
        std::sin(dLat / 2) * std::sin(dLat / 2) +
        std::cos(rad(a.lat)) * std::cos(rad(b.lat)) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * kEarthRadiusNm * std::asin(std::min(1.0, std::sqrt(h)));
}

double initialBearing(const GeoPoint& from, const GeoPoint& to) {
    const double y = std::sin(rad(to.lon - from.lon)) * std::cos(rad(to.lat));
    const double x =
        std::cos(rad(from.lat)) * std::sin(rad(to.lat)) -
        std::sin(rad(from.lat)) * std::cos(rad(to.lat)) * std::cos(rad(to.lon - from.lon));
    return std::fmod(deg(std::atan2(y, x)) + 360.0, 360.0);
}

GeoPoint interpolate(const GeoPoint& a, const GeoPoint& b, double fraction) {
    // Legs are short: a straight line in degrees is close enough for a stand-in.
    return {a.lat + (b.lat - a.lat) * fraction, a.lon + (b.lon - a.lon) * fraction};
}

FlightRoute::FlightRoute(QVector<GeoPoint> points, bool closed)
    : m_points(std::move(points)), m_closed(closed) {
    if (closed && !m_points.isEmpty()) {
        m_points.append(m_points.front());
    }
    for (qsizetype i = 1; i < m_points.size(); ++i) {
        m_legLengths.append(distanceNm(m_points[i - 1], m_points[i]));
        m_lengthNm += m_legLengths.back();
    }
}

FlightRoute FlightRoute::builtInCircuit() {
    return FlightRoute({{47.4490, -122.3090},
                        {47.6200, -122.3100},
                        {47.6400, -122.4300},
                        {47.4300, -122.4400},
                        {47.2900, -122.4000},
                        {47.2800, -122.3100}},
                       true);
}

std::optional<FlightRoute> FlightRoute::fromFmsFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot open %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QTextStream in(&file);
    QVector<GeoPoint> points;
    for (int lineNumber = 1; !in.atEnd() && lineNumber <= 105; ++lineNumber) {
        const QString line = in.readLine().trimmed();
        if (lineNumber < 5) {
            continue;
        }
        if (line.isEmpty() || line.startsWith(QLatin1Char('0'))) {
            break;
        }
        const QStringList fields = line.split(QLatin1Char(' '));
        if (fields.size() < 5) {
            continue;
        }
        const auto lat = parseNumber(fields[3]);
        const auto lon = parseNumber(fields[4]);
        if (lat && lon) {
            points.append({*lat, *lon});
        }
    }
    if (points.size() < 2) {
        *error = QStringLiteral("%1 holds fewer than two waypoints").arg(path);
        return std::nullopt;
    }
    return FlightRoute(points, false);
}

AircraftState FlightRoute::stateAt(double flownNm) const {
    if (m_points.size() < 2 || m_lengthNm <= 0) {
        return {m_points.isEmpty() ? GeoPoint{} : m_points.front(), 0};
    }
    double along = m_closed ? std::fmod(std::max(0.0, flownNm), m_lengthNm)
                            : std::clamp(flownNm, 0.0, m_lengthNm);
    for (qsizetype leg = 0; leg < m_legLengths.size(); ++leg) {
        const double length = m_legLengths[leg];
        if (along <= length || leg == m_legLengths.size() - 1) {
            const double fraction = length > 0 ? std::min(1.0, along / length) : 1.0;
            return {interpolate(m_points[leg], m_points[leg + 1], fraction),
                    initialBearing(m_points[leg], m_points[leg + 1])};
        }
        along -= length;
    }
    return {m_points.back(), 0};
}

} // namespace vtl::standin
