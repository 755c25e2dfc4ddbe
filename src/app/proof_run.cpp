#include "app/proof_run.h"

#include "app/analyse_run.h"
#include "app/conversion_loop.h"
#include "app/make_command.h"
#include "app/proof_page.h"
#include "app/sheet_render.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/atomic_file.h"
#include "foundation/file_stamp.h"
#include "foundation/format.h"
#include "foundation/input_file.h"
#include "foundation/log.h"
#include "foundation/temp_files.h"
#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"
#include "map_input/symbol_type.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "sheet/competition_composer.h"
#include "sheet/map_generation.h"
#include "sheet/run_stations.h"
#include "sheet/sheet_output.h"

#include <algorithm>
#include <filesystem>

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

// Stands in for the installed host while a station is made: keeps every
// Messages line and every closing box as a line of the station's log, forwards
// log lines when forward is set, and forwards questions, which need an answer.
class HostTee : public Host {
  public:
    explicit HostTee(bool forward) : inner_(App().GetHost()), forward_(forward) {
        saved_ = App().host;
        App().host = this;
    }
    ~HostTee() override { App().host = saved_; }
    HostTee(const HostTee&) = delete;
    HostTee& operator=(const HostTee&) = delete;

    void AppendLine(LogPane pane, const std::string& text) override {
        if (pane == LogPane::Messages) {
            lines.push_back(text);
        }
        if (forward_) {
            inner_.AppendLine(pane, text);
        }
    }
    void SetStatusText(const std::string& text) override { inner_.SetStatusText(text); }
    BoxAnswer ShowMessageBox(const MessageBox& box) override {
        if (box.buttons == BoxButtons::YesNo) {
            // The answer is stated in the log: a proof run from a script gets
            // the question's default answer, and the page must say so.
            const BoxAnswer answer = inner_.ShowMessageBox(box);
            LogInfo("%s %s%s", box.text.c_str(), answer == BoxAnswer::Yes ? "Yes" : "No",
                    answer == box.defaultAnswer ? " (the default answer)" : "");
            return answer;
        }
        const char* prefix = box.icon == BoxIcon::Error     ? "error: "
                             : box.icon == BoxIcon::Warning ? "warning: "
                                                            : "";
        std::string text = box.text;
        for (char& c : text) {
            c = c == '\n' ? ' ' : c;
        }
        lines.push_back(prefix + text);
        return BoxAnswer::Ok;
    }
    void PumpEvents() override { inner_.PumpEvents(); }
    void SetWaitCursor(bool on) override { inner_.SetWaitCursor(on); }
    std::string GetMainTitle() const override { return inner_.GetMainTitle(); }
    void SetMainTitle(const std::string& title) override { inner_.SetMainTitle(title); }
    std::optional<std::string> ChooseFolder(const std::string& start) override {
        return inner_.ChooseFolder(start);
    }
    bool KeepsEveryDebugLine() const override { return inner_.KeepsEveryDebugLine(); }

    std::vector<std::string> lines;

  private:
    Host& inner_;
    Host* saved_ = nullptr;
    bool forward_;
};

std::uint32_t MaskOf(int station) {
    return 1u << (static_cast<unsigned>(station) % 32u);
}

MakeDialog ChoiceOf(std::uint32_t mask, int taskChoice) {
    return [mask, taskChoice](const MakeDialogRequest&) -> std::optional<MakeChoice> {
        MakeChoice choice;
        choice.stationMask = mask;
        choice.taskChoice = taskChoice;
        return choice;
    };
}

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

// Reads the station's map without a word in the log, for its facts and answers.
void ReadFacts(CKibDoc& doc, int s, ProofStation& st, std::vector<ProofCanvas>& canvases) {
    HostTee mute(false);
    const bool errorFlag = App().errorFlag, warningFlag = App().warningFlag;
    CKibSvg svg(doc);
    const CKibCfg& cfg = *doc.GetConfig();
    st.tasks = cfg.GetTasks(s);
    st.rotationSource = RotationSource(cfg, s);
    if (svg.ReadCourses(s) && svg.ReadMap(s, 1) && svg.GetMap()) {
        const CKibMap& map = *svg.GetMap();
        st.tasks = map.tasks;
        st.flags = map.flagBundles;
        st.rotation = map.rotation;
        st.summary = AnalysisSummary(s, map);
    } else {
        st.summary = "The station's map could not be read.";
    }
    const CCfgItem& configured = cfg.StationItem(s, id::Station_ANSWERS);
    for (int t = 0; t <= st.tasks; ++t) {
        ProofCanvas c;
        c.task = t;
        if (t > 0 && svg.GetMap()) {
            c.answer = ExportAnswer(*svg.GetMap(), t);
            c.answerSource = c.answer.empty() ? "" : "the export's column H";
        }
        if (t > 0 && c.answer.empty() && static_cast<int>(configured.GetValue().size()) >= t) {
            c.answer = configured.GetValue().substr(static_cast<std::size_t>(t - 1), 1);
            c.answerSource = "ANSWERS of the station";
        }
        canvases.push_back(c);
    }
    App().errorFlag = errorFlag;
    App().warningFlag = warningFlag;
}

