#pragma once
// 32-byte-aligned heap blocks for a build's tables, work rows and accumulator rows. Every build
// has its own allocators: AlignedAllocators<Build> is instantiated once per build.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

namespace resize {

inline constexpr std::size_t ResizeAlignment = 32;

namespace testing {
// Refuses the n-th allocation this thread makes from now on (1: the next one), in whatever
// build, and lets every other succeed, until StopRefusingAllocations(); for tests of the
// out-of-memory paths, which must also free what the allocations before and after the refused
// one took.
void RefuseAllocation(int n);
void StopRefusingAllocations();
}  // namespace testing

namespace frame {

// True when the allocation being made is the one a test asked to refuse.
bool AllocationRefused();

template <class Build>
struct AlignedAllocators {
    // Counts are elements; a count of 0 or below, a size that does not fit the address space, or
    // a refusing heap gives null. The block's own address is kept just before the returned
    // address (pointer-sized, whatever the platform).
    static void* AlignedAllocBytes(std::int64_t count, std::size_t elementSize) {
        constexpr std::size_t headerRoom = sizeof(void*) + ResizeAlignment - 1;
        if (count <= 0 || elementSize == 0) {
            return nullptr;
        }
        const std::size_t limit = (std::numeric_limits<std::size_t>::max() - headerRoom) / elementSize;
        if (static_cast<std::uint64_t>(count) > limit || AllocationRefused()) {
            return nullptr;
        }
        void* block = std::malloc(static_cast<std::size_t>(count) * elementSize + headerRoom);
        if (block == nullptr) {
            return nullptr;
        }
        const std::uintptr_t start = (reinterpret_cast<std::uintptr_t>(block) + headerRoom) &
                                     ~static_cast<std::uintptr_t>(ResizeAlignment - 1);
        void* aligned = reinterpret_cast<void*>(start);
        std::memcpy(static_cast<char*>(aligned) - sizeof(void*), &block, sizeof(void*));
        return aligned;
    }

    static std::uint8_t* AlignedAlloc_8u(std::int64_t count) {
        return static_cast<std::uint8_t*>(AlignedAllocBytes(count, 1));
    }
    static std::uint16_t* AlignedAlloc_16u(std::int64_t count) {
        return static_cast<std::uint16_t*>(AlignedAllocBytes(count, 2));
    }
    static std::int32_t* AlignedAlloc_32s(std::int64_t count) {
        return static_cast<std::int32_t*>(AlignedAllocBytes(count, 4));
    }
    static float* AlignedAlloc_32f(std::int64_t count) {
        return static_cast<float*>(AlignedAllocBytes(count, 4));
    }

    // Nothing for null.
    static void AlignedFree(void* address) {
        if (address == nullptr) {
            return;
        }
        void* block;
        std::memcpy(&block, static_cast<char*>(address) - sizeof(void*), sizeof(void*));
        std::free(block);
    }
};

// Owns one aligned block of a build; freed by that build on every path out of a call.
template <class Build>
struct AlignedDeleter {
    void operator()(void* address) const { Build::AlignedFree(address); }
};
template <class Build>
using AlignedBlock = std::unique_ptr<void, AlignedDeleter<Build>>;

template <class Build, class T>
T* AllocateInto(AlignedBlock<Build>& block, std::int64_t count) {
    block.reset(Build::AlignedAllocBytes(count, sizeof(T)));
    return static_cast<T*>(block.get());
}

}  // namespace frame
}  // namespace resize
