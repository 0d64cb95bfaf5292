#include "skyplot/Settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vtl::skyplot;

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    void write(const QByteArray& text) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("VantrelleSkyplot.ini"));
    QString app = dir.path() + QLatin1Char('/');
};

} // namespace

TEST(SettingIntegerText, ConvertsLikeTheProfileReader) {
    struct Case {
        const char* text;
        std::optional<int> expected;
    } const cases[] = {
        {"5", 5},
        {"-12", -12},
        {"+7", 7},
        {"0x0A", 10},
        {"0X1f", 31},
        {"$10", 16},
        {"0xFFFFFFFF", -1},
        {"0x", std::nullopt},
        {"", std::nullopt},
        {"false", std::nullopt},
        {"no", std::nullopt},
        {"1.5", std::nullopt},
        {"12abc", std::nullopt},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"0x100000000", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseSettingInteger(QString::fromLatin1(c.text)), c.expected) << c.text;
    }
}

TEST_F(SettingsFileTest, MissingFileGivesTheDefaults) {
    const AppliedSettings s = readAppliedSettings(path, app);
    EXPECT_TRUE(s.memTrimEnabled);
    EXPECT_EQ(s.memTrimIntervalMs, 5000);
    EXPECT_EQ(s.memLimitMB, 50);
    EXPECT_EQ(s.chartFolder, app + QStringLiteral("charts_skyplot/"));
    EXPECT_EQ(ReadSettingInteger(path, QStringLiteral("AppControl"), QStringLiteral("PopupWnd"), 0),
              0);
}

TEST_F(SettingsFileTest, AppliedValuesFollowTheReadingRules) {
    struct Case {
        const char* name;
        QByteArray file;
        bool enabled;
        int intervalMs;
        int limit;
        QString chartFolder; // relative to nothing: as the test expects it
    } const cases[] = {
        {"all given",
         "[MemControl]\r\nmemctrl=1\r\nmeminterval=7\r\nmemlimit=80\r\n[Charts]\r\nchartfolder=/"
         "data/charts/\r\n",
         true, 7000, 80, QStringLiteral("/data/charts/")},
        {"hex interval", "[MemControl]\r\nmeminterval=0x0A\r\n", true, 10000, 50,
         app + "charts_skyplot/"},
        {"memctrl 0 stops the timer", "[MemControl]\r\nmemctrl=0\r\n", false, 5000, 50,
         app + "charts_skyplot/"},
        {"memctrl false is no number", "[MemControl]\r\nmemctrl=false\r\n", true, 5000, 50,
         app + "charts_skyplot/"},
        {"empty values give defaults", "[MemControl]\r\nmemctrl=\r\nmeminterval=\r\nmemlimit=\r\n",
         true, 5000, 50, app + "charts_skyplot/"},
        {"interval 0", "[MemControl]\r\nmeminterval=0\r\n", true, 0, 50, app + "charts_skyplot/"},
        {"case of names ignored", "[memcontrol]\r\nMEMLIMIT=12\r\n", true, 5000, 12,
         app + "charts_skyplot/"},
        {"chart folder gets a delimiter", "[Charts]\r\nchartfolder=/srv/charts\r\n", true, 5000, 50,
         QStringLiteral("/srv/charts/")},
        {"relative chart folder kept", "[Charts]\r\nchartfolder=charts\r\n", true, 5000, 50,
         QStringLiteral("charts/")},
        {"empty chart folder is the root", "[Charts]\r\nchartfolder=\r\n", true, 5000, 50,
         QStringLiteral("/")},
        {"huge interval kept in range", "[MemControl]\r\nmeminterval=2147483647\r\n", true,
         2147483647, 50, app + "charts_skyplot/"},
    };
    for (const auto& c : cases) {
        write(c.file);
        const AppliedSettings s = readAppliedSettings(path, app);
        EXPECT_EQ(s.memTrimEnabled, c.enabled) << c.name;
        EXPECT_EQ(s.memTrimIntervalMs, c.intervalMs) << c.name;
        EXPECT_EQ(s.memLimitMB, c.limit) << c.name;
        EXPECT_EQ(s.chartFolder, c.chartFolder) << c.name;
    }
}

TEST_F(SettingsFileTest, EveryReadSeesTheFileAsItIsNow) {
    write("[AppControl]\r\nPopupWnd=1\r\n");
    EXPECT_EQ(ReadSettingInteger(path, "AppControl", "PopupWnd", 0), 1);
    write("[AppControl]\r\nPopupWnd=2\r\n");
    EXPECT_EQ(ReadSettingInteger(path, "AppControl", "PopupWnd", 0), 2);
    EXPECT_EQ(ReadSettingString(path, "AppControl", "Missing", "dflt"), QStringLiteral("dflt"));
}

TEST(Folders, DerivedFromTheExecutable) {
    struct Case {
        const char* exe;
        const char* appFolder;
        const char* xplane;
        const char* plans;
    } const cases[] = {
        {"/X-Plane/Norvane/VantrelleSkyplot", "/X-Plane/Norvane/", "/X-Plane",
         "/X-Plane/Output/FMS Plans"},
        {"/home/pilot/X Plane 12/Norvane/VantrelleSkyplot", "/home/pilot/X Plane 12/Norvane/",
         "/home/pilot/X Plane 12", "/home/pilot/X Plane 12/Output/FMS Plans"},
        {"/Norvane/VantrelleSkyplot", "/Norvane/", "/", "//Output/FMS Plans"},
        {"/VantrelleSkyplot", "/", "/", "//Output/FMS Plans"},
    };
    for (const auto& c : cases) {
        const QString exe = QString::fromUtf8(c.exe);
        EXPECT_EQ(folderOf(exe), QString::fromUtf8(c.appFolder)) << c.exe;
        EXPECT_EQ(xplaneFolderOf(exe), QString::fromUtf8(c.xplane)) << c.exe;
        EXPECT_EQ(fmsPlansFolderOf(exe), QString::fromUtf8(c.plans)) << c.exe;
    }
}
