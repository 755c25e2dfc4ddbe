// The built-in converter: SVG sheets drawn into PDF, PS, EPS or PNG files in
// this process with librsvg and cairo, at the page size and resolution of the
// Inkscape route, under the same rules for file times, temporary names and the
// replacement of the target.
#pragma once

#include "app/converter.h"
#include "app/inkscape.h"
#include "foundation/atomic_file.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kib {

// Whether this Kib has the built-in converter and renderer: builds without
// librsvg, cairo and qpdf (the Windows build) convert with Inkscape only, make
// no pictures of sheets and combine no PDF files.
bool BuiltInConverterAvailable();

// System.CONVERTER: "Builtin" (any value beginning with B) chooses the built-in
// converter, anything else Inkscape.
Converter ConfiguredConverter(const CKibCfg& cfg);

// The converter a raster command uses: the wanted one, or the built-in one with
// one info line when Inkscape is wanted but not installed (not found in
// System.INKSCAPEPATH nor on PATH). With Inkscape, false after DetectInkscape's
// error when its version cannot be told.
bool PrepareConverter(const CKibCfg& cfg, Converter wanted, Converter& used);

// Draws the SVG file into the file `target` in the format (the whole page for
// PDF, PS and EPS, at 72 points to the inch; PNG at dpi pixels to the inch, the
// page size rounded to whole pixels), through AtomicFile: the target is replaced
// only by a drawing that completed. False after an error line.
bool RenderSheet(const std::string& svg, const std::string& target, OutputFormat format, int dpi);

// The memory of a PNG drawing's band of pixels, kept by the thread that draws
// from one sheet to the next: the band is taken from the system once per
// conversion, not once per sheet, where the allocator could place a new band
// beside the old one's room (two bands resident) and each fresh band costs its
// pages' first touches.
class PixelBand {
  public:
    // At least bytes of memory, the band's contents undefined.
    unsigned char* Take(std::size_t bytes) {
        if (bytes > size_) {
            data_.reset();
            data_ = std::make_unique_for_overwrite<unsigned char[]>(bytes);
            size_ = bytes;
        }
        return data_.get();
    }

  private:
    std::unique_ptr<unsigned char[]> data_;
    std::size_t size_ = 0;
};

struct PngEncoding;
// RenderSheet for a worker thread: it logs nothing and touches no application
// state; its error lines are added to errors, for the main thread to log. Each
// call has its own librsvg handle and cairo surface; a PNG band is drawn in the
// thread's band when one is given. The file is written into target's temporary
// file through the descriptor target holds, never opened again by its name.
bool DrawSheetFile(const std::string& svg, AtomicFile& target, OutputFormat format, int dpi,
                   const PngEncoding& encoding, std::vector<std::string>& errors,
                   PixelBand* band = nullptr);

// How the rows of a PNG file are compressed: libpng's row filter and zlib's
// level and strategy. The sheets are wide areas of few colours, for which the
// filters that libpng tries on every row by default cost more time than they
// save bytes.
struct PngEncoding {
    enum class Filter { LibpngChoice, None, Sub, Up, Paeth };
    enum class Strategy { LibpngChoice, Default, Filtered, Rle };
    Filter filter = Filter::None;
    int zlibLevel = 6; // 1 (fastest) .. 9 (smallest); -1 libpng's default
    Strategy strategy = Strategy::LibpngChoice;
};
// What the converter writes its PNG files with (the benchmark's best for the
// sheets), and libpng's own defaults.
PngEncoding SheetPngEncoding();
PngEncoding LibpngDefaultEncoding();
// What the pictures of sheets (proof page) are written with.
PngEncoding PicturePngEncoding();

// The largest band of rows of a PNG file that one drawing holds in memory. The
// band's joins decide pixels at them, so this size is fixed: a file's pixels do
// not depend on how many sheets are drawn at once.
inline constexpr std::size_t kPngBandBytes = 32u << 20;

// RenderSheet's PNG route with bands of bandRows rows (0: as many as fit in
// 32 MB) and the encoding, for the tests of the band joins and the benchmarks.
bool RenderPngInBands(const std::string& svg, const std::string& target, int dpi, int bandRows,
                      const PngEncoding& encoding = SheetPngEncoding());

