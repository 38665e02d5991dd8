#include "session/live/DisplayPixels.h"

#include <bit>
#include <cstring>
#include <type_traits>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define SESSION_X86_PIXEL_CODE 1
#endif

#include "resize/ByteRowBlend.h"
#include "resize/frame/LinearRows.h"
#include "resize/frame/PixelLayouts.h"
#include "resize/frame/ResizeMapping.h"

namespace session {

namespace {

constexpr std::uint16_t kWholeLower = 16384;

std::uint32_t Rgb32(const std::uint8_t* p) {
    return 0xFF000000u | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
}

// Four pixels from twelve bytes, in 32-bit words of the source.
void ToDisplayRowScalar(const std::uint8_t* from, int width, std::uint32_t* to) {
    int x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; x + 4 <= width; x += 4, from += 12, to += 4) {
            std::uint32_t w[3];
            std::memcpy(w, from, sizeof w);  // b0 g0 r0 b1 | g1 r1 b2 g2 | r2 b3 g3 r3
            to[0] = 0xFF000000u | w[0];
            to[1] = 0xFF000000u | (w[0] >> 24) | (w[1] << 8);
            to[2] = 0xFF000000u | (w[1] >> 16) | (w[2] << 16);
            to[3] = 0xFF000000u | (w[2] >> 8);
        }
    }
    for (; x < width; ++x, from += 3, ++to)
        *to = Rgb32(from);
}

// How a row of the window's picture comes from its upper and lower source
// rows: Byte for one byte, Sse and Avx for 16 and 32 bytes at once.

// Share 0 (or 16384 with the lower row passed as the upper): one source row as it is.
struct OneRow {
#ifdef SESSION_X86_PIXEL_CODE
    __m128i Sse(__m128i upper, __m128i) const { return upper; }
    __attribute__((target("avx2"))) __m256i Avx(__m256i upper, __m256i) const { return upper; }
#endif
};

// The resize library's byte-row blend (resize::BlendedByte, u + ((2a d + 2^14) >> 15) for the
// source bytes u and d = l - u and a share a below 16384): in registers, one rounding multiply in
// 16-bit lanes, the SSSE3 one. The scalar rows use the library's own row blend.
struct AnyShare {
    std::uint16_t share = 0;
#ifdef SESSION_X86_PIXEL_CODE
    __attribute__((target("ssse3"))) __m128i Sse(__m128i upper, __m128i lower) const {
        const __m128i zero = _mm_setzero_si128();
        const __m128i twiceA = _mm_set1_epi16(static_cast<std::int16_t>(2 * share));
        return _mm_packus_epi16(HalfSse(_mm_unpacklo_epi8(upper, zero), _mm_unpacklo_epi8(lower, zero), twiceA),
                                HalfSse(_mm_unpackhi_epi8(upper, zero), _mm_unpackhi_epi8(lower, zero), twiceA));
    }
    __attribute__((target("ssse3"))) static __m128i HalfSse(__m128i up, __m128i low, __m128i twiceA) {
        return _mm_add_epi16(up, _mm_mulhrs_epi16(twiceA, _mm_sub_epi16(low, up)));
    }
    __attribute__((target("avx2"))) __m256i Avx(__m256i upper, __m256i lower) const {
        return Blend(Widen(upper, lower), _mm256_set1_epi16(static_cast<std::int16_t>(2 * share)));
    }
    // The upper bytes and the differences in 16-bit lanes, which rows of other
    // shares between the same two source rows use as well.
    struct Wide {
        __m256i upper[2];
        __m256i difference[2];
    };
    __attribute__((target("avx2"))) static Wide Widen(__m256i upper, __m256i lower) {
        const __m256i zero = _mm256_setzero_si256();
        Wide wide;
        wide.upper[0] = _mm256_unpacklo_epi8(upper, zero);
        wide.upper[1] = _mm256_unpackhi_epi8(upper, zero);
        wide.difference[0] = _mm256_sub_epi16(_mm256_unpacklo_epi8(lower, zero), wide.upper[0]);
        wide.difference[1] = _mm256_sub_epi16(_mm256_unpackhi_epi8(lower, zero), wide.upper[1]);
        return wide;
    }
    // Unpacking and packing both work within 128-bit lanes, so the bytes keep their places.
    __attribute__((target("avx2"))) static __m256i Blend(const Wide& wide, __m256i twiceA) {
        return _mm256_packus_epi16(_mm256_add_epi16(wide.upper[0], _mm256_mulhrs_epi16(twiceA, wide.difference[0])),
                                   _mm256_add_epi16(wide.upper[1], _mm256_mulhrs_epi16(twiceA, wide.difference[1])));
    }
#endif
};

