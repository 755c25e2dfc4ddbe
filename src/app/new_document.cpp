// A new document from an OCAD export folder: the folder chosen through the host,
// the configuration derived from the exported file names (src/config/cfg_create.cpp),
// from the first station's map (the special symbol numbers and the scale) and from
// every station's map and course (the tasks, flags and answers, new_event_stations.h),
// a layout that holds the largest station (new_event_layout.h), and the document's
// state and closing box.
#include "app/documents.h"

#include "app/builtin_convert.h"
#include "app/new_event_layout.h"
#include "app/new_event_stations.h"
#include "config/cfg_create.h"
#include "config/cfg_ids.h"
#include "config/document_observer.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/property_pane.h"
#include "foundation/app_state.h"
#include "foundation/log.h"
#include "platform/paths.h"

#include <optional>

namespace kib {

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
    // The stations' maps give the event's values only once the symbols are known.
    MapStatistics event;
    if (ReadFirstMap(doc, stations.first)) {
        const std::vector<StationFacts> facts = ReadEveryStation(doc, stations);
        event = EventValues(facts);
        SetEventCounts(cfg, stations, event);
        WriteStationValues(cfg, facts, event);
        FitNewEventLayout(cfg);
    }
    CompleteCreation(cfg, stations, event);
    if (event.tasks >= 1) {
        CheckNewEventLayout(doc);
    }
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
    AttachDocument(doc);
    doc.NewConfig();
    const std::string& directory = folder;
    if (directory.empty()) {
        // No folder at all is not the file-system root.
        ShowBox("Directory structure not recognized!" + DetailsHint(App().GetHost()),
                BoxIcon::Error);
        doc.SetLoaded(false);
        return false;
    }
    doc.SetPathParts(platform::WithSeparator(directory) + doc.GetTitle());
    App().lastDirectory = folder;
    const LogScope tally;
    PropertyPane& pane = doc.Pane();
    pane.ForgetOriginalValues();
    pane.AttachDocument(&doc);

    const bool created = CreateFromDirectory(doc, doc.GetDirectory());
    doc.SetLoaded(created);
    if (!created) {
        ShowBox("Directory structure not recognized!" + DetailsHint(App().GetHost()),
                BoxIcon::Error);
        return false;
    }
    doc.SetModifiedFlag(true);
    doc.NotifyOpened();
    const std::string details = DetailsHint(App().GetHost());
    ShowClosingBox(tally.GetVerdict(), "Configuration created with some errors!" + details,
                   "Configuration created with some warnings!" + details, "Configuration created.");
    doc.SetNeverSaved(true);
    return true;
}

} // namespace kib
