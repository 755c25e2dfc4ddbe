#include "platform/code_page.h"

#include <cerrno>
#include <iconv.h>

namespace kib::platform {

namespace {

void AppendReplacementCharacter(std::string& out) {
    out += "\xEF\xBF\xBD"; // U+FFFD
}

} // namespace

bool CodePageToUtf8(std::string_view codePage, std::string_view bytes, std::string& out) {
    if (codePage.empty()) {
        return false; // iconv would take the locale's
    }
    const std::string name(codePage);
    iconv_t cd = ::iconv_open("UTF-8", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    out.clear();
    std::string input(bytes);
    char* in = input.data();
    std::size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t r = ::iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // A byte without a character in this code page: a replacement, and on.
            AppendReplacementCharacter(out);
            ++in;
            --inLeft;
        }
    }
    ::iconv_close(cd);
    return true;
}

} // namespace kib::platform
