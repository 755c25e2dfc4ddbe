// Courses files as the course-setting programs write them, read by their element
// structure: for each file text the start, the course controls with their
// positions, and the messages.
#include "map_input/document_exports.h"
#include "map_input/kib_svg.h"
#include "platform/paths.h"
#include "support/event_builder.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace kib {
namespace {

namespace fs = std::filesystem;

struct Control {
    std::string code;
    std::optional<MapPoint> position; // none: the task has no position
};

struct Case {
    const char* name;
    std::string course; // Source.COURSE
    std::string text;   // the courses file
    std::optional<Control> start;
    std::vector<Control> controls;
    // Messages pane; "PATH" stands for the courses file's path.
    std::vector<std::string> messages;
};

const MapPoint kS1{10.0f, 20.0f};
const MapPoint k31{15.5f, 30.0f};
const MapPoint k32{4.0f, 12.5f};
const MapPoint kF1{12.0f, 18.0f};

// The course of most cases: start S1, controls 31 and 32, finish F1.
const std::vector<Control> kControls = {{"31", k31}, {"32", k32}, {"F1", kF1}};

// OCAD's layout (two blanks per level, one element per line) with the element
// lines given, for cases that differ from it in one place.
std::string OcadLayout(const std::string& definitions, const std::string& course) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<CourseData xmlns=\"http://www.orienteering.org/datastandard/3.0\" "
           "iofVersion=\"3.0\" creator=\"OCAD 2020\">\n"
           "  <RaceCourseData>\n" +
           definitions + "    <Course>\n" + course + "    </Course>\n" +
           "  </RaceCourseData>\n</CourseData>\n";
}

std::string OcadControl(const std::string& code, MapPoint p) {
    char position[96];
    std::snprintf(position, sizeof position, "%.1f\" y=\"%.1f", static_cast<double>(p.x),
                  static_cast<double>(p.y));
    return "    <Control>\n      <Id>" + code + "</Id>\n      <MapPosition x=\"" + position +
           "\" unit=\"mm\"/>\n    </Control>\n";
}

const std::string kOcadDefinitions = OcadControl("S1", kS1) + OcadControl("31", k31) +
                                     OcadControl("32", k32) + OcadControl("F1", kF1);

std::string OcadStep(const char* type, const std::string& code) {
    return std::string("      <CourseControl type=\"") + type + "\">\n        <Control>" + code +
           "</Control>\n      </CourseControl>\n";
}

std::string OcadCourse(const std::string& name, const std::string& steps) {
    return "      <Name>" + name + "</Name>\n" + steps;
}

const std::string kOcadSteps = OcadStep("Start", "S1") + OcadStep("Control", "31") +
                               OcadStep("Control", "32") + OcadStep("Finish", "F1");

// The IOF's own example: comments everywhere, the unit before x and y.
const char* const kIofExample = R"(<?xml version="1.0" encoding="UTF-8"?>
<!--
  Course definitions of an individual event.
-->
<CourseData xmlns="http://www.orienteering.org/datastandard/3.0"
            iofVersion="3.0"
            creator="Example Software">
  <!-- one RaceCourseData element per race -->
  <RaceCourseData>
    <!-- first, all controls are defined -->
    <Control>
      <Id>S1</Id>
      <!-- the position given in latitude and longitude -->
      <Position lat="59.760069" lng="17.687623"/>
      <!-- the position on the printed map -->
      <MapPosition unit="mm" x="10" y="20"/>
    </Control>
    <Control>
      <Id>31</Id>
      <Position lat="59.763947" lng="17.685403"/>
      <MapPosition unit="mm" x="15.5" y="30"/>
    </Control>
    <Control>
      <Id>32</Id>
      <Position lat="59.762947" lng="17.680439"/>
      <MapPosition unit="mm" x="4" y="12.5"/>
    </Control>
    <Control>
      <Id>F1</Id>
      <Position lat="59.75991" lng="17.68820"/>
      <MapPosition unit="mm" x="12" y="18"/>
    </Control>
    <Course>
      <Name>S1</Name>
      <!-- ordered sequence of controls, including start and finish -->
      <CourseControl type="Start">
        <!-- use the control code for normal controls -->
        <Control>S1</Control>
      </CourseControl>
      <CourseControl type="Control">
        <!-- the text printed next to the control circle -->
        <Control>31</Control>
        <MapText>1</MapText>
        <MapTextPosition unit="mm" x="-15" y="8"/>
      </CourseControl>
      <CourseControl type="Control">
        <Control>32</Control>
      </CourseControl>
      <CourseControl type="Finish" >
        <Control>F1</Control>
      </CourseControl>
    </Course>
    <ClassCourseAssignment>
      <ClassName>Men Open</ClassName>
      <CourseName>S1</CourseName>
    </ClassCourseAssignment>
  </RaceCourseData>
