#include "config/paths.h"

#include "foundation/log.h"
#include "platform/paths.h"

#include <algorithm>

namespace kib {

namespace {

bool StartsWith(const std::string& text, const std::string& head) {
    return text.compare(0, head.size(), head) == 0;
}

// A leading separator, or for Windows-style paths a drive ("X:\").
bool IsAbsolute(const std::string& p, char sep) {
    if (!p.empty() && p[0] == sep) {
        return true;
    }
    return sep == '\\' && p.size() >= 3 && p[1] == ':' && p[2] == '\\';
}

// Removes the last directory of b ("C:\ev\cfg\" becomes "C:\ev\"); false when
// there is no directory left to remove.
bool DropLastDirectory(std::string& b, char sep) {
    if (!b.empty() && b.back() == sep) {
        b.pop_back();
    }
    const std::size_t cut = b.rfind(sep);
    if (cut == std::string::npos) {
        return false;
    }
    b.erase(cut + 1);
    return true;
}

} // namespace

std::string MakePathFrom(const std::string& dir, const std::string& p, char sep,
                         Diagnostics* diagnostics) {
    if (p.empty()) {
        return dir;
    }
    if (IsAbsolute(p, sep)) {
        return p;
    }
    std::string b = dir;
    std::size_t i = 0;
    while (p.compare(i, 2, "..") == 0) {
        if (!DropLastDirectory(b, sep)) {
            if (diagnostics) {
                diagnostics->Debug("Cannot make absolute path from %s+%s!", dir.c_str(), p.c_str());
            }
            return p;
        }
        if (i + 2 == p.size()) {
            return b;
        }
        if (p[i + 2] != sep) {
            return p;
        }
        i += 3;
    }
    return b + p.substr(i);
}

std::string MakeRelativePathFrom(const std::string& dir, const std::string& absolutePath,
                                 char sep) {
    if (StartsWith(absolutePath, dir)) {
        return absolutePath.substr(dir.size());
    }
    std::string b = dir;
    if (!b.empty() && b.back() == sep) {
        b.pop_back();
    }
    std::string up = "..";
    for (;;) {
        const std::size_t cut = b.rfind(sep);
        if (cut == std::string::npos) {
            return absolutePath;
        }
        b.erase(cut + 1);
        if (StartsWith(absolutePath, b)) {
            return up + absolutePath.substr(cut);
        }
        b.pop_back();
        if (b == absolutePath) {
            return up;
        }
        up += sep;
        up += "..";
    }
}

// Windows takes both separators and Kib writes the backslash. On Linux a path
// that already begins with "/" is a Linux path: a backslash in it is part of a
// file name and stays.
std::string NormaliseSeparators(const std::string& p) {
    const char separator = platform::PreferredSeparator();
    const char other = separator == '/' ? '\\' : '/';
    if (separator == '/' && !p.empty() && p[0] == '/') {
        return p;
    }
    std::string out = p;
    std::replace(out.begin(), out.end(), other, separator);
    return out;
}

} // namespace kib
