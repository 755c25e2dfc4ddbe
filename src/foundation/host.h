// Interfaces through which the core reaches a window system or a terminal.
// Implemented by the desktop application, the command-line program and a
// recording fake in the tests.
#pragma once

#include <optional>
#include <string>

namespace kib {

// The two tabs of the output pane.
enum class LogPane { Messages = 0, Debug = 1 };

enum class BoxIcon { None, Error, Warning, Information };
// YesNoCancel is the question about unsaved changes: Yes saves, No discards.
enum class BoxButtons { Ok, YesNo, YesNoCancel };
enum class BoxAnswer { Ok, Yes, No, Cancel };

struct MessageBox {
    std::string text;
    BoxIcon icon = BoxIcon::None;
    BoxButtons buttons = BoxButtons::Ok;
    BoxAnswer defaultAnswer = BoxAnswer::Ok; // for questions: the answer of the default button
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
};

class CKibDoc;

// The docked properties pane that edits a document's configuration.
class PropertyPane {
  public:
    virtual ~PropertyPane() = default;
    virtual void AttachDocument(CKibDoc* doc) = 0;
    virtual void ForgetOriginalValues() = 0;
    virtual void ShowValue(int itemId, const std::string& valueText) = 0;
    virtual void ShowStationRange(int first, int last) = 0;
    virtual void UpdateVisibility() = 0;
    virtual void HideAll() = 0;
};

// Notifications to the main window.
class MainWindow {
  public:
    virtual ~MainWindow() = default;
    virtual void NewDocumentWindowOpening() = 0;
    virtual void TabSwitched() = 0;
};

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

  private:
    std::string title_;
};

class NullPropertyPane : public PropertyPane {
  public:
    void AttachDocument(CKibDoc*) override {}
    void ForgetOriginalValues() override {}
    void ShowValue(int, const std::string&) override {}
    void ShowStationRange(int, int) override {}
    void UpdateVisibility() override {}
    void HideAll() override {}
};

class NullMainWindow : public MainWindow {
  public:
    void NewDocumentWindowOpening() override {}
    void TabSwitched() override {}
};

} // namespace kib
