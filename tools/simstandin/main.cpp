// Stands in for the simulator and its plug-in: publishes the simulator's window,
// takes the map window's registration and then sends it aircraft records along a
// route, each send waiting for the answer as a plug-in's does.

#include "platform/WindowBus.h"
#include "shared/AircraftData.h"
#include "tools/simstandin/FlightRoute.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

using namespace vtl;

namespace {

struct Options {
    double rateHz = 10;
    double speedKnots = 220;
    long long count = -1; // records to send before ending; -1 for no end
    QString planFile;
};

std::optional<Options> parseOptions(QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulator stand-in for the map program"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("rate"), QStringLiteral("Records per second."),
                      QStringLiteral("hz"), QStringLiteral("10")});
    parser.addOption({QStringLiteral("speed"), QStringLiteral("Ground speed in knots."),
                      QStringLiteral("knots"), QStringLiteral("220")});
    parser.addOption({QStringLiteral("count"),
                      QStringLiteral("End after sending this many records."), QStringLiteral("n")});
    parser.addOption({QStringLiteral("plan"),
                      QStringLiteral("Fly the waypoints of this FMS plan instead of the circuit."),
                      QStringLiteral("file")});
    parser.process(app);

    Options options;
    bool ok = true;
    options.rateHz = parser.value(QStringLiteral("rate")).toDouble(&ok);
    if (!ok || options.rateHz <= 0 || options.rateHz > 100000) {
        std::fprintf(stderr, "--rate wants a number of records per second\n");
        return std::nullopt;
    }
    options.speedKnots = parser.value(QStringLiteral("speed")).toDouble(&ok);
    if (!ok || options.speedKnots < 0) {
        std::fprintf(stderr, "--speed wants a ground speed in knots\n");
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("count"))) {
        options.count = parser.value(QStringLiteral("count")).toLongLong(&ok);
        if (!ok || options.count < 0) {
            std::fprintf(stderr, "--count wants a whole number\n");
            return std::nullopt;
        }
    }
    options.planFile = parser.value(QStringLiteral("plan"));
    return options;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vantrelle-simstandin"));
    const auto options = parseOptions(app);
    if (!options) {
        return 2;
    }

    std::optional<standin::FlightRoute> route = standin::FlightRoute::builtInCircuit();
    if (!options->planFile.isEmpty()) {
        QString error;
        route = standin::FlightRoute::fromFmsFile(options->planFile, &error);
        if (!route) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 2;
        }
    }

    platform::BusWindow simulator(QStringLiteral("X-System"), QStringLiteral("X-Plane"));
    if (simulator.handle() == 0) {
        std::fprintf(stderr, "cannot publish the simulator window on the window bus\n");
        return 1;
    }
    const std::uint32_t registerMessage = platform::registerWindowMessage("REGISTER_WINDOW_HANDLE");
    platform::WindowHandle mapWindow = 0;
    long long sent = 0;
    QElapsedTimer flying;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(static_cast<int>(1000.0 / options->rateHz));

    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const double hours = static_cast<double>(flying.elapsed()) / 3.6e6;
        const standin::AircraftState state = route->stateAt(hours * options->speedKnots);
        TAircraftData record;
        record.setLatitude(state.position.lat);
        record.setLongitude(state.position.lon);
        record.setHeading(state.heading);
        platform::BusMessage message;
        message.message = platform::WM_COPYDATA;
        message.dwData = 1;
        message.data = record.toBytes();
        if (platform::sendMessage(mapWindow, message)) {
            ++sent;
            std::printf("sent %lld %.6f %.6f %.1f\n", sent, state.position.lat, state.position.lon,
                        state.heading);
            std::fflush(stdout);
        }
        if (options->count >= 0 && sent >= options->count) {
            QCoreApplication::quit();
        }
    });

    simulator.setHandler([&](const platform::BusMessage& message) -> std::int64_t {
        if (message.message != registerMessage || message.wParam == 0 ||
            message.wParam > 0xFFFFFFFFULL) {
            return 0;
        }
        mapWindow = static_cast<platform::WindowHandle>(message.wParam);
        std::printf("registered %u\n", mapWindow);
        std::fflush(stdout);
        // Records start after the answer, from the event loop, as they would
        // from a plug-in's own flight loop.
        if (!ticker.isActive()) {
            flying.start();
            ticker.start();
        }
        return 1;
    });

    std::printf("simulator window %u\n", simulator.handle());
    std::fflush(stdout);
    if (options->count == 0) {
        return 0;
    }
    return QCoreApplication::exec();
}
