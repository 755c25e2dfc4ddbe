// A host for tests of the foundation and every layer above it: records every
// pane line, status text and message box, and answers Yes/No questions from a
// queue (else with the box's default button).
#pragma once

#include "foundation/app_state.h"
#include "foundation/host.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kib::test {

class HostRecorder : public Host {
  public:
    HostRecorder() = default;
    HostRecorder(const HostRecorder&) = default;
    HostRecorder& operator=(const HostRecorder&) = default;
    // A recorder that ends leaves no host behind it: a later test without a
    // recorder of its own logs into the do-nothing host, not into freed memory.
    ~HostRecorder() override {
        if (App().host == this) {
            ResetAppState();
        }
    }

    void AppendLine(LogPane pane, const std::string& text) override {
        (pane == LogPane::Messages ? messages : debug).push_back(text);
    }
    void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
    BoxAnswer ShowMessageBox(const MessageBox& box) override {
        boxes.push_back(box);
        if (box.buttons == BoxButtons::Ok) {
            return BoxAnswer::Ok;
        }
        if (answers.empty()) {
            return box.defaultAnswer;
        }
        BoxAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    void PumpEvents() override {
        ++pumps;
        if (onPump) {
            onPump();
        }
    }
    void SetWaitCursor(bool on) override { waitCursor = on; }
    std::string GetMainTitle() const override { return title; }
    void SetMainTitle(const std::string& t) override { title = t; }
    std::optional<std::string> ChooseFolder(const std::string& start) override {
        folderStarts.push_back(start);
        return chosenFolder;
    }

    void ShowProgress(const RunProgress& p) override { progress.push_back(p); }

    // Installs this host into a fresh application state.
    void Install() { ResetAppState(this); }

    bool HasMessage(const std::string& line) const {
        for (const auto& m : messages) {
            if (m == line) {
                return true;
            }
        }
        return false;
    }
    void Clear() {
        messages.clear();
        debug.clear();
        statusTexts.clear();
        boxes.clear();
        progress.clear();
    }

    std::vector<std::string> messages;
    std::vector<std::string> debug;
    std::vector<std::string> statusTexts;
    std::vector<MessageBox> boxes;
    std::vector<RunProgress> progress;
    std::deque<BoxAnswer> answers;
    std::function<void()> onPump;
    std::optional<std::string> chosenFolder;
    std::vector<std::string> folderStarts;
    std::string title;
    bool waitCursor = false;
    int pumps = 0;
};

} // namespace kib::test
