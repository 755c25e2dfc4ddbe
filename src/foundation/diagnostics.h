// What a step reports: each entry has its kind, the station and task it
// concerns where it has one, and its text. Readers, the layout, composers, runs
// and converters report into a Diagnostics they are handed; the log and the
// output pane are consumers of it, and every verdict (a station failed, a
// command's closing box and exit status, a proof colour) is worked out from the
// kinds of the entries, never from the text of a line.
#pragma once

#include <string>
#include <vector>

namespace kib {

enum class DiagnosticKind { Info, Warning, Error, Debug };

inline constexpr int kNoStation = -1;
inline constexpr int kNoTask = -1;

struct Diagnostic {
    DiagnosticKind kind = DiagnosticKind::Info;
    int station = kNoStation;
    int task = kNoTask;
    std::string text; // without the log's prefix
};

// The closing verdict of an operation: errors first, then warnings, else success.
enum class Verdict { Success, Warnings, Errors };

// The worse of two verdicts.
Verdict Worse(Verdict a, Verdict b);

class Diagnostics {
  public:
    virtual ~Diagnostics() = default;
    virtual void Report(const Diagnostic& entry) = 0;
    // Whether debug entries are wanted at all: when not, they are not even formatted.
    virtual bool WantsDebug() const = 0;

    // printf-style reporting of the four kinds.
    void Error(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Warning(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Info(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Debug(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // The same for a text that comes whole (a line of another program, a
    // recorded line), so that its percent signs are not read.
    void Say(DiagnosticKind kind, std::string text);
};

// Diagnostics that go nowhere: for a step whose reports nobody reads (a probe).
class SilentDiagnostics : public Diagnostics {
  public:
    void Report(const Diagnostic&) override {}
    bool WantsDebug() const override { return false; }
};

// Keeps what a station, a run or a command reported while it worked (debug
// entries aside) and passes every entry on to the diagnostics it was opened
// over, if any. Entries without a station (or task) get the tally's own, so a
// reader that knows nothing of stations still reports for the right one.
// Without a parent it only records: a test's recording diagnostics.
class DiagnosticsTally : public Diagnostics {
  public:
    explicit DiagnosticsTally(Diagnostics* parent = nullptr, int station = kNoStation,
                              int task = kNoTask);

    void Report(const Diagnostic& entry) override;
    bool WantsDebug() const override;

    int Errors() const { return errors_; }
    int Warnings() const { return warnings_; }
    // Every entry but the debug ones, in order.
    const std::vector<Diagnostic>& Entries() const { return entries_; }
    Verdict GetVerdict() const;
    // Forgets what was counted and kept so far.
    void Clear() {
        errors_ = warnings_ = 0;
        entries_.clear();
    }

  private:
    Diagnostics* parent_;
    int station_;
    int task_;
    int errors_ = 0;
    int warnings_ = 0;
    std::vector<Diagnostic> entries_;
};

} // namespace kib
