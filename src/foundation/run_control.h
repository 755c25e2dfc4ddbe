// Run control: the RUNNING flag, the Stop command and the stop poll.
#pragma once

namespace kib {

inline constexpr int kStopCommandId = 32799;

bool RUNNING();
void SetRunning(bool value);
// The Stop command: always enabled, whether or not a run is active.
void OnStop();
// Pumps pending events and answers true when the run must be abandoned.
bool CheckBreak();
// True (after a warning) when a run is active and the caller must not proceed.
bool IsForbiddenWhileRunning();

} // namespace kib
