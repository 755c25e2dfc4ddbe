#include "support/special_files.h"

namespace kib::test {

bool MakeFifo(const std::string&) {
    return false; // Windows has no FIFOs among the files of a folder
}

} // namespace kib::test
