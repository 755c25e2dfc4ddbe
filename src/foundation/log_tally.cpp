#include "foundation/log_tally.h"

#include "foundation/app_state.h"

#include <algorithm>

namespace kib {

Verdict Worse(Verdict a, Verdict b) {
    return static_cast<int>(a) >= static_cast<int>(b) ? a : b;
}

LogTally::LogTally() {
    App().tallies.push_back(this);
}

LogTally::~LogTally() {
    auto& tallies = App().tallies;
    tallies.erase(std::remove(tallies.begin(), tallies.end(), this), tallies.end());
}

std::vector<std::string> LogTally::Problems() const {
    std::vector<std::string> problems;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (problem_[i]) {
            problems.push_back(lines_[i]);
        }
    }
    return problems;
}

Verdict LogTally::GetVerdict() const {
    if (errors_ > 0) {
        return Verdict::Errors;
    }
    return warnings_ > 0 ? Verdict::Warnings : Verdict::Success;
}

void LogTally::Record(const std::string& line, Kind kind) {
    lines_.push_back(line);
    problem_.push_back(kind != Kind::Info);
    if (kind == Kind::Error) {
        ++errors_;
    } else if (kind == Kind::Warning) {
        ++warnings_;
    }
}

void RecordInTallies(const std::string& line, LogTally::Kind kind) {
    for (LogTally* tally : App().tallies) {
        tally->Record(line, kind);
    }
}

} // namespace kib
