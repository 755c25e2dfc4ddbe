#include "foundation/app_state.h"

#include "foundation/log.h"

#include <algorithm>

namespace kib {

namespace {

// The host that answers until one is installed.
NullHost& NoHost() {
    static NullHost host;
    return host;
}

// The log of the application: the panes of the installed host, debug-only
// lines as the debugging switch (or a debug log file) asks.
class ApplicationLog : public Diagnostics {
  public:
    void Report(const Diagnostic& entry) override {
        WriteLogLines(App().GetHost(), entry);
        for (LogScope* scope : App().logScopes) {
            scope->Report(entry);
        }
    }
    bool WantsDebug() const override {
        return App().debugSwitch || App().GetHost().KeepsEveryDebugLine();
    }
};

class InstalledHost : public Host {
  public:
    void AppendLine(LogPane pane, const std::string& text) override {
        App().GetHost().AppendLine(pane, text);
    }
    void SetStatusText(const std::string& text) override { App().GetHost().SetStatusText(text); }
    BoxAnswer ShowMessageBox(const MessageBox& box) override {
        return App().GetHost().ShowMessageBox(box);
    }
    void PumpEvents() override { App().GetHost().PumpEvents(); }
    void SetWaitCursor(bool on) override { App().GetHost().SetWaitCursor(on); }
    std::string GetMainTitle() const override { return App().GetHost().GetMainTitle(); }
    void SetMainTitle(const std::string& title) override { App().GetHost().SetMainTitle(title); }
    std::optional<std::string> ChooseFolder(const std::string& start) override {
        return App().GetHost().ChooseFolder(start);
    }
    bool KeepsEveryDebugLine() const override { return App().GetHost().KeepsEveryDebugLine(); }
    void ShowProgress(const RunProgress& progress) override {
        App().GetHost().ShowProgress(progress);
    }
};

} // namespace

Host& AppState::GetHost() {
    return host ? *host : NoHost();
}

Diagnostics& AppState::Log() {
    static ApplicationLog log;
    return log;
}

Host& AppState::CurrentHost() {
    static InstalledHost installed;
    return installed;
}

LogScope::LogScope() {
    App().logScopes.push_back(this);
}

LogScope::~LogScope() {
    auto& scopes = App().logScopes;
    scopes.erase(std::remove(scopes.begin(), scopes.end(), this), scopes.end());
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
