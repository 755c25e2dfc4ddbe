// The main window: closing with unsaved configurations, the documents of the
// last run reopened in tab order, tab colours, the re-check after a tab switch
// and the guard of a running task.
#include "gui_fixture.h"

#include "config/cfg_ids.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "gui/about_dlg.h"
#include "gui/doc_tabs.h"
#include "gui/gui_host.h"
#include "gui/kib_app.h"
#include "gui/kib_view.h"
#include "gui/output_wnd.h"
#include "gui/properties_wnd.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QToolButton>
#include <QUrl>

#include <sstream>

namespace kib::gui::test {
namespace {

class MainFrameTest : public GuiTest {
  protected:
    QStringList TabTexts() const {
        QStringList texts;
        for (int i = 0; i < frame->Tabs()->count(); ++i) {
            texts << frame->Tabs()->tabText(i);
        }
        return texts;
    }
    int DocsCount() const { return settings->value("LastSession/DocsCount", -1).toInt(); }
};

TEST_F(MainFrameTest, CloseAsksAboutUnsavedConfigurationsAndNoKeepsEverything) {
    struct Case {
        std::vector<int> modified; // tabs with unsaved changes
        std::string question;      // with P and Q standing for the two paths
    };
    const Case cases[] = {
        {{0},
         "There is 1 configuration file with unsaved changes:\r\n\r\n    P\r\n\r\nAre you sure "
         "to exit?"},
        {{0, 1},
         "There are 2 configuration files with unsaved changes:\r\n\r\n    Q\r\n    "
         "P\r\n\r\nAre you sure to exit?"},
    };
    for (const Case& c : cases) {
        Restart();
        settings->clear();
        boxes.clear();
        CKibDoc* p = Open("p.cfg", EventConfig());
        CKibDoc* q = Open("q.cfg", EventConfig());
        ASSERT_TRUE(p && q);
        for (int tab : c.modified) {
            frame->View(tab)->Document()->SetModifiedFlag(true);
        }
        std::string expected = c.question;
        expected.replace(expected.find("P\r\n\r\n"), 1, p->GetPathName());
        if (const auto at = expected.find("Q\r\n"); at != std::string::npos) {
            expected.replace(at, 1, q->GetPathName());
        }

        answers = {BoxAnswer::No};
        EXPECT_FALSE(frame->close());
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, expected);
        EXPECT_EQ(boxes[0].icon, BoxIcon::Warning);
        EXPECT_EQ(boxes[0].defaultAnswer, BoxAnswer::No);
        EXPECT_EQ(frame->Tabs()->count(), 2);
        EXPECT_TRUE(p->IsModified());
        EXPECT_EQ(DocsCount(), -1);

        answers = {BoxAnswer::Yes};
        EXPECT_TRUE(frame->close());
        EXPECT_EQ(DocsCount(), 2);
    }
}

TEST_F(MainFrameTest, ClosingAModifiedDocumentAsksThroughTheHost) {
    CKibDoc* doc = Open("p.cfg", EventConfig());
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(true);
    boxes.clear();
    answers = {BoxAnswer::Cancel};
    EXPECT_FALSE(frame->CloseTab(0));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Save changes to " + doc->GetPathName() + "?");
    EXPECT_EQ(boxes[0].icon, BoxIcon::Question);
    EXPECT_EQ(boxes[0].buttons, BoxButtons::YesNoCancel);
    EXPECT_EQ(boxes[0].defaultAnswer, BoxAnswer::Yes);
    EXPECT_EQ(frame->Tabs()->count(), 1);

    answers = {BoxAnswer::No}; // closed without saving
    EXPECT_TRUE(frame->CloseTab(0));
    EXPECT_EQ(frame->Tabs()->count(), 0);
}

TEST_F(MainFrameTest, NextStartReopensTheDocumentsInTabOrder) {
    ASSERT_NE(Open("p.cfg", EventConfig()), nullptr);
    ASSERT_NE(Open("q.cfg", EventConfig()), nullptr);
    ASSERT_NE(Open("r.cfg", EventConfig()), nullptr);
    frame->Tabs()->setCurrentIndex(0);
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(DocsCount(), 3);
    EXPECT_EQ(frame->RecentFiles().mid(0, 3),
              QStringList({dir.filePath("p.cfg"), dir.filePath("q.cfg"), dir.filePath("r.cfg")}));

    Restart();
    boxes.clear();
    std::ostringstream journal;
    EXPECT_EQ(RestoreLastSession(*frame, *settings, journal), 3);
    EXPECT_EQ(TabTexts(), QStringList({"p.cfg", "q.cfg", "r.cfg"}));
    EXPECT_TRUE(boxes.empty());
    EXPECT_NE(journal.str().find("Opening 3 files...\nFound file #0 (" +
                                 dir.filePath("p.cfg").toStdString() + ")\n"),
              std::string::npos);
}

TEST_F(MainFrameTest, ExitWithoutDocumentsShowsTheHintOnlyWithoutRecentFiles) {
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(DocsCount(), 0);
    for (bool recent : {false, true}) {
        Restart();
        boxes.clear();
        if (recent) {
            frame->AddToRecentFiles(dir.filePath("p.cfg"));
        }
        std::ostringstream journal;
        EXPECT_EQ(RestoreLastSession(*frame, *settings, journal), 0);
        EXPECT_EQ(frame->Tabs()->count(), 0);
        ASSERT_EQ(boxes.size(), recent ? 0u : 1u);
        if (!recent) {
            EXPECT_EQ(boxes[0].icon, BoxIcon::None);
            EXPECT_EQ(
                boxes[0].text.rfind("If you have an old configuration file, just Open it.\n", 0),
                0u);
        }
    }
}

TEST_F(MainFrameTest, TabsShowTheirDocumentsTabColour) {
    ASSERT_NE(Open("p.cfg", EventConfig("TABCOLOR=10 20 30\r\n")), nullptr);
    ASSERT_NE(Open("q.cfg", EventConfig()), nullptr);
    EXPECT_EQ(frame->Tabs()->Bar()->TabColor(0), QColor(10, 20, 30));
    EXPECT_EQ(frame->Tabs()->Bar()->TabColor(1), QColor(255, 255, 255));

    // An edit of the active document's tab colour recolours its tab at once.
    auto* button =
        qobject_cast<QToolButton*>(frame->Properties()->Grid()->Editor(id::Event_TABCOLOR));
    ASSERT_NE(button, nullptr);
    for (QAction* action : button->menu()->actions()) {
        if (action->text() == "0 0 255") {
            action->trigger();
        }
    }
    EXPECT_EQ(frame->Tabs()->Bar()->TabColor(1), QColor(0, 0, 255));
}

TEST_F(MainFrameTest, TabSwitchRefillsThePropertiesAndChecksTheLayoutOnce) {
    CKibDoc* p = Open("p.cfg", EventConfig("TASKS=4\r\n", "[System]\r\nDEBUGGING=Yes\r\n"));
    ASSERT_NE(p, nullptr);
    frame->RecheckAfterActivation(p); // the first paint of the new window
    CKibDoc* q = Open("q.cfg", EventConfig("TASKS=7\r\n", "[System]\r\nDEBUGGING=Yes\r\n"));
    ASSERT_NE(q, nullptr);
    frame->RecheckAfterActivation(q);
    EXPECT_FALSE(frame->NewWindowFlag());
    EXPECT_EQ(
        Lines(LogPane::Debug).filter("Checking configuration after opening new window...").size(),
        2);

    frame->Tabs()->setCurrentIndex(0);
    EXPECT_TRUE(frame->TabSwitchFlag());
    frame->RecheckAfterActivation(p);
    frame->RecheckAfterActivation(p); // a repaint without a switch checks nothing
    EXPECT_EQ(Lines(LogPane::Debug).filter("Reloading Properties window").size(), 1);
    EXPECT_EQ(Lines(LogPane::Debug).filter("Checking configuration after switching tab...").size(),
              1);
    EXPECT_EQ(frame->Properties()->Grid()->Value(id::Event_TASKS).toString(), "4");
}

TEST_F(MainFrameTest, DroppedConfigurationFilesOpen) {
    const QString cfg = WriteConfig("dropped.cfg", EventConfig());
    const QString other = WriteConfig("notes.txt", "text");
    EXPECT_EQ(frame->OpenDroppedFiles({QUrl::fromLocalFile(other), QUrl::fromLocalFile(cfg)}), 1);
    EXPECT_EQ(TabTexts(), QStringList({"dropped.cfg"}));
}

TEST_F(MainFrameTest, ANewConfigurationFromExportsIsNeitherRememberedNorCounted) {
    const QDir demo(QStringLiteral(KIB_SOURCE_DIR "/examples/demo"));
    QDir(dir.path()).mkpath("exports");
    for (const QString& name : demo.entryList({"Demo.*"}, QDir::Files)) {
        ASSERT_TRUE(QFile::copy(demo.filePath(name), dir.filePath("exports/" + name)));
    }
    ASSERT_NE(Open("p.cfg", EventConfig()), nullptr);
    frame->Host().folderHook = [this](const std::string&) -> std::optional<std::string> {
        return dir.filePath("exports").toStdString();
    };
    frame->Action(cmd::FileNew)->trigger();
    ASSERT_EQ(frame->Tabs()->count(), 2);
    CKibDoc* made = frame->ActiveDocument();
    EXPECT_TRUE(made->IsNeverSaved());
    EXPECT_TRUE(made->IsModified());
    EXPECT_EQ(made->GetConfig()->Item(id::Event_NAME).GetValue(), "Demo");

    answers = {BoxAnswer::Yes};
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(DocsCount(), 1);
    EXPECT_FALSE(frame->RecentFiles().join('|').contains("exports"));
}

TEST_F(MainFrameTest, ClosingDuringARunIsRefused) {
    ASSERT_NE(Open("p.cfg", EventConfig()), nullptr);
    App().running = true;
    EXPECT_FALSE(frame->close());
    EXPECT_FALSE(frame->CloseTab(0)); // the running command's document stays too
    EXPECT_EQ(Lines(LogPane::Messages).filter("Forbidden due to a running task!").size(), 2);
    EXPECT_EQ(frame->Tabs()->count(), 1);

    frame->Action(cmd::Stop)->trigger();
    EXPECT_FALSE(App().running);
    EXPECT_TRUE(Lines(LogPane::Messages).contains("[= WARNING =] STOP button pressed"));
    EXPECT_TRUE(frame->close());
}

// Closing the tab of a modified configuration asks Save / Don't Save / Cancel
// through the host; a modified document is marked with "*" on its tab and in the
// title until it is saved.
TEST_F(MainFrameTest, ClosingAModifiedTabAsksToSaveAndModifiedDocumentsAreMarked) {
    CKibDoc* doc = Open("p.cfg", EventConfig());
    ASSERT_NE(doc, nullptr);
    const QString title = "Kib - p.cfg [" + dir.path() + "/]";
    EXPECT_EQ(frame->windowTitle(), title);
    doc->GetConfig()->Item(id::Event_TITLE1).SetText("Final");
    doc->SetModifiedFlag(true);
    EXPECT_EQ(TabTexts(), QStringList{"p.cfg*"});
    EXPECT_EQ(frame->windowTitle(), "Kib - p.cfg* [" + dir.path() + "/]");

    boxes.clear();
    answers = {BoxAnswer::Cancel};
    EXPECT_FALSE(frame->CloseTab(0));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Save changes to " + doc->GetPathName() + "?");
    EXPECT_EQ(boxes[0].buttons, BoxButtons::YesNoCancel);
    EXPECT_EQ(boxes[0].defaultAnswer, BoxAnswer::Yes);
    EXPECT_EQ(TabTexts(), QStringList{"p.cfg*"});

    answers = {BoxAnswer::Yes}; // Save
    EXPECT_TRUE(frame->CloseTab(0));
    EXPECT_EQ(frame->Tabs()->count(), 0);
    QFile saved(dir.filePath("p.cfg"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("TITLE1=Final"));

    doc = Open("q.cfg", EventConfig());
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(true);
    answers = {BoxAnswer::No}; // Don't Save
    EXPECT_TRUE(frame->CloseTab(0));
    EXPECT_EQ(frame->Tabs()->count(), 0);
    EXPECT_EQ(frame->windowTitle(), "Kib");
}

// kib-gui with a file that cannot be loaded: one error box, every line once.
TEST_F(MainFrameTest, AFileOnTheCommandLineThatCannotBeLoadedSaysSoOnce) {
    const QString bad = WriteConfig("bad.cfg", "# Kib Configuration\r\n");
    const QString good = WriteConfig("good.cfg", EventConfig());
    std::vector<std::string> shown;
    CKibApp app(*settings);
    app.prepareFrame = [&shown](CMainFrame& f) {
        f.Host().boxHook = [&shown](const kib::MessageBox& box) {
            shown.push_back(box.text);
            return BoxAnswer::Ok;
        };
    };
    ASSERT_TRUE(app.InitInstance({bad, good}));
    EXPECT_EQ(shown, std::vector<std::string>{"Configuration file format not recognized!"});
    const COutputList* list = app.MainFrame()->Output()->List(LogPane::Messages);
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) {
        lines << list->item(i)->text();
    }
    EXPECT_EQ(lines.filter("bad.cfg").size(), 1) << lines.join('\n').toStdString();
    EXPECT_EQ(app.MainFrame()->Tabs()->count(), 1);
}

TEST_F(MainFrameTest, CommandsCarryTheirShortcutsAndTexts) {
    struct Case {
        int id;
        const char* shortcut;
        const char* tip;
    };
    const Case cases[] = {
        {cmd::MakeMapSvgs, "Ctrl+M", "Make competition maps in vector graphics (SVG)"},
        {cmd::MakeMapImages, "Ctrl+Shift+M", "Make competition maps as raster files (PDF, PNG...)"},
        {cmd::MakeSolSvgs, "Ctrl+K", "Make solution maps in vector graphics (SVG)"},
        {cmd::MakeSolImages, "Ctrl+Shift+K", "Make solution maps as raster files (PDF, PNG...)"},
        {cmd::Stop, "", "Stop execution"},
        {cmd::ViewCompetition, "", "View Competition map"},
        {cmd::ViewSolution, "", "View Solution map"},
    };
    for (const Case& c : cases) {
        QAction* action = frame->Action(c.id);
        ASSERT_NE(action, nullptr) << c.id;
        EXPECT_EQ(action->shortcut().toString(), QString::fromLatin1(c.shortcut)) << c.id;
        EXPECT_EQ(action->statusTip(), QString::fromLatin1(c.tip)) << c.id;
    }
    EXPECT_TRUE(frame->Action(cmd::Stop)->isEnabled()); // always, with or without a run
}

TEST_F(MainFrameTest, TheAboutBoxNamesTheVersionOfTheSheets) {
    EXPECT_EQ(VersionLine(), QStringLiteral("Quillomat, ver. 4.2.5(1)"));
}

} // namespace
} // namespace kib::gui::test
