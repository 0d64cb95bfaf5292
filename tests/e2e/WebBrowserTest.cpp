// The real embedded browser: loading, busy state, reload requests, scripts and
// the settings the programs rely on.

#include "PageFixture.h"
#include "shared/FileUrl.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

namespace vtl::test {
namespace {

using platform::Browser;

// A page of our own in a folder whose name needs encoding in an address.
class LocalPage {
public:
    LocalPage() {
        const QString folder = temp_.filePath(QStringLiteral("my pages #1"));
        QDir().mkpath(folder);
        path_ = QDir(folder).filePath(QStringLiteral("page %1.html"));
        QFile file(path_);
        if (file.open(QIODevice::WriteOnly)) {
            file.write("<!DOCTYPE html><html><head><title>local page</title></head>"
                       "<body><a id='self' href=''>again</a></body></html>");
        }
    }
    QString url() const { return FileToUrl(path_); }

private:
    QTemporaryDir temp_;
    QString path_;
};

TEST(WebBrowser, LoadsAnEncodedFileAddressWithoutEncodingItAgain) {
    PageFixture page;
    LocalPage local;
    ASSERT_TRUE(page.load(local.url()));
    EXPECT_EQ(page.evaluate(QStringLiteral("document.title"))->toString(), "local page");
    EXPECT_EQ(page.evaluate(QStringLiteral("decodeURIComponent(location.pathname)"))->toString(),
              QUrl(local.url()).path());
}

TEST(WebBrowser, IsBusyFromNavigateUntilTheLoadEnds) {
    PageFixture page;
    auto& browser = page.browser();
    EXPECT_FALSE(browser.Busy());

    std::vector<bool> busyAtBegin;
    QObject::connect(&browser, &Browser::downloadBegin,
                     [&] { busyAtBegin.push_back(browser.Busy()); });
    QSignalSpy progress(&browser, &Browser::progressChange);
    QSignalSpy complete(&browser, &Browser::downloadComplete);

    browser.Navigate(bundledPageUrl());
    EXPECT_TRUE(browser.Busy());
    ASSERT_TRUE(waitUntil([&] { return complete.count() == 1; }, kLoadTimeout));
    EXPECT_FALSE(browser.Busy());
    EXPECT_EQ(busyAtBegin, std::vector<bool>{true});
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last(), (QList<QVariant>{100, 100}));
}

TEST(WebBrowser, JumpWithinThePageNeitherStaysBusyNorLetsAReloadThrough) {
    PageFixture page;
    ASSERT_TRUE(page.load(bundledPageUrl()));
    page.browser().ExecScript(QStringLiteral("window.vtlMark = 42"));
    page.browser().Navigate(bundledPageUrl() + QStringLiteral("#elsewhere"));
    EXPECT_TRUE(waitUntil([&] { return !page.browser().Busy(); }, kScriptTimeout));

    QSignalSpy refresh(&page.browser(), &Browser::refreshRequest);
    page.browser().ExecScript(QStringLiteral("location.reload()"));
    EXPECT_TRUE(waitUntil([&] { return refresh.count() > 0; }, kScriptTimeout));
    EXPECT_EQ(page.evaluate(QStringLiteral("window.vtlMark")), QVariant(42));
}

TEST(WebBrowser, ScriptsAreSafeWithoutAPage) {
    PageFixture page;
    page.browser().ExecScript(QStringLiteral(R"(drawPlaneMarker("p.png", "1", "2", "Aircraft"))"));
    page.browser().ExecScript(QStringLiteral("throw new Error('no page')"));
    page.browser().Refresh();
    EXPECT_FALSE(page.browser().Busy());
    // Nothing runs before the first page, and asking for a value answers at once.
    EXPECT_EQ(page.evaluate(QStringLiteral("6 * 7")), QVariant());
    // The first page still comes up normally afterwards.
    ASSERT_TRUE(page.load(bundledPageUrl()));
    EXPECT_EQ(page.evaluate(QStringLiteral("6 * 7")), QVariant(42));
}

TEST(WebBrowser, ScriptDialogsDoNotBlockAndNewWindowsDoNotOpen) {
    PageFixture page;
    ASSERT_TRUE(page.load(bundledPageUrl()));
    // A dialog shown would hold the script and the answer would never come.
    EXPECT_EQ(page.evaluate(QStringLiteral("alert('a'); [confirm('b'), prompt('c', 'd')]")),
              QVariant(QVariantList{false, QVariant()}));
    EXPECT_EQ(page.evaluate(QStringLiteral("window.open('about:blank') === null")), QVariant(true));
}

TEST(WebBrowser, PresentsItselfAsTheProgram) {
    PageFixture page;
    ASSERT_TRUE(page.load(bundledPageUrl()));
    EXPECT_EQ(page.evaluate(QStringLiteral("navigator.userAgent"))->toString(),
              "[VtlSkyplot for X-Plane]");
    EXPECT_EQ(page.view()->contextMenuPolicy(), Qt::NoContextMenu);
    EXPECT_FALSE(page.browser().cacheFolder().isEmpty());
}

// --- reloads ------------------------------------------------------------------------

struct ReloadTrigger {
    const char* name;
    std::function<void(PageFixture&)> trigger;
};

void pressInPage(PageFixture& page, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* view = page.view();
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view->window()));
    view->setFocus();
    QWidget* pageWidget = view->focusProxy() ? view->focusProxy() : view;
    ASSERT_TRUE(waitUntil([&] { return pageWidget->hasFocus(); }, kScriptTimeout));
    QTest::keyClick(pageWidget, Qt::Key(key), modifiers);
}

