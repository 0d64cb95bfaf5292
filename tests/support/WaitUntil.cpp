#include "support/WaitUntil.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace vtl::test {

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    QDeadlineTimer deadline(timeout);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

} // namespace vtl::test
