#include "foundation/run_control.h"

#include "foundation/app_state.h"
#include "foundation/log.h"

namespace kib {

bool RUNNING() {
    return App().running;
}

void SetRunning(bool value) {
    LogDebug("Setting RUNNING=%s", value ? "true" : "false");
    App().running = value;
}

void OnStop() {
    LogWarning("[= WARNING =] STOP button pressed");
    LogDebug("Setting RUNNING=%s", "false");
    App().running = false;
}

bool CheckBreak() {
    // The host dispatches every pending event here (a Stop click among them) and
    // reports each message it caught on the Debug pane.
    App().GetHost().PumpEvents();
    LogDebug("CheckBreak ended");
    return !App().running;
}

bool IsForbiddenWhileRunning() {
    if (!App().running) {
        return false;
    }
    LogWarning("[= WARNING =] Forbidden due to a running task!");
    return true;
}

} // namespace kib
