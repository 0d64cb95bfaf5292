#include "X11TestConnection.h"
#include "platform/X11Input.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace vtl::platform {
namespace {

using testing_x11::anyKeyDown;
using testing_x11::inputFocus;
using testing_x11::kControlMask;
using testing_x11::keycodeOf;
using testing_x11::kLockMask;
using testing_x11::kMod1Mask;
using testing_x11::kMod2Mask;
using testing_x11::OtherClient;
using testing_x11::qtDisplay;
using testing_x11::ScopedLockedModifiers;
using testing_x11::syncQt;

constexpr std::uint16_t VK_Z = 0x5A;
constexpr std::uint16_t VK_X = 0x58;
constexpr std::uint16_t VK_F1 = 0x70; // outside the keys we map to X11
constexpr int kWaitMs = 10000;        // only to end a hang, never reached when it works

// The environment variable that turns the child-process test below into the
// typing side of the parent's test.
constexpr const char* kChildVariable = "VTL_X11_KEYSTROKE_CHILD";

bool waitForPress(QSignalSpy& spy) {
    return spy.count() > 0 || spy.wait(kWaitMs);
}

class HotKeyTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), QLatin1String("xcb"));
        ASSERT_NE(qtDisplay(), nullptr);
        m_zKeycode = keycodeOf('z');
        ASSERT_NE(m_zKeycode, 0U);
    }

    // Every synthesised key press must have been released again.
    void TearDown() override {
        if (qtDisplay() != nullptr) {
            EXPECT_FALSE(anyKeyDown()) << "a key is still held down";
        }
    }

    unsigned m_zKeycode = 0;
};

TEST_F(HotKeyTest, FiresWhenTheCombinationIsTyped) {
    GlobalHotKey hotKey(VK_Z, Modifier::Ctrl | Modifier::Shift);
    ASSERT_TRUE(hotKey.isRegistered());
    QSignalSpy pressed(&hotKey, &GlobalHotKey::pressed);

    SendKeystroke(VK_Z, Modifier::Ctrl | Modifier::Shift, false);
    ASSERT_TRUE(waitForPress(pressed));
    EXPECT_EQ(pressed.count(), 1);
}

TEST_F(HotKeyTest, IgnoresOtherCombinations) {
    GlobalHotKey hotKey(VK_Z, Modifier::Ctrl | Modifier::Shift);
    // Typed last: once it has arrived, every earlier key press has been seen too.
    GlobalHotKey sentinel(VK_Z, Modifier::Ctrl | Modifier::Alt);
    ASSERT_TRUE(hotKey.isRegistered());
    ASSERT_TRUE(sentinel.isRegistered());
    QSignalSpy pressed(&hotKey, &GlobalHotKey::pressed);
    QSignalSpy sentinelPressed(&sentinel, &GlobalHotKey::pressed);

    SendKeystroke(VK_Z, Modifier::Ctrl, false);
    SendKeystroke(VK_Z, Modifier::Shift, false);
    SendKeystroke(VK_Z, Modifier::Ctrl | Modifier::Shift | Modifier::Alt, false);
    SendKeystroke(VK_X, Modifier::Ctrl | Modifier::Shift, false);
    SendKeystroke(VK_Z, Modifier::Ctrl | Modifier::Alt, false);

    ASSERT_TRUE(waitForPress(sentinelPressed));
    EXPECT_EQ(pressed.count(), 0);
}

class HotKeyWithLocks : public HotKeyTest, public testing::WithParamInterface<unsigned> {};

TEST_P(HotKeyWithLocks, FiresWhateverCapsLockAndNumLockAre) {
    GlobalHotKey hotKey(VK_Z, Modifier::Ctrl | Modifier::Shift);
    ASSERT_TRUE(hotKey.isRegistered());
    QSignalSpy pressed(&hotKey, &GlobalHotKey::pressed);
    const ScopedLockedModifiers locks(GetParam());
    ASSERT_EQ(ScopedLockedModifiers::locked() & (kLockMask | kMod2Mask), GetParam());

    SendKeystroke(VK_Z, Modifier::Ctrl | Modifier::Shift, false);
    EXPECT_TRUE(waitForPress(pressed));
}

INSTANTIATE_TEST_SUITE_P(Locks, HotKeyWithLocks,
                         testing::Values(kLockMask, kMod2Mask, kLockMask | kMod2Mask),
                         [](const testing::TestParamInfo<unsigned>& info) {
                             switch (info.param) {
                             case kLockMask:
                                 return std::string("CapsLock");
                             case kMod2Mask:
                                 return std::string("NumLock");
                             default:
                                 return std::string("Both");
                             }
                         });

