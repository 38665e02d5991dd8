#include "resize/generic/AlignedAlloc.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace resize {

namespace {
// 0: nothing is refused; otherwise the number of allocations up to and including the one to
// refuse.
thread_local int allocationsUntilRefusal = 0;

// Room for the block's address in front of the aligned start, whatever the heap returns.
constexpr std::size_t HeaderRoom = sizeof(void*) + ResizeAlignment - 1;
}  // namespace

void* AlignedAllocBytes(std::int64_t count, std::size_t elementSize) {
    if (count <= 0 || elementSize == 0) {
        return nullptr;
    }
    const std::size_t limit = (std::numeric_limits<std::size_t>::max() - HeaderRoom) / elementSize;
    if (static_cast<std::uint64_t>(count) > limit) {
        return nullptr;
    }
    if (allocationsUntilRefusal > 0 && --allocationsUntilRefusal == 0) {
        return nullptr;
    }
    void* block = std::malloc(static_cast<std::size_t>(count) * elementSize + HeaderRoom);
    if (block == nullptr) {
        return nullptr;
    }
    const std::uintptr_t start = (reinterpret_cast<std::uintptr_t>(block) + HeaderRoom) &
                                 ~static_cast<std::uintptr_t>(ResizeAlignment - 1);
    void* aligned = reinterpret_cast<void*>(start);
    std::memcpy(static_cast<char*>(aligned) - sizeof(void*), &block, sizeof(void*));
    return aligned;
}

std::uint8_t* AlignedAlloc_8u(std::int64_t count) {
    return static_cast<std::uint8_t*>(AlignedAllocBytes(count, 1));
}

std::uint16_t* AlignedAlloc_16u(std::int64_t count) {
    return static_cast<std::uint16_t*>(AlignedAllocBytes(count, 2));
}

std::int32_t* AlignedAlloc_32s(std::int64_t count) {
    return static_cast<std::int32_t*>(AlignedAllocBytes(count, 4));
}

float* AlignedAlloc_32f(std::int64_t count) {
    return static_cast<float*>(AlignedAllocBytes(count, 4));
}

void AlignedFree(void* address) {
    if (address == nullptr) {
        return;
    }
    void* block;
    std::memcpy(&block, static_cast<char*>(address) - sizeof(void*), sizeof(void*));
    std::free(block);
}

namespace testing {
void RefuseAllocation(int n) {
    allocationsUntilRefusal = n < 0 ? 0 : n;
}

void StopRefusingAllocations() {
    allocationsUntilRefusal = 0;
}
}  // namespace testing

}  // namespace resize
