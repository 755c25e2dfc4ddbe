// The solutions run: one solution sheet per group of chosen stations, two maps
// per row (left and right column) and as many rows as the sheet holds; in WEB
// mode one sheet per station.
#pragma once

#include "sheet/run_result.h"
#include "sheet/sheet_output.h"
#include "sheet/sheet_record.h"
#include "sheet/svg_image.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kib {

class CKibSvg;
class Diagnostics;
class DiagnosticsTally;
class StationSet;
class StopRequest;

class SolutionRun {
  public:
    // The run reports into diagnostics (each station's entries with its number)
    // and polls stop before each station.
    SolutionRun(CKibSvg& svg, Diagnostics& diagnostics, StopRequest& stop);
    ~SolutionRun();
    SolutionRun(const SolutionRun&) = delete;
    SolutionRun& operator=(const SolutionRun&) = delete;

    // The whole run over the chosen stations of the configuration's range.
    // Sheets are named "sol-a-b" after their first and last station ("sol-a" in
    // WEB mode). Not completed when no station was chosen, the layout failed, a
    // sheet could not be opened or closed, or a stop was requested; a station
    // whose map could not be read or drawn failed.
    const RunResult& Run(const StationSet& stations);
    // The run for a station mask (0: every station; bit n chooses station n).
    // True when it completed and no station failed.
    bool GenerateSolutionSvg(std::uint32_t stationMask);
    const RunResult& Result() const { return result_; }

    // Stations per sheet of the last run (1 in WEB mode, else two per row); the
    // raster conversion of the solutions groups its files by it. 0 before a run.
    int StationsPerSheet() const { return perSheet_; }

  private:
    // Hands the reader, the surface and the output the diagnostics to report into.
    void Route(Diagnostics& diagnostics);
    int LayoutStation(const std::vector<int>& stations) const;
    bool OpenSheet(const std::vector<int>& stations, std::size_t i);
    // Reads and composes one station; false when it failed.
    bool MakeStation(int station, int position);
    bool CloseSheet(int position);
    // Records the sheet just closed with its stations, and their outcome.
    void Record(const std::vector<int>& onSheet, bool closed);

    // A sheet of the run for its record: its stations, its inputs as read before
    // it was made, its entry, and whether it was kept from the record.
    struct SheetMemo {
        std::vector<int> group;
        std::vector<RecordedInput> inputs;
        RecordEntry entry;
        bool kept = false;
    };
    // The stations of the sheet that begins with the i-th chosen station, and its name.
    std::vector<int> SheetStations(const std::vector<int>& stations, std::size_t i) const;
    std::string SheetName(const std::vector<int>& group) const;
    std::string LogoPath() const;
    std::string LogoCopyPath() const;
    std::vector<std::string> SheetInputPaths(const std::vector<int>& group) const;
    std::vector<RecordedInput> WithLogoCopy(std::vector<RecordedInput> inputs) const;
    // A sheet whose record says nothing it is made from changed: kept, with the
    // lines of its stations logged again.
    void KeepSheet(const std::vector<int>& group, const RecordEntry& entry);
    RecordEntry SheetEntry(const std::vector<int>& onSheet) const;
    void RecordSheets(SheetRecord& record, std::vector<SheetMemo>& sheets);

    CKibSvg& svg_;
    Diagnostics& diag_;
    StopRequest& stop_;
    DiagnosticsTally* whole_ = nullptr;   // the run's tally while it runs
    DiagnosticsTally* station_ = nullptr; // the station's tally while it is made
    std::unique_ptr<CSvgImage> surface_;
    std::unique_ptr<SheetOutput> output_;
    int perSheet_ = 0;
    RunResult result_;
};

} // namespace kib
