// Whole runs of `kib proof` on the demo event: the page shows every station and
// canvas with the answer key the generator intended, its pictures are on disk
// and load in a real headless browser without a console error, and a second
// run leaves the sheets alone.
#include "generator.h"
#include "support/demo_inputs.h"
#include "support/file_size_limit.h"
#include "support/run_program.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

// The body of the page read as XML (the page writes its body well-formed).
bool LoadBody(const std::string& html, pugi::xml_document& xml) {
    const std::size_t body = html.find("<body>");
    const std::size_t end = html.find("</body>");
    if (body == std::string::npos || end == std::string::npos) {
        return false;
    }
    return static_cast<bool>(xml.load_string(html.substr(body, end + 7 - body).c_str()));
}

// The answers the demo's generator intended, per station, from expected.txt.
std::map<int, std::string> IntendedAnswers() {
    std::map<int, std::string> answers;
    std::istringstream lines(ReadFile(std::string(KIB_SOURCE_DIR) + "/examples/demo/expected.txt"));
    static const std::regex kStation(R"(^station (\d+) .*answers ([A-FZ]+) )");
    std::smatch m;
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_search(line, m, kStation)) {
            answers[std::stoi(m[1])] = m[2];
        }
    }
    return answers;
}

class ProofCommandTest : public ::testing::Test {
  protected:
    void SetUp() override { dir = CopyDemoToTempDir("e2e-proof"); }
    void TearDown() override { fs::remove_all(dir); }
    std::string dir;
};

TEST_F(ProofCommandTest, PageShowsEveryStationCanvasAndAnswer) {
    const ProgramResult r = RunProgram({KibBinary(), "proof", dir + "/demo.cfg"});
    ASSERT_LT(r.status, 2) << r.out << r.err;
    EXPECT_NE(r.err.find("info: Proof page " + dir + "/proof.html written.\n"), std::string::npos)
        << r.err;
    pugi::xml_document xml;
    ASSERT_TRUE(LoadBody(ReadFile(dir + "/proof.html"), xml));

    const std::map<int, std::string> intended = IntendedAnswers();
    ASSERT_EQ(intended.size(), 4u);
    for (const auto& [station, answers] : intended) {
        SCOPED_TRACE(station);
        const std::string section = "//section[@id='station-" + std::to_string(station) + "']";
        const auto figures =
            xml.select_nodes((section + "//div[@class='canvases']/figure").c_str());
        ASSERT_EQ(figures.size(), answers.size() + 1) << "the cover and every task";
        std::string shown;
        for (std::size_t t = 0; t < figures.size(); ++t) {
            const pugi::xml_node figure = figures[t].node();
            EXPECT_EQ(figure.attribute("id").value(),
                      "s" + std::to_string(station) + "t" + std::to_string(t));
            const pugi::xml_node img = figure.select_node(".//img").node();
            ASSERT_TRUE(img);
            EXPECT_TRUE(fs::exists(dir + "/" + img.attribute("src").value()));
            EXPECT_TRUE(fs::exists(dir + "/" +
                                   figure.select_node(".//a").node().attribute("href").value()));
            if (t > 0) {
                shown += figure.select_node(".//span[@class='answer']").node().text().get();
            }
        }
        EXPECT_EQ(shown, answers);
        EXPECT_TRUE(xml.select_node((section + "//figure[@class='solution']//img").c_str()));
    }
    EXPECT_EQ(xml.select_nodes("//ul[@class='index']/li").size(), 4u);

    // Station 3's rotation comes from its configured sector.
    const std::string html = ReadFile(dir + "/proof.html");
    EXPECT_NE(html.find("60&#176; (configured sector MINANGLE 270, MAXANGLE 330)"),
              std::string::npos);
}

