#pragma once
// The resize library's one entry: scales a region of an 8-bit, three-channel interleaved image.
// A dispatcher jumps through a table of engine builds; the selected slot is the generic build
// unless QUENLO_RESIZE_BUILD names another at start-up (see CpuSelection.h).

#include <atomic>
#include <cstdint>

#include "resize/ResizeBuilds.h"
#include "resize/ResizeTypes.h"

namespace resize {

// Steps are in bytes. On StatusOk a block of the size the factors give the region is written
// from destinationImage on, no larger than destinationSize; every other element is untouched.
ResizeStatus ImageResize_8u_C3R(const std::uint8_t* sourceImage, ResizeSize sourceSize,
                                std::int32_t sourceStep, ResizeRect sourceRegion,
                                std::uint8_t* destinationImage, std::int32_t destinationStep,
                                ResizeSize destinationSize, double scaleX, double scaleY,
                                std::int32_t interpolationCode);

// Slot 0 empty; 1 the generic build; 2, 3, 4 the SSE, SSE2 and SSE3-class builds (empty where
// this program has no such build: outside x86-64, and until a build exists).
inline constexpr int ResizeDispatchSlots = 5;
extern const ResizeRoutine ResizeDispatchTable[ResizeDispatchSlots];

// The slot calls run; 1 at start-up. Read once per call, changed only by the selectors.
extern std::atomic<std::int32_t> ResizeVariantIndex;

// The routine a call made now runs: the selected slot's build, or the generic build for slot 0,
// an empty slot or an index outside the table.
ResizeRoutine SelectedResizeRoutine();

// An entry of the process-wide list of dispatchers, pushed once at start-up.
struct DispatchDescriptor {
    const char* domain;                 // "i"
    const char* name;                   // "ImageResize_8u_C3R"
    const ResizeRoutine* table;         // ResizeDispatchTable
    DispatchDescriptor* next;
};

extern DispatchDescriptor ResizeDispatchDescriptor;
extern DispatchDescriptor* DispatchDescriptorList;

// Makes `descriptor` the list's head and returns the former head; the descriptor itself is not
// touched, so the caller links it.
DispatchDescriptor* PushDispatchDescriptor(DispatchDescriptor* descriptor);

// Runs once as a static initializer: puts ResizeDispatchDescriptor at the head of the list.
void RegisterResizeDispatcher();

}  // namespace resize
