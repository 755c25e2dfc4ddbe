// The properties pane's structure as the configuration gives it: the groups in
// pane order with the items each shows, the items of a station group, which
// groups and items the settings of a configuration make meaningful, and the
// colour a value text shows. The desktop application builds its grid from it.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace kib {

class CCfgItem;
class CKibCfg;

// How the pane edits an item.
enum class PaneEntry {
    Text,      // free text
    Choice,    // one of the item's choices
    Font,      // a font family, free text with the installed families to choose from
    Colour,    // a colour picker
    Directory, // a folder, with a browse button
    File,      // a file, with an open-file button
};
PaneEntry PaneEntryOf(const CCfgItem& item);
// Whether a directory entry stores the chosen folder absolute (else relative to
// the configuration's folder).
bool StoresAbsolutePath(int itemId);

// One section group: the section's id and its items' ids in the order shown.
struct PaneGroup {
    int sectionId;
    std::initializer_list<int> itemIds;
};

// The fifteen section groups in the order of the pane.
std::span<const PaneGroup> PaneGroups();
// The items of a station group in the order shown, as ids of station 0
// (station n's: StationItemId(n, id)).
std::span<const int> PaneStationItems();

// What the settings of a configuration make meaningful.
struct PaneVisibility {
    int firstStation = 0; // the station groups first .. last are shown, the others hidden
    int lastStation = -1;
    std::vector<std::pair<int, bool>> items;          // item id, shown
    std::vector<std::pair<const char*, bool>> groups; // section group name, shown
};
// Every section group is shown unless listed hidden here.
PaneVisibility PaneVisibilityOf(const CKibCfg& cfg);

// The colour a value text shows: "R G B" as red + 256 * green + 65536 * blue,
// each component cut to its low byte; black for a text that names no colour.
int PaneColour(const std::string& text);

} // namespace kib
