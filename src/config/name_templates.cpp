#include "config/name_templates.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "foundation/first_letter.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "platform/paths.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace kib {

namespace {

constexpr const char kStat[] = "${STAT}";
constexpr const char kTask[] = "${TASK}";
constexpr const char kEvent[] = "${EVENT}";
constexpr const char kCourse[] = "${COURSE}";

// A NAME holding "${EVENT}", a COURSE holding "${COURSE}", or a NAME and a COURSE
// that name each other would make the replacement go on for ever. The replacement
// itself is kept exactly as it is (every round starts again from the beginning,
// so placeholders brought in by NAME and COURSE are replaced too, even those that
// form across the edges of an inserted value); it is only cut off, with an error,
// when it runs for more rounds or grows longer than any real file or course name
// can need. Every evaluation that ends by itself within these limits gives the
// same text as without them.
// (A real name needs a handful of rounds and stays far below a path's 4096 bytes.)
constexpr int kMaxRounds = 1000;
constexpr std::size_t kMaxLength = 16384;

std::string StationNumber(const CKibCfg& cfg, int station) {
    const std::string& format = cfg.Item(id::Event_NUMFMT).GetValue();
    const int width = FirstLetter(format, LetterCase::Exact) == 'F' ? 2 : 1;
    return Format("%0*d", width, station);
}

bool ReplaceFirst(std::string& text, const char* placeholder, const std::string& value) {
    const std::size_t at = text.find(placeholder);
    if (at == std::string::npos) {
        return false;
    }
    text.replace(at, std::char_traits<char>::length(placeholder), value);
    return true;
}

enum class Round { Replaced, Done, TaskRefused };

// One round: the first placeholder of the highest rank is replaced.
Round ReplaceOne(const CKibCfg& cfg, std::string& text, int station, int task) {
    if (ReplaceFirst(text, kStat, StationNumber(cfg, station))) {
        return Round::Replaced;
    }
    if (text.find(kTask) != std::string::npos) {
        if (task == 0) {
            return Round::TaskRefused;
        }
        ReplaceFirst(text, kTask, std::to_string(task));
        return Round::Replaced;
    }
    if (ReplaceFirst(text, kEvent, cfg.Item(id::Event_NAME).GetValueText())) {
        return Round::Replaced;
    }
    if (ReplaceFirst(text, kCourse, cfg.Item(id::Source_COURSE).GetValueText())) {
        return Round::Replaced;
    }
    return Round::Done;
}

std::string AppendSeparator(const std::string& directory) {
    return platform::WithSeparator(directory);
}

std::string WithExtension(std::string name, const char* extension) {
    if (extension != nullptr) {
        name += ".";
        name += extension;
    }
    return name;
}

// Print sheet of task t with k canvases per sheet among the station's tasks:
// the last task alone, else the block of k tasks that holds t (capped at the last task).
std::string PrintSheetName(int station, int task, int perSheet, int tasks) {
    if (task == tasks) {
        return Format("prn-%d.%d", station, tasks);
    }
    const int first = task - ((task % perSheet) + perSheet) % perSheet;
    const int last = std::min(first + perSheet - 1, tasks);
    return Format("prn-%d.%d-%d.%d", station, first, station, last);
}

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

bool StartsWith(const std::string& text, const std::string& head) {
    return text.compare(0, head.size(), head) == 0;
}

// One of Kib's own output files: "map-", "sol-" or "prn-" followed by a digit,
// ending with a number and nothing or "-tmp" before the extension.
bool IsOwnOutput(const std::string& f, std::size_t lastDigit, const std::string& suffix) {
    if (lastDigit < 4 || f[3] != '-' || !IsDigit(f[4])) {
        return false;
    }
    if (!suffix.empty() && suffix != "-tmp") {
        return false;
    }
    return StartsWith(f, "map") || StartsWith(f, "sol") || StartsWith(f, "prn");
}

// Station number of a digit run; a run too long for a station stays far above
// the highest station instead of overflowing.
int StationOfDigits(const std::string& digits) {
    constexpr long long kCap = 1000000;
    long long value = 0;
    for (char c : digits) {
        value = std::min(kCap, value * 10 + (c - '0'));
    }
    return static_cast<int>(value);
}

} // namespace

