#include "map_input/symbol_set.h"

#include "foundation/diagnostics.h"

#include <cmath>
#include <vector>

namespace kib {

SymbolSet::SymbolSet(int maj, int min, SymbolType t, MapLine* line)
    : type(t), groupLine(line), major(maj), minor(min) {}

SymbolInstance& SymbolSet::AddInstance(MapLine* line) {
    SymbolInstance* previous = Last();
    SymbolInstance& inst = instances.emplace_back();
    inst.index = previous ? previous->index + 1 : 1;
    inst.type = type;
    inst.major = major;
    inst.minor = minor;
    inst.firstLine = line;
    inst.lastLine = line;
    if (previous) {
        previous->next = &inst;
    }
    ++count;
    return inst;
}

bool InstancesMatch(const SymbolInstance& a, const SymbolInstance& b) {
    if (a.points != b.points || a.isCircle != b.isCircle) {
        return false;
    }
    if (a.isCircle) {
        return true;
    }
    if (!a.firstLine || !b.firstLine || a.firstLine->text != b.firstLine->text) {
        return false;
    }
    const float ax = a.firstPoint.x - a.ref.x;
    const float ay = a.firstPoint.y - a.ref.y;
    const float bx = b.firstPoint.x - b.ref.x;
    const float by = b.firstPoint.y - b.ref.y;
    return std::fabs(ax - bx) < 0.01f && std::fabs(ay - by) < 0.01f;
}

namespace {

// Whether the instance list repeats with period k.
bool HasPeriod(const std::deque<SymbolInstance>& list, int k) {
    const int n = static_cast<int>(list.size());
    for (int i = 0; i + k < n; ++i) {
        if (!InstancesMatch(list[i], list[i + k])) {
            return false;
        }
    }
    return true;
}

} // namespace

void SymbolSet::ComputeGroupingFactor(Diagnostics& diagnostics) {
    if (count == 0 || groupingFactor != 0) {
        return;
    }
    groupingFactor = 1;
    if (repeated || count == 1) {
        return;
    }
    // Only a divisor of the count can qualify, so the others are not tried:
    // the result is the smallest period that divides the count.
    for (int k = 1; k <= count / 2; ++k) {
        if (count % k != 0 || !InstancesMatch(instances[0], instances[k])) {
            continue;
        }
        if (HasPeriod(instances, k)) {
            groupingFactor = k;
            diagnostics.Debug("Symbol %d.%d: Found grouping factor %d, bundles %d", major, minor, k,
                              count / k);
            return;
        }
    }
    groupingFactor = count;
}

int SymbolSet::Bundles(Diagnostics& diagnostics) {
    if (count == 0) {
        return 0;
    }
    ComputeGroupingFactor(diagnostics);
    return count / groupingFactor;
}

} // namespace kib
