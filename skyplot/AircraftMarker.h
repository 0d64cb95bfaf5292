#pragma once

// Turns aircraft records into script calls: pan the map to the aircraft and draw
// its marker anew with the picture for its heading.

#include <QString>
#include <cstdint>
#include <functional>

namespace vtl::platform {
class Browser;
}

namespace vtl::skyplot {

// 0, 10, ... 350 for headings 0..359 (355..359 wrap to 0); 0 for anything else.
int aircraftIconNumber(std::int32_t heading);

QString panToScript(double latitude, double longitude);
QString drawPlaneMarkerScript(const QString& iconUrl, double latitude, double longitude);
inline const QString kRemovePlaneScript = QStringLiteral("removePlane()");

class AircraftMarker {
public:
    // mapReady tells whether the map is on screen and the page idle.
    AircraftMarker(platform::Browser& browser, std::function<bool()> mapReady);

    // Takes the position and heading of AircraftData, then pans and redraws when
    // the map is ready.
    void UpdateAircraft();
    void PanToAircraft();
    void DrawAircraftMarker();
    void RemoveAircraftMarker();
    QString AircraftIconUrl() const;

private:
    platform::Browser& m_browser;
    std::function<bool()> m_mapReady;
};

} // namespace vtl::skyplot
