// What a run made: per station its outcome (made, unchanged or failed, with the
// lines it logged) and the sheets it wrote or kept, with their converted files
// once a conversion has run. Every later stage (conversion, the combined print
// file, the proof page, the map view) takes its list of sheets from here, never
// from the configuration or a folder scan, and the closing box and exit status
// come from it.
#pragma once

#include "foundation/diagnostics.h"

#include <string>
#include <vector>

namespace kib {

enum class SheetKind { Map, Print, Solution };

struct RunSheet {
    SheetKind kind = SheetKind::Map;
    std::string svg;           // the SVG sheet's path
    std::vector<int> stations; // the stations it shows
    int firstTask = 0;         // competition sheets: the tasks on it
    int lastTask = 0;
    bool written = false;  // written by the run; false: kept as it was (same bytes)
    bool toPrint = false;  // the sheet that goes to print, and so to the conversion
    std::string converted; // its converted file once converted (or up to date); empty: none
};

enum class StationOutcome { Made, Unchanged, Failed };

struct StationResult {
    int station = 0;
    StationOutcome outcome = StationOutcome::Unchanged;
    int errors = 0;
    int warnings = 0;
    // Everything reported for the station (debug entries aside), in order: a
    // kept station's replayed entries too.
    std::vector<Diagnostic> entries;

    // Its entries as the Messages pane shows them.
    std::vector<std::string> Lines() const;
};

struct RunResult {
    // The run went to its end: not stopped, the output folder and the layout fine.
    bool completed = false;
    // The user asked the run to stop (Stop, Ctrl+C) before it ended.
    bool stopped = false;
    // What the run reported outside and inside its stations.
    Verdict logged = Verdict::Success;
    std::vector<StationResult> stations;
    std::vector<RunSheet> sheets;

    // The station's result, none when the run did not choose it.
    StationResult* Station(int station);
    const StationResult* Station(int station) const;
    bool AnyStationFailed() const;
    // Whether the run failed as a whole: it did not complete, or it has no sheet
    // to show because its stations failed.
    bool Failed() const;
    // Errors when the run did not complete, a station failed or an error was
    // logged; else warnings when one was logged; else success.
    Verdict GetVerdict() const;
    // The sheets that go to print, in order.
    std::vector<const RunSheet*> PrintSheets() const;
    // How many stations were made, kept unchanged and failed.
    int CountOf(StationOutcome outcome) const;
    // A station fails with what a tally holds (a later stage's, such as its
    // conversion).
    void Fail(int station, const DiagnosticsTally& tally);
    // Adds what a later stage of the same command reported and whether it completed.
    void Add(const DiagnosticsTally& stage, bool stageCompleted);
};

// Adds what the tally holds for a station, and marks it failed when an error
// was among it.
void TakeTally(StationResult& station, const DiagnosticsTally& tally);

// The closing words of a run that made some stations and kept others:
// "1 station made, 5 unchanged"; empty when every chosen station was made.
std::string StationCountsText(const RunResult& run);

} // namespace kib
