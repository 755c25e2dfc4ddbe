#include "sheet/run_stations.h"

#include "foundation/diagnostics.h"
#include "map_input/configured_counts.h"
#include "map_input/kib_svg.h"
#include "map_input/task_pairing.h"

namespace kib {

MapExportRead ReadMapExport(CKibSvg& svg, int station) {
    Diagnostics& diagnostics = svg.Diag();
    DiagnosticsTally tally(&diagnostics);
    svg.ReportInto(tally);
    MapExportRead result;
    result.read = svg.ReadMap(station, 1) && svg.GetMap();
    svg.ReportInto(diagnostics);
    result.errors = tally.Errors();
    if (!result.read && result.errors == 0) {
        // A map that ends early or holds an unreadable line gives no analysis:
        // nothing may be composed from it.
        diagnostics.Error("Map of station %d could not be read completely!", station);
        ++result.errors;
    }
    return result;
}

bool ReadStationMap(CKibSvg& svg, int station, CKibMap*& map) {
    map = nullptr;
    if (!svg.ReadCourses(station)) {
        return false;
    }
    if (const MapExportRead read = ReadMapExport(svg, station); !read.read || read.errors > 0) {
        return true;
    }
    // A task that is not on its own course control, circle and description row
    // would be drawn around another task's circle: nothing is composed then.
    const bool paired = CheckTaskPairing(svg, *svg.GetMap(), station);
    CompareConfiguredCounts(svg, station, paired);
    if (paired) {
        map = svg.GetMap();
    }
    return true;
}

} // namespace kib
