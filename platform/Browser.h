#pragma once

// The embedded browser as the programs see it. WebBrowser is the real one; the
// unit tests use a recording fake.

#include <QObject>
#include <QString>

class QWidget;

namespace vtl::platform {

class Browser : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual QWidget* widget() = 0;
    virtual void Navigate(const QString& url) = 0;
    virtual void Refresh() = 0;
    // True from the start of a load to its end.
    virtual bool Busy() const = 0;
    // Runs the text in the page's global scope, in order; the result is dropped,
    // failures are dropped, and without a page it does nothing.
    virtual void ExecScript(const QString& text) = 0;
    // The browser's disk cache folder; empty when it keeps none.
    virtual QString cacheFolder() const { return {}; }

signals:
    void downloadBegin();
    void downloadComplete();
    void progressChange(int progress, int progressMax);
    // Raised instead of reloading when the page or the user asks for a reload.
    void refreshRequest();
};

} // namespace vtl::platform
