// Map reader throughput: kibgen makes one station's event with a huge background map
// (more than 20 MB of SVG), then ReadMap reads and analyses it again and again.
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"

#include "generator.h"
#include "options.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kMinimumMapBytes = 20u * 1024u * 1024u;

// The generated event, made once for the whole run and removed at its end.
class BigEvent {
  public:
    BigEvent() {
        std::string pattern = (fs::temp_directory_path() / "kib-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            error = "cannot make a temporary directory";
            return;
        }
        dir = pattern + "/";
        kib::gen::Options o;
        o.outDir = dir;
        o.eventName = "Bench";
        o.stations = 1;
        o.tasks = {6};
        o.flags = {6};
        o.flagObjects = 1;
        o.width = 3000.0;
        o.height = 2000.0;
        o.objects = 80000;
        o.cfgName = "bench.cfg";
        o.quiet = true;
        std::string summary;
        for (;;) {
            if (!kib::gen::GenerateEvent(o, summary, error)) {
                return;
            }
            mapBytes = fs::file_size(dir + "Bench.S1.svg");
            if (mapBytes >= kMinimumMapBytes) {
                break;
            }
            o.objects *= 2;
        }
        cfg = dir + "bench.cfg";
    }
    ~BigEvent() {
        if (!dir.empty()) {
            std::error_code ec;
            fs::remove_all(dir, ec);
        }
    }
    BigEvent(const BigEvent&) = delete;
    BigEvent& operator=(const BigEvent&) = delete;

    std::string dir;
    std::string cfg;
    std::string error;
    std::uintmax_t mapBytes = 0;
};

const BigEvent& Event() {
    static const BigEvent event;
    return event;
}

// reduceSize: Target.REDUCESIZE Yes also registers the background map symbols.
void ReadMapBench(benchmark::State& state, bool reduceSize) {
    const BigEvent& ev = Event();
    if (!ev.error.empty()) {
        state.SkipWithError(ev.error.c_str());
        return;
    }
    kib::ResetAppState();
    kib::CKibDoc doc;
    if (!doc.OnOpenDocument(ev.cfg)) {
        state.SkipWithError("cannot open the generated configuration");
        return;
    }
    if (reduceSize) {
        doc.GetConfig()->Item(kib::id::Target_REDUCESIZE).SetText("Yes");
    }
    kib::CKibSvg svg(doc);
    if (!svg.ReadCourses(1)) {
        state.SkipWithError("cannot read the generated courses file");
        return;
    }
    for (auto _ : state) {
        if (!svg.ReadMap(1, 1)) {
            state.SkipWithError("ReadMap failed");
            return;
        }
        benchmark::DoNotOptimize(svg.GetMap());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(ev.mapBytes));
    state.counters["MB"] = static_cast<double>(ev.mapBytes) / 1e6;
    state.counters["lines"] = svg.GetMap()->lineCount;
    state.counters["rotation"] = svg.GetMap()->rotation;
}

BENCHMARK_CAPTURE(ReadMapBench, map_symbols_skipped, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadMapBench, map_symbols_registered, true)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
