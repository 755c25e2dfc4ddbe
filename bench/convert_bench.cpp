// The built-in converter on the sheets of the benchmark event (kibgen: 8 stations
// of 6 tasks, map exports above 5 MB, trimmed sheets): the print sheets of
// station 1 drawn into PNG files at 600 dpi with each PNG encoding, libpng's own
// defaults first as the baseline, and every print sheet converted to PDF and PNG
// with one worker and with one per core. Every benchmark reports its ratio against
// its baseline measured in the same run.
#include "app/builtin_convert.h"
#include "app/builtin_workers.h"
#include "app/conversion_loop.h"
#include "app/documents.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/station_set.h"
#include "foundation/app_state.h"
#include "foundation/run_control.h"
#include "map_input/kib_svg.h"
#include "sheet/map_generation.h"
#include "sheet/task_range.h"

#include "generator.h"
#include "options.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Keeps the first error line of the setup, to say why it failed.
class ErrorHost : public kib::NullHost {
  public:
    void AppendLine(kib::LogPane pane, const std::string& text) override {
        if (pane == kib::LogPane::Messages && firstError.empty() &&
            text.find("ERROR") != std::string::npos) {
            firstError = text;
        }
    }
    std::string firstError;
};

// The generated event with its competition sheets, made once for the whole run
// and removed at its end.
class SheetEvent {
  public:
    SheetEvent() {
        std::string pattern = (fs::temp_directory_path() / "kib-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            error = "cannot make a temporary directory";
            return;
        }
        dir = pattern + "/";
        kib::gen::Options o;
        o.seed = 11;
        o.outDir = dir;
        o.eventName = "Bench";
        o.stations = 8;
        o.tasks = {6};
        o.width = 1300.0;
        o.height = 870.0;
        o.objects = 16000;
        o.cfgName = "bench.cfg";
        o.reduceSize = true;
        o.quiet = true;
        std::string summary;
        if (!kib::gen::GenerateEvent(o, summary, error)) {
            return;
        }
        kib::ResetAppState(&host);
        doc = std::make_unique<kib::CKibDoc>();
        if (!kib::LoadDocument(*doc, dir + "bench.cfg")) {
            error = "cannot open the generated configuration";
            return;
        }
        kib::App().running = true; // a run, as a Make command starts it
        kib::CKibSvg svg(*doc);
        kib::StopCommand stop;
        kib::CompetitionRun run(svg, kib::App().Log(), stop);
        result = run.Run(kib::StationSet::Every(), kib::kTaskAll);
        if (!result.completed || result.AnyStationFailed()) {
            error = "cannot make the competition sheets: " + host.firstError;
            return;
        }
        settings = kib::ReadConversionSettings(*doc, kib::OutputFormat::Png);
        for (const kib::RunSheet* sheet : result.PrintSheets()) {
            sheets.push_back(kib::ConversionOf(*sheet, settings));
        }
        for (const kib::SheetConversion& sheet : sheets) {
            if (sheet.base.find("prn-1.") != std::string::npos) {
                stationOne.push_back(sheet.base);
            }
        }
    }
    ~SheetEvent() {
        if (!dir.empty()) {
            std::error_code ec;
            fs::remove_all(dir, ec);
        }
    }
    SheetEvent(const SheetEvent&) = delete;
    SheetEvent& operator=(const SheetEvent&) = delete;

    ErrorHost host;
    std::string dir;
    std::string error;
    std::unique_ptr<kib::CKibDoc> doc;
    kib::ConversionSettings settings;
    kib::RunResult result;                    // the competition run
    std::vector<kib::SheetConversion> sheets; // every print sheet of the event
    std::vector<std::string> stationOne;      // the print sheets of station 1 (bases)
};

const SheetEvent& Event() {
    static const SheetEvent event;
    return event;
}

// Seconds per iteration of each baseline, by name, measured before the
// benchmarks that are compared with it (Google Benchmark runs them in order).
std::map<std::string, double>& Baselines() {
    static std::map<std::string, double> seconds;
    return seconds;
}

void Compare(benchmark::State& state, const std::string& baseline, double seconds,
             bool isBaseline) {
    if (isBaseline) {
        Baselines()[baseline] = seconds;
    }
    const auto it = Baselines().find(baseline);
    if (it != Baselines().end() && seconds > 0.0) {
        state.counters["x_faster"] = it->second / seconds;
    }
}

double PerIteration(const benchmark::State& state, double seconds) {
    return seconds /
           static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
}

