#pragma once
// Super-sampling row routines: every destination pixel is the average of the source area under
// its band of stepX columns by stepY rows, a partly covered edge pixel counting for the part
// covered. Each destination row takes two passes over one work row: a vertical pass adds the
// band's source rows into it, a horizontal pass adds up each column band in place; the sums are
// then scaled into the destination row.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "resize/ResizeTypes.h"
#include "resize/frame/AlignedAllocators.h"
#include "resize/frame/PixelLayouts.h"

namespace resize::frame {

// Bits of the super-sampling mode: which steps are not whole numbers.
inline constexpr std::int32_t SuperSampleFractionalY = 1;
inline constexpr std::int32_t SuperSampleFractionalX = 2;

// Elements of the work row. Whole steps on 8-bit and 16-bit data add integers; 64 bits when a
// band of full-scale elements could pass 2^32 - 1. Everything else adds floats.
enum class SuperSampleWork { Sums32, Sums64, Floats };

inline std::size_t SuperSampleWorkBytes(SuperSampleWork work) {
    return work == SuperSampleWork::Sums64 ? 8 : 4;
}

// What a routine needs; the driver has checked and clipped every value. Steps are in bytes.
struct SuperSampleArgs {
    const void* region;            // the region's top-left element (of the plane)
    void* destination;             // the element that receives the top-left result
    std::ptrdiff_t sourceStep;
    std::ptrdiff_t destinationStep;
    std::int32_t sourceColumns;    // region columns the vertical pass adds up (>= destinationWidth)
    std::int32_t sourceRows;       // region rows; no band reads below them
    std::int32_t destinationWidth;
    std::int32_t destinationHeight;
    double stepX;                  // source columns per destination column, at least 1
    double stepY;                  // source rows per destination row, at least 1
    double sumScale;               // turns a band's sum into its average
    std::int32_t pixelStride;      // Cn routines: 3 or 4
    std::int32_t mode;             // SuperSampleFractionalX | SuperSampleFractionalY
    SuperSampleWork work;
    void* workRow;                 // sourceColumns work pixels of pixelStride elements
};

// The pieces of consecutive bands of `step` (at least 1, not whole) pixels along an axis. The
// first band takes pixels 0 ... whole - 1 and the fraction of pixel `whole`; every later band
// takes what the band before left of its boundary pixel, whole pixels, and a part of the next
// one. A part of 1e-7 or less is left out: a boundary pixel that went almost wholly to the band
// before is passed over, never counted a second time, so every band weighs its step.
class SuperSampleBandWalk {
public:
    explicit SuperSampleBandWalk(double step) : step_(step) {}

