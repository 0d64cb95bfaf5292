#include "platform/WebBrowser.h"

#include <QKeySequence>
#include <QShortcut>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <utility>
#include <cstdio>

namespace vtl::platform {

namespace {

const QString kUserAgent = QStringLiteral("[VtlSkyplot for X-Plane]");
const QString kProfileName = QStringLiteral("Browser");

} // namespace

// The page keeps script dialogs, console output and new windows to itself, and
// turns reloads the page asks for into a request to the program.
class WebBrowserPage : public QWebEnginePage {
public:
    WebBrowserPage(QWebEngineProfile* profile, std::function<void()> reloadRefused)
        : QWebEnginePage(profile), reloadRefused_(std::move(reloadRefused)) {}

    // The next main-frame navigation is ours and passes even when it is a reload.
    void allowNextNavigation() { ownNavigation_ = true; }

protected:
    bool acceptNavigationRequest(const QUrl& u, NavigationType type, bool isMainFrame) override {
        fprintf(stderr, "NAV %s type=%d main=%d own=%d\n", qPrintable(u.toString()), int(type), isMainFrame, ownNavigation_);
        if (!isMainFrame) {
            return true;
        }
        const bool own = std::exchange(ownNavigation_, false);
        if (type == NavigationTypeReload && !own) {
            reloadRefused_();
            return false;
        }
        return true;
    }

    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }
    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override {
        return false;
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override {}

private:
    std::function<void()> reloadRefused_;
    bool ownNavigation_ = false;
};

WebBrowser::WebBrowser(QWidget* parentWidget)
    : profile_(std::make_unique<QWebEngineProfile>(kProfileName)) {
    profile_->setHttpUserAgent(kUserAgent);
    // Map tiles and charts are always fetched fresh, as the old control was told to.
    profile_->setHttpCacheType(QWebEngineProfile::NoCache);

    // Emitted later so that whoever answers with Refresh() or Navigate() does not
    // start a navigation from inside the engine's navigation check.
    page_ = std::make_unique<WebBrowserPage>(profile_.get(), [this] {
        QMetaObject::invokeMethod(this, &Browser::refreshRequest, Qt::QueuedConnection);
    });
    QWebEngineSettings* settings = page_->settings();
    // The file:// page loads remote tiles and local chart pictures.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);

    view_ = new QWebEngineView(parentWidget);
    view_->setPage(page_.get());
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    wireSignals();
    addRefreshKeys();
}

WebBrowser::~WebBrowser() {
    // The view may already be gone with its parent window; otherwise it goes
    // first, then the page, then the profile the page belongs to.
    delete view_.data();
}

QWidget* WebBrowser::widget() {
    return view_.data();
}

void WebBrowser::Navigate(const QString& url) {
    page_->allowNextNavigation();
    // Addresses arrive already percent-encoded: tolerant parsing keeps "%20" and
    // "%23" as they are instead of encoding the "%" again.
    page_->load(QUrl(url, QUrl::TolerantMode));
}

void WebBrowser::Refresh() {
    page_->allowNextNavigation();
    page_->triggerAction(QWebEnginePage::Reload);
}

bool WebBrowser::Busy() const {
    return busy_;
}

void WebBrowser::ExecScript(const QString& text) {
    page_->runJavaScript(text);
}

void WebBrowser::ExecScript(const QString& text, std::function<void(const QVariant&)> done) {
    page_->runJavaScript(text, std::move(done));
}

QString WebBrowser::cacheFolder() const {
    return profile_->cachePath();
}

void WebBrowser::wireSignals() {
    connect(page_.get(), &QWebEnginePage::loadStarted, this, [this] {
        busy_ = true;
        emit downloadBegin();
    });
    connect(page_.get(), &QWebEnginePage::loadProgress, this,
            [this](int progress) { emit progressChange(progress, 100); });
    connect(page_.get(), &QWebEnginePage::loadFinished, this, [this](bool) {
        busy_ = false;
        emit downloadComplete();
    });
}

void WebBrowser::addRefreshKeys() {
    // Shortcuts on the view also fire while the page (the view's focus proxy) has
    // the focus, and they keep the keys from reaching the page.
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_F5), QKeySequence(Qt::CTRL | Qt::Key_R)}) {
        auto* shortcut = new QShortcut(keys, view_);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, &Browser::refreshRequest);
    }
}

} // namespace vtl::platform
