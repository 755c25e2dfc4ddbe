#include "map_input/courses_xml.h"

#include "foundation/text_codec.h"
#include "map_input/text_scan.h"
#include "platform/code_page.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string_view>

namespace kib {

namespace {

// Courses lie in the root (2.0.3) or in a RaceCourseData (3.0); elements deeper than
// this are not looked into.
constexpr int kMaxContainerDepth = 3;

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsXmlSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsXmlSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
               return lower(x) == lower(y);
           });
}

// ---- Encoding: everything is parsed as UTF-8 ----

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

// UTF-16 text (after its byte order mark, if any) as UTF-8; an unpaired surrogate
// becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    const auto unit = [&](std::size_t i) {
        const auto hi = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
        const auto lo = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
        return static_cast<char32_t>(hi << 8 | lo);
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        AppendUtf8(out, c >= 0xD800 && c < 0xE000 ? 0xFFFD : c);
    }
    return out;
}

// The encoding named by the XML declaration at the start of UTF-8 or 8-bit text
// (after a UTF-8 byte order mark), empty when there is none.
std::string_view DeclaredEncoding(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    if (text.substr(0, 5) != "<?xml") {
        return {};
    }
    text = text.substr(0, text.find("?>"));
    const std::size_t key = text.find("encoding");
    if (key == std::string_view::npos) {
        return {};
    }
    text = Trim(text.substr(key + 8));
    if (text.empty() || text.front() != '=') {
        return {};
    }
    text = Trim(text.substr(1));
    if (text.empty() || (text.front() != '"' && text.front() != '\'')) {
        return {};
    }
    const std::size_t close = text.find(text.front(), 1);
    return close == std::string_view::npos ? std::string_view() : text.substr(1, close - 1);
}

// The file as UTF-8. UTF-16 is recognised by its byte order mark or its first
// character "<". 8-bit text that is not UTF-8 is converted from the code page its
// declaration names; ISO-8859-1 (which Windows programs write as Windows-1252), an
// unknown code page or none are read as the text codec reads such bytes.
void MakeUtf8(std::string& bytes) {
    const auto begins = [&bytes](std::string_view prefix) {
        return bytes.size() >= prefix.size() &&
               std::equal(prefix.begin(), prefix.end(), bytes.begin());
    };
    if (begins("\xFF\xFE") || begins(std::string_view("<\0?\0", 4))) {
        bytes = Utf16ToUtf8(std::string_view(bytes).substr(begins("\xFF\xFE") ? 2 : 0), false);
        return;
    }
    if (begins("\xFE\xFF") || begins(std::string_view("\0<\0?", 4))) {
        bytes = Utf16ToUtf8(std::string_view(bytes).substr(begins("\xFE\xFF") ? 2 : 0), true);
        return;
    }
    if (IsValidUtf8(bytes)) {
        return;
    }
    const std::string encoding(DeclaredEncoding(bytes));
    const bool codecReads = encoding.empty() || EqualsIgnoringCase(encoding, "UTF-8") ||
                            EqualsIgnoringCase(encoding, "ISO-8859-1") ||
                            EqualsIgnoringCase(encoding, "latin1");
    std::string converted;
    if (codecReads || !platform::CodePageToUtf8(encoding, bytes, converted)) {
        converted = ToUtf8(bytes);
    }
    bytes = std::move(converted);
}

int LineAt(const std::string& text, std::ptrdiff_t offset) {
    const auto end = text.begin() + std::clamp<std::ptrdiff_t>(
                                        offset, 0, static_cast<std::ptrdiff_t>(text.size()));
    return 1 + static_cast<int>(std::count(text.begin(), end, '\n'));
}

int CountLines(const std::string& text) {
    const int breaks = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    return !text.empty() && text.back() != '\n' ? breaks + 1 : breaks;
}

// ---- The element structure ----

// An element's name without a namespace prefix.
std::string_view LocalName(const pugi::xml_node& node) {
    const std::string_view name = node.name();
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node Child(const pugi::xml_node& node, std::string_view name) {
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() == pugi::node_element && LocalName(c) == name) {
            return c;
        }
    }
    return {};
}

// The first child named one or the other.
pugi::xml_node Child(const pugi::xml_node& node, std::string_view name, std::string_view other) {
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() == pugi::node_element && (LocalName(c) == name || LocalName(c) == other)) {
            return c;
        }
    }
    return {};
}

// An element's text: its character data and CDATA sections, without the white
// space around them.
std::string Text(const pugi::xml_node& node) {
    std::string text;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) {
            text += c.value();
        }
    }
    return std::string(Trim(text));
}

