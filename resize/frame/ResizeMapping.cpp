#include "resize/frame/ResizeMapping.h"

#include <cmath>

#include "resize/ResizeTypes.h"
#include "resize/frame/ResizeGeometry.h"

namespace resize::frame {

AxisPlan PlanAxis(ResizeMethod method, std::int32_t clipMode, double scale, double shift,
                  std::int32_t regionLength, std::int32_t available, NearestFit nearestFit) {
    const bool nearest = method == ResizeMethod::Nearest;
    AxisPlan plan{};
    if (clipMode == 1) {
        plan.length = ClipDestinationLength(available, scale, regionLength);
        if (nearest) {
            plan.step = 1.0 / scale;
            plan.start = 0.5 * plan.step;
        } else {
            // Destination 0 and the ideal last destination scale x regionLength - 1 land on the
            // region's first and last source pixels.
            const double span = scale * static_cast<double>(regionLength);
            plan.step = span > 1.0 ? static_cast<double>(regionLength - 1) / (span - 1.0) : 0.0;
            plan.start = 0.0;
        }
    } else {
        const double covered = nearest ? static_cast<double>(regionLength)
                                       : static_cast<double>(regionLength - 1);
        const double fitted = std::trunc(covered / scale + ResizeEpsilon);
        plan.length = available;
        const double cutBelow = nearest && nearestFit == NearestFit::CutToFitted ? static_cast<double>(available)
                                                                                 : static_cast<double>(available) - 1.0;
        if (fitted < cutBelow) {
            const double length = nearest ? fitted : fitted + 1.0;
            plan.length = length < 1.0 ? 1 : static_cast<std::int32_t>(length);
        }
        plan.step = scale;
        plan.start = nearest ? 0.5 * scale : 0.0;
    }
    plan.start += shift;
    return plan;
}

void MapNearestAxis(const AxisPlan& plan, const AxisEdges& edges, std::ptrdiff_t unit,
                    std::ptrdiff_t* offsets) {
    // A forced single pixel of a strong reduction centres beyond the region: it takes the
    // region's last pixel.
    const std::int32_t last = edges.regionLength - 1;
    ForEachCoordinate(plan, [&](std::int32_t k, double c) {
        offsets[k] = TruncatedIndex(c, last) * unit;
    });
}

namespace {
// The lower of the two source indices and the share of the upper one; on the image's last
// pixel the pair moves one back and all the weight goes to that last pixel.
struct LinearTap {
    std::int32_t index;
    double share;
    bool onImageEdge;
};

LinearTap LinearTapAt(double c, const AxisEdges& edges) {
    const std::int32_t n = TruncatedIndex(c, edges.regionLength - 1);
    if (n == edges.imageLength - edges.origin - 1) {
        return {n - 1, 1.0, true};
    }
    return {n, c - n, false};
}
}  // namespace

void MapLinearAxis(const AxisPlan& plan, const AxisEdges& edges, std::ptrdiff_t unit,
                   std::ptrdiff_t* offsets, std::uint16_t* weights, int weightsPerIndex) {
    ForEachCoordinate(plan, [&](std::int32_t k, double c) {
        const LinearTap tap = LinearTapAt(c, edges);
        offsets[k] = tap.index * unit;
        std::int32_t a = 16384;
        if (!tap.onImageEdge) {
            // Kept within 0 ... 16384 before the conversion (a coordinate clamped to the region
            // can leave a share outside 0 ... 1).
            const double fixed = tap.share * LinearWeightScale + ResizeEpsilon;
            a = !(fixed >= 1.0) ? 0 : fixed >= 16384.0 ? 16384 : static_cast<std::int32_t>(fixed);
        }
        if (weightsPerIndex == 1) {
            weights[k] = static_cast<std::uint16_t>(a);
        } else {
            weights[2 * k] = static_cast<std::uint16_t>(16384 - a);
            weights[2 * k + 1] = static_cast<std::uint16_t>(a);
        }
    });
}

void MapLinearAxis(const AxisPlan& plan, const AxisEdges& edges, std::ptrdiff_t unit,
                   std::ptrdiff_t* offsets, float* weights) {
    ForEachCoordinate(plan, [&](std::int32_t k, double c) {
        const LinearTap tap = LinearTapAt(c, edges);
        offsets[k] = tap.index * unit;
        weights[k] = static_cast<float>(tap.share);
    });
}

void MapCubicAxis(const AxisPlan& plan, const AxisEdges& edges, std::ptrdiff_t unit,
                  std::ptrdiff_t* offsets, float* fractions) {
    // Taps base - 1 ... base + 2 stay inside the image: the stencil shifts at its first,
    // second-last and last pixel (tested in that order after the last).
    const std::int32_t imageLast = edges.imageLength - 1;
    ForEachCoordinate(plan, [&](std::int32_t k, double c) {
        const std::int32_t n = TruncatedIndex(c, edges.regionLength - 1);
        const std::int32_t s = edges.origin + n;
        std::int32_t base;
        if (s == imageLast) {
            base = n - 2;
            fractions[k] = 2.0f;
        } else {
            base = s == 0 ? n + 1 : s == imageLast - 1 ? n - 1 : n;
            fractions[k] = static_cast<float>(c - base);
        }
        offsets[k] = base * unit;
    });
}

void MapLanczosAxis(const AxisPlan& plan, const AxisEdges& edges, std::ptrdiff_t unit,
                    std::ptrdiff_t* offsets, float* fractions) {
    ForEachCoordinate(plan, [&](std::int32_t k, double c) {
        const std::int32_t base = TruncatedIndex(c, edges.regionLength - 1);
        offsets[k] = base * unit;
        fractions[k] = static_cast<float>(c - base);
    });
}

}  // namespace resize::frame
