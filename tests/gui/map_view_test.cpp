// View → Map: the competition maps as Make Vector Maps wrote them, stepped
// through with Page Up / Page Down, with a note for a sheet that is missing or
// older than the configuration.
#include "gui_fixture.h"

#include "gui/make_dlg.h"
#include "gui/map_view.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>

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
    EXPECT_EQ(view->Heading()->text(), "Station 1 – cover");
    EXPECT_TRUE(view->Note()->text().startsWith("No sheet ")) << view->Note()->text().toStdString();

    view->ShowItem(6); // station 1 has the cover and five tasks
    EXPECT_EQ(view->Heading()->text(), "Station 2 – cover");
    EXPECT_TRUE(view->Note()->text().isEmpty()) << view->Note()->text().toStdString();
    EXPECT_EQ(view->Picture()->pixmap().width(), 760);
    EXPECT_GT(view->Picture()->pixmap().height(), 300);

    QKeyEvent next(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(view, &next);
    EXPECT_EQ(view->Heading()->text(), "Station 2 – task 1");
    QKeyEvent back(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier);
    QApplication::sendEvent(view, &back);
    EXPECT_EQ(view->Heading()->text(), "Station 2 – cover");

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

} // namespace
} // namespace kib::gui::test