template <class Mix>
void MixedRowScalar(const std::uint8_t* upper, const std::uint8_t* lower, int width, std::uint32_t* to,
                    const Mix& mix) {
    if constexpr (std::is_same_v<Mix, OneRow>) {
        ToDisplayRowScalar(upper, width, to);
    } else {
        // Blended a piece at a time into a buffer, then spread a word at a time.
        constexpr int kPiece = 64;
        std::uint8_t piece[3 * kPiece];
        for (int x = 0; x < width; x += kPiece, upper += 3 * kPiece, lower += 3 * kPiece, to += kPiece) {
            const int pixels = width - x < kPiece ? width - x : kPiece;
            resize::BlendByteRow(upper, lower, 3 * static_cast<std::size_t>(pixels), mix.share, piece);
            ToDisplayRowScalar(piece, pixels, to);
        }
    }
}

#ifdef SESSION_X86_PIXEL_CODE
// Sixteen pixels a step: 48 mixed bytes in three registers, spread into four
// words each by byte shuffles; the last pixels of the row go the scalar way.
template <class Mix>
__attribute__((target("ssse3"))) void MixedRowSsse3(const std::uint8_t* upper, const std::uint8_t* lower, int width,
                                                    std::uint32_t* to, const Mix& mix) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const auto load = [](const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
    int x = 0;
    for (; x + 16 <= width; x += 16, upper += 48, lower += 48, to += 16) {
        const __m128i a = mix.Sse(load(upper), load(lower));
        const __m128i b = mix.Sse(load(upper + 16), load(lower + 16));
        const __m128i c = mix.Sse(load(upper + 32), load(lower + 32));
        const __m128i p1 = _mm_alignr_epi8(b, a, 12);  // pixels 4-7
        const __m128i p2 = _mm_alignr_epi8(c, b, 8);   // pixels 8-11
        const __m128i p3 = _mm_srli_si128(c, 4);       // pixels 12-15
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_or_si128(_mm_shuffle_epi8(a, spread), alpha));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 4), _mm_or_si128(_mm_shuffle_epi8(p1, spread), alpha));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 8), _mm_or_si128(_mm_shuffle_epi8(p2, spread), alpha));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 12), _mm_or_si128(_mm_shuffle_epi8(p3, spread), alpha));
    }
    MixedRowScalar(upper, lower, width - x, to, mix);
}

__attribute__((target("avx2"))) __m256i Load32(const std::uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// Bytes of whole pixels into words: a dword permute puts twelve bytes into
// each 128-bit lane, which the lane's byte shuffle spreads into four words.
struct WordsAvx2 {
    __m256i spread;
    __m256i alpha;
    __m256i firstEight;   // the pixels in bytes 0-23
    __m256i secondEight;  // the pixels in bytes 8-31

    __attribute__((target("avx2"))) WordsAvx2()
        : spread(_mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,  //
                                  0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1)),
          alpha(_mm256_set1_epi32(static_cast<int>(0xFF000000u))),
          firstEight(_mm256_setr_epi32(0, 1, 2, 2, 3, 4, 5, 5)),
          secondEight(_mm256_setr_epi32(2, 3, 4, 4, 5, 6, 7, 7)) {}

    __attribute__((always_inline, target("avx2"))) void Store(std::uint32_t* to, __m256i bytes, __m256i order) const {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to),
                            _mm256_or_si256(_mm256_shuffle_epi8(_mm256_permutevar8x32_epi32(bytes, order), spread),
                                            alpha));
    }
    // 32 pixels from bytes 0-95 in three registers: the middle words from lane-crossing pairs of them.
    __attribute__((always_inline, target("avx2"))) void Store32(std::uint32_t* to, __m256i a, __m256i b,
                                                               __m256i c) const {
        Store(to, a, firstEight);
        Store(to + 8, _mm256_permute2x128_si256(a, b, 0x21), secondEight);
        Store(to + 16, _mm256_permute2x128_si256(b, c, 0x21), firstEight);
        Store(to + 24, c, secondEight);
    }
    // 16 pixels from bytes 0-31 and 16-47.
    __attribute__((always_inline, target("avx2"))) void Store16(std::uint32_t* to, __m256i a, __m256i b) const {
        Store(to, a, firstEight);
        Store(to + 8, b, secondEight);
    }
};

