// The command-line program's host: the Messages pane goes to standard output,
// the Debug pane to an optional file, message boxes to standard error, and a
// received Ctrl+C becomes the Stop command at the next stop poll. On a terminal
// a long run shows one progress line below the log lines: the status text, the
// sheet count and an estimate of the time left.
#pragma once

#include "foundation/host.h"

#include "platform/files.h"

#include <chrono>
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
    // The log is printed above the boxes: no window to point to.
    bool HasOutputWindow() const override { return false; }
    void ShowProgress(const RunProgress& progress) override;

    // The progress line: "sheet n of N (station s of S)", the time left once a
    // sheet has been done ("about 1 min 5 s left"), then the status text; cut to
    // one terminal row.
    static std::string ProgressLine(const std::string& status, const RunProgress& progress,
                                    std::chrono::steady_clock::duration elapsed);

  private:
    void ClearProgress();
    void DrawProgress();
    BoxAnswer Ask(const MessageBox& box);

    CliOptions options_;
    platform::File debugFile_;
    std::string title_;
    std::string status_;                            // the status text of the progress line
    RunProgress progress_;                          // where the run stands
    std::chrono::steady_clock::time_point counted_; // when the first sheet began
    bool progressShown_ = false;
    bool progressWanted_ = false; // standard output is a terminal and not --quiet
};

// Installs the handler that records Ctrl+C (SIGINT), a closed terminal (SIGHUP)
// and a polite kill (SIGTERM) for the stop poll: each stops the run as the Stop
// command does, so that a running converter is ended and no partial file stays.
void InstallInterruptHandler();

} // namespace kib::cli
