#include "platform/code_page.h"

#include "platform/win32/win32_text.h"

#define WIN32_LEAN_AND_MEAN 1
#define NOMINMAX 1
#include <windows.h>

namespace kib::platform {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// The characters of the bytes 0 to 255 in a single-byte code page, U+FFFD for
// a byte without one.
std::wstring ByteTable(unsigned codePage) {
    std::wstring table(256, kReplacement);
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        wchar_t c = 0;
        if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, &byte, 1, &c, 1) == 1) {
            table[static_cast<std::size_t>(b)] = c;
        }
    }
    return table;
}

} // namespace

bool CodePageToUtf8(std::string_view codePage, std::string_view bytes, std::string& out) {
    const unsigned number = win32::CodePageNumber(codePage);
    CPINFO info{};
    if (number == 0 || !IsValidCodePage(number) || !GetCPInfo(number, &info)) {
        return false;
    }
    std::wstring wide;
    if (info.MaxCharSize == 1) {
        const std::wstring table = ByteTable(number);
        wide.reserve(bytes.size());
        for (char b : bytes) {
            wide += table[static_cast<unsigned char>(b)];
        }
    } else if (!bytes.empty()) {
        const int size = static_cast<int>(bytes.size());
        const int needed = MultiByteToWideChar(number, 0, bytes.data(), size, nullptr, 0);
        wide.assign(static_cast<std::size_t>(needed > 0 ? needed : 0), L'\0');
        MultiByteToWideChar(number, 0, bytes.data(), size, wide.data(), needed);
    }
    out = win32::Narrow(wide);
    return true;
}

} // namespace kib::platform
