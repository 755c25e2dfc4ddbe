#include "sheet/layout_memo.h"

namespace kib {

const SheetLayout* LayoutMemo::Find(const SheetLayout& inputs) const {
    for (const Entry& entry : entries_) {
        if (entry.inputs == inputs) {
            return &entry.layout;
        }
    }
    return nullptr;
}

void LayoutMemo::Keep(const SheetLayout& inputs, const SheetLayout& layout) {
    entries_.push_back(Entry{inputs, layout});
}

} // namespace kib
