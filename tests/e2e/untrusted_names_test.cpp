// Names that come from files others may edit (the sheet record in the output
// folder) or from configured values (Event.NAME) never lead a run out of the
// output folder, nor give a station sheets that are not its own.
#include "support/demo_inputs.h"
#include "support/run_program.h"

#include <gtest/gtest.h>
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <filesystem>
#include <sstream>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

std::size_t PdfPages(const std::string& path) {
    QPDF pdf;
    pdf.processFile(path.c_str());
    return QPDFPageDocumentHelper(pdf).getAllPages().size();
}

std::size_t FilesLike(const std::string& dir, const std::string& prefix, const std::string& ext) {
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        count += name.starts_with(prefix) && entry.path().extension() == ext ? 1 : 0;
    }
    return count;
}

// The record's text with the sheet lines of one entry replaced.
std::string WithSheets(const std::string& record, const std::string& key,
                       const std::vector<std::string>& sheets) {
    std::istringstream in(record);
    std::string out;
    bool inEntry = false;
    bool written = false;
    for (std::string line; std::getline(in, line);) {
        if (line == "entry " + key) {
            inEntry = true;
        } else if (line == "end") {
            inEntry = false;
        }
        if (inEntry && line.starts_with("sheet ")) {
            if (!written) {
                for (const std::string& sheet : sheets) {
                    out += sheet + "\n";
                }
                written = true;
            }
            continue;
        }
        out += line + "\n";
    }
    return out;
}

// The sheet lines of one entry.
std::vector<std::string> SheetLines(const std::string& record, const std::string& key) {
    std::istringstream in(record);
    std::vector<std::string> sheets;
    bool inEntry = false;
    for (std::string line; std::getline(in, line);) {
        inEntry = line == "entry " + key || (inEntry && line != "end");
        if (inEntry && line.starts_with("sheet ")) {
            sheets.push_back(line);
        }
    }
    return sheets;
}

// A hand-edited record whose entry names a sheet outside the output folder (its
// size and time those of the file planted there), and one whose entry names
// another station's sheet: each entry is dropped, its station made again, and
// the print file holds the run's own sheets only.
TEST(UntrustedNamesTest, RecordEntriesNamingOtherSheetsAreDropped) {
    const std::string dir = CopyDemoToTempDir("e2e-record-names");
    const std::string outside = MakeTempDir("e2e-record-outside");
    const std::string cfg = dir + "/demo.cfg";
    const std::vector<std::string> images = {
        KibBinary(),  "--debug-log", dir + "/debug.txt", "images",  cfg,        "--format", "pdf",
        "--stations", "1,2",         "--converter",      "builtin", "--combine"};
    ASSERT_EQ(RunProgram(images).status, 0);
    const std::string recordPath = dir + "/kib-maps.record";
    const std::string record = ReadFile(recordPath);

    // Station 1's cover sheet named as a file beside the event, with its size and time.
    const std::string evil = outside + "/evil.svg";
    fs::copy_file(dir + "/map-1.0.svg", evil);
    fs::last_write_time(evil, fs::last_write_time(dir + "/map-1.0.svg"));
    std::vector<std::string> station1 = SheetLines(record, "station 1");
    ASSERT_FALSE(station1.empty());
    const std::string relative = "../" + fs::path(outside).filename().string() + "/evil.svg";
    station1.front().replace(station1.front().rfind(' ') + 1, std::string::npos, relative);
    // Station 2 names station 1's first print sheet instead of its own.
    const std::vector<std::string> printOf1 = {SheetLines(record, "station 1")[2]};
    ASSERT_NE(printOf1.front().find(" prn-1."), std::string::npos) << printOf1.front();
    WriteFile(recordPath,
              WithSheets(WithSheets(record, "station 1", station1), "station 2", printOf1));

    const ProgramResult r = RunProgram(images);
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_FALSE(fs::exists(outside + "/evil.pdf")) << "nothing written outside the event";
    EXPECT_EQ(std::distance(fs::directory_iterator(outside), fs::directory_iterator()), 1);
    const std::size_t own = FilesLike(dir, "prn-1.", ".pdf") + FilesLike(dir, "prn-2.", ".pdf");
    EXPECT_EQ(PdfPages(dir + "/Demo-maps.pdf"), own);
    EXPECT_NE(r.out.find(std::to_string(own) + " sheets combined into"), std::string::npos)
        << r.out;
    const std::string debug = ReadFile(dir + "/debug.txt");
    for (const char* key : {"station 1", "station 2"}) {
        EXPECT_NE(debug.find("the entry '" + std::string(key) +
                             "' names other sheets than its own; it is made again."),
                  std::string::npos)
            << key;
    }
    // Made again, each station has its own entry back.
    const std::string mended = ReadFile(recordPath);
    EXPECT_EQ(SheetLines(mended, "station 1"), SheetLines(record, "station 1"));
    EXPECT_EQ(SheetLines(mended, "station 2").size(), SheetLines(record, "station 2").size());
    fs::remove_all(dir);
    fs::remove_all(outside);
}

// Event.NAME with "../../" put the print file two folders above the output
// folder; it is named after the configuration in the output folder instead.
TEST(UntrustedNamesTest, AnEventNameThatLeadsOutOfTheFolderIsNotUsedForTheFileName) {
    const std::string top = MakeTempDir("e2e-event-name");
    const std::string demo = CopyDemoToTempDir("e2e-event-name-demo");
    const std::string dir = top + "/a/b";
    fs::create_directories(dir);
    for (const auto& entry : fs::directory_iterator(demo)) {
        fs::copy_file(entry.path(), dir + "/" + entry.path().filename().string());
    }
    const std::string cfg = dir + "/demo.cfg";
    WriteFile(cfg, ReadFile(cfg) + "\r\n[Event]\r\nNAME=../../escaped\r\n[Source]\r\n"
                                   "MAP=Demo.${COURSE}.svg\r\nCOURSES=Demo.Courses.xml\r\n");
    const ProgramResult r = RunProgram({KibBinary(), "images", cfg, "--format", "pdf", "--stations",
                                        "1", "--converter", "builtin", "--combine"});
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_NE(r.out.find("[= WARNING =] Event.NAME '../../escaped' holds a folder separator or "
                         "'..', which would put the print file outside the output folder: it is "
                         "named after the configuration, demo-maps.pdf."),
              std::string::npos)
        << r.out;
    EXPECT_FALSE(fs::exists(top + "/escaped-maps.pdf"));
    EXPECT_EQ(PdfPages(dir + "/demo-maps.pdf"), FilesLike(dir, "prn-1.", ".pdf"));
    for (const auto& entry : fs::recursive_directory_iterator(top)) {
        EXPECT_TRUE(entry.is_directory() || entry.path().parent_path() == dir) << entry.path();
    }
    fs::remove_all(top);
    fs::remove_all(demo);
}

} // namespace
} // namespace kib::test
