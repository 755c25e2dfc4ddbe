#include "app/proof_run.h"

#include "app/analyse_run.h"
#include "app/builtin_convert.h"
#include "app/builtin_workers.h"
#include "app/make_command.h"
#include "app/proof_page.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/station_set.h"
#include "foundation/app_state.h"
#include "foundation/atomic_file.h"
#include "foundation/file_stamp.h"
#include "foundation/format.h"
#include "foundation/input_file.h"
#include "foundation/log.h"
#include "foundation/temp_files.h"
#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "sheet/answer_key.h"
#include "sheet/competition_composer.h"
#include "sheet/map_generation.h"
#include "sheet/run_result.h"
#include "sheet/sheet_output.h"
#include "sheet/solution_run.h"
#include "sheet/task_range.h"

#include <algorithm>
#include <deque>
#include <exception>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>

namespace kib {

namespace {

namespace fs = std::filesystem;
using platform::FsPath;
using platform::PathString;

// Picture widths in pixels: thumbnails large enough to see the circle, the
// description row and the board; full-size pictures for a close look.
constexpr int kCanvasThumbnail = 360;
constexpr int kCanvasFull = 1400;
constexpr int kSolutionThumbnail = 520;
constexpr int kSolutionFull = 1800;

std::string RotationSource(const CKibCfg& cfg, int s) {
    if (cfg.GetRotation(s) < 0) {
        return "from the chair and the flags";
    }
    const CCfgItem& min = cfg.StationItem(s, id::Station_MINANGLE);
    const CCfgItem& max = cfg.StationItem(s, id::Station_MAXANGLE);
    std::string text = "configured sector MINANGLE " + min.GetValue();
    if (max.IsSet()) {
        text += ", MAXANGLE " + max.GetValue();
    }
    return text;
}

// The key and the map's answer of a task on its canvas: red where they differ
// or the map's answer is ambiguous, amber where either is unknown.
void TakeAnswer(const TaskAnswer& a, double limitMetres, ProofCanvas& c) {
    c.answer = a.key;
    c.answerSource = a.key.empty()               ? ""
                     : a.keySource == "column H" ? "the export's column H"
                                                 : a.keySource;
    c.mapAnswer = a.map.Letters();
    c.mapEvidence = a.map.Evidence(limitMetres);
    c.answerMark = a.Differs() ? ProofMark::Red : a.Unknown() ? ProofMark::Amber : ProofMark::Green;
}

// What the proof shows about a station from its map, taken while the
// competition run holds the map it read: the analysis in words, and the answer
// key of every task beside the map's answer. The mark is the answers' own.
void TakeFacts(const CKibDoc& doc, int s, CKibMap& map, ProofStation& st) {
    st.tasks = map.tasks;
    st.flags = map.flagBundles;
    st.rotation = map.rotation;
    st.summary = AnalysisSummary(s, map);
    st.canvases.clear();
    st.mark = ProofMark::Green;
    const StationAnswers answers = CheckAnswerKey(doc, map, s);
    std::vector<ZeroToleranceFinding> tooClose;
    if (const std::optional<double> tolerance = ZeroTolerance(*doc.GetConfig())) {
        tooClose = ZeroToleranceFindings(answers, s, *tolerance);
    }
    st.rules.clear();
    for (const ZeroToleranceFinding& f : tooClose) {
        st.rules.push_back(f.text);
    }
    for (int t = 0; t <= st.tasks; ++t) {
        ProofCanvas c;
        c.task = t;
        if (t > 0) {
            if (static_cast<std::size_t>(t) <= answers.tasks.size()) {
                TakeAnswer(answers.tasks[static_cast<std::size_t>(t) - 1], answers.limitMetres, c);
            } else {
                c.answerMark = ProofMark::Amber;
            }
            for (const ZeroToleranceFinding& f : tooClose) {
                if (f.task == t) {
                    c.answerMark = WorseMark(c.answerMark, ProofMark::Amber);
                }
            }
            st.mark = WorseMark(st.mark, c.answerMark);
        }
        st.canvases.push_back(c);
    }
}

// The file of a picture in the pictures' folder.
std::string PictureFile(const fs::path& folder, const std::string& name) {
    return PathString(folder / FsPath(name));
}

// The two pictures of a sheet, its thumbnail and its full-size picture, and
// what their making left for the log.
struct SheetPictures {
    std::string svg;
    int station = 0;       // the station that made it (the first one it shows)
    std::string thumbnail; // the PNG files
    std::string full;
    int thumbnailWidth = 0;
    int fullWidth = 0;
    // Drawn from the text the run is putting in place at svg (composed, dropped
    // once drawn); otherwise from the file, when the pictures are older.
    bool fromText = false;
    std::string composed;
    std::vector<std::string> notes;  // debug lines (file times that could not be read)
    std::vector<std::string> errors; // an error line for each picture that is missing
};

// The error line of a picture of the sheet svg that is missing, and why.
std::string NoPictureLine(const std::string& png, const std::string& svg, const std::string& why) {
    return Format("No picture %s of %s for the proof: %s", png.c_str(), svg.c_str(), why.c_str());
}

// Renders the sheet's pictures: from the text composed for it, or from its file
// unless both pictures are newer than it (a picture as old as its sheet or older
// is rendered again). One drawing at full size gives both (the thumbnail shrunk
// from it). Logs nothing, so that it may run on a worker: each picture that is
// missing gets the error line that names it and why. Each finished file goes to
// commit.
void RenderPictures(SheetPictures& p, const PictureCommit& commit) {
    if (!p.fromText) {
        FileStamp sheet = 0;
        FileStamp thumbnail = 0;
        FileStamp full = 0;
        ReadFileStamp(p.svg, sheet, p.notes);
        ReadFileStamp(p.thumbnail, thumbnail, p.notes);
        ReadFileStamp(p.full, full, p.notes);
        if (thumbnail > sheet && full > sheet) {
            return;
        }
    }
    std::vector<PicturePng> pictures{PicturePng{p.full, p.fullWidth, {}},
                                     PicturePng{p.thumbnail, p.thumbnailWidth, {}}};
    try {
        RenderSheetPngs(p.svg, pictures, true, p.fromText ? &p.composed : nullptr, commit);
    } catch (const std::exception& e) {
        // A drawing on a worker must not end the program (no memory).
        for (PicturePng& picture : pictures) {
            picture.error = e.what();
        }
    }
    std::string().swap(p.composed);
    // The thumbnail's line first, as the page lists the pictures.
    for (const PicturePng* picture : {&pictures[1], &pictures[0]}) {
        if (!picture->error.empty()) {
            p.errors.push_back(NoPictureLine(picture->png, p.svg, picture->error));
        }
    }
}

// A picture that cannot be made is an error of its station, named in its log.
// True when both pictures of a sheet are there.
bool BothPictures(ProofStation& st, const SheetPictures& pictures) {
    for (const std::string& note : pictures.notes) {
        App().Log().Debug("%s", note.c_str());
    }
    for (const std::string& error : pictures.errors) {
        App().Log().Say(DiagnosticKind::Error, error);
        st.log.push_back(Diagnostic{DiagnosticKind::Error, st.station, kNoTask, error});
    }
    return pictures.errors.empty();
}

// The solution sheet of the run that shows station s; none when it failed.
const RunSheet* SolutionSheetOf(const RunResult& run, int s) {
    for (const RunSheet& sheet : run.sheets) {
        if (std::find(sheet.stations.begin(), sheet.stations.end(), s) != sheet.stations.end()) {
            return &sheet;
        }
    }
    return nullptr;
}

struct PageFiles {
    fs::path page;
    fs::path folder;    // the pictures
    std::string prefix; // the pictures' folder as the page refers to it
};

PageFiles FilesOf(const CKibDoc& doc, const std::string& pagePath) {
    PageFiles files;
    files.page = FsPath(pagePath.empty() ? SheetDirectory(doc) + "proof.html" : pagePath);
    files.prefix = PathString(files.page.stem()) + "-files";
    files.folder = files.page.parent_path() / files.prefix;
    return files;
}

// The name of a sheet file without its folder and extension.
std::string SheetBase(const std::string& svg) {
    const std::string name = PathString(FsPath(svg).filename());
    return name.substr(0, name.rfind('.'));
}

// What the texts of the sheets waiting to be drawn may take: beyond it a
// sheet's pictures are drawn from its file after the run (sheets that carry
// whole maps are large).
constexpr std::size_t kComposedTextsBudget = std::size_t{16} << 20;

// The pictures of the proof: each sheet's pair drawn once, on workers beside the
// main thread, and handed to the stations it shows once all are drawn.
class ProofPictures {
  public:
    ProofPictures(const PageFiles& files, const std::map<int, ProofStation>& facts)
        : files_(files), facts_(facts) {}

