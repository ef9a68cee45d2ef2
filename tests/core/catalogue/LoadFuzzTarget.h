#pragma once

#include <cstddef>
#include <cstdint>

// Loads data as a data file (inflate, decode, parse, bind) and walks what it loaded. Any input
// must end in a loaded catalogue or a reported error: never a crash, a hang or a sanitizer report.
// Also reads data as XML text with both scans of the well-formedness check, which must agree,
// the block scan on each instruction set the processor has.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
