#include "config/name_templates.h"
#include "support/event_builder.h"

#include "foundation/app_state.h"

#include <gtest/gtest.h>

#include <string>

namespace kib {
namespace {

class NameTemplatesTest : public test::EventTest {
  protected:
    void SetUp() override { InstallHost(true); }
};

struct TemplateCase {
    const char* numfmt;
    const char* name;
    const char* course;
    int itemId;
    int station;
    int task;
    const char* expected;
};

TEST_F(NameTemplatesTest, EvalTemplateReplacesEveryPlaceholder) {
    LogScope log;
    const TemplateCase cases[] = {
        {"Fixed", "", "S${STAT}", id::Source_COURSE, 3, 1, "S03"},
        {"Fixed", "", "S${STAT}", id::Source_COURSE, 12, 1, "S12"},
        {"fixed", "", "S${STAT}", id::Source_COURSE, 3, 1, "S3"},
        {"Variable", "", "S${STAT}", id::Source_COURSE, 0, 1, "S0"},
        {"", "", "S${STAT}", id::Source_COURSE, 3, 1, "S3"},
        {"", "Sprint", "S${STAT}T${TASK}", id::Source_MAP, 3, 2, "Sprint.S3T2.svg"},
        {"", "", "", id::Source_COURSES, 1, 0, ".Courses.xml"},
        {"", "Sprint", "", id::Source_COURSES, 1, 0, "Sprint.Courses.xml"},
        {"", "", "${STAT}-${STAT}.${TASK}", id::Source_COURSE, 7, 15, "7-7.15"},
        // NAME may bring in COURSE (and COURSE its placeholders) as long as nothing loops.
        {"Fixed", "Ev${COURSE}", "S${STAT}", id::Source_MAP, 4, 1, "EvS04.S04.svg"},
        {"", "", "", 199, 1, 1, ""}, // no such item
    };
    for (const auto& c : cases) {
        CKibCfg fresh;
        fresh.UseServices(App().CurrentHost(), App().Log());
        if (*c.numfmt) {
            fresh.Item(id::Event_NUMFMT).SetText(c.numfmt);
        }
        fresh.Item(id::Event_NAME).SetText(c.name);
        fresh.Item(id::Source_COURSE).SetText(c.course);
        EXPECT_EQ(EvalTemplate(fresh, c.itemId, c.station, c.task), c.expected)
            << c.itemId << " with NAME " << c.name << ", COURSE " << c.course;
    }
    EXPECT_EQ(log.Errors(), 0);
}

TEST_F(NameTemplatesTest, EvalTemplateLogsTheTextAndTheResultWhenSomethingWasReplaced) {
    Set(id::Source_COURSE, "S${STAT}");
    EvalTemplate(*cfg, id::Source_COURSE, 5, 1);
    EXPECT_EQ(host.debug, (std::vector<std::string>{"Evaluating string S${STAT}", "Result: S5"}));

    host.Clear();
    Set(id::Source_COURSE, "Overview");
    EXPECT_EQ(EvalTemplate(*cfg, id::Source_COURSE, 5, 1), "Overview");
    EXPECT_EQ(host.debug, (std::vector<std::string>{"Evaluating string Overview"}));
}

TEST_F(NameTemplatesTest, TaskPlaceholderIsRefusedForTaskZero) {
    LogScope log;
    Set(id::Source_COURSE, "S${TASK}");
    EXPECT_EQ(EvalTemplate(*cfg, id::Source_COURSE, 3, 0), "");
    EXPECT_EQ(host.messages, (std::vector<std::string>{
                                 "[** ERROR **] Placeholder ${TASK} used in Source.COURSE is not "
                                 "possible in STAT mode!"}));
    EXPECT_GT(log.Errors(), 0);

    // Reached through COURSE inside MAP, the error names the evaluated item.
    host.Clear();
    EXPECT_EQ(EvalTemplate(*cfg, id::Source_MAP, 3, 0), "");
    EXPECT_EQ(host.messages, (std::vector<std::string>{
                                 "[** ERROR **] Placeholder ${TASK} used in Source.MAP is not "
                                 "possible in STAT mode!"}));
    EXPECT_EQ(EvalTemplate(*cfg, id::Source_MAP, 3, 2), ".S2.svg");
}

TEST_F(NameTemplatesTest, SelfReferringNameOrCourseEndsWithAnError) {
    LogScope log;
    const struct {
        const char* name;
        const char* course;
    } cases[] = {
        {"${EVENT}", "S${STAT}"},          {"x${EVENT}y", "S${STAT}"}, {"Sprint", "${COURSE}"},
        {"Sprint", "S${COURSE}${COURSE}"}, {"${COURSE}", "${EVENT}"}, // each names the other
    };
    for (const auto& c : cases) {
        CKibCfg fresh;
        fresh.UseServices(App().CurrentHost(), App().Log());
        fresh.Item(id::Event_NAME).SetText(c.name);
        fresh.Item(id::Source_COURSE).SetText(c.course);
        host.Clear();
        log.Clear();
        EXPECT_EQ(EvalTemplate(fresh, id::Source_MAP, 3, 1), "") << c.name << " / " << c.course;
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0], "[** ERROR **] Placeholders used in Source.MAP never end "
                                    "(check Event.NAME and Source.COURSE)!");
        EXPECT_GT(log.Errors(), 0);
    }
}

