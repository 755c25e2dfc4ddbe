// Start-up of the desktop application: the start-up journal, the main window,
// the file named on the command line or else the documents of the last run.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <ostream>

class QSettings;

namespace kib::gui {

class CMainFrame;

inline constexpr int kDefaultApplicationLook = 210;

// The journal file in the temporary directory, overwritten at every start.
QString JournalPath();

// Reopens the documents that were open when the program last ended, in their
// tab order (at most the 15 of the recent-file list), and shows the first-run
// hint when there is nothing to open. Returns the number of files counted.
int RestoreLastSession(CMainFrame& frame, QSettings& settings, std::ostream& journal);

class CKibApp {
  public:
    explicit CKibApp(QSettings& settings);
    ~CKibApp();

    // Builds and shows the main window; false aborts the application.
    // files: the configuration files named on the command line.
    bool InitInstance(const QStringList& files);
    CMainFrame* MainFrame() const { return frame_.get(); }

    // Called with the new main window before any file is opened (tests answer
    // its message boxes through it).
    std::function<void(CMainFrame&)> prepareFrame;

  private:
    QSettings& settings_;
    std::unique_ptr<CMainFrame> frame_;
};

} // namespace kib::gui
