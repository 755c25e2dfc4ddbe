#include "gui/main_frame.h"

#include "app/builtin_convert.h"
#include "app/documents.h"
#include "app/inkscape.h"
#include "app/make_command.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/log.h"
#include "foundation/run_control.h"
#include "gui/about_dlg.h"
#include "gui/doc_tabs.h"
#include "gui/gui_host.h"
#include "gui/kib_view.h"
#include "gui/make_dlg.h"
#include "gui/map_view.h"
#include "gui/output_wnd.h"
#include "gui/printing.h"
#include "gui/properties_wnd.h"
#include "gui/qt_text.h"
#include "gui/toolbar_icons.h"
#include "sheet/check_layout.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCryptographicHash>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <set>

namespace kib::gui {

namespace {

const QString kFilter = QStringLiteral("Kib Config Files (*.cfg)");
const QString kRecentGroup = QStringLiteral("Recent File List");
const QString kDocsCountKey = QStringLiteral("LastSession/DocsCount");

bool IsConfigFile(const QString& path) {
    return path.endsWith(QStringLiteral(".cfg"), Qt::CaseInsensitive);
}

// A document's file name, marked with "*" while it has unsaved changes.
QString MarkedName(const CKibDoc& doc) {
    return ToQt(doc.GetFileName()) + (doc.IsModified() ? QStringLiteral("*") : QString());
}

// The print job of the frame's document after its Make dialog; none when there
// is no document or nothing to print.
std::optional<PrintJob> PreparePrintJob(CMainFrame& frame, CKibDoc* doc) {
    if (doc == nullptr) {
        return std::nullopt;
    }
    return PreparePrinting(
        *doc, [&frame](CMakeDlg& dlg) { return frame.RunMakeDialog(dlg); },
        [&frame] { frame.Output()->SelectMessagesTab(); });
}

} // namespace

CMainFrame::CMainFrame(QSettings& settings, QWidget* parent)
    : QMainWindow(parent), settings_(settings), output_(new COutputWnd(this)),
      properties_(new CPropertiesWnd(this)), tabs_(new CDocTabs(this)),
      statusLabel_(new QLabel(tr("Ready"), this)) {
    setObjectName(QStringLiteral("MainFrame"));
    setWindowTitle(QStringLiteral("Kib"));
    setWindowIcon(QIcon(QStringLiteral(":/kib/kib.svg")));
    setAcceptDrops(true);
    setCentralWidget(tabs_);
    addDockWidget(Qt::BottomDockWidgetArea, output_);
    addDockWidget(Qt::RightDockWidgetArea, properties_);
    resizeDocks({output_}, {150}, Qt::Vertical);
    resizeDocks({properties_}, {400}, Qt::Horizontal);
    statusBar()->addWidget(statusLabel_, 1);

    CreateActions();
    // A run's progress with the Stop button beside it, shown while a run reports.
    auto* progress = new QProgressBar(this);
    progress->setObjectName(QStringLiteral("RunProgress"));
    progress->setMinimumWidth(260);
    progress->setTextVisible(true);
    progress->setVisible(false);
    auto* stop = new QToolButton(this);
    stop->setObjectName(QStringLiteral("RunStop"));
    stop->setDefaultAction(Action(cmd::Stop));
    stop->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    stop->setVisible(false);
    statusBar()->addPermanentWidget(progress);
    statusBar()->addPermanentWidget(stop);

    host_ = new GuiHost(this, output_, statusLabel_, progress, stop);
    ResetAppState(host_, properties_, this);

    properties_->onRejected = [this] { output_->SelectMessagesTab(); };
    properties_->onTabColourChanged = [this] {
        UpdateTabColors();
        for (int i = 0; i < tabs_->count(); ++i) {
            tabs_->widget(i)->update();
        }
    };

    CreateMenus();
    CreateToolBar();
    connect(tabs_, &QTabWidget::currentChanged, this, &CMainFrame::OnTabActivated);
    connect(tabs_, &QTabWidget::tabCloseRequested, this, [this](int tab) { CloseTab(tab); });
    UpdateCommandStates();
    resize(1200, 800);
}

CMainFrame::~CMainFrame() {
    // The documents go before the panes that show them; the core forgets this window.
    while (tabs_->count() > 0) {
        QWidget* w = tabs_->widget(0);
        tabs_->removeTab(0);
        delete w;
    }
    AppState& app = App();
    if (app.host == host_) {
        app.host = nullptr;
    }
    if (app.propertyPane == properties_) {
        app.propertyPane = nullptr;
    }
    if (app.documentObserver == static_cast<DocumentObserver*>(this)) {
        app.documentObserver = nullptr;
    }
}

// ------------------------------------------------------------------ commands

QAction* CMainFrame::AddCommand(int id, const QString& text, const QKeySequence& shortcut,
                                const QString& statusTip, void (CMainFrame::*slot)()) {
    auto* action = new QAction(text, this);
    action->setObjectName(QStringLiteral("cmd%1").arg(id));
    action->setData(id);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
    }
    action->setStatusTip(statusTip);
    if (slot != nullptr) {
        connect(action, &QAction::triggered, this, slot);
    }
    actions_[id] = action;
    addAction(action);
    return action;
}

