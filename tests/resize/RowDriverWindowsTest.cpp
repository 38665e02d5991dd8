// The cubic and Lanczos row drivers with a recording kernel set: which source rows each
// destination row's window holds (rows beyond the image's top and bottom are the edge row's work
// row) and how often each source row is filtered in a call (once).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "resize/frame/CubicRows.h"
#include "resize/frame/LanczosRows.h"

using namespace resize::frame;

namespace {

// Source row r (counted from the region's first row) holds 100 + r in its one element; a
// horizontal pass writes r into its work row, a vertical pass records the rows of its window
// and how many passes ran since the last window.
struct Recording {
    static inline std::vector<int> filtered;
    static inline std::vector<std::vector<int>> windows;
    static inline std::vector<int> passesBefore;
    static inline int passes = 0;

    static void Filter(const std::uint8_t* row, float* work) {
        filtered.push_back(row[0] - 100);
        work[0] = static_cast<float>(row[0] - 100);
        ++passes;
    }
    static void Window(std::initializer_list<const float*> rows) {
        std::vector<int> window;
        for (const float* r : rows) {
            window.push_back(static_cast<int>(r[0]));
        }
        windows.push_back(window);
        passesBefore.push_back(passes);
        passes = 0;
    }

    template <class T, class L>
    static void HorzLanczos(const T* row, std::int32_t, const std::ptrdiff_t*, const float*, std::ptrdiff_t,
                            std::ptrdiff_t, float* work) {
        Filter(row, work);
    }
    template <class T, class L>
    static void VertLanczos(T*, std::int32_t, const float*, const float* const* rows) {
        Window({rows[0], rows[1], rows[2], rows[3], rows[4], rows[5]});
    }
    template <class T, class L>
    static void HorzCubic(const T* row, std::int32_t, const std::ptrdiff_t*, const float*, float* work) {
        Filter(row, work);
    }
    template <class T, class L>
    static void VertCubic(T*, std::int32_t, float, const float* r0, const float* r1, const float* r2,
                          const float* r3) {
        Window({r0, r1, r2, r3});
    }
};

struct Walk {
    std::vector<std::vector<int>> windows;
    std::vector<int> passesBefore;
    std::map<int, int> timesFiltered;
};

// Runs one driver over a one-column source of `height` rows below `regionY` rows above the
// region; destination row i takes source row rows[i].
template <bool Lanczos>
Walk Drive(std::int32_t regionY, std::int32_t height, const std::vector<std::int32_t>& rows) {
    constexpr std::ptrdiff_t step = 3;
    std::vector<std::uint8_t> source((regionY + height) * step);
    for (std::int32_t r = -regionY; r < height; ++r) {
        source[(regionY + r) * step] = static_cast<std::uint8_t>(100 + r);
    }
    std::vector<std::ptrdiff_t> offsets;
    for (std::int32_t r : rows) {
        offsets.push_back(r * step);
    }
    const std::ptrdiff_t columnOffsets[1] = {0};
    std::vector<float> weights(6 * rows.size());
    float work[6][1];
    std::uint8_t destination[1];
    RowDriverArgs a{};
    a.region = source.data() + regionY * step;
    a.destination = destination;
    a.sourceStep = step;
    a.destinationStep = 0;
    a.destinationWidth = 1;
    a.destinationHeight = static_cast<std::int32_t>(rows.size());
    a.rowOffsets = offsets.data();
    a.columnOffsets = columnOffsets;
    a.rowWeights = weights.data();
    a.columnWeights = weights.data();
    for (int j = 0; j < 6; ++j) {
        a.workRows[j] = work[j];
    }
    a.regionX = 0;
    a.regionY = regionY;
    a.sourceExtentX = 1;
    a.sourceExtentY = height;
    Recording::filtered.clear();
    Recording::windows.clear();
    Recording::passesBefore.clear();
    Recording::passes = 0;
    if constexpr (Lanczos) {
        ResizeRowsLanczos<Recording, std::uint8_t, LayoutC1>(a);
    } else {
        ResizeRowsCubic<Recording, std::uint8_t, LayoutC1>(a);
    }
    Walk walk{Recording::windows, Recording::passesBefore, {}};
    for (int r : Recording::filtered) {
        ++walk.timesFiltered[r];
    }
    return walk;
}

void ExpectEachRowFilteredOnce(const Walk& walk) {
    for (const auto& [row, times] : walk.timesFiltered) {
        EXPECT_EQ(times, 1) << "row " << row;
    }
}

using Window = std::vector<int>;

TEST(RowDriverWindows, LanczosEdgesAndAdvances) {
    const struct {
        const char* name;
        std::int32_t regionY, height;
        std::vector<std::int32_t> rows;
        Window first, last;
    } cases[] = {
        {"x2 of 6 rows", 0, 6, {0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5}, {0, 0, 0, 1, 2, 3}, {3, 4, 5, 5, 5, 5}},
        {"general loop at the bottom", 0, 8, {0, 2, 4, 6}, {0, 0, 0, 1, 2, 3}, {4, 5, 6, 7, 7, 7}},
        {"region y 1", 1, 10, {0, 1, 2}, {-1, -1, 0, 1, 2, 3}, {0, 1, 2, 3, 4, 5}},
        {"region y 2", 2, 10, {0, 1}, {-2, -1, 0, 1, 2, 3}, {-1, 0, 1, 2, 3, 4}},
        {"region y 4", 4, 10, {0}, {-2, -1, 0, 1, 2, 3}, {-2, -1, 0, 1, 2, 3}},
        {"one row left", 3, 1, {0, 0}, {-2, -1, 0, 0, 0, 0}, {-2, -1, 0, 0, 0, 0}},
        {"two rows left", 0, 2, {0, 1}, {0, 0, 0, 1, 1, 1}, {0, 0, 1, 1, 1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Walk walk = Drive<true>(c.regionY, c.height, c.rows);
        ASSERT_EQ(walk.windows.size(), c.rows.size());
        EXPECT_EQ(walk.windows.front(), c.first);
        EXPECT_EQ(walk.windows.back(), c.last);
        for (std::size_t i = 0; i < c.rows.size(); ++i) {
            for (int j = 0; j < 6; ++j) {
                const int expected = std::clamp(c.rows[i] + j - 2, -c.regionY, c.height - 1);
                EXPECT_EQ(walk.windows[i][j], expected) << "destination row " << i << " tap " << j;
            }
        }
        ExpectEachRowFilteredOnce(walk);
    }
}

TEST(RowDriverWindows, LanczosAdvanceOfSevenFiltersSixRows) {
    const Walk walk = Drive<true>(0, 30, {2, 9, 16});
    EXPECT_EQ(walk.passesBefore, (std::vector<int>{6, 6, 6}));
    EXPECT_EQ(walk.windows[1], (Window{7, 8, 9, 10, 11, 12}));
    ExpectEachRowFilteredOnce(walk);
}

TEST(RowDriverWindows, CubicWindowsFilterEachRowOnce) {
    const Walk enlarge = Drive<false>(0, 8, {1, 1, 2, 2, 3, 4, 5, 5});
    EXPECT_EQ(enlarge.windows.front(), (Window{0, 1, 2, 3}));
    EXPECT_EQ(enlarge.windows.back(), (Window{4, 5, 6, 7}));
    EXPECT_EQ(enlarge.passesBefore, (std::vector<int>{4, 0, 1, 0, 1, 1, 1, 0}));
    ExpectEachRowFilteredOnce(enlarge);

    const Walk reduce = Drive<false>(0, 16, {1, 5, 9, 13});
    EXPECT_EQ(reduce.passesBefore, (std::vector<int>{4, 4, 4, 4}));
    EXPECT_EQ(reduce.windows[2], (Window{8, 9, 10, 11}));
    ExpectEachRowFilteredOnce(reduce);
}

}  // namespace
