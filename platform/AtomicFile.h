#pragma once

#include <QByteArray>
#include <QString>

namespace vtl::platform {

// Replaces the file's contents through a temporary file and a rename, so that a
// crash leaves either the old file or the new one, never half of either.
bool writeFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace vtl::platform
