// The officials' answer key: one A4 page with a table per station (its tasks'
// numbers above their answers, zero answers shaded), the event's title lines
// and the date, in letters large enough to read at arm's length.
#pragma once

#include "app/answer_key_table.h"

#include <string>

namespace kib {

// The page as an SVG document in millimetres (210 x 297). today is the date
// shown when the event has none.
std::string AnswerKeySheetSvg(const AnswerKeyTable& table, const std::string& today);

} // namespace kib
