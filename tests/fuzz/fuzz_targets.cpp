#include "fuzz_targets.h"

#include "app/builtin_convert.h"
#include "app/converted_file.h"
#include "app/proof_page.h"
#include "app/proof_run.h"
#include "app/sheet_source.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "map_input/document_exports.h"
#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"
#include "map_input/task_pairing.h"
#include "sheet/answer_key.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace kib::fuzz {

namespace {

// The input as a file without touching the disk: a memory file, named through
// /proc so the readers open it like any other.
class MemoryFile {
  public:
    MemoryFile(const std::uint8_t* data, std::size_t size)
        : fd_(::memfd_create("kib-fuzz", MFD_CLOEXEC)) {
        std::size_t done = 0;
        while (fd_ >= 0 && done < size) {
            const ssize_t n = ::write(fd_, data + done, size - done);
            if (n <= 0) {
                std::abort();
            }
            done += static_cast<std::size_t>(n);
        }
    }
    ~MemoryFile() { ::close(fd_); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    std::string Path() const { return "/proc/self/fd/" + std::to_string(fd_); }

  private:
    int fd_;
};

// A folder for saved configurations, in memory when the machine has one.
const std::string& SaveFolder() {
    static const std::string folder = [] {
        std::string pattern = (::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
        pattern += "/kib-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return pattern + "/";
    }();
    return folder;
}

std::string Bytes(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    std::string text;
    if (f) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) {
            text.append(buffer, n);
        }
        std::fclose(f);
    }
    return text;
}

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "fuzz property failed: %s\n", what.c_str());
    std::abort();
}

bool AnySet(const CKibCfg& cfg) {
    for (const auto& section : cfg.Sections()) {
        if (section->HasSetItem()) {
            return true;
        }
    }
    return false;
}

void ExpectSameValues(const CKibCfg& first, const CKibCfg& second) {
    for (std::size_t k = 0; k < first.Sections().size(); ++k) {
        const auto& a = first.Sections()[k]->Items();
        const auto& b = second.Sections()[k]->Items();
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (a[i]->GetValueText() != b[i]->GetValueText()) {
                Fail(first.Sections()[k]->GetName() + "." + a[i]->GetKey() + ": '" +
                     a[i]->GetValueText() + "' read back as '" + b[i]->GetValueText() + "'");
            }
        }
    }
}

// The configuration of the demo event's first station, for the map analyses.
CKibSvg& MapAnalysis() {
    static CKibDoc doc;
    static std::unique_ptr<CKibSvg> svg;
    if (!svg) {
        CKibCfg& cfg = doc.NewConfig();
        cfg.Item(id::Event_TASKS).SetText("5");
        cfg.Item(id::Event_FLAGS).SetText("6");
        cfg.Item(id::Source_CHAIR).SetText("790.001");
        cfg.Item(id::Source_FLAG).SetText("790.002 790.003");
        cfg.Item(id::Source_ZERO).SetText("790.004");
        cfg.Item(id::Source_LETTERS).SetText("791");
        cfg.Item(id::Source_ANSWERS).SetText("792");
        cfg.Item(id::Source_ZEROTOL).SetText("19.5");
        svg = std::make_unique<CKibSvg>(doc);
        // A course of five controls around the start, in map units.
        svg->codes[0] = "S1";
        svg->controlCount = 5;
        for (std::size_t i = 1; i <= 5; ++i) {
            svg->codes[i] = std::to_string(30 + i);
            const float d = 10.0f * static_cast<float>(i);
            svg->positions[i] = MapPoint{d, -d / 2.0f};
            svg->offsets[i] = MapPoint{d, d / 2.0f};
        }
    }
    return *svg;
}

// The lines of text, at most count of them.
std::vector<std::string> Lines(const std::string& text, std::size_t count) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; lines.size() < count && std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Every value of the attribute (href="..." or src="...") in the page.
// Whether the text at at lies inside an attribute's value of its tag: the page
// writes a quote inside a value as &quot; and a '<' as &lt;, so the quotes since
// the tag's '<' tell.
bool InsideAttributeValue(const std::string& page, std::size_t at) {
    const std::size_t tag = page.rfind('<', at);
    if (tag == std::string::npos) {
        return false;
    }
    std::size_t quotes = 0;
    for (std::size_t i = tag; i < at; ++i) {
        quotes += page[i] == '"' ? 1 : 0;
    }
    return quotes % 2 == 1;
}

