#include "app/sheet_source.h"

#include "foundation/format.h"
#include "foundation/input_file.h"
#include "map_input/export_bounds.h"

#include <cstddef>
#include <string_view>

namespace kib {

namespace {

constexpr std::string_view kXInclude = "http://www.w3.org/2001/XInclude";
// A namespace that nothing reads: the elements stay, unknown and not drawn. It
// does not name XInclude, so that the bounds of a sheet find only what is left.
constexpr std::string_view kNoXInclude = "urn:x-kib:no-inclusion:2001";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The end of the markup declaration that begins at from: the '>' outside quotes.
std::size_t DeclarationEnd(const std::string& text, std::size_t from) {
    char quote = 0;
    for (std::size_t i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i;
        }
    }
    return std::string::npos;
}

// The declaration "<!ENTITY ...>" at at, rewritten when it reaches outside the
// sheet; the position after it.
std::size_t ConfineEntity(std::string& text, std::size_t at) {
    const std::size_t end = DeclarationEnd(text, at);
    if (end == std::string::npos) {
        return text.size();
    }
    std::size_t i = at + 8; // after "<!ENTITY"
    while (i < end && IsBlank(text[i])) {
        ++i;
    }
    if (i < end && text[i] == '%') {
        text.erase(at, end + 1 - at); // parameter entities may load more declarations
        return at;
    }
    const std::size_t name = i;
    while (i < end && !IsBlank(text[i])) {
        ++i;
    }
    const std::string entity = text.substr(name, i - name);
    while (i < end && IsBlank(text[i])) {
        ++i;
    }
    const std::string_view kind = std::string_view(text).substr(i, 6);
    if (kind != "SYSTEM" && kind != "PUBLIC") {
        return end + 1;
    }
    const std::string empty = "<!ENTITY " + entity + " \"\">";
    text.replace(at, end + 1 - at, empty);
    return at + empty.size();
}

// Walks the internal subset of the document type declaration at doctype
// ("<!DOCTYPE name ... [ declarations ]>") and confines its entities.
void ConfineDocumentType(std::string& text, std::size_t doctype) {
    std::size_t i = doctype + 9;
    char quote = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return; // no internal subset
        } else if (c == '[') {
            break;
        }
    }
    for (++i; i < text.size();) {
        const std::string_view rest = std::string_view(text).substr(i);
        if (rest.starts_with("]")) {
            return;
        }
        if (rest.starts_with("<!--")) {
            const std::size_t end = text.find("-->", i + 4);
            i = end == std::string::npos ? text.size() : end + 3;
        } else if (rest.starts_with("<!ENTITY")) {
            i = ConfineEntity(text, i);
        } else if (rest.starts_with("<!") || rest.starts_with("<?")) {
            const std::size_t end = DeclarationEnd(text, i);
            i = end == std::string::npos ? text.size() : end + 1;
        } else {
            ++i;
        }
    }
}

} // namespace

namespace {

// One pass over the text: the entities of every document type declaration
// confined, every XInclude namespace renamed.
std::string ConfineOnce(std::string text) {
    for (std::size_t at = text.find("<!DOCTYPE"); at != std::string::npos;
         at = text.find("<!DOCTYPE", at + 1)) {
        ConfineDocumentType(text, at);
    }
    for (std::size_t at = text.find(kXInclude); at != std::string::npos;
         at = text.find(kXInclude, at + kNoXInclude.size())) {
        text.replace(at, kXInclude.size(), kNoXInclude);
    }
    return text;
}

} // namespace

std::string WithoutOutsideReferences(std::string text) {
    // A declaration taken out of malformed markup can expose another one to the
    // next look (a quote or a '>' that ended a declaration is gone with it), so
    // the passes go on until one changes nothing. Every change shortens the
    // text, so they end.
    for (;;) {
        std::string confined = ConfineOnce(text);
        if (confined == text) {
            return text;
        }
        text = std::move(confined);
    }
}

namespace {

// What a sheet may hold: librsvg's own depth; a print sheet copies the lines of
// up to four canvases of one export, whose entities the map reader bounded.
ExportLimits SheetLimits() {
    ExportLimits limits;
    limits.depth = 256;
    limits.expansionBytes = std::size_t{64} << 20;
    return limits;
}

} // namespace

bool ConfineSheet(std::string& text, std::string& reason) {
    text = WithoutOutsideReferences(std::move(text));
    ExportBounds bounds(SheetLimits());
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        if (!bounds.Feed(rest.substr(0, end))) {
            reason = Format("line %d %s", bounds.Line(), bounds.Problem().c_str());
            return false;
        }
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return true;
}

bool ReadSheetForDrawing(const std::string& path, std::string& text, std::string& reason) {
    platform::File file = OpenRegularFile(path, reason);
    if (!file.IsOpen()) {
        return false;
    }
    text.clear();
    char buffer[65536];
    for (;;) {
        const long long n = file.Read(buffer, sizeof buffer);
        if (n == 0) {
            break;
        }
        if (n < 0) {
            reason = platform::ErrorText(file.Error());
            return false;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return ConfineSheet(text, reason);
}

} // namespace kib
