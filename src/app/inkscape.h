// Conversion of SVG sheets into PDF, PS, EPS or PNG files by Inkscape's command
// line: finding Inkscape and its dialect, the argument string, one conversion.
#pragma once

#include "app/output_format.h"
#include "foundation/app_state.h"

#include <cstddef>
#include <functional>
#include <string>

namespace kib {

class CKibCfg;

inline constexpr int kInkscapeTimeoutSeconds = 300;
// Inkscape's first start may build its font cache.
inline constexpr int kInkscapeVersionTimeoutSeconds = 60;
inline constexpr std::size_t kMaxInkscapeArguments = 1999;

// The dialect of the version that `inkscape --version` printed, e.g.
// "Inkscape 1.2.2 (b0a8486541, 2022-12-01)": 0.x Old, 1.0 to 1.2 New, 1.3 and
// later Newest; Unknown when the text names no version. versionText gets "1.2.2".
InkscapeKind InkscapeKindFromVersion(const std::string& output, std::string* versionText = nullptr);

// Finds a usable Inkscape, once per run of the program. On Linux: the folder's
// bin/inkscape, then its inkscape, then inkscape on PATH; its dialect from its
// version. On Windows: the folder's "\bin\inkscapecom.com" (1.3 and later),
// "\bin\inkscape.com" (1.1 or 1.2) or "\inkscape.com" (older, the old dialect),
// the first that exists. Sets App().inkscapeKind and App().inkscapeProgram;
// false after an error line when none is usable (the next call tries again). The
// first form takes the folder from System.INKSCAPEPATH.
bool DetectInkscape(const CKibCfg& cfg);
bool DetectInkscape(const std::string& directory);
// Whether an Inkscape program is there to be detected where DetectInkscape looks.
// Reports nothing.
bool InkscapeInstalled(const std::string& directory);

// The argument string that converts base + ".svg" into the file temporary (of
// the format extension): raster exports the group mainSheet at dpi, vector the
// whole page. A base beginning with "-" is given as "./-..." where it stands
// alone, so that it is never read as an option. Empty after an error line when
// it would be longer than kMaxInkscapeArguments or a name holds a double quote.
std::string BuildInkscapeArguments(InkscapeKind kind, bool raster, int dpi, const std::string& base,
                                   const std::string& extension, const std::string& temporary);

// The files of one conversion.
struct ConversionFiles {
    std::string source;    // base.svg
    std::string temporary; // base-tmp-<pid>.ext, what the converted file is written into
    std::string target;    // base.ext, or basez.ext with the z-suffix
};
ConversionFiles MakeConversionFiles(const std::string& base, const std::string& extension,
                                    bool zSuffix);
// True (after its debug line) when the converted file is newer than its SVG:
// every converter then skips the sheet.
bool ConvertedFileIsNewer(const ConversionFiles& files);
// ConvertedFileIsNewer's debug line.
void ReportSkippedForTimes(const ConversionFiles& files);

// The argument string of one Inkscape call that writes the file at the path given.
using InkscapeArguments = std::function<std::string(const std::string& written)>;

// Converts one sheet with the detected Inkscape: skipped (true) when the target is
// newer than its SVG; else Inkscape writes its file by name into a new folder of
// this user's alone (mode 0700) in the temporary folder, its output goes to the
// log, and the file is copied into the temporary file that the atomic writer
// created beside the target, which then replaces the target. The target is replaced only
// by a file complete for its format (PlaceConvertedFile): a conversion that was
// stopped, timed out, failed or reported a save failure leaves an old target as
// it was, deletes its partial file, reports an error and answers false. A path
// that is not UTF-8, which Inkscape cannot open, is reported before the call. An empty argument
// string (already reported) answers false.
bool ConvertWithInkscape(const std::string& base, const std::string& extension,
                         const InkscapeArguments& arguments, bool zSuffix,
                         int timeoutSeconds = kInkscapeTimeoutSeconds);

// For the Make commands: converts base + ".svg" into the given format with the
// arguments of the detected dialect. DetectInkscape must have succeeded.
bool ConvertSheet(const std::string& base, OutputFormat format, int dpi, bool zSuffix);

} // namespace kib
