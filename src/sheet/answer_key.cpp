// The answer key of a station against the answers its map gives.
#include "sheet/answer_key.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/diagnostics.h"
#include "foundation/format.h"
#include "map_input/kib_map.h"
#include "map_input/symbol_type.h"
#include "sheet/competition_composer.h"

#include <algorithm>

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

bool IsAnswerLetter(char c) {
    const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return (upper >= 'A' && upper <= 'F') || upper == 'Z';
}

std::string ConfiguredAnswer(const std::string& answers, int task) {
    if (task < 1 || static_cast<std::size_t>(task) > answers.size()) {
        return std::string();
    }
    const char c = answers[static_cast<std::size_t>(task) - 1];
    return std::string(1, c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
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
    answers.configured =
        cfg.Station(station) ? cfg.StationItem(station, id::Station_ANSWERS).GetValue() : "";
    for (int t = 1; t <= map.tasks; ++t) {
        TaskAnswer a;
        a.task = t;
        a.key = ColumnHAnswer(map, t);
        a.keySource = "column H";
        if (a.key.empty()) {
            answers.configuredUsed = !answers.configured.empty();
            a.key = ConfiguredAnswer(answers.configured, t);
            a.keySource = "ANSWERS of the station";
        }
        a.map = MapAnswerOf(map, t, answers.limitMetres, metresPerUnit);
        answers.tasks.push_back(std::move(a));
    }
    return answers;
}

namespace {

std::string Counted(int n, const char* one, const char* many) {
    return Format("%d %s", n, n == 1 ? one : many);
}

// The characters of ANSWERS that are no answer, each once and quoted: "\"X\"".
// A character of several bytes (UTF-8) is named whole.
std::vector<std::string> NoAnswers(const std::string& configured) {
    std::vector<std::string> found;
    for (std::size_t k = 0; k < configured.size();) {
        std::size_t end = k + 1;
        while (end < configured.size() &&
               (static_cast<unsigned char>(configured[end]) & 0xC0) == 0x80) {
            ++end;
        }
        const std::string c = "\"" + configured.substr(k, end - k) + "\"";
        if ((end - k != 1 || !IsAnswerLetter(configured[k])) &&
            std::find(found.begin(), found.end(), c) == found.end()) {
            found.push_back(c);
        }
        k = end;
    }
    return found;
}

// ANSWERS of the station that gives keys: as many answers as tasks, and answers only.
bool WarnConfiguredKey(const StationAnswers& answers, int station, Diagnostics& diagnostics) {
    const std::string& configured = answers.configured;
    bool sound = true;
    const int tasks = static_cast<int>(answers.tasks.size());
    if (static_cast<int>(configured.size()) != tasks) {
        diagnostics.Warning(
            "Station %d: ANSWERS=%s of the station has %s for %s", station, configured.c_str(),
            Counted(static_cast<int>(configured.size()), "answer", "answers").c_str(),
            Counted(tasks, "task", "tasks").c_str());
        sound = false;
    }
    const std::vector<std::string> others = NoAnswers(configured);
    if (!others.empty()) {
        std::string named;
        for (std::size_t k = 0; k < others.size(); ++k) {
            named += (k == 0 ? "" : k + 1 == others.size() ? " and " : ", ") + others[k];
        }
        diagnostics.Warning("Station %d: ANSWERS=%s of the station holds %s, which %s (A to "
                            "F, or Z for none of the flags)",
                            station, configured.c_str(), named.c_str(),
                            others.size() == 1 ? "is no answer" : "are no answers");
        sound = false;
    }
    return sound;
}

} // namespace

bool WarnAnswerDifferences(const StationAnswers& answers, int station, Diagnostics& diagnostics,
                           bool keyRequired) {
    std::string withoutKey;
    bool anyKey = false;
    bool agree = true;
    for (const TaskAnswer& a : answers.tasks) {
        if (a.key.empty()) {
            withoutKey += (withoutKey.empty() ? "" : ", ") + std::to_string(a.task);
            agree = false;
            continue;
        }
        anyKey = true;
        if (!IsAnswerLetter(a.key[0])) {
            agree = false; // named with the characters of ANSWERS below
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
    if (answers.configuredUsed) {
        // Its length and letters say why a task has no key, or a wrong one.
        agree = WarnConfiguredKey(answers, station, diagnostics) && agree;
    } else if (!withoutKey.empty() && (anyKey || keyRequired)) {
        diagnostics.Warning("Station %d: no answer key for task %s (column H holds none and "
                            "ANSWERS of the station is not set)",
                            station, withoutKey.c_str());
    }
    return agree;
}

namespace {

// The answer a task is meant to have: its key, else the map's own answer; 0
// when neither is known.
char IntendedAnswer(const TaskAnswer& a) {
    if (!a.key.empty()) {
        return a.key[0];
    }
    return a.map.kind == MapAnswer::Kind::Letter ? a.map.letter : 0;
}

} // namespace

std::vector<ZeroToleranceFinding> ZeroToleranceFindings(const StationAnswers& answers, int station,
                                                        double tolerance) {
    std::vector<ZeroToleranceFinding> findings;
    for (const TaskAnswer& a : answers.tasks) {
        const char answer = IntendedAnswer(a);
        if (answer == 'Z') {
            const FlagDistance& f = a.map.nearest;
            if (f.letter != 0 && f.metres < tolerance) {
                findings.push_back(
                    {a.task, Format("Station %d, task %d: zero task, but flag %c stands %.1f m "
                                    "from the control (zero tolerance %g m)",
                                    station, a.task, f.letter, f.metres, tolerance)});
            }
            continue;
        }
        if (answer == 0) {
            continue;
        }
        for (const FlagDistance& f : a.map.all) {
            if (f.letter != answer && f.metres < tolerance) {
                findings.push_back(
                    {a.task, Format("Station %d, task %d: answer %c, but flag %c stands %.1f m "
                                    "from the control too (zero tolerance %g m)",
                                    station, a.task, answer, f.letter, f.metres, tolerance)});
            }
        }
    }
    return findings;
}

void WarnZeroTolerance(const StationAnswers& answers, int station, std::optional<double> tolerance,
                       Diagnostics& diagnostics) {
    if (!tolerance) {
        return;
    }
    for (const ZeroToleranceFinding& f : ZeroToleranceFindings(answers, station, *tolerance)) {
        diagnostics.Say(DiagnosticKind::Warning, f.text);
    }
}

} // namespace kib
