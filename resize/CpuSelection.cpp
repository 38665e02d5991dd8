#include "resize/CpuSelection.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "resize/ImageResize.h"

#if defined(__x86_64__)
#include <cpuid.h>
#endif

namespace resize {

namespace {

constexpr std::uint32_t Bit(int n) {
    return std::uint32_t{1} << n;
}

bool HasSse2(const CpuidSnapshot& s) {
    return s.hasCpuid && (s.leaf1Edx & Bit(26)) != 0;
}

// Every SIMD build is SSE2 code, and is absent from a program built without them (slot empty);
// the generic build runs anywhere.
ResizeStatus SetSlotIfRunnable(std::int32_t slot, const CpuidSnapshot& snapshot) {
    if (slot >= 2 && (!HasSse2(snapshot) || ResizeDispatchTable[slot] == nullptr)) {
        ResizeVariantIndex.store(1);
        return StatusCpuNotSupported;
    }
    ResizeVariantIndex.store(slot);
    return StatusOk;
}

struct NamedSlot {
    std::string_view name;
    std::int32_t slot;
};
constexpr NamedSlot NamedSlots[] = {{"generic", 1}, {"sse", 2}, {"sse2", 3}, {"sse3", 4}};

}  // namespace

CpuidSnapshot ReadCpuidSnapshot() {
    CpuidSnapshot s;
#if defined(__x86_64__)
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(1, &a, &b, &c, &d) == 0) {
        return s;
    }
    s.hasCpuid = true;
    s.leaf1Eax = a;
    s.leaf1Ebx = b;
    s.leaf1Ecx = c;
    s.leaf1Edx = d;
    s.highestExtendedLeaf = __get_cpuid_max(0x80000000u, nullptr);
    if (s.highestExtendedLeaf >= 0x80000001u && __get_cpuid(0x80000001u, &a, &b, &c, &d) != 0) {
        s.extendedLeaf1Edx = d;
    }
#endif
    return s;
}

CpuType ClassifyCpu(const CpuidSnapshot& s) {
    if (!s.hasCpuid) {
        return 0;
    }
    const std::uint32_t family = (s.leaf1Eax >> 8) & 0xF;
    const bool mmx = (s.leaf1Edx & Bit(23)) != 0;
    const bool sse = (s.leaf1Edx & Bit(25)) != 0;
    const bool sse2 = (s.leaf1Edx & Bit(26)) != 0;
    const bool sse3 = (s.leaf1Ecx & Bit(0)) != 0;
    switch (family) {
    case 7:
        return 16;
    case 15: {
        if (!sse2) {
            return 17;
        }
        const bool longMode = s.highestExtendedLeaf >= 0x80000001u && (s.extendedLeaf1Edx & Bit(29)) != 0;
        if (sse3) {
            return longMode ? 32 : 8;
        }
        const bool hyperThreading = (s.leaf1Edx & Bit(28)) != 0 && ((s.leaf1Ebx >> 16) & 0xFF) > 1;
        return hyperThreading ? 7 : 6;
    }
    case 5:
        return mmx ? 2 : 1;
    case 6:
        return sse2 ? 9 : sse ? 5 : mmx ? 4 : 3;
    default:
        return 0;
    }
}

CpuType ClassifyCpu() {
    return ClassifyCpu(ReadCpuidSnapshot());
}

std::int32_t SlotForCpuType(CpuType type) {
    switch (type) {
    case -1:
        return 0;
    case 0: case 1: case 2: case 3: case 4:
        return 1;
    case 5: case 16: case 17:
        return 2;
    case 6: case 7: case 9:
        return 3;
    case 8: case 32:
        return 4;
    default:
        return -2;
    }
}

ResizeStatus SelectResizeVariant() {
    const CpuidSnapshot snapshot = ReadCpuidSnapshot();
    const std::int32_t slot = SlotForCpuType(ClassifyCpu(snapshot));
    return SetSlotIfRunnable(slot < 1 ? 1 : slot, snapshot);
}

ResizeStatus SelectResizeVariantForCpu(CpuType type) {
    return SelectResizeVariantForCpu(type, ReadCpuidSnapshot());
}

ResizeStatus SelectResizeVariantForCpu(CpuType type, const CpuidSnapshot& processor) {
    const std::int32_t slot = SlotForCpuType(type);
    if (slot < 0) {
        return StatusUnknownCpuType;
    }
    return SetSlotIfRunnable(slot, processor);
}

ResizeStatus SelectResizeBuild(std::string_view name) {
    if (name == "auto") {
        return SelectResizeVariant();
    }
    for (const NamedSlot& n : NamedSlots) {
        if (n.name == name) {
            return SetSlotIfRunnable(n.slot, ReadCpuidSnapshot());
        }
    }
    return StatusUnknownCpuType;
}

namespace {
// Written at start-up (a static initializer) and read later by the program; a function-local
// static, so it exists whichever initializer runs first.
struct SelectionNotice {
    std::mutex mutex;
    std::string text;
};
SelectionNotice& Notice() {
    static SelectionNotice notice;
    return notice;
}
}  // namespace

void SelectResizeBuildFromEnvironment() {
    std::string notice;
    const char* name = std::getenv("QUENLO_RESIZE_BUILD");
    if (name != nullptr && *name != '\0') {
        const ResizeStatus status = SelectResizeBuild(name);
        const std::string setting = std::string("QUENLO_RESIZE_BUILD=") + name;
        if (status == StatusUnknownCpuType) {
            ResizeVariantIndex.store(1);
            notice = setting + " names no build of the resize library; the generic build runs";
        } else if (status == StatusCpuNotSupported) {
            notice = setting + ": this processor cannot run that build; the generic build runs";
        }
    }
    if (!notice.empty()) {
        std::fprintf(stderr, "%s\n", notice.c_str());
    }
    SelectionNotice& kept = Notice();
    std::lock_guard lock(kept.mutex);
    kept.text = std::move(notice);
}

std::string ResizeBuildSelectionNotice() {
    SelectionNotice& kept = Notice();
    std::lock_guard lock(kept.mutex);
    return kept.text;
}

}  // namespace resize
