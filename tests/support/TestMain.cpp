#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

// Widgets and the event loop need an application object; the platform plug-in is
// chosen by the test's environment (offscreen for unit tests, xcb under Xvfb).
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // The browser engine shares its drawing context with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