</CourseData>
)";

// OpenOrienteering Mapper: four blanks per level; positions (geographic, and map
// positions when the export has them).
std::string MapperFile(bool mapPositions) {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<CourseData xmlns=\"http://www.orienteering.org/datastandard/3.0\" iofVersion=\"3.0\" "
        "createTime=\"2024-05-01T10:00:00\" creator=\"OpenOrienteering Mapper 0.9.6\">\n"
        "    <Event>\n        <Name>Sprint</Name>\n    </Event>\n    <RaceCourseData>\n";
    const std::pair<const char*, MapPoint> controls[] = {
        {"S1", kS1}, {"31", k31}, {"32", k32}, {"F1", kF1}};
    for (const auto& [code, p] : controls) {
        text += std::string("        <Control>\n            <Id>") + code +
                "</Id>\n            <Position lng=\"17.68\" lat=\"59.76\"/>\n";
        if (mapPositions) {
            char line[128];
            std::snprintf(line, sizeof line,
                          "            <MapPosition x=\"%g\" y=\"%g\" unit=\"mm\"/>\n",
                          static_cast<double>(p.x), static_cast<double>(p.y));
            text += line;
        }
        text += "        </Control>\n";
    }
    text += "        <Course>\n            <Name>S1</Name>\n            <Length>900</Length>\n";
    const std::pair<const char*, const char*> steps[] = {
        {"Start", "S1"}, {"Control", "31"}, {"Control", "32"}, {"Finish", "F1"}};
    for (const auto& [type, code] : steps) {
        text += std::string("            <CourseControl type=\"") + type +
                "\">\n                <Control>" + code +
                "</Control>\n            </CourseControl>\n";
    }
    return text + "        </Course>\n    </RaceCourseData>\n</CourseData>\n";
}

// Purple Pen: typed definitions, a blank before "/>", a byte order mark, class assignments.
const char* const kPurplePen = "\xEF\xBB\xBF"
                               R"(<?xml version="1.0" encoding="utf-8"?>
<CourseData xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xmlns="http://www.orienteering.org/datastandard/3.0" iofVersion="3.0" createTime="2024-05-01T10:00:00" creator="Purple Pen version 3.5.0">
  <Event>
    <Name>Sprint</Name>
  </Event>
  <RaceCourseData>
    <Map>
      <Scale>4000</Scale>
      <MapPositionTopLeft x="-100" y="80" unit="mm" />
      <MapPositionBottomRight x="100" y="-80" unit="mm" />
    </Map>
    <Control type="Start">
      <Id>S1</Id>
      <MapPosition x="10" y="20" unit="mm" />
    </Control>
    <Control type="Control">
      <Id>31</Id>
      <MapPosition x="15.5" y="30" unit="mm" />
    </Control>
    <Control type="Control">
      <Id>32</Id>
      <MapPosition x="4" y="12.5" unit="mm" />
    </Control>
    <Control type="Finish">
      <Id>F1</Id>
      <MapPosition x="12" y="18" unit="mm" />
    </Control>
    <Course>
      <Name>S1</Name>
      <Length>900</Length>
      <CourseControl type="Start">
        <Control>S1</Control>
      </CourseControl>
      <CourseControl type="Control">
        <Control>31</Control>
        <LegLength>200</LegLength>
      </CourseControl>
      <CourseControl type="Control">
        <Control>32</Control>
        <LegLength>300</LegLength>
      </CourseControl>
      <CourseControl type="Finish">
        <Control>F1</Control>
        <LegLength>100</LegLength>
      </CourseControl>
    </Course>
    <ClassCourseAssignment>
      <ClassName>Open</ClassName>
      <CourseName>S1</CourseName>
    </ClassCourseAssignment>
  </RaceCourseData>
