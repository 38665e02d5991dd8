#pragma once
// Which build of the engine the entry runs: the processor's classification and the two
// selectors that set ResizeVariantIndex from it. Nothing in the program selects; slot 1 (the
// generic build) stays in force unless QUENLO_RESIZE_BUILD names another at start-up.

#include <cstdint>
#include <string>
#include <string_view>

#include "resize/ResizeTypes.h"

namespace resize {

using CpuType = std::int32_t;

// What the classification reads of the CPUID instruction.
struct CpuidSnapshot {
    bool hasCpuid = false;
    std::uint32_t leaf1Eax = 0;  // family in bits 8 ... 11
    std::uint32_t leaf1Ebx = 0;  // logical processors in bits 16 ... 23
    std::uint32_t leaf1Ecx = 0;  // bit 0 SSE3
    std::uint32_t leaf1Edx = 0;  // bit 23 MMX, 25 SSE, 26 SSE2, 28 hyper-threading
    std::uint32_t highestExtendedLeaf = 0;
    std::uint32_t extendedLeaf1Edx = 0;  // bit 29 the 64-bit extension
};

// This processor's CPUID values (hasCpuid false outside x86-64).
CpuidSnapshot ReadCpuidSnapshot();

// The processor family type: 0 without CPUID; by family: 7 gives 16; 15 gives 17 without SSE2,
// else 32 with SSE3 and the 64-bit extension, 8 with SSE3 alone, 7 with hyper-threading and
// more than one logical processor, else 6; 5 gives 2 with MMX, else 1; 6 gives 9 with SSE2, 5
// with SSE, 4 with MMX, else 3; any other family 0. Any vendor is classified: whether a build
// can run is judged from the features, by the selectors.
CpuType ClassifyCpu(const CpuidSnapshot& snapshot);
CpuType ClassifyCpu();

// The slot a type selects: 0 ... 4 give 1; 5, 16, 17 give 2 (SSE); 6, 7, 9 give 3 (SSE2);
// 8, 32 give 4 (SSE3-class); -1 gives 0, which runs the generic build; -2 for any other value.
std::int32_t SlotForCpuType(CpuType type);

// Sets ResizeVariantIndex from ClassifyCpu(). A SIMD slot (2 ... 4, every one built on SSE2) on
// a processor without SSE2, or in a program built without the SIMD builds, gives slot 1 and
// StatusCpuNotSupported.
ResizeStatus SelectResizeVariant();

// As SelectResizeVariant for the given type; an unknown type gives StatusUnknownCpuType and
// leaves the index as it was. `processor`: the processor judged (this one by default).
ResizeStatus SelectResizeVariantForCpu(CpuType type);
ResizeStatus SelectResizeVariantForCpu(CpuType type, const CpuidSnapshot& processor);

// A build by name: "generic", "sse", "sse2", "sse3", or "auto" (SelectResizeVariant). An unknown
// name gives StatusUnknownCpuType and changes nothing; a build the processor cannot run gives
// StatusCpuNotSupported and slot 1.
ResizeStatus SelectResizeBuild(std::string_view name);

// Start-up: the build QUENLO_RESIZE_BUILD names, when it is set and not empty (read once). A
// name no build carries, or a build this processor cannot run, leaves the generic build in slot
// 1 and says so once on standard error; the notice is kept for the program's trace log.
void SelectResizeBuildFromEnvironment();

// The notice of the last SelectResizeBuildFromEnvironment; empty when it selected as asked.
std::string ResizeBuildSelectionNotice();

}  // namespace resize
