#include "foundation/log_lines.h"

#include <algorithm>

namespace kib {

namespace {

constexpr const char* kErrorPrefix = "[** ERROR **] ";
constexpr const char* kWarningPrefix = "[= WARNING =] ";
constexpr std::size_t kPrefixLength = 14;

} // namespace

std::string AsLogLine(std::string text) {
    const std::size_t end = std::min(text.find('\0'), kMessageBufferSize - 1);
    if (end < text.size()) {
        text.resize(end);
    }
    return text;
}

std::string MessagesLine(const Diagnostic& entry) {
    switch (entry.kind) {
    case DiagnosticKind::Error:
        return AsLogLine(kErrorPrefix + entry.text);
    case DiagnosticKind::Warning:
        return AsLogLine(kWarningPrefix + entry.text);
    case DiagnosticKind::Info:
        return AsLogLine(entry.text);
    case DiagnosticKind::Debug:
        break;
    }
    return std::string();
}

std::string DebugLine(const Diagnostic& entry) {
    if (entry.kind == DiagnosticKind::Error || entry.kind == DiagnosticKind::Warning) {
        const std::string line = MessagesLine(entry);
        return line.size() > kPrefixLength ? line.substr(kPrefixLength) : std::string();
    }
    return AsLogLine(entry.text);
}

} // namespace kib
