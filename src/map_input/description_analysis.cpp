// Control description analysis: measures the exported description table,
// puts every description symbol into its row and column and estimates the
// number of tasks from the rows.
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "foundation/log.h"
#include "map_input/kib_map.h"
#include "map_input/station_items.h"
#include "map_input/text_scan.h"

namespace kib {

class DescriptionTable {
  public:
    explicit DescriptionTable(CKibMap& map) : m_(map) {}
    void Run(int station);

  private:
    static constexpr int kRows = CKibMap::kMaxRow + 1;

    void Clear();
    bool FindFrame();
    void SetColumnEdges();
    void Classify();
    bool TakesPart(const SymbolSet& set) const;
    void ClassifyInstance(SymbolInstance& inst);
    void CountInColumn(SymbolInstance& inst, int row);
    int Estimate() const;
    void SettleTasks(int station, int estimate);

    int D(int k) const { return m_.descMajors[static_cast<std::size_t>(k)]; }
    float C(int k) const { return m_.columnEdges[static_cast<std::size_t>(k)]; }

    CKibMap& m_;
    std::array<int, kRows> rowColumnCount_{};
    std::array<bool, kRows> controlSymbol_{};
    std::array<bool, kRows> markerOne_{};
    std::array<bool, kRows> markerThree_{};
    bool columnHUsed_ = false;
    bool layoutOk_ = true;
};

void DescriptionTable::Clear() {
    m_.rowCount.fill(0);
    for (auto& row : m_.rowSymbols_) {
        row.fill(nullptr);
    }
    m_.descFrame = DescFrame{};
    m_.columnEdges.fill(0.0f);
    m_.taskEstimate = 0;
    m_.firstControlRow = -1;
}

bool DescriptionTable::FindFrame() {
    const int d3 = D(3);
    SymbolSet* horizontal = d3 > 0 ? m_.FindSet(d3, 1) : nullptr;
    SymbolSet* vertical = d3 > 0 ? m_.FindSet(d3, 2) : nullptr;
    if (d3 <= 0 || !horizontal || horizontal->count == 0 || !vertical || vertical->count < 5) {
        m_.Diag().Debug("No control description lines found!");
        return false;
    }
    const SymbolInstance& h = *horizontal->First();
    const SymbolInstance& v = *vertical->First();
    DescFrame& f = m_.descFrame;
    f.left = h.firstPoint.x;
    f.width = 2.0f * (h.ref.x - h.firstPoint.x);
    f.top = v.firstPoint.y;
    f.rowHeight = 2.0f * (v.ref.y - v.firstPoint.y);
    m_.Diag().Debug("Descr: %.3fx%.3f+%.3f+%.3f", static_cast<double>(f.width),
                    static_cast<double>(f.rowHeight), static_cast<double>(f.left),
                    static_cast<double>(f.top));
    constexpr int kEdges[5] = {1, 2, 4, 5, 7};
    m_.columnEdges[0] = f.left;
    for (int k = 0; k < 5; ++k) {
        const SymbolInstance& line = vertical->instances[static_cast<std::size_t>(k)];
        if (line.firstPoint.y == f.top) {
            m_.columnEdges[static_cast<std::size_t>(kEdges[k])] = line.firstPoint.x;
        } else {
            layoutOk_ = false;
        }
    }
    SetColumnEdges();
    return layoutOk_;
}

void DescriptionTable::SetColumnEdges() {
    auto& c = m_.columnEdges;
    const float cw = c[5] - c[4];
    c[3] = c[2] + cw;
    c[6] = c[7] - cw;
    c[8] = c[7] + cw;
    c[9] = c[8] + cw / 5.0f;
    m_.Diag().Debug("Descr: %.3f, %.3f, %.3f, %.3f, %.3f, %.3f, %.3f, %.3f, %.3f, %.3f",
                    static_cast<double>(c[0]), static_cast<double>(c[1]), static_cast<double>(c[2]),
                    static_cast<double>(c[3]), static_cast<double>(c[4]), static_cast<double>(c[5]),
                    static_cast<double>(c[6]), static_cast<double>(c[7]), static_cast<double>(c[8]),
                    static_cast<double>(c[9]));
}

bool DescriptionTable::TakesPart(const SymbolSet& set) const {
    if (set.count == 0 || !(set.type & TYPE_DESCRIPTION) || (set.type & TYPE_HIDDEN)) {
        return false;
    }
    if (set.type & TYPE_SPECIAL) {
        return true;
    }
    const bool betweenD0D1 = set.major >= D(0) && set.major <= D(1);
    const bool columnBOther = set.major == D(4) && set.minor != 5;
    return !betweenD0D1 && !columnBOther;
}

void DescriptionTable::Classify() {
    m_.registry_.ForEach([this](SymbolSet& set) {
        if (!TakesPart(set)) {
            return;
        }
        for (SymbolInstance& inst : set.instances) {
            ClassifyInstance(inst);
        }
    });
}

void DescriptionTable::ClassifyInstance(SymbolInstance& inst) {
    const DescFrame& f = m_.descFrame;
    const int row = TruncToInt((inst.ref.y - f.top + f.rowHeight) / f.rowHeight);
    const double x = inst.ref.x;
    const double y = inst.ref.y;
    if (row < 0 || row > CKibMap::kMaxRow) {
        m_.Diag().Debug("Symbol %d.%d#%d (%.3f, %.3f): Row #%d out of range!", inst.major,
                        inst.minor, inst.index, x, y, row);
        return;
    }
    const auto r = static_cast<std::size_t>(row);
    if (inst.major == D(5)) {
        return;
    }
    if (inst.major == D(2)) {
        markerOne_[r] = markerOne_[r] || inst.minor == 1;
        markerThree_[r] = markerThree_[r] || inst.minor == 3;
        m_.Diag().Debug("Symbol %d.%d#%d (%.3f, %.3f): Row #%d", inst.major, inst.minor, inst.index,
                        x, y, row);
        return;
    }
    const int k = ++m_.rowCount[r];
    m_.Diag().Debug("Symbol %d.%d#%d (%.3f, %.3f): Row #%d Sym #%d", inst.major, inst.minor,
                    inst.index, x, y, row, k);
    if (k <= CKibMap::kRowEntries) {
        m_.rowSymbols_[r][static_cast<std::size_t>(k - 1)] = &inst;
    } else if (k == CKibMap::kRowEntries + 1) {
        m_.Diag().Error("Too many symbols in row #%d (more than %d)", row, CKibMap::kRowEntries);
    }
    if (inst.major == D(3)) {
        if (inst.ref.x > C(9)) {
            --m_.rowCount[r];
        }
        return;
    }
    CountInColumn(inst, row);
}

void DescriptionTable::CountInColumn(SymbolInstance& inst, int row) {
    const auto r = static_cast<std::size_t>(row);
    int column = 0;
    while (column < 9 && inst.ref.x > C(column)) {
        ++column;
    }
    inst.column = column;
    if (column == 0) {
        --m_.rowCount[r];
    } else if (column <= 2) {
        ++rowColumnCount_[r];
    } else if (column <= 8) {
        ++rowColumnCount_[r];
        controlSymbol_[r] = true;
        columnHUsed_ = columnHUsed_ || column == 8;
    } else if (!m_.GetConfig().Item(id::Source_ZEROTOL).HasSymbol(inst.major, inst.minor)) {
        --m_.rowCount[r];
    }
}

int DescriptionTable::Estimate() const {
    int estimate = 0;
    bool counting = false;
    for (std::size_t row = 0; row + 1 < kRows; ++row) {
        const bool control = controlSymbol_[row] && !markerOne_[row] && !markerThree_[row];
        bool counted = false;
        if (control) {
            if (estimate == 0) {
                counting = true;
                m_.firstControlRow = static_cast<int>(row);
            }
            if (counting) {
                ++estimate;
                counted = true;
            }
        } else {
            counting = false;
        }
        m_.Diag().Debug("Row %d: count=%d, control=%s", static_cast<int>(row), rowColumnCount_[row],
                        counted ? "yes" : "no");
    }
    return estimate;
}

void DescriptionTable::SettleTasks(int station, int estimate) {
    const CKibCfg& cfg = m_.GetConfig();
    const CCfgItem* stationTasks = StationItemOrNone(cfg, station, id::Station_TASKS);
    if (stationTasks && stationTasks->IsSet()) {
        m_.tasks = stationTasks->GetInt();
        return;
    }
    m_.tasks = cfg.Item(id::Event_TASKS).GetInt();
    if (estimate != 0 && (m_.tasks == 0 || estimate < m_.tasks)) {
        m_.tasks = estimate;
        if (estimate >= 3 && estimate <= 6) {
            m_.Diag().Info("Number of tasks at station %d estimated by control description to %d.",
                           station, estimate);
        } else {
            m_.Diag().Warning("Number of tasks at station %d estimated by control "
                              "description to %d.",
                              station, estimate);
        }
    }
}

void DescriptionTable::Run(int station) {
    Clear();
    int estimate = 0;
    if (FindFrame()) {
        Classify();
        estimate = Estimate();
        if (columnHUsed_ && !m_.answersId.valid) {
            m_.Diag().Warning("Control description column H is not empty; check and set "
                              "SOURCE.ANSWERS configuration.");
        }
    } else {
        m_.Diag().Warning("Control descriptions seems to be missing or incomplete in the "
                          "map!");
    }
    m_.taskEstimate = estimate;
    SettleTasks(station, estimate);
}

void CKibMap::AnalyseDescriptions(int station) {
    DescriptionTable table(*this);
    table.Run(station);
}

} // namespace kib