QAction* CMainFrame::Action(int commandId) const {
    auto it = actions_.find(commandId);
    return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::CreateActions() {
    using C = CMainFrame;
    AddCommand(cmd::FileNew, tr("&New"), QKeySequence(QStringLiteral("Ctrl+N")),
               tr("Create a new document"), &C::OnFileNew);
    AddCommand(cmd::FileOpen, tr("&Open..."), QKeySequence(QStringLiteral("Ctrl+O")),
               tr("Open an existing document"), &C::OnFileOpen);
    AddCommand(cmd::FileClose, tr("&Close"), {}, tr("Close the active document"), &C::OnFileClose);
    AddCommand(cmd::FileSave, tr("&Save"), QKeySequence(QStringLiteral("Ctrl+S")),
               tr("Save the active document"), &C::OnFileSave);
    AddCommand(cmd::FileSaveAs, tr("Save &As..."), QKeySequence(QStringLiteral("Ctrl+Shift+S")),
               tr("Save the active document with a new name"), &C::OnFileSaveAs);
    AddCommand(cmd::FilePrint, tr("&Print..."), QKeySequence(QStringLiteral("Ctrl+P")),
               tr("Print the active document"), &C::OnFilePrint);
    AddCommand(cmd::FilePrintPreview, tr("Print Pre&view"), {}, tr("Display full pages"),
               &C::OnFilePrintPreview);
    AddCommand(cmd::FilePrintSetup, tr("P&rint Setup..."), {},
               tr("Change the printer and printing options"), &C::OnFilePrintSetup);
    AddCommand(cmd::AppExit, tr("E&xit"), {}, tr("Quit the application; prompts to save documents"),
               nullptr);
    connect(Action(cmd::AppExit), &QAction::triggered, this, &QWidget::close);

    AddCommand(cmd::EditUndo, tr("&Undo"), QKeySequence(QStringLiteral("Ctrl+Z")),
               tr("Undo the last action"), nullptr);
    AddCommand(cmd::EditCut, tr("Cu&t"), QKeySequence(QStringLiteral("Ctrl+X")),
               tr("Cut the selection and put it on the Clipboard"), nullptr);
    AddCommand(cmd::EditCopy, tr("&Copy"), QKeySequence(QStringLiteral("Ctrl+C")),
               tr("Copy the selection and put it on the Clipboard"), nullptr);
    AddCommand(cmd::EditPaste, tr("&Paste"), QKeySequence(QStringLiteral("Ctrl+V")),
               tr("Insert Clipboard contents"), nullptr);
    connect(Action(cmd::EditUndo), &QAction::triggered, this, [this] { ForwardEdit("undo"); });
    connect(Action(cmd::EditCut), &QAction::triggered, this, [this] { ForwardEdit("cut"); });
    connect(Action(cmd::EditCopy), &QAction::triggered, this, [this] { ForwardEdit("copy"); });
    connect(Action(cmd::EditPaste), &QAction::triggered, this, [this] { ForwardEdit("paste"); });

    AddCommand(cmd::MakeMapSvgs, tr("Make Vector &Maps..."), QKeySequence(QStringLiteral("Ctrl+M")),
               tr("Make competition maps in vector graphics (SVG)"), &C::OnMakeMapSvgs)
        ->setToolTip(tr("Make Map SVGs"));
    AddCommand(cmd::MakeMapImages, tr("Make Raster Maps..."),
               QKeySequence(QStringLiteral("Ctrl+Shift+M")),
               tr("Make competition maps as raster files (PDF, PNG...)"), &C::OnMakeMapImages)
        ->setToolTip(tr("Make Map Images"));
    AddCommand(cmd::MakeSolSvgs, tr("Make Vector Solutions..."),
               QKeySequence(QStringLiteral("Ctrl+K")),
               tr("Make solution maps in vector graphics (SVG)"), &C::OnMakeSolSvgs)
        ->setToolTip(tr("Make Sol SVGs"));
    AddCommand(cmd::MakeSolImages, tr("Make Raster Solutions..."),
               QKeySequence(QStringLiteral("Ctrl+Shift+K")),
               tr("Make solution maps as raster files (PDF, PNG...)"), &C::OnMakeSolImages)
        ->setToolTip(tr("Make Sol Images"));
    AddCommand(cmd::Stop, tr("Stop"), {}, tr("Stop execution"), &C::OnStop)->setToolTip(tr("Stop"));
    AddCommand(cmd::ViewCompetition, tr("Competition map"), {}, tr("View Competition map"),
               &C::OnViewCompetition);
    AddCommand(cmd::ViewSolution, tr("Solution map"), {}, tr("View Solution map"),
               &C::OnViewSolution);
    AddCommand(cmd::ViewMap, tr("Map..."), {},
               tr("Show the competition maps as they will print, task by task"), &C::OnViewMap);
    AddCommand(cmd::WindowNew, tr("&New Window"), {},
               tr("Open another window for the active document"), &C::OnWindowNew);
    AddCommand(cmd::AppAbout, tr("&About Kib..."), {},
               tr("Display program information, version number and copyright"), &C::OnAppAbout);

    for (auto& [id, action] : actions_) {
        action->setIcon(CommandIcon(id, style()));
    }
}

void CMainFrame::CreateMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    for (int id : {cmd::FileNew, cmd::FileOpen, cmd::FileClose, cmd::FileSave, cmd::FileSaveAs}) {
        file->addAction(Action(id));
    }
    file->addSeparator();
    for (int id : {cmd::FilePrint, cmd::FilePrintPreview, cmd::FilePrintSetup}) {
        file->addAction(Action(id));
    }
    file->addSeparator();
    for (int id : {cmd::MakeMapSvgs, cmd::MakeMapImages, cmd::MakeSolSvgs, cmd::MakeSolImages}) {
        file->addAction(Action(id));
    }
    file->addSeparator();
    recentMenu_ = file->addMenu(tr("Recent &Files"));
    file->addSeparator();
    file->addAction(Action(cmd::AppExit));
    UpdateRecentFileMenu();

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    for (int id : {cmd::EditUndo, cmd::EditCut, cmd::EditCopy, cmd::EditPaste}) {
        edit->addAction(Action(id));
    }

    QMenu* make = menuBar()->addMenu(tr("&Make"));
    for (int id : {cmd::MakeMapSvgs, cmd::MakeMapImages, cmd::MakeSolSvgs, cmd::MakeSolImages}) {
        make->addAction(Action(id));
    }
    make->addSeparator();
    make->addAction(Action(cmd::Stop));

    QMenu* view = menuBar()->addMenu(tr("&View"));
    QMenu* bars = view->addMenu(tr("&Toolbars and Docking Windows"));
    QAction* statusBarAction = view->addAction(tr("&Status Bar"));
    statusBarAction->setCheckable(true);
    statusBarAction->setChecked(true);
    connect(statusBarAction, &QAction::toggled, statusBar(), &QWidget::setVisible);
    view->addSeparator();
    view->addAction(Action(cmd::ViewCompetition));
    view->addAction(Action(cmd::ViewSolution));
    view->addAction(Action(cmd::ViewMap));
    connect(bars, &QMenu::aboutToShow, this, [this, bars] {
        bars->clear();
        bars->addAction(toolBar_->toggleViewAction());
        bars->addAction(output_->toggleViewAction());
        bars->addAction(properties_->toggleViewAction());
    });

    QMenu* window = menuBar()->addMenu(tr("&Window"));
    window->addAction(Action(cmd::WindowNew));

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(Action(cmd::AppAbout));
}

