#pragma once

// The map program's settings file and the folders derived from where the
// program is installed ([X-Plane]/Norvane/VantrelleSkyplot).

#include <QString>
#include <optional>

namespace vtl::skyplot {

inline const QString kSettingsFileName = QStringLiteral("VantrelleSkyplot.ini");

// Folder rules, with "/" as the delimiter.
QString folderOf(const QString& path);      // up to and including the last "/"
QString directoryPart(const QString& path); // without that "/", except for the root
QString xplaneFolderOf(const QString& executablePath);
QString fmsPlansFolderOf(const QString& executablePath);

// Profile-style reads of one value, fresh from the file every time.
QString ReadSettingString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue);
int ReadSettingInteger(const QString& file, const QString& section, const QString& key,
                       int defaultValue);
bool ReadSettingBool(const QString& file, const QString& section, const QString& key);

// Text to a signed 32-bit number: decimal, or hexadecimal after "$" or "0x".
std::optional<int> parseSettingInteger(const QString& text);

// The values the main window applies at creation.
struct AppliedSettings {
    bool memTrimEnabled = true;
    int memTrimIntervalMs = 5000;
    int memLimitMB = 50;
    QString chartFolder; // ends in "/"
};
AppliedSettings readAppliedSettings(const QString& settingsFile, const QString& appFolder);

} // namespace vtl::skyplot
