#include "ResizeTestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "resize/generic/LanczosTable.h"

namespace resize_test {

namespace {
int PlaneCountOf(const Layout& layout) {
    return layout.planar ? (layout.channelCount == 3 ? 3 : 4) : 1;
}

double ReadElement(const std::uint8_t* p, std::int32_t elementType) {
    if (elementType == Type8u) {
        return *p;
    }
    if (elementType == Type16u) {
        std::uint16_t v;
        std::memcpy(&v, p, 2);
        return v;
    }
    float v;
    std::memcpy(&v, p, 4);
    return v;
}

void WriteElement(std::uint8_t* p, std::int32_t elementType, double value) {
    if (elementType == Type8u) {
        *p = static_cast<std::uint8_t>(value);
    } else if (elementType == Type16u) {
        const auto v = static_cast<std::uint16_t>(value);
        std::memcpy(p, &v, 2);
    } else {
        const auto v = static_cast<float>(value);
        std::memcpy(p, &v, 4);
    }
}
}  // namespace

TestImage::TestImage(Layout layout, std::int32_t elementType, std::int32_t width,
                     std::int32_t height, std::int32_t paddingBytes, std::uint8_t fill,
                     std::int32_t offsetBytes)
    : layout_(layout), elementType_(elementType), width_(width), height_(height) {
    const std::int32_t pixelElements = layout.planar ? 1 : layout.pixelStride;
    const std::int32_t rowBytes = width * pixelElements * ElementBytes(elementType);
    step_ = rowBytes + paddingBytes;
    for (int p = 0; p < PlaneCountOf(layout); ++p) {
        buffers_.push_back(std::make_unique<GuardedImage>(rowBytes, step_, height, fill, offsetBytes));
        sourcePlanes_.push_back(buffers_.back()->Data());
        destinationPlanes_.push_back(buffers_.back()->Data());
    }
}

int TestImage::ElementsPerPixel() const {
    return layout_.planar ? PlaneCountOf(layout_) : layout_.pixelStride;
}

int TestImage::ResizedElements() const {
    return layout_.planar ? PlaneCountOf(layout_) : layout_.channelCount;
}

const void* TestImage::EngineSource() const {
    return layout_.planar ? static_cast<const void*>(sourcePlanes_.data()) : sourcePlanes_[0];
}

void* TestImage::EngineDestination() {
    return layout_.planar ? static_cast<void*>(destinationPlanes_.data()) : destinationPlanes_[0];
}

std::uint8_t* TestImage::Element(std::int32_t x, std::int32_t y, int e) {
    const int bytes = ElementBytes(elementType_);
    if (layout_.planar) {
        return buffers_[e]->Row(y) + static_cast<std::size_t>(x) * bytes;
    }
    return buffers_[0]->Row(y) + (static_cast<std::size_t>(x) * layout_.pixelStride + e) * bytes;
}

double TestImage::Get(std::int32_t x, std::int32_t y, int e) {
    return ReadElement(Element(x, y, e), elementType_);
}

void TestImage::Set(std::int32_t x, std::int32_t y, int e, double value) {
    WriteElement(Element(x, y, e), elementType_, value);
}

void TestImage::FillRandom(std::mt19937& random) {
    for (std::int32_t y = 0; y < height_; ++y) {
        for (std::int32_t x = 0; x < width_; ++x) {
            for (int e = 0; e < ElementsPerPixel(); ++e) {
                const std::uint32_t r = random();
                if (elementType_ == Type8u) {
                    Set(x, y, e, r & 0xFF);
                } else if (elementType_ == Type16u) {
                    Set(x, y, e, r & 0xFFFF);
                } else {
                    Set(x, y, e, (static_cast<double>(r % 100000) - 20000.0) / 256.0);
                }
            }
        }
    }
}

void TestImage::FillWith(double value) {
    for (std::int32_t y = 0; y < height_; ++y) {
        for (std::int32_t x = 0; x < width_; ++x) {
            for (int e = 0; e < ElementsPerPixel(); ++e) {
                Set(x, y, e, value);
            }
        }
    }
}

std::vector<std::uint8_t> TestImage::Contents() const {
    std::vector<std::uint8_t> all;
    for (const auto& buffer : buffers_) {
        const std::vector<std::uint8_t> plane = buffer->Contents();
        all.insert(all.end(), plane.begin(), plane.end());
    }
    return all;
}

bool TestImage::GuardsIntact() {
    bool intact = true;
    for (auto& buffer : buffers_) {
        intact = buffer->GuardsIntact() && intact;
    }
    return intact;
}

CoreCall WholeImageCall(TestImage& source, TestImage& destination, double scaleX, double scaleY,
                        std::int32_t interpolationCode) {
    const Layout& layout = source.GetLayout();
    return CoreCall{source.EngineSource(),
                    source.Width(),
                    source.Height(),
                    source.Step(),
                    0,
                    0,
                    source.Width(),
                    source.Height(),
                    destination.EngineDestination(),
                    destination.Step(),
                    destination.Width(),
                    destination.Height(),
                    scaleX,
                    scaleY,
                    0.0,
                    0.0,
                    layout.pixelStride,
                    layout.channelCount,
                    source.ElementType(),
                    layout.planar ? 1 : 0,
                    interpolationCode,
                    1};
}

Agreement AgreementFor(std::int32_t code, std::int32_t type) {
    if (code == resize::InterpNearest || code == resize::InterpSuperSample) {
        return Agreement::Identical;
    }
    if (type == Type32f) {
        return Agreement::FloatBound;
    }
    return code == resize::InterpLinear ? Agreement::Identical : Agreement::WithinOne;
}

Agreement BuildAgreement(std::int32_t code, std::int32_t type) {
    return std::string(BuildUnderTest().name) == "generic" ? Agreement::Identical : AgreementFor(code, type);
}

double AllowedDifference(std::int32_t code, std::int32_t type, double largestMagnitude) {
    switch (BuildAgreement(code, type)) {
    case Agreement::Identical:
        return 0.0;
    case Agreement::WithinOne:
        return 1.0;
    case Agreement::FloatBound:
        break;
    }
    return std::ldexp(std::max(1.0, largestMagnitude), -12);
}

double LargestMagnitude(TestImage& image) {
    double largest = 0.0;
    for (std::int32_t y = 0; y < image.Height(); ++y) {
        for (std::int32_t x = 0; x < image.Width(); ++x) {
            for (int e = 0; e < image.ElementsPerPixel(); ++e) {
                largest = std::max(largest, std::fabs(image.Get(x, y, e)));
            }
        }
    }
    return largest;
}

::testing::AssertionResult AgreeWithin(const std::vector<std::uint8_t>& actual,
                                       const std::vector<std::uint8_t>& expected,
                                       std::int32_t elementType, Agreement rule, double largestMagnitude) {
    if (actual.size() != expected.size()) {
        return ::testing::AssertionFailure() << "sizes differ";
    }
    const std::size_t bytes = static_cast<std::size_t>(ElementBytes(elementType));
    const double allowed = rule == Agreement::Identical ? 0.0
                           : rule == Agreement::WithinOne ? 1.0
                                                          : std::ldexp(std::max(1.0, largestMagnitude), -12);
    for (std::size_t e = 0; e < actual.size() / bytes; ++e) {
        if (std::memcmp(&actual[e * bytes], &expected[e * bytes], bytes) == 0) {
            continue;
        }
        const double difference = std::fabs(ReadElement(&actual[e * bytes], elementType) -
                                             ReadElement(&expected[e * bytes], elementType));
        if (rule == Agreement::Identical || !(difference <= allowed)) {
            return ::testing::AssertionFailure() << "element " << e << " differs by " << difference;
        }
    }
    return ::testing::AssertionSuccess();
}

const resize::ResizeBuild& BuildUnderTest() {
    static const resize::ResizeBuild& build = [] () -> const resize::ResizeBuild& {
        const char* name = std::getenv("QUENLO_RESIZE_TEST_BUILD");
        const resize::ResizeBuild* found = resize::FindResizeBuild(name != nullptr ? name : "generic");
        if (found == nullptr) {
            std::fprintf(stderr, "QUENLO_RESIZE_TEST_BUILD names no build of this program: %s\n", name);
            std::abort();
        }
        return *found;
    }();
    return build;
}

resize::ResizeStatus RunCore(const CoreCall& c) {
    return BuildUnderTest().core(
        c.sourceImage, c.sourceWidth, c.sourceHeight, c.sourceStep, c.regionX, c.regionY,
        c.regionWidth, c.regionHeight, c.destinationImage, c.destinationStep, c.destinationWidth,
        c.destinationHeight, c.scaleX, c.scaleY, c.shiftX, c.shiftY, c.pixelStride,
        c.channelCount, c.elementType, c.isPlanar, c.interpolationCode, c.clipMode);
}

std::string Describe(const CoreCall& c) {
    std::ostringstream s;
    s << "source " << c.sourceWidth << "x" << c.sourceHeight << " step " << c.sourceStep
      << " region " << c.regionX << "," << c.regionY << "," << c.regionWidth << ","
      << c.regionHeight << " destination " << c.destinationWidth << "x" << c.destinationHeight
      << " step " << c.destinationStep << " scale " << c.scaleX << "," << c.scaleY
      << " stride " << c.pixelStride << " channels " << c.channelCount << " type "
      << c.elementType << " planar " << c.isPlanar << " interpolation " << c.interpolationCode
      << " clip " << c.clipMode;
    return s.str();
}

// ---- the reference ----

namespace {

constexpr double Epsilon = 1e-7;

// Source and destination seen element by element; coordinates of the source are absolute.
class Pixels {
public:
    explicit Pixels(const CoreCall& c) : c_(c), bytes_(ElementBytes(c.elementType)) {}

