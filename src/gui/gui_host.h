// The desktop application's host: log lines go to the output pane, the status
// text to the status bar, a run's progress to a progress bar in the status bar
// with the Stop button beside it, message boxes are Qt message boxes, and the
// stop poll processes the pending events of the event loop.
#pragma once

#include "foundation/host.h"

#include <QObject>

#include <functional>

class QMainWindow;
class QLabel;
class QProgressBar;

namespace kib::gui {

class COutputWnd;

class GuiHost : public QObject, public Host {
    Q_OBJECT
  public:
    // The progress bar and the Stop button are shown only while a run reports
    // its progress.
    GuiHost(QMainWindow* window, COutputWnd* output, QLabel* statusLabel,
            QProgressBar* progressBar = nullptr, QWidget* stopButton = nullptr);

    void AppendLine(LogPane pane, const std::string& text) override;
    void SetStatusText(const std::string& text) override;
    BoxAnswer ShowMessageBox(const MessageBox& box) override;
    void PumpEvents() override;
    void SetWaitCursor(bool on) override;
    std::string GetMainTitle() const override;
    void SetMainTitle(const std::string& title) override;
    std::optional<std::string> ChooseFolder(const std::string& start) override;
    void ShowProgress(const RunProgress& progress) override;

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
    QProgressBar* progressBar_;
    QWidget* stopButton_;
    bool waitCursor_ = false;
    bool pumping_ = false;
};

} // namespace kib::gui
