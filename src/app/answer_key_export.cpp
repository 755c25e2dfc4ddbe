// Writing the answer key: the one atomic writer for every form, the converter
// for the officials' PDF sheet.
#include "app/answer_key_export.h"

#include "app/answer_key_formats.h"
#include "app/answer_key_sheet.h"
#include "app/answer_key_table.h"
#include "app/builtin_convert.h"
#include "app/inkscape.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/station_set.h"
#include "foundation/app_state.h"
#include "foundation/atomic_file.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "foundation/run_control.h"

#include <chrono>

namespace kib {

namespace {

// Today's date (UTC) as 2026-12-11.
std::string Today() {
    const auto days = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
    const std::chrono::year_month_day date{days};
    return Format("%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
}

bool WriteKeyFile(const std::string& path, const std::string& text) {
    std::string reason;
    if (!WriteWholeFile(path, text, reason)) {
        App().Log().Error("Cannot write file %s: %s", path.c_str(), reason.c_str());
        return false;
    }
    return true;
}

// The sheet's SVG beside target, converted into target by the configured converter.
bool WriteKeySheet(const CKibCfg& cfg, const AnswerKeyTable& table, const std::string& target) {
    const std::string suffix = ".pdf";
    if (target.size() <= suffix.size() ||
        target.compare(target.size() - suffix.size(), suffix.size(), suffix) != 0) {
        App().Log().Error("The answer key sheet %s must be named *.pdf", target.c_str());
        return false;
    }
    const std::string base = target.substr(0, target.size() - suffix.size());
    if (!WriteKeyFile(base + ".svg", AnswerKeySheetSvg(table, Today()))) {
        return false;
    }
    Converter used = Converter::Inkscape;
    if (!PrepareConverter(cfg, ConfiguredConverter(cfg), used)) {
        return false;
    }
    const int dpi = cfg.Item(id::Target_DPI).GetInt();
    return used == Converter::BuiltIn ? ConvertBuiltIn(base, OutputFormat::Pdf, dpi, false)
                                      : ConvertSheet(base, OutputFormat::Pdf, dpi, false);
}

} // namespace

bool ParseKeyFormat(const std::string& text, KeyFormat& format) {
    for (KeyFormat f : {KeyFormat::Csv, KeyFormat::Json, KeyFormat::Pdf}) {
        if (text == KeyFormatExtension(f)) {
            format = f;
            return true;
        }
    }
    return false;
}

const char* KeyFormatExtension(KeyFormat format) {
    switch (format) {
    case KeyFormat::Json:
        return "json";
    case KeyFormat::Pdf:
        return "pdf";
    case KeyFormat::Csv:
        break;
    }
    return "csv";
}

KeyFormat KeyFormatOfPath(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    KeyFormat format = KeyFormat::Csv;
    if (dot != std::string::npos && ParseKeyFormat(path.substr(dot + 1), format)) {
        return format;
    }
    return KeyFormat::Csv;
}

std::string DefaultKeyPath(const CKibDoc& doc, KeyFormat format) {
    std::string name = doc.GetFileName();
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) {
        name.erase(dot);
    }
    return doc.GetDirectory() + name + "-key." + KeyFormatExtension(format);
}

int ExportAnswerKey(CKibDoc& doc, const std::vector<int>& stations, KeyFormat format,
                    const std::string& target, std::string& written) {
    written.clear();
    const LogScope tally;
    AnswerKeyTable table;
    int status = CollectAnswerKey(doc, stations, table);
    if (table.stopped) {
        return 2;
    }
    bool done = false;
    switch (format) {
    case KeyFormat::Csv:
        done = WriteKeyFile(target, KeyCsv(table));
        break;
    case KeyFormat::Json:
        done = WriteKeyFile(target, KeyJson(table));
        break;
    case KeyFormat::Pdf:
        done = WriteKeySheet(*doc.GetConfig(), table, target);
        break;
    }
    if (!done) {
        return 2;
    }
    written = target;
    App().Log().Info("Answer key %s written (%d tasks of %d stations).", target.c_str(),
                     static_cast<int>(table.rows.size()), static_cast<int>(table.stations.size()));
    if (tally.Errors() > 0) {
        status = 2;
    }
    return status;
}

int ExportAnswerKeyCommand(CKibDoc* doc, const std::string& target) {
    if (!doc || !doc->GetConfig() || IsForbiddenWhileRunning()) {
        return 2;
    }
    const std::vector<int> stations = StationSet::Every().Chosen(*doc->GetConfig());
    std::string written;
    const int status = stations.empty() ? 2
                                        : ExportAnswerKey(*doc, stations, KeyFormatOfPath(target),
                                                          target, written);
    const Verdict verdict = status == 0   ? Verdict::Success
                            : status == 1 ? Verdict::Warnings
                                          : Verdict::Errors;
    ShowClosingBox(verdict,
                   written.empty() ? "The answer key was not written. See the log for details."
                                   : "Answer key " + written +
                                         " written, but with errors: some stations are missing. "
                                         "See the log for details.",
                   "Answer key " + written +
                       " written with warnings: check the tasks named in the log.",
                   "Answer key " + written + " written; the maps confirm every task.");
    return status;
}

} // namespace kib
