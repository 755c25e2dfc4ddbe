// Configuration items: checks, normal forms and messages of every kind of item.
#include "config/kib_cfg.h"
#include "foundation/app_state.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kib {
namespace {

class CfgItemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.Install();
        host.Attach(cfg);
    }

    // The only line the last operation put into the Messages pane ("" for none).
    std::string OnlyMessage() const {
        EXPECT_LE(host.messages.size(), 1u);
        return host.messages.empty() ? std::string() : host.messages.back();
    }

    test::RecordingHost host;
    CKibCfg cfg;
};

struct TextCase {
    int id;
    std::string input;
    bool accepted;
    std::string stored;  // value text afterwards ("" = unset)
    std::string message; // the Messages line, "" for a silent operation
};

// Every case starts from an unset item; a rejection leaves it unset.
const std::vector<TextCase> kTextCases = {
    // Task and flag counts, station numbers.
    {id::Event_TASKS, "0", true, "0", "[= WARNING =] Event.TASKS: Number of tasks is set to zero"},
    {id::Event_TASKS, "15", true, "15", ""},
    {id::Event_TASKS, "16", false, "",
     "[** ERROR **] Event.TASKS: Invalid number of tasks 16 (out of 1 .. 15)"},
    {id::Event_TASKS, "-1", false, "",
     "[** ERROR **] Event.TASKS: Invalid number of tasks -1 (out of 1 .. 15)"},
    {StationItemId(5, id::Station_FLAGS), "7", false, "",
     "[** ERROR **] Station 5.FLAGS: Invalid number of flags 7 (out of 1 .. 6)"},
    {StationItemId(5, id::Station_FLAGS), "0", false, "",
     "[** ERROR **] Station 5.FLAGS: Invalid number of flags 0 (out of 1 .. 6)"},
    {StationItemId(20, id::Station_TASKS), "0", true, "0",
     "[= WARNING =] Station 20.TASKS: Number of tasks is set to zero"},
    {id::Event_MAXSTAT, "21", false, "",
     "[** ERROR **] Event.MAXSTAT: Invalid highest number of station 21 (out of 0 .. 20)"},
    {id::Event_MINSTAT, "-1", false, "",
     "[** ERROR **] Event.MINSTAT: Invalid lowest number of station -1 (out of 0 .. 20)"},
    {id::Event_MAXSTAT, "20", true, "20", ""},
    // Scales.
    {id::Event_SCALE, "1:4 000", true, "4000", ""},
    {id::Event_SCALE, "1:4000", true, "4000", ""},
    {id::Solutions_SCALE, "1:15 000", true, "15000", ""},
    {StationItemId(2, id::Station_SOLSCALE), "2500", true, "2500", ""},
    {id::Event_SCALE, "scale", false, "", ""},
    {id::Event_SCALE, "1:99999999999", false, "",
     "[** ERROR **] Event.SCALE: Invalid parameter value '1:99999999999' (number out of range)"},
    // Plain integers: leading-integer reading, the decimal form is stored.
    {id::Target_DPI, "12abc", true, "12", ""},
    {id::Target_DPI, " 7", true, "7", ""},
    {id::Target_DPI, "+08", true, "8", ""},
    {id::Target_DPI, "dpi", false, "", ""},
    {id::Target_DPI, "-", false, "", ""},
    {id::Target_DPI, "99999999999", false, "",
     "[** ERROR **] Target.DPI: Invalid parameter value '99999999999' (number out of range)"},
    // Yes/no.
    {id::Event_ZERO, "yes please", true, "Yes", ""},
    {id::NorthArrow_LINES, "n", true, "No", ""},
    {id::Solutions_TASKNUMS, "0", false, "", ""},
    {id::System_DEBUGGING, "maybe", true, "maybe", ""}, // plain text, read by its first letter
    // Paper forms.
    {id::Target_CANVAS, "a4l", true, "A4Landscape", ""},
    {id::Target_CANVAS, "A4", true, "A4Portrait", ""},
    {id::Target_CANVAS, "A4p", true, "A4Portrait", ""},
    {id::Target_CANVAS, "a5f", true, "A5Full", ""},
    {id::Target_CANVAS, "A5", true, "A5Cut", ""},
    {id::Target_CANVAS, "Bx 3", true, "Bx 3", ""},
    {id::Target_CANVAS, "A6", false, "", ""},
    {id::Target_CANVAS, "A4x", false, "", ""},
    {id::Target_SHEET, "A4", false, "", ""},
    {id::Target_SHEET, "a4t", true, "A4Tiled", ""},
    {id::Target_SHEET, "A4m", true, "A4Tiled", ""},
    {id::Target_SHEET, "A4landscape", true, "A4Landscape", ""},
    {id::Target_SHEET, "A4P", true, "A4Portrait", ""},
    {id::Target_SHEET, "A3", true, "A3Tiled", ""},
    {id::Target_SHEET, "A5Full", true, "A5", ""},
    {id::Target_SHEET, "A6", false, "", ""},
    {id::Target_SHEET, "Letter", false, "", ""},
    // Real numbers are checked, stored as typed.
    {id::Source_DELTA, "0.5 mm", true, "0.5 mm", ""},
    {id::Solutions_CIRCLEW, "thin", false, "",
     "[** ERROR **] Solutions.CIRCLEW: Invalid parameter value 'thin' (real number expected)"},
    // Target.MODE outside a live configuration: stored, nothing asked.
    {id::Target_MODE, "WEB", true, "WEB", ""},
    // Map symbol number lists.
    {id::Source_CHAIR, "790", false, "",
     "[** ERROR **] Source.CHAIR: Only one map symbol allowed, no group (790)"},
    {id::Source_CHAIR, "790.001 790.002", false, "",
     "[** ERROR **] Source.CHAIR: Only one map symbol allowed, no set of symbols (790.001 "
     "790.002)"},
    {id::Source_CHAIR, "15.1", false, "",
     "[** ERROR **] Source.CHAIR: Map symbol must be above 20.0 (15.1 found)"},
    {id::Source_CHAIR, "790,1", false, "",
     "[** ERROR **] Source.CHAIR: Invalid char in map symbol number list ',' (only digits, dots "
     "and spaces expected)"},
    {id::Source_CHAIR, "790.", false, "",
     "[** ERROR **] Source.CHAIR: Invalid map symbol number '790.' (format hi.lo expected)"},
    {id::Source_CHAIR, "790.001 .", true, "790.001 .", ""},
    {id::Source_ZERO, "20.1", true, "20.1", ""},
    {id::Source_FLAG, "790.002  790.003 ", true, "790.002  790.003 ", ""},
    {id::Source_FLAG, "790.002 790.1.2", false, "",
     "[** ERROR **] Source.FLAG: Invalid map symbol number '790.1.2' (format hi or hi.lo "
     "expected)"},
    {id::Source_LETTERS, "791", true, "791", ""},
    {id::Source_LETTERS, "791 792", false, "",
     "[** ERROR **] Source.LETTERS: Only one map symbol allowed, no set of symbols (791 792)"},
    {id::Source_ANSWERS, "5.1", true, "5.1", ""},
    {id::Source_ZEROTOL, "21.5", false, "",
     "[** ERROR **] Source.ZEROTOL: Map symbol must be below 20.0 (21.5 found)"},
    {id::Source_ZEROTOL, "20.9 3", true, "20.9 3", ""},
    // Plain text.
    {id::Source_HIDE, "702.004 793", true, "702.004 793", ""},
    {id::Event_TITLE1, "Final  ", true, "Final  ", ""},
};