// The file of a picture in the pictures' folder.
std::string PictureFile(const fs::path& folder, const std::string& name) {
    return PathString(folder / FsPath(name));
}

// Renders the sheet unless its picture is newer than it: a picture as old as
// its sheet or older is rendered again. Empty when the picture is there; else
// the error line that names the missing picture and why.
std::string Picture(const std::string& svg, const std::string& png, int width, bool drawnPartOnly) {
    if (CompareFileStamps(png, svg) > 0) {
        return {};
    }
    std::string error;
    if (!RenderSheetPng(svg, png, width, error, drawnPartOnly)) {
        return Format("[** ERROR **] No picture %s of %s for the proof: %s", png.c_str(),
                      svg.c_str(), error.c_str());
    }
    return {};
}

// The solution sheet that holds station s, as the solution run of the current
// mode wrote it: its file name without ".svg"; empty when it has none.
std::string SolutionSheetOf(const CKibDoc& doc, const std::vector<int>& stations, int s,
                            int stationsPerSheet) {
    const ConversionSettings settings = ReadConversionSettings(doc, OutputFormat::None);
    const std::vector<SheetConversion> sheets =
        SolutionImageSheets(settings, stations, stationsPerSheet);
    const auto at = std::find(stations.begin(), stations.end(), s);
    if (at == stations.end() || sheets.empty()) {
        return {};
    }
    const std::size_t perSheet =
        settings.modeLetter == 'W' ? 1 : static_cast<std::size_t>(std::max(stationsPerSheet, 1));
    const std::size_t sheet = static_cast<std::size_t>(at - stations.begin()) / perSheet;
    if (sheet >= sheets.size()) {
        return {};
    }
    const std::string& base = sheets[sheet].base;
    return base.substr(settings.directory.size());
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

// A picture that cannot be made is an error of its station, named in its log.
void NoteMissing(ProofStation& st, const std::string& error) {
    if (!error.empty()) {
        LogError("%s", error.c_str());
        st.log.push_back(error);
    }
}

// The pictures of the station's sheets. Sheets that this proof did not make
// (sheetsMade false) are older than the exports or left by another run: none
// of them is shown.
void RenderStation(const std::string& dir, const PageFiles& files, ProofStation& st,
                   bool sheetsMade, const std::string& solution) {
    for (ProofCanvas& c : st.canvases) {
        const std::string base = "map-" + std::to_string(st.station) + "." + std::to_string(c.task);
        const std::string svg = dir + base + ".svg";
        if (!sheetsMade || platform::KindOf(svg) == platform::FileKind::Missing) {
            continue;
        }
        const std::string thumbnail =
            Picture(svg, PictureFile(files.folder, base + ".png"), kCanvasThumbnail, true);
        const std::string full =
            Picture(svg, PictureFile(files.folder, base + "-full.png"), kCanvasFull, true);
        NoteMissing(st, thumbnail);
        NoteMissing(st, full);
        if (thumbnail.empty() && full.empty()) {
            c.thumbnail = files.prefix + "/" + base + ".png";
            c.fullSize = files.prefix + "/" + base + "-full.png";
        }
    }
    if (!sheetsMade || solution.empty() ||
        platform::KindOf(dir + solution + ".svg") == platform::FileKind::Missing) {
        return;
    }
    const std::string svg = dir + solution + ".svg";
    const std::string thumbnail =
        Picture(svg, PictureFile(files.folder, solution + ".png"), kSolutionThumbnail, true);
    const std::string full =
        Picture(svg, PictureFile(files.folder, solution + "-full.png"), kSolutionFull, true);
    NoteMissing(st, thumbnail);
    NoteMissing(st, full);
    if (thumbnail.empty() && full.empty()) {
        st.solutionName = solution;
        st.solutionThumbnail = files.prefix + "/" + solution + ".png";
        st.solutionFullSize = files.prefix + "/" + solution + "-full.png";
    }
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
    case MakeEnd::NoDocument:
    case MakeEnd::Cancelled:
    case MakeEnd::Closed:
        break;
    }
    return "the run did not start";
}

