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

// The paper and its printable area in the painter's coordinates, whose origin
// is the top left of the printable area unless the printer prints the full page.
void PageAreas(const QPrinter& printer, QRectF& paper, QRectF& printable) {
    const QRectF paperPx = printer.paperRect(QPrinter::DevicePixel);
    const QRectF pagePx = printer.pageRect(QPrinter::DevicePixel);
    const QPointF origin = printer.fullPage() ? paperPx.topLeft() : pagePx.topLeft();
    paper = paperPx.translated(-origin);
    printable = pagePx.translated(-origin);
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
            App().Log().Warning("Number of tasks undefined for station %d", n);
            ok = false;
        }
    }
    const std::vector<std::string> files =
        PageFiles(*cfg, job.printDir, job.canvasesPerSheet, job.choice);
    for (const std::string& file : files) {
        if (!FileExists(file)) {
            App().Log().Error("File %s does not exist!", file.c_str());
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

namespace {

// A sheet keeps its true size when it passes the area by half a millimetre at
// most: a sheet of the paper's size stays at its scale though the printer rounds
// the paper, and loses no more than its blank outermost edge.
constexpr double kSlackMm = 0.5;

QSizeF TrueSize(QSize pixels, int dpi, QSizeF deviceDpi) {
    return QSizeF(pixels.width() * deviceDpi.width() / std::max(dpi, 1),
                  pixels.height() * deviceDpi.height() / std::max(dpi, 1));
}

// Whether a size centred at centre stays inside area, half a millimetre spared.
bool FitsAround(QSizeF size, QPointF centre, const QRectF& area, QSizeF deviceDpi) {
    const double halfW = std::min(centre.x() - area.left(), area.right() - centre.x());
    const double halfH = std::min(centre.y() - area.top(), area.bottom() - centre.y());
    const double slackX = kSlackMm * deviceDpi.width() / 25.4;
    const double slackY = kSlackMm * deviceDpi.height() / 25.4;
    return 2.0 * (halfW + slackX) >= size.width() && 2.0 * (halfH + slackY) >= size.height();
}

// The centre of a sheet: the paper's, unless that lies off the printable area.
QPointF SheetCentre(const QRectF& paper, const QRectF& printable) {
    const QPointF centre = paper.center();
    return printable.contains(centre) ? centre : printable.center();
}

// The factor that fits a size centred at centre into the printable area.
double FitFactor(QSizeF size, QPointF centre, const QRectF& printable) {
    const double halfW = std::min(centre.x() - printable.left(), printable.right() - centre.x());
    const double halfH = std::min(centre.y() - printable.top(), printable.bottom() - centre.y());
    return std::min(2.0 * halfW / size.width(), 2.0 * halfH / size.height());
}

} // namespace

SheetPlacement PlaceSheet(QSize pixels, int dpi, QSizeF deviceDpi, const QRectF& paper,
                          const QRectF& printable, PrintScale scale) {
    SheetPlacement placement;
    if (pixels.isEmpty() || printable.isEmpty()) {
        placement.target = printable;
        return placement;
    }
    QSizeF size = TrueSize(pixels, dpi, deviceDpi);
    const QPointF centre = SheetCentre(paper, printable);
    const bool keep = dpi >= 1 && (scale == PrintScale::TrueSize
                                       ? FitsAround(size, paper.center(), paper, deviceDpi)
                                       : FitsAround(size, centre, printable, deviceDpi));
    const QPointF at = keep && scale == PrintScale::TrueSize ? paper.center() : centre;
    placement.factor = keep ? 1.0 : FitFactor(size, centre, printable);
    size *= placement.factor;
    placement.target = QRectF(at.x() - size.width() / 2.0, at.y() - size.height() / 2.0,
                              size.width(), size.height());
    return placement;
}

SheetFit MeasureSheet(QSize pixels, int dpi, QSizeF deviceDpi, const QRectF& paper,
                      const QRectF& printable) {
    SheetFit fit;
    if (pixels.isEmpty() || printable.isEmpty()) {
        return fit;
    }
    const QSizeF size = TrueSize(pixels, dpi, deviceDpi);
    fit.fitsPaper = dpi >= 1 && FitsAround(size, paper.center(), paper, deviceDpi);
    const QRectF sheet(paper.center().x() - size.width() / 2.0,
                       paper.center().y() - size.height() / 2.0, size.width(), size.height());
    const double cutX =
        std::max({0.0, printable.left() - sheet.left(), sheet.right() - printable.right()});
    const double cutY =
        std::max({0.0, printable.top() - sheet.top(), sheet.bottom() - printable.bottom()});
    const double cut = std::max(cutX * 25.4 / deviceDpi.width(), cutY * 25.4 / deviceDpi.height());
    fit.cutMm = cut > kSlackMm ? cut : 0.0;
    const QPointF centre = SheetCentre(paper, printable);
    fit.fitFactor = dpi >= 1 && FitsAround(size, centre, printable, deviceDpi)
                        ? 1.0
                        : FitFactor(size, centre, printable);
    return fit;
}

QString ScaleQuestion(const SheetFit& fit) {
    const QString fitted = QString::number(100.0 * fit.fitFactor, 'f', 1);
    if (!fit.fitsPaper) {
        return QStringLiteral("The sheets are larger than the paper: they can only be printed "
                              "fitted to the printable area, at %1 % of their size (the map's "
                              "scale is lost).")
            .arg(fitted);
    }
    return QStringLiteral("The printer's margins cut up to %1 mm into the sheets at their true "
                          "size.\n\nTrue scale (100 %): the map's scale is kept; the outermost "
                          "%1 mm of the sheets is not printed.\nFit to printable area (%2 %): "
                          "the whole sheet, but not at the map's scale.")
        .arg(QString::number(fit.cutMm, 'f', 1), fitted);
}

bool DrawPageImage(QPainter& painter, const QRectF& paper, const QRectF& printable, int dpi,
                   const QString& file, PrintScale scale) {
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
    const QSizeF deviceDpi(device->logicalDpiX(), device->logicalDpiY());
    const SheetPlacement placement =
        PlaceSheet(image.size(), dpi, deviceDpi, paper, printable, scale);
    if (dpi < 1 || placement.factor < 1.0) {
        App().Log().Warning("%s does not fit the printable area: printed at %.1f %% of its "
                            "size, not at the map's scale.",
                            FromQt(file).c_str(), 100.0 * placement.factor);
    } else {
        const SheetFit fit = MeasureSheet(image.size(), dpi, deviceDpi, paper, printable);
        if (fit.cutMm > 0.0) {
            App().Log().Info(
                "%s printed at its true size; the printer's margins cut up to %.1f mm off "
                "its edges.",
                FromQt(file).c_str(), fit.cutMm);
        }
    }
    painter.drawImage(placement.target, image);
    return true;
}

SheetFit MeasureJob(const QPrinter& printer, const CKibDoc& doc, const PrintJob& job) {
    SheetFit all;
    const CKibCfg* cfg = doc.GetConfig();
    if (cfg == nullptr) {
        return all;
    }
    QRectF paper;
    QRectF printable;
    PageAreas(printer, paper, printable);
    const QSizeF deviceDpi(printer.logicalDpiX(), printer.logicalDpiY());
    for (const std::string& file :
         PageFiles(*cfg, job.printDir, job.canvasesPerSheet, job.choice)) {
        // The size from the file's header: no image is loaded.
        const QSize pixels = QImageReader(ToQt(file)).size();
        const SheetFit fit = MeasureSheet(pixels, job.dpi, deviceDpi, paper, printable);
        all.fitsPaper = all.fitsPaper && fit.fitsPaper;
        all.cutMm = std::max(all.cutMm, fit.cutMm);
        all.fitFactor = std::min(all.fitFactor, fit.fitFactor);
    }
    return all;
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
    QRectF paper;
    QRectF printable;
    PageAreas(printer, paper, printable);
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
        if (!DrawPageImage(painter, paper, printable, job.dpi, ToQt(file), job.scale)) {
            App().Log().Error("Cannot load image file %s for printing.", file.c_str());
        }
        printed.push_back(file);
    }
    if (painter.isActive()) {
        painter.end();
    }
    return printed;
}

} // namespace kib::gui
