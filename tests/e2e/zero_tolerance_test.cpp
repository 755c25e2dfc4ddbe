// The event's zero tolerance on a generated event whose zero task has a false
// flag 3 m from its control: kib check, kib analyse and the proof page name
// station, task, flag and distance when the rule is 4 m, and say nothing with
// 2 m or without the rule.
#include "generator.h"
#include "support/run_program.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <string>
#include <vector>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

class ZeroToleranceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = MakeTempDir("e2e-zerotol");
        gen::Options o;
        o.seed = 7;
        o.outDir = dir;
        o.eventName = "Ev";
        o.stations = 2;
        o.tasks = {4};
        o.flags = {4};
        o.objects = 40;
        o.zerosGiven = true;
        o.zeroStations = {2};
        o.zeroNear = 3.0;
        o.scale = 5000; // 3 m are 0.6 map units: exact
        o.cfgName = "ev.cfg";
        o.quiet = true;
        std::string summary, error;
        ASSERT_TRUE(gen::GenerateEvent(o, summary, error)) << error;
        for (const gen::Station& st : gen::BuildEvent(o).stations) {
            for (const gen::Task& t : st.tasks) {
                const gen::Place& p = st.places[static_cast<std::size_t>(t.place)];
                if (p.nearFlag >= 0) {
                    warning = "[= WARNING =] Station " + std::to_string(st.number) + ", task " +
                              std::to_string(t.number) + ": zero task, but flag " +
                              st.flags[static_cast<std::size_t>(p.nearFlag)].letter +
                              " stands 3.0 m from the control (zero tolerance 4 m)";
                }
            }
        }
        ASSERT_FALSE(warning.empty()) << summary;
        original = ReadFile(Cfg());
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Cfg() const { return dir + "/ev.cfg"; }
    void Tolerance(const std::string& metres) {
        WriteFile(Cfg(), metres.empty()
                             ? original
                             : original + "\r\n[Source]\r\nZEROTOLERANCE=" + metres + "\r\n");
    }
    // The mark of station 2 on the proof page.
    std::string ProofMark() {
        const std::string html = ReadFile(dir + "/proof.html");
        const std::size_t body = html.find("<body>");
        const std::size_t end = html.find("</body>");
        pugi::xml_document xml;
        if (body == std::string::npos || end == std::string::npos ||
            !xml.load_string(html.substr(body, end + 7 - body).c_str())) {
            return "unreadable";
        }
        return xml.select_node("//section[@id='station-2']/h2/span")
            .node()
            .attribute("class")
            .value();
    }

    std::string dir;
    std::string original;
    std::string warning;
};

TEST_F(ZeroToleranceTest, CheckAnalyseAndProofNameTheFlagOnlyWhenTheRuleIsBroken) {
    const struct {
        const char* tolerance;
        bool warned;
    } cases[] = {{"", false}, {"2", false}, {"4", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("ZEROTOLERANCE=") + c.tolerance);
        Tolerance(c.tolerance);
        for (const char* verb : {"check", "analyse", "proof"}) {
            SCOPED_TRACE(verb);
            const ProgramResult r = RunProgram({KibBinary(), verb, Cfg()});
            EXPECT_EQ(r.status, c.warned ? 1 : 0) << r.out << r.err;
            EXPECT_EQ(r.out.find("zero tolerance") != std::string::npos, c.warned) << r.out;
            if (c.warned) {
                const std::size_t at = r.out.find(warning);
                EXPECT_NE(at, std::string::npos) << warning << "\n" << r.out;
                EXPECT_EQ(r.out.find(warning, at + 1), std::string::npos) << "once\n" << r.out;
            }
        }
        EXPECT_EQ(ProofMark(), c.warned ? "mark amber" : "mark green");
        EXPECT_EQ(ReadFile(dir + "/proof.html").find(warning.substr(14)) != std::string::npos,
                  c.warned);
    }
}

} // namespace
} // namespace kib::test
