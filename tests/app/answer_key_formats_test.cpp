// The answer key's CSV fields and JSON strings: delimiters, quotes and line
// breaks in a text never break a row or the document.
#include "app/answer_key_formats.h"

#include <gtest/gtest.h>

namespace kib {
namespace {

TEST(AnswerKeyFormats, CsvFieldsAreQuotedWhereTheyMustBe) {
    const struct {
        const char* text;
        const char* field;
    } cases[] = {
        {"101", "101"},
        {"", ""},
        {"a,b", "\"a,b\""},
        {"say \"B\"", "\"say \"\"B\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\rhere", "\"cr\rhere\""},
        {" padded", "\" padded\""},
        {"Ölberg", "Ölberg"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CsvField(c.text), c.field) << c.text;
    }
}

TEST(AnswerKeyFormats, JsonStringsEscapeQuotesBackslashesAndControls) {
    const struct {
        const char* text;
        const char* json;
    } cases[] = {
        {"Cup", "\"Cup\""},
        {"a \"b\", c", "\"a \\\"b\\\", c\""},
        {"back\\slash", "\"back\\\\slash\""},
        {"line\nbreak\r\t", "\"line\\nbreak\\r\\t\""},
        {"\x01\x1f", "\"\\u0001\\u001f\""},
        {"Ölberg", "\"Ölberg\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JsonString(c.text), c.json) << c.text;
    }
}

TEST(AnswerKeyFormats, RowsWithUnknownsKeepTheirColumns) {
    AnswerKeyTable table;
    table.title1 = "A, \"B\"\nC";
    KeyRow known{.station = 2,
                 .task = 3,
                 .code = "1,2",
                 .key = "Z",
                 .map = "Z",
                 .flag = 'E',
                 .metres = 3.14,
                 .agree = true};
    KeyRow unknown{.station = 2,
                   .task = 4,
                   .code = "",
                   .key = "",
                   .map = "?",
                   .flag = 0,
                   .metres = -1,
                   .agree = false};
    table.rows = {known, unknown};
    EXPECT_EQ(KeyCsv(table), "station,task,code,key,map,flag,distance_m,agree\r\n"
                             "2,3,\"1,2\",Z,Z,E,3.1,yes\r\n"
                             "2,4,,,?,,,no\r\n");
    const std::string json = KeyJson(table);
    EXPECT_NE(json.find("\"title1\": \"A, \\\"B\\\"\\nC\""), std::string::npos) << json;
    EXPECT_NE(json.find("{\"station\": 2, \"task\": 3, \"code\": \"1,2\", \"key\": \"Z\", \"map\": "
                        "\"Z\", \"flag\": \"E\", \"distance_m\": 3.1, \"agree\": true}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"flag\": \"\", \"distance_m\": null, \"agree\": false}"),
              std::string::npos)
        << json;
}

} // namespace
} // namespace kib
