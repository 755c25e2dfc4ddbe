// The properties pane: the editing flow through the configuration items, the
// refusal with the old value back, the WEB preset question, the visibility
// rules and the station groups on demand.
#include "gui_fixture.h"

#include "config/cfg_ids.h"
#include "config/kib_doc.h"
#include "gui/gui_host.h"
#include "gui/output_wnd.h"
#include "gui/properties_wnd.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

namespace kib::gui::test {
namespace {

// Types a value into a property's editor and commits it, as the user does.
void Edit(CPropertyGrid* grid, int id, const QString& text) {
    QWidget* editor = grid->Editor(id);
    ASSERT_NE(editor, nullptr) << id;
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        if (combo->isEditable()) {
            combo->setEditText(text);
            emit combo->lineEdit()->editingFinished();
        } else {
            const int index = combo->findText(text);
            ASSERT_GE(index, 0) << text.toStdString();
            combo->setCurrentIndex(index);
            emit combo->activated(index);
        }
        return;
    }
    if (auto* button = qobject_cast<QToolButton*>(editor)) {
        for (QAction* action : button->menu()->actions()) {
            if (action->text() == text) {
                action->trigger();
                return;
            }
        }
        FAIL() << "no colour entry " << text.toStdString();
    }
    auto* edit = qobject_cast<QLineEdit*>(editor);
    if (edit == nullptr) {
        edit = editor->findChild<QLineEdit*>();
    }
    ASSERT_NE(edit, nullptr);
    edit->setText(text);
    emit edit->editingFinished();
}

class PropertiesTest : public GuiTest {
  protected:
    CPropertiesWnd* Pane() const { return frame->Properties(); }
    CPropertyGrid* Grid() const { return Pane()->Grid(); }
    QString Shown(int id) const { return Grid()->Value(id).toString(); }
};

TEST_F(PropertiesTest, EditsGoThroughTheItemAndRefusalsShowTheOldValue) {
    struct Case {
        int id;
        QString input;
        bool accepted;
        QString shownAfter;
        QString logLine; // the line the edit adds to Messages
    };
    const Case cases[] = {
        {id::Event_TASKS, "4", true, "4", "Parameter Tasks changed to '4'."},
        {id::Event_SCALE, "1:4 000", true, "4000", "Parameter Scale changed to '4000'."},
        {id::Event_ZERO, "No", true, "No", "Parameter Zero changed to 'No'."},
        {id::Event_TASKS, "16", false, "5",
         "[** ERROR **] Event.TASKS: Invalid number of tasks 16 (out of 1 .. 15)"},
        {id::Source_CHAIR, "790", false, "",
         "[** ERROR **] Source.CHAIR: Only one map symbol allowed, no group (790)"},
        {id::Target_DPI, "abc", false, "600", ""}, // refused without a line; the default back
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        Restart();
        boxes.clear();
        CKibDoc* doc = Open("edit.cfg", EventConfig("TASKS=5\r\n"));
        ASSERT_NE(doc, nullptr);
        frame->Output()->Tabs()->setCurrentIndex(1);
        const int before = static_cast<int>(Lines(LogPane::Messages).size());

        Edit(Grid(), c.id, c.input);

        EXPECT_EQ(Shown(c.id), c.shownAfter);
        EXPECT_EQ(doc->IsModified(), c.accepted);
        const QStringList added = Lines(LogPane::Messages).mid(before);
        if (c.logLine.isEmpty()) {
            EXPECT_TRUE(added.isEmpty()) << added.join('|').toStdString();
        } else {
            EXPECT_TRUE(added.contains(c.logLine)) << added.join('|').toStdString();
        }
        if (c.accepted) {
            EXPECT_TRUE(boxes.empty());
            EXPECT_TRUE(Grid()->IsModified(c.id));
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, "Invalid parametr value!");
            EXPECT_EQ(boxes[0].icon, BoxIcon::Error);
            EXPECT_EQ(frame->Output()->Tabs()->currentIndex(), 0); // Messages in front
        }
    }
}

