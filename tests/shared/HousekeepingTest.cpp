#include "shared/Housekeeping.h"

#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vtl;
using platform::Registry;

namespace {

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

TEST(BrowserEmulation, ModesMapToTheirValues) {
    const std::pair<int, std::optional<std::uint32_t>> cases[] = {
        {0, 7000}, {1, 8000}, {2, 9999}, {3, 10001}, {4, std::nullopt}, {-1, std::nullopt}};
    for (const auto& [mode, value] : cases) {
        EXPECT_EQ(browserEmulationValue(mode), value) << mode;
    }
}

TEST(BrowserEmulation, CreatesTheKeyAndOverwritesValues) {
    QTemporaryDir dir;
    Registry registry(dir.filePath(QStringLiteral("registry.json")));
    EXPECT_FALSE(registry.keyExists(kBrowserEmulationKey));
    SetBrowserEmulation(registry, 0, QStringLiteral("Norvane.exe"));
    SetBrowserEmulation(registry, 3, QStringLiteral("Norvane.exe"));
    SetBrowserEmulation(registry, 3, QString());
    SetBrowserEmulation(registry, 7, QStringLiteral("Other.exe"));

    const Registry reread(dir.filePath(QStringLiteral("registry.json")));
    EXPECT_EQ(reread.readNumber(kBrowserEmulationKey, QStringLiteral("Norvane.exe")), 10001u);
    // An empty name stands for the running program's own name.
    EXPECT_EQ(reread.readNumber(kBrowserEmulationKey, QStringLiteral("test_shared")), 10001u);
    EXPECT_FALSE(reread.readNumber(kBrowserEmulationKey, QStringLiteral("Other.exe")));
}

class CacheCleanup : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name :
             {"a/skyplot-map.js", "a/deep/er/old_Skyplot_v2.js", "top-skyplot.js",
              "a/skyplot-map.css", "a/map.js", "b/skyplot.js.txt"}) {
            touch(cache.filePath(QString::fromLatin1(name)));
        }
    }
    bool exists(const char* name) const {
        return QFileInfo::exists(cache.filePath(QString::fromLatin1(name)));
    }
    QTemporaryDir cache;
    QTemporaryDir store;
    QString storeFile = store.filePath(QStringLiteral("registry.json"));
};

TEST_F(CacheCleanup, DeletesCachedPageScriptsAtAnyDepthOnly) {
    Registry registry(storeFile);
    registry.createKey(Registry::kShellFoldersKey);
    registry.writeString(Registry::kShellFoldersKey, QStringLiteral("Cache"), cache.path());
    EXPECT_EQ(GetBrowserCacheFolder(registry), cache.path() + QLatin1Char('/'));

    DeleteCachedPageScripts(registry);
    EXPECT_FALSE(exists("a/skyplot-map.js"));
    EXPECT_FALSE(exists("a/deep/er/old_Skyplot_v2.js"));
    EXPECT_FALSE(exists("top-skyplot.js"));
    EXPECT_TRUE(exists("a/skyplot-map.css"));
    EXPECT_TRUE(exists("a/map.js"));
    EXPECT_TRUE(exists("b/skyplot.js.txt"));
}

TEST_F(CacheCleanup, TheBrowserCacheAnswersWhenTheStoreHasNone) {
    const Registry registry(storeFile, cache.path() + QLatin1Char('/'));
    EXPECT_EQ(GetBrowserCacheFolder(registry), cache.path() + QLatin1Char('/'));
    DeleteCachedPageScripts(registry);
    EXPECT_FALSE(exists("a/skyplot-map.js"));
}

TEST_F(CacheCleanup, MissingKeyOrEmptyValueDeletesNothing) {
    {
        const Registry registry(storeFile);
        EXPECT_EQ(GetBrowserCacheFolder(registry), kNoCacheFolder);
        DeleteCachedPageScripts(registry);
    }
    {
        Registry registry(storeFile);
        registry.createKey(Registry::kShellFoldersKey);
        EXPECT_EQ(GetBrowserCacheFolder(registry), QStringLiteral("/"));
        registry.writeString(Registry::kShellFoldersKey, QStringLiteral("Cache"), QString());
        EXPECT_EQ(GetBrowserCacheFolder(registry), QStringLiteral("/"));
        DeleteCachedPageScripts(registry);
    }
    EXPECT_TRUE(exists("a/skyplot-map.js"));
    EXPECT_TRUE(exists("a/deep/er/old_Skyplot_v2.js"));
}

TEST(FilesRecursive, AFoldersOwnFilesComeBeforeItsSubFolders) {
    QTemporaryDir dir;
    touch(dir.filePath(QStringLiteral("sub/x.js")));
    touch(dir.filePath(QStringLiteral("y.js")));
    QStringList found;
    FindFilesRecursive(found, dir.path(), QStringLiteral("*.js"));
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(found[0], dir.path() + QStringLiteral("/y.js"));
    EXPECT_EQ(found[1], dir.path() + QStringLiteral("/sub/x.js"));
}

TEST(MemoryLimit, TrimsOnlyAboveTheLimitInWholeMegabytes) {
    constexpr std::uint64_t MB = 1048576;
    const struct {
        std::uint64_t bytes;
        int limit;
        bool above;
    } cases[] = {
        {0, 50, false},      {50 * MB, 50, false},         {51 * MB - 1, 50, false},
        {51 * MB, 50, true}, {500 * MB, 50, true},         {1 * MB, 0, true},
        {0, -1, true},       {10 * MB, 2147483647, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isAboveMemoryLimit(c.bytes, c.limit), c.above) << c.bytes << " " << c.limit;
    }
    EXPECT_GT(GetWorkingSetSize(), 0u);
}