    // Calls part(index, weight) for a partly covered pixel and whole(first, count) for a run of
    // fully covered ones, in order.
    template <class Part, class Whole>
    void Next(Part&& part, Whole&& whole) {
        if (first_) {
            first_ = false;
            const double count = std::floor(step_);
            whole(std::int64_t{0}, static_cast<std::int64_t>(count));
            position_ = static_cast<std::int64_t>(count);
            carry_ = step_ - count;
            part(position_, carry_);
            return;
        }
        const double left = 1.0 - carry_;
        const double rest = step_ - left;
        const double count = std::max(0.0, std::floor(rest + ResizeEpsilon));
        const double carry = rest - count;
        if (left > ResizeEpsilon) {
            part(position_, left);
        }
        ++position_;
        whole(position_, static_cast<std::int64_t>(count));
        position_ += static_cast<std::int64_t>(count);
        if (carry > ResizeEpsilon) {
            part(position_, carry);
        }
        carry_ = carry;
    }

private:
    double step_;
    double carry_ = 0.0;
    std::int64_t position_ = 0;
    bool first_ = true;
};

// Adds `count` consecutive source rows, element by element, into the work row's first `width`
// pixels (L::channels elements each, pixel k at element k x L::pixelStride in both). Integer work
// adds modulo its width; float work rounds every sum to float. Returns the rows added. The
// generic build's row sums, and every build's for 64-bit sums.
template <class T, class L, class Work>
std::int64_t SuperSampleSumRows(const std::uint8_t* row, std::ptrdiff_t sourceStep, std::int32_t width,
                                std::int64_t count, Work* __restrict work) {
    if (count <= 0) {
        return 0;
    }
    for (std::int64_t r = 0; r < count; ++r) {
        const T* __restrict in = reinterpret_cast<const T*>(row + r * sourceStep);
        if constexpr (L::channels == L::pixelStride) {
            const std::ptrdiff_t elements = static_cast<std::ptrdiff_t>(width) * L::channels;
            for (std::ptrdiff_t e = 0; e < elements; ++e) {
                work[e] += static_cast<Work>(in[e]);
            }
        } else {
            for (std::int32_t k = 0; k < width; ++k) {
                const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(k) * L::pixelStride;
                for (int c = 0; c < L::channels; ++c) {
                    work[at + c] += static_cast<Work>(in[at + c]);
                }
            }
        }
    }
    return count;
}

// Adds one source row times `weight` into the float work row, in double precision.
template <class T, class L>
void SuperSampleAddWeightedRow(const std::uint8_t* row, std::int32_t width, double weight,
                               float* __restrict work) {
    const T* __restrict in = reinterpret_cast<const T*>(row);
    for (std::int32_t k = 0; k < width; ++k) {
        const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(k) * L::pixelStride;
        for (int c = 0; c < L::channels; ++c) {
            work[at + c] = static_cast<float>(static_cast<double>(work[at + c]) +
                                              static_cast<double>(in[at + c]) * weight);
        }
    }
}

// A scaled sum to a destination element: integers add 0.5, truncate and clamp to their range (a
// band a rounding error heavier than its step must not wrap a bright area to black); floats are
// rounded to single precision.
template <class T>
inline T SuperSampleToElement(double value) {
    if constexpr (std::is_same_v<T, float>) {
        return static_cast<float>(value);
    } else {
        constexpr double top = std::is_same_v<T, std::uint8_t> ? 255.0 : 65535.0;
        // std::max(0.0, NaN) is 0.0; written without branches so that rows vectorise.
        const double v = std::min(top, std::max(0.0, value + 0.5));
        return static_cast<T>(static_cast<std::int32_t>(v));
    }
}

// destination = sum x sumScale for the first `width` work pixels.
template <class T, class L, class Work>
void SuperSampleStoreRow(const Work* __restrict work, std::int32_t width, double sumScale, T* __restrict destination) {
    if constexpr (L::channels == L::pixelStride) {
        const std::ptrdiff_t elements = static_cast<std::ptrdiff_t>(width) * L::channels;
        for (std::ptrdiff_t e = 0; e < elements; ++e) {
            destination[e] = SuperSampleToElement<T>(static_cast<double>(work[e]) * sumScale);
        }
    } else {
        for (std::int32_t j = 0; j < width; ++j) {
            for (int c = 0; c < L::channels; ++c) {
                const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(j) * L::pixelStride + c;
                destination[at] = SuperSampleToElement<T>(static_cast<double>(work[at]) * sumScale);
            }
        }
    }
}

// One column band as the walk adds it: up to three terms in order, each a run of whole pixels or
// one pixel's part, within the work row's columns.
struct SuperSampleColumnTerm {
    std::int64_t first;
    std::int64_t count;
    double weight;
    bool whole;
};
struct SuperSampleColumnBand {
    SuperSampleColumnTerm terms[3];
    int size;
};

inline void MakeColumnBands(double stepX, std::int32_t columns, std::int32_t width, SuperSampleColumnBand* bands) {
    SuperSampleBandWalk walk(stepX);
    for (std::int32_t j = 0; j < width; ++j) {
        SuperSampleColumnBand& band = bands[j];
        band.size = 0;
        walk.Next(
            [&](std::int64_t p, double weight) {
                if (p < columns) {
                    band.terms[band.size++] = {p, 1, weight, false};
                }
            },
            [&](std::int64_t first, std::int64_t count) {
                const std::int64_t end = std::min(first + count, static_cast<std::int64_t>(columns));
                if (end > first) {
                    band.terms[band.size++] = {first, end - first, 1.0, true};
                }
            });
    }
}

// Mode 0's whole source rows go through the build's row sums K::SumRows.
template <class K, class T, class L, class Work>
void ResizeSuperSampleRows(const SuperSampleArgs& a) {
    // Integer work sums in its own type; float work sums in double and stores floats.
    using Sum = std::conditional_t<std::is_same_v<Work, float>, double, Work>;
    constexpr int E = L::pixelStride;
    const auto* region = static_cast<const std::uint8_t*>(a.region);
    auto* destinationRow = static_cast<std::uint8_t*>(a.destination);
    Work* work = static_cast<Work*>(a.workRow);
    const std::int32_t columns = a.sourceColumns;
    const std::ptrdiff_t workElements = static_cast<std::ptrdiff_t>(columns) * E;
    const auto sourceRow = [&](std::int64_t r) { return region + r * a.sourceStep; };

    // Row runs and parts below the region add nothing. Whole steps (mode 0) in 32-bit integers
    // or floats take the build's row sums, which may overwrite the cleared work row; row walks,
    // mode 2's whole rows and 64-bit sums add on the scalar loop above.
    constexpr bool buildSums = std::is_same_v<Work, std::conditional_t<std::is_same_v<T, float>, float, std::uint32_t>>;
    const bool modeZero = a.mode == 0;
    const auto addRows = [&](std::int64_t first, std::int64_t count) {
        count = std::min(count, static_cast<std::int64_t>(a.sourceRows) - first);
        if (count > 0) {
            if constexpr (buildSums) {
                if (modeZero) {
                    K::template SumRows<T, L, Work>(sourceRow(first), a.sourceStep, columns, count, work);
                    return;
                }
            }
            SuperSampleSumRows<T, L, Work>(sourceRow(first), a.sourceStep, columns, count, work);
        }
    };
    const auto addRowPart = [&](std::int64_t r, double weight) {
        if constexpr (std::is_same_v<Work, float>) {
            if (r < a.sourceRows) {
                SuperSampleAddWeightedRow<T, L>(sourceRow(r), columns, weight, work);
            }
        }
    };

    const bool wholeX = (a.mode & SuperSampleFractionalX) == 0;
    const bool wholeY = (a.mode & SuperSampleFractionalY) == 0;
    const auto ix = static_cast<std::int64_t>(std::floor(a.stepX));
    const auto iy = static_cast<std::int64_t>(std::floor(a.stepY));
    SuperSampleBandWalk rowBands(a.stepY);
    std::int64_t cursor = 0;  // whole steps: the first row of the next band

    // Fractional column steps: the walk gives every row the same column bands, so they are
    // worked out once, in the walk's order of terms (without the table, when it cannot be had,
    // each row walks again).
    AlignedBlock<K> bandBlock;
    const SuperSampleColumnBand* columnBandTable = nullptr;
    if constexpr (std::is_same_v<Work, float>) {
        if ((a.mode & SuperSampleFractionalX) != 0) {
            auto* table = static_cast<SuperSampleColumnBand*>(
                K::AlignedAllocBytes(a.destinationWidth, sizeof(SuperSampleColumnBand)));
            if (table != nullptr) {
                bandBlock.reset(table);
                MakeColumnBands(a.stepX, columns, a.destinationWidth, table);
                columnBandTable = table;
            }
        }
    }

    for (std::int32_t i = 0; i < a.destinationHeight; ++i) {
        // Whole steps on 8-bit packed pixels: the build may make the row in one go.
        if constexpr (std::is_same_v<T, std::uint8_t> && std::is_same_v<Work, std::uint32_t> &&
                      L::channels == L::pixelStride) {
            if (modeZero) {
                const std::int64_t count = std::max<std::int64_t>(0, std::min(iy, a.sourceRows - cursor));
                if (K::template WholeStepRow8u<L::channels>(count > 0 ? sourceRow(cursor) : region, a.sourceStep,
                                                            columns, count, ix, a.destinationWidth, a.sumScale,
                                                            reinterpret_cast<std::uint8_t*>(work), destinationRow)) {
                    cursor += iy;
                    destinationRow += a.destinationStep;
                    continue;
                }
            }
        }
        std::fill(work, work + workElements, Work{0});
        if (wholeY) {
            addRows(cursor, iy);
            cursor += iy;
        } else {
            rowBands.Next(addRowPart, addRows);
        }

        // Horizontal pass: column j's sums, rounded to the work type, go over work pixel j, which
        // no later column reads (a band starts at or right of its own index, steps being at
        // least 1).
        Sum sums[L::channels];
        if (wholeX) {
            for (std::int32_t j = 0; j < a.destinationWidth; ++j) {
                const std::int64_t first = j * ix;
                const Work* band = work + first * E;
                const std::int64_t count = std::min(ix, columns - first);
                std::fill(sums, sums + L::channels, Sum{0});
                for (std::int64_t p = 0; p < count; ++p) {
                    for (int c = 0; c < L::channels; ++c) {
                        sums[c] += static_cast<Sum>(band[p * E + c]);
                    }
                }
                for (int c = 0; c < L::channels; ++c) {
                    work[static_cast<std::ptrdiff_t>(j) * E + c] = static_cast<Work>(sums[c]);
                }
            }
        } else if constexpr (std::is_same_v<Work, float>) {
            // Column runs and parts right of the work row add nothing.
            const auto addColumns = [&](std::int64_t first, std::int64_t count) {
                const std::int64_t end = std::min(first + count, static_cast<std::int64_t>(columns));
                for (std::int64_t p = first; p < end; ++p) {
                    for (int c = 0; c < L::channels; ++c) {
                        sums[c] += static_cast<double>(work[p * E + c]);
                    }
                }
            };
            const auto addColumnPart = [&](std::int64_t p, double weight) {
                if (p < columns) {
                    for (int c = 0; c < L::channels; ++c) {
                        sums[c] += static_cast<double>(work[p * E + c]) * weight;
                    }
                }
            };
            SuperSampleBandWalk columnBands(a.stepX);
            for (std::int32_t j = 0; j < a.destinationWidth; ++j) {
                std::fill(sums, sums + L::channels, 0.0);
                if (columnBandTable != nullptr) {
                    const SuperSampleColumnBand& band = columnBandTable[j];
                    for (int t = 0; t < band.size; ++t) {
                        const SuperSampleColumnTerm& term = band.terms[t];
                        if (term.whole) {
                            addColumns(term.first, term.count);
                        } else {
                            addColumnPart(term.first, term.weight);
                        }
                    }
                } else {
                    columnBands.Next(addColumnPart, addColumns);
                }
                for (int c = 0; c < L::channels; ++c) {
                    work[static_cast<std::ptrdiff_t>(j) * E + c] = static_cast<float>(sums[c]);
                }
            }
        }
        SuperSampleStoreRow<T, L>(work, a.destinationWidth, a.sumScale, reinterpret_cast<T*>(destinationRow));
        destinationRow += a.destinationStep;
    }
}

// One routine per element type and layout; the work row's element type is chosen per call.
template <class K, class T, class L>
void SuperSampleRoutine(const SuperSampleArgs& a) {
    if (a.work == SuperSampleWork::Sums32) {
        if constexpr (!std::is_same_v<T, float>) {
            ResizeSuperSampleRows<K, T, L, std::uint32_t>(a);
        }
    } else if (a.work == SuperSampleWork::Sums64) {
        if constexpr (!std::is_same_v<T, float>) {
            ResizeSuperSampleRows<K, T, L, std::uint64_t>(a);
        }
    } else {
        ResizeSuperSampleRows<K, T, L, float>(a);
    }
}

// Three channels at the pixel stride (C3, AC4).
template <class K, class T>
void SuperSampleRoutineCn(const SuperSampleArgs& a) {
    if (a.pixelStride == 4) {
        SuperSampleRoutine<K, T, LayoutAC4>(a);
    } else {
        SuperSampleRoutine<K, T, LayoutC3>(a);
    }
}

}  // namespace resize::frame
