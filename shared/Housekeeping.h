#pragma once

// Upkeep of the embedded browser and of the process: the browser emulation
// values, the cleanup of cached page scripts and the trimming of memory.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace vtl {

namespace platform {
class Registry;
}

inline const QString kBrowserEmulationKey = QStringLiteral(
    "Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION");
inline const QString kNoCacheFolder = QStringLiteral("NOTHING");
inline const QString kCachedPageScriptPattern = QStringLiteral("*skyplot*.js");

// The value stored for an emulation mode 0..3; none for any other mode.
std::optional<std::uint32_t> browserEmulationValue(int mode);
// An empty name stands for the running executable's own file name.
void SetBrowserEmulation(platform::Registry& registry, int mode, const QString& exeName);

// The browser cache folder ending in "/", or "NOTHING" when the key is missing.
QString GetBrowserCacheFolder(const platform::Registry& registry);
// Appends the matching files of the folder, then those of each sub-folder.
void FindFilesRecursive(QStringList& list, const QString& folder, const QString& pattern);
void DeleteCachedPageScripts(const platform::Registry& registry);

std::uint64_t GetWorkingSetSize();
// Whether a working set of this many bytes is above the limit in whole megabytes.
bool isAboveMemoryLimit(std::uint64_t workingSetBytes, int limitMB);
void TrimWorkingSet(int limitMB);

} // namespace vtl
