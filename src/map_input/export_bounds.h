// What a map export may hold before anything draws it. Its lines go into every
// sheet, and every converter parses the sheets as XML: elements nested thousands
// deep overflow a drawing's stack, a few entity declarations expand to gigabytes,
// and XInclude makes the drawing read other files (a key in a home folder, the
// event's configuration) onto the map. The bounds are checked on the XML as a
// parser sees it, character references decoded and internal entities expanded,
// so that no spelling hides what a parser would find.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace kib {

struct ExportLimits {
    // Elements inside elements, the svg element counted: OCAD's exports nest
    // about ten deep, the sheets add a few levels, and librsvg refuses a
    // document nested deeper than 256.
    int depth = 200;
    // The text one internal entity expands to (OCAD declares a line style or
    // two of a few dozen bytes).
    std::size_t entityBytes = std::size_t{64} << 10;
    // What all entity references of the export expand to together: this, and
    // expansionPerByte times the bytes of the export before the reference (an
    // export may refer to its line style from every object; a bomb expands a
    // few declarations a million times).
    std::size_t expansionBytes = std::size_t{16} << 20;
    std::size_t expansionPerByte = 4;
};

// Takes an export line by line and tells when it breaks a bound.
class ExportBounds {
  public:
    explicit ExportBounds(const ExportLimits& limits = {});
    ~ExportBounds();
    ExportBounds(const ExportBounds&) = delete;
    ExportBounds& operator=(const ExportBounds&) = delete;

    // Takes the next line of the export (without its line end). False once the
    // export breaks a bound: Problem() says which, with the limit ("nests
    // elements deeper than 200 levels"), and Line() the line it was found on.
    bool Feed(std::string_view line);
    const std::string& Problem() const;
    int Line() const;

  private:
    struct Scan;
    std::unique_ptr<Scan> scan_;
};

} // namespace kib