    int Planes() const { return c_.isPlanar ? (c_.channelCount == 3 ? 3 : 4) : 1; }
    int Channels() const { return c_.isPlanar ? 1 : c_.channelCount; }

    const std::uint8_t* SourceElement(int plane, std::int64_t x, std::int64_t y, int ch) const {
        if (c_.isPlanar) {
            const auto* base = static_cast<const std::uint8_t* const*>(c_.sourceImage)[plane];
            return base + y * c_.sourceStep + x * bytes_;
        }
        return static_cast<const std::uint8_t*>(c_.sourceImage) + y * c_.sourceStep +
               (x * c_.pixelStride + ch) * bytes_;
    }
    std::uint8_t* DestinationElement(int plane, std::int64_t k, std::int64_t i, int ch) const {
        if (c_.isPlanar) {
            auto* base = static_cast<std::uint8_t* const*>(c_.destinationImage)[plane];
            return base + i * c_.destinationStep + k * bytes_;
        }
        return static_cast<std::uint8_t*>(c_.destinationImage) + i * c_.destinationStep +
               (k * c_.pixelStride + ch) * bytes_;
    }
    double Source(int plane, std::int64_t x, std::int64_t y, int ch) const {
        return ReadElement(SourceElement(plane, x, y, ch), c_.elementType);
    }
    std::int32_t SourceInt(int plane, std::int64_t x, std::int64_t y, int ch) const {
        return static_cast<std::int32_t>(Source(plane, x, y, ch));
    }
    void Write(int plane, std::int64_t k, std::int64_t i, int ch, double value) const {
        WriteElement(DestinationElement(plane, k, i, ch), c_.elementType, value);
    }
    void Copy(int plane, std::int64_t k, std::int64_t i, int ch, std::int64_t x, std::int64_t y) const {
        std::memcpy(DestinationElement(plane, k, i, ch), SourceElement(plane, x, y, ch), bytes_);
    }

private:
    const CoreCall& c_;
    int bytes_;
};

std::int32_t Index(double coordinate, std::int32_t last) {
    const double v = coordinate + Epsilon;
    if (!(v >= 1.0)) {
        return 0;
    }
    return v >= last ? last : static_cast<std::int32_t>(v);
}

// Destination length and source coordinates of one axis.
std::vector<double> Coordinates(int method, const CoreCall& c, double scale, double shift,
                                std::int32_t regionLength, std::int32_t available) {
    const bool nearest = method == resize::InterpNearest;
    std::int32_t length = available;
    double start;
    double step;
    if (c.clipMode == 1) {
        const double fitted = std::trunc(scale * regionLength + Epsilon);
        if (fitted < available) {
            length = std::max(1, static_cast<std::int32_t>(fitted));
        }
        if (nearest) {
            step = 1.0 / scale;
            start = 0.5 * step;
        } else {
            step = scale * regionLength > 1.0 ? (regionLength - 1) / (scale * regionLength - 1.0) : 0.0;
            start = 0.0;
        }
    } else {
        const double w = std::trunc((nearest ? regionLength : regionLength - 1) / scale + Epsilon);
        // Nearest: the generic and SSE builds keep an offered length one above w, the SSE2-class
        // builds (slots 3 and 4) cut it to w.
        const bool cutToFitted = nearest && BuildUnderTest().slot >= 3;
        if (w < available - (cutToFitted ? 0.0 : 1.0)) {
            length = std::max(1, static_cast<std::int32_t>(nearest ? w : w + 1));
        }
        step = scale;
        start = nearest ? 0.5 * scale : 0.0;
    }
    std::vector<double> coordinates;
    double x = start + shift;
    for (std::int32_t k = 0; k < length; ++k) {
        coordinates.push_back(x);
        x += step;
    }
    return coordinates;
}

int MethodForSource(int code, std::int32_t width, std::int32_t height) {
    if (width < 2 || height < 2) {
        return resize::InterpNearest;
    }
    if (code == resize::InterpLanczos && std::min(width, height) < 6) {
        code = resize::InterpCubic;
    }
    if (code == resize::InterpCubic && std::min(width, height) < 4) {
        code = resize::InterpLinear;
    }
    return code;
}

// Linear: lower index and the share of the next one, for fixed point (a on 16384) and float.
struct LinearSample {
    std::int32_t index;
    std::int32_t fixedShare;
    float floatShare;
};

LinearSample LinearAt(double c, std::int32_t origin, std::int32_t imageLength, std::int32_t regionLength) {
    std::int32_t n = Index(c, regionLength - 1);
    if (origin + n == imageLength - 1) {
        return {n - 1, 16384, 1.0f};
    }
    const double fixed = (c - n) * 16384.0 + Epsilon;
    const std::int32_t a = fixed < 1.0 ? 0 : std::min(16384, static_cast<std::int32_t>(fixed));
    return {n, a, static_cast<float>(c - n)};
}

// Cubic: base index of the taps base - 1 ... base + 2 and the fraction from it.
struct CubicSample {
    std::int32_t base;
    float t;
};

CubicSample CubicAt(double c, std::int32_t origin, std::int32_t imageLength, std::int32_t regionLength) {
    const std::int32_t n = Index(c, regionLength - 1);
    const std::int32_t s = origin + n;
    if (s == imageLength - 1) {
        return {n - 2, 2.0f};
    }
    std::int32_t base = n;
    if (s == 0) {
        base = n + 1;
    } else if (s == imageLength - 2) {
        base = n - 1;
    }
    return {base, static_cast<float>(c - base)};
}

// Four-point interpolation in Newton's forward-difference form at s = t + 1.
double CubicValue(const double p[4], float fraction) {
    const double t = fraction;
    const double d1 = p[1] - p[0];
    const double d2 = (p[2] - p[1]) - d1;
    const double d3 = (p[3] - 2.0 * p[2] + p[1]) - d2;
    const double h = t * (t + 1.0) * 0.5;
    const double g = (t - 1.0) * h / 3.0;
    return p[0] + g * d3 + h * d2 + (t + 1.0) * d1;
}

// Integers: + 1e-7, truncated, kept within the element's range; floats as they are.
double ToStored(double value, std::int32_t elementType) {
    if (elementType == Type32f) {
        return value;
    }
    const double top = elementType == Type8u ? 255.0 : 65535.0;
    const double v = std::trunc(value + Epsilon);
    return v != v || v < 0.0 ? 0.0 : std::min(v, top);
}

// The six table weights of a fraction.
void LanczosWeightsOf(float fraction, double weights[6]) {
    for (int j = 0; j < 6; ++j) {
        double d = -2.0 - static_cast<double>(fraction);
        for (int step = 0; step < j; ++step) {
            d += 1.0;
        }
        if (d <= -3.0 || d >= 3.0) {
            weights[j] = 0.0f;
            continue;
        }
        const double u = 100.0 * std::fabs(d);
        const int n = static_cast<int>(u);
        const double t0 = resize::LanczosTable[n];
        const double t1 = resize::LanczosTable[n + 1];
        weights[j] = static_cast<float>(t0 + (u - n) * (t1 - t0));
    }
}

}  // namespace

void ReferenceResize(const CoreCall& c) {
    const int method = MethodForSource(c.interpolationCode, c.sourceWidth, c.sourceHeight);
    const std::int32_t regionWidth = std::min(c.regionWidth, c.sourceWidth - c.regionX);
    const std::int32_t regionHeight = std::min(c.regionHeight, c.sourceHeight - c.regionY);
    const std::vector<double> xs = Coordinates(method, c, c.scaleX, c.shiftX, regionWidth, c.destinationWidth);
    const std::vector<double> ys = Coordinates(method, c, c.scaleY, c.shiftY, regionHeight, c.destinationHeight);
    const Pixels pixels(c);

    for (int plane = 0; plane < pixels.Planes(); ++plane) {
        for (std::size_t i = 0; i < ys.size(); ++i) {
            for (std::size_t k = 0; k < xs.size(); ++k) {
                for (int ch = 0; ch < pixels.Channels(); ++ch) {
                    const auto di = static_cast<std::int64_t>(i);
                    const auto dk = static_cast<std::int64_t>(k);
                    if (method == resize::InterpNearest) {
                        pixels.Copy(plane, dk, di, ch, c.regionX + Index(xs[k], regionWidth - 1),
                                    c.regionY + Index(ys[i], regionHeight - 1));
                    } else if (method == resize::InterpCubic) {
                        const CubicSample col = CubicAt(xs[k], c.regionX, c.sourceWidth, regionWidth);
                        const CubicSample row = CubicAt(ys[i], c.regionY, c.sourceHeight, regionHeight);
                        double across[4];
                        for (int r = 0; r < 4; ++r) {
                            double taps[4];
                            for (int q = 0; q < 4; ++q) {
                                taps[q] = pixels.Source(plane, c.regionX + col.base - 1 + q,
                                                        c.regionY + row.base - 1 + r, ch);
                            }
                            across[r] = static_cast<float>(CubicValue(taps, col.t));
                        }
                        pixels.Write(plane, dk, di, ch, ToStored(CubicValue(across, row.t), c.elementType));
                    } else if (method == resize::InterpLanczos) {
                        const std::int32_t bx = Index(xs[k], regionWidth - 1);
                        const std::int32_t by = Index(ys[i], regionHeight - 1);
                        double wx[6];
                        double wy[6];
                        LanczosWeightsOf(static_cast<float>(xs[k] - bx), wx);
                        LanczosWeightsOf(static_cast<float>(ys[i] - by), wy);
                        double sum = 0.0;
                        for (int r = 0; r < 6; ++r) {
                            const std::int64_t y = std::clamp<std::int64_t>(c.regionY + by + r - 2, 0, c.sourceHeight - 1);
                            double across = 0.0;
                            for (int q = 0; q < 6; ++q) {
                                const std::int64_t x = std::clamp<std::int64_t>(c.regionX + bx + q - 2, 0, c.sourceWidth - 1);
                                const double product = wx[q] * pixels.Source(plane, x, y, ch);
                                across = q == 0 ? product : across + product;
                            }
                            const double product = wy[r] * static_cast<double>(static_cast<float>(across));
                            sum = r == 0 ? product : sum + product;
                        }
                        pixels.Write(plane, dk, di, ch, ToStored(sum, c.elementType));
                    } else if (method == resize::InterpLinear) {
                        const LinearSample col = LinearAt(xs[k], c.regionX, c.sourceWidth, regionWidth);
                        const LinearSample row = LinearAt(ys[i], c.regionY, c.sourceHeight, regionHeight);
                        const std::int64_t x0 = c.regionX + col.index;
                        const std::int64_t y0 = c.regionY + row.index;
                        if (c.elementType == Type32f) {
                            auto across = [&](std::int64_t y) {
                                const double p = pixels.Source(plane, x0, y, ch);
                                const double q = pixels.Source(plane, x0 + 1, y, ch);
                                return static_cast<float>(p + (q - p) * static_cast<double>(col.floatShare));
                            };
                            const double a = row.floatShare;
                            pixels.Write(plane, dk, di, ch,
                                         static_cast<double>(across(y0)) * (1.0 - a) +
                                             static_cast<double>(across(y0 + 1)) * a);
                        } else {
                            const bool bytes = c.elementType == Type8u;
                            auto across = [&](std::int64_t y) {
                                const std::int32_t p = pixels.SourceInt(plane, x0, y, ch);
                                const std::int32_t q = pixels.SourceInt(plane, x0 + 1, y, ch);
                                const std::int32_t sum = p * (16384 - col.fixedShare) + q * col.fixedShare;
                                return bytes ? (sum + 128) >> 8 : (sum + 8192) >> 14;
                            };
                            const std::int32_t a = row.fixedShare;
                            const std::int32_t sum = across(y0) * (16384 - a) + across(y0 + 1) * a;
                            pixels.Write(plane, dk, di, ch, bytes ? (sum + 524288) >> 20 : (sum + 8192) >> 14);
                        }
                    }
                }
            }
        }
    }
}

}  // namespace resize_test