void CMainFrame::CreateToolBar() {
    toolBar_ = addToolBar(tr("Standard"));
    toolBar_->setObjectName(QStringLiteral("StandardToolBar"));
    const int layout[] = {cmd::FileNew,
                          cmd::FileOpen,
                          cmd::FileSave,
                          0,
                          cmd::EditCut,
                          cmd::EditCopy,
                          cmd::EditPaste,
                          0,
                          cmd::ViewCompetition,
                          cmd::MakeMapSvgs,
                          cmd::MakeMapImages,
                          0,
                          cmd::ViewSolution,
                          cmd::MakeSolSvgs,
                          cmd::MakeSolImages,
                          0,
                          cmd::Stop,
                          0,
                          cmd::FilePrint,
                          0,
                          cmd::AppAbout};
    for (int id : layout) {
        if (id == 0) {
            toolBar_->addSeparator();
        } else {
            toolBar_->addAction(Action(id));
        }
    }
}

void CMainFrame::ForwardEdit(const char* slot) {
    QWidget* focus = QApplication::focusWidget();
    if (auto* list = qobject_cast<COutputList*>(focus)) {
        if (QByteArray(slot) == "copy") {
            list->OnEditCopy();
        }
        return;
    }
    if (focus != nullptr) {
        QMetaObject::invokeMethod(focus, slot);
    }
}

