// Conversion of text in a single-byte code page (Windows-1252, CP1250, ...)
// to UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace kib::platform {

// Converts bytes in the named code page ("CP1250", "WINDOWS-1250", "ISO-8859-2",
// upper or lower case) to UTF-8; a byte without a character in the code page
// becomes U+FFFD. False when the system does not know the code page.
bool CodePageToUtf8(std::string_view codePage, std::string_view bytes, std::string& out);

} // namespace kib::platform
