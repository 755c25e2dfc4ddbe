// The zero tolerance checked station by station.
#include "app/event_rules.h"

#include "app/analyse_run.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/log.h"
#include "foundation/run_control.h"
#include "map_input/kib_svg.h"
#include "map_input/map_answer.h"
#include "sheet/answer_key.h"

#include <string>

namespace kib {

bool CheckZeroTolerance(CKibDoc& doc, const std::vector<int>& stations) {
    const std::optional<double> tolerance = ZeroTolerance(*doc.GetConfig());
    if (!tolerance) {
        return true;
    }
    // The stop poll answers "stop" unless a run is active.
    const bool startedRun = !RUNNING();
    if (startedRun) {
        SetRunning(true);
    }
    CKibSvg svg(doc);
    bool read = true;
    int found = 0;
    for (int station : stations) {
        if (CheckBreak()) {
            App().Log().Error("Stopped before station %d: the zero tolerance is not checked",
                              station);
            read = false;
            break;
        }
        std::string failed;
        if (!ReadStationMap(svg, station, failed)) {
            App().Log().Error("Station %d: %s, its zero tolerance is not checked", station,
                              failed.c_str());
            read = false;
            continue;
        }
        const StationAnswers answers = CheckAnswerKey(doc, *svg.GetMap(), station);
        found += static_cast<int>(ZeroToleranceFindings(answers, station, *tolerance).size());
        WarnZeroTolerance(answers, station, tolerance, App().Log());
    }
    if (startedRun && RUNNING()) {
        SetRunning(false);
    }
    SetStatusText("Ready");
    App().Log().Info("Zero tolerance %g m: %d flag%s too close in %d station%s.", *tolerance, found,
                     found == 1 ? "" : "s", static_cast<int>(stations.size()),
                     stations.size() == 1 ? "" : "s");
    return read;
}

} // namespace kib
