// A converted file replaces its target only when it is complete for its format.
#include "app/converted_file.h"

#include "app/sample_files.h"
#include "app/script_dir.h"
#include "foundation/app_state.h"
#include "support/recording_host.h"

#include <filesystem>
#include <sys/stat.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kib {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

TEST(ConvertedFileTest, CompleteAndCutOffFilesOfEachFormat) {
    test::ScriptDir dir;
    struct Case {
        const char* extension;
        std::string content;
        const char* reason; // empty: complete
    };
    const std::string pdf = test::kCompletePdf;
    const std::string png = test::kCompletePng;
    const Case cases[] = {
        {"pdf", pdf, ""},
        {"pdf", pdf + "\r\n", ""},
        {"pdf", pdf.substr(0, pdf.size() - 7), "the PDF file is cut off (no %%EOF at its end)"},
        {"pdf", pdf.substr(0, 40), "the PDF file is cut off (no %%EOF at its end)"},
        {"pdf", "%PDF-1.5\nstartxref\n3\n%%EOF\n", "the PDF file has no cross-reference"},
        {"pdf", "%PDF-1.5\nstartxref\n9999\n%%EOF\n", "the PDF file has no cross-reference"},
        {"pdf", "%PDF-1.5\n%%EOF\n", "the PDF file has no cross-reference"},
        {"pdf", "%PDF-1.5\n12 0 obj\n<< /Type /XRef >>\nstartxref\n9\n%%EOF\n", ""},
        {"pdf", "", "the file is empty"},
        {"pdf", "<svg/>", "it is not a PDF file"},
        {"png", png, ""},
        {"png", png.substr(0, png.size() - 1),
         "the PNG file is cut off (no IEND chunk at its end)"},
        {"png", png.substr(0, 4), "it is not a PNG file"},
        {"ps", test::kCompletePs, ""},
        {"ps", "%!PS-Adobe-3.0\nshowpage\n%%Tra",
         "the PostScript file is cut off (no %%EOF at "
         "its end)"},
        {"eps", test::kCompleteEps, ""},
        {"eps", test::kCompleteEps.substr(0, 50),
         "the PostScript file is cut off (no %%EOF at "
         "its end)"},
        {"eps", pdf, "it is not a PostScript file"},
        {"svg", "<svg/>", "its format 'svg' is unknown"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.Write("file", c.content);
        EXPECT_EQ(IncompleteReason(path, c.extension), c.reason)
            << c.extension << ": " << c.content;
    }
    EXPECT_EQ(IncompleteReason(dir.Path() + "missing", "pdf"), "no file was written");
    EXPECT_EQ(IncompleteReason(dir.Path(), "pdf"), "no file was written") << "a folder";
}

class PlaceConvertedFileTest : public testing::Test {
  protected:
    void SetUp() override { host.Install(); }
    void TearDown() override { ResetAppState(); }

    // A converter's file for target, written into temporary with content.
    bool Place(const std::string& temporary, const std::string& target, const std::string& content,
               const std::string& extension, const std::string& failure = {}) {
        AtomicFile file;
        return file.BeginAt(target, temporary) && file.Write(content) &&
               PlaceConvertedFile("map-1.1.svg", file, extension, failure);
    }

    test::RecordingHost host;
    test::ScriptDir dir;
};

TEST_F(PlaceConvertedFileTest, OnlyACompleteFileReplacesTheTarget) {
    LogScope log;
    const std::string target = dir.Write("map-1.1.png", "old");
    const std::string temporary = dir.Path() + "map-1.1-tmp.png";

    EXPECT_TRUE(Place(temporary, target, test::kCompletePng, "png"));
    EXPECT_EQ(test::ReadFile(target), test::kCompletePng);
    EXPECT_FALSE(std::filesystem::exists(temporary));
    EXPECT_THAT(host.messages, IsEmpty());
    EXPECT_EQ(log.Errors(), 0);

    EXPECT_FALSE(Place(temporary, target, test::kCompletePng.substr(0, 30), "png"));
    EXPECT_FALSE(Place(temporary, target, test::kCompletePng, "png",
                       "Inkscape reported \"libpng error: Write Error\""));
    EXPECT_THAT(
        host.messages,
        ElementsAre("[** ERROR **] Converting 'map-1.1.svg' failed: the PNG file is cut off "
                    "(no IEND chunk at its end). '" +
                        target + "' was not replaced.",
                    "[** ERROR **] Converting 'map-1.1.svg' failed: Inkscape reported "
                    "\"libpng error: Write Error\". '" +
                        target + "' was not replaced."));
    EXPECT_GT(log.Errors(), 0);
    EXPECT_EQ(test::ReadFile(target), test::kCompletePng) << "the good file stays";
    EXPECT_FALSE(std::filesystem::exists(temporary));
}

TEST_F(PlaceConvertedFileTest, OnlyAFileIsReplaced) {
    const std::string target = dir.Path() + "map-1.1.pdf";
    ASSERT_EQ(::mkfifo(target.c_str(), 0666), 0);
    const std::string temporary = dir.Path() + "map-1.1-tmp.pdf";
    EXPECT_FALSE(Place(temporary, target, test::kCompletePdf, "pdf"));
    EXPECT_THAT(host.messages,
                ElementsAre("[** ERROR **] Converting 'map-1.1.svg' failed: '" + target +
                            "' is a FIFO (named pipe), not a regular file. '" + target +
                            "' was not replaced."));
    EXPECT_TRUE(std::filesystem::is_fifo(target));
    EXPECT_FALSE(std::filesystem::exists(temporary));
}

} // namespace
} // namespace kib
