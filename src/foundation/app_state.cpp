#include "foundation/app_state.h"

namespace kib {

namespace {

struct Defaults {
    NullHost host;
    NullPropertyPane pane;
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

PropertyPane& AppState::GetPropertyPane() {
    return propertyPane ? *propertyPane : NullInterfaces().pane;
}

MainWindow& AppState::GetMainWindow() {
    return mainWindow ? *mainWindow : NullInterfaces().mainWindow;
}

AppState& App() {
    static AppState state;
    return state;
}

void ResetAppState(Host* host, PropertyPane* pane, MainWindow* mainWindow) {
    AppState& app = App();
    app = AppState{};
    app.host = host;
    app.propertyPane = pane;
    app.mainWindow = mainWindow;
}

} // namespace kib
