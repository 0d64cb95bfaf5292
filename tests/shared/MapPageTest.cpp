#include "shared/MapPage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace {

struct MapPageCase {
    const char* name;
    std::optional<QByteArray> ini; // contents of mappage.ini, none for no file
    QString expectedPage;          // "<default>" for the bundled page
    QString expectedAssets;        // "<default>" for the bundled pictures
};

const QString kDefault = QStringLiteral("<default>");

class MapPageAddresses : public testing::TestWithParam<MapPageCase> {};

TEST_P(MapPageAddresses, FollowDeploymentFile) {
    const MapPageCase& c = GetParam();
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    // A folder whose name would cut a file address short unless encoded.
    const QString folder = temp.filePath(QStringLiteral("my app #1"));
    ASSERT_TRUE(QDir().mkpath(folder));
    if (c.ini) {
        QFile file(QDir(folder).filePath(QStringLiteral("mappage.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(*c.ini);
    }
    const QString encodedFolder = QString(folder).replace(' ', "%20").replace('#', "%23");
    const QString defaultPage =
        QStringLiteral("file://localhost") + encodedFolder + QStringLiteral("/mappage/index.html");
    const QString defaultAssets =
        QStringLiteral("file://localhost") + encodedFolder + QStringLiteral("/mappage/img/");

    EXPECT_EQ(vtl::GetMapPageUrl(folder),
              c.expectedPage == kDefault ? defaultPage : c.expectedPage);
    EXPECT_EQ(vtl::GetAssetBaseUrl(folder),
              c.expectedAssets == kDefault ? defaultAssets : c.expectedAssets);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MapPageAddresses,
    testing::Values(
        MapPageCase{"NoFile", std::nullopt, kDefault, kDefault},
        MapPageCase{"UrlOnly", "[MapPage]\r\nurl=http://maps.example/page.html?a=1#b\r\n",
                    "http://maps.example/page.html?a=1#b", kDefault},
        MapPageCase{"AssetsOnly", "[MapPage]\r\nassets=http://maps.example/img/\r\n", kDefault,
                    "http://maps.example/img/"},
        MapPageCase{"Both",
                    "[mappage]\r\nURL = file://localhost/opt/my%20page.html \r\n"
                    "Assets=file://localhost/opt/pics\r\n",
                    "file://localhost/opt/my%20page.html", "file://localhost/opt/pics"},
        MapPageCase{"EmptyValuesFallBack", "[MapPage]\r\nurl=\r\nassets=\r\n", kDefault, kDefault},
        MapPageCase{"OtherSectionIgnored", "[Other]\r\nurl=http://x/\r\nassets=http://y/\r\n",
                    kDefault, kDefault}),
    [](const testing::TestParamInfo<MapPageCase>& info) { return info.param.name; });

} // namespace
