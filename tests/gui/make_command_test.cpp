// The Make commands from the main window: the Make dialog's choice reaches the
// generation run, and the run ends with its closing box.
#include "gui_fixture.h"

#include "config/kib_doc.h"
#include "foundation/run_control.h"
#include "gui/make_dlg.h"
#include "gui/printing.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include <cstdlib>
#include <optional>

namespace kib::gui::test {
namespace {

class GuiMakeCommandTest : public GuiTest {
  protected:
    // The demo event in the test's folder, with the extra configuration lines.
    kib::CKibDoc* OpenDemo(const std::string& extra = "") {
        const QDir demo(QStringLiteral(KIB_SOURCE_DIR "/examples/demo"));
        for (const QString& name : demo.entryList(QDir::Files)) {
            EXPECT_TRUE(QFile::copy(demo.filePath(name), dir.filePath(name)));
        }
        QFile cfg(dir.filePath("demo.cfg"));
        EXPECT_TRUE(cfg.open(QIODevice::Append));
        cfg.write(extra.data(), static_cast<qint64>(extra.size()));
        cfg.close();
        return frame->OpenDocument(dir.filePath("demo.cfg"));
    }
    QString StatusText() const {
        const QList<QLabel*> labels = frame->statusBar()->findChildren<QLabel*>();
        return labels.isEmpty() ? QString() : labels.first()->text();
    }
};

TEST_F(GuiMakeCommandTest, MakeVectorMapsMakesTheChosenStationOnly) {
    // Only the demo's inputs: sheets a demo run left in the folder must not count.
    const QDir demo(QStringLiteral(KIB_SOURCE_DIR "/examples/demo"));
    for (const QString& name : demo.entryList({"demo.cfg", "Demo.*"}, QDir::Files)) {
        ASSERT_TRUE(QFile::copy(demo.filePath(name), dir.filePath(name)));
    }
    ASSERT_NE(frame->OpenDocument(dir.filePath("demo.cfg")), nullptr);
    QString title;
    frame->makeDialogHook = [&title](CMakeDlg& dlg) {
        title = dlg.windowTitle();
        dlg.StationList()->setCurrentRow(2, QItemSelectionModel::ClearAndSelect); // Station 2
        dlg.TaskList()->setCurrentRow(0);
        dlg.accept();
        return true;
    };
    boxes.clear();
    frame->Action(cmd::MakeMapSvgs)->trigger();

    EXPECT_EQ(title, "Make Competition Maps SVG Files");
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().text.rfind("SVG files created", 0), 0u) << boxes.back().text;
    const QStringList made =
        QDir(dir.path()).entryList({"*.svg"}).filter(QRegularExpression("^(map|prn)-"));
    EXPECT_FALSE(made.filter(QRegularExpression("^(map|prn)-2\\.")).isEmpty())
        << made.join(' ').toStdString();
    EXPECT_TRUE(made.filter(QRegularExpression("^(map|prn)-[134]\\.")).isEmpty())
        << made.join(' ').toStdString();
    EXPECT_EQ(frame->windowTitle(), "Kib - demo.cfg [" + dir.path() + "/]");
}

// During Make Raster Maps the window stays live: Make Vector Solutions (Ctrl+K)
// is refused without touching the document, and View > Solution map, which lays
// the preview out as a solution sheet, does not change what the run converts:
// the print sheets of its own layout, which can be printed afterwards.
TEST_F(GuiMakeCommandTest, ARunConvertsTheSheetsOfItsOwnLayoutWhateverTheWindowDoes) {
    // A stand-in Inkscape 1.2 that notes every sheet it converts.
    const QString ink = dir.filePath("ink/bin/inkscape");
    ASSERT_TRUE(QDir().mkpath(dir.filePath("ink/bin")));
    QFile script(ink);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n"
                 "if [ \"$1\" = --version ]; then echo 'Inkscape 1.2.2 (b0a8486541, 2022-12-01)'; "
                 "exit 0; fi\n"
                 "for a in \"$@\"; do case \"$a\" in --export-filename=*) "
                 "out=\"${a#--export-filename=}\";; *.svg) sheet=\"$a\";; esac; done\n"
                 "echo \"$sheet\" >> \"$(dirname \"$0\")/calls.txt\"\n"
                 // A PNG file that is complete: its signature and an IEND chunk.
                 "printf '\\211PNG\\r\\n\\032\\n\\0\\0\\0\\0IEND\\256B`\\202' > \"$out\"\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    CKibDoc* doc =
        OpenDemo("\r\n[System]\r\nINKSCAPEPATH=" + dir.filePath("ink/").toStdString() + "\r\n");
    ASSERT_NE(doc, nullptr);
    frame->show();
    frame->makeDialogHook = [](CMakeDlg& dlg) {
        dlg.FormatButton(OutputFormat::Png)->setChecked(true); // PNG, every station and task
        dlg.accept();
        return true;
    };

    // As soon as the first sheet is converted: Ctrl+K, then View > Solution map.
    bool refusedWithoutChange = false;
    QTimer watch;
    watch.setInterval(1);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!StatusText().startsWith("Generating MAP")) {
            return;
        }
        watch.stop();
        frame->Action(cmd::MakeSolSvgs)->trigger();
        refusedWithoutChange = !doc->GetMapsMode() && RUNNING();
        frame->Action(cmd::ViewSolution)->trigger();
        QApplication::processEvents(); // the preview repaints as a solution sheet
    });
    watch.start();
    boxes.clear();
    frame->Action(cmd::MakeMapImages)->trigger();
    watch.stop();

    EXPECT_TRUE(refusedWithoutChange);
    EXPECT_TRUE(
        Lines(LogPane::Messages).contains("[= WARNING =] Forbidden due to a running task!"));
    ASSERT_FALSE(boxes.empty());
    // The refusal's warning is the run's only one.
    EXPECT_EQ(boxes.back().text,
              "Image files created with some warnings!\nSee the Output Window for details.");
    EXPECT_EQ(Lines(LogPane::Messages).filter("[= WARNING =]").size(), 1);
    QFile calls(dir.filePath("ink/bin/calls.txt"));
    ASSERT_TRUE(calls.open(QIODevice::ReadOnly));
    QStringList converted;
    for (const QString& line : QString::fromUtf8(calls.readAll()).split('\n', Qt::SkipEmptyParts)) {
        const QFileInfo sheet(line);
        converted << sheet.fileName();
        // The picture Inkscape wrote elsewhere is in place beside its sheet.
        EXPECT_TRUE(QFileInfo::exists(sheet.path() + "/" + sheet.completeBaseName() + ".png"))
            << line.toStdString();
    }
    // Stations of 5, 3, 6 and 4 tasks, two canvases on each print sheet.
    EXPECT_EQ(converted.join(' ').toStdString(),
              "prn-1.0-1.1.svg prn-1.2-1.3.svg prn-1.4-1.5.svg prn-2.0-2.1.svg prn-2.2-2.3.svg "
              "prn-3.0-3.1.svg prn-3.2-3.3.svg prn-3.4-3.5.svg prn-3.6.svg prn-4.0-4.1.svg "
              "prn-4.2-4.3.svg prn-4.4.svg");

    // Back in the competition view, every page to print is there.
    frame->Action(cmd::ViewCompetition)->trigger();
    QApplication::processEvents();
    boxes.clear();
    const auto job = PreparePrinting(*doc,
                                     [](CMakeDlg& dlg) {
                                         dlg.accept();
                                         return true;
                                     },
                                     {});
    ASSERT_TRUE(job.has_value()) << (boxes.empty() ? "" : boxes.back().text);
    EXPECT_EQ(job->pageCount, 12);
}

