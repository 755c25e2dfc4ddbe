// Text codec: configuration values, map lines and file names are byte strings.
// Valid UTF-8 is shown as it is; anything else is read as Windows-1252 or as the
// single-byte code page named by KIB_CODEPAGE.
#pragma once

#include <string>

namespace kib {

bool IsValidUtf8(const std::string& bytes);
// Converts bytes for display or for SVG text content.
std::string ToUtf8(const std::string& bytes);
// Appends the code point c to out in UTF-8.
void AppendUtf8(std::string& out, char32_t c);
// The code page used for bytes that are not UTF-8 ("CP1252" unless KIB_CODEPAGE says otherwise).
std::string ActiveCodePage();

} // namespace kib