TEST_F(CfgItemTest, SetTextChecksAndNormalisesByKind) {
    LogScope log;
    for (const TextCase& c : kTextCases) {
        SCOPED_TRACE(std::to_string(c.id) + " <- '" + c.input + "'");
        CKibCfg fresh;
        fresh.UseServices(App().CurrentHost(), App().Log());
        host.Clear();
        log.Clear();
        CCfgItem& item = fresh.Item(c.id);
        EXPECT_EQ(item.SetText(c.input), c.accepted);
        EXPECT_EQ(item.GetValueText(), c.stored);
        EXPECT_EQ(item.IsSet(), !c.stored.empty());
        EXPECT_EQ(OnlyMessage(), c.message);
        EXPECT_EQ(log.Errors() > 0, c.message.rfind("[** ERROR", 0) == 0);
        EXPECT_EQ(log.Warnings() > 0, c.message.rfind("[= WARNING", 0) == 0);
    }
}

TEST_F(CfgItemTest, RejectionKeepsThePreviousValueAndEmptyTextUnsets) {
    for (int id : {id::Event_TASKS, id::Source_CHAIR, id::Event_TABCOLOR, id::Target_SHEET}) {
        SCOPED_TRACE(id);
        CCfgItem& item = cfg.Item(id);
        const std::string good = id == id::Event_TASKS    ? "4"
                                 : id == id::Source_CHAIR ? "790.001"
                                 : id == id::Target_SHEET ? "A4Tiled"
                                                          : "1 2 3";
        ASSERT_TRUE(item.SetText(good));
        EXPECT_FALSE(item.SetText(id == id::Target_SHEET ? "B4" : "99 bad,"));
        EXPECT_EQ(item.GetValueText(), good);
        EXPECT_TRUE(item.IsSet());
        EXPECT_TRUE(item.SetText(""));
        EXPECT_FALSE(item.IsSet());
        EXPECT_EQ(item.GetValueText(), "");
        EXPECT_EQ(item.GetValue(), item.GetDefaultText());
    }
}

