// CSV and JSON forms of the answer key.
#include "app/answer_key_formats.h"

#include "foundation/format.h"

namespace kib {

namespace {

std::string FlagText(char flag) {
    return flag != 0 ? std::string(1, flag) : std::string();
}

} // namespace

std::string CsvField(const std::string& text) {
    const bool quoted = text.find_first_of(",\"\r\n") != std::string::npos ||
                        (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quoted) {
        return text;
    }
    std::string out = "\"";
    for (char c : text) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + "\"";
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20 || byte == 0x7f) {
                out += Format("\\u%04x", static_cast<unsigned>(byte));
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string KeyDistance(double metres) {
    return metres < 0.0 ? std::string() : Format("%.1f", metres);
}

std::string KeyCsv(const AnswerKeyTable& table) {
    std::string out = std::string(kKeyCsvHeader) + "\r\n";
    for (const KeyRow& r : table.rows) {
        out += std::to_string(r.station) + "," + std::to_string(r.task) + "," + CsvField(r.code) +
               "," + CsvField(r.key) + "," + CsvField(r.map) + "," + FlagText(r.flag) + "," +
               KeyDistance(r.metres) + "," + (r.agree ? "yes" : "no") + "\r\n";
    }
    return out;
}

std::string KeyJson(const AnswerKeyTable& table) {
    std::string out = "{\n";
    out += "  \"title1\": " + JsonString(table.title1) + ",\n";
    out += "  \"title2\": " + JsonString(table.title2) + ",\n";
    out += "  \"date\": " + JsonString(table.date) + ",\n";
    out += "  \"name\": " + JsonString(table.name) + ",\n";
    out += "  \"rows\": [";
    for (std::size_t k = 0; k < table.rows.size(); ++k) {
        const KeyRow& r = table.rows[k];
        const std::string distance = KeyDistance(r.metres);
        out += k == 0 ? "\n" : ",\n";
        out += "    {\"station\": " + std::to_string(r.station) +
               ", \"task\": " + std::to_string(r.task) + ", \"code\": " + JsonString(r.code) +
               ", \"key\": " + JsonString(r.key) + ", \"map\": " + JsonString(r.map) +
               ", \"flag\": " + JsonString(FlagText(r.flag)) +
               ", \"distance_m\": " + (distance.empty() ? std::string("null") : distance) +
               ", \"agree\": " + (r.agree ? "true" : "false") + "}";
    }
    out += table.rows.empty() ? "]\n" : "\n  ]\n";
    return out + "}\n";
}

} // namespace kib
