// The libFuzzer entry of one target; TARVIN_FUZZ_TARGET names it (see FuzzTargets.h).

#include "fuzz/FuzzTargets.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    tarvin::fuzz::InitFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const tarvin::fuzz::TFuzzTarget target =
        tarvin::fuzz::FindFuzzTarget(TARVIN_FUZZ_TARGET);
    if (!target) {
        std::fprintf(stderr, "no fuzz target named %s\n", TARVIN_FUZZ_TARGET);
        std::abort();
    }
    target(data, size);
    return 0;
}
