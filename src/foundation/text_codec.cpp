#include "foundation/text_codec.h"

#include "platform/code_page.h"
#include "platform/environment.h"

#include <optional>

namespace kib {

namespace {

// Windows-1252 code points of the bytes 0x80 .. 0x9F (0 where the code page has no character).
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::string FromCp1252(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        char32_t c = b;
        if (b >= 0x80 && b < 0xA0) {
            c = kCp1252High[b - 0x80];
            if (c == 0) {
                c = 0xFFFD; // undefined in the code page
            }
        }
        AppendUtf8(out, c);
    }
    return out;
}

} // namespace

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsValidUtf8(const std::string& bytes) {
    size_t i = 0;
    const size_t n = bytes.size();
    while (i < n) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        size_t extra = 0;
        char32_t c = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1;
            c = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            c = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            c = b & 0x07;
        } else {
            return false;
        }
        if (i + extra >= n) {
            return false;
        }
        for (size_t k = 1; k <= extra; ++k) {
            const unsigned char cb = static_cast<unsigned char>(bytes[i + k]);
            if ((cb & 0xC0) != 0x80) {
                return false;
            }
            c = (c << 6) | (cb & 0x3F);
        }
        const char32_t minimum[4] = {0, 0x80, 0x800, 0x10000};
        if (c < minimum[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return false;
        }
        i += extra + 1;
    }
    return true;
}

std::string ActiveCodePage() {
    const std::optional<std::string> env = platform::EnvironmentValue("KIB_CODEPAGE");
    return env && !env->empty() ? *env : std::string("CP1252");
}

std::string ToUtf8(const std::string& bytes) {
    if (IsValidUtf8(bytes)) {
        return bytes;
    }
    const std::string codePage = ActiveCodePage();
    if (codePage != "CP1252" && codePage != "WINDOWS-1252") {
        std::string out;
        if (platform::CodePageToUtf8(codePage, bytes, out)) {
            return out;
        }
    }
    return FromCp1252(bytes);
}

} // namespace kib