// The proof reads each input once and lays out each station once: its two runs
// share the parsed maps and the layout check's layouts, and still make the very
// sheets that `kib maps` and `kib solutions` make.
TEST_F(ProofCommandTest, EachMapParsedAndEachStationLaidOutOnceForTheSameSheets) {
    const std::string log = dir + "/debug.log";
    const ProgramResult r =
        RunProgram({KibBinary(), "--debug-log", log, "proof", dir + "/demo.cfg"});
    ASSERT_LT(r.status, 2) << r.out << r.err;
    const std::string debug = ReadFile(log);
    auto count = [&debug](const std::string& text) {
        std::size_t n = 0;
        for (std::size_t at = debug.find(text); at != std::string::npos;
             at = debug.find(text, at + text.size())) {
            ++n;
        }
        return n;
    };
    for (int s = 1; s <= 4; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(count("Parsing map export " + dir + "/Demo.S" + std::to_string(s) + ".svg"), 1u);
        EXPECT_EQ(
            count("Layout of station " + std::to_string(s) + " (competition sheets) computed."),
            1u);
    }
    EXPECT_EQ(count("(solution sheets) computed."), 1u);
    EXPECT_EQ(count("Parsing courses file "), 1u);

    const std::string other = CopyDemoToTempDir("e2e-proof-runs");
    ASSERT_LT(RunProgram({KibBinary(), "maps", other + "/demo.cfg"}).status, 2);
    ASSERT_LT(RunProgram({KibBinary(), "solutions", other + "/demo.cfg"}).status, 2);
    std::size_t compared = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(other)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".svg" && name.rfind("Demo.", 0) != 0) {
            EXPECT_EQ(ReadFile(entry.path().string()), ReadFile(dir + "/" + name)) << name;
            ++compared;
        }
    }
    EXPECT_GT(compared, 20u);
    fs::remove_all(other);
}

TEST_F(ProofCommandTest, ChosenStationsAndASecondRunThatRewritesNoSheet) {
    const std::string page = dir + "/check/two.html";
    fs::create_directory(dir + "/check");
    ProgramResult r =
        RunProgram({KibBinary(), "proof", dir + "/demo.cfg", "--stations", "2", "-o", page});
    ASSERT_LT(r.status, 2) << r.out << r.err;
    pugi::xml_document xml;
    ASSERT_TRUE(LoadBody(ReadFile(page), xml));
    EXPECT_EQ(xml.select_nodes("//section").size(), 1u);
    EXPECT_TRUE(xml.select_node("//section[@id='station-2']"));
    EXPECT_TRUE(fs::exists(dir + "/check/two-files/map-2.3.png"));

    const auto before = fs::last_write_time(dir + "/map-2.1.svg");
    r = RunProgram({KibBinary(), "proof", dir + "/demo.cfg", "--stations", "2", "-o", page});
    ASSERT_LT(r.status, 2) << r.out << r.err;
    EXPECT_EQ(fs::last_write_time(dir + "/map-2.1.svg"), before);
}

// The page in Debian's Chromium, headless: no console message, and the page's
// own check finds every picture loaded.
TEST_F(ProofCommandTest, PageLoadsInARealBrowserWithEveryPicture) {
    if (std::system("command -v chromium >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "chromium is not installed";
    }
    ASSERT_LT(RunProgram({KibBinary(), "--quiet", "proof", dir + "/demo.cfg"}).status, 2);
    const ProgramResult browser = RunProgram(
        {"/usr/bin/chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
         "--no-first-run", "--disable-background-networking", "--disable-component-update",
         "--disable-sync", "--user-data-dir=" + dir + "/browser-profile", "--enable-logging=stderr",
         "--v=0", "--dump-dom", "file://" + dir + "/proof.html"});
    EXPECT_EQ(browser.status, 0) << browser.err;
    EXPECT_EQ(browser.err.find(":CONSOLE"), std::string::npos) << browser.err;
    const std::regex images(R"re(<body data-images="ok" data-image-count="(\d+)")re");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(browser.out, m, images)) << browser.out.substr(0, 2000);
    // 22 canvases (4 covers and 18 tasks) and one solution sheet per station.
    EXPECT_EQ(std::stoi(m[1]), 22 + 4);
}

