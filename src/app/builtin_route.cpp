// The built-in converter's part of a raster command: which converter a command
// uses, and the conversion of one sheet into a temporary file that replaces its
// target only when complete. The drawing itself is in builtin_convert.cpp.
#include "app/builtin_convert.h"

#include "app/converted_file.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "foundation/app_state.h"
#include "foundation/file_stamp.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "platform/files.h"

#include <chrono>
#include <exception>
#include <vector>

namespace kib {

Converter ConfiguredConverter(const CKibCfg& cfg) {
    const std::string& value = cfg.Item(id::System_CONVERTER).GetValue();
    return !value.empty() && (value[0] == 'B' || value[0] == 'b') ? Converter::BuiltIn
                                                                  : Converter::Inkscape;
}

bool PrepareConverter(const CKibCfg& cfg, Converter wanted, Converter& used) {
    used = wanted;
    if (wanted == Converter::BuiltIn) {
        if (!BuiltInConverterAvailable()) {
            App().Log().Error("This Kib has no built-in converter: choose Inkscape "
                              "(System.CONVERTER).");
            return false;
        }
        return true;
    }
    const std::string& directory = cfg.Item(id::System_INKSCAPEPATH).GetValue();
    if (App().inkscapeKind == InkscapeKind::Unknown && BuiltInConverterAvailable() &&
        !InkscapeInstalled(directory)) {
        App().Log().Info(
            "Inkscape is not installed (not in %s nor on PATH): the built-in converter "
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
        App().Log().Error("Converting '%s' was not completed: its partial file was "
                          "deleted, '%s' was not replaced.",
                          source, target);
        return false;
    }
    if (platform::FileSize(files.temporary) <= 0) {
        file.Abandon();
        App().Log().Error("The built-in converter wrote an empty file converting '%s': "
                          "'%s' was not replaced.",
                          source, target);
        return false;
    }
    // Complete for its format and flushed to disk, or the old file stays.
    const std::string extension = files.target.substr(files.target.rfind('.') + 1);
    return PlaceConvertedFile(files.source, file, extension);
}

bool RenderSheet(const std::string& svg, const std::string& target, OutputFormat format, int dpi) {
    std::vector<std::string> errors;
    AtomicFile file;
    bool drawn = file.Begin(target);
    if (!drawn) {
        errors.push_back(Format("Cannot write file %s: %s", target.c_str(), file.Reason().c_str()));
    }
    drawn = drawn && DrawSheetFile(svg, file, format, dpi, SheetPngEncoding(), errors);
    if (drawn && !file.Commit()) {
        errors.push_back(Format("Cannot write file %s: %s", target.c_str(), file.Reason().c_str()));
        drawn = false;
    }
    for (const std::string& line : errors) {
        App().Log().Say(DiagnosticKind::Error, line);
    }
    return drawn;
}

SheetDrawing DrawSheet(const std::string& base, OutputFormat format, int dpi, bool zSuffix,
                       const PngEncoding& encoding, PixelBand* band) {
    SheetDrawing drawing;
    const char* extension = OutputFormatExtension(format);
    if (extension == nullptr) {
        drawing.errors.push_back(Format("Output format %d is unknown.", static_cast<int>(format)));
        return drawing;
    }
    drawing.known = true;
    drawing.files = MakeConversionFiles(base, extension, zSuffix);
    // The times as CompareFileStamps compares them, their debug lines kept for the log.
    FileStamp source = 0;
    FileStamp target = 0;
    ReadFileStamp(drawing.files.source, source, drawing.notes);
    ReadFileStamp(drawing.files.target, target, drawing.notes);
    if (source < target) {
        drawing.skipped = true;
        return drawing;
    }
    drawing.file = std::make_unique<AtomicFile>();
    if (!drawing.file->BeginAt(drawing.files.target, drawing.files.temporary)) {
        return drawing;
    }
    const auto start = std::chrono::steady_clock::now();
    try {
        drawing.drawn = DrawSheetFile(drawing.files.source, *drawing.file, format, dpi, encoding,
                                      drawing.errors, band);
    } catch (const std::exception& e) {
        // A drawing on a worker must not end the program (no memory).
        drawing.drawn = false;
        drawing.errors.push_back(
            Format("Cannot convert '%s': %s", drawing.files.source.c_str(), e.what()));
    }
    drawing.millis = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::steady_clock::now() - start)
                         .count();
    return drawing;
}

bool ReportDrawing(SheetDrawing& drawing) {
    if (!drawing.known) {
        for (const std::string& line : drawing.errors) {
            App().Log().Say(DiagnosticKind::Error, line);
        }
        return false;
    }
    for (const std::string& note : drawing.notes) {
        App().Log().Debug("%s", note.c_str());
    }
    const ConversionFiles& files = drawing.files;
    if (drawing.skipped) {
        ReportSkippedForTimes(files);
        return true;
    }
    App().Log().Debug("Converting '%s' to '%s' with the built-in converter...",
                      files.source.c_str(), files.temporary.c_str());
    AtomicFile& file = *drawing.file;
    if (file.Failed() == AtomicFile::Failure::Create) {
        App().Log().Error("Cannot write file %s: %s", files.temporary.c_str(),
                          file.Reason().c_str());
        return false;
    }
    for (const std::string& line : drawing.errors) {
        App().Log().Say(DiagnosticKind::Error, line);
    }
    App().Log().Debug("Built-in conversion completed in %.3f sec.",
                      static_cast<double>(drawing.millis) / 1000.0);
    return PlaceDrawnFile(files, file, drawing.drawn);
}

bool ConvertBuiltIn(const std::string& base, OutputFormat format, int dpi, bool zSuffix) {
    SheetDrawing drawing = DrawSheet(base, format, dpi, zSuffix, SheetPngEncoding());
    return ReportDrawing(drawing);
}

} // namespace kib
