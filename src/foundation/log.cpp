#include "foundation/log.h"

#include "foundation/app_state.h"
#include "foundation/first_letter.h"
#include "foundation/format.h"
#include "foundation/log_tally.h"

#include <algorithm>
#include <cstdarg>

namespace kib {

namespace {

// A line as the 1000-byte message buffer held it: at most 999 characters, cut
// silently, and ended by a formatted NUL character.
std::string AsLogLine(std::string text) {
    const std::size_t end = std::min(text.find('\0'), kMessageBufferSize - 1);
    if (end < text.size()) {
        text.resize(end);
    }
    return text;
}

std::string FormatLogLine(const char* format, va_list args) {
    return AsLogLine(FormatV(format, args));
}

// The Debug copy of an error or warning line: the text after the 14-character prefix.
std::string WithoutPrefix(const std::string& line) {
    return line.size() > kPrefixLength ? line.substr(kPrefixLength) : std::string();
}

// An error or warning line: whole in Messages, without its prefix in Debug;
// counted by the log and by every open tally.
void ReportCounted(const std::string& line, int& counter, LogTally::Kind kind) {
    App().GetHost().AppendLine(LogPane::Messages, line);
    App().GetHost().AppendLine(LogPane::Debug, WithoutPrefix(line));
    ++counter;
    RecordInTallies(line, kind);
}

} // namespace

void AppendLogLine(LogPane pane, const std::string& text) {
    App().GetHost().AppendLine(pane, AsLogLine(text));
}

void LogInfo(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string line = FormatLogLine(format, args);
    va_end(args);
    AppendLogLine(LogPane::Messages, line);
    AppendLogLine(LogPane::Debug, line);
    RecordInTallies(line, LogTally::Kind::Info);
}

void LogError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    ReportCounted(FormatLogLine(format, args), App().errorCount, LogTally::Kind::Error);
    va_end(args);
}

void LogWarning(const char* format, ...) {
    va_list args;
    va_start(args, format);
    ReportCounted(FormatLogLine(format, args), App().warningCount, LogTally::Kind::Warning);
    va_end(args);
}

bool DebugLinesWanted() {
    return App().debugSwitch || App().GetHost().KeepsEveryDebugLine();
}

void LogDebug(const char* format, ...) {
    if (!DebugLinesWanted()) {
        return;
    }
    va_list args;
    va_start(args, format);
    const std::string line = FormatLogLine(format, args);
    va_end(args);
    AppendLogLine(LogPane::Debug, line);
}

void SetStatusText(const std::string& text) {
    App().GetHost().SetStatusText(text);
}

void SetDebugSwitchFromValue(const std::string& effectiveValue) {
    App().debugSwitch = IsYes(effectiveValue);
}

BoxAnswer ShowBox(const std::string& text, BoxIcon icon) {
    return App().GetHost().ShowMessageBox({text, icon, BoxButtons::Ok, BoxAnswer::Ok});
}

BoxAnswer AskYesNo(const std::string& text, BoxIcon icon, BoxAnswer defaultAnswer) {
    return App().GetHost().ShowMessageBox({text, icon, BoxButtons::YesNo, defaultAnswer});
}

BoxAnswer AskYesNoCancel(const std::string& text, BoxIcon icon, BoxAnswer defaultAnswer) {
    return App().GetHost().ShowMessageBox({text, icon, BoxButtons::YesNoCancel, defaultAnswer});
}

BoxIcon ShowClosingBox(Verdict verdict, const std::string& errorText,
                       const std::string& warningText, const std::string& successText) {
    BoxIcon icon = BoxIcon::Information;
    const std::string* text = &successText;
    if (verdict == Verdict::Errors) {
        icon = BoxIcon::Error;
        text = &errorText;
    } else if (verdict == Verdict::Warnings) {
        icon = BoxIcon::Warning;
        text = &warningText;
    }
    ShowBox(*text, icon);
    return icon;
}

} // namespace kib
