#include "platform/SafeApplication.h"

#include "platform/MessageBox.h"

#include <QGuiApplication>

namespace vtl::platform {

void reportUncaughtError(const QString& what) {
    MessageBoxRequest request;
    request.icon = MessageIcon::Error;
    request.buttons = MessageButtons::Ok;
    request.caption = qGuiApp != nullptr ? QGuiApplication::applicationDisplayName() : QString();
    if (request.caption.isEmpty()) {
        request.caption = QStringLiteral("Error");
    }
    request.text = what.isEmpty() ? QStringLiteral("An unexpected error occurred.") : what;
    // Reporting must never be what ends the program.
    try {
        showMessageBox(request);
    } catch (...) {
    }
}

SafeApplication::SafeApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool SafeApplication::notify(QObject* receiver, QEvent* event) {
    return callReportingErrors([&] { return QApplication::notify(receiver, event); });
}

} // namespace vtl::platform
