// The layouts one command computed, so that the layout check before its runs
// and the runs themselves lay out each station once: a layout is taken again
// when everything it was computed from (the station's settings as read, its
// tasks and flags) is the same. The map scale's text is not part of it: it is
// written on the sheet but takes no room the layout measures. The memo lives as
// long as the command, while the configuration cannot change.
#pragma once

#include "sheet/sheet_layout.h"

#include <vector>

namespace kib {

class LayoutMemo {
  public:
    // The layout computed before from the same inputs, or none.
    const SheetLayout* Find(const SheetLayout& inputs) const;
    void Keep(const SheetLayout& inputs, const SheetLayout& layout);

  private:
    struct Entry {
        SheetLayout inputs;
        SheetLayout layout;
    };
    std::vector<Entry> entries_;
};

} // namespace kib
