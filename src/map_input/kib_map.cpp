#include "map_input/kib_map.h"

#include "foundation/log.h"
#include "map_input/kib_svg.h"

#include <algorithm>
#include <string>

namespace kib {

Diagnostics& CKibMap::Diag() const {
    return owner_.Diag();
}

CKibMap::CKibMap(CKibSvg& owner)
    : owner_(owner), doc_(owner.GetDocument()), cfg_(owner.GetConfig()) {
    descMajors[3] = -1;
    std::fill(assignments.begin(), assignments.end(), std::string(":"));
}

MapLine& CKibMap::AppendLine(std::string text) {
    MapLine* previous = lines_.empty() ? nullptr : &lines_.back();
    MapLine& line = lines_.emplace_back();
    line.lineNo = ++lineCount;
    line.text = std::move(text);
    if (previous) {
        previous->next = &line;
    }
    return line;
}

MapLine* CKibMap::Line(int lineNo) {
    if (lineNo < 1 || lineNo > static_cast<int>(lines_.size())) {
        return nullptr;
    }
    return &lines_[static_cast<std::size_t>(lineNo - 1)];
}

void CKibMap::IndexObjects() {
    blocks_.clear();
    for (MapLine& line : lines_) {
        line.block = nullptr;
    }
    registry_.ForEach([this](const SymbolSet& set) {
        for (const SymbolInstance& inst : set.instances) {
            if (inst.firstLine && inst.lastLine &&
                inst.firstLine->lineNo <= inst.lastLine->lineNo) {
                blocks_.push_back(LineBlock{inst.firstLine->lineNo, inst.lastLine->lineNo, 0});
            }
        }
    });
    std::sort(blocks_.begin(), blocks_.end(),
              [](const LineBlock& a, const LineBlock& b) { return a.first < b.first; });
    // An object that shares a line with the one before it gets no block: its
    // lines are looked at one by one.
    std::vector<LineBlock> disjoint;
    disjoint.reserve(blocks_.size());
    for (const LineBlock& block : blocks_) {
        if (disjoint.empty() || block.first > disjoint.back().last) {
            disjoint.push_back(block);
        }
    }
    blocks_ = std::move(disjoint);
    // The lines point into the blocks, which do not move from now on.
    for (LineBlock& block : blocks_) {
        for (int n = block.first; n <= block.last; ++n) {
            MapLine& line = lines_[static_cast<std::size_t>(n - 1)];
            line.block = &block;
            block.hiddenLines += line.hidden ? 1 : 0;
        }
    }
}

SymbolSet* CKibMap::DefineSymbolSet(int major, int minor, SymbolType type, MapLine* groupLine) {
    bool created = false;
    SymbolSet* set = registry_.FindOrCreate(major, minor, type, groupLine, created);
    if (set && !created) {
        set->repeated = true;
        if (type & TYPE_SPECIAL) {
            Diag().Warning("Multicolor special symbols (%d.%d) cannot be rotated!", major, minor);
        }
    }
    return set;
}

SymbolSet* CKibMap::FindSet(const SymbolId& id) const {
    if (!id.valid) {
        return nullptr;
    }
    return registry_.Find(id.major, id.minor);
}

int CKibMap::Bundles(int major, int minor) const {
    SymbolSet* set = registry_.Find(major, minor);
    return set ? set->Bundles(Diag()) : 0;
}

int CKibMap::Bundles(const SymbolId& id) const {
    SymbolSet* set = FindSet(id);
    return set ? set->Bundles(Diag()) : 0;
}

int CKibMap::CountBundles(int major, int firstMinor, int n) const {
    const long long first = std::max<long long>(firstMinor, 0);
    const long long last =
        std::min<long long>(static_cast<long long>(firstMinor) + n - 1, SymbolRegistry::kSize - 1);
    int sum = 0;
    for (long long minor = first; minor <= last; ++minor) {
        sum += Bundles(major, static_cast<int>(minor));
    }
    return sum;
}

SymbolInstance* CKibMap::Part(int p) const {
    if (p < 0 || p >= partCount) {
        return nullptr;
    }
    SymbolInstance* inst = firstPart;
    for (int k = 0; inst && k < p; ++k) {
        inst = inst->next;
    }
    return inst;
}

bool CKibMap::PartHasTask(int p, int task) const {
    if (p < 0 || p >= partCount) {
        return false;
    }
    const std::string key = ":" + std::to_string(task) + ":";
    return assignments[static_cast<std::size_t>(p)].find(key) != std::string::npos;
}

int CKibMap::RowEntryCount(int row) const {
    if (row < 0 || row > kMaxRow) {
        return 0;
    }
    return std::clamp(rowCount[static_cast<std::size_t>(row)], 0, kRowEntries);
}

SymbolInstance* CKibMap::RowEntry(int row, int k) const {
    if (k < 1 || k > RowEntryCount(row)) {
        return nullptr;
    }
    return rowSymbols_[static_cast<std::size_t>(row)][static_cast<std::size_t>(k - 1)];
}

} // namespace kib
