#include "sheet/task_range.h"

#include <algorithm>

namespace kib {

TaskRange ChosenTasks(int taskChoice, int firstOfAll, int lastOfAll) {
    if (taskChoice == kTaskAll) {
        return TaskRange{firstOfAll, lastOfAll};
    }
    if (taskChoice < 0) {
        return TaskRange{};
    }
    return TaskRange{taskChoice, taskChoice};
}

TaskRange WholePrintSheets(TaskRange tasks, int canvasesPerSheet, int lastTask) {
    const int g = canvasesPerSheet;
    if (tasks.last < tasks.first) {
        return tasks;
    }
    if (g != 0) {
        tasks.first &= -g;   // the first canvas of its sheet
        tasks.last |= g - 1; // the last canvas of its sheet
    }
    tasks.last = std::min(tasks.last, lastTask);
    return tasks;
}

} // namespace kib
