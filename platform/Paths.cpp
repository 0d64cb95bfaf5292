#include "platform/Paths.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace vtl::platform {

QString executablePath() {
    QString real = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!real.isEmpty())
        return real;
    // The link does not resolve when the file was replaced or removed meanwhile.
    return QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
}

} // namespace vtl::platform
