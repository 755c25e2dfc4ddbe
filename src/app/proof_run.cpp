#include "app/proof_run.h"

#include "app/analyse_run.h"
#include "app/answer_key.h"
#include "app/builtin_convert.h"
#include "app/make_command.h"
#include "app/proof_page.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/station_set.h"
#include "foundation/log.h"
#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "sheet/competition_composer.h"
#include "sheet/map_generation.h"
#include "sheet/run_result.h"
#include "sheet/sheet_output.h"
#include "sheet/solution_run.h"
#include "sheet/task_range.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

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
    for (int t = 0; t <= st.tasks; ++t) {
        ProofCanvas c;
        c.task = t;
        if (t > 0) {
            if (static_cast<std::size_t>(t) <= answers.tasks.size()) {
                TakeAnswer(answers.tasks[static_cast<std::size_t>(t) - 1], answers.limitMetres, c);
            } else {
                c.answerMark = ProofMark::Amber;
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

// Renders the sheet unless its picture is newer; false (after an error line)
// when it cannot be rendered.
bool Picture(const std::string& svg, const std::string& png, int width, bool drawnPartOnly) {
    std::error_code ec;
    if (fs::exists(FsPath(png), ec) &&
        fs::last_write_time(FsPath(png), ec) >= fs::last_write_time(FsPath(svg), ec)) {
        return true;
    }
    std::string error;
    if (!RenderSheetPng(svg, png, width, error, drawnPartOnly)) {
        LogError("[** ERROR **] Cannot render %s for the proof: %s", svg.c_str(), error.c_str());
        return false;
    }
    return true;
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

// The pictures of the station's canvases and of its solution sheet, from the
// sheets the runs made for it; a station that failed in a run shows no picture
// of that run, so an old sheet is never taken for a new one.
void RenderStation(const RunResult& maps, const RunResult& solutions, const PageFiles& files,
                   ProofStation& st) {
    const StationResult* made = maps.Station(st.station);
    if (made && made->outcome != StationOutcome::Failed) {
        for (const RunSheet& sheet : maps.sheets) {
            if (sheet.kind != SheetKind::Map || sheet.stations.front() != st.station) {
                continue;
            }
            auto canvas =
                std::find_if(st.canvases.begin(), st.canvases.end(),
                             [&](const ProofCanvas& c) { return c.task == sheet.firstTask; });
            const std::string base = SheetBase(sheet.svg);
            if (canvas == st.canvases.end() ||
                !Picture(sheet.svg, PictureFile(files.folder, base + ".png"), kCanvasThumbnail,
                         true) ||
                !Picture(sheet.svg, PictureFile(files.folder, base + "-full.png"), kCanvasFull,
                         true)) {
                continue;
            }
            canvas->thumbnail = files.prefix + "/" + base + ".png";
            canvas->fullSize = files.prefix + "/" + base + "-full.png";
        }
    }
    const StationResult* solved = solutions.Station(st.station);
    const RunSheet* sheet = SolutionSheetOf(solutions, st.station);
    if (!solved || solved->outcome == StationOutcome::Failed || !sheet) {
        return;
    }
    const std::string base = SheetBase(sheet->svg);
    if (Picture(sheet->svg, PictureFile(files.folder, base + ".png"), kSolutionThumbnail, true) &&
        Picture(sheet->svg, PictureFile(files.folder, base + "-full.png"), kSolutionFull, true)) {
        st.solutionName = base;
        st.solutionThumbnail = files.prefix + "/" + base + ".png";
        st.solutionFullSize = files.prefix + "/" + base + "-full.png";
    }
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

bool WritePage(const fs::path& page, const std::string& html) {
    const std::string temp = PathString(page) + ".tmp" + std::to_string(platform::ProcessId());
    int error = 0;
    {
        std::ofstream out(FsPath(temp), std::ios::binary | std::ios::trunc);
        out << html;
        out.flush();
        if (!out) {
            platform::RemoveFile(temp, error);
            return false;
        }
    }
    if (!platform::MoveReplacing(temp, PathString(page), error)) {
        platform::RemoveFile(temp, error);
        return false;
    }
    return true;
}

} // namespace

int MakeProof(CKibDoc& doc, const StationSet& stations, const std::string& pagePath,
              std::string& written) {
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
    const std::optional<MakeChoice> choice =
        command.Start([&stations](const MakeDialogRequest&) -> std::optional<MakeChoice> {
            MakeChoice c;
            c.stations = stations;
            c.taskChoice = kTaskAll;
            return c;
        });
    if (!choice) {
        return 2;
    }
    std::map<int, ProofStation> facts;
    RunResult maps;
    {
        CKibSvg svg(doc);
        CompetitionRun run(svg);
        run.OnStationRead([&](int s, CKibMap& map) { TakeFacts(doc, s, map, facts[s]); });
        maps = run.Run(choice->stations, kTaskAll);
    }
    RunResult solutions;
    if (maps.completed) {
        doc.SetMapsMode(true);
        CKibSvg svg(doc);
        SolutionRun run(svg);
        solutions = run.Run(choice->stations);
    }
    command.Finish();

    const PageFiles files = FilesOf(doc, pagePath);
    std::error_code ec;
    fs::create_directories(files.folder, ec);
    int status = maps.completed && solutions.completed ? 0 : 2;
    for (const StationResult& made : maps.stations) {
        const int s = made.station;
        ProofStation st = facts.count(s) ? facts[s] : ProofStation{};
        st.station = s;
        st.rotationSource = RotationSource(cfg, s);
        if (!facts.count(s)) {
            st.tasks = cfg.GetTasks(s);
            st.summary = "The station's map could not be read.";
        }
        st.log = made.lines;
        const StationResult* solved = solutions.Station(s);
        if (solved) {
            st.log.insert(st.log.end(), solved->lines.begin(), solved->lines.end());
        }
        st.mark = WorseMark(st.mark, MarkFrom(&made, solved));
        RenderStation(maps, solutions, files, st);
        status = std::max(status, st.mark == ProofMark::Red     ? 2
                                  : st.mark == ProofMark::Amber ? 1
                                                                : 0);
        event.stations.push_back(std::move(st));
    }
    const std::string page = PathString(files.page);
    if (!WritePage(files.page, ProofHtml(event))) {
        LogError("[** ERROR **] Cannot write file %s", page.c_str());
        return 2;
    }
    written = page;
    LogInfo("Proof page %s written.", written.c_str());
    return status;
}

} // namespace kib
