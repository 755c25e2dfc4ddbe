// The tasks a choice names and their rounding to whole print sheets, which the
// competition run, the raster conversion and printing share.
#include "sheet/task_range.h"

#include <gtest/gtest.h>

namespace kib {
namespace {

TEST(TaskRangeTest, AChoiceRoundedToWholePrintSheets) {
    struct Case {
        int choice;
        int firstOfAll;
        int perSheet;
        int lastTask;
        int first;
        int last; // last < first: nothing
    };
    const Case cases[] = {
        {kTaskAll, 0, 0, 5, 0, 5},   // every task and the cover, one canvas a sheet
        {kTaskAll, 1, 0, 5, 1, 5},   // no cover sheet (ANT)
        {kTaskAll, 1, 2, 5, 0, 5},   // the cover shares the sheet of task 1
        {kTaskCover, 0, 2, 5, 0, 1}, // the cover's sheet holds task 1 as well
        {3, 0, 2, 5, 2, 3},
        {5, 0, 4, 5, 4, 5}, // the sheet of tasks 4 .. 7 ends at the last task
        {6, 0, 4, 9, 4, 7},
        {6, 0, 0, 5, 6, 5},          // beyond the last task: nothing
        {kTaskNone, 0, 2, 5, 0, -1}, // only read and laid out
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "choice " << c.choice << " per sheet " << c.perSheet);
        const TaskRange r = WholePrintSheets(ChosenTasks(c.choice, c.firstOfAll, c.lastTask),
                                             c.perSheet, c.lastTask);
        if (c.last < c.first) {
            EXPECT_LT(r.last, r.first);
        } else {
            EXPECT_EQ(r.first, c.first);
            EXPECT_EQ(r.last, c.last);
        }
    }
}

} // namespace
} // namespace kib
