#include "X11TestConnection.h"
#include "platform/X11Input.h"

#include <QTest>
#include <QWidget>
#include <X11/Xutil.h>
#include <gtest/gtest.h>
#include <utility>

namespace vtl::platform {
namespace {

using testing_x11::qtDisplay;

// WM_CLASS as the window manager reads it: instance name and class name.
std::pair<QString, QString> readClass(WId window) {
    XClassHint hint{};
    if (XGetClassHint(qtDisplay(), window, &hint) == 0) {
        return {};
    }
    std::pair<QString, QString> names{QString::fromLatin1(hint.res_name),
                                      QString::fromLatin1(hint.res_class)};
    XFree(hint.res_name);
    XFree(hint.res_class);
    return names;
}

const std::pair<QString, QString> kExpected{QStringLiteral("VantrelleSkyplot"),
                                            QStringLiteral("VantrelleSkyplot")};

TEST(WindowClass, SetBeforeTheWindowIsShownAndKeptWhenShown) {
    ASSERT_NE(qtDisplay(), nullptr);
    QWidget window;
    setWindowClass(&window, QStringLiteral("VantrelleSkyplot"));
    ASSERT_TRUE(window.testAttribute(Qt::WA_WState_Created));
    EXPECT_EQ(readClass(window.winId()), kExpected);

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 10000));
    EXPECT_EQ(readClass(window.winId()), kExpected);
}

TEST(WindowClass, SetOnAShownWindow) {
    QWidget window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 10000));
    setWindowClass(&window, QStringLiteral("VantrelleSkyplot"));
    EXPECT_EQ(readClass(window.winId()), kExpected);
}

TEST(WindowClass, AChildWidgetNamesItsTopLevelWindow) {
    QWidget window;
    auto* child = new QWidget(&window);
    setWindowClass(child, QStringLiteral("VantrelleSkyplot"));
    EXPECT_FALSE(child->testAttribute(Qt::WA_NativeWindow));
    EXPECT_EQ(readClass(window.winId()), kExpected);
}

TEST(WindowClass, NoWindowIsNoError) {
    setWindowClass(nullptr, QStringLiteral("Anything"));
}

} // namespace
} // namespace vtl::platform
