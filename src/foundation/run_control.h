// Run control: the RUNNING flag, the Stop command and the stop poll.
#pragma once

#include "foundation/host.h"

namespace kib {

inline constexpr int kStopCommandId = 32799;

bool RUNNING();
void SetRunning(bool value);
// The Stop command: always enabled, whether or not a run is active. The warning
// names how the stop was asked for (the desktop's Stop button by default).
inline constexpr const char* kStopButtonText = "STOP button pressed";
inline constexpr const char* kStopInterruptText = "Stopped by the user (Ctrl+C).";
void OnStop(const char* warningText = kStopButtonText);
// Pumps pending events and answers true when the run must be abandoned.
bool CheckBreak();
// Reports where a Make run stands to the host: before each sheet it makes or
// converts, and EndProgress when the run ends.
void ReportProgress(const RunProgress& progress);
void EndProgress();
// True (after a warning) when a run is active and the caller must not proceed.
bool IsForbiddenWhileRunning();

// What a run polls between its units of work: it is handed one, and abandons
// the rest of its work when the request answers true.
class StopRequest {
  public:
    virtual ~StopRequest() = default;
    // Pumps pending events and answers true when the run must be abandoned.
    virtual bool Requested() = 0;
};

// The program's Stop command, Ctrl+C and the signals that stop a run (CheckBreak).
class StopCommand : public StopRequest {
  public:
    bool Requested() override {
        const bool stop = CheckBreak();
        stopped_ = stopped_ || stop;
        return stop;
    }
    // Whether a poll answered that the run must stop.
    bool Stopped() const { return stopped_; }

  private:
    bool stopped_ = false;
};

// A request that never comes: for a step nobody can stop.
class NoStopRequest : public StopRequest {
  public:
    bool Requested() override { return false; }
};

} // namespace kib
