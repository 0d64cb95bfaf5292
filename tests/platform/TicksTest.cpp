#include "platform/Ticks.h"

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <ctime>
#include <gtest/gtest.h>
#include <thread>

namespace vtl::platform {
namespace {

using Clock = std::chrono::steady_clock;

std::chrono::milliseconds since(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

// CPU time of the calling thread: a spinning wait shows up here, while other
// threads of the test program (whatever they do) do not.
std::chrono::milliseconds threadCpuTime() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::duration_cast<std::chrono::milliseconds>(
                                                  std::chrono::nanoseconds(now.tv_nsec));
}

TEST(Ticks, CountFollowsTheClock) {
    const std::uint32_t before = tickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const std::uint32_t elapsed = tickCount() - before;
    EXPECT_GE(elapsed, 29U);
    EXPECT_LT(elapsed, 10000U);
}

TEST(TicksPause, ZeroStillHandlesPendingEvents) {
    bool handled = false;
    QTimer::singleShot(0, qApp, [&] { handled = true; });
    Pause(0);
    EXPECT_TRUE(handled);
}

TEST(TicksPause, WaitsTheTimeAndHandlesTimersMeanwhile) {
    bool fired = false;
    QTimer::singleShot(50, qApp, [&] { fired = true; });
    const Clock::time_point start = Clock::now();
    Pause(200);
    EXPECT_GE(since(start).count(), 200);
    EXPECT_LT(since(start).count(), 10000) << "hang";
    EXPECT_TRUE(fired);
}

TEST(TicksPause, NestedPausesBothReturn) {
    bool innerDone = false;
    std::chrono::milliseconds innerTook{};
    QTimer::singleShot(50, qApp, [&] {
        const Clock::time_point innerStart = Clock::now();
        Pause(100);
        innerTook = since(innerStart);
        innerDone = true;
    });
    const Clock::time_point start = Clock::now();
    Pause(300);
    EXPECT_TRUE(innerDone);
    EXPECT_GE(innerTook.count(), 100);
    EXPECT_GE(since(start).count(), 300);
    EXPECT_LT(since(start).count(), 10000) << "hang";
}

// The outer pause runs out while the inner one still waits: the outer returns
// once the inner is done.
TEST(TicksPause, InnerPauseOutlastingTheOuter) {
    bool innerDone = false;
    QTimer::singleShot(20, qApp, [&] {
        Pause(150);
        innerDone = true;
    });
    const Clock::time_point start = Clock::now();
    Pause(50);
    EXPECT_TRUE(innerDone);
    EXPECT_GE(since(start).count(), 150);
    EXPECT_LT(since(start).count(), 10000) << "hang";
}

// A fault check rather than a speed figure: a busy loop would use about the
// whole 500 ms of processor time.
TEST(TicksPause, SleepsInsteadOfSpinning) {
    const std::chrono::milliseconds cpuBefore = threadCpuTime();
    const Clock::time_point start = Clock::now();
    Pause(500);
    EXPECT_GE(since(start).count(), 500);
    EXPECT_LT((threadCpuTime() - cpuBefore).count(), 100);
}

} // namespace
} // namespace vtl::platform
