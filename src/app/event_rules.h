// The event's own rules held against its maps: the zero tolerance of the
// bulletin (Source.ZEROTOLERANCE), for kib check.
#pragma once

#include <vector>

namespace kib {

class CKibDoc;

// When the event has a zero tolerance, reads each station as kib analyse does
// (with the lines of its reading) and warns for every flag that stands closer
// to a task's control than the rule allows; an info line closes the check.
// Does nothing when the rule is not set. False when a station could not be read
// or a stop request ended the check.
bool CheckZeroTolerance(CKibDoc& doc, const std::vector<int>& stations);

} // namespace kib
