#include "AreaReference.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>


namespace resize_test {

resize::ResizeStatus RunSuperSample(const CoreCall& c) {
    return BuildUnderTest().superSample(
        c.sourceImage, c.sourceWidth, c.sourceHeight, c.sourceStep, c.regionX, c.regionY,
        c.regionWidth, c.regionHeight, c.destinationImage, c.destinationStep, c.destinationWidth,
        c.destinationHeight, c.scaleX, c.scaleY, c.pixelStride, c.channelCount, c.elementType,
        c.isPlanar, c.clipMode);
}

namespace {

// One source pixel's share of a band: the part of [x, x + 1) inside [from, to).
struct Share {
    std::int32_t index;
    double weight;
};

// The bands of one axis as lists of shares, clipped to the region.
std::vector<std::vector<Share>> Bands(std::int32_t clipMode, double scale, std::int32_t regionLength,
                                      std::int32_t available) {
    const double fitted = clipMode == 1 ? std::trunc(scale * regionLength + 1e-7)
                                        : std::trunc(regionLength / scale + 1e-7);
    std::int32_t length = 1;
    double band = regionLength;
    if (fitted >= 1.0) {
        length = fitted < available ? static_cast<std::int32_t>(fitted) : available;
        band = clipMode == 1 ? 1.0 / scale : scale;
    }
    std::vector<std::vector<Share>> bands(static_cast<std::size_t>(length));
    for (std::int32_t k = 0; k < length; ++k) {
        const double from = k * band;
        const double to = std::min<double>((k + 1) * band, regionLength);
        for (auto x = static_cast<std::int32_t>(std::floor(from)); x < to; ++x) {
            const double weight = std::min<double>(x + 1, to) - std::max<double>(x, from);
            if (weight > 0.0) {
                bands[static_cast<std::size_t>(k)].push_back({x, weight});
            }
        }
    }
    return bands;
}

}  // namespace

void AreaReference(const CoreCall& c, TestImage& source, TestImage& expected) {
    const std::int32_t regionWidth = std::min(c.regionWidth, c.sourceWidth - c.regionX);
    const std::int32_t regionHeight = std::min(c.regionHeight, c.sourceHeight - c.regionY);
    const auto columns = Bands(c.clipMode, c.scaleX, regionWidth, c.destinationWidth);
    const auto rows = Bands(c.clipMode, c.scaleY, regionHeight, c.destinationHeight);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t j = 0; j < columns.size(); ++j) {
            for (int e = 0; e < source.ResizedElements(); ++e) {
                double sum = 0.0;
                double area = 0.0;
                for (const Share& row : rows[i]) {
                    for (const Share& column : columns[j]) {
                        const double weight = row.weight * column.weight;
                        sum += weight * source.Get(c.regionX + column.index, c.regionY + row.index, e);
                        area += weight;
                    }
                }
                const double average = sum / area;
                const auto x = static_cast<std::int32_t>(j);
                const auto y = static_cast<std::int32_t>(i);
                if (c.elementType == Type32f) {
                    expected.Set(x, y, e, average);
                } else {
                    const double top = c.elementType == Type8u ? 255.0 : 65535.0;
                    expected.Set(x, y, e, std::clamp(std::floor(average + 0.5), 0.0, top));
                }
            }
        }
    }
}

::testing::AssertionResult SameWithin(TestImage& actual, TestImage& expected, double integerTolerance) {
    for (std::int32_t y = 0; y < actual.Height(); ++y) {
        for (std::int32_t x = 0; x < actual.Width(); ++x) {
            for (int e = 0; e < actual.ElementsPerPixel(); ++e) {
                const double a = actual.Get(x, y, e);
                const double b = expected.Get(x, y, e);
                const double tolerance = actual.ElementType() == Type32f
                                             ? 1e-4 * std::max(1.0, std::fabs(b))
                                             : integerTolerance;
                if (!(std::fabs(a - b) <= tolerance)) {
                    return ::testing::AssertionFailure()
                           << "element " << e << " of pixel " << x << "," << y << " is " << a
                           << ", expected " << b;
                }
            }
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace resize_test