// Converts base + ".svg" like ConvertWithInkscape does, with the built-in
// converter: skipped (true) when the target is newer than its SVG; else drawn
// into the temporary file, which then replaces the target only when complete.
bool ConvertBuiltIn(const std::string& base, OutputFormat format, int dpi, bool zSuffix);

// One sheet drawn by the built-in converter, possibly on a worker thread, with
// everything the thread that reports it needs: the lines to log, whether it was
// skipped for its file times, and its temporary file to check and place.
struct SheetDrawing {
    bool known = false; // the output format is known (else only errors)
    ConversionFiles files;
    std::vector<std::string> notes;   // debug lines (file times that could not be read)
    bool skipped = false;             // the target is newer than its SVG
    std::unique_ptr<AtomicFile> file; // the temporary file, when it could be made
    std::vector<std::string> errors;  // error lines of the drawing
    bool drawn = false;
    long long millis = 0; // how long the drawing took
};

// Draws base + ".svg" into its temporary file (SheetDrawing above): logs
// nothing and touches no application state, so that it may run on a worker.
SheetDrawing DrawSheet(const std::string& base, OutputFormat format, int dpi, bool zSuffix,
                       const PngEncoding& encoding, PixelBand* band = nullptr);

// On the thread that reports: logs what the drawing gathered, in the order
// ConvertBuiltIn logs it, and places its file (PlaceDrawnFile). True when the
// target is up to date or was replaced.
bool ReportDrawing(SheetDrawing& drawing);

// Moves a drawn temporary file onto the target when it was drawn completely
// and is not empty; otherwise deletes it and reports why, leaving an old target
// as it was. The one place where a built-in conversion's file is judged.
bool PlaceDrawnFile(const ConversionFiles& files, AtomicFile& file, bool drawn);

// Pictures of written sheets for the organiser's checks (the proof page, the
// map view), drawn by the converter's own renderer, so that they show the sheet
// as it prints: the texts on their baselines, on white, in bands of rows.

// Renders the sheet widthPx pixels wide and as high as its page ratio asks into
// a PNG file, written under a temporary name and renamed into place, so a failed
// render leaves no partial file. With drawnPartOnly the picture shows only the
// part of the page that is drawn on (a canvas at the top of an otherwise empty
// sheet), widthPx wide. False with the reason in error when the sheet cannot be
// read or the picture cannot be written.
bool RenderSheetPng(const std::string& svgPath, const std::string& pngPath, int widthPx,
                    std::string& error, bool drawnPartOnly = false);

// One picture of a sheet: its PNG file, its width in pixels, and why it could
// not be made (empty when it was).
struct PicturePng {
    std::string png;
    int widthPx = 0;
    std::string error;
};

// Renders the sheet once, at the width of the first picture, and writes every
// picture from that one drawing: the first as drawn, each other one shrunk from
// it (each pixel the mean of the area it covers; as high as the page ratio
// asks), every file replaced only when written whole, as RenderSheetPng does.
// Logs nothing, so that it may run on a worker. False when any picture failed,
// with the reason in its error. With composed (the text a run is putting in
// place at svgPath), that text is drawn instead of the file's: the pictures of
// a sheet are made while its file waits for the run's other sheets. With
// commit, each finished picture file goes to it instead of being put in place
// at once (AtomicFile::Commit): a caller gathers the pictures of many sheets in
// one AtomicBatch. commit returns false, the file's Reason saying why, when it
// does not take the file.
using PictureCommit = std::function<bool(AtomicFile& file, const AtomicFile::Check& check)>;
bool RenderSheetPngs(const std::string& svgPath, std::vector<PicturePng>& pictures,
                     bool drawnPartOnly, const std::string* composed = nullptr,
                     const PictureCommit& commit = {});

// A rendered sheet in memory: width × height pixels, rows top down, each pixel
// 0xRRGGBB (the top byte unused), for a window to show.
struct SheetPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Renders the sheet as RenderSheetPng does, into memory.
bool RenderSheetPicture(const std::string& svgPath, int widthPx, bool drawnPartOnly,
                        SheetPicture& picture, std::string& error);

} // namespace kib
