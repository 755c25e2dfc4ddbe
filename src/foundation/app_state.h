// The one application-state object: every piece of process-wide mutable state
// lives here and is reached through App().
#pragma once

#include "foundation/host.h"

#include <string>

namespace kib {

// Kind of the Inkscape program found at run time.
enum class InkscapeKind { Unknown = 0, Old = 1, New = 2, Newest = 3 };

struct AppState {
    bool errorFlag = false;
    bool warningFlag = false;
    bool debugSwitch = false;
    bool running = false;
    InkscapeKind inkscapeKind = InkscapeKind::Unknown;
    std::string lastFormat;    // last output format chosen in a Make command
    std::string lastDirectory; // last directory a document took its path from

    Host* host = nullptr;
    PropertyPane* propertyPane = nullptr;
    MainWindow* mainWindow = nullptr;

    Host& GetHost();
    PropertyPane& GetPropertyPane();
    MainWindow& GetMainWindow();
};

AppState& App();

// Puts the application state back to its start-up values and installs the given
// interfaces (null means "do nothing" implementations).
void ResetAppState(Host* host = nullptr, PropertyPane* pane = nullptr,
                   MainWindow* mainWindow = nullptr);

} // namespace kib
