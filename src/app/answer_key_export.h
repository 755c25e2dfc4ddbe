// kib key and File -> Export answer key: the answer key of the chosen stations
// written as CSV or JSON for the results desk, or as the officials' PDF sheet.
#pragma once

#include <string>
#include <vector>

namespace kib {

class CKibDoc;

enum class KeyFormat { Csv, Json, Pdf };

// "csv", "json" or "pdf"; false for any other text.
bool ParseKeyFormat(const std::string& text, KeyFormat& format);
// "csv", "json" or "pdf".
const char* KeyFormatExtension(KeyFormat format);

// The format of a file by its extension: .json, .pdf, else CSV.
KeyFormat KeyFormatOfPath(const std::string& path);

// Beside the configuration, named after it: "EVENT-key.csv" for EVENT.cfg.
std::string DefaultKeyPath(const CKibDoc& doc, KeyFormat format);

// Reads the key of the stations (CollectAnswerKey, with its warnings and
// errors) and writes it into target through the atomic writer, the rows of the
// stations that could be read; a stopped reading writes nothing. The PDF sheet
// is written as an SVG beside it (target without ".pdf", plus ".svg"), which
// the configured converter (System.CONVERTER) turns into target. written names
// the file put in place, empty when none. Returns 2 when a station could not be
// read, the file could not be written or converted; else 1 when a task's key
// is missing or not confirmed by the map (or another warning was logged); else 0.
int ExportAnswerKey(CKibDoc& doc, const std::vector<int>& stations, KeyFormat format,
                    const std::string& target, std::string& written);

// File -> Export answer key: every station of the event's range into target,
// in the format of its extension; refused while a run is active. Closes with a
// box: information when the key was written and every task confirmed, warning
// when written with warnings, error when it failed. Returns the status.
int ExportAnswerKeyCommand(CKibDoc* doc, const std::string& target);

} // namespace kib