// Any page name works: colons, blanks, "#", "?", "%", quotes and letters
// beyond ASCII. No link of the page reads as a URL scheme, and every picture
// and every link opens its picture in the browser.
TEST_F(ProofCommandTest, AnyPageNameGivesLinksThatOpenThePictures) {
    if (std::system("command -v chromium >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "chromium is not installed";
    }
    const std::vector<std::string> names = {"javascript:alert(1).html", "Check 12:00.html",
                                            "a#b?c%41 'q\" \xc3\xa9.html"};
    std::string check;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const ProgramResult r = RunProgram({KibBinary(), "--quiet", "proof", dir + "/demo.cfg",
                                            "--stations", "2", "-o", dir + "/" + name});
        ASSERT_LT(r.status, 2) << r.err;
        pugi::xml_document xml;
        ASSERT_TRUE(LoadBody(ReadFile(dir + "/" + name), xml));
        const auto links =
            xml.select_nodes("//a[@href and not(starts-with(@href, '#'))]/@href | //img/@src");
        ASSERT_EQ(links.size(), 2u * (4 + 1)) << "the cover, 3 tasks and the solution sheet";
        static const std::regex kScheme("^[A-Za-z][A-Za-z0-9+.-]*:");
        for (const auto& link : links) {
            const std::string value = link.attribute().value();
            EXPECT_FALSE(std::regex_search(value, kScheme)) << value;
            EXPECT_EQ(value.find_first_of("#? \"'"), std::string::npos) << value;
            check += "<img src=\"" + value + "\"/>\n";
        }
    }
    // Every link of the three pages as the source of a picture, in a page
    // beside them: each must load.
    const std::string page = ReadFile(dir + "/" + names[0]);
    const std::size_t script = page.find("<script>");
    const std::size_t scriptEnd = page.find("</script>");
    ASSERT_NE(script, std::string::npos);
    WriteFile(dir + "/links.html", "<!DOCTYPE html>\n<html><head>" +
                                       page.substr(script, scriptEnd + 9 - script) +
                                       "</head><body>\n" + check + "</body></html>\n");
    const ProgramResult browser = RunProgram(
        {"/usr/bin/chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
         "--no-first-run", "--disable-background-networking", "--disable-component-update",
         "--disable-sync", "--user-data-dir=" + dir + "/browser-profile", "--dump-dom",
         "file://" + dir + "/links.html"});
    EXPECT_EQ(browser.status, 0) << browser.err;
    const std::regex images(R"re(<body data-images="ok" data-image-count="(\d+)")re");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(browser.out, m, images)) << browser.out.substr(0, 3000);
    EXPECT_EQ(std::stoi(m[1]), static_cast<int>(3 * 2 * (4 + 1)));
}

// The pictures of a station's canvases on the page.
std::size_t CanvasPictures(const pugi::xml_document& xml, int station) {
    return xml
        .select_nodes(("//section[@id='station-" + std::to_string(station) +
                       "']//div[@class='canvases']//img")
                          .c_str())
        .size();
}

std::string StationMark(const pugi::xml_document& xml, int station) {
    return xml
        .select_node(
            ("//section[@id='station-" + std::to_string(station) + "']/h2/span/@class").c_str())
        .attribute()
        .value();
}

