#include "map_fixture.h"

#include "map_input/viewing_angle.h"

#include <cmath>

using namespace kib;
using kib::test::MapText;

namespace {

class ChairFlagsTest : public kib::test::MapFixture {
  protected:
    void SetUp() override {
        MapFixture::SetUp();
        Set(id::Source_CHAIR, "790.001");
        Set(id::Source_FLAG, "790.002 790.003");
    }
    // A flag at the bearing (degrees) and distance 10 from the chair.
    static MapPoint At(MapPoint chair, float bearing) {
        const float r = bearing * 3.1415927f / 180.0f;
        return {chair.x + 10.0f * std::sin(r), chair.y - 10.0f * std::cos(r)};
    }
    CKibMap& MapWithFlags(MapPoint chair, const std::vector<float>& correct,
                          const std::vector<float>& wrong = {}) {
        MapText text;
        text.Symbol(790, 1, "Chair").Circle(chair.x, chair.y).EndSymbol();
        for (int minor : {2, 3}) {
            const auto& bearings = minor == 2 ? correct : wrong;
            if (bearings.empty()) {
                continue;
            }
            text.Symbol(790, minor, "Flag");
            for (float b : bearings) {
                const MapPoint p = At(chair, b);
                text.Circle(p.x, p.y);
            }
            text.EndSymbol();
        }
        CKibMap& m = Parse(text.Text());
        EXPECT_TRUE(parsed);
        host.Clear();
        return m;
    }
};

TEST(SectorRule, RotationTurnsTheMiddleOfTheSectorUp) {
    const struct {
        int a;
        int b;
        int rotation;
    } cases[] = {
        {60, -40, 350}, {-150, 150, 180}, {50, -20, 345},   {10, -10, 0},
        {0, 0, 0},      {90, 30, 300},    {170, -170, 180}, {-100, 120, 170},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SectorRotation(c.a, c.b), c.rotation) << c.a << " " << c.b;
    }
    EXPECT_GE(SectorRotation(INT_MIN, INT_MIN), 0); // a bearing that was not a number
}

TEST_F(ChairFlagsTest, WidestPairOfFlagsGivesTheRotation) {
    CKibMap& m = MapWithFlags({100, 100}, {-20.4f, 0.3f, 25.5f}, {50.4f});
    m.AnalyseViewingAngle(1);
    EXPECT_EQ(m.rotation, 345);
    EXPECT_EQ(CountMessages("Station #1: Viewing angle 70 (-20/#1:50/#4), rotation=345"), 1);
    EXPECT_EQ(Warnings(), 0);
    EXPECT_TRUE(HasDebug("Chair: 100.000 100.000"));
}

TEST_F(ChairFlagsTest, SectorAroundTheBackDirection) {
    CKibMap& m = MapWithFlags({100, 100}, {150.3f, 170.2f, -150.6f});
    m.AnalyseViewingAngle(3);
    EXPECT_EQ(m.rotation, 180);
    EXPECT_EQ(CountMessages("Station #3: Viewing angle 59 (150/#1:-150/#3), rotation=180"), 1);
}

TEST_F(ChairFlagsTest, ConfiguredAngleWins) {
    SetStation(1, id::Station_MINANGLE, "30");
    CKibMap& m = MapWithFlags({100, 100}, {5});
    m.AnalyseViewingAngle(1);
    EXPECT_EQ(m.rotation, 330);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ChairFlagsTest, WrongNumberOfFlagsGivesNoRotation) {
    for (const std::vector<float>& flags :
         {std::vector<float>{10}, std::vector<float>{-60, -40, -20, 0, 20, 40, 60}}) {
        CKibMap& m = MapWithFlags({100, 100}, flags);
        m.CheckFlagCount(1);
        m.AnalyseViewingAngle(1);
        EXPECT_EQ(m.rotation, -1);
        const std::string count = std::to_string(flags.size());
        EXPECT_EQ(CountMessages("[= WARNING =] Incorrect number of flags found in the map (" +
                                count + ")!"),
                  1);
        EXPECT_EQ(CountMessages("[= WARNING =] No ANGLE(s) configured for station 1!"), 1);
        EXPECT_EQ(CountMessages("[= WARNING =] Incorrect number of flags (7) found in the map of "
                                "station 1!"),
                  flags.size() == 7 ? 1 : 0);
    }
}

