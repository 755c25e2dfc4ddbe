// The event's one print file: PDF files of different page sizes gathered in
// order with each page's own size, and combinations that fail without
// touching the single files or an older combined file.
#include "app/pdf_combine.h"
#include "foundation/app_state.h"
#include "support/recording_host.h"
#include "support/run_program.h"

#define POINTERHOLDER_TRANSITION 4
#include <cairo-pdf.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <filesystem>
#include <gtest/gtest.h>

namespace kib {
namespace {

namespace fs = std::filesystem;

// A one-page PDF of the given size in points.
void WritePdf(const std::string& path, double w, double h) {
    cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), w, h);
    cairo_t* cr = cairo_create(surface);
    cairo_rectangle(cr, 10, 10, 20, 20);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

// The width and height of every page, in order.
std::vector<std::pair<int, int>> PageSizes(const std::string& path) {
    QPDF pdf;
    pdf.processFile(path.c_str());
    std::vector<std::pair<int, int>> sizes;
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
        const QPDFObjectHandle::Rectangle box = page.getMediaBox().getArrayAsRectangle();
        sizes.emplace_back(static_cast<int>(box.urx - box.llx + 0.5),
                           static_cast<int>(box.ury - box.lly + 0.5));
    }
    return sizes;
}

class PdfCombineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.Install();
        dir = test::MakeTempDir("combine");
        WritePdf(dir + "/prn-1.0-1.1.pdf", 595, 842); // A4 portrait
        WritePdf(dir + "/prn-1.2.pdf", 842, 595);     // A4 landscape
        WritePdf(dir + "/sol-1-2.pdf", 842, 1191);    // A3
    }
    void TearDown() override {
        fs::remove_all(dir);
        ResetAppState();
    }
    std::vector<std::string> Parts() const {
        return {dir + "/prn-1.0-1.1.pdf", dir + "/prn-1.2.pdf", dir + "/sol-1-2.pdf"};
    }
    test::RecordingHost host;
    std::string dir;
};

TEST_F(PdfCombineTest, PagesKeepTheirOrderAndSize) {
    LogScope log;
    const std::string target = dir + "/Ev-maps.pdf";
    ASSERT_TRUE(CombineConvertedSheets(Parts(), target));
    EXPECT_EQ(PageSizes(target),
              (std::vector<std::pair<int, int>>{{595, 842}, {842, 595}, {842, 1191}}));
    EXPECT_EQ(host.messages.back(), "3 sheets combined into " + target + ".");
    EXPECT_EQ(log.Errors(), 0);
}

TEST_F(PdfCombineTest, FailedCombinationKeepsEverySingleFileAndTheOldCombinedFile) {
    LogScope log;
    const std::string target = dir + "/Ev-maps.pdf";
    test::WriteFile(target, "old");
    std::vector<std::string> missing = Parts();
    missing.push_back(dir + "/prn-2.0.pdf");
    EXPECT_FALSE(CombineConvertedSheets(missing, target));
    EXPECT_EQ(host.messages.back(), "[** ERROR **] Cannot combine the sheets into " + target +
                                        ": " + dir +
                                        "/prn-2.0.pdf is missing; the single files "
                                        "are kept.");

    test::WriteFile(dir + "/prn-1.2.pdf", "%PDF-1.5 cut off");
    EXPECT_FALSE(CombineConvertedSheets(Parts(), target));
    EXPECT_EQ(
        host.messages.back().rfind("[** ERROR **] Cannot combine the sheets into " + target, 0),
        0u);
    EXPECT_GT(log.Errors(), 0);
    EXPECT_EQ(test::ReadFile(target), "old");
    EXPECT_EQ(PageSizes(dir + "/sol-1-2.pdf").size(), 1u);
    for (const auto& entry : fs::directory_iterator(dir)) {
        EXPECT_EQ(entry.path().string().find("-tmp"), std::string::npos) << entry.path();
    }
}

} // namespace
} // namespace kib
