// Whole runs of `kib proof` on the demo event: the page shows every station and
// canvas with the answer key the generator intended, its pictures are on disk
// and load in a real headless browser without a console error, and a second
// run leaves the sheets alone.
#include "support/demo_inputs.h"
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

} // namespace
} // namespace kib::test
