#include "foundation/temp_files.h"

#include "foundation/diagnostics.h"
#include "platform/files.h"
#include "platform/process.h"

#include <cctype>
#include <cerrno>

namespace kib {

namespace {

constexpr std::string_view kSheetMark = "-tmp";
constexpr std::string_view kReplacementMark = ".~kib";
// Names are tried this often before a creation gives up.
constexpr int kAttempts = 100;

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

bool AllDigits(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        if (!IsDigit(c)) {
            return false;
        }
    }
    return true;
}

// A process id written in a name; -1 when the digits are no process id.
int PidOf(std::string_view digits) {
    if (!AllDigits(digits) || digits.size() > 9) {
        return -1;
    }
    long value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
    }
    return value > 0 ? static_cast<int>(value) : -1;
}

// "map-", "prn-" or "sol-" followed by a digit: a sheet of Kib.
bool IsSheetName(std::string_view name) {
    return name.size() > 4 &&
           (name.starts_with("map-") || name.starts_with("prn-") || name.starts_with("sol-")) &&
           IsDigit(name[4]);
}

// "name.~kib<pid>-<attempt>".
int ReplacementOwner(std::string_view name) {
    const std::size_t mark = name.rfind(kReplacementMark);
    if (mark == std::string_view::npos || mark == 0) {
        return -1;
    }
    const std::string_view rest = name.substr(mark + kReplacementMark.size());
    const std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos || !AllDigits(rest.substr(dash + 1))) {
        return -1;
    }
    return PidOf(rest.substr(0, dash));
}

// "map-1.1-tmp-<pid>.svg", or "map-1.1-tmp.svg" of earlier versions.
int SheetOwner(std::string_view name) {
    if (!IsSheetName(name)) {
        return -1;
    }
    const std::size_t mark = name.rfind(kSheetMark);
    if (mark == std::string_view::npos) {
        return -1;
    }
    std::string_view rest = name.substr(mark + kSheetMark.size());
    const std::size_t dot = rest.find('.');
    if (dot != std::string_view::npos) {
        const std::string_view extension = rest.substr(dot + 1);
        if (extension.empty() || extension.find('.') != std::string_view::npos) {
            return -1;
        }
        rest = rest.substr(0, dot);
    }
    if (rest.empty()) {
        return 0;
    }
    return rest[0] == '-' ? PidOf(rest.substr(1)) : -1;
}

} // namespace

std::string SheetTemporaryPath(const std::string& base, const std::string& extension) {
    std::string path = base + std::string(kSheetMark) + "-" + std::to_string(platform::ProcessId());
    return extension.empty() ? path : path + "." + extension;
}

std::string ReplacementTemporaryPath(const std::string& target, int attempt) {
    return target + std::string(kReplacementMark) + std::to_string(platform::ProcessId()) + "-" +
           std::to_string(attempt);
}

platform::File CreateTemporaryFile(const std::string& path, int& error) {
    using platform::FileKind;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        platform::File file = platform::CreateExclusive(path, error);
        if (file.IsOpen() || error != EEXIST) {
            return file;
        }
        // The name carries this process's id: what is there is a leftover or a
        // planted link, never another run's file. A link is removed, not followed.
        const FileKind kind = platform::KindOf(path, false);
        if (kind != FileKind::Missing && kind != FileKind::Regular && kind != FileKind::Link) {
            error = EEXIST;
            return platform::File();
        }
        if (!platform::RemoveFile(path, error) && error != ENOENT) {
            return platform::File();
        }
    }
    error = EEXIST;
    return platform::File();
}

platform::File CreateReplacementFile(const std::string& target, std::string& path, int& error) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        path = ReplacementTemporaryPath(target, attempt);
        platform::File file = platform::CreateExclusive(path, error);
        if (file.IsOpen() || error != EEXIST) {
            return file;
        }
    }
    error = EEXIST;
    return platform::File();
}

int TemporaryOwner(std::string_view fileName) {
    const int owner = ReplacementOwner(fileName);
    return owner >= 0 ? owner : SheetOwner(fileName);
}

bool ProcessRuns(int pid) {
    return platform::ProcessRuns(pid);
}

int RemoveStaleTemporaries(const std::string& folder, Diagnostics& diagnostics) {
    using platform::FileKind;
    int removed = 0;
    for (const std::string& name : platform::ListFolder(folder)) {
        const int owner = TemporaryOwner(name);
        if (owner < 0 || ProcessRuns(owner)) {
            continue;
        }
        const std::string file = folder + name;
        const FileKind kind = platform::KindOf(file, false);
        if (kind != FileKind::Regular && kind != FileKind::Link) {
            continue;
        }
        int error = 0;
        if (platform::RemoveFile(file, error)) {
            diagnostics.Debug("Removed temporary file %s left by an ended run.", file.c_str());
            ++removed;
        }
    }
    return removed;
}

} // namespace kib
