#pragma once
// A heap block of a fixed size that is allocated once and reused; the
// allocation reports failure instead of throwing, so start-up can refuse to
// run without it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <span>

namespace session {

class ByteBuffer {
public:
    ByteBuffer() = default;
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    // Replaces any earlier block; the contents are not cleared. False (and no
    // block) when the memory is not available.
    bool Allocate(std::size_t size) {
        Free();
        data_.reset(new (std::nothrow) std::uint8_t[size]);
        size_ = data_ ? size : 0;
        return data_ != nullptr;
    }
    void Free() {
        data_.reset();
        size_ = 0;
    }

    explicit operator bool() const { return data_ != nullptr; }
    std::uint8_t* data() { return data_.get(); }
    const std::uint8_t* data() const { return data_.get(); }
    std::size_t size() const { return size_; }
    std::span<std::uint8_t> span() { return {data_.get(), size_}; }
    std::span<const std::uint8_t> span() const { return {data_.get(), size_}; }

private:
    std::unique_ptr<std::uint8_t[]> data_;
    std::size_t size_ = 0;
};

}  // namespace session
