#include "platform/Ticks.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <climits>
#include <thread>
#include <time.h>

namespace vtl::platform {

std::uint32_t tickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000U +
                              static_cast<std::uint64_t>(now.tv_nsec) / 1000000U;
    return static_cast<std::uint32_t>(milliseconds); // wraps like the Windows count
}

void Pause(std::uint32_t milliseconds) {
    const std::uint32_t start = tickCount();
    if (!QCoreApplication::instance()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        return;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // Unsigned subtraction keeps the elapsed time right across the wrap.
    for (std::uint32_t elapsed = tickCount() - start; elapsed < milliseconds;
         elapsed = tickCount() - start) {
        // A loop of our own sleeps until an event or the timer comes, and nests
        // cleanly when an event handler pauses again.
        QEventLoop loop;
        const auto remaining = std::min<std::uint32_t>(milliseconds - elapsed, INT_MAX);
        QTimer::singleShot(static_cast<int>(remaining), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

} // namespace vtl::platform