TEST_F(HotKeyTest, FiresWhileOneOfOurWindowsHasTheFocus) {
    QWidget window;
    window.setGeometry(50, 50, 200, 150);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, kWaitMs));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window, kWaitMs));
    ASSERT_EQ(inputFocus(), window.winId());

    GlobalHotKey hotKey(VK_Z, Modifier::Ctrl | Modifier::Shift);
    ASSERT_TRUE(hotKey.isRegistered());
    QSignalSpy pressed(&hotKey, &GlobalHotKey::pressed);
    SendKeystroke(VK_Z, Modifier::Ctrl | Modifier::Shift, false);
    EXPECT_TRUE(waitForPress(pressed));
}

TEST_F(HotKeyTest, TwoForTheSameCombinationInOneProgramBothFire) {
    // X lets a client grab its own combination again, so both register.
    auto first = std::make_unique<GlobalHotKey>(VK_Z, Modifier::Ctrl | Modifier::Shift);
    GlobalHotKey second(VK_Z, Modifier::Ctrl | Modifier::Shift);
    EXPECT_TRUE(first->isRegistered());
    EXPECT_TRUE(second.isRegistered());
    QSignalSpy firstPressed(first.get(), &GlobalHotKey::pressed);
    QSignalSpy secondPressed(&second, &GlobalHotKey::pressed);

    SendKeystroke(VK_Z, Modifier::Ctrl | Modifier::Shift, false);
    EXPECT_TRUE(waitForPress(firstPressed));
    EXPECT_TRUE(waitForPress(secondPressed));
    first.reset(); // takes the shared grab with it; whatever X does, nothing breaks
}

TEST_F(HotKeyTest, UnmappedVirtualKeyNeitherRegistersNorTypes) {
    GlobalHotKey hotKey(VK_F1, Modifier::Ctrl);
    EXPECT_FALSE(hotKey.isRegistered());
    SendKeystroke(VK_F1, Modifier::Ctrl | Modifier::Shift, false);
    syncQt();
}

TEST_F(HotKeyTest, DestructionReleasesEveryVariant) {
    {
        GlobalHotKey hotKey(VK_Z, Modifier::Ctrl | Modifier::Alt);
        ASSERT_TRUE(hotKey.isRegistered());
    }
    OtherClient other;
    ASSERT_TRUE(other.isConnected());
    for (const unsigned lock : {0U, kLockMask, kMod2Mask, kLockMask | kMod2Mask}) {
        EXPECT_TRUE(other.grabKey(m_zKeycode, kControlMask | kMod1Mask | lock)) << "lock " << lock;
    }
}

// Another program holds one variant of the combination.
class HotKeyHeldElsewhere : public HotKeyTest, public testing::WithParamInterface<unsigned> {};

TEST_P(HotKeyHeldElsewhere, FailsSoftAndGivesBackWhatItGrabbed) {
    constexpr unsigned kCombination = kControlMask | kMod1Mask;
    OtherClient other;
    ASSERT_TRUE(other.isConnected());
    ASSERT_TRUE(other.grabKey(m_zKeycode, kCombination | GetParam()));

    {
        GlobalHotKey hotKey(VK_Z, Modifier::Ctrl | Modifier::Alt);
        EXPECT_FALSE(hotKey.isRegistered());
        // The other variants were released at once, not only when the object goes.
        for (const unsigned lock : {0U, kLockMask, kMod2Mask, kLockMask | kMod2Mask}) {
            if (lock != GetParam()) {
                EXPECT_TRUE(other.grabKey(m_zKeycode, kCombination | lock)) << "lock " << lock;
                other.ungrabKey(m_zKeycode, kCombination | lock);
            }
        }
    }

    other.ungrabKey(m_zKeycode, kCombination | GetParam());
    GlobalHotKey again(VK_Z, Modifier::Ctrl | Modifier::Alt);
    EXPECT_TRUE(again.isRegistered());
}

INSTANTIATE_TEST_SUITE_P(Variants, HotKeyHeldElsewhere,
                         testing::Values(0U, kLockMask, kMod2Mask, kLockMask | kMod2Mask));

// The second start of a program types before it has any X11 window of its own;
// the child runs with the offscreen platform and must still reach the server.
TEST_F(HotKeyTest, TypesFromAProcessThatIsNotOnXcb) {
    GlobalHotKey hotKey(VK_Z, Modifier::Ctrl | Modifier::Shift);
    ASSERT_TRUE(hotKey.isRegistered());
    QSignalSpy pressed(&hotKey, &GlobalHotKey::pressed);

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QString::fromLatin1(kChildVariable), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=ChildProcess.TypesCtrlShiftZ")});
    ASSERT_TRUE(child.waitForStarted(kWaitMs));

    EXPECT_TRUE(waitForPress(pressed));
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0);
}

TEST(ChildProcess, TypesCtrlShiftZ) {
    if (!qEnvironmentVariableIsSet(kChildVariable)) {
        GTEST_SKIP() << "the typing side of HotKeyTest.TypesFromAProcessThatIsNotOnXcb";
    }
    ASSERT_NE(QGuiApplication::platformName(), QLatin1String("xcb"));
    SendKeystroke(VK_Z, Modifier::Ctrl | Modifier::Shift, false);
}

} // namespace
} // namespace vtl::platform
