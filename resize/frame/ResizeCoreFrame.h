#pragma once
// The resize core of every build, over the build's kernel set K: checks, interpolation choice,
// clip, mapping tables, work rows and the driver call.

#include <cstddef>

#include "resize/frame/AlignedAllocators.h"
#include "resize/frame/ResizeEngine.h"
#include "resize/frame/ResizeGeometry.h"
#include "resize/frame/ResizeMapping.h"
#include "resize/frame/RowDriverTable.h"
#include "resize/frame/RowDrivers.h"

namespace resize::frame {

namespace core {

// Everything one call allocates: offset tables, the method's weight or fraction tables and its
// work rows. Owned by the call, freed on every path out of it.
template <class K>
struct CallTables {
    AlignedBlock<K> rowOffsets;
    AlignedBlock<K> columnOffsets;
    AlignedBlock<K> rowTable;
    AlignedBlock<K> columnTable;
    AlignedBlock<K> workRows[6];
    AlignedBlock<K> rowLanczosWeights;
    AlignedBlock<K> columnLanczosWeights;
    // What the drivers read as row and column weights.
    const void* rowWeights = nullptr;
    const void* columnWeights = nullptr;
};

// What a method's table builder needs to know about the call.
struct TableRequest {
    AxisPlan columns;
    AxisPlan rows;
    AxisEdges columnEdges;
    AxisEdges rowEdges;
    std::ptrdiff_t columnUnit;  // pixel stride, or 1 for one-channel and planar data
    std::ptrdiff_t rowUnit;     // source step in elements
    std::int32_t elementType;
    std::int64_t workPixelElements;
};

// Row and column offsets; pointer-sized, so an offset never wraps.
template <class K>
bool AllocateOffsets(const TableRequest& r, CallTables<K>& t) {
    const bool rows = AllocateInto<K, std::ptrdiff_t>(t.rowOffsets, r.rows.length) != nullptr;
    const bool columns = AllocateInto<K, std::ptrdiff_t>(t.columnOffsets, r.columns.length) != nullptr;
    return rows && columns;
}

template <class K>
std::ptrdiff_t* RowOffsets(CallTables<K>& t) {
    return static_cast<std::ptrdiff_t*>(t.rowOffsets.get());
}
template <class K>
std::ptrdiff_t* ColumnOffsets(CallTables<K>& t) {
    return static_cast<std::ptrdiff_t*>(t.columnOffsets.get());
}

// Work rows of destinationWidth + 4 work pixels each.
template <class K, class Work>
bool AllocateWorkRows(const TableRequest& r, CallTables<K>& t, int count) {
    const std::int64_t elements = (static_cast<std::int64_t>(r.columns.length) + 4) * r.workPixelElements;
    for (int i = 0; i < count; ++i) {
        if (AllocateInto<K, Work>(t.workRows[i], elements) == nullptr) {
            return false;
        }
    }
    return true;
}

template <class K>
bool BuildNearestTables(const TableRequest& r, CallTables<K>& t) {
    if (!AllocateOffsets(r, t)) {
        return false;
    }
    MapNearestAxis(r.rows, r.rowEdges, r.rowUnit, RowOffsets(t));
    MapNearestAxis(r.columns, r.columnEdges, r.columnUnit, ColumnOffsets(t));
    return true;
}

// Offsets and one float per destination row and column (linear shares of float data, cubic and
// Lanczos fractions), filled by `map`.
using FloatAxisMap = void (*)(const AxisPlan&, const AxisEdges&, std::ptrdiff_t, std::ptrdiff_t*, float*);

template <class K>
bool BuildFloatAxisTables(const TableRequest& r, CallTables<K>& t, FloatAxisMap map) {
    if (!AllocateOffsets(r, t)) {
        return false;
    }
    float* rowValues = AllocateInto<K, float>(t.rowTable, r.rows.length);
    float* columnValues = AllocateInto<K, float>(t.columnTable, r.columns.length);
    if (rowValues == nullptr || columnValues == nullptr) {
        return false;
    }
    map(r.rows, r.rowEdges, r.rowUnit, RowOffsets(t), rowValues);
    map(r.columns, r.columnEdges, r.columnUnit, ColumnOffsets(t), columnValues);
    t.rowWeights = rowValues;
    t.columnWeights = columnValues;
    return true;
}

template <class K>
bool BuildLinearTables(const TableRequest& r, CallTables<K>& t) {
    if (r.elementType == Element32f) {
        return BuildFloatAxisTables(r, t, static_cast<FloatAxisMap>(&MapLinearAxis)) &&
               AllocateWorkRows<K, float>(r, t, 2);
    }
    if (!AllocateOffsets(r, t)) {
        return false;
    }
    auto* rowWeights = AllocateInto<K, std::uint16_t>(t.rowTable, r.rows.length);
    auto* columnWeights = AllocateInto<K, std::uint16_t>(t.columnTable, 2 * static_cast<std::int64_t>(r.columns.length));
    if (rowWeights == nullptr || columnWeights == nullptr) {
        return false;
    }
    MapLinearAxis(r.rows, r.rowEdges, r.rowUnit, RowOffsets(t), rowWeights, 1);
    MapLinearAxis(r.columns, r.columnEdges, r.columnUnit, ColumnOffsets(t), columnWeights, 2);
    t.rowWeights = rowWeights;
    t.columnWeights = columnWeights;
    return AllocateWorkRows<K, std::uint16_t>(r, t, 2);
}

template <class K>
bool BuildCubicTables(const TableRequest& r, CallTables<K>& t) {
    return BuildFloatAxisTables(r, t, &MapCubicAxis) && AllocateWorkRows<K, float>(r, t, 4);
}

// Fractions first, then the work rows, then six weights per column and per row, from the
// build's LanczosWeights.
template <class K>
bool BuildLanczosTables(const TableRequest& r, CallTables<K>& t) {
    if (!BuildFloatAxisTables(r, t, &MapLanczosAxis) || !AllocateWorkRows<K, float>(r, t, 6)) {
        return false;
    }
    float* columnWeights = AllocateInto<K, float>(t.columnLanczosWeights, 6 * static_cast<std::int64_t>(r.columns.length));
    float* rowWeights = AllocateInto<K, float>(t.rowLanczosWeights, 6 * static_cast<std::int64_t>(r.rows.length));
    if (columnWeights == nullptr || rowWeights == nullptr) {
        return false;
    }
    K::LanczosWeights(static_cast<const float*>(t.columnWeights), r.columns.length, columnWeights);
    K::LanczosWeights(static_cast<const float*>(t.rowWeights), r.rows.length, rowWeights);
    t.rowWeights = rowWeights;
    t.columnWeights = columnWeights;
    return true;
}

// One row per interpolation: its code, mapping, place in the driver table and table builder.
template <class K>
struct MethodInfo {
    std::int32_t code;
    ResizeMethod method;
    int driverBase;
    bool (*buildTables)(const TableRequest& request, CallTables<K>& tables);
};

template <class K>
inline constexpr MethodInfo<K> Methods[] = {
    {InterpNearest, ResizeMethod::Nearest, NearestDriverBase, &BuildNearestTables<K>},
    {InterpLinear, ResizeMethod::Linear, LinearDriverBase, &BuildLinearTables<K>},
    {InterpCubic, ResizeMethod::Cubic, CubicDriverBase, &BuildCubicTables<K>},
    {InterpLanczos, ResizeMethod::Lanczos, LanczosDriverBase, &BuildLanczosTables<K>},
};

template <class K>
const MethodInfo<K>* FindMethod(std::int32_t code) {
    for (const MethodInfo<K>& m : Methods<K>) {
        if (m.code == code) {
            return &m;
        }
    }
    return nullptr;
}

// Judged on the whole source: nearest below 2 pixels, Lanczos needs 6 and cubic 4.
inline std::int32_t CodeForSource(std::int32_t code, std::int32_t width, std::int32_t height) {
    if (width < 2 || height < 2) {
        return InterpNearest;
    }
    if (code == InterpLanczos && (width < 6 || height < 6)) {
        code = InterpCubic;
    }
    if (code == InterpCubic && (width < 4 || height < 4)) {
        code = InterpLinear;
    }
    return code;
}

}  // namespace core

template <class K>
ResizeStatus ResizeEngine<K>::ResizeCore(
    const void* sourceImage, std::int32_t sourceWidth, std::int32_t sourceHeight,
    std::int32_t sourceStep, std::int32_t regionX, std::int32_t regionY, std::int32_t regionWidth,
    std::int32_t regionHeight, void* destinationImage, std::int32_t destinationStep,
    std::int32_t destinationWidth, std::int32_t destinationHeight, double scaleX, double scaleY,
    double shiftX, double shiftY, std::int32_t pixelStride, std::int32_t channelCount,
    std::int32_t elementType, std::int32_t isPlanar, std::int32_t interpolationCode,
    std::int32_t clipMode) {
    using namespace core;
    ResizeArguments args{sourceImage,      sourceWidth,     sourceHeight,     sourceStep,
                         regionX,          regionY,         regionWidth,      regionHeight,
                         destinationImage, destinationStep, destinationWidth, destinationHeight,
                         scaleX,           scaleY,          pixelStride,      channelCount,
                         elementType,      isPlanar,        clipMode};
    if (const ResizeStatus status = CheckResizeArguments(args); status != StatusOk) {
        return status;
    }
    if (FindMethod<K>(interpolationCode) == nullptr) {
        return StatusBadInterpolation;
    }
    if (!IsSupportedEngineLayout(args)) {
        return StatusBadSize;
    }
    const MethodInfo<K>& method = *FindMethod<K>(CodeForSource(interpolationCode, sourceWidth, sourceHeight));
    ClipRegionToSource(args);

    const bool oneChannel = isPlanar != 0 || channelCount == 1;
    const std::int32_t elementSize = ElementSize(elementType);
    TableRequest request{};
    request.columns = PlanAxis(method.method, clipMode, scaleX, shiftX, args.regionWidth, destinationWidth, K::nearestFit);
    request.rows = PlanAxis(method.method, clipMode, scaleY, shiftY, args.regionHeight, destinationHeight, K::nearestFit);
    request.columnEdges = {regionX, sourceWidth, args.regionWidth};
    request.rowEdges = {regionY, sourceHeight, args.regionHeight};
    request.columnUnit = oneChannel ? 1 : pixelStride;
    request.rowUnit = sourceStep / elementSize;
    request.elementType = elementType;
    request.workPixelElements = oneChannel ? 1 : channelCount == 3 ? 3 : 4;

    CallTables<K> tables;
    if (!method.buildTables(request, tables)) {
        return StatusNoMemory;
    }

    RowDriverArgs driverArgs{};
    driverArgs.sourceStep = request.rowUnit;
    driverArgs.destinationStep = destinationStep / elementSize;
    driverArgs.destinationWidth = request.columns.length;
    driverArgs.destinationHeight = request.rows.length;
    driverArgs.rowOffsets = RowOffsets(tables);
    driverArgs.columnOffsets = ColumnOffsets(tables);
    driverArgs.rowWeights = tables.rowWeights;
    driverArgs.columnWeights = tables.columnWeights;
    for (int i = 0; i < 6; ++i) {
        driverArgs.workRows[i] = tables.workRows[i].get();
    }
    driverArgs.regionX = regionX;
    driverArgs.regionY = regionY;
    driverArgs.sourceExtentX = sourceWidth - regionX;
    driverArgs.sourceExtentY = sourceHeight - regionY;
    driverArgs.pixelStride = isPlanar != 0 ? 0 : pixelStride;
    driverArgs.channelCount = isPlanar != 0 ? 0 : channelCount;

    const RowDriver driver =
        RowDriverTableOf<K>[RowDriverIndex(method.driverBase, elementType, oneChannel, channelCount)].run;
    for (int plane = 0; plane < PlaneCount(args); ++plane) {
        driverArgs.region = RegionStart(args, plane);
        driverArgs.destination = DestinationStart(args, plane);
        driver(driverArgs);
    }
    return StatusOk;
}

}  // namespace resize::frame