</CourseData>
)";

// Condes, IOF XML 2.0.3: tabs, ISO-8859-1 (the course name "Étape 1"), real-world
// control positions beside the map positions, one course variation.
const char* const kCondes = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n"
                            "<!DOCTYPE CourseData SYSTEM \"IOFdata.dtd\">\r\n"
                            "<CourseData>\r\n"
                            "\t<IOFVersion version=\"2.0.3\" />\r\n"
                            "\t<Map>\r\n\t\t<Scale>4000</Scale>\r\n\t</Map>\r\n"
                            "\t<StartPoint>\r\n"
                            "\t\t<StartPointCode>S1</StartPointCode>\r\n"
                            "\t\t<ControlPosition x=\"615000\" y=\"6620000\" />\r\n"
                            "\t\t<MapPosition x=\"10\" y=\"20\" />\r\n"
                            "\t</StartPoint>\r\n"
                            "\t<Control>\r\n"
                            "\t\t<ControlCode>31</ControlCode>\r\n"
                            "\t\t<MapPosition x=\"15.5\" y=\"30\" />\r\n"
                            "\t</Control>\r\n"
                            "\t<Control>\r\n"
                            "\t\t<ControlCode>32</ControlCode>\r\n"
                            "\t\t<MapPosition x=\"4\" y=\"12.5\" />\r\n"
                            "\t</Control>\r\n"
                            "\t<Course>\r\n"
                            "\t\t<CourseName>\xC9tape 1</CourseName>\r\n"
                            "\t\t<CourseVariation>\r\n"
                            "\t\t\t<CourseVariationId>0</CourseVariationId>\r\n"
                            "\t\t\t<StartPointCode>S1</StartPointCode>\r\n"
                            "\t\t\t<CourseControl>\r\n"
                            "\t\t\t\t<Sequence>1</Sequence>\r\n"
                            "\t\t\t\t<ControlCode>31</ControlCode>\r\n"
                            "\t\t\t</CourseControl>\r\n"
                            "\t\t\t<CourseControl>\r\n"
                            "\t\t\t\t<Sequence>2</Sequence>\r\n"
                            "\t\t\t\t<ControlCode>32</ControlCode>\r\n"
                            "\t\t\t</CourseControl>\r\n"
                            "\t\t\t<FinishPointCode>F1</FinishPointCode>\r\n"
                            "\t\t</CourseVariation>\r\n"
                            "\t</Course>\r\n"
                            "</CourseData>\r\n";

// Everything on one line, a namespace prefix, CDATA, values padded with blanks, y before x.
const char* const kOneLine =
    "<?xml version=\"1.0\"?><iof:CourseData xmlns:iof=\"http://www.orienteering.org/"
    "datastandard/3.0\"><iof:RaceCourseData><iof:Control><iof:Id> S1 </iof:Id>"
    "<iof:MapPosition y=\" 20 \" x=\"10\"/></iof:Control><iof:Control><iof:Id>31</iof:Id>"
    "<iof:MapPosition y=\"30\" x=\"15.5\"/></iof:Control><iof:Control><iof:Id>32</iof:Id>"
    "<iof:MapPosition y=\"12.5\" x=\"4\"/></iof:Control><iof:Control><iof:Id>F1</iof:Id>"
    "<iof:MapPosition y=\"18\" x=\"12\"/></iof:Control><iof:Course><iof:Name><![CDATA[S1]]>"
    "</iof:Name><iof:CourseControl type=\"Start\"><iof:Control>S1</iof:Control>"
    "</iof:CourseControl><iof:CourseControl><iof:Control>\n  31\n</iof:Control>"
    "</iof:CourseControl><iof:CourseControl><iof:Control>32</iof:Control></iof:CourseControl>"
    "<iof:CourseControl type=\"Finish\"><iof:Control>F1</iof:Control></iof:CourseControl>"
    "</iof:Course></iof:RaceCourseData></iof:CourseData>";

