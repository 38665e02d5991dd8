// The whole-row sums of super-sampling in the SSE and SSE2 builds against a scalar model: counts 0
// to 33 in every layout and element type, every peel of the SSE bodies and both source
// alignments, source rows and accumulator rows ending at poisoned bytes; overlapping rows; the
// SSE2 one-channel float tail.

#include <gtest/gtest.h>

#if QUENLO_RESIZE_SIMD

#include <cstring>
#include <random>
#include <type_traits>
#include <vector>

#include "GuardedImage.h"
#include "resize/frame/PixelLayouts.h"
#include "resize/sse/SuperSampleRows.h"
#include "resize/sse2/SuperSampleRows.h"

using namespace resize;
using frame::LayoutAC4;
using frame::LayoutC1;
using frame::LayoutC3;
using frame::LayoutC4;
using resize_test::GuardedImage;

namespace {

template <class T>
using Work = std::conditional_t<std::is_same_v<T, float>, float, std::uint32_t>;

template <class T>
T RandomSample(std::mt19937& random) {
    if constexpr (std::is_same_v<T, float>) {
        return static_cast<float>(static_cast<double>(random() % 2000001) / 1024.0 - 1000.0) * 1.0000001f;
    } else {
        return static_cast<T>(random());
    }
}

template <class W>
W RandomSum(std::mt19937& random) {
    if constexpr (std::is_same_v<W, float>) {
        return static_cast<float>(static_cast<double>(random() % 2000001) / 3.0 - 300000.0);
    } else {
        return static_cast<W>(random());  // near 2^32 too: the sums wrap
    }
}

enum class Kind {
    SseAdds,      // adds into what the accumulator holds, single-precision running sums
    Sse2Writes,   // overwrites with the sums; the one-channel float tail in double precision
};

// The sums a row-sum function must leave in the accumulator `expected` (holding the accumulator
// before the call), from `rows` source rows.
template <class T, class L>
void Model(Kind kind, const std::vector<const T*>& rows, std::int32_t count, Work<T>* expected) {
    using W = Work<T>;
    const std::int32_t elements = count * L::channels;
    const std::int32_t groupEnd = elements - elements % 16;
    for (std::int32_t k = 0; k < count; ++k) {
        for (int c = 0; c < L::channels; ++c) {
            const std::int32_t at = k * L::pixelStride + c;
            if constexpr (std::is_same_v<T, float>) {
                if (kind == Kind::Sse2Writes && L::channels == 1 && at >= groupEnd) {
                    double sum = 0.0;
                    for (const T* row : rows) {
                        sum += static_cast<double>(row[at]);
                    }
                    expected[at] = static_cast<float>(sum);
                    continue;
                }
            }
            W sum = kind == Kind::SseAdds ? expected[at] : W{0};
            for (const T* row : rows) {
                sum = static_cast<W>(sum + static_cast<W>(row[at]));
            }
            expected[at] = sum;
        }
    }
}

// One function over counts 0 ... 33 and 1 to 3 rows: the source rows (and their padding) end at
// poisoned bytes, the accumulator row ends at poisoned bytes `accOffset` bytes past a 32-byte
// boundary, and elements outside the sums keep their values.
template <class T, class L, class Sum>
void CheckAgainstModel(Kind kind, Sum sum, std::size_t accOffset, std::size_t sourceOffset, std::mt19937& random) {
    using W = Work<T>;
    for (std::int32_t count = 0; count <= 33; ++count) {
        const std::int32_t rows = 1 + static_cast<std::int32_t>(random() % 3);
        const std::size_t rowBytes = sizeof(T) * L::pixelStride * count;
        GuardedImage source(rowBytes, rowBytes + sizeof(T) * (random() % 3), rows, 0, sourceOffset);
        std::vector<const T*> sourceRows;
        for (std::int32_t r = 0; r < rows; ++r) {
            T* row = reinterpret_cast<T*>(source.Row(r));
            for (std::int32_t e = 0; e < count * L::pixelStride; ++e) {
                row[e] = RandomSample<T>(random);
            }
            sourceRows.push_back(row);
        }
        GuardedImage accRow(sizeof(W) * L::pixelStride * count, sizeof(W) * L::pixelStride * count, 1, 0, accOffset);
        W* acc = reinterpret_cast<W*>(accRow.Data());
        std::vector<W> expected(static_cast<std::size_t>(count) * L::pixelStride);
        for (std::size_t e = 0; e < expected.size(); ++e) {
            acc[e] = expected[e] = RandomSum<W>(random);
        }
        Model<T, L>(kind, sourceRows, count, expected.data());
        sum(source.Data(), static_cast<std::ptrdiff_t>(source.Step()), count, std::int64_t{rows}, acc);
        ASSERT_TRUE(expected.empty() || std::memcmp(acc, expected.data(), expected.size() * sizeof(W)) == 0)
            << "count " << count << " rows " << rows << " accumulator offset " << accOffset << " source offset "
            << sourceOffset;
        ASSERT_TRUE(accRow.GuardsIntact());
        ASSERT_TRUE(source.GuardsIntact());
    }
}

template <class T, class L>
void CheckLayout(std::mt19937& random) {
    // The SSE build: accumulators at every 4-byte offset (the 16u and 32f peels), sources on and
    // off 16-byte boundaries after the peel.
    for (std::size_t accOffset : {0, 4, 8, 12}) {
        for (std::size_t sourceOffset : {0, 4, 6}) {
            if (sourceOffset % sizeof(T) != 0) {
                continue;
            }
            CheckAgainstModel<T, L>(Kind::SseAdds, sse::SuperSampleSumRows<T, L, Work<T>>, accOffset, sourceOffset,
                                    random);
        }
    }
    // The SSE2 build: the accumulator on its 32-byte boundary, any source alignment.
    for (std::size_t sourceOffset : {0, 2, 4, 12}) {
        if (sourceOffset % sizeof(T) != 0) {
            continue;
        }
        CheckAgainstModel<T, L>(Kind::Sse2Writes, sse2::SuperSampleSumRows<T, L, Work<T>>, 0, sourceOffset, random);
    }
}

template <class T>
void CheckType(std::mt19937& random) {
    CheckLayout<T, LayoutC1>(random);
    CheckLayout<T, LayoutC3>(random);
    CheckLayout<T, LayoutAC4>(random);
    CheckLayout<T, LayoutC4>(random);
}

TEST(SimdSuperSampleRows, EveryFunctionGivesTheModelsSumsOnEveryBodyPeelAndTail) {
    std::mt19937 random(68);
    CheckType<std::uint8_t>(random);
    CheckType<std::uint16_t>(random);
    CheckType<float>(random);
}

// A source row inside the accumulator row: the SSE bodies step aside, and the scalar loop adds
// each element after the elements before it were written.
template <class T, class L>
void CheckOverlap(std::int32_t count, std::ptrdiff_t sourceByte) {
    using W = Work<T>;
    const std::int32_t n = count * L::channels;
    alignas(32) std::uint8_t memory[1024];
    alignas(32) std::uint8_t model[1024];
    std::mt19937 random(static_cast<std::uint32_t>(count));
    for (std::size_t b = 0; b < sizeof memory; ++b) {
        memory[b] = model[b] = static_cast<std::uint8_t>(random() % 64);
    }
    for (std::int32_t e = 0; e < n; ++e) {
        W a;
        T in;
        std::memcpy(&a, model + 16 + 4 * e, sizeof a);
        std::memcpy(&in, model + 16 + sourceByte + static_cast<std::ptrdiff_t>(sizeof(T)) * e, sizeof in);
        a = static_cast<W>(a + static_cast<W>(in));
        std::memcpy(model + 16 + 4 * e, &a, sizeof a);
    }
    sse::SuperSampleSumRows<T, L, W>(memory + 16 + sourceByte, 0, count, 1, reinterpret_cast<W*>(memory + 16));
    EXPECT_EQ(std::memcmp(memory, model, sizeof memory), 0) << "count " << count << " source byte " << sourceByte;
}

TEST(SimdSuperSampleRows, SseOverlappingRowsTakeTheScalarLoop) {
    for (std::int32_t count : {9, 12, 23}) {
        for (std::ptrdiff_t sourceByte : {4, 8, 20}) {
            CheckOverlap<std::uint16_t, LayoutC1>(count, sourceByte);
            CheckOverlap<float, LayoutC1>(count + 2, sourceByte);
            CheckOverlap<std::uint16_t, LayoutC4>(count / 4, sourceByte);
            CheckOverlap<float, LayoutC4>(count / 3, sourceByte);
        }
    }
}

// Rows of 1e8, 1 and -1e8: a single-precision running sum loses the 1, a double sum keeps it.
TEST(SimdSuperSampleRows, FloatOneChannelTailOfTheSse2BuildSumsInDoublePrecision) {
    alignas(32) float source[3][19];
    for (int e = 0; e < 19; ++e) {
        source[0][e] = 1e8f;
        source[1][e] = 1.0f;
        source[2][e] = -1e8f;
    }
    const auto* rows = reinterpret_cast<const std::uint8_t*>(source);
    alignas(32) float sse2Sums[19];
    alignas(32) float sseSums[19] = {};
    sse2::SuperSampleSumRows<float, LayoutC1, float>(rows, sizeof source[0], 19, 3, sse2Sums);
    sse::SuperSampleSumRows<float, LayoutC1, float>(rows, sizeof source[0], 19, 3, sseSums);
    for (int e = 0; e < 19; ++e) {
        EXPECT_EQ(sse2Sums[e], e < 16 ? 0.0f : 1.0f) << e;
        EXPECT_EQ(sseSums[e], 0.0f) << e;
    }
}

}  // namespace

#endif
