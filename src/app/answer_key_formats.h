// The answer key as files for the results desk's software: CSV and JSON.
#pragma once

#include "app/answer_key_table.h"

#include <string>

namespace kib {

// The header line of the CSV file.
inline constexpr const char* kKeyCsvHeader = "station,task,code,key,map,flag,distance_m,agree";

// A CSV field: as it is, or in double quotes (each quote doubled) when it holds
// a comma, a quote, a line break or leading or trailing blanks.
std::string CsvField(const std::string& text);

// A JSON string literal of UTF-8 text, with quotes, backslashes and control
// characters escaped.
std::string JsonString(const std::string& text);

// The distance in metres with one decimal ("3.1"); empty when unknown.
std::string KeyDistance(double metres);

// The CSV file: the header line, then one line per row, each ended by CR LF.
std::string KeyCsv(const AnswerKeyTable& table);

// One JSON document: the event's title lines, date and name, and the same rows
// as the CSV file, each an object with the header's names ("agree" true or
// false, "distance_m" a number or null).
std::string KeyJson(const AnswerKeyTable& table);

} // namespace kib
