// Conversion of one SVG sheet by Inkscape into a temporary file that then
// replaces the target.
#include "app/inkscape.h"

#include "app/converted_file.h"
#include "app/process_runner.h"
#include "foundation/app_state.h"
#include "foundation/file_access.h"
#include "foundation/file_stamp.h"
#include "foundation/format.h"
#include "foundation/input_file.h"
#include "foundation/log.h"
#include "foundation/temp_files.h"
#include "foundation/text_codec.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <algorithm>
#include <chrono>

namespace kib {

namespace {

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

// The line of Inkscape's output that says it could not save its file, or empty.
// Inkscape 1.2 ends with exit code 0 even then (for example on a full disk).
std::string SaveFailure(const std::string& output) {
    static constexpr const char* kFailures[] = {"Failed to save", "libpng error",
                                                "Failed to export", "Could not export"};
    for (const char* failure : kFailures) {
        const std::size_t at = output.find(failure);
        if (at != std::string::npos) {
            const std::size_t end = output.find_first_of("\r\n", at);
            return output.substr(at, end == std::string::npos ? std::string::npos : end - at);
        }
    }
    return {};
}

// A folder of this user's alone in the temporary folder, for Inkscape to write
// its file into by name: no one else can put a link at a name in it. Removed
// with what Inkscape left in it.
class PrivateFolder {
  public:
    PrivateFolder() = default;
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;
    ~PrivateFolder() {
        if (path_.empty()) {
            return;
        }
        int error = 0;
        for (const std::string& name : platform::ListFolder(path_)) {
            platform::RemoveFile(platform::WithSeparator(path_) + name, error);
        }
        platform::RemoveFolder(path_, error);
    }

    bool Create(std::string& reason) {
        int error = 0;
        path_ = platform::CreatePrivateFolder(error);
        reason = path_.empty() ? WriteFailureReason(error) : std::string();
        return !path_.empty();
    }
    std::string File(const std::string& name) const {
        return platform::WithSeparator(path_) + name;
    }

