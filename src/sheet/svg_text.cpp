#include "sheet/svg_text.h"

#include "foundation/format.h"
#include "foundation/text_codec.h"

#include <cstdarg>

namespace kib {

void AppendF(std::ostream& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = FormatV(format, args);
    va_end(args);
    out << text;
}

std::string RgbText(int colour) {
    return Format("rgb(%d,%d,%d)", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

std::string XmlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const unsigned char b = static_cast<unsigned char>(ch);
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            if (b < 0x20 && ch != '\t' && ch != '\n' && ch != '\r') {
                break; // not allowed in an XML document
            }
            out += ch;
        }
    }
    return out;
}

std::string SvgSafeText(const std::string& text) {
    return XmlEscape(ToUtf8(text));
}

} // namespace kib