TEST_F(ChairFlagsTest, FlagCountAllowedByStationOrEvent) {
    SetStation(2, id::Station_FLAGS, "3");
    Set(id::Event_FLAGS, "5");
    CKibMap& m = MapWithFlags({100, 100}, {-30, 0, 30}, {60});
    m.CheckFlagCount(2);
    EXPECT_EQ(CountMessages("[= WARNING =] Incorrect number of flags (4) found in the map of "
                            "station 2!"),
              1);
    host.Clear();
    m.CheckFlagCount(1); // Event.FLAGS 5 allows four
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ChairFlagsTest, ChairDrawnAsLineTurnsAboutItsStart) {
    MapText text;
    text.Symbol(790, 1, "Chair").Segment(5, 5, 5, 9).Segment(6, 6, 7, 7).EndSymbol();
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    ASSERT_TRUE(m.FindChair());
    EXPECT_FLOAT_EQ(m.chairInstance->ref.x, 5);
    EXPECT_FLOAT_EQ(m.chairInstance->ref.y, 5);
    EXPECT_TRUE(HasDebug("Changing chair reference point (from line 7) to the first point "
                         "5.000,5.000"));
    EXPECT_TRUE(HasDebug("Unifying all chair reference points (from line 7) to 5.000,5.000"));
    const SymbolInstance& second = *m.chairInstance->next;
    EXPECT_FLOAT_EQ(second.ref.x, 5);
    EXPECT_FLOAT_EQ(second.ref.y, 5);
    ASSERT_TRUE(m.FindChair()); // a second call changes nothing further
    EXPECT_FLOAT_EQ(m.chairInstance->ref.y, 5);
}

TEST_F(ChairFlagsTest, FlagsDrawnWithTwoObjectsGiveOneBearingEach) {
    const MapPoint chair{100, 100};
    MapText text;
    text.Symbol(790, 1, "Chair").Circle(chair.x, chair.y).EndSymbol();
    text.Symbol(790, 2, "Flag");
    for (float b : {-30.3f, 0.5f, 30.6f}) {
        const MapPoint p = At(chair, b);
        text.Circle(p.x, p.y).Segment(p.x, p.y, p.x, p.y - 3);
    }
    text.EndSymbol();
    Set(id::Event_FLAGS, "3");
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    m.CheckFlagCount(1); // three flags of two objects each are three flags
    EXPECT_EQ(Warnings(), 0);
    m.AnalyseViewingAngle(1);
    EXPECT_EQ(m.FindSet(790, 2)->groupingFactor, 2);
    EXPECT_EQ(CountMessages("Station #1: Viewing angle 60 (-30/#1:30/#3), rotation=0"), 1);
}

TEST_F(ChairFlagsTest, MissingChairOrFlagSymbols) {
    const struct {
        const char* chair;
        const char* flag;
        bool drawChair;
        const char* warning;
    } cases[] = {
        {"0.0", "790.002", true,
         "[= WARNING =] Chair symbol ID not defined in the SOURCE configuration section!"},
        {"790.005", "790.002", true, "[= WARNING =] Chair symbol not found in the map!"},
        {"", "790.002", true, "[= WARNING =] Chair symbol not found in the map!"},
        {"790.001", "0.0 0.0", true,
         "[= WARNING =] Symbols for correct and false flags not defined in the SOURCE "
         "configuration section!"},
    };
    for (const auto& c : cases) {
        SetUp();
        Set(id::Source_CHAIR, c.chair);
        Set(id::Source_FLAG, c.flag);
        CKibMap& m = MapWithFlags({100, 100}, {-10, 10});
        m.AnalyseViewingAngle(4);
        EXPECT_EQ(m.rotation, -1) << c.warning;
        EXPECT_EQ(CountMessages(c.warning), 1) << c.warning;
        EXPECT_EQ(CountMessages("[= WARNING =] No ANGLE(s) configured for station 4!"), 1)
            << c.warning;
        EXPECT_EQ(Warnings(), 2) << c.warning;
    }
}

TEST_F(ChairFlagsTest, StandardSymbolsFoundButNotConfigured) {
    for (bool configured : {false, true}) {
        SetUp();
        if (!configured) {
            Set(id::Source_CHAIR, "");
            Set(id::Source_FLAG, "");
        } else {
            Set(id::Source_LETTERS, "791");
        }
        MapText text;
        text.Symbol(790, 1, "Chair").Circle(100, 100).EndSymbol();
        text.Symbol(790, 2, "Flag").Circle(1, 1).Circle(2, 2).Circle(3, 3).EndSymbol();
        text.Symbol(790, 3, "Flag").Circle(4, 4).Circle(5, 5).EndSymbol();
        for (int minor = 1; minor <= 5; ++minor) {
            text.Symbol(791, minor, "Letter").Circle(1, 1).EndSymbol();
        }
        CKibMap& m = Parse(text.Text());
        ASSERT_TRUE(parsed);
        host.Clear();
        m.CheckSpecialSymbols();
        EXPECT_TRUE(m.standardChairFlagsFound);
        EXPECT_TRUE(m.standardLettersFound);
        EXPECT_EQ(Warnings(), configured ? 0 : 2);
        if (!configured) {
            EXPECT_EQ(CountMessagesStartingWith("[= WARNING =] Found OCAD symbols 790.X in the "
                                                "map but SOURCE.CHAIR, FLAG and ZERO"),
                      1);
            EXPECT_EQ(CountMessagesStartingWith("[= WARNING =] Found OCAD symbols 791.X"), 1);
        }
    }
}

} // namespace
