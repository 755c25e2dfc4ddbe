// The map analysis object of a document: one station's map export with its
// analyses, and the course data of the same station from the courses file.
#pragma once

#include "map_input/map_point.h"

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace kib {

class CKibCfg;
class CKibDoc;
class Diagnostics;
class Host;
class CKibMap;

// The memory the kept maps of a command may take, and a parsed map's memory per
// byte of its export (measured on generated 5 MB exports: about 30 MB each).
inline constexpr std::size_t kKeptMapsBudget = std::size_t{32} << 20;
inline constexpr std::size_t kKeptMapPerExportByte = 6;

class CKibSvg {
  public:
    // Number of course controls one course may have (entries 1 .. 100; entry 0 is the start).
    static constexpr int kMaxCourseControls = 100;

    explicit CKibSvg(CKibDoc& doc);
    ~CKibSvg();
    CKibSvg(const CKibSvg&) = delete;
    CKibSvg& operator=(const CKibSvg&) = delete;

    CKibDoc& GetDocument() const { return doc_; }
    // The document's configuration (the document must have one).
    CKibCfg& GetConfig() const;
    // Where reading and analysing report: the document's diagnostics until a
    // run hands its station's.
    void ReportInto(Diagnostics& diagnostics) { diag_ = &diagnostics; }
    Diagnostics& Diag() const;
    Host& GetHost() const;

    // Reads the map export of the station (task 1 for a run, task 0 for statistics
    // only) into a new map and analyses it. False when the file cannot be opened
    // (the previous map is kept) or the read failed (no analysis has run).
    bool ReadMap(int station, int task);
    // The map of the last read; none before the first one.
    CKibMap* GetMap() const { return map_; }
    // From now on every map read whole and without error is kept while the kept
    // maps stay within budget bytes (a parsed map with its lines as read takes
    // about kKeptMapPerExportByte times its export's size), and a later read of
    // the same station and task takes it while its export keeps its size and
    // time: the runs of one command (the competition maps and the solution
    // sheets of a proof) then parse and analyse each map once. A map beyond the
    // budget is parsed again by the run that needs it, so that a proof of large
    // exports holds no more memory than a run of them.
    void KeepMaps(std::size_t budget = kKeptMapsBudget) {
        keepMaps_ = true;
        keptBudget_ = budget;
    }

    // Course data of one station, replaced by each ReadCourses (courses_reader.cpp).
    bool ReadCourses(int station);
    // Debug line with code, position and offset of course control i.
    void LogCourseControl(int i) const;

    int controlCount = 0;                                   // 0 .. 100
    std::array<std::string, kMaxCourseControls + 1> codes;  // 0: the start
    std::array<MapPoint, kMaxCourseControls + 1> positions; // 1 .. controlCount
    // Course control i has no position: a code the courses file does not define
    // keeps its task number, and no circle can match it.
    std::array<bool, kMaxCourseControls + 1> noPosition{};
    MapPoint startPosition;
    std::array<MapPoint, kMaxCourseControls + 1> offsets; // map orientation, from the start
    // Of controlCount, the course controls of type Finish.
    int finishCount = 0;

  private:
    struct KeptMap;
    // The kept map of the station and task, its lines as read, when its export is
    // unchanged; else none.
    KeptMap* KeptMapOf(int station, int task, const std::string& path);

    CKibDoc& doc_;
    Diagnostics* diag_ = nullptr;   // none: the document's
    CKibMap* map_ = nullptr;        // the last map read, owned by read_ or kept_
    std::unique_ptr<CKibMap> read_; // the last map read when it is not kept
    std::vector<KeptMap> kept_;     // the kept maps
    bool keepMaps_ = false;
    std::size_t keptBudget_ = 0;
    std::size_t keptBytes_ = 0; // the kept maps' estimated memory
};

} // namespace kib
