#include "skyplot/globals.h"

namespace vtl::skyplot {

QString AppFolder;
QString SettingsFile;
QString ChartFolder;
int MemLimitMB = 50;

platform::WindowHandle XPlaneWindow = 0;
bool IsConnected = false;
std::uint32_t RegisterWindowHandleMsg = 0;

TAircraftData AircraftData{};
double AircraftLat = 0;
double AircraftLon = 0;
std::int32_t AircraftHeading = 0;

QString AssetBaseUrl;
int MapTypeIndex = 0;

} // namespace vtl::skyplot
