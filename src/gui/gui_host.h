// The desktop application's host: log lines go to the output pane, the status
// text to the status bar, message boxes are Qt message boxes, and the stop poll
// processes the pending events of the event loop.
#pragma once

#include "foundation/host.h"

#include <QObject>

#include <functional>

class QMainWindow;
class QLabel;

namespace kib::gui {

class COutputWnd;

class GuiHost : public QObject, public Host {
    Q_OBJECT
  public:
    GuiHost(QMainWindow* window, COutputWnd* output, QLabel* statusLabel);

    void AppendLine(LogPane pane, const std::string& text) override;
    void SetStatusText(const std::string& text) override;
    BoxAnswer ShowMessageBox(const MessageBox& box) override;
    void PumpEvents() override;
    void SetWaitCursor(bool on) override;
    std::string GetMainTitle() const override;
    void SetMainTitle(const std::string& title) override;
    std::optional<std::string> ChooseFolder(const std::string& start) override;

    // Answers message boxes instead of showing them (tests, scripted runs).
    std::function<BoxAnswer(const MessageBox&)> boxHook;
    // Chooses a folder instead of the folder dialog (tests, scripted runs).
    std::function<std::optional<std::string>(const std::string&)> folderHook;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QMainWindow* window_;
    COutputWnd* output_;
    QLabel* statusLabel_;
    bool waitCursor_ = false;
    bool pumping_ = false;
};

} // namespace kib::gui
