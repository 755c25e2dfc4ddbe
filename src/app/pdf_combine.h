// One print file per event: the PDF files of a run's sheets gathered, in the
// order given, into one multi-page PDF for the print shop. Each page keeps its
// own page size. Done with qpdf.
#pragma once

#include <string>
#include <vector>

namespace kib {

// Writes the pages of every file of parts, in order, into target (under a
// temporary name renamed into place, so a failed combination leaves no partial
// file and an old target whole). False with the reason in error.
bool CombinePdfFiles(const std::vector<std::string>& parts, const std::string& target,
                     std::string& error);

// The combine step of a raster Make command: every converted PDF of the run,
// in station and task order, into target. Logs what it did; a sheet whose PDF
// is missing or a failed combination is an error that keeps the single files.
bool CombineConvertedSheets(const std::vector<std::string>& parts, const std::string& target);

} // namespace kib
