// A Kib built without librsvg, cairo and qpdf (the Windows build): the built-in
// converter, the pictures of sheets and the combination of PDF files report that
// they are not there.
#include "app/builtin_convert.h"
#include "app/pdf_combine.h"

#include "foundation/format.h"

namespace kib {

namespace {

constexpr const char* kAbsent = "this Kib was built without the built-in converter (librsvg, "
                                "cairo and qpdf)";

} // namespace

bool BuiltInConverterAvailable() {
    return false;
}

bool DrawSheetFile(const std::string& svg, AtomicFile&, OutputFormat, int, const PngEncoding&,
                   std::vector<std::string>& errors, PixelBand*) {
    errors.push_back(Format("Cannot convert '%s': %s.", svg.c_str(), kAbsent));
    return false;
}

PngEncoding SheetPngEncoding() {
    return PngEncoding{};
}

PngEncoding LibpngDefaultEncoding() {
    return PngEncoding{PngEncoding::Filter::LibpngChoice, -1, PngEncoding::Strategy::LibpngChoice};
}

bool RenderPngInBands(const std::string& svg, const std::string& target, int dpi, int,
                      const PngEncoding&) {
    return RenderSheet(svg, target, OutputFormat::Png, dpi);
}

PngEncoding PicturePngEncoding() {
    return PngEncoding{};
}

bool RenderSheetPngs(const std::string&, std::vector<PicturePng>& pictures, bool,
                     const std::string*, const PictureCommit&) {
    for (PicturePng& picture : pictures) {
        picture.error = kAbsent;
    }
    return pictures.empty();
}

bool RenderSheetPng(const std::string&, const std::string&, int, std::string& error, bool) {
    error = kAbsent;
    return false;
}

bool RenderSheetPicture(const std::string&, int, bool, SheetPicture&, std::string& error) {
    error = kAbsent;
    return false;
}

bool CombinePdfFiles(const std::vector<std::string>&, const std::string&, std::string& error) {
    error = kAbsent;
    return false;
}

} // namespace kib