void CMainFrame::UpdateCommandStates() {
    const bool hasDoc = ActiveDocument() != nullptr;
    for (int id :
         {cmd::FileClose, cmd::FileSave, cmd::FileSaveAs, cmd::FilePrint, cmd::FilePrintPreview,
          cmd::MakeMapSvgs, cmd::MakeMapImages, cmd::MakeSolSvgs, cmd::MakeSolImages,
          cmd::ViewCompetition, cmd::ViewSolution, cmd::ViewMap, cmd::WindowNew}) {
        Action(id)->setEnabled(hasDoc);
    }
}

// ------------------------------------------------------------------ documents

CKibView* CMainFrame::View(int tab) const {
    return qobject_cast<CKibView*>(tabs_->widget(tab));
}

CKibView* CMainFrame::ActiveView() const {
    return qobject_cast<CKibView*>(tabs_->currentWidget());
}

CKibDoc* CMainFrame::ActiveDocument() const {
    CKibView* view = ActiveView();
    return view ? view->Document() : nullptr;
}

std::vector<std::shared_ptr<CKibDoc>> CMainFrame::Documents() const {
    std::vector<std::shared_ptr<CKibDoc>> docs;
    for (int i = 0; i < tabs_->count(); ++i) {
        const auto& doc = View(i)->SharedDocument();
        if (std::find(docs.begin(), docs.end(), doc) == docs.end()) {
            docs.push_back(doc);
        }
    }
    return docs;
}

void CMainFrame::RepaintViewsOf(const CKibDoc* doc) {
    for (int i = 0; i < tabs_->count(); ++i) {
        if (View(i)->Document() == doc) {
            View(i)->update();
        }
    }
}

CKibView* CMainFrame::AddView(const std::shared_ptr<CKibDoc>& doc) {
    auto* view = new CKibView(doc, tabs_);
    view->afterPaint = [this](CKibDoc* d) { RecheckAfterActivation(d); };
    const int tab = tabs_->addTab(view, MarkedName(*doc));
    tabs_->setTabToolTip(tab, ToQt(doc->GetDisplayName()));
    tabs_->Bar()->SetTabColor(tab, TabColor(tab));
    UpdateTabColors();
    tabs_->setCurrentIndex(tab);
    return view;
}

CKibDoc* CMainFrame::OpenDocument(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (const auto& doc : Documents()) {
        if (ToQt(doc->GetPathName()) == absolute) {
            for (int i = 0; i < tabs_->count(); ++i) {
                if (View(i)->Document() == doc.get()) {
                    tabs_->setCurrentIndex(i);
                    break;
                }
            }
            return doc.get();
        }
    }
    if (!QFileInfo(absolute).isFile()) {
        ShowBox(FromQt(absolute) + "\nFile not found.", BoxIcon::Warning);
        return nullptr;
    }
    auto doc = std::make_shared<CKibDoc>();
    doc->SetTitle(FromQt(QFileInfo(absolute).fileName()));
    CKibDoc* raw = doc.get();
    const bool opened = LoadDocument(*doc, FromQt(absolute));
    // Reading the courses list and the map zoom leave their progress text behind;
    // the window is idle again once the document is open.
    SetStatusText("Ready");
    if (!opened) {
        if (properties_->Document() == raw) {
            properties_->ShowDocument(ActiveDocument()); // back to what the pane showed
        }
        return nullptr;
    }
    AddToRecentFiles(absolute);
    AddView(doc);
    return raw;
}

