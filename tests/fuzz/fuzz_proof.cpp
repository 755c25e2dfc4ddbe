// libFuzzer entry of the proof target (see fuzz_targets.h and README.md).
#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return kib::fuzz::FuzzProof(data, size);
}
