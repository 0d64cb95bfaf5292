#include "shared/FileUrl.h"

namespace vtl {

QString FileToUrl(const QString& absolutePath) {
    QString url = QStringLiteral("file://localhost");
    url.reserve(url.size() + absolutePath.size());
    for (const QChar c : absolutePath) {
        switch (c.unicode()) {
        case ' ':
            url += QLatin1String("%20");
            break;
        case '%':
            url += QLatin1String("%25");
            break;
        case '#':
            url += QLatin1String("%23");
            break;
        case '?':
            url += QLatin1String("%3F");
            break;
        case '"':
            url += QLatin1String("%22");
            break;
        default:
            url += c;
        }
    }
    return url;
}

} // namespace vtl
