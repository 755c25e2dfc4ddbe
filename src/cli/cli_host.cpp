#include "cli/cli_host.h"

#include "foundation/first_letter.h"
#include "foundation/log.h"
#include "foundation/run_control.h"
#include "foundation/text_codec.h"

#include "platform/environment.h"
#include "platform/interrupts.h"

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

int StatusOfIcon(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::Error:
        return 2;
    case BoxIcon::Warning:
        return 1;
    default:
        return 0;
    }
}

} // namespace

void InstallInterruptHandler() {
    platform::CatchInterrupts();
}

CliHost::CliHost(const CliOptions& options)
    : options_(options), stderrIsTerminal_(platform::IsTerminal(platform::StandardStream::Error)) {}

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
        std::cerr << "kib: cannot write the debug log " << options_.debugLog << "\n";
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
    ClearProgress();
    std::cout << shown << '\n' << std::flush;
}

void CliHost::SetStatusText(const std::string& text) {
    // A progress line for long runs, shown only on a terminal.
    if (!stderrIsTerminal_) {
        return;
    }
    if (text == "Ready") {
        ClearProgress();
        return;
    }
    std::cerr << '\r' << ToUtf8(text) << "\x1b[K" << std::flush;
    progressShown_ = true;
}

void CliHost::ClearProgress() {
    if (progressShown_) {
        std::cerr << "\r\x1b[K" << std::flush;
        progressShown_ = false;
    }
}

BoxAnswer CliHost::ShowMessageBox(const MessageBox& box) {
    ClearProgress();
    std::cerr << BoxPrefix(box.icon) << ToUtf8(box.text) << '\n' << std::flush;
    if (box.buttons == BoxButtons::Ok) {
        lastBoxStatus_ = StatusOfIcon(box.icon);
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
        ClearProgress();
        OnStop();
    }
}

} // namespace kib::cli
