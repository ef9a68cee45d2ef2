#include "core/xml/XmlBlockMasks.h"

#include <algorithm>
#include <atomic>

namespace orlenta {

#if ORLENTA_XML_BLOCKS_X86

namespace {
std::atomic<TXmlBlocksInstructions> gInstructionsCap{TXmlBlocksInstructions::Avx512};
}

bool XmlBlocksHaveAvx2() {
    // Asked once: before main, __builtin_cpu_supports needs __builtin_cpu_init.
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") &&
               __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt");
    }();
    return has;
}

bool XmlBlocksHaveAvx512() {
    static const bool has = [] {
        __builtin_cpu_init();
        return XmlBlocksHaveAvx2() && __builtin_cpu_supports("avx512f") &&
               __builtin_cpu_supports("avx512bw");
    }();
    return has;
}

TXmlBlocksInstructions XmlBlocksInstructions() {
    static const TXmlBlocksInstructions best = [] {
        if (XmlBlocksHaveAvx512())
            return TXmlBlocksInstructions::Avx512;
        return XmlBlocksHaveAvx2() ? TXmlBlocksInstructions::Avx2 : TXmlBlocksInstructions::Sse2;
    }();
    return std::min(best, gInstructionsCap.load(std::memory_order_relaxed));
}

void CapXmlBlocksInstructions(TXmlBlocksInstructions most) {
    gInstructionsCap.store(most, std::memory_order_relaxed);
}

#endif

} // namespace orlenta
