#pragma once

#include <QString>

namespace vtl {

// "file://localhost" followed by the absolute path, with the characters that
// would cut the address short or change its meaning percent-encoded: blank, "%",
// "#", "?" and the double quote. Everything else is passed as it stands.
QString FileToUrl(const QString& absolutePath);

} // namespace vtl