// Processor time of the process: on a machine shared with other work the
// single-threaded encodings compare by it, not by the clock on the wall.
double ProcessorSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Station 1's print sheets into PNG files at 600 dpi with the encoding.
void PngEncodingBench(benchmark::State& state, kib::PngEncoding encoding, bool isBaseline) {
    const SheetEvent& ev = Event();
    if (!ev.error.empty()) {
        state.SkipWithError(ev.error.c_str());
        return;
    }
    std::uintmax_t bytes = 0;
    const double start = ProcessorSeconds();
    for (auto _ : state) {
        bytes = 0;
        for (const std::string& base : ev.stationOne) {
            const std::string png = base + "-bench.png";
            if (!kib::RenderPngInBands(base + ".svg", png, 600, 0, encoding)) {
                state.SkipWithError("the sheet could not be drawn");
                return;
            }
            bytes += fs::file_size(png);
        }
    }
    Compare(state, "png", PerIteration(state, ProcessorSeconds() - start), isBaseline);
    state.counters["sheets"] = static_cast<double>(ev.stationOne.size());
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

using Filter = kib::PngEncoding::Filter;
using Strategy = kib::PngEncoding::Strategy;

BENCHMARK_CAPTURE(PngEncodingBench, libpng_default, kib::LibpngDefaultEncoding(), true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PngEncodingBench, kib_sheets, kib::SheetPngEncoding(), false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PngEncodingBench, none_1, kib::PngEncoding{Filter::None, 1, Strategy::Default},
                  false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PngEncodingBench, none_3, kib::PngEncoding{Filter::None, 3, Strategy::Default},
                  false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PngEncodingBench, none_4, kib::PngEncoding{Filter::None, 4, Strategy::Default},
                  false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PngEncodingBench, none_5, kib::PngEncoding{Filter::None, 5, Strategy::Default},
                  false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PngEncodingBench, none_6, kib::PngEncoding{Filter::None, 6, Strategy::Default},
                  false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PngEncodingBench, none_9, kib::PngEncoding{Filter::None, 9, Strategy::Default},
                  false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PngEncodingBench, none_rle, kib::PngEncoding{Filter::None, 6, Strategy::Rle},
                  false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PngEncodingBench, sub_6, kib::PngEncoding{Filter::Sub, 6, Strategy::Filtered},
                  false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PngEncodingBench, up_6, kib::PngEncoding{Filter::Up, 6, Strategy::Filtered},
                  false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PngEncodingBench, up_rle, kib::PngEncoding{Filter::Up, 6, Strategy::Rle}, false)
    ->Unit(benchmark::kMillisecond);

// Every print sheet of the event (32) converted by ConvertBuiltInSheets, as
// kib images converts them after its SVG stage, with the workers and the PNG
// encoding; timed by the clock on the wall, which the workers shorten.
void ConvertSheetsBench(benchmark::State& state, kib::OutputFormat format, int workers,
                        kib::PngEncoding encoding, const char* baseline, bool isBaseline) {
    const SheetEvent& ev = Event();
    if (!ev.error.empty()) {
        state.SkipWithError(ev.error.c_str());
        return;
    }
    const char* extension = kib::OutputFormatExtension(format);
    double seconds = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        for (const kib::SheetConversion& sheet : ev.sheets) {
            std::error_code ec;
            fs::remove(sheet.base + "." + extension, ec);
        }
        kib::StopCommand stop;
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        if (!kib::ConvertBuiltInSheets(ev.sheets, format, stop, {}, {}, workers, encoding)) {
            state.SkipWithError("the conversion was stopped");
            return;
        }
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    Compare(state, baseline, PerIteration(state, seconds), isBaseline);
    state.counters["sheets"] = static_cast<double>(ev.sheets.size());
    state.counters["workers"] = workers > 0 ? workers : kib::BuiltInWorkers(format, ev.sheets);
}

// The PNG conversion before the sheets' encoding (libpng's own, one sheet at a
// time) first, then as kib images converts now: the sheets' encoding on the
// workers the memory bound allows (one for 600 dpi sheets), and on two.
BENCHMARK_CAPTURE(ConvertSheetsBench, png_libpng_default_1_worker, kib::OutputFormat::Png, 1,
                  kib::LibpngDefaultEncoding(), "png_before", true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(ConvertSheetsBench, png_kib, kib::OutputFormat::Png, 0, kib::SheetPngEncoding(),
                  "png_before", false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(ConvertSheetsBench, png_kib_2_workers, kib::OutputFormat::Png, 2,
                  kib::SheetPngEncoding(), "png_before", false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(ConvertSheetsBench, pdf_1_worker, kib::OutputFormat::Pdf, 1,
                  kib::SheetPngEncoding(), "pdf_one", true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(ConvertSheetsBench, pdf_kib, kib::OutputFormat::Pdf, 0, kib::SheetPngEncoding(),
                  "pdf_one", false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
