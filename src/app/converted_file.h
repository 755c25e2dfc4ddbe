// A converted sheet (PDF, PS, EPS or PNG) replaces its target only when it is
// complete. A converter that runs out of disk space may still end "successfully"
// and leave a cut-off file; such a file must never replace a good one, because
// being newer than its SVG it would never be converted again. Every converter
// hands its file to PlaceConvertedFile.
#pragma once

#include "foundation/atomic_file.h"

#include <string>

namespace kib {

// Why the file at path is not a complete file of its format ("pdf", "ps", "eps"
// or "png"): a PDF needs its cross-reference and the closing %%EOF, a PNG its
// IEND chunk, PostScript and EPS the closing %%EOF. Empty when it is complete.
std::string IncompleteReason(const std::string& path, const std::string& extension);

// Begins the converted file target in a temporary file made here anew (never
// through a link someone put at its name), written through the descriptor the
// file holds. False after an error line that names the temporary file.
bool BeginConvertedFile(const std::string& target, const std::string& temporary, AtomicFile& file);

// Puts the converted file in place when the converter reported no failure
// (failure empty; otherwise the converter's own words) and the file is complete
// for its format, after flushing it to the disk. Otherwise its temporary file is
// deleted, the target stays as it was and an error names the sheet (its SVG
// file) and the reason; the result is false.
bool PlaceConvertedFile(const std::string& sheet, AtomicFile& file, const std::string& extension,
                        const std::string& failure = {});

} // namespace kib