TEST_F(PropertiesTest, WebModeAsksForTheSimulatorPreset) {
    for (BoxAnswer answer : {BoxAnswer::Yes, BoxAnswer::No}) {
        Restart();
        boxes.clear();
        answers = {answer};
        CKibDoc* doc = Open("web.cfg", EventConfig());
        ASSERT_NE(doc, nullptr);

        Edit(Grid(), id::Target_MODE, "WEB");

        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Do you want to set default parameters for the TempO simulator?");
        EXPECT_EQ(boxes[0].buttons, BoxButtons::YesNo);
        EXPECT_EQ(boxes[0].defaultAnswer, BoxAnswer::No);
        EXPECT_EQ(Shown(id::Target_MODE), "WEB");
        const bool preset = answer == BoxAnswer::Yes;
        EXPECT_EQ(Shown(id::Target_DPI), preset ? "120" : "600");
        EXPECT_EQ(Shown(id::MapSegment_SIZE),
                  preset ? "80" : Grid()->Original(id::MapSegment_SIZE));
        EXPECT_EQ(doc->GetConfig()->Item(id::Solutions_SCALE).GetValueText(), preset ? "2000" : "");
    }
}

TEST_F(PropertiesTest, StationGroupsAreCreatedUpToTheHighestAndShownInRange) {
    ASSERT_NE(Open("stations.cfg", "# Kib Configuration\r\n[Event]\r\nMINSTAT=3\r\nMAXSTAT=5\r\n"),
              nullptr);
    EXPECT_EQ(Pane()->StationGroupCount(), 6);
    for (int n = 0; n <= 5; ++n) {
        EXPECT_EQ(Pane()->IsGroupVisible(QString::asprintf("Station %d", n)), n >= 3) << n;
    }
    Edit(Grid(), id::Event_MAXSTAT, "2");
    for (int n = 3; n <= 5; ++n) {
        EXPECT_FALSE(Pane()->IsGroupVisible(QString::asprintf("Station %d", n))) << n;
    }
    Pane()->ShowStationRange(1, 25);
    EXPECT_EQ(Pane()->StationGroupCount(), 21);
}

TEST_F(PropertiesTest, VisibilityFollowsTheSettings) {
    struct Case {
        const char* lines; // extra sections of the configuration
        std::vector<int> shown;
        std::vector<int> hidden;
        std::vector<const char*> shownGroups;
        std::vector<const char*> hiddenGroups;
    };
    const std::vector<int> webOnly = {id::MapSegment_TOP, id::MapSegment_BOTTOM};
    const std::vector<int> paperOnly = {id::Target_CANVAS, id::Target_SHEET, id::NorthArrow_SIDE,
                                        id::NorthArrow_LINKAGE, id::NorthArrow_LINES};
    const Case cases[] = {
        {"",
         paperOnly,
         webOnly,
         {"Text", "Heading", "OrderTabs", "PointBoard", "Cover", "MapBorder"},
         {}},
        {"[Target]\r\nMODE=WEB\r\n",
         webOnly,
         paperOnly,
         {"MapColors"},
         {"Text", "Heading", "OrderTabs", "PointBoard", "Cover", "MapBorder"}},
        {"[Target]\r\nMODE=ANT\r\n",
         {id::NorthArrow_SIDE},
         {id::Target_CANVAS, id::Target_SHEET},
         {"MapBorder"},
         {"Text", "Heading", "OrderTabs", "PointBoard", "Cover"}},
        {"[Target]\r\nCANVAS=Other\r\n", {id::Target_CANVASW, id::Target_CANVASH}, {}, {}, {}},
        {"", {}, {id::Target_CANVASW, id::Target_CANVASH, id::MapColors_PURPLECOLOR}, {}, {}},
        {"[MapColors]\r\nPURPLEMODE=Defined\r\n", {id::MapColors_PURPLECOLOR}, {}, {}, {}},
        {"[MapSegment]\r\nSHAPE=Square\r\n", {}, {id::NorthArrow_LINES}, {}, {}},
        {"[OrderTabs]\r\nDRAW=No\r\n[PointBoard]\r\nDRAW=No\r\n",
         {id::OrderTabs_DRAW, id::PointBoard_DRAW},
         {1209, 1210, 1202, 1208, 1406, 1402, 1405},
         {},
         {}},
    };
    int file = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        ASSERT_NE(Open(QString::asprintf("vis%d.cfg", ++file), EventConfig("", c.lines)), nullptr);
        for (int itemId : c.shown) {
            EXPECT_TRUE(Grid()->IsPropertyVisible(itemId)) << itemId;
        }
        for (int itemId : c.hidden) {
            EXPECT_FALSE(Grid()->IsPropertyVisible(itemId)) << itemId;
        }
        for (const char* group : c.shownGroups) {
            EXPECT_TRUE(Pane()->IsGroupVisible(group)) << group;
        }
        for (const char* group : c.hiddenGroups) {
            EXPECT_FALSE(Pane()->IsGroupVisible(group)) << group;
        }
    }
}

