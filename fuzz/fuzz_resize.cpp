// Arbitrary calls of the resize engine: the entry, the core and super-sampling of every build
// (the SSE3-class build's also against its SSE2 twin's), every element type, layout, method and
// clip mode, any sizes, region, steps and factors, sometimes a null pointer, sometimes one
// allocation refused. The buffers are exactly as large as the call says, so the
// sanitizers catch any access outside them. Whatever the call: the status is one of the known
// ones, a call that fails writes nothing, a successful one leaves row padding and the fourth
// element of AC4 pixels alone, and a uniform integer source stays uniform where it is written
// (nearest, linear, super-sampling).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "resize/ResizeBuilds.h"
#include "resize/frame/AlignedAllocators.h"

namespace {

// Reads the input front to back; past its end every value is 0.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte() { return used_ < size_ ? data_[used_++] : 0; }
    int Below(int n) { return Byte() % n; }

    // Mostly a small valid count; sometimes 0 or below, which the checks refuse.
    std::int32_t Length(int most) {
        const std::uint8_t b = Byte();
        if (b >= 250) {
            return b == 250 ? 0 : b == 251 ? -1 : std::numeric_limits<std::int32_t>::min();
        }
        return 1 + b % most;
    }

    double Factor() {
        static const double specials[] = {1.0, 0.5, 2.0, 1.0 / 3.0, 0.4, 1.0 / 49.0, 1.0 / 99.0, 0.7, 1.5, 4.0,
                                          1e-300, 1e300, std::numeric_limits<double>::infinity(),
                                          -std::numeric_limits<double>::infinity(), std::nan(""), 0.0, -1.0,
                                          std::numeric_limits<double>::min(), 4.9e-324, 0.9999999,
                                          (3.0 - 5e-8) / 9.0, 1.0 - 1e-16};
        constexpr int specialCount = sizeof(specials) / sizeof(specials[0]);
        const std::uint8_t b = Byte();
        if (b < 128) {
            return specials[b % specialCount];
        }
        if (b < 250) {
            return (b - 127) / 40.0;  // 0.025 ... 3.05
        }
        double raw = 0.0;
        for (std::size_t i = 0; i < sizeof raw; ++i) {
            reinterpret_cast<std::uint8_t*>(&raw)[i] = Byte();
        }
        return raw;
    }

    const std::uint8_t* Rest(std::size_t& size) const {
        size = size_ - used_;
        return data_ + used_;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t used_ = 0;
};

struct LayoutChoice {
    std::int32_t channelCount;
    std::int32_t pixelStride;
    bool planar;
};
constexpr LayoutChoice Layouts[] = {{1, 1, false}, {3, 3, false}, {3, 4, false},
                                    {4, 4, false}, {3, 4, true},  {4, 4, true}};

// One image as the engine sees it: a buffer per plane, exactly (rows - 1) x step + rowBytes long.
struct Image {
    std::vector<std::vector<std::uint8_t>> planes;
    std::vector<const void*> sourcePointers;
    std::vector<void*> destinationPointers;
    std::int32_t rowBytes = 0;
    std::int32_t step = 0;
    std::int32_t rows = 0;

