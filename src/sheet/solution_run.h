// The solutions run: one solution sheet per group of chosen stations, two maps
// per row (left and right column) and as many rows as the sheet holds; in WEB
// mode one sheet per station.
#pragma once

#include "sheet/sheet_output.h"
#include "sheet/svg_image.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kib {

class CKibSvg;

class SolutionRun {
  public:
    explicit SolutionRun(CKibSvg& svg);
    ~SolutionRun();
    SolutionRun(const SolutionRun&) = delete;
    SolutionRun& operator=(const SolutionRun&) = delete;

    // The whole run for the stations of the mask (0: every station; else bit
    // n mod 32 selects station n). Sheets are named "sol-a-b" after their first
    // and last station ("sol-a" in WEB mode). False when no station was chosen,
    // the layout failed, a sheet could not be written, a courses file could not
    // be read, or a stop was requested.
    bool GenerateSolutionSvg(std::uint32_t stationMask);

    // Stations per sheet of the last run (1 in WEB mode, else two per row); the
    // raster conversion of the solutions groups its files by it. 0 before a run.
    int StationsPerSheet() const { return perSheet_; }

  private:
    int LayoutStation(const std::vector<int>& stations) const;
    bool OpenSheet(const std::vector<int>& stations, std::size_t i);
    // Reads and composes one station; false when its courses file could not be read.
    bool MakeStation(int station, int position);
    bool CloseSheet(int position);

    CKibSvg& svg_;
    std::unique_ptr<CSvgImage> surface_;
    std::unique_ptr<SheetOutput> output_;
    int perSheet_ = 0;
};

} // namespace kib
