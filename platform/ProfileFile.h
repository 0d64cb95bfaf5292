#pragma once

// INI files read and written the way the Windows profile functions do, so that
// files stay interchangeable with the Windows edition.

#include <QString>
#include <optional>

namespace vtl::platform {

inline constexpr int kProfileValueMaxChars = 2047;

// Section and key matched without case, blanks around the value dropped, at most
// 2,047 characters. A missing file, section or key gives the default; a present
// but empty value gives the empty text.
QString readProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue);

// Replaces the value in place, or appends the key at the end of its section;
// creates the section and the file when missing. No value deletes the key.
// The file is replaced atomically. False when the file could not be written.
bool writeProfileString(const QString& file, const QString& section, const QString& key,
                        const std::optional<QString>& value);

} // namespace vtl::platform
