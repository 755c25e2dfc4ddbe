// The built-in converter's part of a raster command: which converter a command
// uses, and the conversion of one sheet into a temporary file that replaces its
// target only when complete. The drawing itself is in builtin_convert.cpp.
#include "app/builtin_convert.h"

#include "app/converted_file.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "foundation/app_state.h"
#include "foundation/log.h"
#include "platform/files.h"

#include <chrono>

namespace kib {

namespace {} // namespace

Converter ConfiguredConverter(const CKibCfg& cfg) {
    const std::string& value = cfg.Item(id::System_CONVERTER).GetValue();
    return !value.empty() && (value[0] == 'B' || value[0] == 'b') ? Converter::BuiltIn
                                                                  : Converter::Inkscape;
}

bool PrepareConverter(const CKibCfg& cfg, Converter wanted, Converter& used) {
    used = wanted;
    if (wanted == Converter::BuiltIn) {
        if (!BuiltInConverterAvailable()) {
            LogError("[** ERROR **] This Kib has no built-in converter: choose Inkscape "
                     "(System.CONVERTER).");
            return false;
        }
        return true;
    }
    const std::string& directory = cfg.Item(id::System_INKSCAPEPATH).GetValue();
    if (App().inkscapeKind == InkscapeKind::Unknown && BuiltInConverterAvailable() &&
        !InkscapeInstalled(directory)) {
        LogInfo("Inkscape is not installed (not in %s nor on PATH): the built-in converter "
                "converts the sheets.",
                directory.c_str());
        used = Converter::BuiltIn;
        return true;
    }
    return DetectInkscape(directory);
}

bool PlaceDrawnFile(const ConversionFiles& files, AtomicFile& file, bool drawn) {
    const char* source = files.source.c_str();
    const char* target = files.target.c_str();
    if (!drawn) {
        file.Abandon();
        LogError("[** ERROR **] Converting '%s' was not completed: its partial file was "
                 "deleted, '%s' was not replaced.",
                 source, target);
        return false;
    }
    if (platform::FileSize(files.temporary) <= 0) {
        file.Abandon();
        LogError("[** ERROR **] The built-in converter wrote an empty file converting '%s': "
                 "'%s' was not replaced.",
                 source, target);
        return false;
    }
    // Complete for its format and flushed to disk, or the old file stays.
    const std::string extension = files.target.substr(files.target.rfind('.') + 1);
    return PlaceConvertedFile(files.source, file, extension);
}

bool ConvertBuiltIn(const std::string& base, OutputFormat format, int dpi, bool zSuffix) {
    const char* extension = OutputFormatExtension(format);
    if (extension == nullptr) {
        LogError("[** ERROR **] Output format %d is unknown.", static_cast<int>(format));
        return false;
    }
    const ConversionFiles files = MakeConversionFiles(base, extension, zSuffix);
    if (ConvertedFileIsNewer(files)) {
        return true;
    }
    LogDebug("Converting '%s' to '%s' with the built-in converter...", files.source.c_str(),
             files.temporary.c_str());
    AtomicFile file;
    if (!BeginConvertedFile(files.target, files.temporary, file)) {
        return false;
    }
    const auto start = std::chrono::steady_clock::now();
    const bool drawn = RenderSheet(files.source, files.temporary, format, dpi);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
    LogDebug("Built-in conversion completed in %.3f sec.", static_cast<double>(millis) / 1000.0);
    return PlaceDrawnFile(files, file, drawn);
}

} // namespace kib
