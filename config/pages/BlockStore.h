#pragma once
// How a page's send routine reaches the device: a store of one block of the
// working set, made only when the block's bytes changed, committed when the
// device took it, and reporting its own failure. False when the store failed;
// the routine then stores nothing more.

#include <bitset>
#include <cstdint>
#include <functional>
#include <span>

namespace config {

using StoreBlock = std::function<bool(std::uint8_t option)>;

// Stores the blocks in order; false at the first failure.
inline bool StoreBlocks(std::span<const std::uint8_t> order, const StoreBlock& store) {
    for (std::uint8_t option : order)
        if (!store(option))
            return false;
    return true;
}

// The blocks a page edited in the working copies itself, by option number
// (the camera and detection pages edit them before Apply).
using EditedBlocks = std::bitset<18>;

// Stores, in order, the blocks of `order` the page edited; false at the first failure.
inline bool StoreEditedBlocks(std::span<const std::uint8_t> order, const EditedBlocks& edited,
                              const StoreBlock& store) {
    for (std::uint8_t option : order)
        if (edited.test(option) && !store(option))
            return false;
    return true;
}

}  // namespace config
