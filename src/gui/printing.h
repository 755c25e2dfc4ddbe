// Printing of the competition maps: one PNG file (made before by the raster
// Make command) per page, at its true size centred on the paper, or fitted to
// the printable area when the user chooses so (or the sheet is larger than the
// paper).
#pragma once

#include "gui/print_pages.h"

#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPainter;
class QPrinter;

namespace kib {
class CKibDoc;
}

namespace kib::gui {

class CMakeDlg;

// How a sheet is printed: at its true size, the map's scale (what the printer's
// margins reach is not printed), or scaled down to the printable area.
enum class PrintScale { TrueSize, FitPrintable };

struct PrintJob {
    std::string printDir;
    MakeChoice choice; // its stations and task
    int canvasesPerSheet = 0;
    int pageCount = 0;
    int dpi = 0; // Target.DPI: the pixels per inch of the PNG sheets
    PrintScale scale = PrintScale::TrueSize;
};

// Asks which maps to print and checks that every page's file exists; none
// (after its messages) when nothing is to be printed. runDialog shows the Make
// dialog and answers whether the user confirmed it; showMessages brings the
// Messages tab to the front.
std::optional<PrintJob> PreparePrinting(CKibDoc& doc,
                                        const std::function<bool(CMakeDlg&)>& runDialog,
                                        const std::function<void()>& showMessages);

// The page numbers a print job asks for: its range, or every page.
std::vector<int> PagesToPrint(int fromPage, int toPage, int pageCount);

// Prints the pages the printer's range asks for, each page the file of its own
// page number; returns the files in the order printed.
std::vector<std::string> PrintPages(QPrinter& printer, const CKibDoc& doc, const PrintJob& job);

// Where a sheet image lands on a page, in the painter's device pixels.
struct SheetPlacement {
    QRectF target;
    double factor = 1.0; // 1 at true size, below 1 when scaled down to the printable area
};

// The place of an image of the pixels, made at dpi pixels per inch, on a device
// of deviceDpi with the paper and its printable area: at its true size centred
// on the paper. TrueSize keeps it so when it fits the paper, whatever the
// margins cut off; FitPrintable keeps it so only when it fits the printable area
// (within half a millimetre). Otherwise it is scaled down uniformly until it
// fits the printable area. Without a resolution (dpi below 1) the image is
// fitted to the printable area.
SheetPlacement PlaceSheet(QSize pixels, int dpi, QSizeF deviceDpi, const QRectF& paper,
                          const QRectF& printable, PrintScale scale);

// What the paper and the printer's margins do to sheets at their true size.
struct SheetFit {
    bool fitsPaper = true;  // every sheet at its true size fits the paper
    double cutMm = 0.0;     // how far the margins reach into a sheet at most (0: nowhere)
    double fitFactor = 1.0; // the size, as a factor, at which every sheet fits the printable area
};
SheetFit MeasureSheet(QSize pixels, int dpi, QSizeF deviceDpi, const QRectF& paper,
                      const QRectF& printable);
// The same for every page of a job on the printer as it is set up now.
SheetFit MeasureJob(const QPrinter& printer, const CKibDoc& doc, const PrintJob& job);

// The question before printing when the sheets do not fit the printable area at
// their true size: how far the margins cut in, and the two choices with their sizes.
QString ScaleQuestion(const SheetFit& fit);

// Draws one PNG file of dpi pixels per inch on the page of the painter's device
// (paper and printable area in its coordinates), white as transparent; a sheet
// scaled down to fit is reported with its factor, a sheet whose edges the
// margins cut off with how far. False when the file cannot be loaded.
bool DrawPageImage(QPainter& painter, const QRectF& paper, const QRectF& printable, int dpi,
                   const QString& file, PrintScale scale = PrintScale::TrueSize);

} // namespace kib::gui
