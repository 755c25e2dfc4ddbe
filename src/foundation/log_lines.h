// The one formatter of log lines: how an entry of the diagnostics reads in the
// Messages and Debug panes, with the error and warning prefixes. No other code
// writes the prefixes, and nothing reads them back.
#pragma once

#include "foundation/diagnostics.h"

#include <cstddef>
#include <string>

namespace kib {

// Every line is cut to the 999 characters of the log's 1000-byte buffer.
inline constexpr std::size_t kMessageBufferSize = 1000;

// A text as a log line holds it: at most 999 characters, and nothing after a NUL.
std::string AsLogLine(std::string text);

// The entry's line in the Messages pane: errors and warnings with their prefix.
// Debug entries have none (empty).
std::string MessagesLine(const Diagnostic& entry);
// The entry's line in the Debug pane: the Messages line without its prefix.
std::string DebugLine(const Diagnostic& entry);

} // namespace kib
