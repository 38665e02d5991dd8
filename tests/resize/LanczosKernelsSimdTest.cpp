// The Lanczos weights and kernels of the SSE and SSE2 builds: the weights' worked values and the
// two builds' agreement; the horizontal runs' tap columns and every run split against a scalar
// model with clamped taps (source rows start and end at poisoned bytes); the vertical kernels
// against the single- and double-precision models; the 32f packed body against element by
// element at every length, alignment and overlap.

#include <gtest/gtest.h>

#if QUENLO_RESIZE_SIMD

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <type_traits>
#include <vector>

#include "GuardedImage.h"
#include "RandomElements.h"
#include "resize/frame/PixelLayouts.h"
#include "resize/generic/LanczosTable.h"
#include "resize/sse/LanczosWeights.h"
#include "resize/sse2/LanczosKernels.h"
#include "resize/sse2/LanczosWeights.h"

using namespace resize;
using frame::LayoutAC4;
using frame::LayoutC1;
using frame::LayoutC3;
using frame::LayoutC4;
using resize_test::GuardedImage;
using resize_test::RandomElement;

namespace {

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Both builds' weights of one fraction, in a buffer that ends at poisoned bytes.
struct BothWeights {
    std::vector<float> sse;
    std::vector<float> sse2;
};

BothWeights WeightsOf(const std::vector<float>& fractions) {
    const auto count = static_cast<std::int32_t>(fractions.size());
    BothWeights w{std::vector<float>(6 * count), {}};
    sse::LanczosWeights(fractions.data(), count, w.sse.data());
    GuardedImage out(24 * count, 24 * count, 1, 0xEE);
    sse2::LanczosWeights(fractions.data(), count, reinterpret_cast<float*>(out.Row(0)), LanczosTable);
    EXPECT_TRUE(out.GuardsIntact()) << "count " << count;
    const auto* written = reinterpret_cast<const float*>(out.Row(0));
    w.sse2.assign(written, written + 6 * count);
    return w;
}

TEST(SimdLanczosWeights, WorkedFractionsGiveTheTableEntries) {
    const float z = 0.0f;
    const float m = -0.0f;
    const struct {
        float fraction;
        float weights[6];
    } cases[] = {
        {0.0f, {z, m, 1.0f, m, z, z}},
        {std::ldexp(1.0f, -23), {z, m, 1.0f, m, z, z}},
        {-std::ldexp(1.0f, -24), {z, m, 1.0f, m, z, z}},
        {1.0f - std::ldexp(1.0f, -23), {z, z, m, 1.0f, m, z}},
        {0.5f, {LanczosTable[250], LanczosTable[150], LanczosTable[50], LanczosTable[50], LanczosTable[150], LanczosTable[250]}},
        {0.25f, {LanczosTable[225], LanczosTable[125], LanczosTable[25], LanczosTable[75], LanczosTable[175], LanczosTable[275]}},
    };
    for (const auto& c : cases) {
        const BothWeights w = WeightsOf({c.fraction});
        for (int j = 0; j < 6; ++j) {
            EXPECT_TRUE(SameBits(w.sse[j], c.weights[j])) << "f " << c.fraction << " tap " << j << ": " << w.sse[j];
            EXPECT_TRUE(SameBits(w.sse2[j], c.weights[j])) << "f " << c.fraction << " tap " << j << ": " << w.sse2[j];
        }
    }
}

// Every count from 0 to 13 (odd counts end on a lone fraction) writes exactly 6 x count weights,
// the same bits in both builds.
TEST(SimdLanczosWeights, BothBuildsAgreeAndWriteNothingPastTheirWeights) {
    std::mt19937 random(67);
    for (std::int32_t count = 0; count <= 13; ++count) {
        std::vector<float> fractions(count);
        for (float& f : fractions) {
            f = random() % 5 == 0 ? -1e-7f : std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
        }
        const BothWeights w = WeightsOf(fractions);
        ASSERT_EQ(w.sse2.size(), w.sse.size());
        for (std::size_t j = 0; j < w.sse.size(); ++j) {
            ASSERT_TRUE(SameBits(w.sse[j], w.sse2[j])) << "count " << count << " weight " << j;
        }
    }
}

// ---- horizontal ----

// A source row of pixels -regionX ... W - 1 between poisoned bytes; element c of pixel x holds
// 10 (x + regionX) + c + 1, the fourth element of AC4 pixels 250 (never read into the work row).
template <class T, class L>
struct SourceRow {
    SourceRow(std::int32_t regionX, std::int32_t width)
        : image((regionX + width) * L::pixelStride * sizeof(T), (regionX + width) * L::pixelStride * sizeof(T), 1, 0),
          regionX(regionX),
          width(width) {
        T* all = reinterpret_cast<T*>(image.Row(0));
        for (std::int32_t x = 0; x < regionX + width; ++x) {
            for (int e = 0; e < L::pixelStride; ++e) {
                all[x * L::pixelStride + e] = static_cast<T>(e < L::channels ? 10 * x + e + 1 : 250);
            }
        }
    }
    const T* Region() { return reinterpret_cast<const T*>(image.Row(0)) + regionX * L::pixelStride; }
    std::ptrdiff_t First() const { return -static_cast<std::ptrdiff_t>(regionX) * L::pixelStride; }
    std::ptrdiff_t Last() const { return static_cast<std::ptrdiff_t>(width - 1) * L::pixelStride; }

