// The layout of a new event made to fit its largest station: the default when
// it fits, else smaller order tabs, else the smallest larger standard canvas;
// a warning naming a key and a value when no standard layout fits.
#include "app/new_event_layout.h"

#include "support/event_builder.h"

#include "foundation/app_state.h"

#include <gtest/gtest.h>

namespace kib {
namespace {

class NewEventLayoutTest : public test::EventTest {
  protected:
    void SetUp() override {
        InstallHost(false);
        Set(id::Event_MINSTAT, "1");
        Set(id::Event_MAXSTAT, "2");
        Set(id::Event_TASKS, "4");
    }
    std::string Value(int itemId) const { return cfg->Item(itemId).GetValueText(); }
};

TEST_F(NewEventLayoutTest, TheLargestStationChoosesTabsThenCanvas) {
    LogScope log;
    const struct {
        const char* tasks; // of station 2
        const char *canvas, *sheet, *tabs;
        const char* line; // the info line, "" for none
    } cases[] = {
        {"5", "", "", "", ""},
        {"6", "", "", "14",
         "Layout: order tabs of 14 mm (OrderTabs.SIZE=14), as station 2 with 6 tasks does not fit "
         "the canvas A5Cut with tabs of 15 mm."},
        {"10", "", "", "8",
         "Layout: order tabs of 8 mm (OrderTabs.SIZE=8), as station 2 with 10 tasks does not fit "
         "the canvas A5Cut with tabs of 15 mm."},
        {"15", "A4Landscape", "A4Landscape", "9",
         "Layout: canvas A4Landscape on sheet A4Landscape with order tabs of 9 mm "
         "(Target.CANVAS=A4Landscape, Target.SHEET=A4Landscape, OrderTabs.SIZE=9), as station 2 "
         "with 15 tasks needs tabs below 8 mm on the canvas A5Cut."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tasks);
        host.Clear();
        for (int itemId : {id::Target_CANVAS, id::Target_SHEET, id::OrderTabs_SIZE}) {
            cfg->Item(itemId).SetText("");
        }
        SetStation(2, id::Station_TASKS, c.tasks);
        EXPECT_TRUE(FitNewEventLayout(*cfg));
        EXPECT_EQ(Value(id::Target_CANVAS), c.canvas);
        EXPECT_EQ(Value(id::Target_SHEET), c.sheet);
        EXPECT_EQ(Value(id::OrderTabs_SIZE), c.tabs);
        EXPECT_EQ(host.messages,
                  *c.line ? std::vector<std::string>{c.line} : std::vector<std::string>{});
        host.Clear();
        EXPECT_TRUE(CheckNewEventLayout(doc));
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].rfind("Layout check: every station fits the canvas ", 0), 0u);
        EXPECT_EQ(log.Errors(), 0);
    }
}

TEST_F(NewEventLayoutTest, NothingFitsNamesAKeyAndAValue) {
    LogScope log;
    Set(id::MapSegment_SIZE, "400"); // no standard canvas holds such a map
    EXPECT_FALSE(FitNewEventLayout(*cfg));
    EXPECT_EQ(Value(id::Target_CANVAS), "") << "nothing is left changed";
    EXPECT_EQ(Value(id::OrderTabs_SIZE), "");
    EXPECT_FALSE(CheckNewEventLayout(doc));
    EXPECT_TRUE(host.HasMessage("[= WARNING =] The layout does not fit station 1 with 4 tasks: set "
                                "Target.CANVAS=Other (the canvas then takes the size the layout "
                                "needs) and a Target.SHEET that holds it."));
    EXPECT_GT(log.Warnings(), 0);
    EXPECT_EQ(log.Errors(), 0) << "a warning, not the layout's errors";

    // Tabs that would fit the default canvas are named by their size.
    host.Clear();
    Set(id::MapSegment_SIZE, "60");
    Set(id::OrderTabs_SIZE, "40");
    EXPECT_FALSE(CheckNewEventLayout(doc));
    EXPECT_TRUE(host.HasMessage("[= WARNING =] The layout does not fit station 1 with 4 tasks: set "
                                "OrderTabs.SIZE=21 or choose a larger Target.CANVAS and "
                                "Target.SHEET."));
    EXPECT_EQ(Value(id::OrderTabs_SIZE), "40") << "the check changes nothing";
}

} // namespace
} // namespace kib
