// Log and message reporting: the Messages and Debug panes, the error and
// warning prefixes, the two counters and the debugging switch.
#pragma once

#include "foundation/host.h"
#include "foundation/log_tally.h"

#include <cstddef>
#include <string>

namespace kib {

inline constexpr const char* kErrorPrefix = "[** ERROR **] ";
inline constexpr const char* kWarningPrefix = "[= WARNING =] ";
inline constexpr std::size_t kPrefixLength = 14;
// Every reported line is formatted into 1000 bytes: at most 999 characters.
inline constexpr std::size_t kMessageBufferSize = 1000;

// Appends a line to a pane, cut to the 999 characters of a reported line.
void AppendLogLine(LogPane pane, const std::string& text);

void LogInfo(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogError(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogWarning(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogDebug(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Whether debug-only lines are formatted at all: the debugging switch is on, or
// the host keeps every debug line (a debug log file).
bool DebugLinesWanted();

void SetStatusText(const std::string& text);

// Sets the debugging switch from the effective value of System.DEBUGGING:
// on unless its first character, upper-cased, is "N".
void SetDebugSwitchFromValue(const std::string& effectiveValue);

// Closing message rule: the operation's own verdict (its run result, or what it
// logged, never the program's counters) chooses the error, warning or success
// box. Returns the icon that was shown.
BoxIcon ShowClosingBox(Verdict verdict, const std::string& errorText,
                       const std::string& warningText, const std::string& successText);

BoxAnswer ShowBox(const std::string& text, BoxIcon icon);
BoxAnswer AskYesNo(const std::string& text, BoxIcon icon, BoxAnswer defaultAnswer);
// A question that may also be cancelled: Yes, No or Cancel.
BoxAnswer AskYesNoCancel(const std::string& text, BoxIcon icon, BoxAnswer defaultAnswer);

} // namespace kib