    // A sheet the competition run has just composed (on the main thread, while
    // the run goes on): a canvas of a station whose canvases are known is drawn
    // from now on, from the text the run is putting in place, while the texts
    // waiting stay within their budget.
    void SheetMade(const RunSheet& sheet, const std::string& text) {
        if (!IsCanvas(sheet) || composedBytes_ + text.size() > kComposedTextsBudget) {
            return;
        }
        composedBytes_ += text.size();
        Queue(sheet, kCanvasThumbnail, kCanvasFull, false, &text);
    }

    // Removes the temporary files of ended runs beside the page and among its
    // pictures: before the runs, so that its lines are no station's.
    void RemoveStale() const {
        RemoveStaleTemporaries(platform::WithSeparator(PathString(files_.page.parent_path())),
                               App().Log());
        RemoveStaleTemporaries(platform::WithSeparator(PathString(files_.folder)), App().Log());
    }

    // Makes the page's folder and its pictures' (once), and starts the workers
    // beside the main thread: the main thread is busy with the runs.
    void Prepare() {
        if (started_) {
            return;
        }
        std::error_code ec;
        fs::create_directories(files_.folder, ec);
        queue_.Start(PictureWorkers() - 1);
        started_ = true;
    }

    // The pictures of the competition sheets that the run made for the stations
    // whose canvases are known; those not drawn from their texts are drawn from
    // their files (a kept station's, a sheet beyond the texts' budget).
    void DrawCanvases(const RunResult& maps) {
        for (const RunSheet& sheet : maps.sheets) {
            const int s = sheet.stations.empty() ? 0 : sheet.stations.front();
            const StationResult* made = maps.Station(s);
            if (!IsCanvas(sheet) || !made || made->outcome == StationOutcome::Failed) {
                continue;
            }
            shown_[s].push_back(
                Shown{Queue(sheet, kCanvasThumbnail, kCanvasFull, false), sheet.firstTask});
        }
    }

