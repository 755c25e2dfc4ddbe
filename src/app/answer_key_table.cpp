// The answer key of the chosen stations, read from their exports.
#include "app/answer_key_table.h"

#include "app/analyse_run.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/log.h"
#include "foundation/run_control.h"
#include "foundation/text_codec.h"
#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"
#include "sheet/answer_key.h"

namespace kib {

namespace {

// One warning for each task whose key the map does not confirm.
void WarnTask(const TaskAnswer& a, int station, double limitMetres) {
    if (a.key.empty()) {
        App().Log().Warning("Station %d, task %d: no answer key (column H holds none and "
                            "ANSWERS of the station is not set)",
                            station, a.task);
    } else if (a.map.kind == MapAnswer::Kind::Ambiguous) {
        App().Log().Warning("Station %d, task %d: the answer key says %s (%s), but the "
                            "map's answer is ambiguous (%s)",
                            station, a.task, a.key.c_str(), a.keySource.c_str(),
                            a.map.Evidence(limitMetres).c_str());
    } else if (a.Differs()) {
        App().Log().Warning("Station %d, task %d: the answer key says %s (%s), but the map "
                            "says %c (%s)",
                            station, a.task, a.key.c_str(), a.keySource.c_str(), a.map.letter,
                            a.map.Evidence(limitMetres).c_str());
    } else if (a.map.kind == MapAnswer::Kind::Unknown) {
        App().Log().Warning("Station %d, task %d: the answer key says %s (%s), but the map "
                            "cannot tell (%s)",
                            station, a.task, a.key.c_str(), a.keySource.c_str(),
                            a.map.reason.c_str());
    }
}

KeyRow RowOf(const TaskAnswer& a, int station, const CKibSvg& svg) {
    KeyRow row;
    row.station = station;
    row.task = a.task;
    if (a.task >= 1 && a.task <= svg.controlCount) {
        row.code = ToUtf8(svg.codes[static_cast<std::size_t>(a.task)]);
    }
    row.key = a.key;
    row.map = a.map.Letters();
    row.flag = a.map.nearest.letter;
    row.metres = a.map.nearest.letter != 0 ? a.map.nearest.metres : -1.0;
    row.agree = !a.Differs() && !a.Unknown();
    return row;
}

// One station's rows; false when it could not be read.
bool TakeStation(CKibSvg& svg, int station, AnswerKeyTable& table) {
    std::string failed;
    if (!ReadStationMap(svg, station, failed)) {
        App().Log().Error("Station %d: %s, its tasks are left out of the answer key", station,
                          failed.c_str());
        return false;
    }
    const StationAnswers answers = CheckAnswerKey(svg.GetDocument(), *svg.GetMap(), station);
    for (const TaskAnswer& a : answers.tasks) {
        WarnTask(a, station, answers.limitMetres);
        table.rows.push_back(RowOf(a, station, svg));
    }
    table.stations.push_back(station);
    return true;
}

} // namespace

int CollectAnswerKey(CKibDoc& doc, const std::vector<int>& stations, AnswerKeyTable& table) {
    const CKibCfg& cfg = *doc.GetConfig();
    table.title1 = ToUtf8(cfg.Item(id::Event_TITLE1).GetValue());
    table.title2 = ToUtf8(cfg.Item(id::Event_TITLE2).GetValue());
    table.date = ToUtf8(cfg.Item(id::Event_DATE).GetValue());
    table.name = ToUtf8(cfg.Item(id::Event_NAME).GetValue());
    table.stationWord = ToUtf8(cfg.Item(id::Text_STATION).GetValue());
    table.font = ToUtf8(cfg.Item(id::Target_FONTNAME).GetValue());
    // The stop poll answers "stop" unless a run is active.
    const bool startedRun = !RUNNING();
    if (startedRun) {
        SetRunning(true);
    }
    const LogScope tally;
    bool failed = false;
    CKibSvg svg(doc);
    for (int station : stations) {
        if (CheckBreak()) {
            App().Log().Error("Stopped before station %d: the answer key is not complete", station);
            failed = true;
            table.stopped = true;
            break;
        }
        failed = !TakeStation(svg, station, table) || failed;
    }
    if (startedRun && RUNNING()) {
        SetRunning(false);
    }
    SetStatusText("Ready");
    if (failed || tally.Errors() > 0) {
        return 2;
    }
    return tally.Warnings() > 0 ? 1 : 0;
}

} // namespace kib
