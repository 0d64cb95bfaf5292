#pragma once

// Helpers for end-to-end tests that drive the real browser: load a page, wait
// for it, and read values back from it.

#include "platform/WebBrowser.h"
#include "support/WaitUntil.h"

#include <QJsonValue>
#include <QString>
#include <QVariant>
#include <chrono>
#include <functional>
#include <optional>

namespace vtl::test {

using namespace std::chrono_literals;

// Generous limits: they only catch hangs, never measure speed.
inline constexpr std::chrono::milliseconds kLoadTimeout = 60s;
inline constexpr std::chrono::milliseconds kScriptTimeout = 20s;

// The address of a file of the bundled map page in the demo tree.
QString bundledPageUrl(const QString& fileName = QStringLiteral("index.html"));

// A shown browser window of a fixed size.
class PageFixture {
public:
    PageFixture();
    ~PageFixture();
    PageFixture(const PageFixture&) = delete;
    PageFixture& operator=(const PageFixture&) = delete;

    platform::WebBrowser& browser() { return *browser_; }
    QWidget* view() { return browser_->widget(); }

    // Navigates and waits for the load to end; false on a timeout.
    bool load(const QString& url);
    // Runs the script and hands back its value; nothing on a timeout.
    std::optional<QVariant> evaluate(const QString& script);
    // The expression's value, passed through JSON.stringify in the page; an
    // undefined value on a timeout or a script error.
    QJsonValue evaluateJson(const QString& expression);
    // Runs the text at the page's global scope, as ExecScript does, and reports
    // the exception it raised, or the empty text.
    QString runReportingError(const QString& text);
    // Polls the expression until it is true; false when the time ran out.
    bool waitForTrue(const QString& expression, std::chrono::milliseconds timeout = kScriptTimeout);

private:
    std::unique_ptr<platform::WebBrowser> browser_;
};

// The text as a JavaScript string literal.
QString jsString(const QString& text);

} // namespace vtl::test