TEST_F(PropertiesTest, LabelsHelpAndKindsComeFromTheKeyTable) {
    ASSERT_NE(Open("kinds.cfg", EventConfig()), nullptr);
    const ItemDef& def = frame->ActiveDocument()->GetConfig()->Item(id::Event_MAXSTAT).GetDef();
    EXPECT_EQ(Grid()->Label(id::Event_MAXSTAT), QString::fromUtf8(def.paneLabel));

    QTreeWidget* tree = Grid()->Tree();
    QTreeWidgetItem* event = Grid()->Group("Event");
    for (int i = 0; i < event->childCount(); ++i) {
        if (event->child(i)->text(0) == QString::fromUtf8(def.paneLabel)) {
            tree->setCurrentItem(event->child(i));
        }
    }
    EXPECT_TRUE(Grid()->Description().contains(QString::fromUtf8(def.paneHelp)));

    auto* font = qobject_cast<QComboBox*>(Grid()->Editor(id::Target_FONTNAME));
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(font->isEditable());
    for (int i = 0; i < font->count(); ++i) {
        EXPECT_FALSE(font->itemText(i).startsWith('@'));
    }
    auto* choice = qobject_cast<QComboBox*>(Grid()->Editor(id::Target_SHEET));
    ASSERT_NE(choice, nullptr);
    EXPECT_FALSE(choice->isEditable());
    EXPECT_EQ(choice->count(), 5);
    EXPECT_NE(qobject_cast<QToolButton*>(Grid()->Editor(id::Heading_COLOR)), nullptr);
    EXPECT_NE(Grid()->Editor(id::Target_DIR)->findChild<QToolButton*>("browse"), nullptr);
}

TEST_F(PropertiesTest, ColourDefaultAndDirectoryBrowseGoThroughTheEditingFlow) {
    CKibDoc* doc = Open("colour.cfg", EventConfig("TABCOLOR=10 20 30\r\n"));
    ASSERT_NE(doc, nullptr);
    Edit(Grid(), id::Event_TABCOLOR, "Default");
    EXPECT_EQ(doc->GetConfig()->Item(id::Event_TABCOLOR).GetValueText(), "255 255 255");
    EXPECT_TRUE(Lines(LogPane::Messages).contains("Parameter TabColor changed to '255 255 255'."));

    frame->Host().folderHook = [this](const std::string&) -> std::optional<std::string> {
        return dir.filePath("out").toStdString() + "/";
    };
    Grid()->Editor(id::Target_DIR)->findChild<QToolButton*>("browse")->click();
    EXPECT_EQ(doc->GetConfig()->Item(id::Target_DIR).GetValueText(), "out/");
    EXPECT_EQ(Shown(id::Target_DIR), "out/");
}

} // namespace
} // namespace kib::gui::test
