// Printing of the competition maps: one PNG file (made before by the raster
// Make command) per page, stretched over the printable area of the page.
#pragma once

#include "gui/print_pages.h"

#include <QRect>
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

// Draws one PNG file over the whole printable area, white as transparent.
// False when the file cannot be loaded.
bool DrawPageImage(QPainter& painter, const QRect& area, const QString& file);

} // namespace kib::gui
