#include "foundation/app_state.h"

namespace kib {

namespace {

struct Defaults {
    NullHost host;
    NullMainWindow mainWindow;
};

Defaults& NullInterfaces() {
    static Defaults defaults;
    return defaults;
}

} // namespace

Host& AppState::GetHost() {
    return host ? *host : NullInterfaces().host;
}

MainWindow& AppState::GetMainWindow() {
    return mainWindow ? *mainWindow : NullInterfaces().mainWindow;
}

AppState& App() {
    static AppState state;
    return state;
}

void ResetAppState(Host* host, HostInterface* pane, MainWindow* mainWindow) {
    AppState& app = App();
    app = AppState{};
    app.host = host;
    app.propertyPane = pane;
    app.mainWindow = mainWindow;
}

} // namespace kib
