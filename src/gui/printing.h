// Printing of the competition maps: one PNG file (made before by the raster
// Make command) per page, at its true size centred on the paper.
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

struct PrintJob {
    std::string printDir;
    MakeChoice choice; // its stations and task
    int canvasesPerSheet = 0;
    int pageCount = 0;
    int dpi = 0; // Target.DPI: the pixels per inch of the PNG sheets
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
// on the paper, or, when that does not fit the printable area, scaled down
// uniformly until it does. Without a resolution (dpi below 1) the image is
// fitted to the printable area.
SheetPlacement PlaceSheet(QSize pixels, int dpi, QSizeF deviceDpi, const QRectF& paper,
                          const QRectF& printable);

// Draws one PNG file of dpi pixels per inch on the page of the painter's device
// (paper and printable area in its coordinates), white as transparent; a sheet
// scaled down to fit is reported with its factor. False when the file cannot be
// loaded.
bool DrawPageImage(QPainter& painter, const QRectF& paper, const QRectF& printable, int dpi,
                   const QString& file);

} // namespace kib::gui
