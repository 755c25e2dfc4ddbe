// What a run, a station or a command logged while it worked: every line of the
// Messages pane with the number of error and warning lines among them, for its
// own verdict. The global counters of the log count for the whole program; a
// tally counts only from its opening to its end, so an error of one station is
// never lost or blamed on another. Tallies nest: a line counts in every open one.
#pragma once

#include <string>
#include <vector>

namespace kib {

// The closing verdict of an operation: errors first, then warnings, else success.
enum class Verdict { Success, Warnings, Errors };

// The worse of two verdicts.
Verdict Worse(Verdict a, Verdict b);

class LogTally {
  public:
    enum class Kind { Info, Warning, Error };

    LogTally();
    ~LogTally();
    LogTally(const LogTally&) = delete;
    LogTally& operator=(const LogTally&) = delete;

    int Errors() const { return errors_; }
    int Warnings() const { return warnings_; }
    // Every Messages line logged while the tally was open, in order.
    const std::vector<std::string>& Lines() const { return lines_; }
    // The error and warning lines only.
    std::vector<std::string> Problems() const;
    Verdict GetVerdict() const;

    // Called by the log for every Messages line.
    void Record(const std::string& line, Kind kind);

  private:
    int errors_ = 0;
    int warnings_ = 0;
    std::vector<std::string> lines_;
    std::vector<bool> problem_;
};

// Called by the log: the line counts in every open tally.
void RecordInTallies(const std::string& line, LogTally::Kind kind);

} // namespace kib
