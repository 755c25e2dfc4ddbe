// The command-line program's host: the Messages pane goes to standard output,
// the Debug pane to an optional file, message boxes to standard error, and a
// received Ctrl+C becomes the Stop command at the next stop poll.
#pragma once

#include "foundation/host.h"

#include "platform/files.h"

#include <optional>
#include <string>

namespace kib::cli {

enum class Answer { Ask, Yes, No };

struct CliOptions {
    std::string debugLog; // file for the Debug pane, empty for none
    Answer answer = Answer::Ask;
    bool quiet = false; // no Messages lines on standard output
};

class CliHost : public Host {
  public:
    explicit CliHost(const CliOptions& options);
    ~CliHost() override;
    CliHost(const CliHost&) = delete;
    CliHost& operator=(const CliHost&) = delete;

    // False (after a message on standard error) when the debug log cannot be opened.
    bool Open();

    void AppendLine(LogPane pane, const std::string& text) override;
    void SetStatusText(const std::string& text) override;
    BoxAnswer ShowMessageBox(const MessageBox& box) override;
    void PumpEvents() override;
    void SetWaitCursor(bool) override {}
    std::string GetMainTitle() const override { return title_; }
    void SetMainTitle(const std::string& title) override { title_ = title; }
    std::optional<std::string> ChooseFolder(const std::string&) override { return std::nullopt; }
    // The debug log file holds every line, debug-only ones included.
    bool KeepsEveryDebugLine() const override { return debugFile_.IsOpen(); }

    // The answer the last closing box implies for the exit status: 0, 1 or 2.
    int LastBoxStatus() const { return lastBoxStatus_; }

  private:
    void ClearProgress();
    BoxAnswer Ask(const MessageBox& box);

    CliOptions options_;
    platform::File debugFile_;
    std::string title_;
    bool progressShown_ = false;
    bool stderrIsTerminal_ = false;
    int lastBoxStatus_ = 0;
};

// Installs the handler that records Ctrl+C (SIGINT), a closed terminal (SIGHUP)
// and a polite kill (SIGTERM) for the stop poll: each stops the run as the Stop
// command does, so that a running converter is ended and no partial file stays.
void InstallInterruptHandler();

} // namespace kib::cli
