#include "skyplot/AircraftMarker.h"

#include "platform/Browser.h"
#include "shared/NumberText.h"
#include "shared/ScriptText.h"
#include "skyplot/globals.h"

namespace vtl::skyplot {

int aircraftIconNumber(std::int32_t heading) {
    if (heading < 0 || heading > 359) {
        return 0;
    }
    const int number = 10 * ((heading + 5) / 10);
    return number == 360 ? 0 : number;
}

QString panToScript(double latitude, double longitude) {
    return QStringLiteral("map.panTo(new google.maps.LatLng(%1, %2))")
        .arg(FormatNumber15(latitude), FormatNumber15(longitude));
}

QString drawPlaneMarkerScript(const QString& iconUrl, double latitude, double longitude) {
    return QStringLiteral("drawPlaneMarker(\"%1\", \"%2\", \"%3\", \"Aircraft\")")
        .arg(escapeForScriptString(iconUrl), FormatNumber15(latitude), FormatNumber15(longitude));
}

AircraftMarker::AircraftMarker(platform::Browser& browser, std::function<bool()> mapReady)
    : m_browser(browser), m_mapReady(std::move(mapReady)) {}

void AircraftMarker::UpdateAircraft() {
    AircraftLat = AircraftData.Latitude();
    AircraftLon = AircraftData.Longitude();
    // A heading that is no usable number leaves the last good one in place.
    if (const auto heading = roundHalfEven32(AircraftData.Heading())) {
        AircraftHeading = *heading;
    }
    if (m_mapReady()) {
        PanToAircraft();
        DrawAircraftMarker();
    }
}

void AircraftMarker::PanToAircraft() {
    m_browser.ExecScript(panToScript(AircraftLat, AircraftLon));
}

void AircraftMarker::DrawAircraftMarker() {
    RemoveAircraftMarker();
    m_browser.ExecScript(drawPlaneMarkerScript(AircraftIconUrl(), AircraftLat, AircraftLon));
}

void AircraftMarker::RemoveAircraftMarker() {
    m_browser.ExecScript(kRemovePlaneScript);
}

QString AircraftMarker::AircraftIconUrl() const {
    return AssetBaseUrl + QStringLiteral("plane%1.png").arg(aircraftIconNumber(AircraftHeading));
}

} // namespace vtl::skyplot