template <class Mix>
__attribute__((target("avx2"))) void MixedRowAvx2(const std::uint8_t* upper, const std::uint8_t* lower, int width,
                                                  std::uint32_t* to, const Mix& mix) {
    const WordsAvx2 words;
    int x = 0;
    for (; x + 32 <= width; x += 32, upper += 96, lower += 96, to += 32)
        words.Store32(to, mix.Avx(Load32(upper), Load32(lower)), mix.Avx(Load32(upper + 32), Load32(lower + 32)),
                      mix.Avx(Load32(upper + 64), Load32(lower + 64)));
    for (; x + 16 <= width; x += 16, upper += 48, lower += 48, to += 16)
        words.Store16(to, mix.Avx(Load32(upper), Load32(lower)), mix.Avx(Load32(upper + 16), Load32(lower + 16)));
    // The compiler does not clear the upper halves for a function of its own
    // target; left dirty they slow every later SSE instruction of the thread
    // (three times over for the SSSE3 code here).
    _mm256_zeroupper();
    MixedRowScalar(upper, lower, width - x, to, mix);
}

// Two rows of the window's picture blended from the same two source rows (in
// a doubled picture nearly every row has a neighbour that shares its source
// rows): the widening is done once for both.
__attribute__((target("avx2"))) void SharedSourceRowsAvx2(const std::uint8_t* upper, const std::uint8_t* lower,
                                                          int width, std::uint32_t* first, std::uint16_t firstShare,
                                                          std::uint32_t* second, std::uint16_t secondShare) {
    const WordsAvx2 words;
    const __m256i twiceA[2] = {_mm256_set1_epi16(static_cast<std::int16_t>(2 * firstShare)),
                               _mm256_set1_epi16(static_cast<std::int16_t>(2 * secondShare))};
    std::uint32_t* to[2] = {first, second};
    int x = 0;
    for (; x + 32 <= width; x += 32, upper += 96, lower += 96) {
        const AnyShare::Wide a = AnyShare::Widen(Load32(upper), Load32(lower));
        const AnyShare::Wide b = AnyShare::Widen(Load32(upper + 32), Load32(lower + 32));
        const AnyShare::Wide c = AnyShare::Widen(Load32(upper + 64), Load32(lower + 64));
        for (int k = 0; k < 2; ++k) {
            words.Store32(to[k], AnyShare::Blend(a, twiceA[k]), AnyShare::Blend(b, twiceA[k]),
                          AnyShare::Blend(c, twiceA[k]));
            to[k] += 32;
        }
    }
    MixedRowAvx2(upper, lower, width - x, to[0], AnyShare{firstShare});
    MixedRowAvx2(upper, lower, width - x, to[1], AnyShare{secondShare});
}
#endif

template <PixelCode kCode, class Mix>
void MixedRow(const std::uint8_t* upper, const std::uint8_t* lower, int width, std::uint32_t* to, const Mix& mix) {
#ifdef SESSION_X86_PIXEL_CODE
    if constexpr (kCode == PixelCode::Avx2) {
        MixedRowAvx2(upper, lower, width, to, mix);
        return;
    } else if constexpr (kCode == PixelCode::Ssse3) {
        MixedRowSsse3(upper, lower, width, to, mix);
        return;
    }
#endif
    MixedRowScalar(upper, lower, width, to, mix);
}

template <PixelCode kCode>
void PlainPicture(const std::uint8_t* source, std::size_t sourceStride, int width, int height,
                  std::uint8_t* destination, std::size_t destinationStride) {
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* from = source + static_cast<std::size_t>(height - 1 - row) * sourceStride;
        auto* to = reinterpret_cast<std::uint32_t*>(destination + static_cast<std::size_t>(row) * destinationStride);
        MixedRow<kCode>(from, from, width, to, OneRow{});
    }
}

// Each row blended in registers and spread into words at once, so no blended
// 24-bit row goes through memory.
template <PixelCode kCode>
void BlendedPicture(const std::uint8_t* source, int width, const BlendedRowTable& rows, std::uint8_t* destination,
                    std::size_t destinationStride) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    const std::size_t count = rows.shares.size();
    for (std::size_t row = 0; row < count; ++row) {
        // The new picture is bottom-up too: the window's top row is its last.
        const std::size_t i = count - 1 - row;
        const std::uint8_t* upper = source + static_cast<std::size_t>(rows.upperRows[i]) * rowBytes;
        const std::uint8_t* lower = upper + rowBytes;
        auto* to = reinterpret_cast<std::uint32_t*>(destination + row * destinationStride);
        switch (const std::uint16_t share = rows.shares[i]) {
        case 0:
            MixedRow<kCode>(upper, upper, width, to, OneRow{});
            break;
        case kWholeLower:
            MixedRow<kCode>(lower, lower, width, to, OneRow{});
            break;
        default:
#ifdef SESSION_X86_PIXEL_CODE
            if constexpr (kCode == PixelCode::Avx2) {
                if (i > 0 && rows.upperRows[i - 1] == rows.upperRows[i] && rows.shares[i - 1] != 0 &&
                    rows.shares[i - 1] != kWholeLower) {
                    SharedSourceRowsAvx2(upper, lower, width, to, share,
                                         reinterpret_cast<std::uint32_t*>(destination + (row + 1) * destinationStride),
                                         rows.shares[i - 1]);
                    ++row;
                    break;
                }
            }
#endif
            MixedRow<kCode>(upper, lower, width, to, AnyShare{share});
            break;
        }
    }
}

}  // namespace

