#pragma once
// Image buffers for the resize tests whose surroundings and row padding the engine must never
// touch. Under AddressSanitizer those bytes are poisoned, so any read or write of them is
// reported where it happens; in every build they hold a pattern that GuardsIntact() checks.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RESIZE_TEST_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define RESIZE_TEST_ASAN 1
#endif

#ifdef RESIZE_TEST_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace resize_test {

class GuardedImage {
public:
    static constexpr std::size_t GuardBytes = 64;
    static constexpr std::uint8_t GuardPattern = 0xA5;

    // `rows` rows of `rowBytes` bytes, `step` bytes apart (step >= rowBytes); every image byte
    // starts as `fill`. The first row starts `alignmentOffset` (0 ... 31) bytes past a 32-byte
    // boundary.
    GuardedImage(std::size_t rowBytes, std::size_t step, std::size_t rows, std::uint8_t fill,
                 std::size_t alignmentOffset = 0)
        : rowBytes_(rowBytes), step_(step), rows_(rows) {
        const std::size_t imageBytes = rows == 0 ? 0 : (rows - 1) * step + rowBytes;
        storage_.assign(GuardBytes + imageBytes + GuardBytes + 64, GuardPattern);
        const auto base = reinterpret_cast<std::uintptr_t>(storage_.data()) + GuardBytes;
        offset_ = ((base + 31) & ~std::uintptr_t{31}) + alignmentOffset % 32 -
                  reinterpret_cast<std::uintptr_t>(storage_.data());
        for (std::size_t y = 0; y < rows_; ++y) {
            std::memset(Row(y), fill, rowBytes_);
        }
        Poison(true);
    }
    ~GuardedImage() { Poison(false); }
    GuardedImage(const GuardedImage&) = delete;
    GuardedImage& operator=(const GuardedImage&) = delete;

    std::uint8_t* Data() { return storage_.data() + offset_; }
    std::uint8_t* Row(std::size_t y) { return Data() + y * step_; }
    std::size_t Step() const { return step_; }

    // The image rows without their padding.
    std::vector<std::uint8_t> Contents() const {
        std::vector<std::uint8_t> bytes;
        for (std::size_t y = 0; y < rows_; ++y) {
            const std::uint8_t* row = storage_.data() + offset_ + y * step_;
            bytes.insert(bytes.end(), row, row + rowBytes_);
        }
        return bytes;
    }

    // True when no byte around the image or in its row padding changed.
    bool GuardsIntact() {
        Poison(false);
        bool intact = true;
        ForEachGuard([&](std::uint8_t* from, std::size_t count) {
            for (std::size_t i = 0; i < count; ++i) {
                intact = intact && from[i] == GuardPattern;
            }
        });
        Poison(true);
        return intact;
    }

private:
    template <class Visit>
    void ForEachGuard(Visit&& visit) {
        std::uint8_t* begin = storage_.data();
        std::uint8_t* image = Data();
        visit(begin, static_cast<std::size_t>(image - begin));
        for (std::size_t y = 0; y + 1 < rows_; ++y) {
            visit(Row(y) + rowBytes_, step_ - rowBytes_);
        }
        std::uint8_t* end = rows_ == 0 ? image : Row(rows_ - 1) + rowBytes_;
        visit(end, static_cast<std::size_t>(begin + storage_.size() - end));
    }

    void Poison(bool poison) {
#ifdef RESIZE_TEST_ASAN
        ForEachGuard([&](std::uint8_t* from, std::size_t count) {
            if (poison) {
                ASAN_POISON_MEMORY_REGION(from, count);
            } else {
                ASAN_UNPOISON_MEMORY_REGION(from, count);
            }
        });
#else
        (void)poison;
#endif
    }

    std::size_t rowBytes_;
    std::size_t step_;
    std::size_t rows_;
    std::size_t offset_ = 0;
    std::vector<std::uint8_t> storage_;
};

}  // namespace resize_test
