// The linear kernels of the SSE and SSE2 builds (one source serves both) against a scalar model
// of their formulas, on random rows and every block and tail of their loops; their extremes;
// their reads, which stay inside the tap pixels (source rows end at poisoned bytes); the fourth
// element of AC4 pixels.

#include <gtest/gtest.h>

#if QUENLO_RESIZE_SIMD

#include <cstring>
#include <random>
#include <type_traits>
#include <vector>

#include "GuardedImage.h"
#include "resize/frame/PixelLayouts.h"
#include "resize/sse/SseBuild.h"
#include "resize/sse2/Sse2Build.h"

using namespace resize;
using frame::LayoutAC4;
using frame::LayoutC1;
using frame::LayoutC3;
using frame::LayoutC4;
using resize_test::GuardedImage;

namespace {

template <class T>
using Work = frame::LinearWork<T>;

// A 32-byte-aligned array with room past its end, filled with a sentinel.
template <class E>
struct AlignedRow {
    alignas(32) E values[128];
    explicit AlignedRow(E sentinel) {
        for (E& v : values) {
            v = sentinel;
        }
    }
};

// One source row of `pixels` pixels at the layout's stride, ending at poisoned bytes.
template <class T, class L>
struct SourceRow {
    GuardedImage image;
    SourceRow(std::int32_t pixels) : image(sizeof(T) * L::pixelStride * pixels, sizeof(T) * L::pixelStride * pixels, 1, 0) {}
    T* data() { return reinterpret_cast<T*>(image.Data()); }
};

template <class T>
T RandomSample(std::mt19937& random) {
    if constexpr (std::is_same_v<T, float>) {
        return static_cast<float>(static_cast<double>(random() % 2000001) / 1000.0 - 1000.0);
    } else {
        return static_cast<T>(random());
    }
}

// The scalar model of the horizontal pass of one channel.
template <class T>
Work<T> ModelHorizontal(T left, T right, const Work<T>* weights, std::int32_t k) {
    if constexpr (std::is_same_v<T, float>) {
        const float difference = right - left;
        const float product = difference * weights[k];
        return left + product;
    } else {
        const std::int32_t sum = left * weights[2 * k] + right * weights[2 * k + 1];
        return static_cast<std::uint16_t>(std::is_same_v<T, std::uint8_t> ? (sum + 128) >> 8 : (sum + 8192) >> 14);
    }
}

// The scalar model of the vertical pass of one element.
template <class T>
T ModelVertical(Work<T> upper, Work<T> lower, Work<T> a) {
    if constexpr (std::is_same_v<T, float>) {
        const float b = 1.0f - a;
        const float up = upper * b;
        const float down = lower * a;
        return up + down;
    } else {
        const std::int32_t sum = upper * (16384 - a) + lower * a;
        return static_cast<T>(std::is_same_v<T, std::uint8_t> ? (sum + 524288) >> 20 : (sum + 8192) >> 14);
    }
}

template <class T>
void RandomWeights(std::mt19937& random, std::int32_t count, Work<T>* weights) {
    for (std::int32_t k = 0; k < count; ++k) {
        if constexpr (std::is_same_v<T, float>) {
            weights[k] = static_cast<float>(random() % 100001) / 100000.0f;
        } else {
            const auto w1 = static_cast<std::uint16_t>(random() % 16385);
            weights[2 * k] = static_cast<std::uint16_t>(16384 - w1);
            weights[2 * k + 1] = w1;
        }
    }
}

// Runs the horizontal kernel of build K on a row whose last column's right tap is the row's last
// pixel; checks every work element against the model and the elements past them untouched.
template <class K, class T, class L>
void CheckHorizontal(std::mt19937& random, std::int32_t count, const std::vector<T>& samples = {},
                     const std::vector<Work<T>>& fixedWeights = {}) {
    const std::int32_t pixels = count + 2;
    SourceRow<T, L> source(pixels);
    T* row = source.data();
    for (std::int32_t e = 0; e < pixels * L::pixelStride; ++e) {
        row[e] = samples.empty() ? RandomSample<T>(random) : samples[e % samples.size()];
    }
    std::ptrdiff_t offsets[32];
    for (std::int32_t k = 0; k < count; ++k) {
        offsets[k] = static_cast<std::ptrdiff_t>(random() % (pixels - 1)) * L::pixelStride;
    }
    if (count > 0) {
        offsets[count - 1] = static_cast<std::ptrdiff_t>(pixels - 2) * L::pixelStride;  // at the row's end
        offsets[0] = 0;                                                                  // at its start
    }
    AlignedRow<Work<T>> weights(Work<T>{0});
    RandomWeights<T>(random, count, weights.values);
    for (std::size_t i = 0; i < fixedWeights.size(); ++i) {
        weights.values[i] = fixedWeights[i];
    }
    const Work<T> sentinel = static_cast<Work<T>>(12345);
    AlignedRow<Work<T>> work(sentinel);
    K::template HorzLinear<T, L>(static_cast<const T*>(row), count, static_cast<const std::ptrdiff_t*>(offsets),
                                 static_cast<const Work<T>*>(weights.values), work.values);
    for (std::int32_t k = 0; k < count; ++k) {
        for (int c = 0; c < L::channels; ++c) {
            const T left = row[offsets[k] + c];
            const T right = row[offsets[k] + L::pixelStride + c];
            ASSERT_EQ(work.values[k * L::channels + c], ModelHorizontal<T>(left, right, weights.values, k))
                << "count " << count << " column " << k << " channel " << c;
        }
    }
    for (int e = count * L::channels; e < 128; ++e) {
        ASSERT_EQ(work.values[e], sentinel) << "count " << count << " element " << e;
    }
    ASSERT_TRUE(source.image.GuardsIntact());
}

// Runs the vertical kernel of build K into a destination row that ends at poisoned bytes and
// starts `offset` bytes past a 32-byte boundary; checks every written element against the model
// and the fourth element of AC4 pixels untouched.
template <class K, class T, class L>
void CheckVertical(std::mt19937& random, std::int32_t count, std::size_t offset, Work<T> a,
                   const std::vector<Work<T>>& values = {}) {
    AlignedRow<Work<T>> upper(Work<T>{0});
    AlignedRow<Work<T>> lower(Work<T>{0});
    for (int e = 0; e < 128; ++e) {
        if (!values.empty()) {
            upper.values[e] = values[e % values.size()];
            lower.values[e] = values[(e + 1) % values.size()];
        } else if constexpr (std::is_same_v<T, float>) {
            upper.values[e] = RandomSample<float>(random);
            lower.values[e] = RandomSample<float>(random);
        } else {
            const std::uint32_t top = std::is_same_v<T, std::uint8_t> ? 16321 : 65536;
            upper.values[e] = static_cast<std::uint16_t>(random() % top);
            lower.values[e] = static_cast<std::uint16_t>(random() % top);
        }
    }
    const std::size_t rowBytes = sizeof(T) * L::pixelStride * count;
    GuardedImage destination(rowBytes, rowBytes, 1, 0x77, offset);
    T* out = reinterpret_cast<T*>(destination.Data());
    std::vector<std::uint8_t> before = destination.Contents();
    K::template VertLinear<T, L>(out, count, a, static_cast<const Work<T>*>(upper.values),
                                 static_cast<const Work<T>*>(lower.values));
    for (std::int32_t k = 0; k < count; ++k) {
        for (int c = 0; c < L::pixelStride; ++c) {
            T expected;
            if (c < L::channels) {
                const int w = k * L::channels + c;
                expected = ModelVertical<T>(upper.values[w], lower.values[w], a);
            } else {
                std::memcpy(&expected, &before[(static_cast<std::size_t>(k) * L::pixelStride + c) * sizeof(T)], sizeof(T));
            }
            const T got = out[k * L::pixelStride + c];
            ASSERT_EQ(std::memcmp(&got, &expected, sizeof(T)), 0)
                << "count " << count << " pixel " << k << " element " << c << " offset " << offset;
        }
    }
    ASSERT_TRUE(destination.GuardsIntact());
}

template <class K>
class SimdLinearKernels : public ::testing::Test {};
using SimdKernelSets = ::testing::Types<sse::KernelSet, sse2::KernelSet>;
TYPED_TEST_SUITE(SimdLinearKernels, SimdKernelSets);

template <class K, class T>
void CheckEveryLayout(std::mt19937& random) {
    for (std::int32_t count = 0; count <= 17; ++count) {
        for (int repeat = 0; repeat < 4; ++repeat) {
            CheckHorizontal<K, T, LayoutC1>(random, count);
            CheckHorizontal<K, T, LayoutC3>(random, count);
            CheckHorizontal<K, T, LayoutAC4>(random, count);
            CheckHorizontal<K, T, LayoutC4>(random, count);
            const std::size_t offset = sizeof(T) * (random() % (16 / sizeof(T)));
            Work<T> a;
            if constexpr (std::is_same_v<T, float>) {
                a = static_cast<float>(random() % 1001) / 1000.0f;
            } else {
                a = static_cast<std::uint16_t>(random() % 16385);
            }
            CheckVertical<K, T, LayoutC1>(random, count, offset, a);
            CheckVertical<K, T, LayoutC3>(random, count, offset, a);
            CheckVertical<K, T, LayoutAC4>(random, count, offset, a);
            CheckVertical<K, T, LayoutC4>(random, count, offset, a);
        }
    }
}

TYPED_TEST(SimdLinearKernels, MatchTheScalarModelForEveryCountBlockAndTail) {
    std::mt19937 random(6510);
    CheckEveryLayout<TypeParam, std::uint8_t>(random);
    CheckEveryLayout<TypeParam, std::uint16_t>(random);
    CheckEveryLayout<TypeParam, float>(random);
}

// One column's work value for given taps and weights, through the kernel.
template <class K, class T>
Work<T> OneColumn(T left, T right, Work<T> w0, Work<T> w1) {
    alignas(32) T row[2] = {left, right};
    alignas(32) Work<T> weights[4] = {w0, w1, 0, 0};
    alignas(32) Work<T> work[8] = {};
    const std::ptrdiff_t offset = 0;
    if constexpr (std::is_same_v<T, float>) {
        weights[0] = w1;
    }
    K::template HorzLinear<T, LayoutC1>(static_cast<const T*>(row), 1, &offset, static_cast<const Work<T>*>(weights), work);
    return work[0];
}

// One element blended from two work values, through the kernel.
template <class K, class T>
T OneElement(Work<T> upper, Work<T> lower, Work<T> a) {
    alignas(32) Work<T> u[8] = {upper};
    alignas(32) Work<T> l[8] = {lower};
    T out = 0;
    K::template VertLinear<T, LayoutC1>(&out, 1, a, static_cast<const Work<T>*>(u), static_cast<const Work<T>*>(l));
    return out;
}

TYPED_TEST(SimdLinearKernels, WeightExtremesAndHalvesRoundingUp) {
    using K = TypeParam;
    EXPECT_EQ((OneColumn<K, std::uint8_t>(200, 17, 16384, 0)), 200 * 64);
    EXPECT_EQ((OneColumn<K, std::uint8_t>(200, 17, 0, 16384)), 17 * 64);
    EXPECT_EQ((OneColumn<K, std::uint8_t>(255, 255, 9000, 7384)), 16320);
    EXPECT_EQ((OneColumn<K, std::uint8_t>(0, 1, 16256, 128)), 1);  // exactly one half
    EXPECT_EQ((OneElement<K, std::uint8_t>(200 * 64, 17 * 64, 0)), 200);
    EXPECT_EQ((OneElement<K, std::uint8_t>(200 * 64, 17 * 64, 16384)), 17);
    EXPECT_EQ((OneElement<K, std::uint8_t>(16320, 16320, 5000)), 255);
    EXPECT_EQ((OneElement<K, std::uint8_t>(0, 64, 8192)), 1);  // exactly one half
    EXPECT_EQ((OneColumn<K, std::uint16_t>(65535, 65535, 1, 16383)), 65535);
    EXPECT_EQ((OneElement<K, std::uint16_t>(65535, 65535, 77)), 65535);
    EXPECT_EQ((OneColumn<K, float>(0.1f, 7.3f, 0.0f, 0.0f)), 0.1f);
    EXPECT_EQ((OneElement<K, float>(0.1f, 7.3f, 0.0f)), 0.1f);
    EXPECT_EQ((OneElement<K, float>(0.1f, 7.3f, 1.0f)), 7.3f);
}

TYPED_TEST(SimdLinearKernels, FullScale16uPassesUnclampedInEveryBlockChannelAndPosition) {
    std::mt19937 random(65535);
    const std::vector<std::uint16_t> top = {65535};
    for (std::int32_t count = 1; count <= 17; ++count) {
        CheckHorizontal<TypeParam, std::uint16_t, LayoutC1>(random, count, top);
        CheckHorizontal<TypeParam, std::uint16_t, LayoutC3>(random, count, top);
        CheckHorizontal<TypeParam, std::uint16_t, LayoutAC4>(random, count, top);
        CheckHorizontal<TypeParam, std::uint16_t, LayoutC4>(random, count, top);
        CheckVertical<TypeParam, std::uint16_t, LayoutC1>(random, count, 2, 9000, top);
        CheckVertical<TypeParam, std::uint16_t, LayoutAC4>(random, count, 6, 9000, top);
    }
}

}  // namespace

#endif