bool CMainFrame::SaveDocument(CKibDoc* doc, bool askName) {
    if (doc == nullptr) {
        return false;
    }
    QString path = ToQt(doc->GetPathName());
    if (askName || doc->IsNeverSaved() || doc->GetFileName().empty()) {
        path = QFileDialog::getSaveFileName(this, tr("Save As"), path, kFilter);
        if (path.isEmpty()) {
            return false;
        }
        if (!path.endsWith(QStringLiteral(".cfg"), Qt::CaseInsensitive)) {
            path += QStringLiteral(".cfg");
        }
    }
    if (!doc->OnSaveDocument(FromQt(path))) {
        return false;
    }
    App().lastDirectory = doc->GetDirectory();
    doc->SetTitle(doc->GetFileName());
    AddToRecentFiles(path);
    for (int i = 0; i < tabs_->count(); ++i) {
        if (View(i)->Document() == doc) {
            tabs_->setTabText(i, MarkedName(*doc));
            tabs_->setTabToolTip(i, ToQt(doc->GetDisplayName()));
        }
    }
    UpdateTitle();
    return true;
}

void CMainFrame::ShowModified(const CKibDoc* doc) {
    for (int i = 0; i < tabs_->count(); ++i) {
        if (View(i)->Document() == doc) {
            tabs_->setTabText(i, MarkedName(*doc));
        }
    }
    UpdateTitle();
}

bool CMainFrame::SaveModified(CKibDoc* doc) {
    if (!doc->IsModified()) {
        return true;
    }
    const BoxAnswer answer = AskYesNoCancel("Save changes to " + doc->GetPathName() + "?",
                                            BoxIcon::Question, BoxAnswer::Yes);
    if (answer == BoxAnswer::Cancel) {
        return false;
    }
    return answer == BoxAnswer::No || SaveDocument(doc, false);
}

void CMainFrame::CloseDocumentViews(const std::shared_ptr<CKibDoc>& doc) {
    for (int i = tabs_->count() - 1; i >= 0; --i) {
        if (View(i)->SharedDocument() == doc) {
            QWidget* w = tabs_->widget(i);
            tabs_->removeTab(i);
            delete w;
        }
    }
    doc->OnCloseDocument();
    if (properties_->Document() == doc.get()) {
        properties_->HideAll();
    }
}

bool CMainFrame::CloseTab(int tab) {
    CKibView* view = View(tab);
    if (view == nullptr) {
        return false;
    }
    const std::shared_ptr<CKibDoc> doc = view->SharedDocument();
    int views = 0;
    for (int i = 0; i < tabs_->count(); ++i) {
        views += View(i)->SharedDocument() == doc ? 1 : 0;
    }
    if (views > 1) {
        tabs_->removeTab(tab);
        delete view;
        return true;
    }
    // A run works on its document to the end: the document stays while one is active.
    if (IsForbiddenWhileRunning() || !SaveModified(doc.get())) {
        return false;
    }
    CloseDocumentViews(doc);
    return true;
}

// ------------------------------------------------------------------ tabs

void CMainFrame::DocumentOpened(CKibDoc&) {
    App().Log().Debug("Setting New Window Opening flag");
    newWindowFlag_ = true;
}

void CMainFrame::DocumentChanged(CKibDoc& doc) {
    RepaintViewsOf(&doc);
}

void CMainFrame::DocumentModifiedChanged(CKibDoc& doc) {
    ShowModified(&doc);
}

void CMainFrame::TabSwitched() {
    App().Log().Debug("Setting Tab Switching flag");
    tabSwitchFlag_ = true;
}

void CMainFrame::OnTabActivated(int tab) {
    UpdateCommandStates();
    UpdateTitle();
    if (tab < 0) {
        properties_->HideAll();
        return;
    }
    TabSwitched();
    UpdateTabColors();
}

void CMainFrame::RecheckAfterActivation(CKibDoc* doc) {
    if (!tabSwitchFlag_ || doc == nullptr) {
        return;
    }
    tabSwitchFlag_ = false;
    if (newWindowFlag_) {
        newWindowFlag_ = false;
        App().Log().Debug("Checking configuration after opening new window...");
        CheckLayout(*doc, true);
        return;
    }
    App().Log().Debug("Reloading Properties window");
    properties_->ShowDocument(doc);
    App().Log().Debug("Checking configuration after switching tab...");
    CheckLayout(*doc, false);
}