void ExpectRelativeLinks(const std::string& page, const std::string& attribute) {
    const std::string mark = " " + attribute + "=\"";
    for (std::size_t at = page.find(mark); at != std::string::npos; at = page.find(mark, at + 1)) {
        if (InsideAttributeValue(page, at)) {
            continue; // the words of a text (an alt text ending in " href="), no link
        }
        const std::string_view value = std::string_view(page).substr(at + mark.size());
        if (!value.starts_with("./") && !value.starts_with("#")) {
            Fail("a link that is no relative reference: " + std::string(value.substr(0, 80)));
        }
        const std::size_t end = value.find('"');
        const std::string_view link = value.substr(0, end);
        if (link.find_first_of(":?<> '") != std::string_view::npos ||
            (link.starts_with("./") && link.find('#') != std::string_view::npos)) {
            Fail("a link with an unencoded character: " + std::string(link.substr(0, 80)));
        }
    }
}

} // namespace

int FuzzConfig(const std::uint8_t* data, std::size_t size) {
    ResetAppState();
    const MemoryFile file(data, size);
    CKibDoc doc;
    doc.UseServices(App().CurrentHost(), App().Log());
    if (!doc.OnOpenDocument(file.Path())) {
        return 0;
    }
    const std::string saved = SaveFolder() + "saved.cfg";
    if (!doc.OnSaveDocument(saved)) {
        Fail("a configuration that opened could not be saved");
    }
    CKibDoc again;
    again.UseServices(App().CurrentHost(), App().Log());
    if (!again.OnOpenDocument(saved)) {
        // Only a file whose values were all refused saves nothing to read back.
        if (AnySet(*doc.GetConfig())) {
            Fail("the saved configuration does not open");
        }
        return 0;
    }
    ExpectSameValues(*doc.GetConfig(), *again.GetConfig());
    const std::string first = Bytes(saved);
    const std::string resaved = SaveFolder() + "resaved.cfg";
    if (!again.OnSaveDocument(resaved) || Bytes(resaved) != first) {
        Fail("saving the read-back configuration gives other bytes");
    }
    return 0;
}

int FuzzMap(const std::uint8_t* data, std::size_t size) {
    ResetAppState();
    App().debugSwitch = true; // the debug lines are formatted too
    CKibSvg& svg = MapAnalysis();
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (int task : {0, 1}) {
        CKibMap map(svg);
        std::istringstream in(text);
        if (!map.ParseMap(in, 1, task)) {
            continue;
        }
        map.CheckSpecialSymbols();
        map.CheckFlagCount(1);
        map.AnalyseViewingAngle(1);
        map.AnalyseDescriptions(1);
        if (task != 0) {
            map.AnalyseCircles(1, task);
            CheckTaskPairing(svg, map, 1);
        }
    }
    return 0;
}

int FuzzCourses(const std::uint8_t* data, std::size_t size) {
    ResetAppState();
    App().debugSwitch = true;
    const MemoryFile file(data, size);
    CKibDoc doc;
    doc.UseServices(App().CurrentHost(), App().Log());
    CKibCfg& cfg = doc.NewConfig();
    cfg.Item(id::Source_COURSES).SetText(file.Path());
    cfg.Item(id::Source_MAP).SetText(file.Path());
    cfg.Item(id::Source_COURSE).SetText("S${STAT}");
    CKibSvg svg(doc);
    for (int station : {1, 2}) {
        if (svg.ReadCourses(station) &&
            (svg.controlCount < 0 || svg.controlCount > CKibSvg::kMaxCourseControls)) {
            Fail("course control count out of range");
        }
    }
    ReadCourseList(doc);
    ReadMapZoom(doc);
    return 0;
}

