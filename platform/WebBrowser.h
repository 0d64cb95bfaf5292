#pragma once

// The real embedded browser: a Chromium view (Qt WebEngine) dressed with the
// surface of the old browser control.

#include "platform/Browser.h"

#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

class QWebEngineProfile;
class QWebEngineView;

namespace vtl::platform {

class WebBrowserPage;

class WebBrowser : public Browser {
    Q_OBJECT
public:
    // The view becomes a child of parentWidget. Each program keeps its own
    // profile (stored under the user's cache folder, named after the program).
    explicit WebBrowser(QWidget* parentWidget = nullptr);
    ~WebBrowser() override;

    QWidget* widget() override;
    void Navigate(const QString& url) override;
    void Refresh() override;
    bool Busy() const override;
    void ExecScript(const QString& text) override;
    // The same, handing the script's result to done (an invalid value when the
    // script failed). For tests and measurements.
    void ExecScript(const QString& text, const std::function<void(const QVariant&)>& done);

    // The folder the browser's disk cache lives in.
    QString cacheFolder() const override;

private:
    void ensureEngine();
    void wireSignals();
    void addRefreshKeys();

    std::unique_ptr<QWebEngineProfile> profile_;
    std::unique_ptr<WebBrowserPage> page_;
    QPointer<QWidget> host_;
    QPointer<QWebEngineView> view_;
    bool busy_ = false;
};

} // namespace vtl::platform
