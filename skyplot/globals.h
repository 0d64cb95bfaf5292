#pragma once

// The map program's run-wide state. Each value has one owner that sets it; the
// rest of the program only reads it.

#include "platform/WindowBus.h"
#include "shared/AircraftData.h"

#include <QString>
#include <cstdint>

namespace vtl::skyplot {

// Folders and settings.
extern QString AppFolder;    // the executable's folder, ending in "/"
extern QString SettingsFile; // AppFolder + "VantrelleSkyplot.ini"
extern QString ChartFolder;  // chart library, ending in "/"
extern int MemLimitMB;

// Simulator link.
extern platform::WindowHandle XPlaneWindow;
extern bool IsConnected;
extern std::uint32_t RegisterWindowHandleMsg;

// Aircraft state.
extern TAircraftData AircraftData;
extern double AircraftLat;
extern double AircraftLon;
extern std::int32_t AircraftHeading;

// Map page.
extern QString AssetBaseUrl;
extern int MapTypeIndex;

} // namespace vtl::skyplot
