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
#include <QLabel>
#include <QListWidget>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QStandardPaths>
#include <QTabWidget>

#include "support/run_program.h"

#include <sstream>

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
        const MakeChoice choice{StationSet::FromMask(c.mask), c.task};
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
    job.choice = {StationSet::Of({1}), -1}; // station 1: pages of tasks 0 to 5
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
    // A page of 600 by 800 pixels at 72 dpi: the sheet is scaled down to its height.
    QImage page(600, 800, QImage::Format_RGB32);
    page.setDotsPerMeterX(2835); // 72 dpi
    page.setDotsPerMeterY(2835);
    page.fill(Qt::blue);
    QPainter painter(&page);
    ASSERT_TRUE(DrawPageImage(painter, page.rect(), page.rect(), 600, file));
    painter.end();
    const int left = (600 - 800 * 4961 / 7016) / 2;      // centred across
    EXPECT_EQ(page.pixel(left + 2, 2), qRgb(255, 0, 0)); // drawn
    EXPECT_EQ(page.pixel(left - 2, 2), qRgb(0, 0, 255)); // beside the sheet
    EXPECT_EQ(page.pixel(300, 400), qRgb(0, 0, 255));    // white left the page as it was
    EXPECT_TRUE(Lines(LogPane::Messages)
                    .contains("[= WARNING =] " + file +
                              " does not fit the printable area: printed at 95.0 % of its size, "
                              "not at the map's scale."))
        << Lines(LogPane::Messages).join('\n').toStdString();
}

// A sheet is printed at its true size (Target.DPI pixels per inch on the
// device's resolution) centred on the paper. At true scale only a sheet larger
// than the paper is scaled; fitted, every sheet larger than the printable area
// is; always uniformly.
TEST_F(PrintingTest, SheetsAreCentredAtTheirTrueSizeOrScaledDownUniformly) {
    struct Case {
        const char* name;
        QSize pixels;
        int dpi;
        QRectF printable; // on a paper of 2100 x 2970 device pixels at 254 dpi (A4)
        PrintScale scale;
        QSizeF target;
        double factor;
    };
    const QRectF paper(0, 0, 2100, 2970);
    const PrintScale fit = PrintScale::FitPrintable;
    const PrintScale keep = PrintScale::TrueSize;
    const Case cases[] = {
        {"A5Cut canvas at 600 dpi on A4 with margins of 2 mm", QSize(4866, 3402), 600,
         QRectF(20, 20, 2060, 2930), fit, QSizeF(2059.9, 1440.2), 1.0},
        {"A4 sheet fitted to the printable area of A4", QSize(4961, 7016), 600,
         QRectF(50, 50, 2000, 2870), fit, QSizeF(2000, 2828.4), 2000 / 2100.16},
        {"A4 sheet at true scale whatever the margins", QSize(4961, 7016), 600,
         QRectF(50, 50, 2000, 2870), keep, QSizeF(2100.2, 2970.1), 1.0},
        {"A3 sheet on A4 at true scale: fitted all the same", QSize(7016, 9921), 600,
         QRectF(50, 50, 2000, 2870), keep, QSizeF(2000, 2828.1), 2000 / 2970.1},
        {"margins of two sizes: centred on the paper", QSize(1000, 1000), 254,
         QRectF(100, 0, 1950, 2970), fit, QSizeF(1000, 1000), 1.0},
        {"no resolution: fitted", QSize(100, 200), 0, QRectF(50, 50, 2000, 2870), keep,
         QSizeF(1435, 2870), 2870 / 50800.0},
    };
    for (const Case& c : cases) {
        const SheetPlacement at =
            PlaceSheet(c.pixels, c.dpi, QSizeF(254, 254), paper, c.printable, c.scale);
        EXPECT_NEAR(at.factor, c.factor, 1e-3) << c.name;
        EXPECT_NEAR(at.target.width(), c.target.width(), 0.5) << c.name;
        EXPECT_NEAR(at.target.height(), c.target.height(), 0.5) << c.name;
        EXPECT_NEAR(at.target.center().x(), 1050, 0.5) << c.name;
        EXPECT_NEAR(at.target.center().y(), 1485, 0.5) << c.name;
        EXPECT_NEAR(at.target.width() / at.target.height(),
                    static_cast<double>(c.pixels.width()) / c.pixels.height(), 1e-3)
            << c.name << ": no distortion";
    }
}

// Before printing, the user is told how far the margins cut into the sheets at
// their true size and what fitting them would cost; nothing is asked when they fit.
TEST_F(PrintingTest, HowFarTheMarginsCutIntoTheSheetsDecidesTheQuestion) {
    const QRectF paper(0, 0, 2100, 2970);
    const QRectF margins5mm(50, 50, 2000, 2870);
    const SheetFit a4 = MeasureSheet(QSize(4961, 7016), 600, QSizeF(254, 254), paper, margins5mm);
    EXPECT_TRUE(a4.fitsPaper);
    EXPECT_NEAR(a4.cutMm, 5.0, 0.05);
    EXPECT_NEAR(a4.fitFactor, 2000 / 2100.16, 1e-3);
    EXPECT_EQ(ScaleQuestion(a4).toStdString(),
              "The printer's margins cut up to 5.0 mm into the sheets at their true size.\n\n"
              "True scale (100 %): the map's scale is kept; the outermost 5.0 mm of the sheets "
              "is not printed.\nFit to printable area (95.2 %): the whole sheet, but not at the "
              "map's scale.");
    const SheetFit a5 =
        MeasureSheet(QSize(4866, 3402), 600, QSizeF(254, 254), paper, QRectF(20, 20, 2060, 2930));
    EXPECT_EQ(a5.cutMm, 0.0);
    EXPECT_EQ(a5.fitFactor, 1.0);
    const SheetFit a3 = MeasureSheet(QSize(7016, 9921), 600, QSizeF(254, 254), paper, margins5mm);
    EXPECT_FALSE(a3.fitsPaper);

    std::vector<double> asked;
    frame->printScaleHook = [&asked](const SheetFit& fit) {
        asked.push_back(fit.cutMm);
        return std::optional<PrintScale>(PrintScale::FitPrintable);
    };
    EXPECT_EQ(frame->ChoosePrintScale(a5), PrintScale::TrueSize);
    EXPECT_TRUE(asked.empty()) << "a sheet that fits is printed at true scale unasked";
    EXPECT_EQ(frame->ChoosePrintScale(a4), PrintScale::FitPrintable);
    EXPECT_EQ(asked, std::vector<double>{a4.cutMm});
}

