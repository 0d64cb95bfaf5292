#include "platform/MessageBox.h"
#include "platform/SafeApplication.h"
#include "skyplot/MainWindow.h"
#include "skyplot/StartUp.h"

#include <exception>

int main(int argc, char** argv) {
    // The embedded browser shares its drawing context with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    vtl::platform::SafeApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("VantrelleSkyplot"));
    QGuiApplication::setApplicationDisplayName(vtl::skyplot::kAppTitle);
    try {
        return vtl::skyplot::runSkyplot();
    } catch (const std::exception& error) {
        // Start-up cannot go on: say why, then end.
        vtl::platform::showMessageBox({vtl::platform::MessageIcon::Error,
                                       vtl::platform::MessageButtons::Ok, vtl::skyplot::kAppTitle,
                                       QString::fromUtf8(error.what()), true});
        return 1;
    }
}
