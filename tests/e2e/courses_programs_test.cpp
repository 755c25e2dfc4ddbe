// Whole runs of `kib analyse` on the demo event whose courses file was written
// again in the shapes other course-setting programs give it: the same courses and
// positions, so every station must read the same start and controls and match
// every circle, as with OCAD's file.
#include "support/demo_inputs.h"
#include "support/run_program.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

struct Definition {
    std::string code, x, y;
};
struct Step {
    std::string type, code;
};
struct Course {
    std::string name;
    std::vector<Step> steps;
};
struct Courses {
    std::vector<Definition> definitions;
    std::vector<Course> courses;
};

// The demo's courses file as OCAD wrote it.
Courses ReadDemoCourses(const std::string& path) {
    Courses c;
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_file(path.c_str()));
    const pugi::xml_node race = doc.child("CourseData").child("RaceCourseData");
    for (pugi::xml_node d : race.children("Control")) {
        const pugi::xml_node p = d.child("MapPosition");
        c.definitions.push_back(
            {d.child_value("Id"), p.attribute("x").value(), p.attribute("y").value()});
    }
    for (pugi::xml_node course : race.children("Course")) {
        Course k{course.child_value("Name"), {}};
        for (pugi::xml_node s : course.children("CourseControl")) {
            k.steps.push_back({s.attribute("type").value(), s.child_value("Control")});
        }
        c.courses.push_back(k);
    }
    return c;
}

// Purple Pen: typed definitions, a blank before "/>", a byte order mark.
std::string PurplePen(const Courses& c) {
    std::ostringstream x;
    x << "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<CourseData "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
         "xmlns=\"http://www.orienteering.org/datastandard/3.0\" iofVersion=\"3.0\" "
         "creator=\"Purple Pen version 3.5.0\">\n  <Event>\n    <Name>Demo</Name>\n  </Event>\n"
         "  <RaceCourseData>\n    <Map>\n      <Scale>4000</Scale>\n    </Map>\n";
    for (const Definition& d : c.definitions) {
        const char* type = d.code[0] == 'S' ? "Start" : d.code[0] == 'F' ? "Finish" : "Control";
        x << "    <Control type=\"" << type << "\">\n      <Id>" << d.code
          << "</Id>\n      <MapPosition x=\"" << d.x << "\" y=\"" << d.y
          << "\" unit=\"mm\" />\n    </Control>\n";
    }
    for (const Course& k : c.courses) {
        x << "    <Course>\n      <Name>" << k.name << "</Name>\n";
        for (const Step& s : k.steps) {
            x << "      <CourseControl type=\"" << s.type << "\">\n        <Control>" << s.code
              << "</Control>\n      </CourseControl>\n";
        }
        x << "    </Course>\n    <ClassCourseAssignment>\n      <ClassName>Open</ClassName>\n"
          << "      <CourseName>" << k.name << "</CourseName>\n    </ClassCourseAssignment>\n";
    }
    x << "  </RaceCourseData>\n</CourseData>\n";
    return x.str();
}

// OpenOrienteering Mapper: four blanks per level, geographic positions, map
// positions only when asked.
std::string Mapper(const Courses& c, bool mapPositions) {
    std::ostringstream x;
    x << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CourseData "
         "xmlns=\"http://www.orienteering.org/datastandard/3.0\" iofVersion=\"3.0\" "
         "creator=\"OpenOrienteering Mapper 0.9.6\">\n    <Event>\n        <Name>Demo</Name>\n"
         "    </Event>\n    <RaceCourseData>\n";
    for (const Definition& d : c.definitions) {
        x << "        <Control>\n            <Id>" << d.code << "</Id>\n"
          << "            <Position lng=\"7.0\" lat=\"46.0\"/>\n";
        if (mapPositions) {
            x << "            <MapPosition x=\"" << d.x << "\" y=\"" << d.y << "\" unit=\"mm\"/>\n";
        }
        x << "        </Control>\n";
    }
    for (const Course& k : c.courses) {
        x << "        <Course>\n            <Name>" << k.name << "</Name>\n";
        for (const Step& s : k.steps) {
            x << "            <CourseControl type=\"" << s.type << "\">\n                <Control>"
              << s.code << "</Control>\n            </CourseControl>\n";
        }
        x << "        </Course>\n";
    }
    x << "    </RaceCourseData>\n</CourseData>\n";
    return x.str();
}

