// The proof of an event: the competition maps and solution sheets made as the
// Make commands make them (unchanged sheets are not rewritten), every canvas
// and solution sheet rendered into a picture, and one HTML page that shows
// them station by station with the analysis, the log and the answer key.
#pragma once

#include <cstdint>
#include <string>

namespace kib {

class CKibDoc;
class CKibMap;

// Makes the proof of the stations the mask selects (0: every station) and
// writes the page to pagePath (empty: "proof.html" in the output folder); its
// pictures go into the folder beside it named like the page with "-files".
// The page's path is returned in written. Returns 2 when the page could not be
// written or a station had errors, 1 when a station had warnings, else 0.
// The answer letter ("A" .. "F", "Z") of the export's column H in the task's
// description row; empty when the export gives none.
std::string ExportAnswer(const CKibMap& map, int task);

int MakeProof(CKibDoc& doc, std::uint32_t stationMask, const std::string& pagePath,
              std::string& written);

} // namespace kib
