#include "shared/Housekeeping.h"

#include "platform/Paths.h"
#include "platform/ProcessMemory.h"
#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vtl {

std::optional<std::uint32_t> browserEmulationValue(int mode) {
    switch (mode) {
    case 0:
        return 7000;
    case 1:
        return 8000;
    case 2:
        return 9999;
    case 3:
        return 10001;
    default:
        return std::nullopt;
    }
}

void SetBrowserEmulation(platform::Registry& registry, int mode, const QString& exeName) {
    const auto value = browserEmulationValue(mode);
    if (!value) {
        return;
    }
    const QString name =
        exeName.isEmpty() ? QFileInfo(platform::executablePath()).fileName() : exeName;
    if (registry.createKey(kBrowserEmulationKey)) {
        registry.writeNumber(kBrowserEmulationKey, name, *value);
    }
}

QString GetBrowserCacheFolder(const platform::Registry& registry) {
    if (!registry.keyExists(platform::Registry::kShellFoldersKey)) {
        return kNoCacheFolder;
    }
    QString folder =
        registry.readString(platform::Registry::kShellFoldersKey, QStringLiteral("Cache"))
            .value_or(QString());
    if (!folder.endsWith(QLatin1Char('/'))) {
        folder += QLatin1Char('/');
    }
    return folder;
}

void FindFilesRecursive(QStringList& list, const QString& folder, const QString& pattern) {
    const QString base = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    const QDir dir(base);
    const auto hiddenToo = QDir::Hidden | QDir::System;
    for (const QString& name : dir.entryList({pattern}, QDir::Files | hiddenToo, QDir::NoSort)) {
        list.append(base + name);
    }
    // Links to folders are not followed, so a loop in the tree cannot trap the walk.
    const auto subFolders = dir.entryList(
        QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks | hiddenToo, QDir::NoSort);
    for (const QString& name : subFolders) {
        FindFilesRecursive(list, base + name, pattern);
    }
}

void DeleteCachedPageScripts(const platform::Registry& registry) {
    const QString folder = GetBrowserCacheFolder(registry);
    if (folder == kNoCacheFolder || folder == QLatin1String("/")) {
        return;
    }
    QStringList found;
    FindFilesRecursive(found, folder, kCachedPageScriptPattern);
    for (const QString& path : found) {
        if (QFileInfo(path).isFile()) {
            QFile::remove(path); // a file in use is simply left
        }
    }
}

std::uint64_t GetWorkingSetSize() {
    return platform::workingSetSize();
}

bool isAboveMemoryLimit(std::uint64_t workingSetBytes, int limitMB) {
    const auto megabytes = static_cast<std::int64_t>(workingSetBytes / 1048576);
    return limitMB < megabytes;
}

void TrimWorkingSet(int limitMB) {
    if (isAboveMemoryLimit(GetWorkingSetSize(), limitMB)) {
        platform::trimWorkingSet();
    }
}

} // namespace vtl