bool MachineRuns(PixelCode code) {
    switch (code) {
    case PixelCode::Scalar:
        return true;
#ifdef SESSION_X86_PIXEL_CODE
    case PixelCode::Ssse3:
        __builtin_cpu_init();
        return __builtin_cpu_supports("ssse3");
    case PixelCode::Avx2:
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2");
#endif
    default:
        return false;
    }
}

PixelCode BestPixelCode() {
    static const PixelCode best = MachineRuns(PixelCode::Avx2)    ? PixelCode::Avx2
                                  : MachineRuns(PixelCode::Ssse3) ? PixelCode::Ssse3
                                                                  : PixelCode::Scalar;
    return best;
}

void ToDisplayPixels(PixelCode code, const std::uint8_t* source, std::size_t sourceStride, int width, int height,
                     std::uint8_t* destination, std::size_t destinationStride) {
    switch (code) {
    case PixelCode::Avx2:
        PlainPicture<PixelCode::Avx2>(source, sourceStride, width, height, destination, destinationStride);
        break;
    case PixelCode::Ssse3:
        PlainPicture<PixelCode::Ssse3>(source, sourceStride, width, height, destination, destinationStride);
        break;
    case PixelCode::Scalar:
        PlainPicture<PixelCode::Scalar>(source, sourceStride, width, height, destination, destinationStride);
        break;
    }
}

void BlendedToDisplayPixels(PixelCode code, const std::uint8_t* source, int width, const BlendedRowTable& rows,
                            std::uint8_t* destination, std::size_t destinationStride) {
    switch (code) {
    case PixelCode::Avx2:
        BlendedPicture<PixelCode::Avx2>(source, width, rows, destination, destinationStride);
        break;
    case PixelCode::Ssse3:
        BlendedPicture<PixelCode::Ssse3>(source, width, rows, destination, destinationStride);
        break;
    case PixelCode::Scalar:
        BlendedPicture<PixelCode::Scalar>(source, width, rows, destination, destinationStride);
        break;
    }
}

bool BlendedRowTable::Make(int width, int height, int newHeight) {
    upperRows.clear();
    shares.clear();
    using resize::frame::ResizeMethod;
    const resize::frame::AxisPlan rowPlan = resize::frame::PlanAxis(
        ResizeMethod::Linear, 1, static_cast<double>(newHeight) / height, 0.0, height, newHeight);
    const resize::frame::AxisPlan columnPlan = resize::frame::PlanAxis(ResizeMethod::Linear, 1, 1.0, 0.0, width, width);
    if (rowPlan.length != newHeight || columnPlan.length != width)
        return false;
    std::vector<std::ptrdiff_t> rowOffsets(static_cast<std::size_t>(rowPlan.length));
    std::vector<std::ptrdiff_t> columnOffsets(static_cast<std::size_t>(columnPlan.length));
    std::vector<std::uint16_t> columnWeights(2 * static_cast<std::size_t>(columnPlan.length));
    std::vector<std::uint16_t> rowShares(static_cast<std::size_t>(rowPlan.length));
    resize::frame::MapLinearAxis(rowPlan, {0, height, height}, 1, rowOffsets.data(), rowShares.data(), 1);
    resize::frame::MapLinearAxis(columnPlan, {0, width, width}, 3, columnOffsets.data(), columnWeights.data(), 2);
    // Only columns that copy the source keep the blend one of two rows of source bytes.
    if (!resize::frame::ColumnsCopySource<resize::frame::LayoutC3>(columnOffsets.data(), columnWeights.data(),
                                                                     columnPlan.length))
        return false;
    // Every row read must lie in the picture.
    for (std::size_t i = 0; i < rowOffsets.size(); ++i) {
        const std::ptrdiff_t last = rowOffsets[i] + (rowShares[i] != 0 ? 1 : 0);
        if (rowOffsets[i] < 0 || last >= height || rowShares[i] > kWholeLower)
            return false;
    }
    upperRows.assign(rowOffsets.begin(), rowOffsets.end());
    shares = std::move(rowShares);
    return true;
}

}  // namespace session
