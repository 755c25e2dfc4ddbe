// The answer key of a station against the answers its map gives.
#include "app/answer_key.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "map_input/kib_map.h"
#include "map_input/symbol_type.h"
#include "sheet/competition_composer.h"

namespace kib {

bool TaskAnswer::Differs() const {
    if (map.kind == MapAnswer::Kind::Ambiguous) {
        return true;
    }
    return map.kind == MapAnswer::Kind::Letter && !key.empty() && key[0] != map.letter;
}

bool TaskAnswer::Unknown() const {
    return key.empty() || map.kind == MapAnswer::Kind::Unknown;
}

std::string TaskAnswer::Line(double limitMetres) const {
    std::string line = Format("task %d: key ", task);
    line += key.empty() ? std::string("?") : key + " (" + keySource + ")";
    line += ", map " + map.Letters() + " (" + map.Evidence(limitMetres) + ")";
    if (Differs()) {
        line += " - DIFFERENT";
    }
    return line;
}

std::string ColumnHAnswer(const CKibMap& map, int task) {
    if (!map.answersId.valid) {
        return std::string();
    }
    const int base = map.answersId.minor < 0 ? 1 : map.answersId.minor;
    const int row = TaskDescriptionRow(map, task, task + 1);
    for (int k = 1; k <= map.RowEntryCount(row); ++k) {
        const SymbolInstance* inst = map.RowEntry(row, k);
        if (inst && (inst->type & TYPE_ANSWER) && inst->major == map.answersId.major) {
            const int index = inst->minor - base;
            if (index >= 0 && index <= 5) {
                return std::string(1, static_cast<char>('A' + index));
            }
            if (index == 6) {
                return "Z";
            }
        }
    }
    return std::string();
}

StationAnswers CheckAnswerKey(const CKibDoc& doc, CKibMap& map, int station) {
    StationAnswers answers;
    const CKibCfg& cfg = *doc.GetConfig();
    answers.limitMetres = AnswerDistance(cfg);
    const double metresPerUnit = MetresPerMapUnit(doc, map);
    const std::string configured =
        cfg.Station(station) ? cfg.StationItem(station, id::Station_ANSWERS).GetValue() : "";
    for (int t = 1; t <= map.tasks; ++t) {
        TaskAnswer a;
        a.task = t;
        a.key = ColumnHAnswer(map, t);
        a.keySource = "column H";
        if (a.key.empty() && static_cast<int>(configured.size()) >= t) {
            a.key = configured.substr(static_cast<std::size_t>(t - 1), 1);
            a.keySource = "ANSWERS of the station";
        }
        a.map = MapAnswerOf(map, t, answers.limitMetres, metresPerUnit);
        answers.tasks.push_back(std::move(a));
    }
    return answers;
}

bool WarnAnswerDifferences(const StationAnswers& answers, int station, Diagnostics& diagnostics) {
    std::string withoutKey;
    bool agree = true;
    for (const TaskAnswer& a : answers.tasks) {
        if (a.key.empty()) {
            withoutKey += (withoutKey.empty() ? "" : ", ") + std::to_string(a.task);
            agree = false;
            continue;
        }
        if (a.map.kind == MapAnswer::Kind::Ambiguous) {
            diagnostics.Warning("Station %d, task %d: the answer key says %s (%s), but the "
                                "map's answer is ambiguous (%s)",
                                station, a.task, a.key.c_str(), a.keySource.c_str(),
                                a.map.Evidence(answers.limitMetres).c_str());
            agree = false;
        } else if (a.Differs()) {
            diagnostics.Warning("Station %d, task %d: the answer key says %s (%s), but the "
                                "map says %c (%s)",
                                station, a.task, a.key.c_str(), a.keySource.c_str(), a.map.letter,
                                a.map.Evidence(answers.limitMetres).c_str());
            agree = false;
        } else if (a.map.kind == MapAnswer::Kind::Unknown) {
            agree = false;
        }
    }
    if (!withoutKey.empty()) {
        diagnostics.Warning("Station %d: no answer key for task %s (column H holds none and "
                            "ANSWERS of the station is not set)",
                            station, withoutKey.c_str());
    }
    return agree;
}

} // namespace kib
