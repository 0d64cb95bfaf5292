#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>
#include <optional>

namespace vtl::platform {
namespace {

const QString kKey = QStringLiteral("Software\\Vantrelle\\Skyplot");

class RegistryTest : public testing::Test {
protected:
    QString storeFile() const {
        return m_dir.filePath(QStringLiteral("config/vantrelle/registry.json"));
    }

    void writeStore(const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(storeFile()).absolutePath());
        QFile file(storeFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray storeBytes() const {
        QFile file(storeFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

TEST_F(RegistryTest, ValuesSurviveInTheStoreFile) {
    {
        Registry writer(storeFile());
        ASSERT_TRUE(
            writer.writeString(kKey, QStringLiteral("Path"), QStringLiteral("/a b/\u00E9")));
        ASSERT_TRUE(writer.writeNumber(kKey, QStringLiteral("Zero"), 0));
        ASSERT_TRUE(writer.writeNumber(kKey, QStringLiteral("Max"), 0xFFFFFFFFU));
        ASSERT_TRUE(writer.writeString(kKey, QString(), QStringLiteral("default value")));
    }
    const Registry reader(storeFile());
    EXPECT_EQ(reader.readString(kKey, QStringLiteral("Path")), QStringLiteral("/a b/\u00E9"));
    EXPECT_EQ(reader.readNumber(kKey, QStringLiteral("Zero")), 0U);
    EXPECT_EQ(reader.readNumber(kKey, QStringLiteral("Max")), 0xFFFFFFFFU);
    EXPECT_EQ(reader.readString(kKey, QString()), QStringLiteral("default value"));
}

TEST_F(RegistryTest, KeysAndNamesMatchWithoutCase) {
    Registry registry(storeFile());
    ASSERT_TRUE(registry.writeString(kKey, QStringLiteral("Name"), QStringLiteral("v")));
    for (const char* spelling :
         {R"(Software\Vantrelle\Skyplot)", R"(SOFTWARE\vantrelle\skyplot)",
          R"(Software\Vantrelle\Skyplot\)", R"(\Software\Vantrelle\Skyplot)"}) {
        SCOPED_TRACE(spelling);
        const QString key = QString::fromUtf8(spelling);
        EXPECT_TRUE(registry.keyExists(key));
        EXPECT_EQ(registry.readString(key, QStringLiteral("nAME")), QStringLiteral("v"));
    }
    // Writing through another spelling replaces the value instead of adding one.
    ASSERT_TRUE(registry.writeString(QStringLiteral("software\\VANTRELLE\\skyplot\\"),
                                     QStringLiteral("NAME"), QStringLiteral("w")));
    EXPECT_EQ(registry.readString(kKey, QStringLiteral("Name")), QStringLiteral("w"));
    EXPECT_EQ(storeBytes().count("\"w\""), 1);
    EXPECT_EQ(storeBytes().count("\"v\""), 0);
}

TEST_F(RegistryTest, KeyExistenceFollowsTheTree) {
    Registry registry(storeFile());
    EXPECT_FALSE(registry.keyExists(kKey));
    ASSERT_TRUE(registry.createKey(kKey));
    EXPECT_TRUE(registry.keyExists(kKey));
    EXPECT_TRUE(registry.keyExists(QStringLiteral("Software\\Vantrelle")));
    EXPECT_TRUE(registry.keyExists(QStringLiteral("software")));
    EXPECT_FALSE(registry.keyExists(QStringLiteral("Software\\Vant")));
    EXPECT_FALSE(registry.keyExists(kKey + QStringLiteral("\\Child")));
    EXPECT_EQ(registry.readString(kKey, QStringLiteral("Anything")), std::nullopt);
    // Creating an existing key keeps its values.
    ASSERT_TRUE(registry.writeNumber(kKey, QStringLiteral("N"), 7));
    ASSERT_TRUE(registry.createKey(QStringLiteral("software\\vantrelle\\SKYPLOT")));
    EXPECT_EQ(registry.readNumber(kKey, QStringLiteral("N")), 7U);
}

TEST_F(RegistryTest, ValuesKeepTheirType) {
    Registry registry(storeFile());
    ASSERT_TRUE(registry.writeString(kKey, QStringLiteral("Text"), QStringLiteral("12")));
    ASSERT_TRUE(registry.writeNumber(kKey, QStringLiteral("Number"), 12));
    EXPECT_EQ(registry.readNumber(kKey, QStringLiteral("Text")), std::nullopt);
    EXPECT_EQ(registry.readString(kKey, QStringLiteral("Number")), std::nullopt);
    // A value changes type when written with the other one.
    ASSERT_TRUE(registry.writeNumber(kKey, QStringLiteral("Text"), 5));
    EXPECT_EQ(registry.readNumber(kKey, QStringLiteral("Text")), 5U);
    EXPECT_EQ(registry.readString(kKey, QStringLiteral("Text")), std::nullopt);
}

TEST_F(RegistryTest, MissingValuesAndKeys) {
    Registry registry(storeFile());
    ASSERT_TRUE(registry.writeString(kKey, QStringLiteral("A"), QStringLiteral("a")));
    EXPECT_EQ(registry.readString(kKey, QStringLiteral("B")), std::nullopt);
    EXPECT_EQ(registry.readNumber(kKey, QStringLiteral("B")), std::nullopt);
    EXPECT_EQ(registry.readString(QStringLiteral("Software\\Other"), QStringLiteral("A")),
              std::nullopt);
    // A parent key does not see its children's values.
    EXPECT_EQ(registry.readString(QStringLiteral("Software\\Vantrelle"), QStringLiteral("A")),
              std::nullopt);
}

struct DamagedStore {
    const char* name;
    QByteArray bytes;
};

class RegistryDamaged : public RegistryTest, public testing::WithParamInterface<DamagedStore> {};

TEST_P(RegistryDamaged, ReadsAsEmptyUntilAWriteReplacesIt) {
    writeStore(GetParam().bytes);
    Registry registry(storeFile());
    EXPECT_EQ(registry.readString(kKey, QStringLiteral("Name")), std::nullopt);
    EXPECT_EQ(registry.readNumber(kKey, QStringLiteral("Number")), std::nullopt);
    EXPECT_EQ(storeBytes(), GetParam().bytes) << "reading must not touch the store";

    ASSERT_TRUE(registry.writeString(kKey, QStringLiteral("Name"), QStringLiteral("fresh")));
    EXPECT_EQ(registry.readString(kKey, QStringLiteral("Name")), QStringLiteral("fresh"));
    EXPECT_NE(storeBytes(), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegistryDamaged,
    testing::Values(
        DamagedStore{"empty", ""}, DamagedStore{"garbage", QByteArray("\x00\xFF\x13garbage", 10)},
        DamagedStore{"truncatedJson", R"({"Software\\Vantrelle\\Skyplot": {"Name": "x)"},
        DamagedStore{"array", "[1, 2, 3]"},
        DamagedStore{"keyNotAnObject", R"({"Software\\Vantrelle\\Skyplot": "text"})"},
        DamagedStore{"valuesOfWrongKind",
                     R"({"Software\\Vantrelle\\Skyplot": {"Name": ["x"], "Number": 1.5}})"},
        DamagedStore{"negativeNumber",
                     R"({"Software\\Vantrelle\\Skyplot": {"Name": null, "Number": -1}})"},
        DamagedStore{"numberAbove32Bits",
                     R"({"Software\\Vantrelle\\Skyplot": {"Number": 4294967296}})"}),
    [](const testing::TestParamInfo<DamagedStore>& info) { return std::string(info.param.name); });

TEST_F(RegistryTest, WritesKeepOtherKeysAndValues) {
    Registry registry(storeFile());
    ASSERT_TRUE(registry.writeString(kKey, QStringLiteral("A"), QStringLiteral("a")));
    ASSERT_TRUE(registry.writeNumber(QStringLiteral("Software\\Other"), QStringLiteral("B"), 2));
    ASSERT_TRUE(registry.writeString(kKey, QStringLiteral("C"), QStringLiteral("c")));
    EXPECT_EQ(registry.readString(kKey, QStringLiteral("A")), QStringLiteral("a"));
    EXPECT_EQ(registry.readNumber(QStringLiteral("Software\\Other"), QStringLiteral("B")), 2U);
    EXPECT_EQ(registry.readString(kKey, QStringLiteral("C")), QStringLiteral("c"));
}

TEST_F(RegistryTest, UnwritableStoreFails) {
    // The store's folder would have to be a regular file.
    QFile blocker(m_dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Registry registry(m_dir.filePath(QStringLiteral("blocker/registry.json")));
    EXPECT_FALSE(registry.writeString(kKey, QStringLiteral("A"), QStringLiteral("a")));
    EXPECT_FALSE(registry.createKey(kKey));
    EXPECT_EQ(registry.readString(kKey, QStringLiteral("A")), std::nullopt);
}

TEST_F(RegistryTest, ShellFolderCacheAnswersTheBrowserCache) {
    const QString cache = QStringLiteral("/home/pilot/.cache/vantrelle/browser");
    const Registry registry(storeFile(), cache);
    EXPECT_TRUE(registry.keyExists(Registry::kShellFoldersKey));
    EXPECT_TRUE(registry.keyExists(QStringLiteral("Software\\Microsoft\\Windows")));
    EXPECT_EQ(registry.readString(Registry::kShellFoldersKey, QStringLiteral("Cache")), cache);
    EXPECT_EQ(registry.readString(Registry::kShellFoldersKey.toUpper().chopped(1),
                                  QStringLiteral("cache")),
              cache);
    EXPECT_EQ(registry.readString(Registry::kShellFoldersKey, QStringLiteral("Desktop")),
              std::nullopt);
    EXPECT_EQ(registry.readNumber(Registry::kShellFoldersKey, QStringLiteral("Cache")),
              std::nullopt);
    EXPECT_FALSE(QFile::exists(storeFile())) << "answering must not write the store";
}

TEST_F(RegistryTest, StoredCacheValueWinsAndNoFolderMeansNoAnswer) {
    const Registry withoutCache(storeFile());
    EXPECT_FALSE(withoutCache.keyExists(Registry::kShellFoldersKey));
    EXPECT_EQ(withoutCache.readString(Registry::kShellFoldersKey, QStringLiteral("Cache")),
              std::nullopt);

    Registry registry(storeFile(), QStringLiteral("/browser/cache"));
    ASSERT_TRUE(registry.writeString(Registry::kShellFoldersKey, QStringLiteral("Cache"),
                                     QStringLiteral("/stored")));
    EXPECT_EQ(registry.readString(Registry::kShellFoldersKey, QStringLiteral("Cache")),
              QStringLiteral("/stored"));
}

class EnvironmentOverride {
public:
    EnvironmentOverride(const char* name, const std::optional<QByteArray>& value)
        : m_name(name),
          m_saved(qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name))
                                                  : std::nullopt) {
        set(value);
    }
    ~EnvironmentOverride() { set(m_saved); }
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

private:
    void set(const std::optional<QByteArray>& value) const {
        if (value)
            qputenv(m_name, *value);
        else
            qunsetenv(m_name);
    }

    const char* m_name;
    std::optional<QByteArray> m_saved;
};

TEST(RegistryStoreFile, FollowsXdgConfigHome) {
    const QString fallback = QDir::homePath() + QStringLiteral("/.config/vantrelle/registry.json");
    struct Case {
        std::optional<QByteArray> value;
        QString expected;
    };
    const std::array<Case, 4> cases = {{
        {QByteArray("/xdg/config"), QStringLiteral("/xdg/config/vantrelle/registry.json")},
        {std::nullopt, fallback},
        {QByteArray(""), fallback},
        {QByteArray("relative/path"), fallback},
    }};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.value_or("<unset>").constData());
        const EnvironmentOverride environment("XDG_CONFIG_HOME", c.value);
        EXPECT_EQ(Registry::defaultStoreFile(), c.expected);
    }
}

} // namespace
} // namespace vtl::platform
