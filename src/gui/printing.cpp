#include "gui/printing.h"

#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/log.h"
#include "gui/make_dlg.h"
#include "gui/qt_text.h"
#include "sheet/run_stations.h"
#include "sheet/sheet_output.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPrinter>

#include <sys/stat.h>

namespace kib::gui {

namespace {

constexpr int kImageLimitMb = 2048;

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

std::optional<PrintJob> PreparePrinting(CKibDoc& doc,
                                        const std::function<bool(CMakeDlg&)>& runDialog,
                                        const std::function<void()>& showMessages) {
    const CKibCfg* cfg = doc.GetConfig();
    if (cfg == nullptr) {
        return std::nullopt;
    }
    PrintJob job;
    job.printDir = SheetDirectory(doc); // the PNG files lie beside their sheets
    if (doc.GetMapsMode()) {
        ShowBox("Direct printing of solution maps is not implemented yet", BoxIcon::Warning);
        return std::nullopt;
    }
    CMakeDlg dlg(QStringLiteral("Print Competition Maps"), true, false, *cfg, OutputFormat::None);
    if (!runDialog(dlg)) {
        return std::nullopt;
    }
    job.choice.stationMask = dlg.StationMask;
    job.choice.taskChoice = dlg.TaskChoice;
    job.canvasesPerSheet = doc.canvasesPerSheet;

    bool ok = true;
    for (int n : SelectedStations(*cfg, job.choice.stationMask)) {
        if (cfg->GetTasks(n) == 0) {
            LogWarning("[= WARNING =] Number of tasks undefined for station %d", n);
            ok = false;
        }
    }
    const std::vector<std::string> files =
        PageFiles(*cfg, job.printDir, job.canvasesPerSheet, job.choice);
    for (const std::string& file : files) {
        if (!FileExists(file)) {
            LogError("[** ERROR **] File %s does not exist!", file.c_str());
            ok = false;
        }
    }
    job.pageCount = static_cast<int>(files.size());
    if (!ok) {
        if (showMessages) {
            showMessages();
        }
        ShowBox("PNG files for printing not found! Have you created them?", BoxIcon::Error);
        return std::nullopt;
    }
    return job;
}

std::vector<int> PagesToPrint(int fromPage, int toPage, int pageCount) {
    if (fromPage <= 0 && toPage <= 0) {
        fromPage = 1;
        toPage = pageCount;
    }
    std::vector<int> pages;
    for (int k = std::max(fromPage, 1); k <= std::min(toPage, pageCount); ++k) {
        pages.push_back(k);
    }
    return pages;
}

bool DrawPageImage(QPainter& painter, const QRect& area, const QString& file) {
    // A PNG sheet at 600 dpi is larger than Qt's default limit for images.
    QImageReader::setAllocationLimit(kImageLimitMb);
    App().GetHost().SetWaitCursor(true);
    QImage image(file);
    App().GetHost().SetWaitCursor(false);
    if (image.isNull()) {
        return false;
    }
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0x00FFFFFFu) == 0x00FFFFFFu) {
                line[x] = 0;
            }
        }
    }
    painter.drawImage(area, image);
    return true;
}

std::vector<std::string> PrintPages(QPrinter& printer, const CKibDoc& doc, const PrintJob& job) {
    std::vector<std::string> printed;
    const CKibCfg* cfg = doc.GetConfig();
    if (cfg == nullptr) {
        return printed;
    }
    const bool ranged = printer.printRange() == QPrinter::PageRange;
    const std::vector<int> pages =
        PagesToPrint(ranged ? printer.fromPage() : 0, ranged ? printer.toPage() : 0, job.pageCount);
    QPainter painter;
    for (int k : pages) {
        if (printed.empty()) {
            if (!painter.begin(&printer)) {
                return printed;
            }
        } else {
            printer.newPage();
        }
        const std::string file =
            PageFileName(*cfg, job.printDir, job.canvasesPerSheet, job.choice, k);
        const QRect area(0, 0, printer.width(), printer.height());
        if (!DrawPageImage(painter, area, ToQt(file))) {
            LogError("[** ERROR **] Cannot load image file %s for printing.", file.c_str());
        }
        printed.push_back(file);
    }
    if (painter.isActive()) {
        painter.end();
    }
    return printed;
}

} // namespace kib::gui
