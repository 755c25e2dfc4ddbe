// The Make dialog: station mask, task choice and output format from the
// lists and buttons as the user leaves them.
#include "gui_fixture.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "gui/make_dlg.h"

#include <QCheckBox>
#include <QListWidget>
#include <QRadioButton>

namespace kib::gui::test {
namespace {

class MakeDlgTest : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        cfg.Item(id::Event_MINSTAT).SetText("1");
        cfg.Item(id::Event_MAXSTAT).SetText("4");
        cfg.Item(id::Event_TASKS).SetText("5");
        cfg.StationItem(2, id::Station_TASKS).SetText("3");
    }
    CKibCfg cfg;
};

// Selects the given rows of the station list, the first one as the focused entry.
void SelectStations(QListWidget* list, const std::vector<int>& rows) {
    list->clearSelection();
    list->setCurrentRow(rows.front(), QItemSelectionModel::ClearAndSelect);
    for (int row : rows) {
        list->item(row)->setSelected(true);
    }
}

TEST_F(MakeDlgTest, ChoicesBecomeMaskAndTask) {
    struct Case {
        std::vector<int> stationRows;
        int taskRow;
        std::uint32_t mask;
        int taskChoice;
    };
    const Case cases[] = {
        {{0}, 0, 0u, -1},                      // all stations, all tasks
        {{2, 4}, 1, (1u << 2) | (1u << 4), 0}, // stations 2 and 4, cover sheet
        {{1}, 4, 1u << 1, 3},                  // station 1, task 3
        {{3, 1, 2}, 2, (1u << 1) | (1u << 2) | (1u << 3), 1},
    };
    for (const Case& c : cases) {
        CMakeDlg dlg("Make Competition Maps SVG Files", true, false, cfg, OutputFormat::None);
        EXPECT_EQ(dlg.windowTitle(), "Make Competition Maps SVG Files");
        ASSERT_EQ(dlg.StationList()->count(), 5);
        EXPECT_EQ(dlg.StationList()->item(1)->text(), "Station 1");
        SelectStations(dlg.StationList(), c.stationRows);
        dlg.TaskList()->setCurrentRow(c.taskRow);
        dlg.accept();
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.Stations.IsEvery(), c.mask == 0) << c.stationRows.front();
        for (int n = 0; n <= 20 && c.mask != 0; ++n) {
            EXPECT_EQ(dlg.Stations.Contains(n), ((c.mask >> n) & 1u) != 0) << n;
        }
        EXPECT_EQ(dlg.TaskChoice, c.taskChoice);
    }
}

TEST_F(MakeDlgTest, TaskListFollowsTheFocusedStation) {
    CMakeDlg dlg("t", true, false, cfg, OutputFormat::None);
    EXPECT_EQ(dlg.TaskList()->count(), 2 + 5); // All tasks, Cover sheet, Task 1..5
    dlg.TaskList()->setCurrentRow(3);
    SelectStations(dlg.StationList(), {2}); // station 2 has 3 tasks
    EXPECT_EQ(dlg.TaskList()->count(), 2 + 3);
    EXPECT_EQ(dlg.TaskList()->currentRow(), 3); // Task 2 is still there
    EXPECT_FALSE(dlg.StationList()->item(0)->isSelected());

    SelectStations(dlg.StationList(), {1});
    dlg.TaskList()->setCurrentRow(6); // Task 5 of station 1
    SelectStations(dlg.StationList(), {2});
    EXPECT_EQ(dlg.TaskList()->currentRow(), 0); // station 2 has no task 5

    SelectStations(dlg.StationList(), {0});
    EXPECT_EQ(dlg.TaskList()->count(), 2 + 5);
    EXPECT_EQ(dlg.TaskList()->item(2)->text(), "Task 1");
}

TEST_F(MakeDlgTest, OutputFormatIsRequiredAndRemembered) {
    {
        CMakeDlg dlg("Make Competition Maps Image Files", true, true, cfg, OutputFormat::None);
        for (OutputFormat f :
             {OutputFormat::Pdf, OutputFormat::Ps, OutputFormat::Eps, OutputFormat::Png}) {
            EXPECT_FALSE(dlg.FormatButton(f)->isChecked());
        }
        dlg.accept();
        EXPECT_NE(dlg.result(), QDialog::Accepted);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Select output format!");
        EXPECT_EQ(boxes[0].icon, BoxIcon::Error);
        dlg.FormatButton(OutputFormat::Ps)->setChecked(true);
        dlg.accept();
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.LastOutputFormat, OutputFormat::Ps);
    }
    CMakeDlg again("Make Solution Maps Image Files", false, true, cfg, OutputFormat::Png);
    EXPECT_TRUE(again.FormatButton(OutputFormat::Png)->isChecked());
    EXPECT_TRUE(again.TaskList()->isHidden());
}

// The one print file is a choice for PDF only.
TEST_F(MakeDlgTest, CombineIsChosenWithPdfOnly) {
    CMakeDlg dlg("Make Competition Maps Image Files", true, true, cfg, OutputFormat::Png);
    EXPECT_FALSE(dlg.CombineBox()->isEnabled());
    dlg.FormatButton(OutputFormat::Pdf)->setChecked(true);
    ASSERT_TRUE(dlg.CombineBox()->isEnabled());
    dlg.CombineBox()->setChecked(true);
    dlg.accept();
    EXPECT_TRUE(dlg.Combine);

    CMakeDlg png("Make Competition Maps Image Files", true, true, cfg, OutputFormat::Pdf);
    png.CombineBox()->setChecked(true);
    png.FormatButton(OutputFormat::Png)->setChecked(true);
    EXPECT_FALSE(png.CombineBox()->isEnabled());
    png.accept();
    EXPECT_FALSE(png.Combine);
}

TEST_F(MakeDlgTest, StationsStartAtTheLowestStation) {
    cfg.Item(id::Event_MINSTAT).SetText("3");
    CMakeDlg dlg("t", true, false, cfg, OutputFormat::None);
    ASSERT_EQ(dlg.StationList()->count(), 3);
    EXPECT_EQ(dlg.StationList()->item(1)->text(), "Station 3");
    SelectStations(dlg.StationList(), {2});
    dlg.accept();
    EXPECT_EQ(dlg.Stations.Named(), std::vector<int>{4});
}

} // namespace
} // namespace kib::gui::test
