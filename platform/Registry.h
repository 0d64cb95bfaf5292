#pragma once

// The current user's registry hive: keys with typed values (text and 32-bit
// numbers), kept in one file under $XDG_CONFIG_HOME and written atomically.

#include <QString>
#include <cstdint>
#include <optional>

namespace vtl::platform {

class Registry {
public:
    // The store of the current user: $XDG_CONFIG_HOME (or ~/.config)/vantrelle/registry.json.
    static QString defaultStoreFile();

    // browserCacheFolder answers the shell folders key's "Cache" value while the
    // store holds none (the disk cache that the embedded browser really uses).
    explicit Registry(QString storeFile = defaultStoreFile(), QString browserCacheFolder = {});

    // Key paths use "\" between their parts and match without case.
    bool keyExists(const QString& key) const;
    bool createKey(const QString& key);
    bool writeString(const QString& key, const QString& name, const QString& value);
    bool writeNumber(const QString& key, const QString& name, std::uint32_t value);
    std::optional<QString> readString(const QString& key, const QString& name) const;
    std::optional<std::uint32_t> readNumber(const QString& key, const QString& name) const;

    static inline const QString kShellFoldersKey =
        QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\");

private:
    QString m_storeFile;
    QString m_browserCacheFolder;
};

} // namespace vtl::platform
