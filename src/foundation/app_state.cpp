#include "foundation/app_state.h"

namespace kib {

namespace {

// The host that answers until one is installed.
NullHost& NoHost() {
    static NullHost host;
    return host;
}

} // namespace

Host& AppState::GetHost() {
    return host ? *host : NoHost();
}

AppState& App() {
    static AppState state;
    return state;
}

void ResetAppState(Host* host, HostInterface* pane, HostInterface* documentObserver) {
    AppState& app = App();
    app = AppState{};
    app.host = host;
    app.propertyPane = pane;
    app.documentObserver = documentObserver;
}

} // namespace kib
