// A new configuration derived from an OCAD export directory: the event name
// and the file name templates from the exported file names, the station range
// from the map files present, the special symbol numbers, the number of flags
// and tasks and the map scale from the first station's map. Everything else
// stays at its default for the user to complete and save.
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/name_templates.h"
#include "foundation/app_state.h"
#include "foundation/checked_number.h"
#include "foundation/log.h"
#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace kib {

namespace {

constexpr const char* kCoursesSuffix = ".Courses.xml";
constexpr std::size_t kCoursesSuffixLength = 12;
constexpr const char* kEventPlaceholder = "${EVENT}";

// The names of the regular files of the directory that end with the suffix, in
// byte order of their names, so that every run examines them in the same order.
// The comparison is exact: the name templates can only name such files.
std::vector<std::string> FilesEndingWith(const std::string& directory, const std::string& suffix) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(directory.empty() ? std::string(".") : directory, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) {
            continue;
        }
        std::string name = it->path().filename().string();
        if (name.size() >= suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// What the first station's map tells about the event.
struct MapStatistics {
    int flags = 6;
    int tasks = 0;
};

class ConfigCreation {
  public:
    explicit ConfigCreation(CKibCfg& cfg) : cfg_(cfg) {}

    bool Run(const std::string& directory);

  private:
    bool TakeCoursesFile(const std::string& directory);
    bool TakeMapFiles(const std::string& directory);
    void KeepEventInCoursesTemplate();
    MapStatistics ReadFirstMap();
    void GuessSymbols(CKibMap& map);
    void TakeScale(CKibDoc& doc, const CKibMap& map);
    void SetText(int itemId, const std::string& text) { cfg_.Item(itemId).SetText(text); }

    CKibCfg& cfg_;
    std::array<bool, kMaxStation + 1> present_{};
    int lo_ = -1;
    int hi_ = -1;
};

bool ConfigCreation::TakeCoursesFile(const std::string& directory) {
    const std::vector<std::string> courses = FilesEndingWith(directory, kCoursesSuffix);
    if (courses.empty()) {
        LogError("[** ERROR **] Cannot find XML file for course definition");
        return false;
    }
    const std::string& name = courses.front();
    SetText(id::Event_NAME, name.substr(0, name.size() - kCoursesSuffixLength));
    SetText(id::Source_COURSES, "${EVENT}.Courses.xml");
    SetText(id::Source_MODE, "STAT");
    return true;
}

bool ConfigCreation::TakeMapFiles(const std::string& directory) {
    const std::vector<std::string> maps = FilesEndingWith(directory, ".svg");
    if (maps.empty()) {
        LogError("[** ERROR **] Cannot find SVG map files");
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
            LogError("[** ERROR **] Found files with different name formats");
            return false;
        }
        if (n > kMaxStation * 100) {
            LogError("[** ERROR **] Too high station number in file %s", file.c_str());
            continue;
        }
        const int station = n / 100;
        present_[static_cast<std::size_t>(station)] = true;
        lo_ = lo_ < 0 ? station : std::min(lo_, station);
        hi_ = std::max(hi_, station);
    }
    if (lo_ < 0) {
        LogError("[** ERROR **] No map SVG files found!");
        return false;
    }
    return true;
}

// A courses template that begins with the event name refers to it instead.
void ConfigCreation::KeepEventInCoursesTemplate() {
    const std::string& courses = cfg_.Item(id::Source_COURSES).GetValueText();
    const std::string& name = cfg_.Item(id::Event_NAME).GetValueText();
    if (courses.compare(0, name.size(), name) == 0) {
        SetText(id::Source_COURSES, kEventPlaceholder + courses.substr(name.size()));
    }
}

void ConfigCreation::GuessSymbols(CKibMap& map) {
    if (map.standardChairFlagsFound) {
        SetText(id::Source_CHAIR, "790.001");
        SetText(id::Source_FLAG, map.Bundles(790, 3) >= 1 ? "790.002 790.003" : "790.002");
        SetText(id::Source_ZERO, "790.004");
        LogInfo("Guessed OCAD symbol IDs for chair, flags and zero; check SOURCE configuration "
                "section!");
    }
    if (map.flagBundles != 0 && map.standardLettersFound) {
        SetText(id::Source_LETTERS, "791");
        LogInfo("Guessed OCAD symbols for flag markers; check SOURCE.LETTERS configuration!");
    }
    const int columnHAnswers = map.CountBundles(19, 21, 7);
    if (columnHAnswers >= 1 && columnHAnswers <= 9) {
        SetText(id::Source_ANSWERS, "19.021");
        LogInfo("Guessed OCAD symbols for correct answers; check SOURCE.ANSWERS configuration!");
    }
    const int letterAnswers = map.CountBundles(792, 0, 8);
    if (letterAnswers >= 1 && letterAnswers <= 9) {
        SetText(id::Source_ANSWERS, "792");
        LogInfo("Guessed OCAD symbols for correct answers; check SOURCE.ANSWERS configuration!");
    }
}

// The map scale of the courses file, in the units of the map export: divided by
// the export's zoom. A new document has read no zoom yet; the zoom of the map just
// read is the one a later read of the exports finds.
void ConfigCreation::TakeScale(CKibDoc& doc, const CKibMap& map) {
    doc.ReadCourseList();
    const float zoom = doc.mapZoom != 0.0f ? doc.mapZoom : map.zoom;
    const int scale = ScaleForZoom(doc.mapScale, zoom);
    if (scale != 0) {
        cfg_.Item(id::Event_SCALE).SetInt(scale);
    }
}

MapStatistics ConfigCreation::ReadFirstMap() {
    MapStatistics stats;
    CKibDoc* doc = cfg_.GetDocument();
    if (!doc) {
        return stats;
    }
    CKibSvg svg(*doc);
    CKibMap* map = svg.ReadMap(lo_, 0) ? svg.GetMap() : nullptr;
    if (!map) {
        return stats;
    }
    GuessSymbols(*map);
    TakeScale(*doc, *map);
    stats.flags = map->flagBundles == 0 || map->flagBundles > 6 ? 6 : map->flagBundles;
    stats.tasks = map->taskEstimate;
    return stats;
}

bool ConfigCreation::Run(const std::string& directory) {
    LogInfo("Checking directory %s", directory.c_str());
    if (!TakeCoursesFile(directory) || !TakeMapFiles(directory)) {
        return false;
    }
    KeepEventInCoursesTemplate();
    const MapStatistics stats = ReadFirstMap();
    // A new event's sheets carry only the map objects that their segment can
    // show (see the README): much smaller sheets, converted much faster.
    cfg_.Item(id::Target_REDUCESIZE).SetText("Yes");
    cfg_.Item(id::Event_FLAGS).SetInt(stats.flags);
    cfg_.Item(id::Event_MAXSTAT).SetInt(hi_);
    cfg_.Item(id::Event_MINSTAT).SetInt(lo_);
    App().GetPropertyPane().ShowStationRange(lo_, hi_);
    if (stats.tasks >= 1) {
        cfg_.Item(id::Event_TASKS).SetInt(stats.tasks);
        cfg_.PushToProperties();
        LogInfo("Configuration successfully created, you can save it.");
        return true;
    }
    LogWarning("[= WARNING =] Number of tasks not guessed! You must configure it manually.");
    cfg_.PushToProperties();
    LogInfo("Configuration partially created, you can save it, but check the Output Window.");
    return true;
}

} // namespace

