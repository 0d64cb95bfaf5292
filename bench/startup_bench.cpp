// Start-up time and idle memory of the map program, measured from outside as a
// user sees them: from the process start to its main window on screen (less the
// splash's designed 2.3 s: 1 s on activation plus 256 fade steps of 5 ms), then
// the resident memory once it has sat idle on its map menu.
//
//   xvfb-run -a build/bin/startup_bench [runs]

#include "support/TempInstallation.h"
#include "support/TopLevelWindows.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <X11/Xlib.h>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double kSplashDesignMs = 1000.0 + 256 * 5.0 + 20.0; // about 2.3 s

bool mainWindowShown(Display* display) {
    const std::vector<bool> windows =
        vtl::test::topLevelWindowsOfClass(display, "TfrmMain_Skyplot");
    return std::find(windows.begin(), windows.end(), true) != windows.end();
}

long residentKb(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "needs an X display (run under xvfb-run)\n");
        return 1;
    }
    vtl::test::TempInstallation install;
    const QString exe = install.executablePath();
    QFile::copy(QStringLiteral(VTL_APP_DIR "/VantrelleSkyplot"), exe);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), install.runtimeFolder());

    std::vector<double> startMs;
    long idleKb = 0;
    for (int run = 0; run < runs; ++run) {
        QProcess program;
        program.setProcessEnvironment(env);
        QElapsedTimer clock;
        clock.start();
        program.start(exe, {});
        program.waitForStarted();
        while (!mainWindowShown(display) && clock.elapsed() < 60000) {
            QThread::msleep(2);
        }
        if (!mainWindowShown(display)) {
            std::fprintf(stderr, "run %d: no main window (exit code %d): %s\n", run + 1,
                         program.exitCode(), program.readAllStandardError().constData());
            return 1;
        }
        startMs.push_back(static_cast<double>(clock.elapsed()) - kSplashDesignMs);
        if (run == runs - 1) {
            QThread::sleep(12); // a couple of memory-trim ticks
            idleKb = residentKb(program.processId());
        }
        program.kill();
        program.waitForFinished();
    }
    std::sort(startMs.begin(), startMs.end());
    std::printf("start to main window shown, less the splash's 2.3 s: median %.0f ms (min %.0f, "
                "max %.0f, %d runs)\n",
                startMs[startMs.size() / 2], startMs.front(), startMs.back(), runs);
    std::printf("resident memory once idle on the map menu: %.1f MB\n", idleKb / 1024.0);
    XCloseDisplay(display);
    return 0;
}