// Whether the command made its sheets; else an error line in the station's log
// says why none of its pictures is shown.
bool SheetsMade(const MakeOutcome& made, const char* what, int station) {
    if (made.end == MakeEnd::Closed && made.runSucceeded) {
        return true;
    }
    LogError("[** ERROR **] The %s of station %d were not made (%s): the proof shows none of "
             "them.",
             what, station, made.end == MakeEnd::Closed ? "the run failed" : EndWords(made.end));
    return false;
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

} // namespace

std::string ExportAnswer(const CKibMap& map, int task) {
    if (!map.answersId.valid) {
        return std::string();
    }
    const int base = map.answersId.minor < 0 ? 1 : map.answersId.minor;
    const int row = TaskDescriptionRow(map, task, task + 1);
    for (int k = 1; k <= map.RowEntryCount(row); ++k) {
        const SymbolInstance* inst = map.RowEntry(row, k);
        if (inst && (inst->type & TYPE_ANSWER) && inst->major == map.answersId.major) {
            const int index = inst->minor - base;
            if (index >= 0 && index <= 5) {
                return std::string(1, static_cast<char>('A' + index));
            }
            if (index == 6) {
                return "Z";
            }
        }
    }
    return std::string();
}

int MakeProof(CKibDoc& doc, std::uint32_t stationMask, const std::string& pagePath,
              std::string& written) {
    const CKibCfg& cfg = *doc.GetConfig();
    ProofEvent event;
    event.title = cfg.Item(id::Event_NAME).GetValue();
    if (event.title.empty()) {
        event.title = doc.GetFileName();
    }
    event.source = doc.GetPathName();
    const std::vector<int> stations = SelectedStations(cfg, stationMask);
    const PageFiles files = FilesOf(doc, pagePath);
    std::error_code ec;
    fs::create_directories(files.folder, ec);
    // Temporary files of ended runs beside the page and among its pictures.
    RemoveStaleTemporaries(platform::WithSeparator(PathString(files.page.parent_path())));
    RemoveStaleTemporaries(platform::WithSeparator(PathString(files.folder)));
    std::vector<bool> mapsMade;
    int status = 0;
    for (int s : stations) {
        LogInfo("Proof of station %d...", s);
        ProofStation st;
        st.station = s;
        {
            HostTee tee(true);
            mapsMade.push_back(
                SheetsMade(OnMakeMapSvgs(&doc, ChoiceOf(MaskOf(s), kTaskAll)), "sheets", s));
            st.log = tee.lines;
        }
        ReadFacts(doc, s, st, st.canvases);
        event.stations.push_back(std::move(st));
    }
    MakeOutcome solutions;
    {
        HostTee tee(true);
        solutions = OnMakeSolSvgs(&doc, ChoiceOf(stationMask, kTaskAll));
    }
    const bool solutionsMade = solutions.end == MakeEnd::Closed && solutions.runSucceeded;
    const std::string dir = SheetDirectory(doc);
    for (std::size_t i = 0; i < event.stations.size(); ++i) {
        ProofStation& st = event.stations[i];
        std::string solution;
        if (solutionsMade) {
            solution = SolutionSheetOf(doc, stations, st.station, solutions.stationsPerSheet);
        } else if (mapsMade[i]) {
            HostTee tee(true);
            SheetsMade(solutions, "solution sheets", st.station);
            st.log.insert(st.log.end(), tee.lines.begin(), tee.lines.end());
        }
        RenderStation(dir, files, st, mapsMade[i], solution);
        st.mark = MarkOf(st.log, false, false);
        const int own = st.mark == ProofMark::Red ? 2 : st.mark == ProofMark::Amber ? 1 : 0;
        status = std::max(status, own);
    }
    written = PathString(files.page);
    std::string reason;
    if (!WriteWholeFile(written, ProofHtml(event), reason, PageFault)) {
        LogError("[** ERROR **] Cannot write file %s: %s", written.c_str(), reason.c_str());
        return 2;
    }
    LogInfo("Proof page %s written.", written.c_str());
    return status;
}

} // namespace kib
