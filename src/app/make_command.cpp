#include "app/make_command.h"

#include "app/map_view_model.h"

#include "app/conversion_loop.h"
#include "app/inkscape.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/log.h"
#include "foundation/run_control.h"
#include "foundation/temp_files.h"
#include "map_input/document_exports.h"
#include "map_input/kib_svg.h"
#include "sheet/check_layout.h"
#include "sheet/map_generation.h"
#include "sheet/run_result.h"
#include "sheet/task_range.h"

namespace kib {

namespace {

constexpr const char* kCompetitionStatus = "Generating Competition Maps SVG files...";
constexpr const char* kSolutionStatus = "Generating Solution Maps SVG files...";
constexpr const char* kCompetitionTitle = "Generating Competition Maps...";
constexpr const char* kSolutionTitle = "Generating Solution Maps...";
// A stop is the user's choice, not a failure: the box informs.
constexpr const char* kSvgStopped = "SVG files creation stopped.\nThe sheets made before the "
                                    "stop are kept; run the command again for the rest.";
constexpr const char* kImagesStopped = "Image files creation stopped.\nThe files made before "
                                       "the stop are kept; run the command again for the rest.";

const MakeCommandTexts kTexts[4] = {
    {"Make Competition Maps SVG Files", true, false, false, kCompetitionStatus, kCompetitionTitle,
     nullptr},
    {"Make Competition Maps Image Files", true, true, false, kCompetitionStatus, kCompetitionTitle,
     "Generating Competition Maps Image Files..."},
    {"Make Solution Maps SVG Files", false, false, true, kSolutionStatus, kSolutionTitle, nullptr},
    {"Make Solution Maps Image Files", false, true, true, kSolutionStatus, kSolutionTitle,
     "Generating Solution Maps Image Files..."},
};

// Temporary files that killed runs of the event left in the output folder and
// beside the configuration; no other run of the event can own them now.
void RemoveLeftovers(const CKibDoc& doc, Diagnostics& diagnostics) {
    const std::string output = ReadConversionSettings(doc, OutputFormat::None).directory;
    RemoveStaleTemporaries(output, diagnostics);
    if (doc.GetDirectory() != output) {
        RemoveStaleTemporaries(doc.GetDirectory(), diagnostics);
    }
}

} // namespace

const MakeCommandTexts& CommandTexts(MakeCommandKind kind) {
    return kTexts[static_cast<int>(kind)];
}

MakeCommand::MakeCommand(MakeCommandKind kind, CKibDoc* document)
    : kind_(kind), texts_(CommandTexts(kind)), doc_(document) {}

Diagnostics& MakeCommand::Log() {
    return App().Log();
}

Verdict MakeCommand::Reported() const {
    return Worse(log_.GetVerdict(), doc_ ? doc_->loadVerdict : Verdict::Success);
}

std::optional<MakeChoice> MakeCommand::End(MakeEnd end) {
    outcome_.end = end;
    // A command that ends before its run leaves the window idle; a refused one
    // leaves the running command's status text alone.
    if (end != MakeEnd::NoDocument && end != MakeEnd::Forbidden) {
        SetStatusText("Ready");
    }
    return std::nullopt;
}

MakeDialogRequest MakeCommand::DialogRequest() const {
    const CKibCfg& cfg = *doc_->GetConfig();
    MakeDialogRequest request;
    request.document = doc_;
    request.title = texts_.dialogTitle;
    request.showTasks = texts_.showTasks;
    request.showFormat = texts_.showFormat;
    request.minStation = cfg.GetMinStation();
    request.maxStation = cfg.GetMaxStation();
    request.taskCount = cfg.Item(id::Event_TASKS).GetInt();
    request.lastOutputFormat = OutputFormatOfExtension(App().lastFormat);
    return request;
}

std::optional<MakeChoice> MakeCommand::Start(const MakeDialog& dialog) {
    if (!doc_ || !doc_->GetConfig()) {
        return End(MakeEnd::NoDocument);
    }
    // A refused command changes nothing: the guard comes before the mode switch.
    if (IsForbiddenWhileRunning()) {
        return End(MakeEnd::Forbidden);
    }
    if (!lock_.Acquire(doc_->GetPathName(), texts_.dialogTitle, App().eventLockWaitMs)) {
        ShowBox("Another run is working on this event!" + DetailsHint(App().GetHost()),
                BoxIcon::Error);
        return End(MakeEnd::EventBusy);
    }
    RemoveLeftovers(*doc_, App().Log());
    if (texts_.solution) {
        doc_->SetMapsMode(true);
    }
    if (!doc_->CheckExports()) {
        return End(MakeEnd::ExportsDeclined);
    }
    if (!texts_.solution) {
        doc_->SetMapsMode(false);
    }
    ReadCourseList(*doc_);
    ReadMapZoom(*doc_);
    const CKibCfg& cfg = *doc_->GetConfig();
    if (cfg.GetMaxStation() - cfg.GetMinStation() + 1 <= 0) {
        ShowBox("Number of stations unspecified.", BoxIcon::Error);
        return End(MakeEnd::NoStations);
    }
    if (!CheckLayout(*doc_, false, &layouts_)) {
        return End(MakeEnd::LayoutFailed);
    }
    if (kind_ == MakeCommandKind::MapSvgs) {
        SetStatusText(texts_.svgStatus);
    }
    const std::optional<MakeChoice> choice = dialog ? dialog(DialogRequest()) : std::nullopt;
    if (!choice) {
        return End(MakeEnd::Cancelled);
    }
    std::string error;
    if (!CheckChoice(cfg, choice->stations, texts_.showTasks ? choice->taskChoice : kTaskAll,
                     error)) {
        App().Log().Error("Cannot make what was chosen: %s.", error.c_str());
        ShowBox("Cannot make what was chosen." + DetailsHint(App().GetHost()), BoxIcon::Error);
        return End(MakeEnd::BadChoice);
    }
    SetStatusText(texts_.svgStatus);
    if (texts_.showFormat) {
        const char* extension = OutputFormatExtension(choice->outputFormat);
        if (extension) {
            App().lastFormat = extension;
        }
        App().Log().Debug("Selected creation of files with extension '%s'.",
                          extension ? extension : "");
    }
    Host& host = App().GetHost();
    savedTitle_ = host.GetMainTitle();
    host.SetMainTitle(texts_.runTitle);
    SetRunning(true);
    return choice;
}

void MakeCommand::StopRunning() {
    stopRequested_ = stop_.Stopped();
    SetRunning(false);
    // The command's copies of its inputs end with it: the next command reads
    // them anew, and never takes an export written again with its size and time
    // (copied with its time) from this one.
    if (doc_) {
        doc_->coursesFile.reset();
        doc_->mapExport.reset();
    }
    App().GetHost().SetMainTitle(savedTitle_);
}

void MakeCommand::Finish() {
    StopRunning();
    outcome_.end = MakeEnd::Closed;
    SetStatusText("Ready");
}

MakeOutcome MakeCommand::Close(bool failed, bool stopped, Verdict verdict,
                               const std::string& errorText, const std::string& warningText,
                               const std::string& successText) {
    outcome_.end = MakeEnd::Closed;
    outcome_.runSucceeded = !failed;
    if (failed && (stopped || stopRequested_)) {
        outcome_.stopped = true;
        outcome_.verdict = Verdict::Errors;
        outcome_.closingIcon = BoxIcon::Information;
        ShowBox(texts_.showFormat ? kImagesStopped : kSvgStopped, BoxIcon::Information);
    } else {
        // A failure says only what failed; the verdict's boxes point to the log.
        const std::string details = failed ? std::string() : DetailsHint(App().GetHost());
        outcome_.verdict = failed ? Verdict::Errors : Worse(verdict, Reported());
        outcome_.closingIcon = ShowClosingBox(outcome_.verdict, errorText + details,
                                              warningText + details, successText);
    }
    SetStatusText("Ready");
    return outcome_;
}

MakeOutcome MakeCommand::EndSvgCommand(const RunResult& run) {
    App().GetHost().SetMainTitle(savedTitle_);
    outcome_.end = MakeEnd::Closed;
    outcome_.runSucceeded = !run.Failed();
    Host& host = App().GetHost();
    if (run.Failed() && run.stopped) {
        outcome_.stopped = true;
        outcome_.verdict = Verdict::Errors;
        outcome_.closingIcon = BoxIcon::Information;
        ShowBox(kSvgStopped, BoxIcon::Information);
    } else if (run.Failed()) {
        outcome_.verdict = Verdict::Errors;
        outcome_.closingIcon = BoxIcon::Error;
        ShowBox("SVG files creation failed!" + DetailsHint(host), BoxIcon::Error);
    } else {
        // A run that kept some stations says so: the sheets were not all made anew.
        const std::string counts = StationCountsText(run);
        outcome_.verdict = Worse(run.GetVerdict(), Reported());
        outcome_.closingIcon = ShowClosingBox(
            outcome_.verdict, "SVG files created with some errors!" + DetailsHint(host),
            "SVG files created with some warnings!" + DetailsHint(host),
            counts.empty() ? std::string("SVG files created.")
                           : "SVG files created: " + counts + ".");
    }
    SetRunning(false);
    SetStatusText("Ready");
    return outcome_;
}

MakeOutcome OnMakeMapSvgs(CKibDoc* document, const MakeDialog& dialog) {
    MakeCommand command(MakeCommandKind::MapSvgs, document);
    const std::optional<MakeChoice> choice = command.Start(dialog);
    if (!choice) {
        return command.Outcome();
    }
    CKibSvg svg(*document);
    CompetitionRun run(svg, command.Log(), command.Stop());
    run.ShareLayouts(&command.Layouts());
    const RunResult& result = run.Run(choice->stations, choice->taskChoice);
    KeepMapsRun(*document, result);
    return command.EndSvgCommand(result);
}

} // namespace kib
