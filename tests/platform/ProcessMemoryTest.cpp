#include "platform/ProcessMemory.h"

#include <gtest/gtest.h>
#include <vector>

namespace vtl::platform {
namespace {

TEST(ProcessMemory, ResidentSetGrowsWithTouchedMemory) {
    const std::uint64_t before = workingSetSize();
    EXPECT_GT(before, 0U);

    constexpr std::size_t kBlock = 64U << 20;
    std::vector<char> block(kBlock, 1); // only touched pages are resident
    const std::uint64_t during = workingSetSize();
    EXPECT_GT(during, before + kBlock / 2);
    EXPECT_LT(during, before + kBlock * 4) << "not counted in bytes";

    block = {};
    EXPECT_TRUE(trimWorkingSet());
    EXPECT_GT(workingSetSize(), 0U);
}

} // namespace
} // namespace vtl::platform
