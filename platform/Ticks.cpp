#include "platform/Ticks.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <climits>
#include <ctime>
#include <thread>

namespace vtl::platform {

std::uint32_t tickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000U +
                              static_cast<std::uint64_t>(now.tv_nsec) / 1000000U;
    return static_cast<std::uint32_t>(milliseconds); // wraps like the Windows count
}

void Pause(std::uint32_t milliseconds) {
    // The deadline is kept on the 64-bit monotonic clock: whole-millisecond ticks
    // could end the wait up to a millisecond early, and it never wraps.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    if (!QCoreApplication::instance()) {
        std::this_thread::sleep_until(deadline);
        return;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    for (Clock::time_point now = Clock::now(); now < deadline; now = Clock::now()) {
        // A loop of our own sleeps until an event or the timer comes, and nests
        // cleanly when an event handler pauses again.
        const auto remaining = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(std::min<std::int64_t>(remaining.count(), INT_MAX)),
                           Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

} // namespace vtl::platform
