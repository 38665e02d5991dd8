// The cubic kernels of the SSE and SSE2 builds against a scalar model of each group's grouping,
// on random rows and every body and tail split of their loops (source rows end at poisoned
// bytes, so a read past a column's taps is caught); the conversions' worked values; the fourth
// element of AC4 pixels.

#include <gtest/gtest.h>

#if QUENLO_RESIZE_SIMD

#include <cmath>
#include <cstring>
#include <random>
#include <type_traits>
#include <vector>

#include "GuardedImage.h"
#include "RandomElements.h"
#include "resize/frame/PixelLayouts.h"
#include "resize/sse2/CubicKernels.h"

using namespace resize;
using frame::LayoutAC4;
using frame::LayoutC1;
using frame::LayoutC3;
using frame::LayoutC4;
using resize_test::GuardedImage;
using resize_test::RandomElement;

namespace {

const float K = sse2::cubic::CubicOneThird();

enum class Group { SH, SV, VA, XH, PH, XV };

float Model(Group g, float p0, float p1, float p2, float p3, float t) {
    const float a = t + 1.0f;
    const float d1 = p1 - p0;
    if (g == Group::SH || g == Group::SV || g == Group::VA) {
        const float b = (t * a) * 0.5f;
        const float c = ((t - 1.0f) * b) / 3.0f;
        if (g == Group::VA) {
            const float d2 = (p2 - d1) - p1;
            const float d3 = (((p3 - d2) - p2) - p2) + p1;
            return ((c * d3 + b * d2) + a * d1) + p0;
        }
        const float d2 = (p2 - p1) - d1;
        const float d3 = g == Group::SH ? ((p1 - (p2 + p2)) + p3) - d2 : (((p3 - p2) - p2) + p1) - d2;
        return ((p0 + c * d3) + b * d2) + a * d1;
    }
    const float b = (t * 0.5f) * a;
    const float c = g == Group::XH ? (t - 1.0f) * (b * K) : ((t - 1.0f) * K) * b;
    const float d2 = (p2 - p1) - d1;
    const float d3 = g == Group::XV ? (p3 - d2) + ((p1 - p2) - p2) : ((p3 - p2) - p2) + (p1 - d2);
    return (p0 + a * d1) + (b * d2 + c * d3);
}

template <class T>
T Rounded(float v) {
    if constexpr (std::is_same_v<T, float>) {
        return v;
    } else {
        const float top = std::is_same_v<T, std::uint8_t> ? 255.0f : 65535.0f;
        const float r = std::nearbyint(v + 1e-5f);
        return static_cast<T>(r < 0.0f ? 0.0f : r > top ? top : r);
    }
}

template <class T>
T Truncated(float v) {
    if constexpr (std::is_same_v<T, float>) {
        return v;
    } else {
        const double top = std::is_same_v<T, std::uint8_t> ? 255.0 : 65535.0;
        const double d = std::trunc(static_cast<double>(v) + 1e-7);
        return static_cast<T>(d <= 0.0 ? 0.0 : d >= top ? top : d);
    }
}

float RandomFraction(std::mt19937& random) {
    const float ends[] = {-1.0f, 0.0f, 1.0f, 2.0f};
    return random() % 4 == 0 ? ends[random() % 4] : std::uniform_real_distribution<float>(-1.0f, 2.0f)(random);
}

struct alignas(32) Floats {
    float v[64];
};

// One horizontal kernel over a source row of `pixels` pixels that ends at poisoned bytes; the
// last column takes the row's last four tap pixels.
template <class T, class L, class Kernel>
void CheckHorizontal(Kernel kernel, bool channelBodies, std::mt19937& random) {
    constexpr int s = L::pixelStride;
    constexpr int n = L::channels;
    for (std::int32_t count = L::channels == 1 ? 0 : 1; count <= 13; ++count) {
        const std::int32_t pixels = 8;
        GuardedImage row(pixels * s * sizeof(T), pixels * s * sizeof(T), 1, 0);
        T* source = reinterpret_cast<T*>(row.Row(0));
        for (std::int32_t e = 0; e < pixels * s; ++e) {
            source[e] = RandomElement<T>(random);
        }
        std::vector<std::ptrdiff_t> offsets(count);
        Floats fractions{};
        for (std::int32_t k = 0; k < count; ++k) {
            offsets[k] = (k + 1 == count ? pixels - 3 : 1 + static_cast<std::int32_t>(random() % (pixels - 3))) * s;
            fractions.v[k] = RandomFraction(random);
        }
        Floats work{};
        kernel(source, count, offsets.data(), fractions.v, work.v);
        const std::int32_t body = count - count % 4;
        for (std::int32_t k = 0; k < count; ++k) {
            const Group g = n == 1 || channelBodies ? (k < body ? Group::XH : Group::SH) : Group::PH;
            for (int c = 0; c < n; ++c) {
                const T* p = source + offsets[k] + c;
                const float expected = Model(g, p[-s], p[0], p[s], p[2 * s], fractions.v[k]);
                ASSERT_EQ(std::memcmp(&work.v[k * n + c], &expected, sizeof expected), 0)
                    << "count " << count << " pixel " << k << " channel " << c;
            }
        }
    }
}

template <class T>
void CheckHorizontalAll(std::mt19937& random) {
    CheckHorizontal<T, LayoutC1>(sse2::ResizeHorzCubic<T, LayoutC1>, false, random);
    CheckHorizontal<T, LayoutC3>(sse2::ResizeHorzCubic<T, LayoutC3>, false, random);
    CheckHorizontal<T, LayoutAC4>(sse2::ResizeHorzCubic<T, LayoutAC4>, false, random);
    CheckHorizontal<T, LayoutC4>(sse2::ResizeHorzCubic<T, LayoutC4>, false, random);
    CheckHorizontal<T, LayoutC3>(sse2::ResizeHorzCubicSse<T, LayoutC3>, true, random);
    CheckHorizontal<T, LayoutAC4>(sse2::ResizeHorzCubicSse<T, LayoutAC4>, true, random);
    CheckHorizontal<T, LayoutC4>(sse2::ResizeHorzCubicSse<T, LayoutC4>, true, random);
}

TEST(SimdCubicKernels, HorizontalKernelsFollowTheirGroupsOnEveryBodyAndTail) {
    std::mt19937 random(66);
    CheckHorizontalAll<std::uint8_t>(random);
    CheckHorizontalAll<std::uint16_t>(random);
    CheckHorizontalAll<float>(random);
}

// Whole rows (counts 0 ... 13) and AC4 rows (widths 0 ... 6): the vector group over the leading
// multiple of four work elements rounds, the scalar group after it truncates; 32f AC4 is VA.
template <class T>
void CheckVertical(std::mt19937& random) {
    for (std::int32_t width = 0; width <= 13; ++width) {
        for (bool ac4 : {false, true}) {
            if (ac4 && width > 6) {
                continue;
            }
            Floats r[4];
            const std::int32_t elements = ac4 ? 3 * width : width;
            for (Floats& row : r) {
                for (float& v : row.v) {
                    v = std::uniform_real_distribution<float>(-40.0f, std::is_same_v<T, std::uint8_t> ? 300.0f : 70000.0f)(random);
                }
            }
            const float t = RandomFraction(random);
            std::vector<T> destination(4 * 13 + 1, T(7));
            if (ac4) {
                sse2::ResizeVertCubic<T, LayoutAC4>(destination.data(), width, t, r[0].v, r[1].v, r[2].v, r[3].v);
            } else {
                sse2::ResizeVertCubic<T, LayoutC1>(destination.data(), width, t, r[0].v, r[1].v, r[2].v, r[3].v);
            }
            const std::int32_t body = elements - elements % 4;
            std::vector<T> expected(destination.size(), T(7));
            for (std::int32_t e = 0; e < elements; ++e) {
                const std::size_t at = ac4 ? e / 3 * 4 + e % 3 : e;
                const float p[4] = {r[0].v[e], r[1].v[e], r[2].v[e], r[3].v[e]};
                if (ac4 && std::is_same_v<T, float>) {
                    expected[at] = Truncated<T>(Model(Group::VA, p[0], p[1], p[2], p[3], t));
                } else if (e < body) {
                    expected[at] = Rounded<T>(Model(Group::XV, p[0], p[1], p[2], p[3], t));
                } else {
                    expected[at] = Truncated<T>(Model(Group::SV, p[0], p[1], p[2], p[3], t));
                }
            }
            ASSERT_EQ(std::memcmp(destination.data(), expected.data(), destination.size() * sizeof(T)), 0)
                << (ac4 ? "AC4 width " : "count ") << width << " t " << t;
        }
    }
}

TEST(SimdCubicKernels, VerticalKernelsFollowTheirGroupsAndKeepTheFourthElement) {
    std::mt19937 random(67);
    CheckVertical<std::uint8_t>(random);
    CheckVertical<std::uint16_t>(random);
    CheckVertical<float>(random);
}

// Rows of one value at t = 0 give that value; a count of 5 puts it through the vector body (0 ...
// 3) and the scalar part (4).
template <class T>
std::pair<double, double> VectorAndScalar(float value) {
    Floats row{};
    for (float& v : row.v) {
        v = value;
    }
    T destination[5] = {};
    sse2::ResizeVertCubic<T, LayoutC1>(destination, 5, 0.0f, row.v, row.v, row.v, row.v);
    return {destination[0], destination[4]};
}

TEST(SimdCubicKernels, VectorBodiesRoundAndScalarPartsTruncate) {
    using P = std::pair<double, double>;
    EXPECT_EQ(VectorAndScalar<std::uint8_t>(254.5f), P(255, 254));
    EXPECT_EQ(VectorAndScalar<std::uint8_t>(253.5f), P(254, 253));
    EXPECT_EQ(VectorAndScalar<std::uint8_t>(-3.2f), P(0, 0));
    EXPECT_EQ(VectorAndScalar<std::uint8_t>(300.7f), P(255, 255));
    EXPECT_EQ(VectorAndScalar<std::uint16_t>(255.5f), P(256, 255));
    EXPECT_EQ(VectorAndScalar<std::uint16_t>(300.5f), P(300, 300));
    EXPECT_EQ(VectorAndScalar<std::uint16_t>(301.5f), P(302, 301));
    EXPECT_EQ(VectorAndScalar<std::uint16_t>(-1.0f), P(0, 0));
    EXPECT_EQ(VectorAndScalar<std::uint16_t>(70000.0f), P(65535, 65535));
}

// Overshoot stays in the work row and is clamped in 8u; the fractions -1, 0, 1 and 2 give the
// taps (exactly in the scalar part; in 8u through the vector body too).
TEST(SimdCubicKernels, OvershootAndTapFractions) {
    const std::uint8_t rising[] = {0, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0};
    const std::uint8_t falling[] = {255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0};
    const std::ptrdiff_t offsets[5] = {1, 1, 1, 1, 1};
    Floats half{};
    for (int k = 0; k < 5; ++k) {
        half.v[k] = 0.5f;
    }
    Floats up{}, down{};
    sse2::ResizeHorzCubic<std::uint8_t, LayoutC1>(rising, 5, offsets, half.v, up.v);
    sse2::ResizeHorzCubic<std::uint8_t, LayoutC1>(falling, 5, offsets, half.v, down.v);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(up.v[k], 286.875f);
        EXPECT_EQ(down.v[k], -31.875f);
    }
    std::uint8_t out[5];
    sse2::ResizeVertCubic<std::uint8_t, LayoutC1>(out, 5, 0.0f, up.v, up.v, up.v, up.v);
    EXPECT_EQ(out[0], 255);
    EXPECT_EQ(out[4], 255);
    sse2::ResizeVertCubic<std::uint8_t, LayoutC1>(out, 5, 0.0f, down.v, down.v, down.v, down.v);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[4], 0);

    const std::uint8_t taps[] = {17, 200, 3, 254};
    Floats rows[4];
    for (int r = 0; r < 4; ++r) {
        for (float& v : rows[r].v) {
            v = taps[r];
        }
    }
    for (int r = 0; r < 4; ++r) {
        const float t = static_cast<float>(r - 1);
        Floats fractions{};
        fractions.v[0] = t;
        const std::ptrdiff_t one = 1;
        Floats work{};
        sse2::ResizeHorzCubic<std::uint8_t, LayoutC1>(taps, 1, &one, fractions.v, work.v);
        EXPECT_EQ(work.v[0], taps[r]) << "t " << t;
        std::uint8_t vertical[5];
        sse2::ResizeVertCubic<std::uint8_t, LayoutC1>(vertical, 5, t, rows[0].v, rows[1].v, rows[2].v, rows[3].v);
        EXPECT_EQ(vertical[0], taps[r]) << "t " << t;
        EXPECT_EQ(vertical[4], taps[r]) << "t " << t;
    }

    // 16u: at t = 2 the vector body's C is 1 - 2^-24, and the fourth tap still comes out.
    const std::uint16_t wideTaps[] = {4369, 51400, 771, 65534};
    Floats wideRows[4];
    for (int r = 0; r < 4; ++r) {
        for (float& v : wideRows[r].v) {
            v = wideTaps[r];
        }
    }
    for (int r = 0; r < 4; ++r) {
        const float t = static_cast<float>(r - 1);
        std::uint16_t vertical[5];
        sse2::ResizeVertCubic<std::uint16_t, LayoutC1>(vertical, 5, t, wideRows[0].v, wideRows[1].v, wideRows[2].v,
                                                       wideRows[3].v);
        EXPECT_EQ(vertical[0], wideTaps[r]) << "t " << t;
        EXPECT_EQ(vertical[4], wideTaps[r]) << "t " << t;
    }
}

}  // namespace

#endif
