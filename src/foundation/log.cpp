#include "foundation/log.h"

#include "foundation/app_state.h"
#include "foundation/first_letter.h"
#include "foundation/log_lines.h"

namespace kib {

void WriteLogLines(Host& host, const Diagnostic& entry) {
    if (entry.kind != DiagnosticKind::Debug) {
        host.AppendLine(LogPane::Messages, MessagesLine(entry));
    }
    host.AppendLine(LogPane::Debug, DebugLine(entry));
}

std::string DetailsHint(const Host& host) {
    return host.HasOutputWindow() ? "\nSee the Output Window for details." : "";
}

void AppendLogLine(LogPane pane, const std::string& text) {
    App().GetHost().AppendLine(pane, AsLogLine(text));
}

void SetStatusText(const std::string& text) {
    App().GetHost().SetStatusText(text);
}

void SetDebugSwitchFromValue(const std::string& effectiveValue) {
    App().debugSwitch = IsYes(effectiveValue);
}

BoxAnswer ShowBox(Host& host, const std::string& text, BoxIcon icon) {
    return host.ShowMessageBox({text, icon, BoxButtons::Ok, BoxAnswer::Ok});
}

BoxAnswer AskYesNo(Host& host, const std::string& text, BoxIcon icon, BoxAnswer defaultAnswer) {
    return host.ShowMessageBox({text, icon, BoxButtons::YesNo, defaultAnswer});
}

BoxAnswer ShowBox(const std::string& text, BoxIcon icon) {
    return ShowBox(App().GetHost(), text, icon);
}

BoxAnswer AskYesNo(const std::string& text, BoxIcon icon, BoxAnswer defaultAnswer) {
    return AskYesNo(App().GetHost(), text, icon, defaultAnswer);
}

BoxAnswer AskYesNoCancel(const std::string& text, BoxIcon icon, BoxAnswer defaultAnswer) {
    return App().GetHost().ShowMessageBox({text, icon, BoxButtons::YesNoCancel, defaultAnswer});
}

BoxIcon ShowClosingBox(Host& host, Verdict verdict, const std::string& errorText,
                       const std::string& warningText, const std::string& successText) {
    BoxIcon icon = BoxIcon::Information;
    const std::string* text = &successText;
    if (verdict == Verdict::Errors) {
        icon = BoxIcon::Error;
        text = &errorText;
    } else if (verdict == Verdict::Warnings) {
        icon = BoxIcon::Warning;
        text = &warningText;
    }
    ShowBox(host, *text, icon);
    return icon;
}

BoxIcon ShowClosingBox(Verdict verdict, const std::string& errorText,
                       const std::string& warningText, const std::string& successText) {
    return ShowClosingBox(App().GetHost(), verdict, errorText, warningText, successText);
}

} // namespace kib
