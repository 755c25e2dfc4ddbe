// Printing: which PNG file each page shows, the checks before a print job,
// and the pages of a job chosen by their page numbers.
#include "gui_fixture.h"

#include "config/cfg_ids.h"
#include "config/kib_doc.h"
#include "config/name_templates.h"
#include "gui/make_dlg.h"
#include "gui/output_wnd.h"
#include "gui/printing.h"

#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QPrinter>
#include <QTabWidget>

namespace kib::gui::test {
namespace {

using Page = std::pair<int, int>; // station, task

class PrintingTest : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        cfg.Item(id::Event_MINSTAT).SetText("1");
        cfg.Item(id::Event_MAXSTAT).SetText("3");
        cfg.Item(id::Event_TASKS).SetText("5");
        cfg.StationItem(2, id::Station_TASKS).SetText("0");
        cfg.StationItem(3, id::Station_TASKS).SetText("3");
    }
    std::vector<std::string> Names(const std::vector<Page>& pages, int g) const {
        std::vector<std::string> names;
        for (auto [n, t] : pages) {
            names.push_back(MakeOutputName(cfg, "/out/", n, t, g, "png"));
        }
        return names;
    }
    CKibCfg cfg;
};

TEST_F(PrintingTest, PagesAreThePrintSheetsOfTheChosenStationsAndTasks) {
    struct Case {
        int g;
        std::uint32_t mask;
        int task;
        std::vector<Page> pages;
    };
    const Case cases[] = {
        // Two canvases per sheet: the sheet of tasks 0 and 1 first; station 2 has no tasks.
        {2, 0, -1, {{1, 0}, {1, 2}, {1, 4}, {3, 0}, {3, 2}}},
        {2, 1u << 1, 3, {{1, 2}}}, // task 3 is on the sheet of tasks 2 and 3
        {0, 1u << 3, -1, {{3, 0}, {3, 1}, {3, 2}, {3, 3}}},
        {0, 0, 5, {{1, 5}}}, // station 3 has no task 5
        {4, 1u << 1, -1, {{1, 0}, {1, 4}}},
        {0, 0, -2, {}},
        {0, 1u << 2, -1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "g " << c.g << " mask " << c.mask << " task " << c.task);
        const MakeChoice choice{c.mask, c.task};
        EXPECT_EQ(PageFiles(cfg, "/out/", c.g, choice), Names(c.pages, c.g));
        const int count = static_cast<int>(c.pages.size());
        for (int k = 1; k <= count; ++k) {
            EXPECT_EQ(PageFileName(cfg, "/out/", c.g, choice, k), Names(c.pages, c.g)[k - 1]);
        }
        EXPECT_EQ(PageFileName(cfg, "/out/", c.g, choice, count + 1), "");
    }
}

TEST_F(PrintingTest, AJobPrintsThePagesOfItsRangeByTheirNumbers) {
    EXPECT_EQ(PagesToPrint(0, 0, 3), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(PagesToPrint(2, 3, 5), (std::vector<int>{2, 3}));
    EXPECT_EQ(PagesToPrint(4, 9, 5), (std::vector<int>{4, 5}));

    CKibDoc* doc = Open("print.cfg", EventConfig("", "[Target]\r\nDIR=out\r\n"));
    ASSERT_NE(doc, nullptr);
    PrintJob job;
    job.printDir = doc->MakePath("out/");
    job.choice = {1u << 1, -1}; // station 1: pages of tasks 0 to 5
    job.pageCount = 6;
    QImage page(20, 30, QImage::Format_RGB32);
    page.fill(Qt::black);
    QDir().mkpath(QString::fromStdString(job.printDir));
    for (int t = 0; t <= 5; ++t) {
        ASSERT_TRUE(page.save(QString::fromStdString(
            MakeOutputName(*doc->GetConfig(), job.printDir, 1, t, 0, "png"))));
    }

    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("job.pdf"));
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(3, 4);
    const std::vector<std::string> printed = PrintPages(printer, *doc, job);
    const std::vector<std::string> expected = {
        MakeOutputName(*doc->GetConfig(), job.printDir, 1, 2, 0, "png"),
        MakeOutputName(*doc->GetConfig(), job.printDir, 1, 3, 0, "png")};
    EXPECT_EQ(printed, expected);
}

TEST_F(PrintingTest, ASheetAt600DpiLoadsAndPrintsWhiteAsTransparent) {
    // A4 at 600 dpi is 4961 x 7016 pixels: above Qt's default image size limit.
    QImage sheet(4961, 7016, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            sheet.setPixel(x, y, qRgb(255, 0, 0));
        }
    }
    const QString file = dir.filePath("sheet.png");
    ASSERT_TRUE(sheet.save(file));
    QImage page(100, 100, QImage::Format_RGB32);
    page.fill(Qt::blue);
    QPainter painter(&page);
    ASSERT_TRUE(DrawPageImage(painter, page.rect(), file));
    painter.end();
    EXPECT_EQ(page.pixel(0, 0), qRgb(255, 0, 0));   // drawn
    EXPECT_EQ(page.pixel(80, 80), qRgb(0, 0, 255)); // white left the page as it was
}

TEST_F(PrintingTest, PrintRefusesSolutionsAndMissingFiles) {
    CKibDoc* doc = Open("print.cfg", EventConfig("", "[Station 2]\r\nTASKS=0\r\n"));
    ASSERT_NE(doc, nullptr);
    int dialogs = 0;
    const auto dialog = [&dialogs](CMakeDlg& dlg) {
        ++dialogs;
        EXPECT_EQ(dlg.windowTitle(), "Print Competition Maps");
        dlg.accept();
        return true;
    };

    doc->SetMapsMode(true);
    EXPECT_FALSE(PreparePrinting(*doc, dialog, {}));
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(BoxTexts(),
              std::vector<std::string>{"Direct printing of solution maps is not implemented yet"});

    doc->SetMapsMode(false);
    boxes.clear();
    frame->Output()->Tabs()->setCurrentIndex(1);
    EXPECT_FALSE(PreparePrinting(*doc, dialog, [this] { frame->Output()->SelectMessagesTab(); }));
    EXPECT_EQ(dialogs, 1);
    const QStringList lines = Lines(LogPane::Messages);
    EXPECT_TRUE(lines.contains("[= WARNING =] Number of tasks undefined for station 2"));
    EXPECT_EQ(lines.filter("does not exist!").size(), 12); // stations 1 and 3, tasks 0 to 5
    EXPECT_EQ(BoxTexts(),
              std::vector<std::string>{"PNG files for printing not found! Have you created them?"});
    EXPECT_EQ(frame->Output()->Tabs()->currentIndex(), 0);
}

} // namespace
} // namespace kib::gui::test