// The pixels per inch of the images of a PDF, as pdfimages lists them (x, y).
std::vector<std::pair<int, int>> ImageResolutions(const QString& pdf) {
    std::vector<std::pair<int, int>> ppi;
    const QString program = QStandardPaths::findExecutable(QStringLiteral("pdfimages"));
    if (program.isEmpty()) {
        return ppi;
    }
    const kib::test::ProgramResult r =
        kib::test::RunProgram({program.toStdString(), "-list", pdf.toStdString()});
    std::istringstream lines(r.out);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) {
            w.push_back(word);
        }
        if (w.size() >= 14 && w[2] == "image") {
            ppi.emplace_back(std::stoi(w[12]), std::stoi(w[13]));
        }
    }
    return ppi;
}

// Printed into a PDF, a sheet keeps Target.DPI pixels per inch in both
// directions when it fits the printable area, and is scaled the same across and
// down when it does not.
TEST_F(PrintingTest, APrintedSheetKeepsItsResolutionInBothDirections) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty()) {
        GTEST_SKIP() << "pdfimages (poppler-utils) is not installed";
    }
    CKibDoc* doc = Open("print.cfg", EventConfig("", "[Target]\r\nDIR=out\r\nDPI=120\r\n"));
    ASSERT_NE(doc, nullptr);
    PrintJob job;
    job.printDir = doc->MakePath("out/");
    job.choice = {StationSet::Of({1}), 1};
    job.pageCount = 1;
    job.dpi = 120;
    QDir().mkpath(QString::fromStdString(job.printDir));
    const QString png =
        QString::fromStdString(MakeOutputName(*doc->GetConfig(), job.printDir, 1, 1, 0, "png"));
    struct Case {
        const char* name;
        QSize pixels;      // at 120 dpi
        QMarginsF margins; // of the printer, in millimetres
        PrintScale scale;
        bool trueSize;
    };
    const PrintScale keep = PrintScale::TrueSize;
    const Case cases[] = {
        {"A5Cut canvas with margins of 1 mm", QSize(973, 680), QMarginsF(1, 1, 1, 1), keep, true},
        {"A4 sheet without margins", QSize(992, 1403), QMarginsF(0, 0, 0, 0), keep, true},
        {"A4 sheet with margins of 5 mm at true scale", QSize(992, 1403), QMarginsF(5, 5, 5, 5),
         keep, true},
        {"A4 sheet with margins of 5 mm fitted", QSize(992, 1403), QMarginsF(5, 5, 5, 5),
         PrintScale::FitPrintable, false},
    };
    for (const Case& c : cases) {
        job.scale = c.scale;
        QImage sheet(c.pixels, QImage::Format_RGB32);
        sheet.fill(qRgb(40, 120, 40));
        ASSERT_TRUE(sheet.save(png));
        const QString pdf = dir.filePath("printed.pdf");
        {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setPageSize(QPageSize(QPageSize::A4));
            printer.setPageMargins(c.margins, QPageLayout::Millimeter);
            ASSERT_EQ(PrintPages(printer, *doc, job).size(), 1u) << c.name;
        }
        const auto ppi = ImageResolutions(pdf);
        ASSERT_FALSE(ppi.empty()) << c.name;
        for (auto [x, y] : ppi) {
            EXPECT_EQ(x, y) << c.name << ": the same scale across and down";
            if (c.trueSize) {
                EXPECT_EQ(x, 120) << c.name;
            } else {
                EXPECT_GT(x, 120) << c.name;
            }
        }
    }
    EXPECT_EQ(Lines(LogPane::Messages).filter("does not fit the printable area").size(), 1)
        << Lines(LogPane::Messages).join('\n').toStdString();
    EXPECT_EQ(Lines(LogPane::Messages)
                  .filter("printed at its true size; the printer's margins cut up to 5.0 mm off "
                          "its edges.")
                  .size(),
              1)
        << Lines(LogPane::Messages).join('\n').toStdString();
}

TEST_F(PrintingTest, ThePrintDialogStatesTheCheckLineForTrueScale) {
    for (const bool check : {true, false}) {
        SCOPED_TRACE(check);
        CKibDoc* doc = Open(check ? "check.cfg" : "plain.cfg",
                            EventConfig("", check ? "[Target]\r\nSCALECHECK=Yes\r\n" : ""));
        ASSERT_NE(doc, nullptr);
        QString note;
        const auto dialog = [&note](CMakeDlg& dlg) {
            note = dlg.Note()->isVisibleTo(&dlg) ? dlg.Note()->text() : QString();
            return false;
        };
        EXPECT_FALSE(PreparePrinting(*doc, dialog, {}));
        EXPECT_TRUE(note.startsWith("Print at true scale (100 %")) << note.toStdString();
        EXPECT_EQ(note.contains("cover carries a check line"), check) << note.toStdString();
        EXPECT_EQ(note.contains("Target.SCALECHECK=Yes"), !check) << note.toStdString();
    }
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
