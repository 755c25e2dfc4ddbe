// The proof page: one self-contained HTML page on which the organiser and the
// event adviser check every canvas of an event before it is printed, station by
// station, with the analysis in words, the log lines of the station, the
// answer key and the solution sheet.
#pragma once

#include "foundation/diagnostics.h"

#include <string>
#include <vector>

namespace kib {

// Green: nothing logged; amber: warnings; red: errors.
enum class ProofMark { Green, Amber, Red };

// One canvas: task 0 is the station's cover.
struct ProofCanvas {
    int task = 0;
    // Picture paths relative to the page's folder, '/' between folders, as the
    // files are named (the page encodes them); empty when none.
    std::string thumbnail;
    std::string fullSize;
    std::string answer; // the correct answer letter ("A" .. "F", "Z"), empty when unknown
    std::string answerSource;
    std::string mapAnswer;   // the map's answer: "A" .. "F", "Z", "ambiguous", "?"
    std::string mapEvidence; // the flags behind it, with their distances
    // Red: the key and the map differ or the map is ambiguous; amber: either is unknown.
    ProofMark answerMark = ProofMark::Green;
};

struct ProofStation {
    int station = 0;
    ProofMark mark = ProofMark::Green;
    int tasks = 0;
    int flags = 0;
    int rotation = -1;
    std::string rotationSource;  // where the rotation came from, in words
    std::string summary;         // the analysis line of kib analyse
    std::vector<Diagnostic> log; // everything reported while the station was made
    std::vector<ProofCanvas> canvases;
    std::string solutionName; // the sheet that holds the station, and its pictures
    std::string solutionThumbnail;
    std::string solutionFullSize;
};

struct ProofEvent {
    std::string title;  // the event's name
    std::string source; // the configuration file
    std::vector<ProofStation> stations;
};

// The page: an index of the stations with their marks, then one section per
// station. Every text is HTML-escaped; the page needs no network and has a
// print style. A small script marks the page body with data-images="ok" once
// every picture has loaded (or "missing" when one has not), for checks.
std::string ProofHtml(const ProofEvent& event);

// The worse of two marks.
ProofMark WorseMark(ProofMark a, ProofMark b);

// A path relative to the page's folder ('/' between folders) as a link of the
// page: every segment percent-encoded but for letters, digits and "-._~", and
// "./" before it, so that no file name reads as a URL scheme ("javascript:"),
// a query ("?"), a fragment ("#") or an escape ("%").
std::string PageLink(const std::string& relativePath);

// The mark of a station from its log lines and flags.
ProofMark MarkOf(const std::vector<Diagnostic>& log, bool errorFlag, bool warningFlag);

} // namespace kib
