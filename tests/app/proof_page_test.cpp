// The proof page from a hand-made event: escaped texts, the index with its
// marks, canvases in task order with their answers, and a station whose
// canvas has no picture.
#include "app/proof_page.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

namespace kib {
namespace {

ProofEvent SmallEvent() {
    ProofEvent event;
    event.title = "Sprint <A&B>";
    event.source = "/ev/sprint.cfg";
    ProofStation one;
    one.station = 1;
    one.mark = ProofMark::Amber;
    one.tasks = 2;
    one.flags = 6;
    one.rotation = 341;
    one.rotationSource = "from the chair and the flags";
    one.summary = "Station 1: 2 tasks, 6 flags, rotation 341";
    one.log = {{DiagnosticKind::Info, 1, kNoTask, "Station #1: Viewing angle 55"},
               {DiagnosticKind::Warning, 1, kNoTask, "Control circle part #7 unmatched."}};
    one.canvases = {
        {0, "p-files/map-1.0.png", "p-files/map-1.0-full.png", "", "", "", "", ProofMark::Green},
        {1, "p-files/map-1.1.png", "p-files/map-1.1-full.png", "B", "column H", "C",
         "flag C 0.3 m from the circle's centre", ProofMark::Red},
        {2, "", "", "", "", "?", "no control circle of the task in the map", ProofMark::Amber}};
    one.solutionName = "sol-1-2";
    one.solutionThumbnail = "p-files/sol-1-2.png";
    one.solutionFullSize = "p-files/sol-1-2-full.png";
    ProofStation two;
    two.station = 2;
    two.mark = ProofMark::Red;
    two.log = {{DiagnosticKind::Error, 2, kNoTask, "Chair position not defined for station 2!"}};
    event.stations = {one, two};
    return event;
}

TEST(ProofPageTest, ShowsEveryStationWithItsMarkCanvasesAndAnswers) {
    const std::string html = ProofHtml(SmallEvent());
    EXPECT_EQ(html.rfind("<!DOCTYPE html>\n", 0), 0u);
    EXPECT_NE(html.find("Proof of Sprint &lt;A&amp;B&gt;"), std::string::npos);
    EXPECT_EQ(html.find("<A&B>"), std::string::npos) << "texts are escaped";
    EXPECT_EQ(html.find("http"), std::string::npos) << "nothing is fetched";

    // The body is well-formed markup apart from the doctype: read it as XML.
    const std::size_t body = html.find("<body>");
    const std::size_t end = html.find("</body>");
    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_string(html.substr(body, end + 7 - body).c_str()));
    const auto marks = xml.select_nodes("//ul[@class='index']//span");
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_STREQ(marks[0].node().attribute("class").value(), "mark amber");
    EXPECT_STREQ(marks[1].node().attribute("class").value(), "mark red");

    const auto figures =
        xml.select_nodes("//section[@id='station-1']//div[@class='canvases']/figure");
    ASSERT_EQ(figures.size(), 3u);
    EXPECT_STREQ(figures[0].node().attribute("id").value(), "s1t0");
    EXPECT_STREQ(figures[1].node().select_node(".//a").node().attribute("href").value(),
                 "./p-files/map-1.1-full.png");
    EXPECT_STREQ(figures[1].node().select_node(".//span[@class='answer']").node().text().get(),
                 "B");
    // The key beside the map's answer; a task where they differ is red with the distance.
    EXPECT_STREQ(figures[1].node().attribute("class").value(), "red");
    EXPECT_STREQ(figures[1].node().select_node(".//span[@class='map-answer']").node().text().get(),
                 "C");
    EXPECT_STREQ(figures[1].node().select_node(".//span[@class='evidence']").node().text().get(),
                 "flag C 0.3 m from the circle's centre");
    EXPECT_STREQ(figures[0].node().attribute("class").value(), "") << "the cover has no answer";
    EXPECT_STREQ(figures[2].node().attribute("class").value(), "amber");
    EXPECT_FALSE(figures[2].node().select_node(".//img")) << "no picture, no image";
    EXPECT_STREQ(figures[2].node().select_node(".//span[@class='answer']").node().text().get(),
                 "?");
    EXPECT_TRUE(xml.select_node("//section[@id='station-1']//div[@class='warning']"));
    EXPECT_TRUE(xml.select_node("//section[@id='station-2']//div[@class='error']"));
    EXPECT_TRUE(xml.select_node("//img[@src='./p-files/sol-1-2.png']"));
}

TEST(ProofPageTest, LinksNeverReadAsASchemeAQueryOrAFragment) {
    const struct {
        const char* path;
        const char* link;
    } cases[] = {
        {"proof-files/map-1.0.png", "./proof-files/map-1.0.png"},
        {"javascript:alert(1)-files/map-1.0.png", "./javascript%3Aalert%281%29-files/map-1.0.png"},
        {"Check 12:00-files/sol-1-2.png", "./Check%2012%3A00-files/sol-1-2.png"},
        {"a#b?c%41 'q\"-files/x.png", "./a%23b%3Fc%2541%20%27q%22-files/x.png"},
        {"\xc3\xa9t\xc3\xa9~_-files/x.png", "./%C3%A9t%C3%A9~_-files/x.png"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PageLink(c.path), c.link) << c.path;
    }
}

// The mark comes from the kinds of the entries, never from their words.
TEST(ProofPageTest, MarkFollowsTheWorstEntryOrFlag) {
    const Diagnostic info{DiagnosticKind::Info, 1, kNoTask, "Station #1: Viewing angle 55"};
    const Diagnostic warning{DiagnosticKind::Warning, 1, kNoTask, "x"};
    const Diagnostic error{DiagnosticKind::Error, 1, kNoTask, "y"};
    const Diagnostic looksLikeError{DiagnosticKind::Info, 1, kNoTask, "[** ERROR **] quoted"};
    const struct {
        std::vector<Diagnostic> log;
        bool error, warning;
        ProofMark mark;
    } cases[] = {
        {{info}, false, false, ProofMark::Green},
        {{looksLikeError}, false, false, ProofMark::Green},
        {{warning}, false, false, ProofMark::Amber},
        {{warning, error}, false, false, ProofMark::Red},
        {{}, false, true, ProofMark::Amber},
        {{}, true, false, ProofMark::Red},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MarkOf(c.log, c.error, c.warning), c.mark)
            << (c.log.empty() ? std::string("flags") : c.log.back().text);
    }
}

} // namespace
} // namespace kib
