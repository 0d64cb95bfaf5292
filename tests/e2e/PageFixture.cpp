#include "PageFixture.h"

#include "shared/FileUrl.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QWidget>
#include <memory>

namespace vtl::test {

QString bundledPageUrl(const QString& fileName) {
    return FileToUrl(QDir(QStringLiteral(VTL_APP_DIR "/mappage")).filePath(fileName));
}

QString jsString(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    // Strip the brackets of the one-element array.
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

PageFixture::PageFixture() : browser_(std::make_unique<platform::WebBrowser>()) {
    view()->resize(800, 600);
    view()->show();
}

PageFixture::~PageFixture() = default;

bool PageFixture::load(const QString& url) {
    QSignalSpy complete(browser_.get(), &platform::Browser::downloadComplete);
    browser_->Navigate(url);
    return waitUntil([&] { return complete.count() > 0 && !browser_->Busy(); }, kLoadTimeout);
}

std::optional<QVariant> PageFixture::evaluate(const QString& script) {
    // Shared with the callback, which may still come after a timeout.
    struct Result {
        bool done = false;
        QVariant value;
    };
    auto result = std::make_shared<Result>();
    browser_->ExecScript(script, [result](const QVariant& value) {
        result->value = value;
        result->done = true;
    });
    if (!waitUntil([&] { return result->done; }, kScriptTimeout)) {
        return std::nullopt;
    }
    return result->value;
}

QJsonValue PageFixture::evaluateJson(const QString& expression) {
    const auto text = evaluate(QStringLiteral("JSON.stringify([(%1)])").arg(expression));
    if (!text || text->typeId() != QMetaType::QString) {
        return QJsonValue(QJsonValue::Undefined);
    }
    const QJsonDocument document = QJsonDocument::fromJson(text->toString().toUtf8());
    return document.isArray() ? document.array().at(0) : QJsonValue(QJsonValue::Undefined);
}

QString PageFixture::runReportingError(const QString& text) {
    // An indirect eval runs at global scope, so "var x = ..." makes a global as
    // it does when the text is run on its own.
    const QString wrapped = QStringLiteral("(function () { try { (0, eval)(%1); return ''; } "
                                           "catch (e) { return 'error: ' + e; } })()")
                                .arg(jsString(text));
    const auto value = evaluate(wrapped);
    return value ? value->toString() : QStringLiteral("timed out");
}

bool PageFixture::waitForTrue(const QString& expression, std::chrono::milliseconds timeout) {
    return waitUntil(
        [&] {
            const auto value = evaluate(QStringLiteral("!!(%1)").arg(expression));
            return value && value->toBool();
        },
        timeout);
}

} // namespace vtl::test