QColor CMainFrame::TabColor(int tab) const {
    CKibView* view = View(tab);
    const CKibCfg* cfg = view && view->Document() ? view->Document()->GetConfig() : nullptr;
    if (cfg == nullptr) {
        return Qt::white;
    }
    return ToQColor(cfg->Color(id::Event_TABCOLOR).GetColor());
}

void CMainFrame::UpdateTabColors() {
    for (int i = 0; i < tabs_->count(); ++i) {
        tabs_->Bar()->SetTabColor(i, TabColor(i));
    }
}

void CMainFrame::UpdateTitle() {
    if (RUNNING()) {
        return; // a run shows its own title
    }
    CKibDoc* doc = ActiveDocument();
    if (doc == nullptr) {
        setWindowTitle(QStringLiteral("Kib"));
        return;
    }
    const std::string& directory = doc->GetDirectory();
    setWindowTitle(QStringLiteral("Kib - ") + MarkedName(*doc) +
                   (directory.empty() ? QString() : " [" + ToQt(directory) + "]"));
}

// ------------------------------------------------------------------ recent files

QStringList CMainFrame::RecentFiles() const {
    QStringList files;
    settings_.beginGroup(kRecentGroup);
    for (int i = 1; i <= kRecentFileCount; ++i) {
        files << settings_.value(QStringLiteral("File%1").arg(i)).toString();
    }
    settings_.endGroup();
    return files;
}

void CMainFrame::AddToRecentFiles(const QString& path) {
    QStringList files = RecentFiles();
    files.removeAll(path);
    files.removeAll(QString());
    files.prepend(path);
    settings_.beginGroup(kRecentGroup);
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= files.size()) {
            settings_.setValue(key, files[i - 1]);
        } else {
            settings_.remove(key);
        }
    }
    settings_.endGroup();
    UpdateRecentFileMenu();
}

void CMainFrame::UpdateRecentFileMenu() {
    if (recentMenu_ == nullptr) {
        return;
    }
    recentMenu_->clear();
    int n = 0;
    for (const QString& file : RecentFiles()) {
        if (file.isEmpty()) {
            continue;
        }
        ++n;
        recentMenu_->addAction(QStringLiteral("&%1 %2").arg(n).arg(file), this,
                               [this, file] { OpenDocument(file); });
    }
    recentMenu_->setEnabled(n > 0);
}

// ------------------------------------------------------------------ file commands

// A configuration made from an OCAD export directory: a new document that has
// no file until it is saved.
void CMainFrame::OnFileNew() {
    auto doc = std::make_shared<CKibDoc>();
    doc->SetTitle("Kib Config File" + std::to_string(++newDocuments_));
    CKibDoc* raw = doc.get();
    const bool created = CreateDocument(*doc);
    SetStatusText("Ready");
    if (!created) {
        if (properties_->Document() == raw) {
            properties_->ShowDocument(ActiveDocument());
        }
        return;
    }
    AddView(doc);
}

void CMainFrame::OnFileOpen() {
    const QString start = ToQt(App().lastDirectory);
    const QStringList files = QFileDialog::getOpenFileNames(this, tr("Open"), start, kFilter);
    for (const QString& file : files) {
        OpenDocument(file);
    }
}

void CMainFrame::OnFileClose() {
    if (tabs_->currentIndex() >= 0) {
        CloseTab(tabs_->currentIndex());
    }
}

void CMainFrame::OnFileSave() {
    SaveDocument(ActiveDocument(), false);
}

void CMainFrame::OnFileSaveAs() {
    SaveDocument(ActiveDocument(), true);
}

void CMainFrame::OnWindowNew() {
    if (CKibView* view = ActiveView()) {
        AddView(view->SharedDocument());
    }
}

void CMainFrame::OnAppAbout() {
    CAboutDlg about(this);
    about.exec();
}

// ------------------------------------------------------------------ make and view commands

namespace {

// Where the profile keeps the Make dialog's choices of one configuration.
QString ChoicesKey(const CKibDoc& doc) {
    const QByteArray path = QByteArray::fromStdString(doc.GetPathName());
    return QStringLiteral("MakeChoices/") +
           QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex());
}

// The converter a configuration without remembered choices starts with: its
// System.CONVERTER, the built-in one when Inkscape is not installed.
Converter DefaultConverter(const CKibCfg& cfg) {
    const Converter configured = ConfiguredConverter(cfg);
    if (configured == Converter::Inkscape && BuiltInConverterAvailable() &&
        !InkscapeInstalled(cfg.Item(id::System_INKSCAPEPATH).GetValue())) {
        return Converter::BuiltIn;
    }
    return configured;
}

} // namespace