    GuardedImage image;
    std::int32_t regionX;
    std::int32_t width;
};

// The source column each tap of a column with base `b` reads: a one-hot weight reveals it.
template <class L>
std::vector<int> TapColumns(std::int32_t regionX, std::int32_t width, std::int32_t b) {
    SourceRow<std::uint8_t, L> row(regionX, width);
    std::vector<int> columns;
    for (int j = 0; j < 6; ++j) {
        alignas(16) float weights[6] = {};
        weights[j] = 1.0f;
        const std::ptrdiff_t offset = b * L::pixelStride;
        float work[4] = {};
        sse2::ResizeHorzLanczos<std::uint8_t, L>(row.Region(), 1, &offset, weights, row.First(), row.Last(), work);
        const int column = static_cast<int>(work[0] - 1) / 10 - regionX;
        for (int c = 0; c < L::channels; ++c) {
            EXPECT_EQ(work[c], 10 * (column + regionX) + c + 1) << "channel " << c;
        }
        columns.push_back(column);
    }
    EXPECT_TRUE(row.image.GuardsIntact());
    return columns;
}

TEST(SimdLanczosKernels, EachRunReadsItsTapColumns) {
    using V = std::vector<int>;
    const struct {
        std::int32_t regionX, width, base;
        V columns;
    } cases[] = {
        {0, 9, 0, {0, 0, 0, 1, 2, 3}},
        {0, 9, 1, {0, 0, 1, 2, 3, 4}},
        {0, 9, 2, {0, 1, 2, 3, 4, 5}},
        {1, 8, 0, {-1, -1, 0, 1, 2, 3}},
        {1, 8, 1, {-1, 0, 1, 2, 3, 4}},
        {2, 8, 0, {-2, -1, 0, 1, 2, 3}},
        {5, 8, 0, {-2, -1, 0, 1, 2, 3}},
        {3, 8, 5, {3, 4, 5, 6, 7, 7}},
        {3, 8, 6, {4, 5, 6, 7, 7, 7}},
        {3, 8, 7, {5, 6, 7, 7, 7, 7}},
        {0, 6, 5, {3, 4, 5, 5, 5, 5}},
        {2, 1, 0, {-2, -1, 0, 0, 0, 0}},
        {4, 2, 0, {-2, -1, 0, 1, 1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "region x " << c.regionX << " W " << c.width << " base " << c.base);
        EXPECT_EQ(TapColumns<LayoutC1>(c.regionX, c.width, c.base), c.columns);
        EXPECT_EQ(TapColumns<LayoutC3>(c.regionX, c.width, c.base), c.columns);
        EXPECT_EQ(TapColumns<LayoutAC4>(c.regionX, c.width, c.base), c.columns);
        EXPECT_EQ(TapColumns<LayoutC4>(c.regionX, c.width, c.base), c.columns);
    }
}

// Columns with clamped taps, each product and partial sum rounded to single precision in tap order.
template <class T, class L>
float ModelColumn(const T* region, std::ptrdiff_t offset, const float* w, int c, std::ptrdiff_t first,
                  std::ptrdiff_t last) {
    constexpr std::ptrdiff_t s = L::pixelStride;
    float acc = 0.0f;
    for (int j = 0; j < 6; ++j) {
        const float product = static_cast<float>(region[std::clamp(offset + (j - 2) * s, first, last) + c]) * w[j];
        acc = j == 0 ? product : acc + product;
    }
    return acc;
}

// Random rows and base columns, sorted as the core builds them (drawn mostly from the edge
// classes, so every run boundary falls on every position of counts 0 ... 13), and sometimes
// unsorted, where a column that fits no run ahead still gets its clamped taps.
template <class T, class L>
void CheckHorizontal(std::mt19937& random) {
    constexpr int n = L::channels;
    const std::int32_t setups[][2] = {{0, 6}, {0, 9}, {1, 5}, {1, 9}, {2, 1}, {2, 3}, {3, 4}, {2, 11}};
    for (const auto& [regionX, width] : setups) {
        for (std::int32_t count = 0; count <= 13; ++count) {
            for (bool sorted : {true, false}) {
                SourceRow<T, L> row(regionX, width);
                T* all = reinterpret_cast<T*>(row.image.Row(0));
                for (std::int32_t e = 0; e < (regionX + width) * L::pixelStride; ++e) {
                    all[e] = RandomElement<T>(random);
                }
                std::vector<std::ptrdiff_t> offsets(count);
                const std::int32_t edges[] = {0, 1, 2, width - 3, width - 2, width - 1};
                for (std::ptrdiff_t& o : offsets) {
                    const std::int32_t b = random() % 2 ? edges[random() % 6] : static_cast<std::int32_t>(random() % width);
                    o = std::clamp(b, 0, width - 1) * L::pixelStride;
                }
                if (sorted) {
                    std::sort(offsets.begin(), offsets.end());
                }
                std::vector<float> fractions(count);
                for (float& f : fractions) {
                    f = std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
                }
                alignas(16) float weights[6 * 13];
                sse::LanczosWeights(fractions.data(), count, weights);
                GuardedImage work(count * n * 4, count * n * 4, 1, 0);
                sse2::ResizeHorzLanczos<T, L>(row.Region(), count, offsets.data(), weights, row.First(), row.Last(),
                                              reinterpret_cast<float*>(work.Row(0)));
                const float* out = reinterpret_cast<const float*>(work.Row(0));
                for (std::int32_t k = 0; k < count; ++k) {
                    for (int c = 0; c < n; ++c) {
                        const float expected =
                            ModelColumn<T, L>(row.Region(), offsets[k], weights + 6 * k, c, row.First(), row.Last());
                        ASSERT_TRUE(SameBits(out[k * n + c], expected))
                            << "region x " << regionX << " W " << width << " count " << count << " column " << k
                            << " channel " << c << (sorted ? "" : " unsorted");
                    }
                }
                ASSERT_TRUE(work.GuardsIntact());
                ASSERT_TRUE(row.image.GuardsIntact());
            }
        }
    }
}

template <class T>
void CheckHorizontalLayouts(std::mt19937& random) {
    CheckHorizontal<T, LayoutC1>(random);
    CheckHorizontal<T, LayoutC3>(random);
    CheckHorizontal<T, LayoutAC4>(random);
    CheckHorizontal<T, LayoutC4>(random);
}

TEST(SimdLanczosKernels, HorizontalRunsEqualClampedTapsOnEverySplit) {
    std::mt19937 random(6120);
    CheckHorizontalLayouts<std::uint8_t>(random);
    CheckHorizontalLayouts<std::uint16_t>(random);
    CheckHorizontalLayouts<float>(random);
}

// The worked values: a flat area and an edge at fraction 0.5 in both directions.
TEST(SimdLanczosKernels, WorkedValues) {
    const float half[1] = {0.5f};
    alignas(16) float w[6];
    sse::LanczosWeights(half, 1, w);
    const auto horizontal = [&](std::vector<std::uint8_t> pixels, std::int32_t regionX, std::ptrdiff_t offset) {
        const auto width = static_cast<std::int32_t>(pixels.size()) - regionX;
        float work = 0.0f;
        sse2::ResizeHorzLanczos<std::uint8_t, LayoutC1>(pixels.data() + regionX, 1, &offset, w, -regionX, width - 1,
                                                        &work);
        return work;
    };
    EXPECT_EQ(horizontal({0, 0, 0, 255, 255, 255, 9, 9}, 2, 0), 126.773064f);
    EXPECT_EQ(horizontal({0, 0, 0, 0, 255, 255, 9, 9}, 2, 0), -28.2483463f);
    EXPECT_EQ(horizontal({100, 0, 0, 0, 0, 0}, 0, 0), 49.7149277f);
    for (const auto& [value, work, result] : {std::tuple{200, 198.859711f, 197}, std::tuple{255, 252.0f, 252}}) {
        const float flat = horizontal(std::vector<std::uint8_t>(8, static_cast<std::uint8_t>(value)), 2, 0);
        if (value == 200) {
            EXPECT_EQ(flat, work);
        }
        alignas(16) float rows[6][4];
        const float* r[6];
        for (int j = 0; j < 6; ++j) {
            std::fill(rows[j], rows[j] + 4, flat);
            r[j] = rows[j];
        }
        std::uint8_t single[4] = {};
        std::uint8_t twice[4] = {};
        sse2::ResizeVertLanczosSingle<std::uint8_t, LayoutC1>(single, 4, w, r);
        sse2::ResizeVertLanczos<std::uint8_t, LayoutC1>(twice, 4, w, r);
        EXPECT_EQ(single[3], result) << value;
        EXPECT_EQ(twice[3], result) << value;
    }
}

TEST(SimdLanczosKernels, VerticalConversionBiasesTruncatesAndClamps) {
    const float sums[] = {-0.3f, 254.99998f, 0.99999994f, 1.99999988f, 255.2f, 1e9f};
    const std::uint8_t expected[] = {0, 254, 1, 1, 255, 255};
    alignas(16) const float w[6] = {0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f};
    alignas(16) const float zeros[6] = {};
    const float* r[6] = {zeros, zeros, sums, zeros, zeros, zeros};
    std::uint8_t single[6] = {};
    std::uint8_t twice[6] = {};
    sse2::ResizeVertLanczosSingle<std::uint8_t, LayoutC1>(single, 6, w, r);
    sse2::ResizeVertLanczos<std::uint8_t, LayoutC1>(twice, 6, w, r);
    for (int e = 0; e < 6; ++e) {
        EXPECT_EQ(single[e], expected[e]) << sums[e];
        EXPECT_EQ(twice[e], expected[e]) << sums[e];
    }
}

// ---- vertical ----

struct alignas(32) WorkRows {
    float v[6][64];
};

template <class T>
T SingleModel(const float* w, const WorkRows& rows, std::ptrdiff_t e) {
    float acc = rows.v[0][e] * w[0];
    for (int j = 1; j < 6; ++j) {
        const float product = rows.v[j][e] * w[j];
        acc = acc + product;
    }
    return frame::ToElement<T>(acc);
}

template <class T>
T DoubleModel(const float* w, const WorkRows& rows, std::ptrdiff_t e) {
    double acc = static_cast<double>(rows.v[0][e]) * w[0];
    for (int j = 1; j < 6; ++j) {
        acc += static_cast<double>(rows.v[j][e]) * w[j];
    }
    return frame::ToElement<T>(acc);
}

// Whole rows (counts 0 ... 13) and AC4 rows (widths 0 ... 6) of both builds; the fourth element of
// AC4 pixels keeps its value.
template <class T>
void CheckVertical(std::mt19937& random) {
    for (std::int32_t width = 0; width <= 13; ++width) {
        for (bool ac4 : {false, true}) {
            if (ac4 && width > 6) {
                continue;
            }
            WorkRows rows;
            for (auto& row : rows.v) {
                for (float& v : row) {
                    v = std::uniform_real_distribution<float>(-40.0f, std::is_same_v<T, std::uint8_t> ? 300.0f : 70000.0f)(random);
                }
            }
            const float fraction = std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
            alignas(16) float w[6];
            sse::LanczosWeights(&fraction, 1, w);
            const float* r[6] = {rows.v[0], rows.v[1], rows.v[2], rows.v[3], rows.v[4], rows.v[5]};
            for (bool sse2Build : {false, true}) {
                std::vector<T> destination(4 * 13 + 1, T(7));
                std::vector<T> expected(destination);
                const std::int32_t elements = ac4 ? 3 * width : width;
                for (std::int32_t e = 0; e < elements; ++e) {
                    const std::size_t at = ac4 ? e / 3 * 4 + e % 3 : e;
                    const bool twice = sse2Build && !std::is_same_v<T, float>;
                    expected[at] = twice ? DoubleModel<T>(w, rows, e) : SingleModel<T>(w, rows, e);
                }
                if (sse2Build) {
                    ac4 ? sse2::ResizeVertLanczos<T, LayoutAC4>(destination.data(), width, w, r)
                        : sse2::ResizeVertLanczos<T, LayoutC1>(destination.data(), width, w, r);
                } else {
                    ac4 ? sse2::ResizeVertLanczosSingle<T, LayoutAC4>(destination.data(), width, w, r)
                        : sse2::ResizeVertLanczosSingle<T, LayoutC1>(destination.data(), width, w, r);
                }
                ASSERT_EQ(std::memcmp(destination.data(), expected.data(), destination.size() * sizeof(T)), 0)
                    << (sse2Build ? "SSE2 " : "SSE ") << (ac4 ? "AC4 width " : "count ") << width;
            }
        }
    }
}

TEST(SimdLanczosKernels, VerticalKernelsFollowTheirPrecisionAndKeepTheFourthElement) {
    std::mt19937 random(7105);
    CheckVertical<std::uint8_t>(random);
    CheckVertical<std::uint16_t>(random);
    CheckVertical<float>(random);
}

// The 32f whole-row kernel in one arena holding the work rows, the weights and the destination,
// against an element-by-element model run in place on a copy of the arena: the same bits for
// every length, every destination alignment, and destinations over a work row or the weights.
TEST(SimdLanczosKernels, FloatRowsGiveTheElementByElementValuesEveryWay) {
    constexpr std::size_t RowBytes = 256;  // 64 floats per work row
    constexpr std::size_t Weights = 6 * RowBytes;
    constexpr std::size_t Destination = Weights + 64;
    std::mt19937 random(11);
    struct Place {
        const char* name;
        std::size_t at;
    };
    const Place places[] = {
        {"16-byte boundary", Destination},     {"4 past", Destination + 4},  {"8 past", Destination + 8},
        {"12 past", Destination + 12},         {"1 byte off", Destination + 1}, {"over work row 2", 2 * RowBytes},
        {"inside work row 4", 4 * RowBytes + 20}, {"over the weights", Weights - 8},
    };
    for (const Place& place : places) {
        for (std::int32_t count : {1, 7, 10, 11, 12, 18, 19, 27, 40}) {
            alignas(32) float arenaFloats[(Destination + 64 * 4 + 16) / 4];
            auto* arena = reinterpret_cast<std::uint8_t*>(arenaFloats);
            constexpr std::size_t ArenaBytes = sizeof arenaFloats;
            for (std::size_t j = 0; j < 6 * 64; ++j) {
                const float v = std::uniform_real_distribution<float>(-1e4f, 1e4f)(random);
                std::memcpy(arena + 4 * j, &v, 4);
            }
            const float fraction = std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
            sse::LanczosWeights(&fraction, 1, reinterpret_cast<float*>(arena + Weights));
            std::memset(arena + Destination, 0x55, ArenaBytes - Destination);
            std::vector<std::uint8_t> model(arena, arena + ArenaBytes);
            for (std::int32_t e = 0; e < count; ++e) {
                float v[6], w[6];
                for (int j = 0; j < 6; ++j) {
                    std::memcpy(&v[j], &model[j * RowBytes + 4 * e], 4);
                    std::memcpy(&w[j], &model[Weights + 4 * j], 4);
                }
                float acc = v[0] * w[0];
                for (int j = 1; j < 6; ++j) {
                    const float product = v[j] * w[j];
                    acc = acc + product;
                }
                std::memcpy(&model[place.at + 4 * e], &acc, 4);
            }
            const float* r[6];
            for (int j = 0; j < 6; ++j) {
                r[j] = reinterpret_cast<const float*>(arena + j * RowBytes);
            }
            sse2::ResizeVertLanczos<float, LayoutC1>(reinterpret_cast<float*>(arena + place.at), count,
                                                     reinterpret_cast<const float*>(arena + Weights), r);
            ASSERT_EQ(std::memcmp(arena, model.data(), ArenaBytes), 0) << place.name << " count " << count;
        }
    }
}

}  // namespace

#endif
