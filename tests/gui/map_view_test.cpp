// View → Map: the competition maps the last Make Vector Maps run wrote, stepped
// through with Page Up / Page Down and the arrow keys whatever has the focus,
// the Previous / Next buttons and the station and task choosers, with a note
// for a sheet that is gone or older than the configuration, and one that asks
// for a run before the first.
#include "gui_fixture.h"

#include "gui/make_dlg.h"
#include "gui/map_view.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>

#include <filesystem>

namespace kib::gui::test {
namespace {

class MapViewTest : public GuiTest {
  protected:
    // Opens a copy of the demo event (station 1 with five tasks, station 2 with three).
    void OpenDemo() {
        const QDir demo(QStringLiteral(KIB_SOURCE_DIR "/examples/demo"));
        for (const QString& name : demo.entryList({"demo.cfg", "Demo.*"}, QDir::Files)) {
            ASSERT_TRUE(QFile::copy(demo.filePath(name), dir.filePath(name)));
        }
        ASSERT_NE(frame->OpenDocument(dir.filePath("demo.cfg")), nullptr);
    }

    // Make Vector Maps for every task of the station in the dialog's list row
    // (0: every station).
    void MakeMaps(int stationRow) {
        frame->makeDialogHook = [stationRow](CMakeDlg& dlg) {
            dlg.StationList()->setCurrentRow(stationRow, QItemSelectionModel::ClearAndSelect);
            dlg.TaskList()->setCurrentRow(0);
            dlg.accept();
            return true;
        };
        frame->Action(cmd::MakeMapSvgs)->trigger();
    }
};

// The view shows the sheets of the last run, never what the output folder or
// the configuration suggest: before a run it asks for one.
TEST_F(MapViewTest, ShowsTheSheetsOfTheLastRunAndSaysWhenOneIsStale) {
    OpenDemo();
    MakeMaps(0);
    // Sheets in the output folder from a run of another program run are not shown.
    ASSERT_TRUE(frame->CloseTab(0));
    ASSERT_NE(frame->OpenDocument(dir.filePath("demo.cfg")), nullptr);
    frame->Action(cmd::ViewMap)->trigger();
    CMapView* before = frame->MapView();
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(before->Heading()->text(), "No competition maps");
    EXPECT_TRUE(before->Note()->text().startsWith("No competition maps made yet: run Make Vector "
                                                  "Maps"))
        << before->Note()->text().toStdString();
    EXPECT_TRUE(before->Picture()->pixmap().isNull());
    before->close();

    MakeMaps(2); // station 2 alone
    frame->Action(cmd::ViewMap)->trigger();
    CMapView* view = frame->MapView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->StationChooser()->count(), 1) << "only the station the run made";
    EXPECT_EQ(view->Heading()->text(), "Station 2 – cover (3 tasks)");
    EXPECT_TRUE(view->Note()->text().isEmpty()) << view->Note()->text().toStdString();
    EXPECT_EQ(view->Picture()->pixmap().width(), 760);
    EXPECT_GT(view->Picture()->pixmap().height(), 300);

    QKeyEvent next(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(view, &next);
    EXPECT_EQ(view->Heading()->text(), "Station 2 – task 1 of 3");
    QKeyEvent back(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier);
    QApplication::sendEvent(view, &back);
    EXPECT_EQ(view->Heading()->text(), "Station 2 – cover (3 tasks)");

    // A configuration changed after the sheets were made.
    namespace fs = std::filesystem;
    const fs::path cfg = dir.filePath("demo.cfg").toStdString();
    fs::last_write_time(cfg, fs::last_write_time(dir.filePath("map-2.1.svg").toStdString()) +
                                 std::chrono::seconds(5));
    view->ShowItem(1);
    EXPECT_EQ(view->Note()->text(),
              "The sheet is older than the configuration: run Make Vector Maps again before "
              "printing.");
    EXPECT_FALSE(view->Picture()->pixmap().isNull()) << "the old sheet is still shown";

    // A sheet of the run that was deleted since.
    ASSERT_TRUE(QFile::remove(dir.filePath("map-2.2.svg")));
    view->ShowItem(2);
    EXPECT_EQ(view->Heading()->text(), "Station 2 – task 2 of 3");
    EXPECT_TRUE(view->Note()->text().startsWith("The sheet "))
        << view->Note()->text().toStdString();
    EXPECT_TRUE(view->Note()->text().endsWith(" is gone: run Make Vector Maps again."));
    view->close();
}

// The picture's scroll area has the focus when the view opens: the keys must
// step through the canvases, not scroll the picture.
TEST_F(MapViewTest, KeysStepThroughTheCanvasesWhateverHasTheFocus) {
    OpenDemo();
    MakeMaps(0);
    frame->Action(cmd::ViewMap)->trigger();
    CMapView* view = frame->MapView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Heading()->text(), "Station 1 – cover (5 tasks)");
    QWidget* scroll = view->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(scroll, Qt::Key_PageDown);
    }
    EXPECT_EQ(view->Heading()->text(), "Station 1 – task 3 of 5");
    EXPECT_EQ(view->windowTitle(), "Map - demo.cfg: Station 1 – task 3 of 5");

    // The other stepping keys, sent to each of the view's controls.
    QTest::keyClick(view->StationChooser(), Qt::Key_Right);
    EXPECT_EQ(view->Heading()->text(), "Station 1 – task 4 of 5");
    QTest::keyClick(view->TaskChooser(), Qt::Key_Up);
    QTest::keyClick(view->NextButton(), Qt::Key_PageUp);
    EXPECT_EQ(view->Heading()->text(), "Station 1 – task 2 of 5");
    EXPECT_EQ(view->TaskChooser()->currentText(), "Task 2");

    // The buttons step across stations; the choosers jump.
    view->ShowItem(5);
    view->NextButton()->click();
    EXPECT_EQ(view->Heading()->text(), "Station 2 – cover (3 tasks)");
    EXPECT_EQ(view->StationChooser()->currentText(), "Station 2");
    view->PreviousButton()->click();
    EXPECT_EQ(view->Heading()->text(), "Station 1 – task 5 of 5");
    view->StationChooser()->setCurrentIndex(1);
    EXPECT_EQ(view->Heading()->text(), "Station 2 – cover (3 tasks)");
    view->TaskChooser()->setCurrentIndex(3);
    EXPECT_EQ(view->Heading()->text(), "Station 2 – task 3 of 3");
    view->ShowItem(0);
    EXPECT_FALSE(view->PreviousButton()->isEnabled());
    view->close();
}

} // namespace
} // namespace kib::gui::test