class PageReload : public testing::TestWithParam<ReloadTrigger> {};

TEST_P(PageReload, RaisesRefreshRequestInsteadOfReloading) {
    PageFixture page;
    ASSERT_TRUE(page.load(bundledPageUrl()));
    page.browser().ExecScript(QStringLiteral("window.vtlMark = 42"));
    QSignalSpy refresh(&page.browser(), &Browser::refreshRequest);
    QSignalSpy begin(&page.browser(), &Browser::downloadBegin);
    QSignalSpy complete(&page.browser(), &Browser::downloadComplete);

    GetParam().trigger(page);
    ASSERT_TRUE(waitUntil([&] { return refresh.count() > 0; }, kScriptTimeout));
    // Leave a reload that wrongly went ahead the time to replace the page.
    QTest::qWait(500);
    EXPECT_EQ(refresh.count(), 1);
    EXPECT_EQ(page.evaluate(QStringLiteral("window.vtlMark")), QVariant(42));
    EXPECT_EQ(begin.count(), 0);
    EXPECT_EQ(complete.count(), 0);
    EXPECT_FALSE(page.browser().Busy());
}

INSTANTIATE_TEST_SUITE_P(
    Triggers, PageReload,
    testing::Values(ReloadTrigger{"LocationReload",
                                  [](PageFixture& page) {
                                      page.browser().ExecScript(
                                          QStringLiteral("location.reload()"));
                                  }},
                    ReloadTrigger{"HistoryGoZero",
                                  [](PageFixture& page) {
                                      page.browser().ExecScript(QStringLiteral("history.go(0)"));
                                  }},
                    ReloadTrigger{"F5", [](PageFixture& page) { pressInPage(page, Qt::Key_F5); }},
                    ReloadTrigger{"CtrlR",
                                  [](PageFixture& page) {
                                      pressInPage(page, Qt::Key_R, Qt::ControlModifier);
                                  }}),
    [](const testing::TestParamInfo<ReloadTrigger>& info) { return info.param.name; });

TEST(WebBrowser, RefreshReloadsThePage) {
    PageFixture page;
    ASSERT_TRUE(page.load(bundledPageUrl()));
    page.browser().ExecScript(QStringLiteral("window.vtlMark = 42"));
    QSignalSpy refresh(&page.browser(), &Browser::refreshRequest);
    QSignalSpy complete(&page.browser(), &Browser::downloadComplete);

    page.browser().Refresh();
    EXPECT_TRUE(page.browser().Busy());
    ASSERT_TRUE(waitUntil([&] { return complete.count() == 1; }, kLoadTimeout));
    EXPECT_EQ(page.evaluate(QStringLiteral("typeof window.vtlMark")), QVariant("undefined"));
    EXPECT_EQ(refresh.count(), 0);
}

TEST(WebBrowser, NavigatingToTheSamePageAgainLoadsIt) {
    PageFixture page;
    ASSERT_TRUE(page.load(bundledPageUrl()));
    page.browser().ExecScript(QStringLiteral("window.vtlMark = 42"));
    QSignalSpy refresh(&page.browser(), &Browser::refreshRequest);
    ASSERT_TRUE(page.load(bundledPageUrl()));
    EXPECT_EQ(page.evaluate(QStringLiteral("typeof window.vtlMark")), QVariant("undefined"));
    EXPECT_EQ(refresh.count(), 0);
}

TEST(WebBrowser, LinkToAnotherPageStillNavigates) {
    PageFixture page;
    LocalPage local;
    ASSERT_TRUE(page.load(bundledPageUrl()));
    QSignalSpy complete(&page.browser(), &Browser::downloadComplete);
    page.browser().ExecScript(QStringLiteral("location.href = %1").arg(jsString(local.url())));
    ASSERT_TRUE(waitUntil([&] { return complete.count() == 1; }, kLoadTimeout));
    EXPECT_EQ(page.evaluate(QStringLiteral("document.title"))->toString(), "local page");
}

} // namespace
} // namespace vtl::test
