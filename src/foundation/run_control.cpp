#include "foundation/run_control.h"

#include "foundation/app_state.h"
#include "foundation/log.h"

namespace kib {

bool RUNNING() {
    return App().running;
}

void SetRunning(bool value) {
    App().Log().Debug("Setting RUNNING=%s", value ? "true" : "false");
    App().running = value;
}

void OnStop(const char* warningText) {
    App().Log().Say(DiagnosticKind::Warning, warningText);
    App().Log().Debug("Setting RUNNING=%s", "false");
    App().running = false;
}

bool CheckBreak() {
    // The host dispatches every pending event here (a Stop click among them) and
    // reports each message it caught on the Debug pane.
    App().GetHost().PumpEvents();
    App().Log().Debug("CheckBreak ended");
    return !App().running;
}

void ReportProgress(const RunProgress& progress) {
    App().GetHost().ShowProgress(progress);
}

void EndProgress() {
    App().GetHost().ShowProgress(RunProgress{});
}

bool IsForbiddenWhileRunning() {
    if (!App().running) {
        return false;
    }
    App().Log().Warning("Forbidden due to a running task!");
    return true;
}

} // namespace kib
