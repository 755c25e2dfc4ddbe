// The map analysis object of a document: one station's map export with its
// analyses, and the course data of the same station from the courses file.
#pragma once

#include "map_input/map_point.h"

#include <array>
#include <memory>
#include <string>

namespace kib {

class CKibCfg;
class CKibDoc;
class CKibMap;

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

    // Reads the map export of the station (task 1 for a run, task 0 for statistics
    // only) into a new map and analyses it. False when the file cannot be opened
    // (the previous map is kept) or the read failed (no analysis has run).
    bool ReadMap(int station, int task);
    // The map of the last read; none before the first one.
    CKibMap* GetMap() const { return map_.get(); }

    // Course data of one station, replaced by each ReadCourses (courses_reader.cpp).
    // The courses file is read once, by the first call that can open it; later
    // calls take the course from the text read then.
    bool ReadCourses(int station);
    // Debug line with code, position and offset of course control i.
    void LogCourseControl(int i) const;

    int controlCount = 0;                                   // 0 .. 100
    std::array<std::string, kMaxCourseControls + 1> codes;  // 0: the start
    std::array<MapPoint, kMaxCourseControls + 1> positions; // 1 .. controlCount
    MapPoint startPosition;
    std::array<MapPoint, kMaxCourseControls + 1> offsets; // map orientation, from the start

  private:
    CKibDoc& doc_;
    std::unique_ptr<CKibMap> map_;
    // The courses file as the first ReadCourses read it, for every later station.
    std::string coursesPath_;
    std::string coursesText_;
};

} // namespace kib