MakeDialog CMainFrame::MakeDialogFunction() {
    return [this](const MakeDialogRequest& request) -> std::optional<MakeChoice> {
        const CKibCfg* cfg = request.document ? request.document->GetConfig() : nullptr;
        if (cfg == nullptr) {
            return std::nullopt;
        }
        // The format, the converter and the combining are remembered per configuration.
        const QString key = ChoicesKey(*request.document);
        OutputFormat format = request.lastOutputFormat;
        const OutputFormat remembered = OutputFormatOfExtension(
            settings_.value(key + QStringLiteral("/format")).toString().toStdString());
        if (remembered != OutputFormat::None) {
            format = remembered;
        }
        CMakeDlg dlg(ToQt(request.title), request.showTasks, request.showFormat, *cfg, format,
                     this);
        const QVariant converter = settings_.value(key + QStringLiteral("/converter"));
        dlg.SetConverter(!converter.isValid()                ? DefaultConverter(*cfg)
                         : converter.toString() == "builtin" ? Converter::BuiltIn
                                                             : Converter::Inkscape);
        dlg.SetCombine(settings_.value(key + QStringLiteral("/combine"), false).toBool());
        if (!RunMakeDialog(dlg)) {
            return std::nullopt;
        }
        MakeChoice choice{dlg.Stations, dlg.TaskChoice, dlg.LastOutputFormat, dlg.Combine,
                          std::nullopt};
        if (request.showFormat) {
            choice.converter = dlg.ChosenConverter;
            settings_.setValue(key + QStringLiteral("/format"),
                               QString::fromLatin1(OutputFormatExtension(dlg.LastOutputFormat)));
            settings_.setValue(key + QStringLiteral("/converter"),
                               dlg.ChosenConverter == Converter::BuiltIn
                                   ? QStringLiteral("builtin")
                                   : QStringLiteral("inkscape"));
            settings_.setValue(key + QStringLiteral("/combine"), dlg.CombineBox()->isChecked());
        }
        return choice;
    };
}

// A run keeps the window responsive (the stop poll): the busy cursor says so.
template <typename Command> void CMainFrame::RunMakeCommand(Command command) {
    QApplication::setOverrideCursor(Qt::BusyCursor);
    command(ActiveDocument(), MakeDialogFunction());
    QApplication::restoreOverrideCursor();
    UpdateTitle();
}

bool CMainFrame::RunMakeDialog(CMakeDlg& dlg) {
    if (makeDialogHook) {
        return makeDialogHook(dlg);
    }
    return dlg.exec() == QDialog::Accepted;
}

void CMainFrame::OnMakeMapSvgs() {
    RunMakeCommand(kib::OnMakeMapSvgs);
}
void CMainFrame::OnMakeMapImages() {
    RunMakeCommand(kib::OnMakeMapImages);
}

void CMainFrame::OnMakeSolSvgs() {
    RunMakeCommand(kib::OnMakeSolSvgs);
}

void CMainFrame::OnMakeSolImages() {
    RunMakeCommand(kib::OnMakeSolImages);
}

void CMainFrame::OnStop() {
    kib::OnStop();
}

void CMainFrame::OnViewCompetition() {
    if (CKibDoc* doc = ActiveDocument()) {
        doc->SetMapsMode(false);
        TabSwitched();
    }
}

void CMainFrame::OnViewSolution() {
    if (CKibDoc* doc = ActiveDocument()) {
        doc->SetMapsMode(true);
        TabSwitched();
    }
}

void CMainFrame::OnViewMap() {
    CKibView* view = ActiveView();
    if (!view) {
        return;
    }
    auto* map = new CMapView(view->SharedDocument(), this);
    map->setAttribute(Qt::WA_DeleteOnClose);
    map->show();
    mapView_ = map;
}

// ------------------------------------------------------------------ printing

QPrinter& CMainFrame::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *printer_;
}

void CMainFrame::OnFilePrint() {
    CKibDoc* doc = ActiveDocument();
    const auto job = PreparePrintJob(*this, doc);
    if (!job) {
        return;
    }
    QPrinter& printer = Printer();
    printer.setFromTo(1, job->pageCount);
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, job->pageCount);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    // The margins of the printer just chosen decide whether there is a choice.
    PrintJob chosen = *job;
    const std::optional<PrintScale> scale = ChoosePrintScale(MeasureJob(printer, *doc, chosen));
    if (!scale) {
        return;
    }
    chosen.scale = *scale;
    PrintPages(printer, *doc, chosen);
}