// A proof run from a script (no terminal, no --yes) after one station's map was
// exported again: the question about the exports gets its default answer No,
// which the log states; the station is red and shows none of its old pictures.
// Answered Yes, the new pictures are shown. After the mode was WEB and is PRT
// again, the page shows the PRT solution sheet, not the newer WEB one.
TEST_F(ProofCommandTest, AScriptedProofShowsNoStalePictureAndTheCurrentSolutionSheet) {
    const std::string cfg = dir + "/demo.cfg";
    const std::vector<std::string> proof = {KibBinary(), "proof", cfg, "--stations", "2"};
    ProgramResult r = RunProgram(proof);
    ASSERT_LT(r.status, 2) << r.out << r.err;
    const std::string picture = dir + "/proof-files/map-2.1.png";
    const std::string old = ReadFile(picture);

    std::string map = ReadFile(dir + "/Demo.S2.svg");
    for (std::size_t at; (at = map.find("rgb(166,38,255)")) != std::string::npos;) {
        map.replace(at, 15, "rgb(255,0,0)");
    }
    WriteFile(dir + "/Demo.S2.svg", map);
    fs::last_write_time(dir + "/Demo.S2.svg",
                        fs::last_write_time(dir + "/Demo.S2.svg") + std::chrono::seconds(2));
    r = RunProgram(proof);
    EXPECT_EQ(r.status, 2) << r.out << r.err;
    const std::string answer =
        "Are you sure to have recently exported both maps and courses? No (the default answer)";
    EXPECT_NE(r.out.find(answer), std::string::npos) << r.out;
    pugi::xml_document xml;
    ASSERT_TRUE(LoadBody(ReadFile(dir + "/proof.html"), xml));
    EXPECT_EQ(StationMark(xml, 2), "mark red");
    EXPECT_EQ(CanvasPictures(xml, 2), 0u) << "no picture of the old sheets";
    EXPECT_FALSE(xml.select_node("//figure[@class='solution']"));
    EXPECT_NE(ReadFile(dir + "/proof.html").find(answer), std::string::npos);

    r = RunProgram({KibBinary(), "--yes", "proof", cfg, "--stations", "2"});
    ASSERT_LT(r.status, 2) << r.out << r.err;
    ASSERT_TRUE(LoadBody(ReadFile(dir + "/proof.html"), xml));
    EXPECT_EQ(StationMark(xml, 2), "mark green");
    EXPECT_EQ(CanvasPictures(xml, 2), 4u);
    EXPECT_NE(ReadFile(picture), old) << "the picture of the new sheet";

    const std::string prt = ReadFile(cfg);
    WriteFile(cfg, prt + "\r\n[Target]\r\nMODE=WEB\r\n");
    ASSERT_LT(RunProgram(proof).status, 2);
    ASSERT_TRUE(LoadBody(ReadFile(dir + "/proof.html"), xml));
    EXPECT_STREQ(xml.select_node("//figure[@class='solution']//img/@src").attribute().value(),
                 "./proof-files/sol-2.png");
    WriteFile(cfg, prt);
    ASSERT_LT(RunProgram(proof).status, 2);
    ASSERT_TRUE(LoadBody(ReadFile(dir + "/proof.html"), xml));
    EXPECT_STREQ(xml.select_node("//figure[@class='solution']//img/@src").attribute().value(),
                 "./proof-files/sol-2-2.png");
    EXPECT_STREQ(xml.select_node("//figure[@class='solution']//a/@href").attribute().value(),
                 "./proof-files/sol-2-2-full.png");
}

// Pictures that do not fit on the disk (a file-size limit stands in for a full
// one, which the page still fits): each missing picture is named, the station
// is red and the proof ends with errors.
TEST_F(ProofCommandTest, PicturesOnAFullDiskAreNamedAndTheStationIsRed) {
    const std::vector<std::string> proof = {KibBinary(), "proof", dir + "/demo.cfg", "--stations",
                                            "2"};
    ASSERT_LT(RunProgram(proof).status, 2);
    fs::remove_all(dir + "/proof-files");
    ProgramResult r;
    {
        FileSizeLimit full(12000);
        ASSERT_TRUE(full.Active());
        r = RunProgram(proof);
    }
    EXPECT_EQ(r.status, 2) << r.out << r.err;
    for (const char* name : {"map-2.0.png", "map-2.3-full.png", "sol-2-2.png"}) {
        EXPECT_NE(r.out.find(std::string("[** ERROR **] No picture ") + dir + "/proof-files/" +
                             name + " of "),
                  std::string::npos)
            << name << "\n"
            << r.out;
    }
    pugi::xml_document xml;
    ASSERT_TRUE(LoadBody(ReadFile(dir + "/proof.html"), xml));
    EXPECT_EQ(StationMark(xml, 2), "mark red");
    EXPECT_EQ(CanvasPictures(xml, 2), 0u);
}

