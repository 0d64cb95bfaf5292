#include "platform/WebBrowser.h"

#include <QKeySequence>
#include <QShortcut>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <utility>

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

    // The engine still reports the start and the end of a refused navigation;
    // this is true from the refusal until that end.
    bool refusedNavigationPending() const { return refusedPending_; }
    void refusedNavigationEnded() { refusedPending_ = false; }

    // Going to another place in the page shown (the fragment) loads nothing.
    bool isFragmentJump(const QUrl& target) const {
        return target.hasFragment() && sameDocument(target, url());
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        if (!isMainFrame) {
            return true;
        }
        const bool own = std::exchange(ownNavigation_, false);
        refusedPending_ = !own && isReload(url, type);
        if (refusedPending_) {
            reloadRefused_();
        }
        return !refusedPending_;
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
    // location.reload() and history.go(0) reach us as a client redirect or a
    // history step to the page itself rather than as a reload.
    bool isReload(const QUrl& target, NavigationType type) const {
        switch (type) {
        case NavigationTypeReload:
            return true;
        case NavigationTypeRedirect:
        case NavigationTypeBackForward:
            return sameDocument(target, url());
        default:
            return false;
        }
    }

    static bool sameDocument(const QUrl& a, const QUrl& b) {
        return a.adjusted(QUrl::RemoveFragment) == b.adjusted(QUrl::RemoveFragment);
    }

    std::function<void()> reloadRefused_;
    bool ownNavigation_ = false;
    bool refusedPending_ = false;
};

WebBrowser::WebBrowser(QWidget* parentWidget) : host_(new QWidget(parentWidget)) {
    // The engine starts with the first page: a program that never shows its map
    // stays small and starts fast.
    host_->setContextMenuPolicy(Qt::NoContextMenu);
    auto* layout = new QVBoxLayout(host_);
    layout->setContentsMargins(0, 0, 0, 0);
}

WebBrowser::~WebBrowser() {
    // The view may already be gone with its parent window; otherwise it goes
    // first, then the page, then the profile the page belongs to.
    delete view_.data();
    page_.reset();
    profile_.reset();
}

void WebBrowser::ensureEngine() {
    if (page_) {
        return;
    }
    profile_ = std::make_unique<QWebEngineProfile>(kProfileName);
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

    view_ = new QWebEngineView(host_);
    view_->setPage(page_.get());
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    host_->layout()->addWidget(view_);
    host_->setFocusProxy(view_);
    wireSignals();
    addRefreshKeys();
}

QWidget* WebBrowser::widget() {
    return host_.data();
}

void WebBrowser::Navigate(const QString& url) {
    // Addresses arrive already percent-encoded: tolerant parsing keeps "%20" and
    // "%23" as they are instead of encoding the "%" again.
    const QUrl address(url, QUrl::TolerantMode);
    if (!address.isValid() || address.isEmpty()) {
        return;
    }
    ensureEngine();
    // Busy at once, as callers that wait for the load expect, not only once the
    // engine reports the start. A jump within the page loads nothing and may
    // not pass the navigation check, so it must not leave a pass behind.
    if (!page_->isFragmentJump(address)) {
        page_->allowNextNavigation();
        busy_ = true;
    }
    page_->load(address);
}

void WebBrowser::Refresh() {
    if (!page_ || page_->url().isEmpty()) {
        return;
    }
    page_->allowNextNavigation();
    busy_ = true;
    page_->triggerAction(QWebEnginePage::Reload);
}

bool WebBrowser::Busy() const {
    return busy_;
}

void WebBrowser::ExecScript(const QString& text) {
    if (page_) {
        page_->runJavaScript(text);
    }
}

void WebBrowser::ExecScript(const QString& text, const std::function<void(const QVariant&)>& done) {
    if (!page_) {
        done(QVariant()); // no page: the script fails, as it would on a blank one
        return;
    }
    page_->runJavaScript(text, done);
}

QString WebBrowser::cacheFolder() const {
    if (profile_) {
        return profile_->cachePath();
    }
    // Where the engine puts a named profile's cache, known before it starts.
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/QtWebEngine/") + kProfileName;
}

void WebBrowser::wireSignals() {
    // A refused reload leaves the page as it was: no download events for it.
    connect(page_.get(), &QWebEnginePage::loadStarted, this, [this] {
        if (page_->refusedNavigationPending()) {
            return;
        }
        busy_ = true;
        emit downloadBegin();
    });
    connect(page_.get(), &QWebEnginePage::loadProgress, this, [this](int progress) {
        if (!page_->refusedNavigationPending()) {
            emit progressChange(progress, 100);
        }
    });
    connect(page_.get(), &QWebEnginePage::loadFinished, this, [this](bool) {
        if (page_->refusedNavigationPending()) {
            page_->refusedNavigationEnded();
            return;
        }
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