std::optional<PrintScale> CMainFrame::ChoosePrintScale(const SheetFit& fit) {
    if (fit.fitsPaper && fit.cutMm <= 0.0) {
        return PrintScale::TrueSize;
    }
    if (printScaleHook) {
        return printScaleHook(fit);
    }
    QMessageBox box(QMessageBox::Question, QStringLiteral("Kib"), ScaleQuestion(fit),
                    QMessageBox::Cancel, this);
    QPushButton* trueScale =
        fit.fitsPaper ? box.addButton(tr("True scale (100 %)"), QMessageBox::AcceptRole) : nullptr;
    QPushButton* fitted = box.addButton(
        tr("Fit to printable area (%1 %)").arg(QString::number(100.0 * fit.fitFactor, 'f', 1)),
        QMessageBox::AcceptRole);
    box.setDefaultButton(trueScale != nullptr ? trueScale : fitted);
    box.exec();
    if (trueScale != nullptr && box.clickedButton() == trueScale) {
        return PrintScale::TrueSize;
    }
    if (box.clickedButton() == fitted) {
        return PrintScale::FitPrintable;
    }
    return std::nullopt;
}

void CMainFrame::OnFilePrintPreview() {
    CKibDoc* doc = ActiveDocument();
    auto job = PreparePrintJob(*this, doc);
    if (!job) {
        return;
    }
    // The same choice as for printing, on the printer as it is set up.
    const std::optional<PrintScale> scale = ChoosePrintScale(MeasureJob(Printer(), *doc, *job));
    if (!scale) {
        return;
    }
    job->scale = *scale;
    QPrintPreviewDialog preview(&Printer(), this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [doc, &job](QPrinter* printer) { PrintPages(*printer, *doc, *job); });
    preview.exec();
}

void CMainFrame::OnFilePrintSetup() {
    QPageSetupDialog dialog(&Printer(), this);
    dialog.exec();
}

// ------------------------------------------------------------------ closing, dropping

// Refused during a run; asks once about every document with unsaved changes,
// then remembers the open documents for the next start.
bool CMainFrame::CanClose() {
    if (IsForbiddenWhileRunning()) {
        return false;
    }
    const auto docs = Documents();
    std::vector<std::shared_ptr<CKibDoc>> lastFirst(docs.rbegin(), docs.rend());
    std::string list;
    int unsaved = 0;
    for (const auto& doc : lastFirst) {
        if (doc->IsModified()) {
            list += "\r\n    " + doc->GetDirectory() + doc->GetFileName();
            ++unsaved;
        }
    }
    if (unsaved > 0) {
        const std::string text = unsaved == 1
                                     ? "There is 1 configuration file with unsaved changes:\r\n" +
                                           list + "\r\n\r\nAre you sure to exit?"
                                     : "There are " + std::to_string(unsaved) +
                                           " configuration files with unsaved changes:\r\n" + list +
                                           "\r\n\r\nAre you sure to exit?";
        if (AskYesNo(text, BoxIcon::Warning, BoxAnswer::No) != BoxAnswer::Yes) {
            return false;
        }
    }
    int count = 0;
    for (const auto& doc : lastFirst) {
        doc->SetModifiedFlag(false);
        if (doc->IsNeverSaved()) {
            continue;
        }
        AddToRecentFiles(ToQt(doc->GetPathName()));
        ++count;
    }
    settings_.setValue(kDocsCountKey, count);
    settings_.sync();
    return true;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    if (!CanClose()) {
        event->ignore();
        return;
    }
    closing_ = true;
    for (const auto& doc : Documents()) {
        CloseDocumentViews(doc);
    }
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile() && IsConfigFile(url.toLocalFile())) {
            event->acceptProposedAction();
            return;
        }
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    OpenDroppedFiles(event->mimeData()->urls());
    event->acceptProposedAction();
}

int CMainFrame::OpenDroppedFiles(const QList<QUrl>& urls) {
    int opened = 0;
    for (const QUrl& url : urls) {
        if (url.isLocalFile() && IsConfigFile(url.toLocalFile()) &&
            OpenDocument(url.toLocalFile()) != nullptr) {
            ++opened;
        }
    }
    return opened;
}

} // namespace kib::gui
