// Conversion of one SVG sheet by Inkscape into a temporary file that then
// replaces the target.
#include "app/inkscape.h"

#include "app/process_runner.h"
#include "foundation/file_stamp.h"
#include "foundation/format.h"
#include "foundation/log.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace kib {

namespace {

// Size of a file, -1 when it does not exist.
long long FileSize(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

// How the program ended when it did not end by itself with exit code 0, or empty.
std::string AbnormalEnd(const ProcessOutcome& outcome) {
    if (outcome.exitSignal != 0) {
        return Format("signal %d", outcome.exitSignal);
    }
    if (outcome.exitCode != 0) {
        return Format("exit code %d", outcome.exitCode);
    }
    return {};
}

// Moves a complete temporary file onto the target; anything else is reported and
// the temporary file deleted, so that an old target stays as it was.
bool PlaceResult(const ConversionFiles& files, const ProcessOutcome& outcome) {
    const char* source = files.source.c_str();
    const char* target = files.target.c_str();
    if (outcome.end == ProcessEnd::TimedOut || outcome.end == ProcessEnd::Stopped ||
        outcome.end == ProcessEnd::WaitFailed) {
        std::remove(files.temporary.c_str());
        LogError("[** ERROR **] Converting '%s' was not completed: its partial file was "
                 "deleted, '%s' was not replaced.",
                 source, target);
        return false;
    }
    if (outcome.end == ProcessEnd::Exited) {
        const std::string abnormal = AbnormalEnd(outcome);
        if (!abnormal.empty()) {
            std::remove(files.temporary.c_str());
            LogError("[** ERROR **] Inkscape ended with %s converting '%s': '%s' was not "
                     "replaced.",
                     abnormal.c_str(), source, target);
            return false;
        }
        if (FileSize(files.temporary) == 0) {
            std::remove(files.temporary.c_str());
            LogError("[** ERROR **] Inkscape wrote an empty file converting '%s': '%s' was "
                     "not replaced.",
                     source, target);
            return false;
        }
    }
    if (std::rename(files.temporary.c_str(), target) != 0) {
        const int err = errno;
        LogError("[** ERROR **] Renaming map to %s failed, err=%d (%s)", target, err,
                 std::strerror(err));
        return false;
    }
    return true;
}

} // namespace

std::string BuildInkscapeArguments(InkscapeKind kind, bool raster, int dpi, const std::string& base,
                                   const std::string& extension) {
    if (base.find('"') != std::string::npos) {
        LogError("[** ERROR **] A double quote in a file name cannot be passed to Inkscape: %s.svg",
                 base.c_str());
        return {};
    }
    const char* b = base.c_str();
    const char* e = extension.c_str();
    std::string arguments;
    if (kind == InkscapeKind::Old) {
        arguments = raster ? Format("--without-gui --export-id-only --export-id=mainSheet "
                                    "--export-dpi=%d --export-text-to-path --export-area-page "
                                    "--file=\"%s.svg\" --export-%s=\"%s-tmp.%s\"",
                                    dpi, b, e, b, e)
                           : Format("--without-gui --export-text-to-path --export-area-page "
                                    "--file=\"%s.svg\" --export-%s=\"%s-tmp.%s\"",
                                    b, e, b, e);
    } else {
        arguments = raster ? Format("--export-id-only --export-id=mainSheet --export-dpi=%d "
                                    "--export-text-to-path --export-area-page "
                                    "--export-filename=\"%s-tmp.%s\" \"%s.svg\"",
                                    dpi, b, e, b)
                           : Format("--export-text-to-path --export-area-page "
                                    "--export-filename=\"%s-tmp.%s\" \"%s.svg\"",
                                    b, e, b);
    }
    if (arguments.size() > kMaxInkscapeArguments) {
        LogError(
            "[** ERROR **] Inkscape arguments longer than %d characters: cannot convert %s.svg",
            static_cast<int>(kMaxInkscapeArguments), b);
        return {};
    }
    return arguments;
}

ConversionFiles MakeConversionFiles(const std::string& base, const std::string& extension,
                                    bool zSuffix) {
    return {base + ".svg", base + "-tmp." + extension, base + (zSuffix ? "z." : ".") + extension};
}

bool ConvertWithInkscape(const std::string& base, const std::string& extension,
                         const std::string& arguments, bool zSuffix, int timeoutSeconds) {
    if (arguments.empty()) {
        return false;
    }
    const ConversionFiles files = MakeConversionFiles(base, extension, zSuffix);
    if (CompareFileStamps(files.source, files.target) < 0) {
        LogDebug("Converting '%s' to '%s' skipped due to file times", files.source.c_str(),
                 files.target.c_str());
        return true;
    }
    LogDebug("Calling inkscape to convert '%s' to '%s'...", files.source.c_str(),
             files.temporary.c_str());
    std::remove(files.temporary.c_str());

    const auto start = std::chrono::steady_clock::now();
    const std::string& program = App().inkscapeProgram;
    const std::size_t slash = program.rfind('/');
    const std::string directory = slash == std::string::npos ? "" : program.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? program : program.substr(slash + 1);
    ProcessOutcome outcome;
    const std::string output =
        RunExternalProcess(directory, false, name, arguments, timeoutSeconds, &outcome);
    LogProgramOutput(output);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
    LogDebug("Inkscape call completed in %.3f sec.", static_cast<double>(millis) / 1000.0);

    return PlaceResult(files, outcome);
}

bool ConvertSheet(const std::string& base, OutputFormat format, int dpi, bool zSuffix) {
    const char* extension = OutputFormatExtension(format);
    if (extension == nullptr) {
        LogError("[** ERROR **] Output format %d is unknown.", static_cast<int>(format));
        return false;
    }
    const std::string arguments =
        BuildInkscapeArguments(App().inkscapeKind, IsRasterFormat(format), dpi, base, extension);
    return ConvertWithInkscape(base, extension, arguments, zSuffix);
}

} // namespace kib
