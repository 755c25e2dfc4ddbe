// The tasks of a station that a run, a conversion or a print job works on: the
// task choice of a Make command, and the range of tasks rounded to the whole
// print sheets that hold them.
#pragma once

namespace kib {

// Task choices of a run: a task number t >= 1, or one of these.
inline constexpr int kTaskAll = -1;
inline constexpr int kTaskCover = 0;
inline constexpr int kTaskNone = -2; // stations are read and laid out only

// Tasks first .. last; empty when last < first.
struct TaskRange {
    int first = 0;
    int last = -1;
};

// The tasks a choice names: kTaskAll every task from firstOfAll (the cover 0, or
// task 1 where a station has no cover) to lastOfAll, kTaskCover the cover, t the
// task t; none for kTaskNone or any other negative choice.
TaskRange ChosenTasks(int taskChoice, int firstOfAll, int lastOfAll);

// The range widened to the whole print sheets of canvasesPerSheet (2 or 4)
// canvases that hold its ends (0: one canvas a sheet, nothing widens), then cut
// at the station's last task.
TaskRange WholePrintSheets(TaskRange tasks, int canvasesPerSheet, int lastTask);

} // namespace kib