  private:
    std::string path_;
};

// Copies the file Inkscape wrote into the converted file's temporary file,
// through the descriptor the atomic writer holds. The reason it cannot, or empty.
std::string CopyInto(const std::string& written, AtomicFile& file) {
    std::string reason;
    platform::File in = OpenRegularFile(written, reason);
    if (!in.IsOpen()) {
        return platform::KindOf(written, false) == platform::FileKind::Missing
                   ? "no file was written"
                   : reason;
    }
    char buffer[1 << 16];
    for (;;) {
        const long long n = in.Read(buffer, sizeof buffer);
        if (n < 0) {
            return platform::ErrorText(in.Error());
        }
        if (n == 0) {
            return {};
        }
        if (!file.Write(std::string_view(buffer, static_cast<std::size_t>(n)))) {
            return "it could not be written: " + file.Reason();
        }
    }
}

// Moves a complete file onto the target; anything else is reported and the
// temporary file deleted, so that an old target stays as it was.
bool PlaceResult(const ConversionFiles& files, AtomicFile& file, const ProcessOutcome& outcome,
                 const std::string& extension, const std::string& output,
                 const std::string& written) {
    const char* source = files.source.c_str();
    const char* target = files.target.c_str();
    if (outcome.end == ProcessEnd::TimedOut || outcome.end == ProcessEnd::Stopped ||
        outcome.end == ProcessEnd::WaitFailed) {
        file.Abandon();
        App().Log().Error("Converting '%s' was not completed: its partial file was "
                          "deleted, '%s' was not replaced.",
                          source, target);
        return false;
    }
    if (outcome.end == ProcessEnd::Exited) {
        const std::string abnormal = AbnormalEnd(outcome);
        if (!abnormal.empty()) {
            file.Abandon();
            App().Log().Error("Inkscape ended with %s converting '%s': '%s' was not "
                              "replaced.",
                              abnormal.c_str(), source, target);
            return false;
        }
    }
    const std::string failure = SaveFailure(output);
    if (!failure.empty()) {
        return PlaceConvertedFile(files.source, file, extension,
                                  "Inkscape reported \"" + failure + "\"");
    }
    return PlaceConvertedFile(files.source, file, extension, CopyInto(written, file));
}

} // namespace

std::string BuildInkscapeArguments(InkscapeKind kind, bool raster, int dpi, const std::string& base,
                                   const std::string& extension, const std::string& temporary) {
    if (base.find('"') != std::string::npos || temporary.find('"') != std::string::npos) {
        App().Log().Error("A double quote in a file name cannot be passed to Inkscape: %s.svg",
                          base.c_str());
        return {};
    }
    const char* b = base.c_str();
    const char* e = extension.c_str();
    const char* t = temporary.c_str();
    // A lone file name beginning with "-" would be read as an option.
    const std::string named = base.starts_with('-') ? "./" + base : base;
    const char* n = named.c_str();
    std::string arguments;
    if (kind == InkscapeKind::Old) {
        arguments = raster ? Format("--without-gui --export-id-only --export-id=mainSheet "
                                    "--export-dpi=%d --export-text-to-path --export-area-page "
                                    "--file=\"%s.svg\" --export-%s=\"%s\"",
                                    dpi, b, e, t)
                           : Format("--without-gui --export-text-to-path --export-area-page "
                                    "--file=\"%s.svg\" --export-%s=\"%s\"",
                                    b, e, t);
    } else {
        arguments = raster ? Format("--export-id-only --export-id=mainSheet --export-dpi=%d "
                                    "--export-text-to-path --export-area-page "
                                    "--export-filename=\"%s\" \"%s.svg\"",
                                    dpi, t, n)
                           : Format("--export-text-to-path --export-area-page "
                                    "--export-filename=\"%s\" \"%s.svg\"",
                                    t, n);
    }
    if (arguments.size() > kMaxInkscapeArguments) {
        App().Log().Error("Inkscape arguments longer than %d characters: cannot convert %s.svg",
                          static_cast<int>(kMaxInkscapeArguments), b);
        return {};
    }
    return arguments;
}

ConversionFiles MakeConversionFiles(const std::string& base, const std::string& extension,
                                    bool zSuffix) {
    return {base + ".svg", SheetTemporaryPath(base, extension),
            base + (zSuffix ? "z." : ".") + extension};
}

void ReportSkippedForTimes(const ConversionFiles& files) {
    App().Log().Debug("Converting '%s' to '%s' skipped due to file times", files.source.c_str(),
                      files.target.c_str());
}

bool ConvertedFileIsNewer(const ConversionFiles& files) {
    if (CompareFileStamps(files.source, files.target, App().Log()) >= 0) {
        return false;
    }
    ReportSkippedForTimes(files);
    return true;
}

bool ConvertWithInkscape(const std::string& base, const std::string& extension,
                         const InkscapeArguments& arguments, bool zSuffix, int timeoutSeconds) {
    const ConversionFiles files = MakeConversionFiles(base, extension, zSuffix);
    if (ConvertedFileIsNewer(files)) {
        return true;
    }
    // Inkscape on Linux fails without a word on a path that is not UTF-8 (on
    // Windows the path reaches it in wide characters, read in the code page).
    if (platform::ThisSystem() == platform::OperatingSystem::Linux && !IsValidUtf8(files.source)) {
        App().Log().Error("Inkscape cannot convert '%s': the name of the file or of a folder "
                          "is not UTF-8. Rename it or choose another output folder (Target.DIR).",
                          files.source.c_str());
        return false;
    }
    // Inkscape writes by name into a folder of Kib's alone; the result reaches
    // the output folder through the one writer.
    PrivateFolder folder;
    std::string reason;
    if (!folder.Create(reason)) {
        App().Log().Error("Cannot make a folder for Inkscape's file in %s: %s",
                          platform::TempDirectory().c_str(), reason.c_str());
        return false;
    }
    const std::string written = folder.File("sheet." + extension);
    if (platform::ThisSystem() == platform::OperatingSystem::Linux && !IsValidUtf8(written)) {
        App().Log().Error("Inkscape cannot write into the temporary folder %s: its name is "
                          "not UTF-8 (TMPDIR).",
                          platform::TempDirectory().c_str());
        return false;
    }
    const std::string words = arguments(written);
    if (words.empty()) {
        return false;
    }
    App().Log().Debug("Calling inkscape to convert '%s' to '%s'...", files.source.c_str(),
                      written.c_str());
    AtomicFile file;
    if (!BeginConvertedFile(files.target, files.temporary, file)) {
        return false;
    }

    const auto start = std::chrono::steady_clock::now();
    const std::string& program = App().inkscapeProgram;
    const auto last = std::find_if(program.rbegin(), program.rend(), platform::IsSeparator);
    const std::size_t cut = static_cast<std::size_t>(program.rend() - last);
    const std::string directory = program.substr(0, cut);
    const std::string name = program.substr(cut);
    ProcessOutcome outcome;
    const std::string output =
        RunExternalProcess(directory, false, name, words, timeoutSeconds, &outcome);
    LogProgramOutput(output);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
    App().Log().Debug("Inkscape call completed in %.3f sec.", static_cast<double>(millis) / 1000.0);

    return PlaceResult(files, file, outcome, extension, output, written);
}

bool ConvertSheet(const std::string& base, OutputFormat format, int dpi, bool zSuffix) {
    const char* extension = OutputFormatExtension(format);
    if (extension == nullptr) {
        App().Log().Error("Output format %d is unknown.", static_cast<int>(format));
        return false;
    }
    const InkscapeKind kind = App().inkscapeKind;
    const bool raster = IsRasterFormat(format);
    const std::string ext = extension;
    return ConvertWithInkscape(
        base, extension,
        [&](const std::string& written) {
            return BuildInkscapeArguments(kind, raster, dpi, base, ext, written);
        },
        zSuffix);
}

} // namespace kib