std::string EvalTemplate(const CKibCfg& cfg, int itemId, int station, int task) {
    const CCfgItem* item = cfg.FindItemById(itemId);
    if (item == nullptr) {
        return std::string();
    }
    std::string text = item->GetValue();
    cfg.Reports().Debug("Evaluating string %s", text.c_str());
    int rounds = 0;
    for (;;) {
        const Round round = ReplaceOne(cfg, text, station, task);
        if (round == Round::Done) {
            break;
        }
        if (round == Round::TaskRefused) {
            cfg.Reports().Error("Placeholder ${TASK} used in %s.%s is not possible in STAT mode!",
                                item->GetSection().GetName().c_str(), item->GetKey().c_str());
            return std::string();
        }
        if (++rounds > kMaxRounds || text.size() > kMaxLength) {
            cfg.Reports().Error("Placeholders used in %s.%s never end (check Event.NAME and "
                                "Source.COURSE)!",
                                item->GetSection().GetName().c_str(), item->GetKey().c_str());
            return std::string();
        }
    }
    if (rounds > 0) {
        cfg.Reports().Debug("Result: %s", text.c_str());
    }
    return text;
}

std::string MakeOutputName(const CKibCfg& cfg, const std::string& directory, int station, int task,
                           int canvasesPerSheet, const char* extension) {
    std::string base;
    if (canvasesPerSheet > 0) {
        base = PrintSheetName(station, task, canvasesPerSheet, cfg.GetTasks(station));
    } else {
        base = Format("map-%d.%d", station, task);
    }
    return WithExtension(AppendSeparator(directory) + base, extension);
}

std::string MakeSolutionName(const std::string& directory, int firstStation, int lastStation,
                             const char* extension) {
    const std::string base = lastStation == -1 ? Format("sol-%d", firstStation)
                                               : Format("sol-%d-%d", firstStation, lastStation);
    return WithExtension(AppendSeparator(directory) + base, extension);
}

int DetectCourseFormat(CKibCfg& cfg, const std::string& fileName) {
    std::string evt = cfg.Item(id::Event_NAME).GetValue();
    std::string f = fileName;
    if (!evt.empty() && StartsWith(f, evt)) {
        f.erase(0, evt.size());
    }
    // A name without extension is taken whole.
    const std::size_t dotFound = f.rfind('.');
    const std::size_t dot = dotFound == std::string::npos ? f.size() : dotFound;

    std::size_t g = dot; // last digit before the extension, dot when none
    for (std::size_t i = dot; i > 0; --i) {
        if (IsDigit(f[i - 1])) {
            g = i - 1;
            break;
        }
    }
    std::string prefix;
    std::string suffix;
    std::string digits;
    const bool hasNumber = g != dot;
    if (!hasNumber) {
        prefix = f.substr(0, dot);
    } else {
        suffix = f.substr(g + 1, dot - g - 1);
        if (IsOwnOutput(f, g, suffix)) {
            return -1;
        }
        // The first character always stays in the prefix.
        std::size_t start = g;
        while (start > 0 && IsDigit(f[start])) {
            --start;
        }
        prefix = f.substr(0, start + 1);
        digits = f.substr(start + 1, g - start);
    }

    const std::size_t lastDot = prefix.rfind('.');
    if (prefix.empty() || lastDot == std::string::npos) {
        evt.clear();
    } else {
        if (lastDot > 0) {
            evt += prefix.substr(0, lastDot);
        }
        prefix.erase(0, lastDot + 1);
    }

    int result = 100;
    if (!hasNumber) {
        cfg.Item(id::Source_COURSE).SetText(prefix);
    } else {
        if (digits.size() > 1 && digits[0] == '0') {
            cfg.Item(id::Event_NUMFMT).SetText("Fixed");
        }
        result = StationOfDigits(digits) * 100;
        cfg.Item(id::Source_COURSE).SetText(prefix + kStat + suffix);
    }
    cfg.Item(id::Event_NAME).SetText(evt);
    cfg.Item(id::Source_MAP).SetText(evt.empty() ? "${COURSE}.svg" : "${EVENT}.${COURSE}.svg");
    cfg.Reports().Debug("File %s has course name format %s", f.c_str(),
                        cfg.Item(id::Source_COURSE).GetValueText().c_str());
    return result;
}

} // namespace kib