int FuzzProof(const std::uint8_t* data, std::size_t size) {
    ResetAppState();
    CKibSvg& svg = MapAnalysis();
    const std::string text(reinterpret_cast<const char*>(data), size);
    ProofEvent event;
    ProofStation st;
    st.station = 1;
    const std::vector<std::string> lines = Lines(text, 8);
    event.title = lines.empty() ? std::string() : lines[0];
    event.source = lines.size() > 1 ? lines[1] : std::string();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const DiagnosticKind kinds[] = {DiagnosticKind::Info, DiagnosticKind::Warning,
                                        DiagnosticKind::Error};
        st.log.push_back(Diagnostic{kinds[i % 3], 1, kNoTask, lines[i]});
    }
    st.summary = text.substr(0, 200);
    st.rotationSource = lines.size() > 2 ? lines[2] : std::string();
    CKibMap map(svg);
    std::istringstream in(text);
    if (map.ParseMap(in, 1, 1)) {
        map.CheckSpecialSymbols();
        map.AnalyseDescriptions(1);
        for (int task = 1; task <= 15; ++task) {
            const std::string answer = ColumnHAnswer(map, task);
            if (!answer.empty() && (answer.size() != 1 ||
                                    std::string("ABCDEFZ").find(answer[0]) == std::string::npos)) {
                Fail("an answer that is no answer letter: " + answer);
            }
            ProofCanvas canvas;
            canvas.task = task;
            canvas.answer = answer;
            st.canvases.push_back(canvas);
        }
    }
    // Picture names as a page name could make them.
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ProofCanvas canvas;
        canvas.task = static_cast<int>(i);
        canvas.thumbnail = lines[i] + "-files/map-1." + std::to_string(i) + ".png";
        canvas.fullSize = lines[i] + "-files/map-1." + std::to_string(i) + "-full.png";
        canvas.answer = lines[i].substr(0, 1);
        st.canvases.push_back(canvas);
    }
    st.solutionName = event.title;
    st.solutionThumbnail = event.title + "-files/sol-1.png";
    st.solutionFullSize = event.title + "-files/sol-1-full.png";
    event.stations.push_back(st);
    const std::string page = ProofHtml(event);
    std::size_t scripts = 0;
    for (std::size_t at = page.find("<script"); at != std::string::npos;
         at = page.find("<script", at + 1)) {
        ++scripts;
    }
    if (scripts != 1) {
        Fail("the page holds a script of the input");
    }
    ExpectRelativeLinks(page, "href");
    ExpectRelativeLinks(page, "src");
    return 0;
}

namespace {

bool NamesXInclude(const xmlChar* href) {
    std::string name = href ? reinterpret_cast<const char*>(href) : "";
    for (char& c : name) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return name.find("xinclude") != std::string::npos;
}

bool TreeNamesXInclude(const xmlNode* node) {
    for (; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) {
            continue;
        }
        if (node->ns && NamesXInclude(node->ns->href)) {
            return true;
        }
        for (const xmlNs* ns = node->nsDef; ns; ns = ns->next) {
            if (NamesXInclude(ns->href)) {
                return true;
            }
        }
        for (const xmlAttr* a = node->properties; a; a = a->next) {
            if (a->ns && NamesXInclude(a->ns->href)) {
                return true;
            }
        }
        if (TreeNamesXInclude(node->children)) {
            return true;
        }
    }
    return false;
}

// Whether the text, parsed as librsvg's parser does with its entities
// substituted, holds an element, attribute or namespace of XInclude.
bool ParsedNamesXInclude(const std::string& text) {
    xmlDoc* doc =
        xmlReadMemory(text.data(), static_cast<int>(text.size()), "sheet.svg", nullptr,
                      XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc) {
        return false;
    }
    const bool names = TreeNamesXInclude(xmlDocGetRootElement(doc));
    xmlFreeDoc(doc);
    return names;
}

} // namespace

int FuzzDrawing(const std::uint8_t* data, std::size_t size) {
    ResetAppState();
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string confined = text;
    std::string refused;
    if (ConfineSheet(confined, refused)) {
        // Judged on the document as libxml2 parses it (librsvg's parser), with
        // every entity substituted: XInclude in any spelling is caught.
        if (ParsedNamesXInclude(confined)) {
            Fail("XInclude is left");
        }
        if (WithoutOutsideReferences(confined) != confined) {
            Fail("taking out the outside references again changes the text");
        }
    }
    const MemoryFile sheet(data, size);
    SheetPicture picture;
    std::string error;
    RenderSheetPicture(sheet.Path(), 48, false, picture, error);
    const std::string pdf = SaveFolder() + "drawn.pdf";
    if (RenderSheet(sheet.Path(), pdf, OutputFormat::Pdf, 72)) {
        const std::string reason = IncompleteReason(pdf, "pdf");
        if (!reason.empty()) {
            Fail("a drawn PDF that is not complete: " + reason);
        }
    }
    return 0;
}

} // namespace kib::fuzz
