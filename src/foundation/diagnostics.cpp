#include "foundation/diagnostics.h"

#include "foundation/format.h"

#include <cstdarg>

namespace kib {

Verdict Worse(Verdict a, Verdict b) {
    return static_cast<int>(a) >= static_cast<int>(b) ? a : b;
}

namespace {

void ReportFormatted(Diagnostics& diagnostics, DiagnosticKind kind, const char* format,
                     va_list args) {
    Diagnostic entry;
    entry.kind = kind;
    entry.text = FormatV(format, args);
    diagnostics.Report(entry);
}

} // namespace

void Diagnostics::Error(const char* format, ...) {
    va_list args;
    va_start(args, format);
    ReportFormatted(*this, DiagnosticKind::Error, format, args);
    va_end(args);
}

void Diagnostics::Warning(const char* format, ...) {
    va_list args;
    va_start(args, format);
    ReportFormatted(*this, DiagnosticKind::Warning, format, args);
    va_end(args);
}

void Diagnostics::Info(const char* format, ...) {
    va_list args;
    va_start(args, format);
    ReportFormatted(*this, DiagnosticKind::Info, format, args);
    va_end(args);
}

void Diagnostics::Debug(const char* format, ...) {
    if (!WantsDebug()) {
        return;
    }
    va_list args;
    va_start(args, format);
    ReportFormatted(*this, DiagnosticKind::Debug, format, args);
    va_end(args);
}

void Diagnostics::Say(DiagnosticKind kind, std::string text) {
    if (kind == DiagnosticKind::Debug && !WantsDebug()) {
        return;
    }
    Diagnostic entry;
    entry.kind = kind;
    entry.text = std::move(text);
    Report(entry);
}

DiagnosticsTally::DiagnosticsTally(Diagnostics* parent, int station, int task)
    : parent_(parent), station_(station), task_(task) {}

bool DiagnosticsTally::WantsDebug() const {
    return parent_ && parent_->WantsDebug();
}

void DiagnosticsTally::Report(const Diagnostic& reported) {
    Diagnostic entry = reported;
    if (entry.station == kNoStation) {
        entry.station = station_;
    }
    if (entry.task == kNoTask) {
        entry.task = task_;
    }
    if (entry.kind == DiagnosticKind::Error) {
        ++errors_;
    } else if (entry.kind == DiagnosticKind::Warning) {
        ++warnings_;
    }
    if (entry.kind != DiagnosticKind::Debug) {
        entries_.push_back(entry);
    }
    if (parent_ && (entry.kind != DiagnosticKind::Debug || parent_->WantsDebug())) {
        parent_->Report(entry);
    }
}

Verdict DiagnosticsTally::GetVerdict() const {
    if (errors_ > 0) {
        return Verdict::Errors;
    }
    return warnings_ > 0 ? Verdict::Warnings : Verdict::Success;
}

} // namespace kib
