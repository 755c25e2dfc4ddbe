// A configuration for the generated event, in Kib's configuration file format.
#pragma once

#include "event.h"

#include <string>

namespace kib::gen {

std::string RenderConfig(const Event& event);
// What the generator intended, one station per block, for people and for tests.
std::string RenderSummary(const Event& event);

} // namespace kib::gen
