#include "map_input/xml_line.h"

namespace kib {

XmlLine ScanXmlLine(std::string_view line) {
    XmlLine x;
    const std::size_t lt = line.find('<');
    if (lt == std::string_view::npos) {
        return x;
    }
    x.hasTag = true;
    x.level = static_cast<int>(lt / 2);
    std::size_t start = lt + 1;
    if (start < line.size() && line[start] == '/') {
        x.closing = true;
        ++start;
    }
    std::size_t end = start;
    while (end < line.size() && line[end] != ' ' && line[end] != '>') {
        ++end;
    }
    x.tag = line.substr(start, end - start);
    x.tagEnd = end;
    const std::size_t gt = line.find('>', end);
    x.setsContainer =
        gt != std::string_view::npos && gt + 1 == line.size() && gt > 0 && line[gt - 1] != '/';
    return x;
}

std::string XmlElementText(std::string_view line) {
    const std::size_t gt = line.find('>');
    if (gt == std::string_view::npos) {
        return std::string();
    }
    std::size_t begin = gt + 1;
    while (begin < line.size() && line[begin] == ' ') {
        ++begin;
    }
    std::size_t end = line.find('<', begin);
    if (end == std::string_view::npos) {
        end = line.size();
    }
    while (end > begin && line[end - 1] == ' ') {
        --end;
    }
    return std::string(line.substr(begin, end - begin));
}

} // namespace kib
