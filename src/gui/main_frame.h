// The main window: tabbed documents with their previews, the output and
// properties panes, menus, toolbar and status bar, and the closing check for
// unsaved configurations.
#pragma once

#include "app/make_command.h"
#include "config/document_observer.h"
#include "foundation/host.h"
#include "gui/map_view.h"
#include "gui/printing.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QPrinter;
class QSettings;
class QToolBar;

namespace kib {
class CKibDoc;
}

namespace kib::gui {

class CDocTabs;
class CKibView;
class CMakeDlg;
class COutputWnd;
class CPropertiesWnd;
class GuiHost;

// Command identifiers of the menus and the toolbar.
namespace cmd {
inline constexpr int FileNew = 57600;
inline constexpr int FileOpen = 57601;
inline constexpr int FileClose = 57602;
inline constexpr int FileSave = 57603;
inline constexpr int FileSaveAs = 57604;
inline constexpr int FilePrintSetup = 57606;
inline constexpr int FilePrint = 57607;
inline constexpr int FilePrintPreview = 57609;
inline constexpr int EditCopy = 57634;
inline constexpr int EditCut = 57635;
inline constexpr int EditPaste = 57637;
inline constexpr int EditUndo = 57643;
inline constexpr int WindowNew = 57648;
inline constexpr int AppAbout = 57664;
inline constexpr int AppExit = 57665;
inline constexpr int MakeMapSvgs = 32779;
inline constexpr int MakeMapImages = 32794;
inline constexpr int MakeSolSvgs = 32798;
inline constexpr int Stop = 32799;
inline constexpr int ViewCompetition = 32800;
inline constexpr int ViewSolution = 32801;
inline constexpr int MakeSolImages = 32804;
inline constexpr int ViewMap = 32805;
inline constexpr int FileExportKey = 32806;
} // namespace cmd

inline constexpr int kRecentFileCount = 15;

class CMainFrame : public QMainWindow, public DocumentObserver {
    Q_OBJECT
  public:
    // settings: the per-user profile (recent files, last session, look).
    explicit CMainFrame(QSettings& settings, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // DocumentObserver: a new document's window sets the New Window Opening flag;
    // a changed document repaints its views.
    void DocumentOpened(CKibDoc& doc) override;
    void DocumentChanged(CKibDoc& doc) override;
    void DocumentModifiedChanged(CKibDoc& doc) override;
    // Sets the Tab Switching flag for the re-check after the next repaint.
    void TabSwitched();

    GuiHost& Host() const { return *host_; }
    COutputWnd* Output() const { return output_; }
    CPropertiesWnd* Properties() const { return properties_; }
    CDocTabs* Tabs() const { return tabs_; }
    QAction* Action(int commandId) const;
    QToolBar* ToolBar() const { return toolBar_; }

    CKibView* View(int tab) const;
    CKibView* ActiveView() const;
    CKibDoc* ActiveDocument() const;
    // The documents of the tabs, each once, in tab order.
    std::vector<std::shared_ptr<CKibDoc>> Documents() const;

    // Opens a configuration file as a document (or activates it when it is
    // open already); none when it could not be read.
    CKibDoc* OpenDocument(const QString& path);
    bool SaveDocument(CKibDoc* doc, bool askName);
    // Files dropped on the window: the configuration files among them open.
    int OpenDroppedFiles(const QList<QUrl>& urls);
    // Closes one tab; the document closes with its last tab. False when the
    // user kept it.
    bool CloseTab(int tab);

    // The re-check of the active document at the end of a repaint.
    void RecheckAfterActivation(CKibDoc* doc);
    void OnTabActivated(int tab);
    void UpdateTabColors();
    QColor TabColor(int tab) const;
    bool NewWindowFlag() const { return newWindowFlag_; }
    bool TabSwitchFlag() const { return tabSwitchFlag_; }

    QStringList RecentFiles() const;
    void AddToRecentFiles(const QString& path);
    QSettings& Settings() const { return settings_; }

    // Shows a Make dialog; tests and scripted runs may answer it instead.
    bool RunMakeDialog(CMakeDlg& dlg);
    std::function<bool(CMakeDlg&)> makeDialogHook;
    // Asks where File -> Export answer key writes (the proposed path given);
    // tests may answer instead. An empty answer cancels.
    QString AskKeyFile(const QString& proposed);
    std::function<QString(const QString&)> keyFileHook;
    // The Make dialog as the Make commands ask for it.
    MakeDialog MakeDialogFunction();

    // Before printing or previewing: when the printer's margins cut into the
    // sheets at their true size, asks whether to keep the map's scale or fit the
    // sheets to the printable area (none when cancelled); true size otherwise.
    std::optional<PrintScale> ChoosePrintScale(const SheetFit& fit);
    std::function<std::optional<PrintScale>(const SheetFit&)> printScaleHook;
    // The printer of the print commands, made on first use.
    QPrinter& Printer();

  public slots:
    void OnFileNew();
    void OnFileOpen();
    void OnFileClose();
    void OnFileSave();
    void OnFileSaveAs();
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintSetup();
    void OnFileExportKey();
    void OnMakeMapSvgs();
    void OnMakeMapImages();
    void OnMakeSolSvgs();
    void OnMakeSolImages();
    void OnStop();
    void OnViewCompetition();
    void OnViewSolution();
    void OnViewMap();
    void OnWindowNew();
    void OnAppAbout();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    QAction* AddCommand(int id, const QString& text, const QKeySequence& shortcut,
                        const QString& statusTip, void (CMainFrame::*slot)());
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void UpdateRecentFileMenu();
    void UpdateTitle();
    void UpdateCommandStates();
    CKibView* AddView(const std::shared_ptr<CKibDoc>& doc);
    void RepaintViewsOf(const CKibDoc* doc);
    // The tabs and the title mark the document's unsaved changes with "*".
    void ShowModified(const CKibDoc* doc);
    void ForwardEdit(const char* slot);
    // True when the document may be closed (saved, or the user let it go).
    bool SaveModified(CKibDoc* doc);
    void CloseDocumentViews(const std::shared_ptr<CKibDoc>& doc);
    bool CanClose();
    template <typename Command> void RunMakeCommand(Command command);

  public:
    // The map view opened last by View → Map, while it is open.
    CMapView* MapView() const { return mapView_; }

  private:
    QSettings& settings_;
    GuiHost* host_ = nullptr;
    COutputWnd* output_ = nullptr;
    CPropertiesWnd* properties_ = nullptr;
    CDocTabs* tabs_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    std::map<int, QAction*> actions_;
    std::unique_ptr<QPrinter> printer_;
    QPointer<CMapView> mapView_; // the open map view, if any
    bool newWindowFlag_ = false;
    bool tabSwitchFlag_ = false;
    bool closing_ = false;
    int newDocuments_ = 0; // numbers the titles of new documents
};

} // namespace kib::gui
