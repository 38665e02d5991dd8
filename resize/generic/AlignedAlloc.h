#pragma once
// 32-byte-aligned heap blocks for the resize engine's tables and work rows (every build).

#include <cstddef>
#include <cstdint>
#include <memory>

namespace resize {

inline constexpr std::size_t ResizeAlignment = 32;

// Counts are elements; a count of 0 or below, a size that does not fit the address space, or a
// refusing heap gives null. The block's own address is kept just before the returned address.
void* AlignedAllocBytes(std::int64_t count, std::size_t elementSize);
std::uint8_t* AlignedAlloc_8u(std::int64_t count);
std::uint16_t* AlignedAlloc_16u(std::int64_t count);
std::int32_t* AlignedAlloc_32s(std::int64_t count);
float* AlignedAlloc_32f(std::int64_t count);

// Nothing for null.
void AlignedFree(void* address);

struct AlignedDeleter {
    void operator()(void* address) const { AlignedFree(address); }
};

// Owns one aligned array; freed on every path out of a call.
template <class T>
using AlignedArray = std::unique_ptr<T[], AlignedDeleter>;

// Owns one aligned block of any element type.
using AlignedBlock = std::unique_ptr<void, AlignedDeleter>;

template <class T>
AlignedArray<T> MakeAlignedArray(std::int64_t count) {
    return AlignedArray<T>(static_cast<T*>(AlignedAllocBytes(count, sizeof(T))));
}

namespace testing {
// Refuses the n-th allocation this thread makes from now on (1: the next one) and lets every
// other succeed, until StopRefusingAllocations(); for tests of the out-of-memory paths, which
// must also free what the allocations before and after the refused one took.
void RefuseAllocation(int n);
void StopRefusingAllocations();
}  // namespace testing

}  // namespace resize
