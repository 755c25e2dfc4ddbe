// Interfaces through which the core reaches a window system or a terminal.
// Implemented by the desktop application, the command-line program and a
// recording fake in the tests.
#pragma once

#include <optional>
#include <string>

namespace kib {

// The two tabs of the output pane.
enum class LogPane { Messages = 0, Debug = 1 };

enum class BoxIcon { None, Error, Warning, Information, Question };
enum class BoxButtons { Ok, YesNo, YesNoCancel };
enum class BoxAnswer { Ok, Yes, No, Cancel };

struct MessageBox {
    std::string text;
    BoxIcon icon = BoxIcon::None;
    BoxButtons buttons = BoxButtons::Ok;
    BoxAnswer defaultAnswer = BoxAnswer::Ok; // for Yes/No (and Cancel): Yes or No
};

// Where a long run stands: sheet n of N, and the station it works on, s of S.
// A count of 0 is not known (no stations for a run that does not go by
// stations); sheets 0 means the run has ended and the progress is taken away.
struct RunProgress {
    int sheet = 0; // the sheet being made or converted, from 1
    int sheets = 0;
    int station = 0; // the station's position among the run's stations, from 1
    int stations = 0;
};

class Host {
  public:
    virtual ~Host() = default;
    // Appends one line to a pane and scrolls to it. Nothing is cut or split.
    virtual void AppendLine(LogPane pane, const std::string& text) = 0;
    virtual void SetStatusText(const std::string& text) = 0;
    virtual BoxAnswer ShowMessageBox(const MessageBox& box) = 0;
    // Processes pending user input and repaints; never blocks.
    virtual void PumpEvents() = 0;
    virtual void SetWaitCursor(bool on) = 0;
    virtual std::string GetMainTitle() const = 0;
    virtual void SetMainTitle(const std::string& title) = 0;
    // Lets the user choose a folder, starting in `start`; nothing when cancelled.
    virtual std::optional<std::string> ChooseFolder(const std::string& start) = 0;
    // True when the Debug pane keeps every debug-only line whatever the debugging
    // switch says (a debug log file asked for on the command line).
    virtual bool KeepsEveryDebugLine() const { return false; }
    // Whether the log is shown in an output window that a box may point to (the
    // desktop application); a terminal shows it above the box.
    virtual bool HasOutputWindow() const { return true; }
    // Shows where a Make run stands (a progress bar, a progress line); called
    // before each sheet is made or converted and with sheets 0 at the run's end.
    virtual void ShowProgress(const RunProgress& progress) = 0;
};

// The closing words of a box whose details are in the log: the output window's
// name where there is one, nothing on a terminal (the lines are just above).
std::string DetailsHint(const Host& host);

// Base of the interfaces that the layers above the foundation define for the
// programs to implement (the properties pane and the document observer of
// src/config): the application state keeps them without knowing them, and the
// layer that defines an interface gives it back typed.
class HostInterface {
  public:
    virtual ~HostInterface() = default;
};

// The interface Interface that the application state keeps as a HostInterface,
// or an implementation None that does nothing when none of that type is installed.
template <typename Interface, typename None> Interface& InstalledOr(HostInterface* installed) {
    static None none; // holds no state
    auto* typed = dynamic_cast<Interface*>(installed);
    return typed ? *typed : none;
}

// Host that does nothing: used before a real host is installed.
class NullHost : public Host {
  public:
    void AppendLine(LogPane, const std::string&) override {}
    void SetStatusText(const std::string&) override {}
    BoxAnswer ShowMessageBox(const MessageBox& box) override {
        return box.buttons == BoxButtons::Ok ? BoxAnswer::Ok : box.defaultAnswer;
    }
    void PumpEvents() override {}
    void SetWaitCursor(bool) override {}
    std::string GetMainTitle() const override { return title_; }
    void SetMainTitle(const std::string& title) override { title_ = title; }
    std::optional<std::string> ChooseFolder(const std::string&) override { return std::nullopt; }
    void ShowProgress(const RunProgress&) override {}

  private:
    std::string title_;
};

} // namespace kib
