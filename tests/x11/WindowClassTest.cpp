#include "X11TestConnection.h"
#include "platform/X11Input.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <utility>

namespace vtl::platform {
namespace {

using testing_x11::qtDisplay;
using testing_x11::windowClass;

const std::pair<QString, QString> kExpected{QStringLiteral("VantrelleSkyplot"),
                                            QStringLiteral("VantrelleSkyplot")};

TEST(WindowClass, SetBeforeTheWindowIsShownAndKeptWhenShown) {
    ASSERT_NE(qtDisplay(), nullptr);
    QWidget window;
    setWindowClass(&window, QStringLiteral("VantrelleSkyplot"));
    ASSERT_TRUE(window.testAttribute(Qt::WA_WState_Created));
    EXPECT_EQ(windowClass(window.winId()), kExpected);

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 10000));
    EXPECT_EQ(windowClass(window.winId()), kExpected);
}

TEST(WindowClass, SetOnAShownWindow) {
    QWidget window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 10000));
    setWindowClass(&window, QStringLiteral("VantrelleSkyplot"));
    EXPECT_EQ(windowClass(window.winId()), kExpected);
}

TEST(WindowClass, AChildWidgetNamesItsTopLevelWindow) {
    QWidget window;
    auto* child = new QWidget(&window);
    setWindowClass(child, QStringLiteral("VantrelleSkyplot"));
    EXPECT_FALSE(child->testAttribute(Qt::WA_NativeWindow));
    EXPECT_EQ(windowClass(window.winId()), kExpected);
}

TEST(WindowClass, NoWindowIsNoError) {
    setWindowClass(nullptr, QStringLiteral("Anything"));
}

} // namespace
} // namespace vtl::platform