// Condes, IOF XML 2.0.3: tabs and Windows line ends, ISO-8859-1, start points of
// their own with real-world positions, one course variation per course.
std::string Condes(const Courses& c) {
    std::ostringstream x;
    x << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n"
         "<!DOCTYPE CourseData SYSTEM \"IOFdata.dtd\">\r\n<CourseData>\r\n"
         "\t<IOFVersion version=\"2.0.3\" />\r\n\t<Map>\r\n\t\t<Scale>4000</Scale>\r\n\t</Map>\r\n";
    for (const Definition& d : c.definitions) {
        const bool start = d.code[0] == 'S';
        const char* element = start ? "StartPoint" : d.code[0] == 'F' ? "FinishPoint" : "Control";
        const char* code = start              ? "StartPointCode"
                           : d.code[0] == 'F' ? "FinishPointCode"
                                              : "ControlCode";
        x << "\t<" << element << ">\r\n\t\t<" << code << ">" << d.code << "</" << code << ">\r\n"
          << "\t\t<ControlPosition x=\"615000\" y=\"6620000\" />\r\n"
          << "\t\t<MapPosition x=\"" << d.x << "\" y=\"" << d.y << "\" />\r\n\t</" << element
          << ">\r\n";
    }
    for (const Course& k : c.courses) {
        x << "\t<Course>\r\n\t\t<CourseName>" << k.name << "</CourseName>\r\n"
          << "\t\t<CourseVariation>\r\n\t\t\t<CourseVariationId>0</CourseVariationId>\r\n";
        int sequence = 0;
        for (const Step& s : k.steps) {
            if (s.type == "Start") {
                x << "\t\t\t<StartPointCode>" << s.code << "</StartPointCode>\r\n";
            } else if (s.type == "Finish") {
                x << "\t\t\t<FinishPointCode>" << s.code << "</FinishPointCode>\r\n";
            } else {
                x << "\t\t\t<CourseControl>\r\n\t\t\t\t<Sequence>" << ++sequence
                  << "</Sequence>\r\n\t\t\t\t<ControlCode>" << s.code
                  << "</ControlCode>\r\n\t\t\t</CourseControl>\r\n";
            }
        }
        x << "\t\t</CourseVariation>\r\n\t</Course>\r\n";
    }
    x << "</CourseData>\r\n";
    return x.str();
}

// The IOF's examples: comments everywhere, the unit before x and y, the root's
// attributes on lines of their own.
std::string IofExample(const Courses& c) {
    std::ostringstream x;
    x << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!--\n  Course definitions.\n-->\n"
         "<CourseData xmlns=\"http://www.orienteering.org/datastandard/3.0\"\n"
         "            iofVersion=\"3.0\"\n            creator=\"Example Software\">\n"
         "  <RaceCourseData>\n    <!-- first, all controls are defined -->\n";
    for (const Definition& d : c.definitions) {
        x << "    <Control>\n      <Id>" << d.code << "</Id>\n"
          << "      <!-- the position of the control on the printed map -->\n"
          << "      <MapPosition unit=\"mm\" x=\"" << d.x << "\" y=\"" << d.y << "\"/>\n"
          << "    </Control>\n";
    }
    for (const Course& k : c.courses) {
        x << "    <Course>\n      <Name>" << k.name << "</Name>\n"
          << "      <!-- ordered sequence of controls, including start and finish -->\n";
        for (const Step& s : k.steps) {
            x << "      <CourseControl type=\"" << s.type << "\" >\n"
              << "        <!-- use the control code for normal controls -->\n"
              << "        <Control>" << s.code << "</Control>\n      </CourseControl>\n";
        }
        x << "    </Course>\n";
    }
    x << "  </RaceCourseData>\n</CourseData>\n";
    return x.str();
}

int CountLines(const std::string& text, const std::string& part) {
    int n = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        n += line.find(part) != std::string::npos ? 1 : 0;
    }
    return n;
}

class CoursesProgramsE2eTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = CopyDemoToTempDir("e2e-courses-programs");
        courses = ReadDemoCourses(dir + "/Demo.Courses.xml");
        ASSERT_EQ(courses.courses.size(), 4u);
    }
    void TearDown() override { fs::remove_all(dir); }
    ProgramResult Analyse(const std::string& coursesFile) {
        WriteFile(dir + "/Demo.Courses.xml", coursesFile);
        return RunProgram({KibBinary(), "analyse", dir + "/demo.cfg"});
    }
    std::string dir;
    Courses courses;
};

TEST_F(CoursesProgramsE2eTest, EveryStationReadsItsCourse) {
    const std::pair<const char*, std::function<std::string(const Courses&)>> shapes[] = {
        {"Purple Pen", PurplePen},
        {"Mapper with map positions", [](const Courses& c) { return Mapper(c, true); }},
        {"Condes", Condes},
        {"IOF example", IofExample},
    };
    for (const auto& [name, write] : shapes) {
        SCOPED_TRACE(name);
        const ProgramResult r = Analyse(write(courses));
        EXPECT_EQ(r.status, 0) << r.out << r.err;
        EXPECT_EQ(CountLines(r.out, "WARNING") + CountLines(r.out, "ERROR"), 0) << r.out;
        EXPECT_EQ(CountLines(r.out, "no problem found"), 4) << r.out;
        EXPECT_EQ(CountLines(r.out, "0 unmatched"), 4) << r.out;
    }
}

TEST_F(CoursesProgramsE2eTest, GeographicPositionsOnlyAreAnError) {
    const ProgramResult r = Analyse(Mapper(courses, false));
    EXPECT_EQ(r.status, 2) << r.out << r.err;
    EXPECT_EQ(CountLines(r.out, "[** ERROR **] The Courses.xml has no map positions for course"), 4)
        << r.out;
    EXPECT_EQ(CountLines(r.out, "only geographic ones"), 4) << r.out;
    EXPECT_EQ(CountLines(r.out, "no problem found"), 0) << r.out;
}

} // namespace
} // namespace kib::test