TEST_F(CfgItemTest, SetIntChecksAndStoresDecimal) {
    EXPECT_TRUE(cfg.Item(id::Target_CANVASW).SetInt(-12));
    EXPECT_EQ(cfg.Item(id::Target_CANVASW).GetValueText(), "-12");
    EXPECT_FALSE(cfg.Item(id::Event_FLAGS).SetInt(7));
    EXPECT_FALSE(cfg.Item(id::Event_FLAGS).IsSet());
    // A text item takes the decimal form through its own rules.
    EXPECT_TRUE(cfg.Item(id::Event_EQUID).SetInt(5));
    EXPECT_EQ(cfg.Item(id::Event_EQUID).GetValueText(), "5");
    EXPECT_FALSE(cfg.Item(id::Event_ZERO).SetInt(1));
}

TEST_F(CfgItemTest, EffectiveValueIntegerAndYesNo) {
    const CCfgItem& dpi = cfg.Item(id::Target_DPI);
    EXPECT_EQ(dpi.GetValue(), "600");
    EXPECT_EQ(dpi.GetInt(), 600);
    EXPECT_EQ(cfg.Item(id::Event_TASKS).GetInt(), 0); // no default: 0
    ASSERT_TRUE(cfg.Item(id::Source_DELTA).SetText("0.4"));
    EXPECT_EQ(cfg.Item(id::Source_DELTA).GetInt(), 0);

    struct {
        std::string value;
        bool yes;
    } const yesNo[] = {{"no", false}, {"No", false}, {"N", false},
                       {"Yes", true}, {"1", true},   {"", false}}; // "" leaves the default "No"
    for (const auto& c : yesNo) {
        CCfgItem& debugging = cfg.Item(id::System_DEBUGGING);
        debugging.SetText(c.value);
        EXPECT_EQ(debugging.IsYes(), c.yes) << c.value;
    }
    EXPECT_EQ(LeadingInt("  -42x"), -42);
    EXPECT_EQ(LeadingInt("x42"), 0);
    EXPECT_EQ(LeadingInt("99999999999"), 2147483647);
}

TEST_F(CfgItemTest, HasSymbolMatchesGroupsAndBothMinorForms) {
    struct {
        std::string list;
        int major, minor;
        bool found;
    } const cases[] = {
        {"790.002 790.003", 790, 3, true}, {"790", 790, 3, true},
        {"790.030", 790, 3, false},        {"790.1", 790, 1, true},
        {"790.001", 790, 1, true},         {"7900.001", 790, 1, false},
        {"791.250", 791, 250, true},       {"702.004 793", 793, 12, true},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(cfg.Item(id::Source_HIDE).SetText(c.list));
        EXPECT_EQ(cfg.Item(id::Source_HIDE).HasSymbol(c.major, c.minor), c.found) << c.list;
    }
    EXPECT_FALSE(cfg.Item(id::Source_CHAIR).HasSymbol(790, 1)); // unset, no default
}

TEST_F(CfgItemTest, ColourTextIntAndReset) {
    CCfgColorItem& colour = cfg.Color(id::MapColors_PURPLECOLOR);
    EXPECT_EQ(colour.GetColor(), 166 + 256 * 38 + 65536 * 255); // default

    EXPECT_TRUE(colour.SetText("0 0 255"));
    EXPECT_EQ(colour.GetValueText(), "0 0 255");
    EXPECT_EQ(colour.GetColor(), 255 * 65536);

    host.Clear();
    EXPECT_FALSE(colour.SetText("0,0,255"));
    EXPECT_EQ(
        OnlyMessage(),
        "[** ERROR **] MapColors.PURPLECOLOR: Incorrect color: 0,0,255 (expected RRR GGG BBB)!");
    EXPECT_EQ(colour.GetValueText(), "0 0 255");
    EXPECT_EQ(colour.GetColor(), 255 * 65536); // a refused text does not blacken the colour

    EXPECT_TRUE(colour.SetText("300 -5 0")); // no range applies
    EXPECT_EQ(colour.GetColor(), 300 - 5 * 256);

    EXPECT_TRUE(colour.SetInt(0x204080));
    EXPECT_EQ(colour.GetValueText(), "128 64 32");
    EXPECT_EQ(colour.GetColor(), 0x204080);

    EXPECT_TRUE(colour.SetInt(-1)); // reset to the default, still set
    EXPECT_TRUE(colour.IsSet());
    EXPECT_EQ(colour.GetValueText(), "166 38 255");
    EXPECT_EQ(colour.GetColor(), 166 + 256 * 38 + 65536 * 255);
}

