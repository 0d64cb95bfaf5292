#include "skyplot/StartUp.h"

#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/Ticks.h"
#include "platform/WebBrowser.h"
#include "platform/WindowBus.h"
#include "platform/X11Input.h"
#include "skyplot/MainWindow.h"
#include "skyplot/SplashScreen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <memory>

namespace vtl::skyplot {

bool IsIDERunning() {
    return platform::findWindow(QStringLiteral("TAppBuilder")) != 0 &&
           platform::findWindow(QStringLiteral("TPropertyInspector"),
                                QStringLiteral("Object Inspector")) != 0;
}

bool WindowExists(const QString& className, const QString& caption) {
    return platform::findWindow(className, caption) != 0;
}

namespace {

constexpr int kActivationWaitMs = 250;

void centreOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
    }
}

} // namespace

int runSkyplot() {
    auto splash = std::make_unique<TfrmSplashScreen>();
    splash->show();
    splash->activateWindow();
    // Windows activates a window as it shows it; here the activation arrives as
    // an event, so let it come (the splash then takes its activation pause).
    QElapsedTimer activation;
    activation.start();
    while (!splash->isActiveWindow() && activation.elapsed() < kActivationWaitMs) {
        platform::Pause(10); // sleeps until an event comes, rather than spinning
    }
    splash->fadeIn();
    splash->repaint();

    if (!IsIDERunning() && WindowExists(kMainWindowClass, kAppTitle)) {
        const auto answer = platform::showMessageBox(
            {platform::MessageIcon::Information, platform::MessageButtons::OkCancel, kAppTitle,
             QStringLiteral("Vantrelle Skyplot is already running, but may be hidden!\r\n\r\n"
                            "(Click OK to toggle the current Skyplot window visibility)"),
             true});
        if (answer == platform::MessageResult::Ok) {
            platform::SendKeystroke(0x5A, platform::Modifier::Shift | platform::Modifier::Ctrl,
                                    false);
        }
        return 0;
    }

    TfrmMain_Skyplot::Options options;
    options.executablePath = platform::executablePath();
    options.registryFile = platform::Registry::defaultStoreFile();
    options.createBrowser = [](QWidget* parent) -> platform::Browser* {
        auto* browser = new platform::WebBrowser(parent);
        return browser;
    };
    TfrmMain_Skyplot main(options);
    splash.reset();
    if (!main.isSecondCopy()) {
        centreOnScreen(main);
        main.show();
    }
    return QApplication::exec();
}

} // namespace vtl::skyplot
