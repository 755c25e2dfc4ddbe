// View → Map: the competition maps as Make Vector Maps wrote them, stepped
// through with Page Up / Page Down and the arrow keys whatever has the focus,
// the Previous / Next buttons and the station and task choosers, with a note
// for a sheet that is missing or older than the configuration.
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

class MapViewTest : public GuiTest {};

TEST_F(MapViewTest, ShowsTheWrittenSheetsTaskByTaskAndSaysWhenOneIsStale) {
    const QDir demo(QStringLiteral(KIB_SOURCE_DIR "/examples/demo"));
    for (const QString& name : demo.entryList({"demo.cfg", "Demo.*"}, QDir::Files)) {
        ASSERT_TRUE(QFile::copy(demo.filePath(name), dir.filePath(name)));
    }
    ASSERT_NE(frame->OpenDocument(dir.filePath("demo.cfg")), nullptr);
    frame->makeDialogHook = [](CMakeDlg& dlg) {
        dlg.StationList()->setCurrentRow(2, QItemSelectionModel::ClearAndSelect); // Station 2
        dlg.TaskList()->setCurrentRow(0);
        dlg.accept();
        return true;
    };
    frame->Action(cmd::MakeMapSvgs)->trigger();

    frame->Action(cmd::ViewMap)->trigger();
    CMapView* view = frame->MapView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Heading()->text(), "Station 1 – cover (5 tasks)");
    EXPECT_TRUE(view->Note()->text().startsWith("No sheet ")) << view->Note()->text().toStdString();

    view->ShowItem(6); // station 1 has the cover and five tasks
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
    view->ShowItem(7);
    EXPECT_EQ(view->Note()->text(),
              "The sheet is older than the configuration: run Make Vector Maps again before "
              "printing.");
    EXPECT_FALSE(view->Picture()->pixmap().isNull()) << "the old sheet is still shown";
    view->close();
}

// The picture's scroll area has the focus when the view opens: the keys must
// step through the canvases, not scroll the picture.
TEST_F(MapViewTest, KeysStepThroughTheCanvasesWhateverHasTheFocus) {
    ASSERT_NE(Open("ev.cfg", EventConfig()), nullptr);
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
    EXPECT_EQ(view->windowTitle(), "Map - ev.cfg: Station 1 – task 3 of 5");

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
    EXPECT_EQ(view->Heading()->text(), "Station 2 – cover (5 tasks)");
    EXPECT_EQ(view->StationChooser()->currentText(), "Station 2");
    view->PreviousButton()->click();
    EXPECT_EQ(view->Heading()->text(), "Station 1 – task 5 of 5");
    view->StationChooser()->setCurrentIndex(1);
    EXPECT_EQ(view->Heading()->text(), "Station 2 – cover (5 tasks)");
    view->TaskChooser()->setCurrentIndex(4);
    EXPECT_EQ(view->Heading()->text(), "Station 2 – task 4 of 5");
    view->ShowItem(0);
    EXPECT_FALSE(view->PreviousButton()->isEnabled());
    view->close();
}

} // namespace
} // namespace kib::gui::test
