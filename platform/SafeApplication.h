#pragma once

#include <QApplication>
#include <QString>
#include <exception>

namespace vtl::platform {

// Shows the text of an error that no handler caught, in an error box captioned
// with the application's display name, and returns once the user has read it.
void reportUncaughtError(const QString& what);

// Runs a handler that answers true or false. An error escaping it is reported
// with reportUncaughtError instead of ending the program, and the answer is false.
template <typename Handler> bool callReportingErrors(Handler&& handler) {
    try {
        return handler();
    } catch (const std::exception& error) {
        reportUncaughtError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        reportUncaughtError({});
    }
    return false;
}

// An error that no handler catches is shown in a message box with its text, and
// the program goes on running.
class SafeApplication : public QApplication {
public:
    SafeApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace vtl::platform
