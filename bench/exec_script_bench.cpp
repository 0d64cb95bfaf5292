// How many script calls the real browser pushes through to the bundled map page,
// and how much memory the page costs. Needs a display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" exec_script_bench
// (as root, also QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox).

#include "platform/ProcessMemory.h"
#include "platform/WebBrowser.h"
#include "shared/FileUrl.h"
#include "support/WaitUntil.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using vtl::platform::WebBrowser;
using vtl::test::waitUntil;

// --- memory ------------------------------------------------------------------------

std::uint64_t residentBytes(const QString& pid) {
    QFile statm(QStringLiteral("/proc/%1/statm").arg(pid));
    if (!statm.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QList<QByteArray> fields = statm.readLine().simplified().split(' ');
    return fields.size() > 1 ? fields[1].toULongLong() * sysconf(_SC_PAGESIZE) : 0;
}

struct ChildMemory {
    std::uint64_t renderers = 0; // the page's renderer processes
    std::uint64_t all = 0;       // every process below this one
};

// Walks /proc for the processes started below this one: the engine's zygotes
// are its children, and what a zygote forks (keeping the zygote's command
// line) are the renderers.
ChildMemory childMemory() {
    std::multimap<QString, QString> children; // parent pid -> pid
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& pid : pids) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QByteArray line = stat.readAll();
        // "pid (name) state ppid ...": the name may hold blanks, so start after ")".
        const QList<QByteArray> rest = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (rest.size() > 1) {
            children.emplace(QString::fromLatin1(rest[1]), pid);
        }
    }
    ChildMemory memory;
    QList<std::pair<QString, int>> pending{{QString::number(getpid()), 0}};
    while (!pending.isEmpty()) {
        const auto [parent, depth] = pending.takeLast();
        const auto [first, last] = children.equal_range(parent);
        for (auto it = first; it != last; ++it) {
            const std::uint64_t rss = residentBytes(it->second);
            memory.all += rss;
            if (depth >= 1) {
                memory.renderers += rss;
            }
            pending.append({it->second, depth + 1});
        }
    }
    return memory;
}

void printMemory(const char* when) {
    const ChildMemory children = childMemory();
    constexpr double MiB = 1024.0 * 1024.0;
    std::printf("memory %s: this process %.1f MiB resident; renderer %.1f MiB; "
                "all engine processes below this one %.1f MiB\n",
                when, vtl::platform::workingSetSize() / MiB, children.renderers / MiB,
                children.all / MiB);
    std::fflush(stdout);
}

// --- the page ----------------------------------------------------------------------

class BenchPage {
public:
    BenchPage() {
        browser_.widget()->resize(1024, 768);
        browser_.widget()->show();
    }

    bool load() {
        bool complete = false;
        const QMetaObject::Connection done = QObject::connect(
            &browser_, &WebBrowser::downloadComplete, [&complete] { complete = true; });
        browser_.Navigate(
            vtl::FileToUrl(QDir(QStringLiteral(VTL_APP_DIR)).filePath("mappage/index.html")));
        const bool loaded = waitUntil([&] { return complete && !browser_.Busy(); }, 60s);
        QObject::disconnect(done);
        return loaded && evaluate("typeof drawPlaneMarker") == QVariant("function");
    }

    std::optional<QVariant> evaluate(const QString& script) {
        auto result = std::make_shared<std::optional<QVariant>>();
        browser_.ExecScript(script, [result](const QVariant& value) { *result = value; });
        if (!waitUntil([&] { return result->has_value(); }, 60s)) {
            return std::nullopt;
        }
        return **result;
    }

    // The calls the map program makes at each position report.
    void aircraftTriple(int step) {
        const double lat = 47.0 + step * 1e-4;
        const double lng = -122.0 + step * 1e-4;
        const int heading = (step / 10 % 36) * 10;
        browser_.ExecScript(QStringLiteral("map.panTo(new google.maps.LatLng(%1, %2))")
                                .arg(lat, 0, 'f', 6)
                                .arg(lng, 0, 'f', 6));
        browser_.ExecScript(QStringLiteral("removePlane()"));
        browser_.ExecScript(QStringLiteral(R"(drawPlaneMarker("%1", "%2", "%3", "Aircraft"))")
                                .arg(imageBase_ + QStringLiteral("plane%1.png").arg(heading))
                                .arg(lat, 0, 'f', 6)
                                .arg(lng, 0, 'f', 6));
    }

    // Counts, inside the page, the aircraft drawn from now on.
    bool countDrawnPlanes() {
        return evaluate(QStringLiteral(
                   "(function () { window.benchDrawn = 0; if (window.benchCounting) return true;"
                   " var draw = drawPlaneMarker; window.benchCounting = true;"
                   " window.drawPlaneMarker = function () { window.benchDrawn++;"
                   " return draw.apply(this, arguments); }; return true; })()")) == QVariant(true);
    }

    qint64 drawnPlanes() {
        const auto value = evaluate(QStringLiteral("window.benchDrawn"));
        return value ? value->toLongLong() : -1;
    }

private:
    WebBrowser browser_;
    QString imageBase_ = vtl::FileToUrl(QDir(QStringLiteral(VTL_APP_DIR)).filePath("mappage/img/"));
};

// Issues a batch of aircraft triples and waits until the page has run them all.
void aircraftTriplesThroughput(benchmark::State& state, BenchPage& page) {
    const int triples = static_cast<int>(state.range(0));
    if (!page.countDrawnPlanes()) {
        state.SkipWithError("the page did not take the counter");
        return;
    }
    qint64 issued = 0;
    int step = 0;
    for (auto _ : state) {
        for (int i = 0; i < triples; ++i) {
            page.aircraftTriple(step++);
        }
        issued += triples;
        // Scripts run in order: the count comes back after the last triple ran.
        if (const qint64 drawn = page.drawnPlanes(); drawn != issued) {
            state.SkipWithError("the page did not run every call");
            return;
        }
    }
    state.SetItemsProcessed(issued * 3);
    state.counters["triples"] = static_cast<double>(issued);
}

// One triple and the wait for it, as at each position report.
void aircraftTripleRoundTrip(benchmark::State& state, BenchPage& page) {
    int step = 0;
    for (auto _ : state) {
        page.aircraftTriple(step++);
        if (!page.evaluate(QStringLiteral("0"))) {
            state.SkipWithError("the page did not answer");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * 3);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    BenchPage page;
    if (!page.load()) {
        std::fprintf(stderr, "the map page did not load from %s/mappage\n", VTL_APP_DIR);
        return 1;
    }
    printMemory("with the page loaded");

    benchmark::RegisterBenchmark(
        "ExecScript/AircraftTriplesThroughput",
        [&page](benchmark::State& state) { aircraftTriplesThroughput(state, page); })
        ->Arg(100)
        ->Arg(1000)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(
        "ExecScript/AircraftTripleRoundTrip",
        [&page](benchmark::State& state) { aircraftTripleRoundTrip(state, page); })
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    printMemory("after the runs");
    return 0;
}