std::string Utf16Le(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

const std::string kSecondStartSteps = OcadStep("Start", "S1") + OcadStep("Control", "31") +
                                      OcadStep("Start", "S2") + OcadStep("Control", "32") +
                                      OcadStep("Finish", "F1");

std::string Iof2Variations(int count) {
    std::string variations;
    for (int v = 0; v < count; ++v) {
        variations += "    <CourseVariation>\n      <CourseVariationId>" + std::to_string(v) +
                      "</CourseVariationId>\n      <StartPointCode>S1</StartPointCode>\n"
                      "      <CourseControl>\n        <ControlCode>31</ControlCode>\n"
                      "      </CourseControl>\n    </CourseVariation>\n";
    }
    return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<CourseData>\n"
           "  <StartPoint>\n    <StartPointCode>S1</StartPointCode>\n"
           "    <MapPosition x=\"10\" y=\"20\"/>\n  </StartPoint>\n"
           "  <Control>\n    <ControlCode>31</ControlCode>\n"
           "    <MapPosition x=\"15.5\" y=\"30\"/>\n  </Control>\n"
           "  <Course>\n    <CourseName>Relay</CourseName>\n" +
           variations + "  </Course>\n</CourseData>\n";
}

std::vector<Case> Cases() {
    const std::string mapperError =
        "[** ERROR **] The Courses.xml has no map positions for course 'S1', only geographic "
        "ones (S1, 31, 32, F1): Kib needs the controls' positions on the map (MapPosition); "
        "export the courses from OpenOrienteering Mapper 0.9.6 again with map positions";
    return {
        {"OCAD's layout",
         "S1",
         OcadLayout(kOcadDefinitions, OcadCourse("S1", kOcadSteps)),
         Control{"S1", kS1},
         kControls,
         {}},
        {"the IOF's example: comments in course controls, the unit before x and y",
         "S1",
         kIofExample,
         Control{"S1", kS1},
         kControls,
         {}},
        {"Purple Pen", "S1", kPurplePen, Control{"S1", kS1}, kControls, {}},
        {"Mapper with map positions: four blanks per level",
         "S1",
         MapperFile(true),
         Control{"S1", kS1},
         kControls,
         {}},
        {"Mapper with geographic positions only",
         "S1",
         MapperFile(false),
         std::nullopt,
         {},
         {mapperError}},
        {"Condes, IOF 2.0.3 in ISO-8859-1 with tabs",
         "\xC3\x89tape 1",
         kCondes,
         Control{"S1", kS1},
         {{"31", k31}, {"32", k32}},
         {}},
        {"one line, namespace prefix, CDATA, padded values",
         "S1",
         kOneLine,
         Control{"S1", kS1},
         kControls,
         {}},
        {"UTF-16 with a byte order mark",
         "S1",
         Utf16Le(OcadLayout(kOcadDefinitions, OcadCourse("S1", kOcadSteps))),
         Control{"S1", kS1},
         kControls,
         {}},
        {"a second start in mid-course (a map exchange) is passed over",
         "Homme",
         OcadLayout(kOcadDefinitions + OcadControl("S2", MapPoint{40.0f, 40.0f}),
                    OcadCourse("Homme", kSecondStartSteps)),
         Control{"S1", kS1},
         kControls,
         {"[= WARNING =] The second start S2 in course Homme is passed over"}},
        {"an undefined code keeps its task number",
         "S1",
         OcadLayout(kOcadDefinitions,
                    OcadCourse("S1", OcadStep("Start", "S1") + OcadStep("Control", "99") +
                                         OcadStep("Control", "31") + OcadStep("Control", "32"))),
         Control{"S1", kS1},
         {{"99", std::nullopt}, {"31", k31}, {"32", k32}},
         {"[= WARNING =] Control 99 of course S1 is not defined in the Courses.xml: task 1 has "
          "no position"}},
        {"several course variations",
         "Relay",
         Iof2Variations(64),
         std::nullopt,
         {},
         {"[** ERROR **] Course 'Relay' has 64 course variations in the Courses.xml; Kib needs "
          "one course per station"}},
        {"not well-formed: a course control never closed",
         "S1",
         OcadLayout(kOcadDefinitions,
                    OcadCourse("S1", kOcadSteps + "      <CourseControl type=\"Control\">\n")),
         std::nullopt,
         {},
         {"[** ERROR **] The courses file PATH is not well-formed XML: line 35: Start-end tags "
          "mismatch"}},
        {"not well-formed: an empty file",
         "S1",
         "",
         std::nullopt,
         {},
         {"[** ERROR **] The courses file PATH is not well-formed XML: line 1: No document "
          "element found"}},
    };
}

class CoursesProgramsTest : public test::EventTest {
  protected:
    void SetUp() override {
        InstallHost(false);
        dir = test::MakeTempDir("courses-programs");
        doc.SetPathParts(platform::WithSeparator(dir) + "event.cfg");
        Set(id::Source_COURSES, "event.Courses.xml");
        svg = std::make_unique<CKibSvg>(doc);
    }
    std::string CoursesPath() const { return platform::WithSeparator(dir) + "event.Courses.xml"; }
    std::unique_ptr<CKibSvg> svg;
};

TEST_F(CoursesProgramsTest, StartControlsPositionsAndMessages) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        host.Clear();
        std::ofstream(CoursesPath(), std::ios::binary) << c.text;
        Set(id::Source_COURSE, c.course);
        const bool read = svg->ReadCourses(1);
        std::vector<std::string> messages;
        for (std::string m : c.messages) {
            if (const std::size_t at = m.find("PATH"); at != std::string::npos) {
                m.replace(at, 4, CoursesPath());
            }
            messages.push_back(m);
        }
        EXPECT_EQ(host.messages, messages);
        EXPECT_EQ(read, c.start.has_value());
        if (!read || !c.start) {
            EXPECT_EQ(svg->controlCount, 0);
            continue;
        }
        EXPECT_EQ(svg->codes[0], c.start->code);
        EXPECT_FLOAT_EQ(svg->startPosition.x, c.start->position->x);
        EXPECT_FLOAT_EQ(svg->startPosition.y, c.start->position->y);
        EXPECT_EQ(svg->controlCount, static_cast<int>(c.controls.size()));
        for (std::size_t i = 1; i <= c.controls.size() && i <= std::size_t{100}; ++i) {
            const Control& want = c.controls[i - 1];
            SCOPED_TRACE(want.code);
            EXPECT_EQ(svg->codes[i], want.code);
            const MapPoint p = want.position.value_or(MapPoint{});
            EXPECT_FLOAT_EQ(svg->positions[i].x, p.x);
            EXPECT_FLOAT_EQ(svg->positions[i].y, p.y);
        }
    }
}

