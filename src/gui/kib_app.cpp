#include "gui/kib_app.h"

#include "foundation/app_state.h"
#include "foundation/atomic_file.h"
#include "foundation/log.h"
#include "gui/main_frame.h"

#include <QDir>
#include <QSettings>

#include <algorithm>
#include <ostream>
#include <sstream>

namespace kib::gui {

namespace {

const char* const kHint =
    "If you have an old configuration file, just Open it.\nOtherwise export SVG (or also Courses "
    "XML) from OCAD to a directory, select menu File->New and choose this directory.";

void Journal(std::ostream& journal, const std::string& text) {
    journal << text;
    journal.flush();
}

// The journal's text, written whole as a new file at every flush: each step of
// the start-up is on the disk before the next one begins, and a file planted at
// the journal's name in the shared temporary folder is replaced, never written
// through.
class JournalBuffer : public std::stringbuf {
  public:
    explicit JournalBuffer(std::string path) : path_(std::move(path)) {}

  protected:
    int sync() override {
        std::string reason;
        WriteWholeFile(path_, str(), reason);
        return 0;
    }

  private:
    std::string path_;
};

} // namespace

QString JournalPath() {
    return QDir::tempPath() + QStringLiteral("/KIB1.TMP");
}

int RestoreLastSession(CMainFrame& frame, QSettings& settings, std::ostream& journal) {
    Journal(journal, "Getting Number of Files...\n");
    int n = settings.value(QStringLiteral("LastSession/DocsCount"), 0).toInt();
    Journal(journal, "Opening " + std::to_string(n) + " files...\n");
    const QStringList recent = frame.RecentFiles();
    if (n <= 0) {
        const QString first = recent.value(0);
        Journal(journal, "Found file #0 (" + first.toStdString() + ")\n");
        if (first.isEmpty()) {
            ShowBox(kHint, BoxIcon::None);
        }
        return 0;
    }
    n = std::min(n, kRecentFileCount);
    int count = 0;
    for (int i = 0; i < n; ++i) {
        const QString path = recent.value(i);
        Journal(journal, "Found file #" + std::to_string(i) + " (" + path.toStdString() + ")\n");
        if (!path.isEmpty()) {
            ++count;
            frame.OpenDocument(path);
        }
    }
    if (count == 0) {
        ShowBox(kHint, BoxIcon::None);
    }
    return count;
}

CKibApp::CKibApp(QSettings& settings) : settings_(settings) {}

CKibApp::~CKibApp() = default;

bool CKibApp::InitInstance(const QStringList& files) {
    JournalBuffer buffer(JournalPath().toStdString());
    std::ostream journal(&buffer);
    Journal(journal, "InitInstance started\n");
    const int look =
        settings_.value(QStringLiteral("ApplicationLook"), kDefaultApplicationLook).toInt();
    settings_.setValue(QStringLiteral("ApplicationLook"), look);
    Journal(journal, "Profile Setting Loaded\n");

    frame_ = std::make_unique<CMainFrame>(settings_);
    if (prepareFrame) {
        prepareFrame(*frame_);
    }
    Journal(journal, "Command Line Parsed\n");
    CKibDoc* first = nullptr;
    for (qsizetype i = 0; i < files.size(); ++i) {
        CKibDoc* doc = frame_->OpenDocument(files[i]);
        if (i == 0) {
            first = doc;
        }
    }
    frame_->show();
    Journal(journal, "Checking Parameters...\n");
    if (!files.isEmpty()) {
        // The first file's tab comes to the front; a file that could not be
        // loaded has said so once and is not read again.
        if (first != nullptr) {
            frame_->OpenDocument(files.first());
        }
    } else {
        RestoreLastSession(*frame_, settings_, journal);
    }
    Journal(journal, "InitInstance Completed\n");
    return true;
}

} // namespace kib::gui