// A coordinate attribute read like "%f"; a missing, non-numeric or infinite one is none.
bool Coordinate(const pugi::xml_node& node, const char* name, float& value) {
    const pugi::xml_attribute a = node.attribute(name);
    return a && TextScan(a.value()).Float(value) && std::isfinite(value);
}

// A Control (code in Id or ControlCode) or StartPoint (StartPointCode); false when
// the element names no code.
bool ReadDefinition(const pugi::xml_node& node, CourseDefinition& d) {
    const pugi::xml_node code = LocalName(node) == "StartPoint" ? Child(node, "StartPointCode")
                                                                : Child(node, "Id", "ControlCode");
    if (!code) {
        return false;
    }
    d.code = Text(code);
    const pugi::xml_node map = Child(node, "MapPosition");
    d.hasMapPosition =
        map && Coordinate(map, "x", d.mapPosition.x) && Coordinate(map, "y", d.mapPosition.y);
    if (!d.hasMapPosition) {
        d.mapPosition = MapPoint{};
    }
    d.hasGeoPosition = static_cast<bool>(Child(node, "Position", "ControlPosition"));
    return true;
}

// The steps of a course (or of its one variation) in course order.
void ReadSteps(const pugi::xml_node& from, std::vector<CourseStep>& steps) {
    for (pugi::xml_node n = from.first_child(); n; n = n.next_sibling()) {
        if (n.type() != pugi::node_element) {
            continue;
        }
        const std::string_view name = LocalName(n);
        if (name == "CourseControl") {
            const std::string_view type = Trim(n.attribute("type").value());
            steps.push_back({Text(Child(n, "Control", "ControlCode")), type == "Start"});
        } else if (name == "StartPointCode") {
            steps.push_back({Text(n), true});
        }
    }
}

class Walker {
  public:
    Walker(const std::string& text, const std::string& wanted, CoursesXml& out)
        : text_(text), wanted_(wanted), out_(out) {}

    void Container(const pugi::xml_node& container, int depth) {
        for (pugi::xml_node n = container.first_child(); n; n = n.next_sibling()) {
            if (n.type() != pugi::node_element) {
                continue;
            }
            const std::string_view name = LocalName(n);
            if (name == "Course") {
                Course(n, container);
            } else if (name == "Map") {
                if (const pugi::xml_node scale = Child(n, "Scale")) {
                    out_.scaleFound = true;
                    out_.scaleText = Text(scale);
                }
            } else if (depth < kMaxContainerDepth && name != "Control" && name != "StartPoint" &&
                       name != "FinishPoint") {
                Container(n, depth + 1);
            }
        }
    }

  private:
    void Course(const pugi::xml_node& course, const pugi::xml_node& container) {
        std::string name = Text(Child(course, "Name", "CourseName"));
        if (!out_.courseFound && !wanted_.empty() && name == wanted_) {
            out_.courseFound = true;
            CourseRecord& r = out_.course;
            r.name = name;
            r.line = LineAt(text_, course.offset_debug());
            pugi::xml_node variation;
            for (pugi::xml_node n = course.first_child(); n; n = n.next_sibling()) {
                if (n.type() == pugi::node_element && LocalName(n) == "CourseVariation") {
                    ++r.variations;
                    variation = n;
                }
            }
            if (r.variations <= 1) {
                ReadSteps(variation ? variation : course, r.steps);
            }
            ReadDefinitions(container, r.definitions);
        }
        out_.courseNames.push_back(std::move(name));
    }

    static void ReadDefinitions(const pugi::xml_node& container,
                                std::vector<CourseDefinition>& definitions) {
        for (pugi::xml_node n = container.first_child(); n; n = n.next_sibling()) {
            if (n.type() != pugi::node_element) {
                continue;
            }
            const std::string_view name = LocalName(n);
            CourseDefinition d;
            if ((name == "Control" || name == "StartPoint") && ReadDefinition(n, d)) {
                definitions.push_back(std::move(d));
            }
        }
    }

    const std::string& text_;
    const std::string& wanted_;
    CoursesXml& out_;
};

} // namespace

CoursesXml ReadCoursesXml(std::string bytes, const std::string& courseName) {
    CoursesXml out;
    std::string& text = bytes;
    MakeUtf8(text);
    out.lines = CountLines(text);
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed =
        doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed) {
        out.errorLine = LineAt(text, parsed.offset);
        out.errorText = parsed.description();
        return out;
    }
    out.wellFormed = true;
    out.creator = Trim(doc.document_element().attribute("creator").value());
    const std::string wanted = ToUtf8(courseName);
    Walker(text, wanted, out).Container(doc, 0);
    return out;
}

} // namespace kib
