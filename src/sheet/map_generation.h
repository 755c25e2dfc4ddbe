// The competition generation run: for every chosen station it reads the courses
// file and the station's map export, computes the layout and writes a map
// document per task and the print sheets that tile two or four canvases.
#pragma once

#include "foundation/host.h"
#include "sheet/run_result.h"
#include "sheet/run_stations.h"
#include "sheet/sheet_output.h"
#include "sheet/svg_image.h"
#include "sheet/task_range.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace kib {

class CKibMap;
class CKibSvg;
class Diagnostics;
class DiagnosticsTally;
class StopRequest;
class LayoutMemo;
class SheetRecord;
class StationSet;
struct RecordEntry;

class CompetitionRun {
  public:
    // The run reports into diagnostics (each station's entries with its number)
    // and polls stop before each station.
    CompetitionRun(CKibSvg& svg, Diagnostics& diagnostics, StopRequest& stop);
    ~CompetitionRun();
    CompetitionRun(const CompetitionRun&) = delete;
    CompetitionRun& operator=(const CompetitionRun&) = delete;

    // Called for each station once its map is read and analysed, before its
    // sheets are composed: for what a caller shows about the station.
    using StationRead = std::function<void(int station, CKibMap& map)>;
    void OnStationRead(StationRead hook) { stationRead_ = std::move(hook); }
    // Called for each sheet the run composes, once its text is final and is
    // written or found unchanged (a sheet that fails afterwards fails its
    // station in the result), with that text: for a caller that draws it
    // meanwhile. Not called for the sheets of a kept station.
    using SheetMade = std::function<void(const RunSheet& sheet, const std::string& text)>;
    void OnSheetMade(SheetMade hook) { sheetMade_ = std::move(hook); }
    // Lays out each station through the memo of the command (the layout check's
    // layouts), so that a station is laid out once.
    void ShareLayouts(LayoutMemo* memo) { layouts_ = memo; }

    // The whole run over the chosen stations of the configuration's range: what
    // it made, station by station. A stop request or a layout that does not fit
    // ends it (not completed).
    const RunResult& Run(const StationSet& stations, int taskChoice);
    // The run for a station mask (0: every station; bit n chooses station n).
    // True when it completed, made at least one station and no station failed.
    bool GenerateCompetitionSvg(std::uint32_t stationMask, int taskChoice);
    const RunResult& Result() const { return result_; }
    // The canvases per print sheet of the run's layout (0: not tiled), which its
    // conversion must follow whatever the document holds meanwhile.
    int CanvasesPerSheet() const { return canvasesPerSheet_; }

    // The sheet makers, for the station whose map and layout the run holds.
    bool MakeMapSheet(int station, int task);
    bool MakePrintSheet(int station, int task);
    bool MakePrintSheetPair(int station, int task, bool stacked);
    bool MakePrintSheetGroup(int station, int lastTask);

  private:
    // Hands the reader, the surface and the output the diagnostics to report into.
    void Route(Diagnostics& diagnostics);
    // Reads and lays out one station; false when the run must end at once.
    // result becomes false when the station failed.
    bool ProcessStation(int station, int taskChoice, bool& result);
    // A station whose record says nothing it is made from changed: its sheets
    // are kept and its logged lines logged again; its map is read and laid out
    // again only for a caller that needs it (OnStationRead). Same results.
    bool KeepStation(int station, const RecordEntry& entry, bool& result);
    void RecordStations(SheetRecord& record, std::vector<std::pair<int, RecordEntry>>& entries);
    void Record(const char* kind, int station, int a, int b);
    bool MakeTasks(int station, int taskChoice);
    struct Canvas {
        int task;
        int corner;
    };
    bool MakeSheet(const char* kind, int station, int a, int b, bool printSheet,
                   const Canvas* canvases, int count);

    CKibSvg& svg_;
    Diagnostics& diag_;
    StopRequest& stop_;
    DiagnosticsTally* whole_ = nullptr;   // the run's tally while it runs
    DiagnosticsTally* station_ = nullptr; // the station's tally while it is read and made
    std::unique_ptr<CSvgImage> surface_;
    std::unique_ptr<SheetOutput> output_;
    int mapTasks_ = 0; // the station's task count from its map (E)
    int canvasesPerSheet_ = 0;
    RunResult result_;
    StationRead stationRead_;
    SheetMade sheetMade_;
    LayoutMemo* layouts_ = nullptr;
    RunProgress progress_;         // the map sheets of the run, counted as they are made
    int stationPlanned_ = 0;       // the sheets the current station is expected to get
    int stationMade_ = 0;          // the sheets of the current station begun so far
    std::size_t composeLines_ = 0; // the lines the current station logged while composing
};

} // namespace kib
