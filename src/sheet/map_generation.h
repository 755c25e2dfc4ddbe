// The competition generation run: for every chosen station it reads the courses
// file and the station's map export, computes the layout and writes a map
// document per task and the print sheets that tile two or four canvases.
#pragma once

#include "foundation/host.h"
#include "sheet/run_stations.h"
#include "sheet/sheet_output.h"
#include "sheet/svg_image.h"
#include "sheet/task_range.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace kib {

class CKibSvg;

class CompetitionRun {
  public:
    explicit CompetitionRun(CKibSvg& svg);
    ~CompetitionRun();
    CompetitionRun(const CompetitionRun&) = delete;
    CompetitionRun& operator=(const CompetitionRun&) = delete;

    // The whole run. True when at least one station was processed and nothing
    // failed; a stop request ends it with false.
    bool GenerateCompetitionSvg(std::uint32_t stationMask, int taskChoice);
    // The canvases per print sheet of the run's layout (0: not tiled), which its
    // conversion must follow whatever the document holds meanwhile.
    int CanvasesPerSheet() const { return canvasesPerSheet_; }

    // The sheet makers, for the station whose map and layout the run holds.
    bool MakeMapSheet(int station, int task);
    bool MakePrintSheet(int station, int task);
    bool MakePrintSheetPair(int station, int task, bool stacked);
    bool MakePrintSheetGroup(int station, int lastTask);

  private:
    // Reads and lays out one station; false when the run must end at once.
    bool ProcessStation(int station, int taskChoice, bool& result);
    bool MakeTasks(int station, int taskChoice);
    struct Canvas {
        int task;
        int corner;
    };
    bool MakeSheet(const char* kind, int station, int a, int b, bool printSheet,
                   const Canvas* canvases, int count);

    CKibSvg& svg_;
    std::unique_ptr<CSvgImage> surface_;
    std::unique_ptr<SheetOutput> output_;
    int mapTasks_ = 0; // the station's task count from its map (E)
    int canvasesPerSheet_ = 0;
    RunProgress progress_;   // the map sheets of the run, counted as they are made
    int stationPlanned_ = 0; // the sheets the current station is expected to get
    int stationMade_ = 0;    // the sheets of the current station begun so far
};

} // namespace kib
