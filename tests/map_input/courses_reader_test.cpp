// The courses file reader: the course of a station in both OCAD layouts, its
// limits and errors, and the document's map scale and map zoom.
#include "map_input/document_exports.h"
#include "map_input/kib_svg.h"
#include "platform/paths.h"
#include "support/event_builder.h"
#include "support/special_files.h"
#include "support/test_files.h"

#include "foundation/app_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kib {
namespace {

namespace fs = std::filesystem;

const std::string kData = test::TestData("map_input/");

std::string ContentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class TempDir {
  public:
    TempDir() { path_ = platform::WithSeparator(test::MakeTempDir("courses")); }
    ~TempDir() { fs::remove_all(path_); }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

class CoursesReaderTest : public test::EventTest {
  protected:
    void SetUp() override {
        InstallHost(true);
        ASSERT_FALSE(tmp.path().empty());
        UseDirectory(kData);
    }

    // The configuration lies in dir; the courses file is Source.COURSES there.
    void UseDirectory(const std::string& dir) {
        doc.SetPathParts(dir + "event.cfg");
        cfg = &doc.NewConfig();
        Set(id::Event_NAME, "Sprint");
        Set(id::Source_COURSE, "S${STAT}");
        svg = std::make_unique<CKibSvg>(doc);
    }
    // Writes a courses file into the temporary directory and reads from there.
    void UseCoursesText(const std::string& text) {
        UseDirectory(tmp.path());
        std::ofstream(tmp.path() + "Sprint.Courses.xml", std::ios::binary) << text;
    }

    bool HasMessage(const std::string& line) const { return host.HasMessage(line); }
    bool HasDebug(const std::string& line) const {
        return std::find(host.debug.begin(), host.debug.end(), line) != host.debug.end();
    }
    bool HasDebugPrefix(const std::string& prefix) const {
        return std::any_of(host.debug.begin(), host.debug.end(),
                           [&](const std::string& d) { return d.rfind(prefix, 0) == 0; });
    }
    std::size_t ProblemCount() const {
        return static_cast<std::size_t>(
            std::count_if(host.messages.begin(), host.messages.end(), [](const std::string& m) {
                return m.rfind("[** ERROR **]", 0) == 0 || m.rfind("[= WARNING =]", 0) == 0;
            }));
    }
    void ExpectOffset(int i, float x, float y) const {
        EXPECT_FLOAT_EQ(svg->offsets[static_cast<std::size_t>(i)].x, x) << "control " << i;
        EXPECT_FLOAT_EQ(svg->offsets[static_cast<std::size_t>(i)].y, y) << "control " << i;
    }

    TempDir tmp;
    std::unique_ptr<CKibSvg> svg;
};

// Only the start type marks the start; the finish is one more course control, a
// code without definition keeps its task number but has no position (so the later
// tasks keep theirs), a repeated definition keeps its first position, and the
// course name must match in letter case too.
TEST_F(CoursesReaderTest, Iof3CourseWithStartControlsAndFinish) {
    Set(id::Source_COURSES, "courses-iof3.xml");
    ASSERT_TRUE(svg->ReadCourses(1));
    EXPECT_EQ(svg->codes[0], "S1");
    ASSERT_EQ(svg->controlCount, 4);
    EXPECT_EQ(svg->codes[1], "31");
    EXPECT_EQ(svg->codes[2], "99");
    EXPECT_EQ(svg->codes[3], "32");
    EXPECT_EQ(svg->codes[4], "F1");
    EXPECT_FLOAT_EQ(svg->startPosition.x, 10.0f);
    EXPECT_FLOAT_EQ(svg->startPosition.y, 20.0f);
    EXPECT_FLOAT_EQ(svg->positions[1].x, 15.5f);
    EXPECT_FLOAT_EQ(svg->positions[1].y, 30.0f);
    EXPECT_TRUE(svg->noPosition[2]);
    EXPECT_FALSE(svg->noPosition[1] || svg->noPosition[3] || svg->noPosition[4]);
    ExpectOffset(0, 0.0f, 0.0f);
    ExpectOffset(1, 5.5f, -10.0f); // 10 units north of the start: y offset -10
    ExpectOffset(2, 0.0f, 0.0f);
    ExpectOffset(3, -6.0f, 7.5f);
    ExpectOffset(4, 2.0f, 2.0f);
    EXPECT_EQ(host.messages, std::vector<std::string>{"[= WARNING =] Control 99 of course S1 is "
                                                      "not defined in the Courses.xml: task 2 "
                                                      "has no position"});
    EXPECT_EQ(host.statusTexts.back(), "Reading XML " + kData + "courses-iof3.xml...");
    EXPECT_TRUE(HasDebug("==== Reading Courses for station 1..."));
    EXPECT_TRUE(HasDebug("Course found at line 43"));
    EXPECT_TRUE(HasDebug("Course control point #3 (32) position: 4.000, 12.500"));
    EXPECT_TRUE(HasDebug("Start symbol (S1) position: 10.000, 20.000"));
    EXPECT_TRUE(HasDebug("Course control point #1 (31) offset: 5.500, -10.000"));

    svg->LogCourseControl(1);
    EXPECT_EQ(host.debug.back(), "Course control #1 (31) position: 15.500, 30.000 ~ 5.500 -10.000");
    svg->LogCourseControl(2);
    EXPECT_EQ(host.debug.back(), "Course control #2 (99) has no position");
}

// In the older layout a StartPointCode inside the course marks the start, course
// controls are ControlCode elements and the finish is not a course control. A control
// visited twice gives two course controls at the same place.
TEST_F(CoursesReaderTest, Iof2CourseWithStartPointCode) {
    Set(id::Source_COURSES, "courses-iof2.xml");
    ASSERT_TRUE(svg->ReadCourses(1));
    EXPECT_EQ(svg->codes[0], "S1");
    ASSERT_EQ(svg->controlCount, 3);
    EXPECT_EQ(svg->codes[1], "41");
    EXPECT_EQ(svg->codes[2], "42");
    EXPECT_EQ(svg->codes[3], "41");
    ExpectOffset(1, 4.0f, 4.0f);
    ExpectOffset(2, 0.0f, -10.0f);
    ExpectOffset(3, 4.0f, 4.0f);
    EXPECT_EQ(ProblemCount(), 0u);
}

// Windows line ends do not hide the elements that open a container.
TEST_F(CoursesReaderTest, CarriageReturnsBeforeLineFeeds) {
    std::string text = ContentOf(kData + "courses-iof3.xml");
    std::string crlf;
    for (char c : text) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    UseCoursesText(crlf);
    ASSERT_TRUE(svg->ReadCourses(1));
    EXPECT_EQ(svg->codes[0], "S1");
    EXPECT_EQ(svg->controlCount, 4);
}

TEST_F(CoursesReaderTest, Failures) {
    LogScope log;
    struct Case {
        const char* name;
        std::string courses; // Source.COURSES
        std::string course;  // Source.COURSE
        int station;
        std::string message; // empty: no message
    };
    const Case cases[] = {
        {"missing file", "missing.xml", "S${STAT}", 1,
         "[** ERROR **] Cannot open courses file " + kData + "missing.xml"},
        {"empty course name", "courses-iof3.xml", "", 1, ""},
        {"course without start", "courses-iof3.xml", "S${STAT}", 2,
         "[** ERROR **] Cannot find start symbol for station 2 in the Courses.xml"},
        {"no such course", "courses-iof3.xml", "S${STAT}", 3,
         "[** ERROR **] Cannot find course 'S3' in the Courses.xml"},
        {"course name in another letter case", "courses-iof3.xml", "s${STAT}", 2,
         "[** ERROR **] Cannot find course 's2' in the Courses.xml"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.Clear();
        UseDirectory(kData);
        Set(id::Source_COURSES, c.courses);
        cfg->Item(id::Source_COURSE).SetText(c.course);
        log.Clear();
        EXPECT_FALSE(svg->ReadCourses(c.station));
        if (c.message.empty()) {
            EXPECT_TRUE(host.messages.empty());
        } else {
            EXPECT_EQ(host.messages, std::vector<std::string>{c.message});
            EXPECT_GT(log.Errors(), 0);
        }
    }
}

TEST_F(CoursesReaderTest, SomethingElseThanAFileOrOneTooLarge) {
    // A FIFO at the courses file's name once hung every command for good.
    UseDirectory(tmp.path());
    const std::string path = tmp.path() + "Sprint.Courses.xml";
    if (test::MakeFifo(path)) {
        const std::string fifo = ": it is a FIFO (named pipe), not a regular file";
        EXPECT_FALSE(svg->ReadCourses(1));
        ReadCourseList(doc);
        EXPECT_EQ(host.messages, (std::vector<std::string>{
                                     "[** ERROR **] Cannot open courses file " + path + fifo,
                                     "[= WARNING =] Cannot open courses file " + path + fifo}));
        fs::remove(path);
    }

    // 65 MiB of zeros after the first line: far larger than any courses file.
    UseCoursesText("<?xml version=\"1.0\"?>\n");
    fs::resize_file(path, std::uintmax_t{65} << 20);
    host.Clear();
    EXPECT_FALSE(svg->ReadCourses(1));
    ReadCourseList(doc);
    EXPECT_EQ(host.messages,
              (std::vector<std::string>{
                  "[** ERROR **] The courses file " + path + " is larger than 64 MiB!",
                  "[= WARNING =] The courses file " + path + " is larger than 64 MiB!"}));
}

std::string CoursesWith(int definitions, int courseControls) {
    std::ostringstream x;
    x << "<CourseData>\n  <RaceCourseData>\n";
    x << "    <Control>\n      <Id>S1</Id>\n      <MapPosition x=\"0.0\" y=\"0.0\"/>\n"
         "    </Control>\n";
    for (int k = 1; k < definitions; ++k) {
        x << "    <Control>\n      <Id>" << k << "</Id>\n      <MapPosition x=\"" << k
          << ".0\" y=\"1.0\"/>\n    </Control>\n";
    }
    x << "    <Course>\n      <Name>S1</Name>\n";
    x << "      <CourseControl type=\"Start\">\n        <Control>S1</Control>\n"
         "      </CourseControl>\n";
    for (int k = 1; k <= courseControls; ++k) {
        x << "      <CourseControl type=\"Control\">\n        <Control>" << k
          << "</Control>\n      </CourseControl>\n";
    }
    x << "    </Course>\n  </RaceCourseData>\n</CourseData>\n";
    return x.str();
}

// More than 100 course controls: the first 100 are kept and the read goes on.
TEST_F(CoursesReaderTest, CourseControlLimit) {
    UseCoursesText(CoursesWith(102, 100));
    ASSERT_TRUE(svg->ReadCourses(1));
    EXPECT_EQ(svg->controlCount, 100);
    EXPECT_EQ(ProblemCount(), 0u);

    UseCoursesText(CoursesWith(102, 101));
    ASSERT_TRUE(svg->ReadCourses(1));
    EXPECT_TRUE(HasMessage("[** ERROR **] Exceeded limit for control points (101 > 100)"));
    EXPECT_EQ(svg->controlCount, 100);
    EXPECT_EQ(svg->codes[100], "100");
    ExpectOffset(100, 100.0f, -1.0f);
}

// A file with more than 1000 definitions keeps the first 1000: a course control whose
// code is defined only after them has no position, and the overflow is reported.
TEST_F(CoursesReaderTest, DefinitionLimit) {
    std::string text = CoursesWith(1002, 0);
    const std::string course =
        "      <CourseControl type=\"Control\">\n        <Control>999</Control>\n"
        "      </CourseControl>\n      <CourseControl type=\"Control\">\n"
        "        <Control>1000</Control>\n      </CourseControl>\n";
    text.insert(text.find("    </Course>"), course);
    UseCoursesText(text);
    ASSERT_TRUE(svg->ReadCourses(1));
    ASSERT_EQ(svg->controlCount, 2);
    EXPECT_EQ(svg->codes[1], "999");
    EXPECT_EQ(svg->codes[2], "1000");
    EXPECT_TRUE(svg->noPosition[2]);
    EXPECT_EQ(host.messages,
              (std::vector<std::string>{"[= WARNING =] Control 1000 of course S1 is not defined "
                                        "in the Courses.xml: task 2 has no position",
                                        "[= WARNING =] Exceeded limit for control definitions "
                                        "(1002 > 1000), the first 1000 are used"}));
}

// A new read replaces the course data of the previous station, even when it fails.
TEST_F(CoursesReaderTest, FailedReadLeavesNoCourseData) {
    Set(id::Source_COURSES, "courses-iof3.xml");
    ASSERT_TRUE(svg->ReadCourses(1));
    EXPECT_FALSE(svg->ReadCourses(3));
    EXPECT_EQ(svg->controlCount, 0);
    EXPECT_EQ(svg->codes[1], "");
}

TEST_F(CoursesReaderTest, CourseListSetsTheMapScale) {
    Set(id::Source_COURSES, "courses-iof3.xml");
    ReadCourseList(doc);
    EXPECT_EQ(doc.mapScale, 4000);
    EXPECT_TRUE(HasDebug("==== Reading Courses list..."));
    EXPECT_TRUE(HasDebug("Found map scale 1:4000 in courses list."));
    EXPECT_TRUE(HasDebug("Found 3 course(s) in courses list."));
    EXPECT_EQ(host.statusTexts.back(), "Reading XML " + kData + "courses-iof3.xml...");

    Set(id::Source_COURSES, "courses-iof2.xml");
    ReadCourseList(doc);
    EXPECT_EQ(doc.mapScale, 10000);

    UseCoursesText("<CourseData>\n  <Map>\n    <Scale>big</Scale>\n  </Map>\n</CourseData>\n");
    doc.mapScale = 4000;
    ReadCourseList(doc);
    EXPECT_EQ(doc.mapScale, 0);
    EXPECT_EQ(ProblemCount(), 0u);
}

TEST_F(CoursesReaderTest, CourseListWithoutFileOrInAnotherMode) {
    Set(id::Source_COURSES, "missing.xml");
    doc.mapScale = 2500;
    ReadCourseList(doc);
    EXPECT_EQ(doc.mapScale, 2500);
    EXPECT_EQ(host.messages, std::vector<std::string>{"[= WARNING =] Cannot open courses file " +
                                                      kData + "missing.xml"});

    host.Clear();
    Set(id::Source_COURSES, "courses-iof3.xml");
    Set(id::Source_MODE, "stat");
    ReadCourseList(doc);
    ReadMapZoom(doc);
    EXPECT_EQ(doc.mapScale, 2500);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.debug.empty());
    EXPECT_TRUE(host.statusTexts.empty());
}

class MapZoomTest : public CoursesReaderTest {
  protected:
    void SetUp() override {
        CoursesReaderTest::SetUp();
        UseDirectory(tmp.path());
    }
    void WriteMap(const std::string& name, const std::string& firstContent) {
        std::ofstream(tmp.path() + name) << "<?xml version=\"1.0\"?>\n<svg viewBox=\"0 0 10 10\">\n"
                                         << firstContent << "\n</g>\n</svg>\n";
    }
};

// The first station's map that exists gives the zoom (stations 0 to 20 are tried).
TEST_F(MapZoomTest, ZoomFromTheFirstMapFound) {
    WriteMap("Sprint.S2.svg", "<g id=\"scaleTransform\" transform=\"scale(2.5)\">");
    WriteMap("Sprint.S3.svg", "<g id=\"scaleTransform\" transform=\"scale(4)\">");
    ReadMapZoom(doc);
    EXPECT_FLOAT_EQ(doc.mapZoom, 2.5f);
    EXPECT_EQ(host.statusTexts.back(), "Reading SVG " + tmp.path() + "Sprint.S2.svg...");
    EXPECT_TRUE(HasDebug("Found map zoom 2.500."));
    EXPECT_TRUE(HasDebugPrefix("Read 2 lines in ")); // the two lines before the scale group
    EXPECT_EQ(ProblemCount(), 0u);
}

TEST_F(MapZoomTest, ZoomMissingOrUnusable) {
    struct Case {
        const char* firstContent;
        const char* file;
    };
    const Case cases[] = {
        {"<g id=\"Sym_101.0 Contour\">", "Sprint.S1.svg"},
        {"<g id=\"scaleTransform\" transform=\"scale(0)\">", "Sprint.S1.svg"},
        {"<g id=\"scaleTransform\" transform=\"rotate(3)\">", "Sprint.S1.svg"},
        {"<g id=\"scaleTransform\" transform=\"scale(-2)\">", "Sprint.S1.svg"},
        {"<g id=\"scaleTransform\" transform=\"scale(1e-30)\">", "Sprint.S1.svg"},
        {"<g id=\"scaleTransform\" transform=\"scale(2e9)\">", "Sprint.S1.svg"},
        {"<g id=\"scaleTransform\" transform=\"scale(nan)\">", "Sprint.S1.svg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.firstContent);
        host.Clear();
        WriteMap(c.file, c.firstContent);
        doc.mapZoom = 1.5f;
        ReadMapZoom(doc);
        EXPECT_FLOAT_EQ(doc.mapZoom, 0.0f);
        EXPECT_EQ(host.messages, std::vector<std::string>{"[= WARNING =] Map zoom not found."});
    }
}

TEST_F(MapZoomTest, NoMapFile) {
    doc.mapZoom = 1.5f;
    ReadMapZoom(doc);
    EXPECT_FLOAT_EQ(doc.mapZoom, 1.5f);
    EXPECT_EQ(host.messages, std::vector<std::string>{"[= WARNING =] Cannot open map file " +
                                                      tmp.path() + "Sprint.S1.svg"});
}

} // namespace
} // namespace kib
