// A new configuration derived from an OCAD export directory: the event name
// and the file name templates from the exported file names, the station range
// from the map files present; then what the first station's map gave (read by
// the application: src/app/new_document.cpp). Everything else stays at its
// default for the user to complete and save.
#include "config/cfg_create.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/name_templates.h"
#include "config/property_pane.h"
#include "foundation/app_state.h"
#include "foundation/log.h"
#include "platform/files.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kib {

namespace {

constexpr std::string_view kCoursesSuffix = ".Courses.xml";
constexpr std::string_view kEventPlaceholder = "${EVENT}";

// The names of the regular files of the directory that end with the suffix, in
// byte order of their names, so that every run examines them in the same order.
// The comparison is exact: the name templates can only name such files.
std::vector<std::string> FilesEndingWith(const std::string& directory, const std::string& suffix) {
    std::vector<std::string> names;
    for (std::string& name : platform::ListFolder(directory)) {
        if (name.size() >= suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0 &&
            platform::KindOf(directory + name) == platform::FileKind::Regular) {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

class ConfigCreation {
  public:
    explicit ConfigCreation(CKibCfg& cfg) : cfg_(cfg) {}

    bool TakeNames(const std::string& directory, ExportStations& stations);

  private:
    bool TakeCoursesFile(const std::string& directory);
    bool TakeMapFiles(const std::string& directory);
    void KeepEventInCoursesTemplate();
    void SetText(int itemId, const std::string& text) { cfg_.Item(itemId).SetText(text); }

    CKibCfg& cfg_;
    std::array<bool, kMaxStation + 1> present_{};
    int lo_ = -1;
    int hi_ = -1;
};

bool ConfigCreation::TakeCoursesFile(const std::string& directory) {
    const std::vector<std::string> courses =
        FilesEndingWith(directory, std::string(kCoursesSuffix));
    if (courses.empty()) {
        cfg_.Reports().Error("Cannot find XML file for course definition");
        return false;
    }
    const std::string& name = courses.front();
    SetText(id::Event_NAME, name.substr(0, name.size() - kCoursesSuffix.size()));
    SetText(id::Source_COURSES, std::string(kEventPlaceholder) + std::string(kCoursesSuffix));
    SetText(id::Source_MODE, "STAT");
    return true;
}

bool ConfigCreation::TakeMapFiles(const std::string& directory) {
    const std::vector<std::string> maps = FilesEndingWith(directory, ".svg");
    if (maps.empty()) {
        cfg_.Reports().Error("Cannot find SVG map files");
        return false;
    }
    for (const std::string& file : maps) {
        const std::string course = cfg_.Item(id::Source_COURSE).GetValueText();
        const std::string name = cfg_.Item(id::Event_NAME).GetValueText();
        const int n = DetectCourseFormat(cfg_, file);
        if (n == -1) {
            continue; // one of Kib's own sheets
        }
        if ((!course.empty() && course != cfg_.Item(id::Source_COURSE).GetValueText()) ||
            (!name.empty() && name != cfg_.Item(id::Event_NAME).GetValueText())) {
            cfg_.Reports().Error("Found files with different name formats");
            return false;
        }
        if (n > kMaxStation * 100) {
            cfg_.Reports().Error("Too high station number in file %s", file.c_str());
            continue;
        }
        const int station = n / 100;
        present_[static_cast<std::size_t>(station)] = true;
        lo_ = lo_ < 0 ? station : std::min(lo_, station);
        hi_ = std::max(hi_, station);
    }
    if (lo_ < 0) {
        cfg_.Reports().Error("No map SVG files found!");
        return false;
    }
    return true;
}

// A courses template that begins with the event name refers to it instead.
void ConfigCreation::KeepEventInCoursesTemplate() {
    const std::string& courses = cfg_.Item(id::Source_COURSES).GetValueText();
    const std::string& name = cfg_.Item(id::Event_NAME).GetValueText();
    if (courses.compare(0, name.size(), name) == 0) {
        SetText(id::Source_COURSES, std::string(kEventPlaceholder) + courses.substr(name.size()));
    }
}

bool ConfigCreation::TakeNames(const std::string& directory, ExportStations& stations) {
    cfg_.Reports().Info("Checking directory %s", directory.c_str());
    if (!TakeCoursesFile(directory) || !TakeMapFiles(directory)) {
        return false;
    }
    KeepEventInCoursesTemplate();
    stations = ExportStations{lo_, hi_, {}};
    for (int n = lo_; n <= hi_; ++n) {
        if (present_[static_cast<std::size_t>(n)]) {
            stations.present.push_back(n);
        }
    }
    return true;
}

} // namespace

bool TakeExportNames(CKibCfg& cfg, const std::string& directory, ExportStations& stations) {
    ConfigCreation creation(cfg);
    return creation.TakeNames(directory, stations);
}

void SetEventCounts(CKibCfg& cfg, const ExportStations& stations, const MapStatistics& map) {
    cfg.Item(id::Event_FLAGS).SetInt(map.flags);
    cfg.Item(id::Event_MAXSTAT).SetInt(stations.last);
    cfg.Item(id::Event_MINSTAT).SetInt(stations.first);
    if (map.tasks >= 1) {
        cfg.Item(id::Event_TASKS).SetInt(map.tasks);
    }
}

void CompleteCreation(CKibCfg& cfg, const ExportStations& stations, const MapStatistics& map) {
    // A new event's sheets carry only the map objects that their segment can
    // show (see the README): much smaller sheets, converted much faster.
    cfg.Item(id::Target_REDUCESIZE).SetText("Yes");
    SetEventCounts(cfg, stations, map);
    cfg.Pane().ShowStationRange(stations.first, stations.last);
    if (map.tasks >= 1) {
        cfg.PushToProperties();
        cfg.Reports().Info("Configuration successfully created, you can save it.");
        return;
    }
    cfg.Reports().Warning("Number of tasks not guessed! You must configure it manually.");
    cfg.PushToProperties();
    cfg.Reports().Info(cfg.GetHost().HasOutputWindow()
                           ? "Configuration partially created, you can save it, but check the "
                             "Output Window."
                           : "Configuration partially created, you can save it, but check the "
                             "lines above.");
}

} // namespace kib