// The courses list of the same files: the scale and every course's name.
TEST_F(CoursesProgramsTest, CourseListOfEveryProgram) {
    struct ListCase {
        const char* name;
        std::string text;
        int scale;
        std::vector<std::string> courses;
    };
    const ListCase cases[] = {
        {"Purple Pen", kPurplePen, 4000, {"S1"}},
        {"Condes", kCondes, 4000, {"\xC3\x89tape 1"}},
        {"Mapper", MapperFile(false), 0, {"S1"}},
        {"the IOF's example", kIofExample, 0, {"S1"}},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(CoursesPath(), std::ios::binary) << c.text;
        doc.mapScale = 0;
        const CourseList list = ReadCourseList(doc);
        EXPECT_TRUE(list.read);
        EXPECT_EQ(doc.mapScale, c.scale);
        EXPECT_EQ(list.names, c.courses);
    }
    host.Clear();
    std::ofstream(CoursesPath(), std::ios::binary) << "<CourseData><Course></CourseData>";
    doc.mapScale = 2500;
    EXPECT_FALSE(ReadCourseList(doc).read);
    EXPECT_EQ(doc.mapScale, 2500);
    EXPECT_EQ(host.messages,
              std::vector<std::string>{"[= WARNING =] The courses file " + CoursesPath() +
                                       " is not well-formed XML: line 1: "
                                       "Start-end tags mismatch"});
}

} // namespace
} // namespace kib