    Image(int planeCount, std::int32_t width, std::int32_t height, std::int32_t pixelBytes,
          std::int32_t paddingBytes) {
        rowBytes = std::max(1, width) * pixelBytes;
        step = rowBytes + paddingBytes;
        rows = std::max(1, height);
        for (int p = 0; p < planeCount; ++p) {
            planes.emplace_back(static_cast<std::size_t>(rows - 1) * step + rowBytes);
        }
        for (auto& plane : planes) {
            sourcePointers.push_back(plane.data());
            destinationPointers.push_back(plane.data());
        }
    }
};

bool KnownStatus(resize::ResizeStatus s) {
    return s == resize::StatusOk || s == resize::StatusOutsideSource || s == resize::StatusBadSize ||
           s == resize::StatusNullPointer || s == resize::StatusNoMemory || s == resize::StatusBadStep ||
           s == resize::StatusBadInterpolation || s == resize::StatusBadFactor;
}

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const std::uint8_t first = in.Byte();
    const int road = first % 3;  // 0 the entry, 1 the core, 2 super-sampling
    const auto builds = resize::ResizeBuilds();
    const resize::ResizeBuild& build = builds[(first / 3) % builds.size()];
    const std::int32_t elementType = road == 0 ? 0 : in.Below(3);
    const LayoutChoice layout = road == 0 ? Layouts[1] : Layouts[in.Below(6)];
    static const std::int32_t codes[] = {1, 2, 4, 8, 16, 3};
    const std::int32_t code = codes[in.Below(6)];
    const std::uint8_t modeByte = in.Byte();
    const std::int32_t clipMode = road == 0 ? 1 : modeByte < 200 ? 1 : modeByte < 250 ? 0 : 2;
    const std::int32_t elementBytes = elementType == 0 ? 1 : elementType == 1 ? 2 : 4;
    const int planeCount = layout.planar ? (layout.channelCount == 3 ? 3 : 4) : 1;
    const std::int32_t pixelBytes = (layout.planar ? 1 : layout.pixelStride) * elementBytes;

    const std::int32_t sourceWidth = in.Length(40);
    const std::int32_t sourceHeight = in.Length(40);
    Image source(planeCount, sourceWidth, sourceHeight, pixelBytes, in.Below(4) * 4);
    std::int32_t sourceStep = source.step;
    std::int32_t regionX = in.Byte() % 48 - 2;
    std::int32_t regionY = in.Byte() % 48 - 2;
    std::int32_t regionWidth = in.Length(60);
    std::int32_t regionHeight = in.Length(60);
    const std::int32_t destinationWidth = in.Length(48);
    const std::int32_t destinationHeight = in.Length(48);
    Image destination(planeCount, destinationWidth, destinationHeight, pixelBytes, in.Below(3) * 8);
    std::int32_t destinationStep = destination.step;
    const double scaleX = in.Factor();
    const double scaleY = in.Factor();
    const double shift = in.Below(8) == 0 ? (in.Byte() - 128) / 16.0 : 0.0;

    const std::uint8_t flags = in.Byte();
    const bool nullSource = flags % 31 == 1;
    const bool nullDestination = flags % 31 == 2;
    const bool nullPlane = flags % 31 == 3;
    if (flags % 31 == 4) {
        sourceStep = -sourceStep;
    }
    if (flags % 31 == 5) {
        destinationStep = 0;
    }
    const bool uniform = (flags & 0x80) != 0;
    const int refusedAllocation = in.Below(4) == 0 ? 1 + in.Below(16) : 0;

    // Pixels: one value everywhere, or the rest of the input over and over.
    std::size_t restSize = 0;
    const std::uint8_t* rest = in.Rest(restSize);
    const std::uint8_t uniformByte = restSize > 0 ? rest[0] : 0x40;
    for (auto& plane : source.planes) {
        for (std::size_t i = 0; i < plane.size(); ++i) {
            plane[i] = uniform ? uniformByte : restSize > 0 ? rest[i % restSize] : static_cast<std::uint8_t>(i);
        }
    }
    if (elementType == 2) {
        // Finite floats, so that a uniform check and comparisons stay meaningful.
        for (auto& plane : source.planes) {
            for (std::size_t i = 0; i + 4 <= plane.size(); i += 4) {
                const float v = static_cast<float>(plane[i] + 256 * plane[i + 1]) / 64.0f - 100.0f;
                std::memcpy(&plane[i], &v, 4);
            }
        }
    }
    const std::uint8_t fill = uniformByte ^ 0x5A;
    for (auto& plane : destination.planes) {
        std::memset(plane.data(), fill, plane.size());
    }
    if (nullPlane && layout.planar) {
        source.sourcePointers[planeCount - 1] = nullptr;
    }
    const std::vector<std::vector<std::uint8_t>> before = destination.planes;

