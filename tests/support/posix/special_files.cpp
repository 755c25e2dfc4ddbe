#include "support/special_files.h"

#include <sys/stat.h>

namespace kib::test {

bool MakeFifo(const std::string& path) {
    return ::mkfifo(path.c_str(), 0666) == 0;
}

} // namespace kib::test
