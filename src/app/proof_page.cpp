#include "app/proof_page.h"

#include "foundation/log_lines.h"

#include "sheet/svg_text.h"

#include <sstream>

namespace kib {

namespace {

// Page texts are escaped as the sheets' texts are.
std::string Html(const std::string& text) {
    return XmlEscape(text);
}

bool Unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

// A link as an attribute value.
std::string Link(const std::string& relativePath) {
    return Html(PageLink(relativePath));
}

const char* MarkClass(ProofMark mark) {
    switch (mark) {
    case ProofMark::Red:
        return "red";
    case ProofMark::Amber:
        return "amber";
    case ProofMark::Green:
        break;
    }
    return "green";
}

const char* MarkWords(ProofMark mark) {
    switch (mark) {
    case ProofMark::Red:
        return "errors";
    case ProofMark::Amber:
        return "warnings";
    case ProofMark::Green:
        break;
    }
    return "no problem";
}

const char* kStyle = R"(<style>
body{font-family:"DejaVu Sans",Arial,sans-serif;margin:1.5em;color:#222}
h1{font-size:1.6em;margin:0 0 .3em}
h2{font-size:1.3em;border-bottom:2px solid #888;padding-bottom:.2em;margin-top:2em}
.mark{display:inline-block;width:.9em;height:.9em;border-radius:50%;vertical-align:middle;margin-right:.4em;border:1px solid #444}
.mark.green{background:#2e9e44}.mark.amber{background:#f0a020}.mark.red{background:#d22}
.index{list-style:none;padding:0;display:flex;flex-wrap:wrap;gap:.4em 1.4em}
.facts{border-collapse:collapse;margin:.5em 0}
.facts th{text-align:left;padding:.15em .8em .15em 0;font-weight:600;vertical-align:top}
.log{font-family:"DejaVu Sans Mono",monospace;font-size:.85em;background:#f6f6f6;padding:.5em;margin:.5em 0;white-space:pre-wrap}
.log .error{background:#fdd;color:#900;font-weight:600}
.log .warning{background:#ffeccc;color:#840}
.canvases{display:flex;flex-wrap:wrap;gap:1em}
figure{margin:0;border:1px solid #bbb;padding:.4em;background:#fff}
figure img{display:block;width:360px;height:auto}
figcaption{margin-top:.3em;font-size:.95em}
.answer{font-size:1.3em;font-weight:700;margin-left:.4em}
figure.red{border:3px solid #d22;background:#fee}figure.amber{border:3px solid #f0a020}
.evidence{display:block;font-size:.85em;color:#555}
.solution img{width:520px;height:auto}
@media print{body{margin:0}h2{break-before:page}figure{break-inside:avoid}a{color:inherit;text-decoration:none}}
</style>
)";

// Marks the body once every picture has loaded, or names a missing one.
const char* kImageCheck = R"(<script>
window.addEventListener("load", function () {
  var images = document.images, missing = [];
  for (var i = 0; i < images.length; i++) {
    if (!images[i].complete || images[i].naturalWidth === 0) { missing.push(images[i].getAttribute("src")); }
  }
  document.body.setAttribute("data-images", missing.length ? "missing" : "ok");
  document.body.setAttribute("data-image-count", String(images.length));
  if (missing.length) { document.body.setAttribute("data-missing", missing.join(" ")); }
});
</script>
)";

void WriteFacts(std::ostream& out, const ProofStation& st) {
    out << "<table class=\"facts\">\n";
    out << "<tr><th>Tasks</th><td>" << st.tasks << "</td></tr>\n";
    out << "<tr><th>Flags found</th><td>" << st.flags << "</td></tr>\n";
    out << "<tr><th>Rotation</th><td>"
        << (st.rotation < 0 ? std::string("none") : std::to_string(st.rotation) + "&#176;") << " ("
        << Html(st.rotationSource) << ")</td></tr>\n";
    out << "<tr><th>Analysis</th><td>" << Html(st.summary) << "</td></tr>\n";
    out << "</table>\n";
}

void WriteLog(std::ostream& out, const std::vector<Diagnostic>& log) {
    if (log.empty()) {
        return;
    }
    out << "<details" << (log.size() <= 12 ? " open=\"\"" : "") << "><summary>Log (" << log.size()
        << " lines)</summary>\n<div class=\"log\">";
    for (const Diagnostic& entry : log) {
        const char* kind = entry.kind == DiagnosticKind::Error     ? "error"
                           : entry.kind == DiagnosticKind::Warning ? "warning"
                                                                   : "";
        out << "<div" << (*kind ? std::string(" class=\"") + kind + "\"" : std::string()) << ">"
            << Html(MessagesLine(entry)) << "</div>";
    }
    out << "</div></details>\n";
}

void WriteCanvas(std::ostream& out, int station, const ProofCanvas& c) {
    const std::string name = c.task == 0 ? "cover" : "task " + std::to_string(c.task);
    out << "<figure id=\"s" << station << "t" << c.task << "\"";
    if (c.task > 0 && c.answerMark != ProofMark::Green) {
        out << " class=\"" << MarkClass(c.answerMark) << "\"";
    }
    out << ">";
    if (!c.thumbnail.empty()) {
        out << "<a href=\"" << Link(c.fullSize) << "\"><img src=\"" << Link(c.thumbnail)
            << "\" alt=\"Station " << station << ", " << name << "\"/></a>";
    } else {
        out << "<p>No picture of this canvas.</p>";
    }
    out << "<figcaption>" << station << "." << c.task << " &#8211; " << name;
    if (c.task > 0) {
        out << " &#183; answer:<span class=\"answer\">"
            << (c.answer.empty() ? std::string("?") : Html(c.answer)) << "</span>";
        if (!c.answerSource.empty()) {
            out << " <small>(" << Html(c.answerSource) << ")</small>";
        }
        out << " &#183; map:<span class=\"map-answer\">"
            << Html(c.mapAnswer.empty() ? std::string("?") : c.mapAnswer) << "</span>";
        if (!c.mapEvidence.empty()) {
            out << "<span class=\"evidence\">" << Html(c.mapEvidence) << "</span>";
        }
    }
    out << "</figcaption></figure>\n";
}

void WriteStation(std::ostream& out, const ProofStation& st) {
    out << "<section id=\"station-" << st.station << "\">\n<h2><span class=\"mark "
        << MarkClass(st.mark) << "\" title=\"" << MarkWords(st.mark) << "\"></span>Station "
        << st.station << "</h2>\n";
    WriteFacts(out, st);
    WriteLog(out, st.log);
    out << "<div class=\"canvases\">\n";
    for (const ProofCanvas& c : st.canvases) {
        WriteCanvas(out, st.station, c);
    }
    out << "</div>\n";
    if (!st.solutionThumbnail.empty()) {
        out << "<h3>Solution sheet " << Html(st.solutionName) << "</h3>\n"
            << "<figure class=\"solution\"><a href=\"" << Link(st.solutionFullSize)
            << "\"><img src=\"" << Link(st.solutionThumbnail) << "\" alt=\"Solution sheet "
            << Html(st.solutionName) << "\"/></a></figure>\n";
    }
    out << "</section>\n";
}

} // namespace

ProofMark WorseMark(ProofMark a, ProofMark b) {
    return static_cast<int>(a) >= static_cast<int>(b) ? a : b;
}

std::string PageLink(const std::string& relativePath) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string link = "./";
    for (const char ch : relativePath) {
        const auto c = static_cast<unsigned char>(ch);
        if (Unreserved(c) || c == '/') {
            link += ch;
        } else {
            link += '%';
            link += kHex[c >> 4];
            link += kHex[c & 0x0F];
        }
    }
    return link;
}

ProofMark MarkOf(const std::vector<Diagnostic>& log, bool errorFlag, bool warningFlag) {
    bool errors = errorFlag, warnings = warningFlag;
    for (const Diagnostic& entry : log) {
        errors = errors || entry.kind == DiagnosticKind::Error;
        warnings = warnings || entry.kind == DiagnosticKind::Warning;
    }
    return errors ? ProofMark::Red : warnings ? ProofMark::Amber : ProofMark::Green;
}

std::string ProofHtml(const ProofEvent& event) {
    std::ostringstream out;
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n"
        << "<title>Proof: " << Html(event.title) << "</title>\n"
        << kStyle << kImageCheck << "</head>\n<body>\n"
        << "<h1>Proof of " << Html(event.title) << "</h1>\n"
        << "<p>Made by Kib from " << Html(event.source)
        << ". Check every canvas: the right circle in the centre, the map turned to the "
           "chair's view, the task's description row, and the answer key.</p>\n"
        << "<ul class=\"index\">\n";
    for (const ProofStation& st : event.stations) {
        out << "<li><a href=\"#station-" << st.station << "\"><span class=\"mark "
            << MarkClass(st.mark) << "\" title=\"" << MarkWords(st.mark) << "\"></span>Station "
            << st.station << "</a> (" << MarkWords(st.mark) << ")</li>\n";
    }
    out << "</ul>\n";
    for (const ProofStation& st : event.stations) {
        WriteStation(out, st);
    }
    out << "</body>\n</html>\n";
    return out.str();
}

} // namespace kib