    // The pictures of the solution sheets of the stations that the run solved,
    // ahead of the canvases still waiting: the largest pictures first, so that
    // the workers end together. A sheet that shows several stations is drawn once.
    void DrawSolutions(const RunResult& solutions) {
        for (const StationResult& solved : solutions.stations) {
            const RunSheet* sheet = SolutionSheetOf(solutions, solved.station);
            if (solved.outcome != StationOutcome::Failed && sheet) {
                shown_[solved.station].push_back(
                    Shown{Queue(*sheet, kSolutionThumbnail, kSolutionFull, true), kNoTask});
            }
        }
    }

    // Waits for every picture, the main thread drawing too, then puts all in
    // place together: flushed to the disk side by side and the folder once. A
    // picture that could not be put in place is an error of its sheet's. The
    // pictures drawn from the texts of a station that failed go: its sheets may
    // not have been put in place, and a picture newer than an old sheet would
    // pass for its own.
    void Finish(const RunResult& maps) {
        queue_.Finish();
        for (const AtomicBatch::Failure& failure : batch_.Commit()) {
            for (SheetPictures& p : pictures_) {
                if (failure.target == p.thumbnail || failure.target == p.full) {
                    p.errors.push_back(
                        NoPictureLine(failure.target, p.svg,
                                      "cannot write " + failure.target + ": " + failure.reason));
                }
            }
        }
        for (const SheetPictures& p : pictures_) {
            const StationResult* made = maps.Station(p.station);
            if (p.fromText && (!made || made->outcome == StationOutcome::Failed)) {
                std::error_code ec;
                fs::remove(FsPath(p.thumbnail), ec);
                fs::remove(FsPath(p.full), ec);
            }
        }
    }

    // Gives the station its pictures, and the log its lines about them in the
    // sheets' order. Call after Finish.
    void TakeInto(ProofStation& st) const {
        const auto shown = shown_.find(st.station);
        if (shown == shown_.end()) {
            return;
        }
        for (const Shown& picture : shown->second) {
            if (!BothPictures(st, *picture.pictures)) {
                continue;
            }
            const std::string base = SheetBase(picture.pictures->svg);
            const std::string thumbnail = files_.prefix + "/" + base + ".png";
            const std::string full = files_.prefix + "/" + base + "-full.png";
            if (picture.task == kNoTask) {
                st.solutionName = base;
                st.solutionThumbnail = thumbnail;
                st.solutionFullSize = full;
                continue;
            }
            for (ProofCanvas& c : st.canvases) {
                if (c.task == picture.task) {
                    c.thumbnail = thumbnail;
                    c.fullSize = full;
                }
            }
        }
    }

