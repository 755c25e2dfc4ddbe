#include "cli/cli_host.h"

#include "foundation/first_letter.h"
#include "foundation/log.h"
#include "foundation/run_control.h"
#include "foundation/text_codec.h"

#include "platform/environment.h"
#include "platform/interrupts.h"

#include <cstdio>
#include <iostream>

namespace kib::cli {

namespace {

const char* BoxPrefix(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::Error:
        return "error: ";
    case BoxIcon::Warning:
        return "warning: ";
    case BoxIcon::Information:
        return "info: ";
    case BoxIcon::Question:
    case BoxIcon::None:
        break;
    }
    return "";
}

// The progress line never runs over a terminal row of 80 characters.
constexpr std::size_t kProgressWidth = 79;

// "12 s", "3 min 5 s", "1 h 2 min".
std::string Duration(long long seconds) {
    char text[48];
    if (seconds < 60) {
        std::snprintf(text, sizeof text, "%lld s", seconds);
    } else if (seconds < 3600) {
        std::snprintf(text, sizeof text, "%lld min %lld s", seconds / 60, seconds % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld h %lld min", seconds / 3600, seconds / 60 % 60);
    }
    return text;
}

} // namespace

void InstallInterruptHandler() {
    platform::CatchInterrupts();
}

CliHost::CliHost(const CliOptions& options)
    : options_(options),
      progressWanted_(!options.quiet && platform::IsTerminal(platform::StandardStream::Output)) {}

CliHost::~CliHost() {
    ClearProgress();
}

bool CliHost::Open() {
    if (options_.debugLog.empty()) {
        return true;
    }
    int error = 0;
    debugFile_ = platform::CreateOrReplace(options_.debugLog, error);
    if (!debugFile_.IsOpen()) {
        std::cerr << "error: cannot write the debug log " << options_.debugLog << "\n";
        return false;
    }
    return true;
}

void CliHost::AppendLine(LogPane pane, const std::string& text) {
    const std::string shown = ToUtf8(text);
    if (pane == LogPane::Debug) {
        if (debugFile_.IsOpen()) {
            debugFile_.WriteAll(shown + "\n");
        }
        return;
    }
    if (options_.quiet) {
        return;
    }
    const bool shownBefore = progressShown_;
    ClearProgress();
    std::cout << shown << '\n' << std::flush;
    if (shownBefore) {
        DrawProgress();
    }
}

void CliHost::SetStatusText(const std::string& text) {
    // The progress line of long runs, shown only on a terminal.
    if (!progressWanted_) {
        return;
    }
    if (text == "Ready") {
        status_.clear();
        ClearProgress();
        return;
    }
    status_ = ToUtf8(text);
    DrawProgress();
}

void CliHost::ShowProgress(const RunProgress& progress) {
    if (!progressWanted_) {
        return;
    }
    // A new count (the conversion after the SVG run) starts a new estimate.
    if (progress.sheets > 0 && (progress_.sheets == 0 || progress.sheet <= progress_.sheet)) {
        counted_ = std::chrono::steady_clock::now();
    }
    progress_ = progress;
    if (progress.sheets == 0 && status_.empty()) {
        ClearProgress();
        return;
    }
    DrawProgress();
}

std::string CliHost::ProgressLine(const std::string& status, const RunProgress& progress,
                                  std::chrono::steady_clock::duration elapsed) {
    if (progress.sheets <= 0) {
        return status.substr(0, kProgressWidth);
    }
    char count[96];
    if (progress.stations > 0) {
        std::snprintf(count, sizeof count, "sheet %d of %d (station %d of %d)", progress.sheet,
                      progress.sheets, progress.station, progress.stations);
    } else {
        std::snprintf(count, sizeof count, "sheet %d of %d", progress.sheet, progress.sheets);
    }
    std::string line = count;
    // The time left from the pace of the sheets done so far.
    const int done = progress.sheet - 1;
    if (done > 0 && progress.sheets >= progress.sheet) {
        const double perSheet =
            std::chrono::duration<double>(elapsed).count() / static_cast<double>(done);
        const double left = perSheet * static_cast<double>(progress.sheets - done);
        line += ", about " + Duration(static_cast<long long>(left + 0.5)) + " left";
    }
    if (!status.empty()) {
        line += ": " + status;
    }
    // One terminal row, so that the carriage return goes back over all of it.
    return line.substr(0, kProgressWidth);
}

void CliHost::DrawProgress() {
    if (!progressWanted_ || (status_.empty() && progress_.sheets == 0)) {
        return;
    }
    const std::string line =
        ProgressLine(status_, progress_, std::chrono::steady_clock::now() - counted_);
    std::cout << '\r' << line << "\x1b[K" << std::flush;
    progressShown_ = true;
}

void CliHost::ClearProgress() {
    if (progressShown_) {
        std::cout << "\r\x1b[K" << std::flush;
        progressShown_ = false;
    }
}

BoxAnswer CliHost::ShowMessageBox(const MessageBox& box) {
    const bool shownBefore = progressShown_;
    ClearProgress();
    std::cerr << BoxPrefix(box.icon) << ToUtf8(box.text) << '\n' << std::flush;
    if (shownBefore && box.buttons == BoxButtons::Ok) {
        DrawProgress();
    }
    if (box.buttons == BoxButtons::Ok) {
        return BoxAnswer::Ok;
    }
    return Ask(box);
}

BoxAnswer CliHost::Ask(const MessageBox& box) {
    if (options_.answer == Answer::Yes) {
        std::cerr << "(answered yes)\n";
        return BoxAnswer::Yes;
    }
    if (options_.answer == Answer::No) {
        std::cerr << "(answered no)\n";
        return BoxAnswer::No;
    }
    if (!platform::IsTerminal(platform::StandardStream::Input)) {
        std::cerr << "(answered " << (box.defaultAnswer == BoxAnswer::Yes ? "yes" : "no")
                  << " by default)\n";
        return box.defaultAnswer;
    }
    const bool yesDefault = box.defaultAnswer == BoxAnswer::Yes;
    for (;;) {
        std::cerr << (yesDefault ? "[Y/n] " : "[y/N] ") << std::flush;
        std::string reply;
        if (!std::getline(std::cin, reply)) {
            return box.defaultAnswer;
        }
        if (reply.empty()) {
            return box.defaultAnswer;
        }
        const char letter = FirstLetter(reply, LetterCase::Either);
        if (letter == 'Y') {
            return BoxAnswer::Yes;
        }
        if (letter == 'N') {
            return BoxAnswer::No;
        }
    }
}

void CliHost::PumpEvents() {
    // Each Ctrl+C received since the last poll is one Stop command.
    for (int count = platform::TakeInterrupts(); count > 0; --count) {
        OnStop(kStopInterruptText);
    }
}

} // namespace kib::cli