// The canvases are drawn from their sheets' texts while the run goes on: they
// are the pictures the sheets' files give, byte for byte. A station whose last
// sheet cannot be put in place (a folder stands at its name) fails, and none
// of the pictures drawn meanwhile stays to pass for its older sheets.
TEST_F(ProofCommandTest, PicturesDrawnBesideTheRunAreTheSheetsOwnAndGoWithAFailedStation) {
    const std::vector<std::string> proof = {KibBinary(), "proof", dir + "/demo.cfg", "--stations",
                                            "2"};
    ASSERT_LT(RunProgram(proof).status, 2);
    const std::string files = dir + "/proof-files/";
    std::map<std::string, std::string> drawn;
    for (const auto& entry : fs::directory_iterator(files)) {
        drawn[entry.path().filename().string()] = ReadFile(entry.path().string());
    }
    EXPECT_EQ(drawn.count("map-2.3-full.png"), 1u);
    fs::remove_all(files);
    ASSERT_LT(RunProgram(proof).status, 2); // the sheets are kept: drawn from their files
    for (const auto& [name, bytes] : drawn) {
        EXPECT_EQ(ReadFile(files + name), bytes) << name;
    }

    fs::remove_all(dir);
    dir = CopyDemoToTempDir("e2e-proof");
    fs::create_directory(dir + "/map-2.3.svg");
    const ProgramResult r = RunProgram(proof);
    EXPECT_EQ(r.status, 2) << r.out << r.err;
    EXPECT_NE(r.out.find("[** ERROR **] Cannot replace " + dir + "/map-2.3.svg"), std::string::npos)
        << r.out;
    pugi::xml_document xml;
    ASSERT_TRUE(LoadBody(ReadFile(dir + "/proof.html"), xml));
    EXPECT_EQ(StationMark(xml, 2), "mark red");
    EXPECT_EQ(CanvasPictures(xml, 2), 0u);
    for (const auto& entry : fs::directory_iterator(dir + "/proof-files")) {
        // The solution sheet was made, and its pictures are its own.
        EXPECT_EQ(entry.path().filename().string().rfind("map-", 0), std::string::npos)
            << "a picture of the failed station's canvases stays: " << entry.path();
    }
}

// The pictures are put in place together once all are drawn: one that cannot be
// (a folder stands at its name) is named in the log and marks its station red;
// the others are in place.
TEST_F(ProofCommandTest, APictureThatCannotBePutInPlaceIsNamedAndItsStationIsRed) {
    const std::string files = dir + "/proof-files/";
    fs::create_directories(files + "map-2.1-full.png");
    const ProgramResult r =
        RunProgram({KibBinary(), "proof", dir + "/demo.cfg", "--stations", "2"});
    EXPECT_EQ(r.status, 2) << r.out << r.err;
    EXPECT_NE(r.out.find("[** ERROR **] No picture " + files + "map-2.1-full.png of " + dir +
                         "/map-2.1.svg for the proof: cannot write " + files +
                         "map-2.1-full.png: it is a folder, not a regular file\n"),
              std::string::npos)
        << r.out;
    pugi::xml_document xml;
    ASSERT_TRUE(LoadBody(ReadFile(dir + "/proof.html"), xml));
    EXPECT_EQ(StationMark(xml, 2), "mark red");
    EXPECT_EQ(CanvasPictures(xml, 2), 3u) << "every canvas but the one without its picture";
    for (const char* name : {"map-2.0.png", "map-2.0-full.png", "map-2.1.png", "sol-2-2.png"}) {
        EXPECT_TRUE(fs::is_regular_file(files + name)) << name;
    }
}

// A map beyond the kept maps' budget is read again by the solution run, which
// logs its analysis again: the station's log on the page lists it once.
TEST_F(ProofCommandTest, AMapReadAgainBySolutionRunListsItsAnalysisOnce) {
    fs::remove_all(dir);
    dir = MakeTempDir("e2e-proof-large");
    gen::Options o;
    o.seed = 23;
    o.outDir = dir;
    o.eventName = "Large";
    o.stations = 1;
    o.tasks = {2};
    o.objects = 10000; // an export of about 3 MB, read as some 20 MB: not kept
    o.cfgName = "large.cfg";
    o.quiet = true;
    std::string summary;
    std::string error;
    ASSERT_TRUE(gen::GenerateEvent(o, summary, error)) << error;
    ASSERT_GT(fs::file_size(dir + "/Large.S1.svg"), 2500000u);
    const ProgramResult r = RunProgram({KibBinary(), "--yes", "proof", dir + "/large.cfg"});
    ASSERT_LT(r.status, 2) << r.out << r.err;
    const std::string page = ReadFile(dir + "/proof.html");
    const std::string analysis = "Station #1: Viewing angle ";
    const std::size_t first = page.find(analysis);
    ASSERT_NE(first, std::string::npos) << page;
    EXPECT_EQ(page.find(analysis, first + 1), std::string::npos) << "listed twice";
}

} // namespace
} // namespace kib::test