  private:
    static constexpr int kNoTask = -1; // the station's solution sheet

    struct Shown {
        const SheetPictures* pictures;
        int task; // the canvas, or kNoTask
    };

    // Whether the sheet is a map sheet of a canvas that the station's facts know.
    bool IsCanvas(const RunSheet& sheet) const {
        const auto station =
            sheet.stations.empty() ? facts_.end() : facts_.find(sheet.stations.front());
        if (sheet.kind != SheetKind::Map || station == facts_.end()) {
            return false;
        }
        const std::vector<ProofCanvas>& canvases = station->second.canvases;
        return std::any_of(canvases.begin(), canvases.end(),
                           [&](const ProofCanvas& c) { return c.task == sheet.firstTask; });
    }

    // The sheet's pictures, queued on first asking: from its composed text when
    // given, otherwise from its file. The pictures' folder is made ready for
    // the first, and the workers beside the main thread are started.
    const SheetPictures* Queue(const RunSheet& sheet, int thumbnailWidth, int fullWidth, bool first,
                               const std::string* composed = nullptr) {
        const std::string& svg = sheet.svg;
        const auto drawn = bySheet_.find(svg);
        if (drawn != bySheet_.end()) {
            return drawn->second;
        }
        Prepare();
        const std::string base = SheetBase(svg);
        SheetPictures& p = pictures_.emplace_back();
        p.svg = svg;
        p.station = sheet.stations.empty() ? 0 : sheet.stations.front();
        p.thumbnail = PictureFile(files_.folder, base + ".png");
        p.full = PictureFile(files_.folder, base + "-full.png");
        p.thumbnailWidth = thumbnailWidth;
        p.fullWidth = fullWidth;
        if (composed) {
            p.fromText = true;
            p.composed = *composed;
        }
        bySheet_[svg] = &p;
        // Drawn while the memory of the drawings in flight stays within the
        // workers' bound: a sheet that carries a whole map is drawn alone.
        const std::uint64_t memory = PictureMemory(static_cast<std::uint64_t>(
            composed ? static_cast<std::int64_t>(composed->size())
                     : std::max<std::int64_t>(0, platform::FileSize(svg))));
        queue_.Add(
            [this, &p, memory] {
                const MemoryShare share(gate_, memory);
                RenderPictures(p, [this](AtomicFile& file, const AtomicFile::Check& check) {
                    const std::lock_guard<std::mutex> lock(batchMutex_);
                    return batch_.Add(file, check);
                });
            },
            first);
        return &p;
    }

