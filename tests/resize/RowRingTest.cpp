// The ring of filtered rows: each source row a call needs is filtered once, whatever the
// advance from one destination row to the next.

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "resize/frame/RowRing.h"

using resize::frame::RowRing;

namespace {

// Brings the ring through `bases` (rows base - 2 ... base + 3, kept within 0 ... last) and
// checks that every slot shows its row; returns how often each row was filtered.
std::map<std::ptrdiff_t, int> Walk(const std::vector<std::ptrdiff_t>& bases, std::ptrdiff_t last) {
    std::vector<std::vector<std::ptrdiff_t>> storage(6, std::vector<std::ptrdiff_t>(1));
    void* buffers[6];
    for (int b = 0; b < 6; ++b) {
        buffers[b] = storage[b].data();
    }
    RowRing<std::ptrdiff_t, 6> ring(buffers);
    std::map<std::ptrdiff_t, int> filtered;
    for (std::ptrdiff_t base : bases) {
        std::ptrdiff_t rows[6];
        for (int j = 0; j < 6; ++j) {
            rows[j] = std::clamp<std::ptrdiff_t>(base + j - 2, 0, last);
        }
        ring.Bring(rows, [&](std::ptrdiff_t row, std::ptrdiff_t* work) {
            ++filtered[row];
            work[0] = row;
        });
        for (int j = 0; j < 6; ++j) {
            EXPECT_EQ(ring[j][0], rows[j]) << "base " << base << " slot " << j;
        }
    }
    return filtered;
}

TEST(RowRing, EachNeededRowIsFilteredOnce) {
    const std::vector<std::vector<std::ptrdiff_t>> walks = {
        {0, 0, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9},  // enlarging, to the bottom edge
        {0, 4, 8, 12, 16, 19},                  // reducing by four rows
        {0, 7, 14},                             // jumps wider than the ring
        {3, 3, 5, 6, 18, 19, 19},
    };
    for (const auto& bases : walks) {
        for (const auto& [row, times] : Walk(bases, 19)) {
            EXPECT_EQ(times, 1) << "row " << row;
        }
    }
}

}  // namespace
