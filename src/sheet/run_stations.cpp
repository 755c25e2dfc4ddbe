#include "sheet/run_stations.h"

#include "foundation/diagnostics.h"
#include "map_input/configured_counts.h"
#include "map_input/kib_svg.h"

namespace kib {

bool ReadStationMap(CKibSvg& svg, int station, CKibMap*& map) {
    map = nullptr;
    if (!svg.ReadCourses(station)) {
        return false;
    }
    Diagnostics& diagnostics = svg.Diag();
    DiagnosticsTally tally(&diagnostics);
    svg.ReportInto(tally);
    const bool read = svg.ReadMap(station, 1);
    svg.ReportInto(diagnostics);
    if (tally.Errors() > 0) {
        return true;
    }
    if (!read || !svg.GetMap()) {
        // A map that ends early or holds an unreadable line gives no analysis:
        // nothing may be composed from it.
        diagnostics.Error("Map of station %d could not be read completely!", station);
        return true;
    }
    map = svg.GetMap();
    CompareConfiguredCounts(svg, station);
    return true;
}

} // namespace kib
