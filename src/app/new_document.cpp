// A new document from an OCAD export folder: the folder chosen through the host,
// the configuration derived from the exported file names (src/config/cfg_create.cpp)
// and from the first station's map (the special symbol numbers, flags, tasks and
// scale), and the document's state and closing box.
#include "app/documents.h"

#include "app/builtin_convert.h"
#include "config/cfg_create.h"
#include "config/cfg_ids.h"
#include "config/document_observer.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/property_pane.h"
#include "foundation/app_state.h"
#include "foundation/checked_number.h"
#include "foundation/log.h"
#include "map_input/document_exports.h"
#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"
#include "platform/paths.h"

#include <optional>

namespace kib {

namespace {

void GuessSymbols(CKibCfg& cfg, CKibMap& map) {
    auto setText = [&cfg](int itemId, const std::string& text) { cfg.Item(itemId).SetText(text); };
    if (map.standardChairFlagsFound) {
        setText(id::Source_CHAIR, "790.001");
        setText(id::Source_FLAG, map.Bundles(790, 3) >= 1 ? "790.002 790.003" : "790.002");
        setText(id::Source_ZERO, "790.004");
        LogInfo("Guessed OCAD symbol IDs for chair, flags and zero; check SOURCE configuration "
                "section!");
    }
    if (map.flagBundles != 0 && map.standardLettersFound) {
        setText(id::Source_LETTERS, "791");
        LogInfo("Guessed OCAD symbols for flag markers; check SOURCE.LETTERS configuration!");
    }
    const int columnHAnswers = map.CountBundles(19, 21, 7);
    if (columnHAnswers >= 1 && columnHAnswers <= 9) {
        setText(id::Source_ANSWERS, "19.021");
        LogInfo("Guessed OCAD symbols for correct answers; check SOURCE.ANSWERS configuration!");
    }
    const int letterAnswers = map.CountBundles(792, 0, 8);
    if (letterAnswers >= 1 && letterAnswers <= 9) {
        setText(id::Source_ANSWERS, "792");
        LogInfo("Guessed OCAD symbols for correct answers; check SOURCE.ANSWERS configuration!");
    }
}

// The map scale of the courses file, in the units of the map export: divided by
// the export's zoom. A new document has read no zoom yet; the zoom of the map just
// read is the one a later read of the exports finds.
void TakeScale(CKibDoc& doc, CKibCfg& cfg, const CKibMap& map) {
    ReadCourseList(doc);
    const float zoom = doc.mapZoom != 0.0f ? doc.mapZoom : map.zoom;
    const int scale = ScaleOverZoom(doc.mapScale, zoom);
    if (scale != 0) {
        cfg.Item(id::Event_SCALE).SetInt(scale);
    }
}

MapStatistics ReadFirstMap(CKibDoc& doc, int station) {
    MapStatistics stats;
    CKibSvg svg(doc);
    CKibMap* map = svg.ReadMap(station, 0) ? svg.GetMap() : nullptr;
    if (!map) {
        return stats;
    }
    CKibCfg& cfg = *doc.GetConfig();
    GuessSymbols(cfg, *map);
    TakeScale(doc, cfg, *map);
    stats.flags = map->flagBundles == 0 || map->flagBundles > 6 ? 6 : map->flagBundles;
    stats.tasks = map->taskEstimate;
    return stats;
}

} // namespace

bool CreateFromDirectory(CKibDoc& doc, const std::string& directory) {
    CKibCfg& cfg = *doc.GetConfig();
    ExportStations stations;
    if (!TakeExportNames(cfg, directory, stations)) {
        return false;
    }
    // A new event converts with the built-in converter where this Kib has one:
    // many times faster than Inkscape, with the same pages (see the README).
    if (BuiltInConverterAvailable()) {
        cfg.Item(id::System_CONVERTER).SetText("Builtin");
    }
    CompleteCreation(cfg, stations, ReadFirstMap(doc, stations.first));
    return true;
}

bool CreateDocument(CKibDoc& doc) {
    const std::optional<std::string> folder = App().GetHost().ChooseFolder(App().lastDirectory);
    if (!folder || folder->empty()) {
        doc.SetLoaded(false);
        return false;
    }
    return CreateDocumentFromFolder(doc, *folder);
}

bool CreateDocumentFromFolder(CKibDoc& doc, const std::string& folder) {
    doc.NewConfig();
    const std::string& directory = folder;
    if (directory.empty()) {
        // No folder at all is not the file-system root.
        ShowBox("Directory structure not recognized!\nSee the Output Window for details.",
                BoxIcon::Error);
        doc.SetLoaded(false);
        return false;
    }
    doc.SetPathParts(platform::WithSeparator(directory) + doc.GetTitle());
    App().lastDirectory = folder;
    App().errorFlag = false;
    App().warningFlag = false;
    PropertyPane& pane = ThePropertyPane();
    pane.ForgetOriginalValues();
    pane.AttachDocument(&doc);

    const bool created = CreateFromDirectory(doc, doc.GetDirectory());
    doc.SetLoaded(created);
    if (!created) {
        ShowBox("Directory structure not recognized!\nSee the Output Window for details.",
                BoxIcon::Error);
        return false;
    }
    doc.SetModifiedFlag(true);
    TheDocumentObserver().DocumentOpened(doc);
    ShowClosingBox(false,
                   "Configuration created with some errors!\nSee the Output Window for details.",
                   "Configuration created with some warnings!\nSee the Output Window for details.",
                   "Configuration created.");
    doc.SetNeverSaved(true);
    return true;
}

} // namespace kib
