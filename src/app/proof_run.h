// The proof of an event: the competition maps and solution sheets made by the
// runs of the Make commands (unchanged sheets are not rewritten), every canvas
// and solution sheet they made rendered into a picture, and one HTML page that
// shows them station by station with the analysis, the log and the answer key.
#pragma once

#include "foundation/diagnostics.h"

#include <vector>

#include <string>

namespace kib {

class CKibDoc;
class StationSet;

// Makes the proof of the chosen stations: the competition run and the solution
// run once each for all of them, as Make Vector Maps and Make Vector Solutions
// run them, every canvas and solution sheet the runs made rendered into a
// picture, and the page written to pagePath (empty: "proof.html" in the output
// folder); its pictures go into the folder beside it named like the page with
// "-files". A station that failed in a run is red with its lines and shows no
// picture of that run. The page's path is returned in written once it is
// written. Returns 2 when
// the command ended before its runs, a run did not complete, a station failed
// or the page could not be written, 1 when a station had warnings, else 0.
// With verdicts, one entry per red or amber station: the station, the task
// and the reason in the page's words, an error or a warning as its mark.
int MakeProof(CKibDoc& doc, const StationSet& stations, const std::string& pagePath,
              std::string& written, std::vector<Diagnostic>* verdicts = nullptr);

} // namespace kib