    const void* sourceArgument = layout.planar ? static_cast<const void*>(source.sourcePointers.data())
                                               : source.sourcePointers[0];
    void* destinationArgument = layout.planar ? static_cast<void*>(destination.destinationPointers.data())
                                              : destination.destinationPointers[0];
    if (nullSource) {
        sourceArgument = nullptr;
    }
    if (nullDestination) {
        destinationArgument = nullptr;
    }

    const auto run = [&](const resize::ResizeBuild& engine) {
        resize::testing::RefuseAllocation(refusedAllocation);
        resize::ResizeStatus status;
        if (road == 0) {
            status = engine.entry(
                static_cast<const std::uint8_t*>(sourceArgument), {sourceWidth, sourceHeight}, sourceStep,
                {regionX, regionY, regionWidth, regionHeight}, static_cast<std::uint8_t*>(destinationArgument),
                destinationStep, {destinationWidth, destinationHeight}, scaleX, scaleY, code);
        } else if (road == 1) {
            status = engine.core(
                sourceArgument, sourceWidth, sourceHeight, sourceStep, regionX, regionY, regionWidth,
                regionHeight, destinationArgument, destinationStep, destinationWidth, destinationHeight,
                scaleX, scaleY, shift, shift, layout.pixelStride, layout.channelCount, elementType,
                layout.planar ? 1 : 0, code, clipMode);
        } else {
            status = engine.superSample(
                sourceArgument, sourceWidth, sourceHeight, sourceStep, regionX, regionY, regionWidth,
                regionHeight, destinationArgument, destinationStep, destinationWidth, destinationHeight,
                scaleX, scaleY, layout.pixelStride, layout.channelCount, elementType,
                layout.planar ? 1 : 0, clipMode);
        }
        resize::testing::StopRefusingAllocations();
        return status;
    };
    const resize::ResizeStatus status = run(build);

    // The SSE3-class build is the SSE2 build once more: the same status and the same bytes,
    // untouched ones included.
    if (build.slot == 4) {
        const std::vector<std::vector<std::uint8_t>> after = destination.planes;
        for (int p = 0; p < planeCount; ++p) {
            std::copy(before[p].begin(), before[p].end(), destination.planes[p].begin());
        }
        Check(run(*resize::FindResizeBuild("sse2")) == status);
        Check(destination.planes == after);
    }

    Check(KnownStatus(status));
    Check(status != resize::StatusNoMemory || refusedAllocation != 0);
    if (status != resize::StatusOk) {
        Check(destination.planes == before);
        return 0;
    }
    // Row padding and the fourth element of AC4 pixels are never written.
    for (int p = 0; p < planeCount; ++p) {
        const auto& now = destination.planes[p];
        const auto& was = before[p];
        for (std::size_t i = 0; i < now.size(); ++i) {
            const auto inRow = static_cast<std::int32_t>(i % static_cast<std::size_t>(destination.step));
            const bool padding = inRow >= destination.rowBytes;
            const bool alpha = !layout.planar && layout.channelCount == 3 && layout.pixelStride == 4 &&
                               (inRow / elementBytes) % 4 == 3;
            if (padding || alpha) {
                Check(now[i] == was[i]);
            }
        }
    }
    // A uniform integer source stays uniform: every written element is the source's value.
    const bool exactMethod = road == 2 || (road == 0 && code == 8) || code == 1 || code == 2;
    if (uniform && elementType != 2 && exactMethod && shift == 0.0) {
        for (int p = 0; p < planeCount; ++p) {
            const auto& now = destination.planes[p];
            for (std::size_t i = 0; i < now.size(); ++i) {
                Check(now[i] == before[p][i] || now[i] == uniformByte);
            }
        }
    }
    return 0;
}
