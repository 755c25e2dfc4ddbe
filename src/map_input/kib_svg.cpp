#include "map_input/kib_svg.h"

#include "config/cfg_ids.h"
#include "config/kib_doc.h"
#include "config/name_templates.h"
#include "foundation/format.h"
#include "foundation/input_bytes.h"
#include "foundation/log.h"
#include "map_input/kib_map.h"
#include "map_input/line_ops.h"
#include "map_input/map_export_read.h"
#include "map_input/map_line.h"

namespace kib {

// A map kept with the station, task and export it was read from.
struct CKibSvg::KeptMap {
    int station = 0;
    int task = 0;
    InputBytes source; // path, size and time of the export (no bytes)
    std::unique_ptr<CKibMap> map;
    // The lines as read and analysed: composing a sheet hides and recolours lines,
    // and the next run starts from the map as read.
    std::vector<std::string> texts;
    std::vector<bool> hidden;
    // What its read reported (debug entries aside): reported again each time the
    // map is taken from here, so that a run that reuses it says what a read says.
    std::vector<Diagnostic> reported;
};

namespace {

void TakeLines(CKibMap& map, std::vector<std::string>& texts, std::vector<bool>& hidden) {
    for (const MapLine* line = map.FirstLine(); line; line = line->next) {
        texts.push_back(line->text);
        hidden.push_back(line->hidden);
    }
}

void RestoreLines(CKibMap& map, const std::vector<std::string>& texts,
                  const std::vector<bool>& hidden) {
    std::size_t i = 0;
    for (MapLine* line = map.FirstLine(); line && i < texts.size(); line = line->next, ++i) {
        if (line->text != texts[i]) {
            line->text = texts[i];
        }
        if (line->hidden != hidden[i]) {
            SetLinesHidden(line, line, hidden[i], map.Diag());
        }
    }
}

} // namespace

CKibSvg::CKibSvg(CKibDoc& doc) : doc_(doc) {}

Diagnostics& CKibSvg::Diag() const {
    return diag_ ? *diag_ : doc_.Diag();
}

CKibSvg::~CKibSvg() = default;

CKibCfg& CKibSvg::GetConfig() const {
    return *doc_.GetConfig();
}

Host& CKibSvg::GetHost() const {
    return doc_.GetHost();
}

bool CKibSvg::ReadMap(int station, int task) {
    if (!doc_.GetConfig()) {
        return false;
    }
    const std::string name = EvalTemplate(GetConfig(), id::Source_MAP, station, task);
    const std::string path = doc_.MakePath(name);
    GetHost().SetStatusText(Format("Reading SVG %s...", path.c_str()));
    Diag().Debug("==== Reading SVG %d.%d...", station, task);
    if (KeptMap* kept = name.empty() ? nullptr : KeptMapOf(station, task, path)) {
        Diag().Debug("Map of station %d kept from an earlier read of %s.", station, path.c_str());
        for (const Diagnostic& entry : kept->reported) {
            Diag().Report(entry);
        }
        map_ = kept->map.get();
        return true;
    }
    MapExportInput file;
    if (name.empty() || !file.Open(doc_, path)) {
        if (file.NotRegular()) {
            Diag().Error("Cannot open map file %s: %s", path.c_str(), file.Reason().c_str());
        } else {
            Diag().Error("Cannot open map file %s", path.c_str());
        }
        ShowBox(GetHost(), "Cannot open map file.", BoxIcon::Error);
        return false;
    }
    auto map = std::make_unique<CKibMap>(*this);
    map_ = map.get();
    read_ = std::move(map);
    Diag().Debug("Parsing map export %s...", path.c_str());
    // What the read reports is counted here, on its way to the station's diagnostics.
    DiagnosticsTally reading(&Diag());
    Diagnostics* outer = diag_;
    diag_ = &reading;
    const bool parsed = map_->ParseMap(file.Stream(), station, task, path);
    if (parsed) {
        map_->CheckSpecialSymbols();
        map_->CheckFlagCount(station);
        map_->AnalyseViewingAngle(station);
        map_->AnalyseDescriptions(station);
        if (task != 0) {
            map_->AnalyseCircles(station, task);
        }
    }
    diag_ = outer;
    if (!parsed) {
        return false;
    }
    const DiagnosticsTally& tally = reading;
    // Only a map read without error is kept: a read that failed is read again,
    // with its messages, by the run that needs it.
    const std::shared_ptr<const InputBytes>& source = doc_.mapExport;
    if (keepMaps_ && tally.Errors() == 0 && source && source->path == path && source->size >= 0) {
        const std::size_t estimate = static_cast<std::size_t>(source->size) * kKeptMapPerExportByte;
        if (estimate > keptBudget_ || keptBytes_ > keptBudget_ - estimate) {
            Diag().Debug("Map of station %d not kept: the kept maps would take more than %lld MB.",
                         station, static_cast<long long>(keptBudget_ >> 20));
            return true;
        }
        keptBytes_ += estimate;
        KeptMap entry;
        entry.station = station;
        entry.task = task;
        entry.source.path = path;
        entry.source.size = source->size;
        entry.source.stamp = source->stamp;
        entry.map = std::move(read_);
        entry.reported = tally.Entries();
        TakeLines(*entry.map, entry.texts, entry.hidden);
        kept_.push_back(std::move(entry));
    }
    return true;
}

CKibSvg::KeptMap* CKibSvg::KeptMapOf(int station, int task, const std::string& path) {
    for (KeptMap& kept : kept_) {
        if (kept.station == station && kept.task == task && StillAsRead(kept.source, path)) {
            RestoreLines(*kept.map, kept.texts, kept.hidden);
            return &kept;
        }
    }
    return nullptr;
}

} // namespace kib
