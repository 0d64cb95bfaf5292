#include "platform/X11Input.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace vtl::platform {

// Readable failure output instead of a byte dump.
void PrintTo(const KeyEvent& event, std::ostream* out) {
    *out << "{0x" << std::hex << event.virtualKey << std::dec << (event.down ? " down" : " up")
         << (event.extended ? " ext" : "") << '}';
}

namespace {

constexpr std::uint16_t VK_Z = 0x5A;
constexpr std::uint16_t VK_5 = 0x35;

KeyEvent down(std::uint16_t key, bool extended = false) {
    return {key, true, extended};
}
KeyEvent up(std::uint16_t key, bool extended = false) {
    return {key, false, extended};
}

struct SequenceCase {
    std::string name;
    std::uint16_t key;
    Modifiers modifiers;
    bool extended;
    std::vector<KeyEvent> expected;
};

class KeystrokeSequenceTest : public testing::TestWithParam<SequenceCase> {};

TEST_P(KeystrokeSequenceTest, PressesModifiersAroundTheKeyInNestedOrder) {
    const SequenceCase& c = GetParam();
    EXPECT_EQ(keystrokeSequence(c.key, c.modifiers, c.extended), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KeystrokeSequenceTest,
    testing::Values(SequenceCase{"CtrlShiftZ",
                                 VK_Z,
                                 Modifier::Ctrl | Modifier::Shift,
                                 false,
                                 {down(VK_CONTROL), down(VK_SHIFT), down(VK_Z), up(VK_Z),
                                  up(VK_SHIFT), up(VK_CONTROL)}},
                    SequenceCase{"AltOnly",
                                 VK_5,
                                 Modifier::Alt,
                                 false,
                                 {down(VK_MENU), down(VK_5), up(VK_5), up(VK_MENU)}},
                    SequenceCase{"NoModifiers", VK_Z, Modifiers{}, false, {down(VK_Z), up(VK_Z)}},
                    // Given in another order than the table's: the table's order still wins.
                    SequenceCase{"AllThree",
                                 VK_Z,
                                 Modifier::Alt | Modifier::Shift | Modifier::Ctrl,
                                 false,
                                 {down(VK_CONTROL), down(VK_SHIFT), down(VK_MENU), down(VK_Z),
                                  up(VK_Z), up(VK_MENU), up(VK_SHIFT), up(VK_CONTROL)}},
                    SequenceCase{
                        "ExtendedMarksOnlyTheKey",
                        VK_Z,
                        Modifier::Ctrl,
                        true,
                        {down(VK_CONTROL), down(VK_Z, true), up(VK_Z, true), up(VK_CONTROL)}}),
    [](const testing::TestParamInfo<SequenceCase>& info) { return info.param.name; });

} // namespace
} // namespace vtl::platform
