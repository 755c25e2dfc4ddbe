// Finding the Inkscape program and its command-line dialect.
#include "app/inkscape.h"

#include "app/process_runner.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "foundation/app_state.h"
#include "foundation/log.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

namespace kib {

namespace {

bool OnWindows() {
    return platform::ThisSystem() == platform::OperatingSystem::Windows;
}

// Linux: the folder's bin/inkscape, its inkscape, then inkscape in the folders
// of PATH.
std::string FindProgram(const std::string& directory) {
    const std::string program = "inkscape" + std::string(platform::ExecutableSuffix());
    std::vector<std::string> candidates;
    if (!directory.empty()) {
        const std::string d = platform::WithSeparator(directory);
        candidates.push_back(d + "bin" + platform::PreferredSeparator() + program);
        candidates.push_back(d + program);
    }
    const std::string searchPath = platform::EnvironmentValue("PATH").value_or("");
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(platform::PathListSeparator(), start);
        if (end == std::string::npos) {
            end = searchPath.size();
        }
        if (end > start) {
            candidates.push_back(platform::WithSeparator(searchPath.substr(start, end - start)) +
                                 program);
        }
        start = end + 1;
    }
    for (const auto& c : candidates) {
        if (platform::IsExecutableFile(c)) {
            return c;
        }
    }
    return {};
}

// Windows: the three kinds of Inkscape's command-line program under the folder,
// newest first, each with its dialect.
struct WindowsKind {
    const char* place; // below the folder
    InkscapeKind kind;
    const char* version;
};
constexpr WindowsKind kWindowsKinds[] = {
    {"\\bin\\inkscapecom.com", InkscapeKind::Newest, "> 1.3"},
    {"\\bin\\inkscape.com", InkscapeKind::New, "1.1 or 1.2"},
    {"\\inkscape.com", InkscapeKind::Old, "< 1.1"},
};

// The first kind present under the folder (plain concatenation: a folder that
// ends with a backslash gives a doubled one, which Windows accepts); none when
// none is there.
const WindowsKind* FindWindowsKind(const std::string& directory, std::string& program) {
    for (const WindowsKind& k : kWindowsKinds) {
        program = directory + k.place;
        if (platform::KindOf(program) == platform::FileKind::Regular) {
            return &k;
        }
    }
    program.clear();
    return nullptr;
}

bool DetectWindowsInkscape(const std::string& directory) {
    std::string program;
    const WindowsKind* found = FindWindowsKind(directory, program);
    if (!found) {
        App().Log().Error("Cannot find inkscape.com in path %s. Check setting of "
                          "System.INKSCAPEPATH.",
                          directory.c_str());
        return false;
    }
    App().inkscapeKind = found->kind;
    App().inkscapeProgram = program;
    App().Log().Debug("Found Inkscape version: %s", found->version);
    return true;
}

} // namespace

InkscapeKind InkscapeKindFromVersion(const std::string& output, std::string* versionText) {
    static const std::string kWord = "Inkscape ";
    for (std::size_t at = output.find(kWord); at != std::string::npos;
         at = output.find(kWord, at + 1)) {
        const std::size_t v = at + kWord.size();
        if (v >= output.size() || !std::isdigit(static_cast<unsigned char>(output[v]))) {
            continue;
        }
        int major = 0;
        int minor = 0;
        if (std::sscanf(output.c_str() + v, "%d.%d", &major, &minor) < 1) {
            continue;
        }
        if (versionText) {
            const std::size_t end = output.find_first_of(" \t\r\n", v);
            *versionText = output.substr(v, end == std::string::npos ? end : end - v);
        }
        if (major == 0) {
            return InkscapeKind::Old;
        }
        return major == 1 && minor <= 2 ? InkscapeKind::New : InkscapeKind::Newest;
    }
    return InkscapeKind::Unknown;
}

bool InkscapeInstalled(const std::string& directory) {
    std::string program;
    return OnWindows() ? FindWindowsKind(directory, program) != nullptr
                       : !FindProgram(directory).empty();
}

bool DetectInkscape(const CKibCfg& cfg) {
    return DetectInkscape(cfg.Item(id::System_INKSCAPEPATH).GetValue());
}

bool DetectInkscape(const std::string& directory) {
    AppState& app = App();
    if (app.inkscapeKind != InkscapeKind::Unknown) {
        return true;
    }
    if (OnWindows()) {
        return DetectWindowsInkscape(directory);
    }
    const std::string program = FindProgram(directory);
    if (program.empty()) {
        App().Log().Error("Cannot find inkscape in path %s. Check setting of "
                          "System.INKSCAPEPATH.",
                          directory.c_str());
        return false;
    }
    const std::size_t slash = program.rfind(platform::PreferredSeparator());
    const std::string output =
        RunExternalProcess(program.substr(0, slash + 1), false, program.substr(slash + 1),
                           "--version", kInkscapeVersionTimeoutSeconds);
    std::string version;
    const InkscapeKind kind = InkscapeKindFromVersion(output, &version);
    if (kind == InkscapeKind::Unknown) {
        LogProgramOutput(output);
        App().Log().Error("Cannot tell the Inkscape version of %s. Check setting of "
                          "System.INKSCAPEPATH.",
                          program.c_str());
        return false;
    }
    app.inkscapeKind = kind;
    app.inkscapeProgram = program;
    App().Log().Debug("Found Inkscape version: %s", version.c_str());
    return true;
}

} // namespace kib
