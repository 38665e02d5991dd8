#pragma once
// How destination rows and columns map to source positions, and the per-call offset and weight
// tables each interpolation builds from them. Rows and columns share the code: an axis is
// either.

#include <cstddef>
#include <cstdint>

namespace resize::frame {

enum class ResizeMethod { Nearest, Linear, Cubic, Lanczos };

// Destination length along the axis and its source coordinates (relative to the region):
// c(0) = start, c(k + 1) = c(k) + step, by repeated addition.
struct AxisPlan {
    std::int32_t length;
    double start;
    double step;
};

// How clip mode 0 limits a nearest destination to the fitted length f = trunc(region / step +
// 1e-7): the generic and SSE builds cut the offered length to f only when it exceeds f by two or
// more, so an offer of f + 1 keeps one pixel more; the SSE2 and SSE3-class builds cut it to f.
enum class NearestFit { CutBelowOneOver, CutToFitted };

// clipMode 1: `scale` is destination pixels per source pixel; 0: source pixels per destination
// pixel. `available` is the destination length the caller offers.
AxisPlan PlanAxis(ResizeMethod method, std::int32_t clipMode, double scale, double shift,
                  std::int32_t regionLength, std::int32_t available,
                  NearestFit nearestFit = NearestFit::CutBelowOneOver);

// Where the axis's region lies in the whole image; the edge rules look at the image's edges.
struct AxisEdges {
    std::int32_t origin;        // regionX or regionY
    std::int32_t imageLength;   // sourceWidth or sourceHeight
    std::int32_t regionLength;  // after the clip
};

// Calls visit(k, c(k)) for every destination index of the plan.
template <class Visit>
void ForEachCoordinate(const AxisPlan& plan, Visit&& visit) {
    double coordinate = plan.start;
    for (std::int32_t k = 0; k < plan.length; ++k) {
        visit(k, coordinate);
        coordinate += plan.step;
    }
}

// Each builder fills plan.length offsets: the chosen source index times `unit` (the source step
// in elements for rows; the pixel stride, or 1 for one-channel and planar data, for columns).

void MapNearestAxis(const AxisPlan& plan, const AxisEdges& edges, std::ptrdiff_t unit,
                    std::ptrdiff_t* offsets);

// Fixed point (8-bit and 16-bit data): the share a of the next source index on the 16384 scale.
// weightsPerIndex 1 stores a (rows); 2 stores the pair {16384 - a, a} (columns).
void MapLinearAxis(const AxisPlan& plan, const AxisEdges& edges, std::ptrdiff_t unit,
                   std::ptrdiff_t* offsets, std::uint16_t* weights, int weightsPerIndex);
// Float data: the share of the next source index as a float.
void MapLinearAxis(const AxisPlan& plan, const AxisEdges& edges, std::ptrdiff_t unit,
                   std::ptrdiff_t* offsets, float* weights);

// Base index of the four taps base - 1 ... base + 2 and the fraction t measured from it.
void MapCubicAxis(const AxisPlan& plan, const AxisEdges& edges, std::ptrdiff_t unit,
                  std::ptrdiff_t* offsets, float* fractions);

// Base index of the six taps base - 2 ... base + 3 and the fraction measured from it.
void MapLanczosAxis(const AxisPlan& plan, const AxisEdges& edges, std::ptrdiff_t unit,
                    std::ptrdiff_t* offsets, float* fractions);

}  // namespace resize::frame
