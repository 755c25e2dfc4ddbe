// Finding the Inkscape program and its command-line dialect.
#include "app/inkscape.h"

#include "app/process_runner.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "foundation/log.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kib {

namespace {

constexpr const char* kProgramName = "inkscape";

bool IsProgram(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::string WithSeparator(std::string directory) {
    if (!directory.empty() && directory.back() != '/') {
        directory += '/';
    }
    return directory;
}

// The folder's bin/inkscape, its inkscape, then inkscape in the folders of PATH.
std::string FindProgram(const std::string& directory) {
    std::vector<std::string> candidates;
    if (!directory.empty()) {
        const std::string d = WithSeparator(directory);
        candidates.push_back(d + "bin/" + kProgramName);
        candidates.push_back(d + kProgramName);
    }
    const char* pathVariable = std::getenv("PATH");
    const std::string searchPath = pathVariable ? pathVariable : "";
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t colon = searchPath.find(':', start);
        if (colon == std::string::npos) {
            colon = searchPath.size();
        }
        if (colon > start) {
            candidates.push_back(WithSeparator(searchPath.substr(start, colon - start)) +
                                 kProgramName);
        }
        start = colon + 1;
    }
    for (const auto& c : candidates) {
        if (IsProgram(c)) {
            return c;
        }
    }
    return {};
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
    return !FindProgram(directory).empty();
}

bool DetectInkscape(const CKibCfg& cfg) {
    return DetectInkscape(cfg.Item(id::System_INKSCAPEPATH).GetValue());
}

bool DetectInkscape(const std::string& directory) {
    AppState& app = App();
    if (app.inkscapeKind != InkscapeKind::Unknown) {
        return true;
    }
    const std::string program = FindProgram(directory);
    if (program.empty()) {
        LogError("[** ERROR **] Cannot find inkscape in path %s. Check setting of "
                 "System.INKSCAPEPATH.",
                 directory.c_str());
        return false;
    }
    const std::size_t slash = program.rfind('/');
    const std::string output =
        RunExternalProcess(program.substr(0, slash + 1), false, program.substr(slash + 1),
                           "--version", kInkscapeVersionTimeoutSeconds);
    std::string version;
    const InkscapeKind kind = InkscapeKindFromVersion(output, &version);
    if (kind == InkscapeKind::Unknown) {
        LogProgramOutput(output);
        LogError("[** ERROR **] Cannot tell the Inkscape version of %s. Check setting of "
                 "System.INKSCAPEPATH.",
                 program.c_str());
        return false;
    }
    app.inkscapeKind = kind;
    app.inkscapeProgram = program;
    LogDebug("Found Inkscape version: %s", version.c_str());
    return true;
}

} // namespace kib