TEST_F(CfgItemTest, GridValues) {
    CCfgItem& tasks = cfg.Item(id::Event_TASKS);
    EXPECT_TRUE(tasks.SetVariant(GridValue::Int(4)));
    EXPECT_EQ(tasks.GetValueText(), "4");
    EXPECT_TRUE(tasks.SetVariant(GridValue::Text("6")));
    EXPECT_EQ(tasks.GetValueText(), "6");

    // Pane text is kept byte for byte.
    CCfgItem& title = cfg.Item(id::Event_TITLE1);
    EXPECT_TRUE(title.SetVariant(GridValue::Text("Mistrovství ČR")));
    EXPECT_EQ(title.GetValueText(), "Mistrovství ČR");

    host.Clear();
    EXPECT_FALSE(cfg.Color(id::Cover_COLOR).SetVariant(GridValue::UInt(5)));
    EXPECT_EQ(OnlyMessage(), "[** ERROR **] Internal error: unknown property value type 19!");
    EXPECT_FALSE(cfg.Color(id::Cover_COLOR).IsSet());
    EXPECT_TRUE(cfg.Color(id::Cover_COLOR).SetVariant(GridValue::Int(0xFF)));
    EXPECT_EQ(cfg.Color(id::Cover_COLOR).GetValueText(), "255 0 0");

    const GridValue map = cfg.Item(id::Source_MAP).GetDefaultVariant();
    EXPECT_EQ(map.type, GridValue::Type::Text);
    EXPECT_EQ(map.text, "${EVENT}.${COURSE}.svg");
    const GridValue arrow = cfg.Color(id::NorthArrow_COLOR).GetDefaultVariant();
    EXPECT_EQ(arrow.type, GridValue::Type::UInt);
    EXPECT_EQ(arrow.u, 255u * 65536u);
}

TEST_F(CfgItemTest, WebPresetIsOfferedOnlyWhenLive) {
    CCfgItem& mode = cfg.Item(id::Target_MODE);
    ASSERT_TRUE(mode.SetText("WEB"));
    EXPECT_TRUE(host.boxes.empty()); // not live yet: a file being read never asks

    cfg.PushToProperties();
    host.pane.values.clear();
    ASSERT_TRUE(mode.SetText("PRT"));
    ASSERT_TRUE(mode.SetText("web")); // only a capital W asks
    EXPECT_TRUE(host.boxes.empty());

    host.answers.push_back(BoxAnswer::No);
    ASSERT_TRUE(mode.SetText("WEB"));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "Do you want to set default parameters for the TempO simulator?");
    EXPECT_EQ(host.boxes[0].icon, BoxIcon::Warning);
    EXPECT_EQ(host.boxes[0].buttons, BoxButtons::YesNo);
    EXPECT_EQ(host.boxes[0].defaultAnswer, BoxAnswer::No);
    EXPECT_EQ(mode.GetValueText(), "WEB");
    EXPECT_FALSE(cfg.Item(id::Target_DPI).IsSet());
    EXPECT_TRUE(host.pane.values.empty());

    host.answers.push_back(BoxAnswer::Yes);
    ASSERT_TRUE(mode.SetText("WEB"));
    const std::pair<int, const char*> preset[] = {
        {id::Target_DPI, "120"},        {id::MapSegment_SIZE, "80"},
        {id::MapSegment_BOTTOM, "25"},  {id::MapSegment_TOP, "15"},
        {id::Descriptions_SIZE, "7"},   {id::Solutions_SCALE, "2000"},
        {id::Solutions_MAPWIDTH, "80"}, {id::Solutions_MAPHEIGHT, "45"}};
    for (const auto& [id, value] : preset) {
        EXPECT_EQ(cfg.Item(id).GetValueText(), value) << id;
        EXPECT_NE(std::find(host.pane.values.begin(), host.pane.values.end(),
                            std::make_pair(id, std::string(value))),
                  host.pane.values.end())
            << id;
    }
    EXPECT_EQ(mode.GetValueText(), "WEB");
}

} // namespace
} // namespace kib
