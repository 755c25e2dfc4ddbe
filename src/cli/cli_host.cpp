#include "cli/cli_host.h"

#include "foundation/first_letter.h"
#include "foundation/log.h"
#include "foundation/run_control.h"
#include "foundation/text_codec.h"

#include <csignal>
#include <iostream>
#include <unistd.h>

namespace kib::cli {

namespace {

volatile std::sig_atomic_t interruptCount = 0;

extern "C" void OnInterrupt(int) {
    interruptCount = interruptCount + 1;
}

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
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

CliHost::CliHost(const CliOptions& options)
    : options_(options), stderrIsTerminal_(::isatty(STDERR_FILENO) != 0) {}

CliHost::~CliHost() {
    ClearProgress();
    if (debugFile_) {
        std::fclose(debugFile_);
    }
}

bool CliHost::Open() {
    if (options_.debugLog.empty()) {
        return true;
    }
    debugFile_ = std::fopen(options_.debugLog.c_str(), "w");
    if (!debugFile_) {
        std::cerr << "kib: cannot write the debug log " << options_.debugLog << "\n";
        return false;
    }
    return true;
}

void CliHost::AppendLine(LogPane pane, const std::string& text) {
    const std::string shown = ToUtf8(text);
    if (pane == LogPane::Debug) {
        if (debugFile_) {
            std::fprintf(debugFile_, "%s\n", shown.c_str());
            std::fflush(debugFile_);
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
    if (::isatty(STDIN_FILENO) == 0) {
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
    while (interruptCount > 0) {
        interruptCount = interruptCount - 1;
        ClearProgress();
        OnStop();
    }
}

} // namespace kib::cli
