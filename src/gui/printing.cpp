#include "gui/printing.h"

#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/log.h"
#include "gui/make_dlg.h"
#include "gui/qt_text.h"
#include "platform/files.h"
#include "sheet/sheet_output.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace kib::gui {

namespace {

constexpr int kImageLimitMb = 2048;

bool FileExists(const std::string& path) {
    return platform::KindOf(path) == platform::FileKind::Regular;
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
    job.choice.stations = dlg.Stations;
    job.choice.taskChoice = dlg.TaskChoice;
    job.canvasesPerSheet = doc.canvasesPerSheet;
    job.dpi = cfg->Item(id::Target_DPI).GetInt();

    bool ok = true;
    for (int n : job.choice.stations.Chosen(*cfg)) {
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

SheetPlacement PlaceSheet(QSize pixels, int dpi, QSizeF deviceDpi, const QRectF& paper,
                          const QRectF& printable) {
    SheetPlacement placement;
    if (pixels.isEmpty() || printable.isEmpty()) {
        placement.target = printable;
        return placement;
    }
    QSizeF size(pixels.width() * deviceDpi.width() / std::max(dpi, 1),
                pixels.height() * deviceDpi.height() / std::max(dpi, 1));
    QPointF centre = paper.center();
    if (!printable.contains(centre)) {
        centre = printable.center();
    }
    // The half extents around the centre that stay on the printable area.
    const double halfW = std::min(centre.x() - printable.left(), printable.right() - centre.x());
    const double halfH = std::min(centre.y() - printable.top(), printable.bottom() - centre.y());
    // A sheet keeps its true size when it passes them by half a millimetre at
    // most: a sheet of the paper's size stays at its scale though the printer
    // rounds the paper, and loses no more than its blank outermost edge.
    const double slackX = 0.5 * deviceDpi.width() / 25.4;
    const double slackY = 0.5 * deviceDpi.height() / 25.4;
    double factor = 1.0;
    if (dpi < 1 || 2.0 * (halfW + slackX) < size.width() ||
        2.0 * (halfH + slackY) < size.height()) {
        factor = std::min(2.0 * halfW / size.width(), 2.0 * halfH / size.height());
    }
    placement.factor = factor;
    size *= factor;
    placement.target = QRectF(centre.x() - size.width() / 2.0, centre.y() - size.height() / 2.0,
                              size.width(), size.height());
    return placement;
}

bool DrawPageImage(QPainter& painter, const QRectF& paper, const QRectF& printable, int dpi,
                   const QString& file) {
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
    const QPaintDevice* device = painter.device();
    const SheetPlacement placement = PlaceSheet(
        image.size(), dpi, QSizeF(device->logicalDpiX(), device->logicalDpiY()), paper, printable);
    if (dpi < 1 || placement.factor < 1.0) {
        LogWarning("[= WARNING =] %s does not fit the printable area: printed at %.1f %% of its "
                   "size, not at the map's scale.",
                   FromQt(file).c_str(), 100.0 * placement.factor);
    }
    painter.drawImage(placement.target, image);
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
    // The paper and its printable area in the painter's coordinates, whose origin
    // is the top left of the printable area unless the printer prints the full page.
    const QRectF paperPx = printer.paperRect(QPrinter::DevicePixel);
    const QRectF pagePx = printer.pageRect(QPrinter::DevicePixel);
    const QPointF origin = printer.fullPage() ? paperPx.topLeft() : pagePx.topLeft();
    const QRectF paper = paperPx.translated(-origin);
    const QRectF printable = pagePx.translated(-origin);
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
        if (!DrawPageImage(painter, paper, printable, job.dpi, ToQt(file))) {
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
