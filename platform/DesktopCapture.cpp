#include "platform/DesktopCapture.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace vtl::platform {

QImage CaptureDesktop() {
    if (qGuiApp == nullptr) {
        return {};
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {};
    }
    // Window 0 is the whole screen (the root window on X11).
    const QPixmap picture = screen->grabWindow(0);
    if (picture.isNull()) {
        return {};
    }
    return picture.toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace vtl::platform
