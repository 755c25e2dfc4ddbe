// The output pane: lines land in their own list without switching tabs; Copy
// puts the whole list on the clipboard, Clear empties one list only.
#include "gui/output_wnd.h"

#include <QApplication>
#include <QClipboard>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace kib::gui {
namespace {

TEST(OutputPane, LinesGoToTheirListAndTheVisibleTabStays) {
    COutputWnd pane;
    pane.Tabs()->setCurrentIndex(1); // Debug in front
    pane.AppendLogLine(LogPane::Messages, QStringLiteral("one"));
    pane.AppendLogLine(LogPane::Debug, QStringLiteral("debug only"));
    pane.AppendLogLine(LogPane::Messages, QStringLiteral("two"));

    EXPECT_EQ(pane.Tabs()->currentIndex(), 1);
    const COutputList* messages = pane.List(LogPane::Messages);
    ASSERT_EQ(messages->count(), 2);
    EXPECT_EQ(messages->currentRow(), 1); // the new last line is the selected one
    EXPECT_EQ(pane.List(LogPane::Debug)->count(), 1);

    pane.SelectMessagesTab();
    EXPECT_EQ(pane.Tabs()->currentWidget(), messages);
}

TEST(OutputPane, CopyPutsEveryLineWithCrLfOnTheClipboard) {
    struct Case {
        QStringList lines;
        QString clipboard;
    };
    const Case cases[] = {
        {{}, QString()},
        {{QStringLiteral("one"), QStringLiteral("two")}, QStringLiteral("one\r\ntwo\r\n")},
        {{QStringLiteral("100% done")}, QStringLiteral("100% done\r\n")},
    };
    for (const Case& c : cases) {
        COutputWnd pane;
        for (const QString& line : c.lines) {
            pane.AppendLogLine(LogPane::Messages, line);
        }
        QApplication::clipboard()->setText(QStringLiteral("something else"));
        pane.List(LogPane::Messages)->OnEditCopy();
        EXPECT_EQ(QApplication::clipboard()->text(), c.clipboard)
            << c.lines.join('|').toStdString();
    }
}

TEST(OutputPane, ClearEmptiesOnlyItsOwnList) {
    COutputWnd pane;
    pane.AppendLogLine(LogPane::Messages, QStringLiteral("kept"));
    pane.AppendLogLine(LogPane::Debug, QStringLiteral("gone"));
    pane.List(LogPane::Debug)->OnEditClear();
    EXPECT_EQ(pane.List(LogPane::Debug)->count(), 0);
    EXPECT_EQ(pane.List(LogPane::Messages)->count(), 1);
}

} // namespace
} // namespace kib::gui
