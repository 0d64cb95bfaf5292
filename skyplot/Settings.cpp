#include "skyplot/Settings.h"

#include "platform/ProfileFile.h"

#include <QFileInfo>
#include <algorithm>
#include <charconv>
#include <limits>

namespace vtl::skyplot {

QString folderOf(const QString& path) {
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString directoryPart(const QString& path) {
    QString dir = folderOf(path);
    // A root folder keeps its delimiter, as does one that follows another.
    if (dir.size() > 1 && dir.at(dir.size() - 2) != QLatin1Char('/')) {
        dir.chop(1);
    }
    return dir;
}

QString xplaneFolderOf(const QString& executablePath) {
    return directoryPart(directoryPart(executablePath));
}

QString fmsPlansFolderOf(const QString& executablePath) {
    return xplaneFolderOf(executablePath) + QStringLiteral("/Output/FMS Plans");
}

QString ReadSettingString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue) {
    return platform::readProfileString(file, section, key, defaultValue);
}

std::optional<int> parseSettingInteger(const QString& input) {
    QString text = input;
    if (text.size() > 2 &&
        (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X")))) {
        text.replace(0, 2, QLatin1Char('$'));
    }
    const QByteArray bytes = text.toLatin1();
    const char* first = bytes.constData();
    const char* const last = first + bytes.size();
    bool negative = false;
    if (first != last && (*first == '-' || *first == '+')) {
        negative = *first == '-';
        ++first;
    }
    const bool hex = first != last && *first == '$';
    if (hex) {
        ++first;
    }
    if (first == last) {
        return std::nullopt;
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(first, last, magnitude, hex ? 16 : 10);
    if (error != std::errc{} || end != last) {
        return std::nullopt;
    }
    if (hex) {
        // Up to eight hex digits fill the 32 bits, the top one being the sign.
        if (magnitude > std::numeric_limits<std::uint32_t>::max()) {
            return std::nullopt;
        }
        const auto value = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
        return static_cast<int>(negative ? -static_cast<std::uint32_t>(value)
                                         : static_cast<std::uint32_t>(value));
    }
    const std::int64_t value =
        negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (magnitude > std::uint64_t{1} << 32 || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

int ReadSettingInteger(const QString& file, const QString& section, const QString& key,
                       int defaultValue) {
    return parseSettingInteger(ReadSettingString(file, section, key, QString()))
        .value_or(defaultValue);
}

bool ReadSettingBool(const QString& file, const QString& section, const QString& key) {
    return ReadSettingInteger(file, section, key, 1) != 0;
}

AppliedSettings readAppliedSettings(const QString& settingsFile, const QString& appFolder) {
    AppliedSettings applied;
    QString chartFolder = appFolder + QStringLiteral("charts_skyplot");
    if (QFileInfo::exists(settingsFile)) {
        applied.memTrimEnabled =
            ReadSettingBool(settingsFile, QStringLiteral("MemControl"), QStringLiteral("memctrl"));
        const std::int64_t seconds = ReadSettingInteger(settingsFile, QStringLiteral("MemControl"),
                                                        QStringLiteral("meminterval"), 5);
        // A timer interval is an int: an absurd value is kept in range, not wrapped.
        applied.memTrimIntervalMs = static_cast<int>(
            std::clamp<std::int64_t>(seconds * 1000, 0, std::numeric_limits<int>::max()));
        applied.memLimitMB = ReadSettingInteger(settingsFile, QStringLiteral("MemControl"),
                                                QStringLiteral("memlimit"), 50);
        chartFolder = ReadSettingString(settingsFile, QStringLiteral("Charts"),
                                        QStringLiteral("chartfolder"), chartFolder);
    }
    if (!chartFolder.endsWith(QLatin1Char('/'))) {
        chartFolder += QLatin1Char('/');
    }
    applied.chartFolder = chartFolder;
    return applied;
}

} // namespace vtl::skyplot
