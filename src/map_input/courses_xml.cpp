#include "map_input/courses_xml.h"

#include "foundation/text_codec.h"
#include "map_input/text_scan.h"
#include "platform/code_page.h"

#include <pugixml.hpp>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
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

// Whether every byte is below 0x80, eight at a time: most courses files are ASCII.
bool IsAscii(const std::string& bytes) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    for (; end - p >= 8; p += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080u) {
            return false;
        }
    }
    for (; p < end; ++p) {
        if (static_cast<unsigned char>(*p) >= 0x80) {
            return false;
        }
    }
    return true;
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

// The file made UTF-8. UTF-16 is recognised by its byte order mark or its first
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
    if (IsAscii(bytes) || IsValidUtf8(bytes)) {
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

// Where the lines of the text end, taken before the text is parsed in place (the
// parser overwrites some of its characters), so that an offset gives its line.
class LineIndex {
  public:
    // Only texts up to 4 GiB: the offsets are 32-bit.
    explicit LineIndex(const std::string& text) {
        const char* const begin = text.data();
        const char* const end = begin + text.size();
        for (const char* p = begin; (p = static_cast<const char*>(
                                         std::memchr(p, '\n', static_cast<std::size_t>(end - p))));
             ++p) {
            breaks_.push_back(static_cast<std::uint32_t>(p - begin));
        }
        lines_ = static_cast<int>(breaks_.size()) + (!text.empty() && text.back() != '\n' ? 1 : 0);
    }
    int Lines() const { return lines_; }
    // The line (from 1) of the character at the offset.
    int LineAt(std::ptrdiff_t offset) const {
        const auto at =
            static_cast<std::uint32_t>(std::clamp<std::ptrdiff_t>(offset, 0, UINT32_MAX));
        return 1 + static_cast<int>(std::lower_bound(breaks_.begin(), breaks_.end(), at) -
                                    breaks_.begin());
    }

  private:
    std::vector<std::uint32_t> breaks_;
    int lines_ = 0;
};

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
    std::string text = node.value(); // the first character data, kept in the element
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
            steps.push_back(
                {Text(Child(n, "Control", "ControlCode")), type == "Start", type == "Finish"});
        } else if (name == "StartPointCode") {
            steps.push_back({Text(n), true, false});
        }
    }
}

// The definitions among the children of a course's container.
std::vector<CourseDefinition> ReadDefinitions(const pugi::xml_node& container) {
    std::vector<CourseDefinition> definitions;
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
    return definitions;
}

// Finds the courses (in the root or in a RaceCourseData), their names and the scale.
class Walker {
  public:
    Walker(const LineIndex& lines, CoursesFileData& out, std::vector<pugi::xml_node>& courses)
        : lines_(lines), out_(out), courses_(courses) {}

    void Container(const pugi::xml_node& container, int depth) {
        for (pugi::xml_node n = container.first_child(); n; n = n.next_sibling()) {
            if (n.type() != pugi::node_element) {
                continue;
            }
            const std::string_view name = LocalName(n);
            if (name == "Course") {
                out_.courses.push_back(
                    {Text(Child(n, "Name", "CourseName")), lines_.LineAt(n.offset_debug())});
                courses_.push_back(n);
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
    const LineIndex& lines_;
    CoursesFileData& out_;
    std::vector<pugi::xml_node>& courses_;
};

} // namespace

// The text parsed in place and the document over it, with each course's element.
struct CoursesFileData::Parsed {
    std::string text;
    pugi::xml_document document;
    std::vector<pugi::xml_node> courses;
};

CoursesFileData ReadCoursesXml(std::string bytes) {
    CoursesFileData out;
    auto parsed = std::make_shared<CoursesFileData::Parsed>();
    parsed->text = std::move(bytes);
    std::string& text = parsed->text;
    MakeUtf8(text);
    const LineIndex lines(text);
    out.lines = lines.Lines();
    // Comments, processing instructions and the DOCTYPE are passed over; the first
    // character data of an element is kept in the element itself.
    constexpr unsigned kOptions =
        pugi::parse_cdata | pugi::parse_escapes | pugi::parse_embed_pcdata;
    const pugi::xml_parse_result result = parsed->document.load_buffer_inplace(
        text.data(), text.size(), kOptions, pugi::encoding_utf8);
    if (!result) {
        out.errorLine = lines.LineAt(result.offset);
        out.errorText = result.description();
        return out;
    }
    out.wellFormed = true;
    out.creator = Trim(parsed->document.document_element().attribute("creator").value());
    Walker(lines, out, parsed->courses).Container(parsed->document, 0);
    out.parsed = std::move(parsed);
    return out;
}

int FindCourse(const CoursesFileData& file, const std::string& name) {
    const std::string wanted = ToUtf8(name);
    for (std::size_t k = 0; k < file.courses.size(); ++k) {
        if (file.courses[k].name == wanted) {
            return static_cast<int>(k);
        }
    }
    return -1;
}

CourseContent ReadCourse(const CoursesFileData& file, int k) {
    CourseContent c;
    if (!file.parsed || k < 0 || static_cast<std::size_t>(k) >= file.parsed->courses.size()) {
        return c;
    }
    const pugi::xml_node course = file.parsed->courses[static_cast<std::size_t>(k)];
    pugi::xml_node variation;
    for (pugi::xml_node n = course.first_child(); n; n = n.next_sibling()) {
        if (n.type() == pugi::node_element && LocalName(n) == "CourseVariation") {
            ++c.variations;
            variation = n;
        }
    }
    if (c.variations <= 1) {
        ReadSteps(variation ? variation : course, c.steps);
    }
    c.definitions = ReadDefinitions(course.parent());
    return c;
}

} // namespace kib