// A run shows its progress in the status bar with the Stop button beside it; a
// stop is the user's choice, so the closing box informs instead of failing.
TEST_F(GuiMakeCommandTest, ARunShowsItsProgressAndAStopInforms) {
    CKibDoc* doc = OpenDemo("\r\n[System]\r\nCONVERTER=Builtin\r\n");
    ASSERT_NE(doc, nullptr);
    frame->show();
    auto* bar = frame->statusBar()->findChild<QProgressBar*>(QStringLiteral("RunProgress"));
    auto* stop = frame->statusBar()->findChild<QToolButton*>(QStringLiteral("RunStop"));
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(stop, nullptr);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(stop->isVisible());
    frame->makeDialogHook = [](CMakeDlg& dlg) {
        dlg.StationList()->setCurrentRow(1, QItemSelectionModel::ClearAndSelect); // Station 1
        dlg.FormatButton(OutputFormat::Pdf)->setChecked(true);
        dlg.accept();
        return true;
    };
    // At the second sheet of the conversion: read the bar, then press Stop.
    QStringList seen;
    bool stopShown = false;
    QTimer watch;
    watch.setInterval(1);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!StatusText().startsWith("Generating MAP") || !bar->isVisible()) {
            return;
        }
        seen << bar->text();
        if (bar->value() == 2) {
            watch.stop();
            stopShown = stop->isVisible();
            stop->click();
        }
    });
    watch.start();
    boxes.clear();
    frame->Action(cmd::MakeMapImages)->trigger();
    watch.stop();

    ASSERT_FALSE(seen.isEmpty());
    // Station 1: the cover and five tasks on three print sheets.
    EXPECT_EQ(seen.last(), "sheet 2 of 3 (station 1 of 1)");
    EXPECT_TRUE(stopShown);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(stop->isVisible());
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().icon, BoxIcon::Information);
    EXPECT_EQ(boxes.back().text.rfind("Image files creation stopped.", 0), 0u) << boxes.back().text;
    EXPECT_TRUE(Lines(LogPane::Messages).contains("[= WARNING =] STOP button pressed"));
    EXPECT_FALSE(Lines(LogPane::Messages).contains("Image files creation completed."));
}

