#pragma once
// Images of every element type and layout for the resize tests, the engine call as one value,
// and a naive per-pixel reference of the engine written straight from its formulas.

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "GuardedImage.h"
#include "resize/ResizeBuilds.h"
#include "resize/ResizeTypes.h"

namespace resize_test {

struct Layout {
    const char* name;
    std::int32_t channelCount;
    std::int32_t pixelStride;  // 0 for planar data
    bool planar;
};

inline constexpr Layout C1{"C1", 1, 1, false};
inline constexpr Layout C3{"C3", 3, 3, false};
inline constexpr Layout AC4{"AC4", 3, 4, false};
inline constexpr Layout C4{"C4", 4, 4, false};
inline constexpr Layout Planar3{"Planar3", 3, 0, true};
inline constexpr Layout Planar4{"Planar4", 4, 0, true};
inline constexpr Layout AllLayouts[] = {C1, C3, AC4, C4, Planar3, Planar4};

inline constexpr std::int32_t Type8u = 0;
inline constexpr std::int32_t Type16u = 1;
inline constexpr std::int32_t Type32f = 2;
inline constexpr std::int32_t AllTypes[] = {Type8u, Type16u, Type32f};

// The interpolation codes of the engine.
inline constexpr std::int32_t BuiltMethods[] = {resize::InterpNearest, resize::InterpLinear,
                                                 resize::InterpCubic, resize::InterpLanczos};

inline int ElementBytes(std::int32_t elementType) {
    return elementType == Type8u ? 1 : elementType == Type16u ? 2 : 4;
}

// One image in guarded buffers: one buffer for interleaved data, one per plane for planar data.
class TestImage {
public:
    // offsetBytes: how far every row of the image lies past a 32-byte boundary.
    TestImage(Layout layout, std::int32_t elementType, std::int32_t width, std::int32_t height,
              std::int32_t paddingBytes = 0, std::uint8_t fill = 0xCD, std::int32_t offsetBytes = 0);

    const Layout& GetLayout() const { return layout_; }
    std::int32_t ElementType() const { return elementType_; }
    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    std::int32_t Step() const { return step_; }
    // Elements of a pixel that can be addressed: the pixel stride, or the plane count.
    int ElementsPerPixel() const;
    // Elements the engine resizes per pixel (AC4: 3 of 4).
    int ResizedElements() const;

    // What the engine takes as sourceImage / destinationImage.
    const void* EngineSource() const;
    void* EngineDestination();

    std::uint8_t* Element(std::int32_t x, std::int32_t y, int e);
    double Get(std::int32_t x, std::int32_t y, int e);
    void Set(std::int32_t x, std::int32_t y, int e, double value);

    void FillRandom(std::mt19937& random);
    void FillWith(double value);  // every element, the fourth of AC4 included

    std::vector<std::uint8_t> Contents() const;  // all rows of all planes
    bool GuardsIntact();

private:
    Layout layout_;
    std::int32_t elementType_;
    std::int32_t width_;
    std::int32_t height_;
    std::int32_t step_;
    std::vector<std::unique_ptr<GuardedImage>> buffers_;
    std::vector<const void*> sourcePlanes_;
    std::vector<void*> destinationPlanes_;
};

// ResizeCore's 22 parameters.
struct CoreCall {
    const void* sourceImage;
    std::int32_t sourceWidth;
    std::int32_t sourceHeight;
    std::int32_t sourceStep;
    std::int32_t regionX;
    std::int32_t regionY;
    std::int32_t regionWidth;
    std::int32_t regionHeight;
    void* destinationImage;
    std::int32_t destinationStep;
    std::int32_t destinationWidth;
    std::int32_t destinationHeight;
    double scaleX;
    double scaleY;
    double shiftX;
    double shiftY;
    std::int32_t pixelStride;
    std::int32_t channelCount;
    std::int32_t elementType;
    std::int32_t isPlanar;
    std::int32_t interpolationCode;
    std::int32_t clipMode;
};

// A call over the whole of `source` into `destination` (both of the same layout and type).
CoreCall WholeImageCall(TestImage& source, TestImage& destination, double scaleX, double scaleY,
                        std::int32_t interpolationCode);

// The build the engine suites run: the one QUENLO_RESIZE_TEST_BUILD names (ctest registers the
// suites once per build), else the generic build.
const resize::ResizeBuild& BuildUnderTest();

// How far a SIMD build's written element may lie from the generic build's (and from the
// reference): nearest, linear 8u and 16u and super-sampling identical; cubic and Lanczos 8u and
// 16u within 1; float linear, cubic and Lanczos within 2^-12 x max(1, largest source magnitude).
enum class Agreement { Identical, WithinOne, FloatBound };
Agreement AgreementFor(std::int32_t interpolationCode, std::int32_t elementType);

// The rule for the build under test against the reference: the generic build computes the
// reference's formulas (identical); the SIMD builds agree by AgreementFor.
Agreement BuildAgreement(std::int32_t interpolationCode, std::int32_t elementType);
// The largest difference BuildAgreement allows one element whose source's largest magnitude is
// largestMagnitude.
double AllowedDifference(std::int32_t interpolationCode, std::int32_t elementType, double largestMagnitude);

// Largest magnitude of any element of the image.
double LargestMagnitude(TestImage& image);

// Element by element: the two contents (of one element type) equal, or within the rule.
::testing::AssertionResult AgreeWithin(const std::vector<std::uint8_t>& actual,
                                       const std::vector<std::uint8_t>& expected,
                                       std::int32_t elementType, Agreement rule, double largestMagnitude);

// The build under test's ResizeCore.
resize::ResizeStatus RunCore(const CoreCall& call);

// What ResizeCore must write for a call that passes its checks, pixel by pixel from the
// formulas: no tables, no work rows.
void ReferenceResize(const CoreCall& call);

std::string Describe(const CoreCall& call);

// A whole number drawn from low ... high.
inline std::int32_t Between(std::mt19937& random, std::int32_t low, std::int32_t high) {
    return low + static_cast<std::int32_t>(random() % static_cast<std::uint32_t>(high - low + 1));
}

// A row of a check-order table: how a valid call is broken, and the status that must decide.
struct CheckCase {
    const char* name;
    std::function<void(CoreCall&)> change;
    resize::ResizeStatus expected;
};

}  // namespace resize_test
