// The log: the Messages and Debug panes of a host as a consumer of diagnostics,
// the debugging switch, the status text and the message boxes.
#pragma once

#include "foundation/diagnostics.h"
#include "foundation/host.h"

#include <string>

namespace kib {

// Writes an entry to the host's panes: an information line to Messages and
// Debug, an error or warning line whole to Messages and without its prefix to
// Debug, a debug line to Debug only. Lines are cut to 999 characters.
void WriteLogLines(Host& host, const Diagnostic& entry);

// Appends a line to a pane of the installed host, cut to the 999 characters of a
// reported line.
void AppendLogLine(LogPane pane, const std::string& text);

void SetStatusText(const std::string& text);

// Sets the debugging switch from the effective value of System.DEBUGGING:
// on unless its first character, upper-cased, is "N".
void SetDebugSwitchFromValue(const std::string& effectiveValue);

// Closing message rule: the operation's own verdict (its run result, or what it
// reported) chooses the error, warning or success box. Returns the icon shown.
BoxIcon ShowClosingBox(Host& host, Verdict verdict, const std::string& errorText,
                       const std::string& warningText, const std::string& successText);
BoxIcon ShowClosingBox(Verdict verdict, const std::string& errorText,
                       const std::string& warningText, const std::string& successText);

BoxAnswer ShowBox(Host& host, const std::string& text, BoxIcon icon);
BoxAnswer AskYesNo(Host& host, const std::string& text, BoxIcon icon, BoxAnswer defaultAnswer);
// The same on the installed host, for the commands and the programs.
BoxAnswer ShowBox(const std::string& text, BoxIcon icon);
BoxAnswer AskYesNo(const std::string& text, BoxIcon icon, BoxAnswer defaultAnswer);
// A question that may also be cancelled: Yes, No or Cancel.
BoxAnswer AskYesNoCancel(const std::string& text, BoxIcon icon, BoxAnswer defaultAnswer);

} // namespace kib
