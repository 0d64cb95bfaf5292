// How many aircraft records the map window takes in end to end: over the window
// bus, handled on its user-interface thread, three scripts each into the real
// map page. The sender waits for every answer, as a plug-in does.
//
//   xvfb-run -a build/bin/records_bench [records]

#include "platform/Ticks.h"
#include "platform/WebBrowser.h"
#include "platform/WindowBus.h"
#include "shared/AircraftData.h"
#include "skyplot/MainWindow.h"
#include "skyplot/globals.h"
#include "support/TempInstallation.h"

#include <QApplication>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

using namespace vtl;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const int records = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5000;

    test::TempInstallation install;
    qputenv("XDG_RUNTIME_DIR", install.runtimeFolder().toUtf8());
    install.addAppFile(QStringLiteral("SimConnect.CFG"));

    skyplot::TfrmMain_Skyplot::Options options;
    options.executablePath = install.executablePath();
    options.registryFile = install.appFolder() + QStringLiteral("registry.json");
    options.instanceBlockName = QStringLiteral("VtlSkyplotBench");
    options.createBrowser = [](QWidget* parent) { return new platform::WebBrowser(parent); };
    skyplot::TfrmMain_Skyplot window(options);
    window.show();
    window.btnSkyplotClick(); // shows the map, loads the page, connects
    while (window.browser().Busy()) {
        platform::Pause(100);
    }
    platform::Pause(1500); // past the loading bar's second

    const platform::WindowHandle target = window.windowHandle32();
    std::vector<double> waitsMs;
    waitsMs.reserve(static_cast<std::size_t>(records));
    std::atomic<bool> done{false};
    int failed = 0;
    const auto start = Clock::now();
    std::thread sender([&] {
        TAircraftData record;
        platform::BusMessage message;
        message.message = platform::WM_COPYDATA;
        message.dwData = 1;
        for (int i = 0; i < records; ++i) {
            record.setLatitude(47.0 + i * 1e-4);
            record.setLongitude(-122.0 - i * 1e-4);
            record.setHeading(i % 360);
            message.data = record.toBytes();
            const auto before = Clock::now();
            if (!platform::sendMessage(target, message)) {
                ++failed;
            }
            waitsMs.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - before).count());
        }
        done = true;
    });
    while (!done) {
        platform::Pause(50);
    }
    sender.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();

    // Every record's scripts must have run in the page, not just been queued.
    bool confirmed = false;
    QString lastCall;
    static_cast<platform::WebBrowser&>(window.browser())
        .ExecScript(QStringLiteral(
                        "window.skyplotState ? JSON.stringify(window.skyplotState().plane) : ''"),
                    [&](const QVariant& value) {
                        lastCall = value.toString();
                        confirmed = true;
                    });
    const auto confirmStart = Clock::now();
    while (!confirmed) {
        platform::Pause(10);
    }
    const double totalSeconds =
        seconds + std::chrono::duration<double>(Clock::now() - confirmStart).count();

    std::sort(waitsMs.begin(), waitsMs.end());
    const auto at = [&](double q) {
        return waitsMs[std::min(waitsMs.size() - 1, static_cast<std::size_t>(q * waitsMs.size()))];
    };
    std::printf("records sent:              %d (failed %d)\n", records, failed);
    std::printf("records per second:        %.0f (until the page confirmed the last: %.0f)\n",
                records / seconds, records / totalSeconds);
    std::printf("sender wait per record:    median %.3f ms, p99 %.3f ms, max %.3f ms\n", at(0.5),
                at(0.99), waitsMs.back());
    std::printf("last marker in the page:   %s\n", qPrintable(lastCall));
    return failed == 0 ? 0 : 1;
}
