#include "skyplot/SplashScreen.h"

#include "platform/DesktopCapture.h"
#include "skyplot/SkinWidgets.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QThread>

namespace vtl::skyplot {

namespace {
const QSize kSplashSize(300, 100);
}

TfrmSplashScreen::TfrmSplashScreen(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmSplashScreen"));
    setFixedSize(kSplashSize);
    setWindowOpacity(0.0);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.center() - QPoint(kSplashSize.width() / 2, kSplashSize.height() / 2));
    }

    imgDeskTop = new QLabel(this);
    imgDeskTop->setObjectName(QStringLiteral("imgDeskTop"));
    imgDeskTop->setGeometry(rect());
    imgDeskTop->setAlignment(Qt::AlignCenter);

    imgSplashScreen = new QLabel(this);
    imgSplashScreen->setObjectName(QStringLiteral("imgSplashScreen"));
    imgSplashScreen->setGeometry(rect());
    imgSplashScreen->setAttribute(Qt::WA_TranslucentBackground);
    imgSplashScreen->setPixmap(artPixmap(QStringLiteral("splash.png")));
    FormCreate();
}

void TfrmSplashScreen::FormCreate() {
    BuildSplashScreen();
}

void TfrmSplashScreen::BuildSplashScreen() {
    // The window is centred and so is the capture, so each captured pixel lies
    // exactly over the place it was taken from.
    const QImage desktop = platform::CaptureDesktop();
    if (desktop.isNull()) {
        return;
    }
    const QPoint centre(desktop.width() / 2, desktop.height() / 2);
    const QRect under(centre - QPoint(kSplashSize.width() / 2, kSplashSize.height() / 2),
                      kSplashSize);
    imgDeskTop->setPixmap(QPixmap::fromImage(desktop.copy(under)));
}

void TfrmSplashScreen::FormActivate() {
    QCoreApplication::processEvents();
    QThread::msleep(kActivationPauseMs);
}

bool TfrmSplashScreen::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        FormActivate();
    }
    return QWidget::event(event);
}

void TfrmSplashScreen::fadeIn(const std::function<void(int)>& onStep) {
    for (int value = 0; value <= 255; ++value) {
        QThread::msleep(kFadeStepMs);
        setWindowOpacity(value / 255.0);
        if (onStep) {
            onStep(value);
        }
    }
}

} // namespace vtl::skyplot
