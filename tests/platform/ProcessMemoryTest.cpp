#include "platform/ProcessMemory.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>

namespace vtl::platform {
namespace {

TEST(ProcessMemory, ResidentSetGrowsWithTouchedMemory) {
    const std::uint64_t before = workingSetSize();
    EXPECT_GT(before, 0U);

    constexpr std::size_t kBlock = 64U << 20;
    auto block = std::make_unique<char[]>(kBlock);
    std::memset(block.get(), 1, kBlock); // only touched pages are resident
    const std::uint64_t during = workingSetSize();
    EXPECT_GT(during, before + kBlock / 2);
    EXPECT_LT(during, before + kBlock * 4) << "not counted in bytes";

    block.reset();
    EXPECT_TRUE(trimWorkingSet());
    EXPECT_GT(workingSetSize(), 0U);
}

} // namespace
} // namespace vtl::platform
