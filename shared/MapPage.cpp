#include "shared/MapPage.h"

#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "shared/FileUrl.h"

#include <QDir>
#include <QFileInfo>

namespace vtl {

namespace {

const QString kSection = QStringLiteral("MapPage");

QString executableFolder() {
    return QFileInfo(platform::executablePath()).absolutePath();
}

// A value present in the deployment file is used as it stands; a missing or
// empty one falls back to the bundled default.
QString configured(const QString& appFolder, const QString& key, const QString& fallback) {
    const QString file = QDir(appFolder).filePath(QStringLiteral("mappage.ini"));
    const QString value = platform::readProfileString(file, kSection, key, QString());
    return value.isEmpty() ? fallback : value;
}

QString bundledPath(const QString& appFolder, const QString& name) {
    return QDir(appFolder).filePath(QStringLiteral("mappage/") + name);
}

} // namespace

QString GetMapPageUrl() {
    return GetMapPageUrl(executableFolder());
}

QString GetMapPageUrl(const QString& appFolder) {
    return configured(appFolder, QStringLiteral("url"),
                      FileToUrl(bundledPath(appFolder, QStringLiteral("index.html"))));
}

QString GetAssetBaseUrl() {
    return GetAssetBaseUrl(executableFolder());
}

QString GetAssetBaseUrl(const QString& appFolder) {
    return configured(appFolder, QStringLiteral("assets"),
                      FileToUrl(bundledPath(appFolder, QStringLiteral("img/"))));
}

} // namespace vtl
