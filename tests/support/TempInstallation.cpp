#include "support/TempInstallation.h"

#include "shared/FileUrl.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vtl::test {

namespace {
void writeFile(const QString& path, const QByteArray& contents) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(contents);
    }
}
} // namespace

TempInstallation::TempInstallation(const QString& pageFile) {
    QDir().mkpath(appFolder());
    QDir().mkpath(xplaneFolder() + QStringLiteral("/Output/FMS Plans"));
    const QString page = QStringLiteral(VTL_APP_DIR "/mappage/");
    addAppFile(QStringLiteral("mappage.ini"),
               QStringLiteral("[MapPage]\r\nurl=%1\r\nassets=%2\r\n")
                   .arg(FileToUrl(page + pageFile), FileToUrl(page + QStringLiteral("img/")))
                   .toUtf8());
}

QString TempInstallation::xplaneFolder() const {
    return m_root.filePath(QStringLiteral("X-Plane"));
}

QString TempInstallation::appFolder() const {
    return xplaneFolder() + QStringLiteral("/Norvane/");
}

QString TempInstallation::executablePath() const {
    return appFolder() + QStringLiteral("VantrelleSkyplot");
}

void TempInstallation::addXPlaneFile(const QString& relativePath) const {
    writeFile(xplaneFolder() + QLatin1Char('/') + relativePath, {});
}

void TempInstallation::addAppFile(const QString& name, const QByteArray& contents) const {
    writeFile(appFolder() + name, contents);
}

} // namespace vtl::test