// The Make dialog offers the converter and the combining of the PDF files, and
// remembers them with the format for each configuration.
TEST_F(GuiMakeCommandTest, ConverterAndCombineAreRememberedPerConfiguration) {
    // Inkscape is nowhere: the built-in converter is the first choice.
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", dir.filePath("nowhere").toStdString().c_str(), 1);
    CKibDoc* doc =
        OpenDemo("\r\n[System]\r\nINKSCAPEPATH=" + dir.filePath("nowhere/").toStdString() + "\r\n");
    ::setenv("PATH", oldPath.c_str(), 1);
    ASSERT_NE(doc, nullptr);
    struct Seen {
        bool builtIn = false;
        bool combine = false;
        bool pdf = false;
    };
    std::optional<Seen> seen;
    std::optional<MakeChoice> answer;
    frame->makeDialogHook = [&](CMakeDlg& dlg) {
        seen =
            Seen{dlg.ConverterButton(Converter::BuiltIn)->isChecked(),
                 dlg.CombineBox()->isChecked(), dlg.FormatButton(OutputFormat::Pdf)->isChecked()};
        dlg.StationList()->setCurrentRow(2, QItemSelectionModel::ClearAndSelect); // Station 2
        dlg.TaskList()->setCurrentRow(1);                                         // the cover
        dlg.FormatButton(OutputFormat::Pdf)->setChecked(true);
        dlg.CombineBox()->setChecked(true);
        dlg.accept();
        return true;
    };
    ::setenv("PATH", dir.filePath("nowhere").toStdString().c_str(), 1);
    frame->Action(cmd::MakeMapImages)->trigger();
    ::setenv("PATH", oldPath.c_str(), 1);
    ASSERT_TRUE(seen.has_value());
    EXPECT_TRUE(seen->builtIn) << "Inkscape is missing";
    EXPECT_FALSE(seen->combine);
    EXPECT_EQ(QDir(dir.path()).entryList({"*-maps.pdf"}).size(), 1) << "combined into one PDF";

    // The next time, for the same configuration: the choices of the last time.
    seen.reset();
    frame->makeDialogHook = [&](CMakeDlg& dlg) {
        seen =
            Seen{dlg.ConverterButton(Converter::BuiltIn)->isChecked(),
                 dlg.CombineBox()->isChecked(), dlg.FormatButton(OutputFormat::Pdf)->isChecked()};
        dlg.ConverterButton(Converter::Inkscape)->setChecked(true);
        dlg.CombineBox()->setChecked(false);
        return false; // cancelled: nothing is remembered
    };
    frame->Action(cmd::MakeMapImages)->trigger();
    ASSERT_TRUE(seen.has_value());
    EXPECT_TRUE(seen->builtIn);
    EXPECT_TRUE(seen->combine);
    EXPECT_TRUE(seen->pdf);
    seen.reset();
    frame->Action(cmd::MakeMapImages)->trigger();
    ASSERT_TRUE(seen.has_value());
    EXPECT_TRUE(seen->builtIn) << "a cancelled dialog changes nothing";

    // Another configuration has choices of its own.
    ASSERT_TRUE(QFile::copy(dir.filePath("demo.cfg"), dir.filePath("second.cfg")));
    ASSERT_NE(frame->OpenDocument(dir.filePath("second.cfg")), nullptr);
    seen.reset();
    frame->Action(cmd::MakeMapImages)->trigger();
    ASSERT_TRUE(seen.has_value());
    EXPECT_FALSE(seen->combine);
}

TEST_F(GuiMakeCommandTest, ExportAnswerKeyWritesTheChosenFileAndClosesWithItsBox) {
    ASSERT_NE(OpenDemo("\r\n[Station 2]\r\nANSWERS=AZZ\r\n"), nullptr);
    QAction* action = frame->findChild<QAction*>(QStringLiteral("cmd%1").arg(cmd::FileExportKey));
    ASSERT_NE(action, nullptr);
    QString proposed;
    frame->keyFileHook = [&](const QString& path) {
        proposed = path;
        return dir.filePath("desk.json");
    };
    boxes.clear();
    action->trigger();
    EXPECT_EQ(proposed, dir.filePath("demo-key.csv"));
    const QString json = dir.filePath("desk.json");
    QFile file(json);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.startsWith("{\n  \"title1\": \"Demo (generated by kibgen)\""));
    EXPECT_EQ(text.count("\"station\": "), 18);
    // Station 2's key was edited: task 2 is no zero, so the box warns.
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, BoxIcon::Warning);
    EXPECT_EQ(boxes[0].text, "Answer key " + json.toStdString() +
                                 " written with warnings: check the tasks named in the log.");
    EXPECT_TRUE(
        Lines(LogPane::Messages)
            .contains(QStringLiteral("[= WARNING =] Station 2, task 2: the answer key says Z "
                                     "(ANSWERS of the station), but the map says A (flag A "
                                     "0.0 m from the circle's centre)")))
        << Lines(LogPane::Messages).join('\n').toStdString();
}

} // namespace
} // namespace kib::gui::test
