// libFuzzer entry of the drawing target (see fuzz_targets.h and README.md).
#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return kib::fuzz::FuzzDrawing(data, size);
}
