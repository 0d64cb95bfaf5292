#pragma once

#include <QString>

namespace vtl {

// The text escaped to stand between double quotes in a script's string literal.
QString escapeForScriptString(const QString& text);

} // namespace vtl
