// The output formats of the raster Make commands, numbered in the order of the
// Make dialog.
#pragma once

#include <string>

namespace kib {

enum class OutputFormat { None = 0, Pdf = 1, Ps = 2, Eps = 3, Png = 4 };

// "pdf", "ps", "eps" or "png"; none for None or any value outside the formats.
const char* OutputFormatExtension(OutputFormat format);
// PNG: only the sheet group, at a resolution. The other formats: the whole page.
bool IsRasterFormat(OutputFormat format);
// The format of an extension ("pdf", ...); None for any other text.
OutputFormat OutputFormatOfExtension(const std::string& extension);

} // namespace kib
