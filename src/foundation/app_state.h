// The one application-state object: every piece of process-wide mutable state
// lives here and is reached through App().
#pragma once

#include "foundation/diagnostics.h"
#include "foundation/host.h"
#include "foundation/open_counts.h"

#include <map>
#include <string>
#include <vector>

namespace kib {

// Kind of the Inkscape program found at run time, by its command-line dialect:
// Old for 0.9x, New for 1.0 to 1.2, Newest for 1.3 and later.
enum class InkscapeKind { Unknown = -1, Old = 0, New = 11, Newest = 13 };

class LogScope;

struct AppState {
    std::vector<LogScope*> logScopes; // the open scopes of the application log, innermost last
    bool debugSwitch = false;
    bool running = false;
    InkscapeKind inkscapeKind = InkscapeKind::Unknown;
    std::string inkscapeProgram; // full path of the Inkscape program once detected
    std::string lastFormat;      // last output format chosen in a Make command
    std::string lastDirectory;   // last directory a document took its path from
    // How long a Make run waits for another run of the same event to end.
    int eventLockWaitMs = 10000;
    // How often each input file (configuration, map export, courses file, an
    // earlier sheet) was opened for reading since start-up, by path: a command
    // reads each of its inputs once, and the tests hold it to that. Counted
    // from the workers that read sheets too.
    OpenCounts inputOpens;

    Host* host = nullptr;
    HostInterface* propertyPane = nullptr; // a PropertyPane (src/config/property_pane.h)
    HostInterface* documentObserver =
        nullptr; // a DocumentObserver (src/config/document_observer.h)

    Host& GetHost();
    // The log as diagnostics: every entry reported into it goes to the panes of
    // the host installed at the time (WriteLogLines).
    Diagnostics& Log();
    // A host that passes every call on to the host installed at the time of the
    // call: for objects that keep a host across a change of it (tests).
    Host& CurrentHost();
};

AppState& App();

// What the application log received while the scope was open, for the verdict of
// a step of the commands that reports into the application log (a conversion,
// a command's closing). Scopes nest: an entry counts in every open one.
class LogScope : public DiagnosticsTally {
  public:
    LogScope();
    ~LogScope() override;
    LogScope(const LogScope&) = delete;
    LogScope& operator=(const LogScope&) = delete;
};

// Puts the application state back to its start-up values and installs the given
// interfaces (null means "do nothing" implementations).
void ResetAppState(Host* host = nullptr, HostInterface* pane = nullptr,
                   HostInterface* documentObserver = nullptr);

} // namespace kib
