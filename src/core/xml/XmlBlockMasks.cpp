#include "core/xml/XmlBlockMasks.h"

namespace orlenta {

#if ORLENTA_XML_BLOCKS_X86

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

#endif

} // namespace orlenta
