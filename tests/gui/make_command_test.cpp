// The Make commands from the main window: the Make dialog's choice reaches the
// generation run, and the run ends with its closing box.
#include "gui_fixture.h"

#include "gui/make_dlg.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QRegularExpression>

namespace kib::gui::test {
namespace {

class GuiMakeCommandTest : public GuiTest {};

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

} // namespace
} // namespace kib::gui::test
