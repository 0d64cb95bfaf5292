#include "platform/Registry.h"

#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cmath>
#include <utility>

// The store is one JSON object: key path -> object of named values, where a
// text is a JSON string and a 32-bit number a JSON number. Every call reads the
// file afresh so that both programs see each other's writes.

namespace vtl::platform {
namespace {

constexpr QStringView kCacheValueName = u"Cache";

// "Software\\A\\" and "software\\a" are the same key.
QString normalizedKey(const QString& key) {
    return key.split(u'\\', Qt::SkipEmptyParts).join(u'\\');
}

bool isSameOrParent(const QString& parent, const QString& key) {
    if (parent.isEmpty())
        return true;
    if (!key.startsWith(parent, Qt::CaseInsensitive))
        return false;
    return key.size() == parent.size() || key[parent.size()] == u'\\';
}

// The stored spelling of a name that matches without case, or the name itself.
QString storedName(const QJsonObject& object, const QString& name) {
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.key();
    }
    return name;
}

std::optional<QJsonValue> findValue(const QJsonObject& store, const QString& key,
                                    const QString& name) {
    const QJsonValue values = store.value(storedName(store, normalizedKey(key)));
    if (!values.isObject())
        return std::nullopt;
    const QJsonObject object = values.toObject();
    const auto it = object.find(storedName(object, name));
    if (it == object.end())
        return std::nullopt;
    return it.value();
}

// A missing or damaged store reads as empty; it is only replaced by a write.
QJsonObject loadStore(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    const QJsonDocument document = QJsonDocument::fromJson(in.readAll());
    return document.isObject() ? document.object() : QJsonObject();
}

bool saveStore(const QString& file, const QJsonObject& store) {
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return false;
    const QByteArray bytes = QJsonDocument(store).toJson(QJsonDocument::Indented);
    return writeFileAtomically(file, bytes);
}

bool writeValue(const QString& file, const QString& key, const QString& name,
                const QJsonValue& value) {
    QJsonObject store = loadStore(file);
    const QString keyName = storedName(store, normalizedKey(key));
    const QJsonValue stored = store.value(keyName);
    QJsonObject values = stored.isObject() ? stored.toObject() : QJsonObject();
    values.insert(storedName(values, name), value);
    store.insert(keyName, values);
    return saveStore(file, store);
}

} // namespace

QString Registry::defaultStoreFile() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    // Relative values are invalid for the variable and ignored.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/vantrelle/registry.json");
}

Registry::Registry(QString storeFile, QString browserCacheFolder)
    : m_storeFile(std::move(storeFile)), m_browserCacheFolder(std::move(browserCacheFolder)) {}

bool Registry::keyExists(const QString& key) const {
    const QString wanted = normalizedKey(key);
    if (!m_browserCacheFolder.isEmpty() && isSameOrParent(wanted, normalizedKey(kShellFoldersKey)))
        return true;
    const QJsonObject store = loadStore(m_storeFile);
    for (auto it = store.begin(); it != store.end(); ++it) {
        if (it.value().isObject() && isSameOrParent(wanted, it.key()))
            return true;
    }
    return wanted.isEmpty();
}

bool Registry::createKey(const QString& key) {
    if (keyExists(key))
        return true;
    QJsonObject store = loadStore(m_storeFile);
    store.insert(normalizedKey(key), QJsonObject());
    return saveStore(m_storeFile, store);
}

bool Registry::writeString(const QString& key, const QString& name, const QString& value) {
    return writeValue(m_storeFile, key, name, value);
}

bool Registry::writeNumber(const QString& key, const QString& name, std::uint32_t value) {
    return writeValue(m_storeFile, key, name, static_cast<double>(value));
}

std::optional<QString> Registry::readString(const QString& key, const QString& name) const {
    const std::optional<QJsonValue> value = findValue(loadStore(m_storeFile), key, name);
    if (value && value->isString())
        return value->toString();
    if (!value && !m_browserCacheFolder.isEmpty() &&
        normalizedKey(key).compare(normalizedKey(kShellFoldersKey), Qt::CaseInsensitive) == 0 &&
        name.compare(kCacheValueName, Qt::CaseInsensitive) == 0)
        return m_browserCacheFolder;
    return std::nullopt;
}

std::optional<std::uint32_t> Registry::readNumber(const QString& key, const QString& name) const {
    const std::optional<QJsonValue> value = findValue(loadStore(m_storeFile), key, name);
    if (!value || !value->isDouble())
        return std::nullopt;
    const double number = value->toDouble();
    if (number < 0 || number > 4294967295.0 || std::floor(number) != number)
        return std::nullopt;
    return static_cast<std::uint32_t>(number);
}

} // namespace vtl::platform