struct OutputCase {
    int eventTasks;
    int perSheet;
    int station;
    int task;
    const char* extension;
    const char* expected;
};

TEST_F(NameTemplatesTest, OutputNamesFollowTheCanvasesPerSheet) {
    const OutputCase cases[] = {
        {5, 0, 2, 4, "png", "/out/map-2.4.png"},
        {5, 0, 3, 0, "svg", "/out/map-3.0.svg"},
        {6, 4, 2, 4, nullptr, "/out/prn-2.4-2.6"},
        {6, 4, 2, 0, "pdf", "/out/prn-2.0-2.3.pdf"},
        {5, 2, 3, 0, nullptr, "/out/prn-3.0-3.1"},
        {5, 2, 3, 2, nullptr, "/out/prn-3.2-3.3"},
        {5, 2, 3, 4, nullptr, "/out/prn-3.4-3.5"},
        {4, 2, 3, 4, nullptr, "/out/prn-3.4"}, // the last task alone on its sheet
        {4, 4, 3, 4, "svg", "/out/prn-3.4.svg"},
        {5, 4, 3, 3, nullptr, "/out/prn-3.0-3.3"}, // any task of a block names its sheet
    };
    for (const auto& c : cases) {
        CKibCfg fresh;
        fresh.UseServices(App().CurrentHost(), App().Log());
        fresh.Item(id::Event_TASKS).SetInt(c.eventTasks);
        EXPECT_EQ(MakeOutputName(fresh, test::NativePath("/out"), c.station, c.task, c.perSheet,
                                 c.extension),
                  test::NativePath(c.expected));
    }
}

TEST_F(NameTemplatesTest, OutputNamesUseTheStationsOwnTaskCountAndOneSeparator) {
    Set(id::Event_TASKS, "6");
    Set(StationItemId(2, id::Station_TASKS), "4");
    EXPECT_EQ(MakeOutputName(*cfg, "/out/", 2, 4, 2, "svg"), "/out/prn-2.4.svg");
    EXPECT_EQ(MakeOutputName(*cfg, "/out/", 3, 4, 2, "svg"), "/out/prn-3.4-3.5.svg");
    EXPECT_EQ(MakeOutputName(*cfg, "", 1, 0, 0, "svg"), "map-1.0.svg");
}

TEST_F(NameTemplatesTest, SolutionNames) {
    EXPECT_EQ(MakeSolutionName("/out/", 4, -1, "svg"), "/out/sol-4.svg");
    EXPECT_EQ(MakeSolutionName(test::NativePath("/out"), 1, 8, nullptr),
              test::NativePath("/out/sol-1-8"));
    EXPECT_EQ(MakeSolutionName("", 1, 8, "png"), "sol-1-8.png");
}

