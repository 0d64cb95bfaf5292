#include "platform/DesktopCapture.h"

#include <QDeadlineTimer>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace vtl::platform {
namespace {

TEST(DesktopCapture, IsTheWholePrimaryScreenIn32Bits) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QImage picture = CaptureDesktop();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), screen->geometry().size() * screen->devicePixelRatio());
    EXPECT_EQ(picture.format(), QImage::Format_RGB32);
}

TEST(DesktopCapture, ShowsWhatIsOnTheScreen) {
    QWidget window;
    window.setWindowFlag(Qt::FramelessWindowHint);
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(250, 10, 20));
    window.setPalette(palette);
    window.setGeometry(100, 120, 200, 150);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 10000));

    // The server draws the window in its own time; look until it is there.
    const QPoint middle = window.geometry().center();
    QRgb seen = 0;
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        const QImage picture = CaptureDesktop();
        ASSERT_FALSE(picture.isNull());
        seen = picture.pixel(middle);
        if (seen == qRgb(250, 10, 20)) {
            break;
        }
        QTest::qWait(20);
    }
    EXPECT_EQ(seen, qRgb(250, 10, 20));
}

} // namespace
} // namespace vtl::platform