bool CKibCfg::CreateFromDirectory(const std::string& directory) {
    ConfigCreation creation(*this);
    return creation.Run(directory);
}

bool CKibDoc::OnNewDocument() {
    const std::optional<std::string> folder = App().GetHost().ChooseFolder(App().lastDirectory);
    if (!folder || folder->empty()) {
        SetLoaded(false);
        return false;
    }
    return NewFromFolder(*folder);
}

bool CKibDoc::NewFromFolder(const std::string& folder) {
    CKibCfg& cfg = NewConfig();
    std::string directory = folder;
    if (directory.empty()) {
        // No folder at all is not the file-system root.
        ShowBox("Directory structure not recognized!\nSee the Output Window for details.",
                BoxIcon::Error);
        SetLoaded(false);
        return false;
    }
    if (directory.back() != '/') {
        directory += '/';
    }
    SetPathParts(directory + GetTitle());
    App().lastDirectory = folder;
    App().errorFlag = false;
    App().warningFlag = false;
    PropertyPane& pane = App().GetPropertyPane();
    pane.ForgetOriginalValues();
    pane.AttachDocument(this);

    const bool created = cfg.CreateFromDirectory(GetDirectory());
    SetLoaded(created);
    if (!created) {
        ShowBox("Directory structure not recognized!\nSee the Output Window for details.",
                BoxIcon::Error);
        return false;
    }
    SetModifiedFlag(true);
    App().GetMainWindow().NewDocumentWindowOpening();
    ShowClosingBox(false,
                   "Configuration created with some errors!\nSee the Output Window for details.",
                   "Configuration created with some warnings!\nSee the Output Window for details.",
                   "Configuration created.");
    SetNeverSaved(true);
    return true;
}

} // namespace kib