struct DetectCase {
    const char* name; // Event.NAME before
    const char* file;
    int result;
    const char* nameAfter;
    const char* course;
    const char* map;
    const char* numfmt;
};

TEST_F(NameTemplatesTest, DetectCourseFormatDerivesTheTemplates) {
    const char* withEvent = "${EVENT}.${COURSE}.svg";
    const char* withoutEvent = "${COURSE}.svg";
    const DetectCase cases[] = {
        {"", "Sprint.S01.svg", 100, "Sprint", "S${STAT}", withEvent, "Fixed"},
        {"Sprint", "Sprint.S12.svg", 1200, "Sprint", "S${STAT}", withEvent, ""},
        {"", "S3.svg", 300, "", "S${STAT}", withoutEvent, ""},
        {"", "Overview.svg", 100, "", "Overview", withoutEvent, ""},
        {"Sprint", "Sprint.S1-tmp.svg", 100, "Sprint", "S${STAT}-tmp", withEvent, ""},
        {"", "Sprint.Final.S07b.svg", 700, "Sprint.Final", "S${STAT}b", withEvent, "Fixed"},
        {"Sprint", "Sprint.Overview.svg", 100, "Sprint", "Overview", withEvent, ""},
        {"", "S0.svg", 0, "", "S${STAT}", withoutEvent, ""},
        {"", "S99999999999999999999.svg", 100000000, "", "S${STAT}", withoutEvent, ""},
    };
    for (const auto& c : cases) {
        CKibCfg fresh;
        fresh.UseServices(App().CurrentHost(), App().Log());
        fresh.Item(id::Event_NAME).SetText(c.name);
        EXPECT_EQ(DetectCourseFormat(fresh, c.file), c.result) << c.file;
        EXPECT_EQ(fresh.Item(id::Event_NAME).GetValueText(), c.nameAfter) << c.file;
        EXPECT_EQ(fresh.Item(id::Source_COURSE).GetValueText(), c.course) << c.file;
        EXPECT_EQ(fresh.Item(id::Source_MAP).GetValueText(), c.map) << c.file;
        EXPECT_EQ(fresh.Item(id::Event_NUMFMT).GetValueText(), c.numfmt) << c.file;
    }
}

TEST_F(NameTemplatesTest, DetectCourseFormatSkipsOwnOutputsWithoutChangingAnything) {
    for (const char* file :
         {"map-3.2.svg", "map-1.1-tmp.svg", "prn-1.0-1.1.svg", "sol-1-8.svg", "sol-4.png"}) {
        CKibCfg fresh;
        fresh.UseServices(App().CurrentHost(), App().Log());
        fresh.Item(id::Event_NAME).SetText("Sprint");
        EXPECT_EQ(DetectCourseFormat(fresh, file), -1) << file;
        EXPECT_EQ(fresh.Item(id::Event_NAME).GetValueText(), "Sprint");
        EXPECT_FALSE(fresh.Item(id::Source_COURSE).IsSet());
        EXPECT_FALSE(fresh.Item(id::Source_MAP).IsSet());
    }
    // Not one of ours: "map" without a number right after the dash, or another suffix.
    EXPECT_EQ(DetectCourseFormat(*cfg, "map-A3.svg"), 300);
    EXPECT_EQ(DetectCourseFormat(*cfg, "map-3.2-old.svg"), 200);
}

TEST_F(NameTemplatesTest, DetectCourseFormatReportsTheFormatOnTheDebugPane) {
    Set(id::Event_NAME, "Sprint");
    DetectCourseFormat(*cfg, "Sprint.S12.svg");
    EXPECT_EQ(host.debug,
              (std::vector<std::string>{"File .S12.svg has course name format S${STAT}"}));
}

} // namespace
} // namespace kib
