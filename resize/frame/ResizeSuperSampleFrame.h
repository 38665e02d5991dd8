#pragma once
// Super-sampling of every build, over the build's kernel set K: checks, clip, the band plan, the
// accumulator row and one routine per picture or plane.

#include <algorithm>
#include <cmath>

#include "resize/frame/AlignedAllocators.h"
#include "resize/frame/ResizeEngine.h"
#include "resize/frame/ResizeGeometry.h"
#include "resize/frame/SuperSampleRows.h"

namespace resize::frame {

namespace supersample {

using SuperSampleRoutinePointer = void (*)(const SuperSampleArgs& args);

struct SuperSampleRoutineEntry {
    const char* name;
    SuperSampleRoutinePointer run;
};

// Index: layout (C1 and every plane 0, Cn 1, C4 2) x 3 + element type.
template <class K>
inline constexpr SuperSampleRoutineEntry SuperSampleRoutineTable[9] = {
    {"ResizeSuperSample_8u_C1", &SuperSampleRoutine<K, std::uint8_t, LayoutC1>},
    {"ResizeSuperSample_16u_C1", &SuperSampleRoutine<K, std::uint16_t, LayoutC1>},
    {"ResizeSuperSample_32f_C1", &SuperSampleRoutine<K, float, LayoutC1>},
    {"ResizeSuperSample_8u_Cn", &SuperSampleRoutineCn<K, std::uint8_t>},
    {"ResizeSuperSample_16u_Cn", &SuperSampleRoutineCn<K, std::uint16_t>},
    {"ResizeSuperSample_32f_Cn", &SuperSampleRoutineCn<K, float>},
    {"ResizeSuperSample_8u_C4", &SuperSampleRoutine<K, std::uint8_t, LayoutC4>},
    {"ResizeSuperSample_16u_C4", &SuperSampleRoutine<K, std::uint16_t, LayoutC4>},
    {"ResizeSuperSample_32f_C4", &SuperSampleRoutine<K, float, LayoutC4>},
};

// Clip mode 1: a factor up to 1.0; clip mode 0: a finite step of at least 1.0. A band shorter
// than one source pixel is not an area average.
inline bool IsReduction(double scale, std::int32_t clipMode) {
    return clipMode == 1 ? scale <= 1.0 : (std::isfinite(scale) && scale >= 1.0);
}

// One axis: destination length, source pixels per destination pixel, and the factor that turns
// a band's sum into its average.
struct SuperSampleAxis {
    std::int32_t length;
    double step;
    double factor;
};

inline SuperSampleAxis PlanSuperSampleAxis(std::int32_t clipMode, double scale, std::int32_t regionLength,
                                    std::int32_t available) {
    const double region = static_cast<double>(regionLength);
    // Whole destination pixels the region gives; below one, the one forced pixel stands for
    // the whole region, so its band never reaches past it.
    const double fitted = clipMode == 1 ? std::trunc(scale * region + ResizeEpsilon)
                                        : std::trunc(region / scale + ResizeEpsilon);
    if (fitted < 1.0) {
        return {1, region, 1.0 / region};
    }
    const std::int32_t length = fitted < static_cast<double>(available) ? static_cast<std::int32_t>(fitted) : available;
    if (clipMode == 1) {
        return {length, 1.0 / scale, scale};
    }
    return {length, scale, 1.0 / scale};
}

// Integer sums while a band of full-scale elements fits 32 bits, else 64; floats otherwise.
inline SuperSampleWork WorkFor(std::int32_t elementType, std::int32_t mode, double stepX, double stepY) {
    if (elementType == Element32f || mode != 0) {
        return SuperSampleWork::Floats;
    }
    const double top = elementType == Element8u ? 255.0 : 65535.0;
    return std::floor(stepX) * std::floor(stepY) * top <= 4294967295.0 ? SuperSampleWork::Sums32
                                                                        : SuperSampleWork::Sums64;
}

}  // namespace supersample

template <class K>
ResizeStatus ResizeEngine<K>::ResizeSuperSample(
    const void* sourceImage, std::int32_t sourceWidth, std::int32_t sourceHeight,
    std::int32_t sourceStep, std::int32_t regionX, std::int32_t regionY, std::int32_t regionWidth,
    std::int32_t regionHeight, void* destinationImage, std::int32_t destinationStep,
    std::int32_t destinationWidth, std::int32_t destinationHeight, double scaleX, double scaleY,
    std::int32_t pixelStride, std::int32_t channelCount, std::int32_t elementType,
    std::int32_t isPlanar, std::int32_t clipMode) {
    using namespace supersample;
    ResizeArguments args{sourceImage,      sourceWidth,     sourceHeight,     sourceStep,
                         regionX,          regionY,         regionWidth,      regionHeight,
                         destinationImage, destinationStep, destinationWidth, destinationHeight,
                         scaleX,           scaleY,          pixelStride,      channelCount,
                         elementType,      isPlanar,        clipMode};
    if (const ResizeStatus status = CheckResizeArguments(args); status != StatusOk) {
        return status;
    }
    if (!IsReduction(scaleX, clipMode) || !IsReduction(scaleY, clipMode)) {
        return StatusBadFactor;
    }
    if (!IsSupportedEngineLayout(args)) {
        return StatusBadSize;
    }
    ClipRegionToSource(args);

    const SuperSampleAxis columns = PlanSuperSampleAxis(clipMode, scaleX, args.regionWidth, destinationWidth);
    const SuperSampleAxis rows = PlanSuperSampleAxis(clipMode, scaleY, args.regionHeight, destinationHeight);
    const bool oneChannel = isPlanar != 0 || channelCount == 1;
    const std::int32_t workPixelElements = oneChannel ? 1 : pixelStride;

    SuperSampleArgs routineArgs{};
    routineArgs.sourceStep = sourceStep;
    routineArgs.destinationStep = destinationStep;
    // The columns the destination's bands reach, with one to spare, never past the region.
    routineArgs.sourceColumns = static_cast<std::int32_t>(std::min(
        static_cast<double>(args.regionWidth),
        std::trunc((static_cast<double>(columns.length) + 1.0) * columns.step) + 1.0));
    routineArgs.sourceRows = args.regionHeight;
    routineArgs.destinationWidth = columns.length;
    routineArgs.destinationHeight = rows.length;
    routineArgs.stepX = columns.step;
    routineArgs.stepY = rows.step;
    routineArgs.sumScale = columns.factor * rows.factor;
    routineArgs.pixelStride = oneChannel ? 1 : pixelStride;
    routineArgs.mode = (columns.step != std::trunc(columns.step) ? SuperSampleFractionalX : 0) |
                       (rows.step != std::trunc(rows.step) ? SuperSampleFractionalY : 0);
    routineArgs.work = WorkFor(elementType, routineArgs.mode, columns.step, rows.step);

    // One work row serves every plane and is taken before any plane is written, so a refused
    // allocation leaves the whole destination untouched.
    AlignedBlock<K> workRow(K::AlignedAllocBytes(static_cast<std::int64_t>(routineArgs.sourceColumns) * workPixelElements,
                                           SuperSampleWorkBytes(routineArgs.work)));
    if (!workRow) {
        return StatusNoMemory;
    }
    routineArgs.workRow = workRow.get();

    const int layout = oneChannel ? 0 : channelCount == 4 ? 2 : 1;
    const SuperSampleRoutinePointer routine = SuperSampleRoutineTable<K>[layout * 3 + elementType].run;
    for (int plane = 0; plane < PlaneCount(args); ++plane) {
        routineArgs.region = RegionStart(args, plane);
        routineArgs.destination = DestinationStart(args, plane);
        routine(routineArgs);
    }
    return StatusOk;
}

}  // namespace resize::frame