    const PageFiles& files_;
    const std::map<int, ProofStation>& facts_;
    std::size_t composedBytes_ = 0; // the texts queued so far
    bool started_ = false;
    std::deque<SheetPictures> pictures_; // each sheet's, at a fixed place for the workers
    std::map<std::string, const SheetPictures*> bySheet_;
    std::map<int, std::vector<Shown>> shown_; // per station, in the sheets' order
    std::mutex batchMutex_;                   // the workers add their files to the batch
    AtomicBatch batch_;
    MemoryGate gate_{PictureMemoryBudget()};
    JobQueue queue_; // last: its threads end before what their jobs use
};

// The verdict of a red or amber station in the page's words: the first task
// whose answer is marked so, else the first entry of the mark's kind.
Diagnostic VerdictOf(const ProofStation& st) {
    const DiagnosticKind kind =
        st.mark == ProofMark::Red ? DiagnosticKind::Error : DiagnosticKind::Warning;
    for (const ProofCanvas& c : st.canvases) {
        if (c.task > 0 && c.answerMark == st.mark) {
            const std::string key = c.answer.empty() ? std::string("none")
                                    : c.answerSource.empty()
                                        ? c.answer
                                        : c.answer + " (" + c.answerSource + ")";
            std::string map = c.mapAnswer.empty() ? std::string("?") : c.mapAnswer;
            if (!c.mapEvidence.empty()) {
                map += " (" + c.mapEvidence + ")";
            }
            return Diagnostic{kind, st.station, c.task,
                              Format("Station %d, task %d: key %s, map %s", st.station, c.task,
                                     key.c_str(), map.c_str())};
        }
    }
    for (const Diagnostic& entry : st.log) {
        if (entry.kind == kind) {
            return Diagnostic{kind, st.station, entry.task,
                              Format("Station %d: %s", st.station, entry.text.c_str())};
        }
    }
    return Diagnostic{kind, st.station, kNoTask,
                      Format("Station %d: %s", st.station, st.summary.c_str())};
}

// The mark of a station from what both runs say about it.
ProofMark MarkFrom(const StationResult* maps, const StationResult* solutions) {
    bool failed = false;
    bool warned = false;
    for (const StationResult* r : {maps, solutions}) {
        failed = failed || !r || r->outcome == StationOutcome::Failed || r->errors > 0;
        warned = warned || (r && r->warnings > 0);
    }
    return failed ? ProofMark::Red : warned ? ProofMark::Amber : ProofMark::Green;
}

// The page is complete when it ends as ProofHtml ends it.
std::string PageFault(const std::string& path) {
    std::string reason;
    platform::File file = OpenRegularFile(path, reason);
    const std::int64_t size = file.IsOpen() ? file.Size() : -1;
    std::string tail;
    if (size < 8 || !file.ReadAt(tail, 8, size - 8)) {
        return "the page was not written whole";
    }
    return tail == "</html>\n" ? std::string() : "the page was not written whole";
}

// Why a Make command ended before its run, in words.
const char* EndWords(MakeEnd end) {
    switch (end) {
    case MakeEnd::ExportsDeclined:
        return "the question whether maps and courses were both exported was answered No";
    case MakeEnd::EventBusy:
        return "another run is working on this event";
    case MakeEnd::LayoutFailed:
        return "the layout does not fit";
    case MakeEnd::NoStations:
        return "the number of stations is not set";
    case MakeEnd::Forbidden:
        return "another run is active";
    case MakeEnd::BadChoice:
        return "a chosen station or task is not in the configuration";
    case MakeEnd::NoDocument:
    case MakeEnd::Cancelled:
    case MakeEnd::Closed:
        break;
    }
    return "the run did not start";
}

// The page of a proof whose runs did not start: every chosen station red with
// the lines of the command's opening steps and the reason, and no picture, so
// that an earlier page never stands for this one.
void WriteUnmadePage(const CKibDoc& doc, const StationSet& stations, const std::string& pagePath,
                     ProofEvent& event, const std::vector<Diagnostic>& opening, MakeEnd end,
                     std::string& written) {
    const CKibCfg& cfg = *doc.GetConfig();
    const std::string reason =
        Format("No sheet was made (%s): the proof shows none.", EndWords(end));
    App().Log().Say(DiagnosticKind::Error, reason);
    for (int s : stations.Chosen(cfg)) {
        ProofStation st;
        st.station = s;
        st.tasks = cfg.GetTasks(s);
        st.rotationSource = RotationSource(cfg, s);
        st.summary = "The station's sheets were not made.";
        st.log = opening;
        st.log.push_back(Diagnostic{DiagnosticKind::Error, s, kNoTask, reason});
        st.mark = ProofMark::Red;
        event.stations.push_back(std::move(st));
    }
    const PageFiles files = FilesOf(doc, pagePath);
    const std::string page = PathString(files.page);
    std::string why;
    if (!WriteWholeFile(page, ProofHtml(event), why, PageFault)) {
        App().Log().Error("Cannot write file %s: %s", page.c_str(), why.c_str());
        return;
    }
    written = page;
}

} // namespace

int MakeProof(CKibDoc& doc, const StationSet& stations, const std::string& pagePath,
              std::string& written, std::vector<Diagnostic>* verdicts) {
    const CKibCfg& cfg = *doc.GetConfig();
    ProofEvent event;
    event.title = cfg.Item(id::Event_NAME).GetValue();
    if (event.title.empty()) {
        event.title = doc.GetFileName();
    }
    event.source = doc.GetPathName();

    // The steps of Make Vector Maps before its run (the event's lock, the export
    // and layout checks), then both runs once for all chosen stations.
    MakeCommand command(MakeCommandKind::MapSvgs, &doc);
    std::optional<MakeChoice> choice;
    std::vector<Diagnostic> opening;
    {
        LogScope tally;
        choice = command.Start([&stations](const MakeDialogRequest&) -> std::optional<MakeChoice> {
            MakeChoice c;
            c.stations = stations;
            c.taskChoice = kTaskAll;
            return c;
        });
        opening = tally.Entries();
    }
    if (!choice) {
        // Nothing was made: the page says why instead of showing old sheets.
        WriteUnmadePage(doc, stations, pagePath, event, opening, command.Outcome().end, written);
        return 2;
    }
    std::map<int, ProofStation> facts;
    RunResult maps;
    // Both runs share one reading of the exports: each station's map is parsed and
    // analysed once, for its competition sheets and its place on a solution sheet.
    // The kept maps go with the reading before the solution sheets are drawn.
    RunResult solutions;
    const PageFiles files = FilesOf(doc, pagePath);
    ProofPictures pictures(files, facts);
    pictures.RemoveStale();
    {
        CKibSvg svg(doc);
        // The maps kept for the solution run share the memory with the pictures
        // drawn beside it: half the budget of runs that draw nothing meanwhile.
        svg.KeepMaps(kKeptMapsBudget / 2);
        {
            CompetitionRun run(svg, command.Log(), command.Stop());
            run.ShareLayouts(&command.Layouts());
            run.OnStationRead([&](int s, CKibMap& map) { TakeFacts(doc, s, map, facts[s]); });
            // Each canvas is drawn as soon as its sheet is composed, beside the run.
            run.OnSheetMade([&pictures](const RunSheet& sheet, const std::string& text) {
                pictures.SheetMade(sheet, text);
            });
            maps = run.Run(choice->stations, kTaskAll);
        }
        pictures.Prepare();
        platform::ReturnFreedMemory();
        pictures.DrawCanvases(maps);
        if (maps.completed) {
            doc.SetMapsMode(true);
            SolutionRun run(svg, command.Log(), command.Stop());
            solutions = run.Run(choice->stations);
        }
    }
    command.Finish();
    platform::ReturnFreedMemory();
    pictures.DrawSolutions(solutions);
    pictures.Finish(maps);

    // What loading the configuration reported counts as in every command.
    int status = maps.completed && solutions.completed ? 0 : 2;
    status = std::max(status, doc.loadVerdict == Verdict::Errors     ? 2
                              : doc.loadVerdict == Verdict::Warnings ? 1
                                                                     : 0);
    for (const StationResult& made : maps.stations) {
        const int s = made.station;
        ProofStation st = facts.count(s) ? facts[s] : ProofStation{};
        st.station = s;
        st.rotationSource = RotationSource(cfg, s);
        if (!facts.count(s)) {
            st.tasks = cfg.GetTasks(s);
            st.summary = "No sheet of the station was made: its log says why.";
        }
        st.log = made.entries;
        const StationResult* solved = solutions.Station(s);
        if (solved) {
            // An entry both runs reported is listed once: the analysis of a map that
            // the solution run read again (beyond the kept maps' budget).
            for (const Diagnostic& entry : solved->entries) {
                const bool listed = std::any_of(
                    made.entries.begin(), made.entries.end(), [&entry](const Diagnostic& e) {
                        return e.kind == entry.kind && e.text == entry.text;
                    });
                if (!listed) {
                    st.log.push_back(entry);
                }
            }
        }
        // The event's rules are the proof's own check: logged once, after the runs.
        for (const std::string& text : st.rules) {
            App().Log().Say(DiagnosticKind::Warning, text);
            st.log.push_back(Diagnostic{DiagnosticKind::Warning, s, kNoTask, text});
        }
        st.mark = WorseMark(st.mark, MarkFrom(&made, solved));
        pictures.TakeInto(st);
        // A picture that could not be made is named in the log and marks it red.
        st.mark = WorseMark(st.mark, MarkOf(st.log, false, false));
        if (verdicts && st.mark != ProofMark::Green) {
            verdicts->push_back(VerdictOf(st));
        }
        status = std::max(status, st.mark == ProofMark::Red     ? 2
                                  : st.mark == ProofMark::Amber ? 1
                                                                : 0);
        event.stations.push_back(std::move(st));
    }
    const std::string page = PathString(files.page);
    std::string reason;
    if (!WriteWholeFile(page, ProofHtml(event), reason, PageFault)) {
        App().Log().Error("Cannot write file %s: %s", page.c_str(), reason.c_str());
        return 2;
    }
    written = page;
    App().Log().Info("Proof page %s written.", written.c_str());
    return status;
}

} // namespace kib
