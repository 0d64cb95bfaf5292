#include "shared/ScriptText.h"

namespace vtl {

QString escapeForScriptString(const QString& text) {
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '\'':
            out += QLatin1String("\\'");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '<': // keeps "</script>" from ever closing a script element
            out += QLatin1String("\\x3C");
            break;
        case 0x2028:
            out += QLatin1String("\\u2028");
            break;
        case 0x2029:
            out += QLatin1String("\\u2029");
            break;
        default:
            if (c.unicode() < 0x20) {
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            } else {
                out += c;
            }
        }
    }
    return out;
}

} // namespace vtl
