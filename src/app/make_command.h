// The Make commands: the steps all four share (active document, the guard
// against a second run, the lock of the event against other processes with the
// removal of temporary files they left, the export check, the course list and map zoom, the
// station count, the layout check, the choice of stations, task and format, the
// flags, status texts, window title and run flag, and the closing box), and the
// Make Vector Maps command built on them.
//
// The choice is a plain value that the command receives from a dialog function,
// so the desktop Make dialog and the command line both fill it. A command is
// run as: MakeCommand cmd(kind, doc); cmd.Start(dialog) gives the choice (or
// none when the command ended before its run); the command runs its SVG run and,
// for the raster commands, the conversion; then EndSvgCommand (SVG commands) or
// StopRunning and Close (raster commands) end it.
#pragma once

#include "app/converter.h"
#include "app/event_lock.h"
#include "app/output_format.h"
#include "config/station_set.h"
#include "foundation/app_state.h"
#include "foundation/host.h"
#include "foundation/run_control.h"
#include "sheet/layout_memo.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace kib {

class CKibDoc;
struct RunResult;

enum class MakeCommandKind { MapSvgs, MapImages, SolSvgs, SolImages };

// What the user chose for one Make command.
struct MakeChoice {
    StationSet stations; // every station, or the chosen ones
    int taskChoice = -1; // -1 every task, 0 the cover canvas, t task t, -2 none
    OutputFormat outputFormat = OutputFormat::None; // raster commands
    bool combine = false; // PDF: also one file of every converted sheet, in order
    std::optional<Converter> converter = std::nullopt; // raster commands: none: System.CONVERTER
};

// What the Make dialog is opened with.
struct MakeDialogRequest {
    const CKibDoc* document = nullptr;
    std::string title;
    bool showTasks = false;
    bool showFormat = false;
    int minStation = 1; // Event.MINSTAT when set, else 1
    int maxStation = 0; // Event.MAXSTAT
    int taskCount = 0;  // Event.TASKS
    OutputFormat lastOutputFormat =
        OutputFormat::None; // the format chosen last in this program run
};

// The Make dialog: the choice, or none when the user cancelled.
using MakeDialog = std::function<std::optional<MakeChoice>(const MakeDialogRequest&)>;

// The fixed texts and switches of one command.
struct MakeCommandTexts {
    const char* dialogTitle;
    bool showTasks;
    bool showFormat;
    bool solution;             // works in SOLUTION maps mode
    const char* svgStatus;     // status text of the SVG run
    const char* runTitle;      // main window title during the run
    const char* convertStatus; // status text of the conversion; none for the SVG commands
};
const MakeCommandTexts& CommandTexts(MakeCommandKind kind);

// Where a command ended.
enum class MakeEnd {
    NoDocument,      // no active document: nothing at all
    Forbidden,       // another run is active (warning)
    EventBusy,       // another process runs on the same event (error)
    ExportsDeclined, // the export check was answered No
    NoStations,      // "Number of stations unspecified." box
    LayoutFailed,    // the layout check reported why
    Cancelled,       // the dialog was cancelled
    BadChoice,       // a chosen station outside the range, or a task beyond a station's tasks
    Closed,          // the command ran and showed its closing box
};

struct MakeOutcome {
    MakeEnd end = MakeEnd::NoDocument;
    bool runSucceeded = false;           // the SVG run (and conversion) answered success
    BoxIcon closingIcon = BoxIcon::None; // the closing box's icon when Closed
    // The user stopped the run (Stop, Ctrl+C): the closing box informs, the run
    // did not complete.
    bool stopped = false;
    // The command's verdict when Closed: its runs, what it reported and what
    // loading the configuration reported. The closing box and the exit status
    // of the command line come from it.
    Verdict verdict = Verdict::Success;
};

class MakeCommand {
  public:
    MakeCommand(MakeCommandKind kind, CKibDoc* document);
    MakeCommand(const MakeCommand&) = delete;
    MakeCommand& operator=(const MakeCommand&) = delete;

    // The shared steps up to the start of the run. With a choice back, the
    // warning flag is cleared, the status text, the run title and RUNNING are set,
    // and the caller must end the command with EndSvgCommand or StopRunning/Close.
    std::optional<MakeChoice> Start(const MakeDialog& dialog);

    // SVG commands: restores the title, shows the closing box of the SVG run
    // (failure when it did not complete or its stations failed without a sheet,
    // else from its
    // verdict: errors at any station, warnings anywhere, or success), clears
    // RUNNING, status "Ready".
    MakeOutcome EndSvgCommand(const RunResult& run);

    // Raster commands: clears RUNNING and restores the main window title.
    void StopRunning();
    // A command that reports its runs otherwise (the proof page): clears RUNNING,
    // restores the title and sets the status text "Ready", with no box.
    void Finish();
    // Shows a closing box (an information that the run was stopped when the user
    // stopped it, else the plain error text when failed, else chosen by the
    // verdict and what the command reported) and sets the status text "Ready".
    MakeOutcome Close(bool failed, bool stopped, Verdict verdict, const std::string& errorText,
                      const std::string& warningText, const std::string& successText);

    CKibDoc* Document() const { return doc_; }
    // What the command's runs report into (the application log, whose entries the
    // command counts), and the stop request they poll.
    Diagnostics& Log();
    StopRequest& Stop() { return stop_; }
    // The verdict of everything the command and the configuration's load reported.
    Verdict Reported() const;
    // The layouts the command's layout check computed, for its runs.
    LayoutMemo& Layouts() { return layouts_; }
    const MakeCommandTexts& Texts() const { return texts_; }
    const MakeOutcome& Outcome() const { return outcome_; }

  private:
    MakeDialogRequest DialogRequest() const;
    std::optional<MakeChoice> End(MakeEnd end);

    LogScope log_; // what the command reports, from its start to its end
    StopCommand stop_;
    MakeCommandKind kind_;
    const MakeCommandTexts& texts_;
    CKibDoc* doc_;
    LayoutMemo layouts_;
    std::string savedTitle_;
    bool stopRequested_ = false; // a stop ended the run before its end
    MakeOutcome outcome_;
    EventLock lock_; // held from the start of the command to its end
};

// Make Vector Maps: competition maps and print sheets as SVG for the chosen
// stations and task.
MakeOutcome OnMakeMapSvgs(CKibDoc* document, const MakeDialog& dialog);

// Make Raster Maps: the competition maps as SVG, then every sheet of the chosen
// stations and task converted by Inkscape into the chosen format.
// (src/app/make_images.cpp, as the two below)
MakeOutcome OnMakeMapImages(CKibDoc* document, const MakeDialog& dialog);

// Make Vector Solutions: the solution sheets of the chosen stations as SVG.
MakeOutcome OnMakeSolSvgs(CKibDoc* document, const MakeDialog& dialog);

// Make Raster Solutions: the solution sheets as SVG, then converted by Inkscape.
MakeOutcome OnMakeSolImages(CKibDoc* document, const MakeDialog& dialog);

} // namespace kib
