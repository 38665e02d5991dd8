#include "tools/resize-tool/ResizeToolCommand.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>

#include "resize/CpuSelection.h"
#include "resize/ImageResize.h"
#include "tools/resize-tool/PpmImage.h"

namespace resizetool {

namespace {

constexpr const char* Usage =
    "usage: resize-tool IN.ppm OUT.ppm --roi x,y,w,h --dst W,H --xf F --yf F --interp N\n"
    "                   [--build generic|sse|sse2|sse3|auto]\n";
constexpr const char* Help =
    "\n"
    "Resizes the region x,y,w,h of a binary PPM picture by the factors F into a\n"
    "W x H picture, with one call of the resize entry.\n"
    "  --interp N   1 nearest, 2 linear, 4 cubic, 8 super-sampling, 16 Lanczos\n"
    "  --build B    the engine build that runs the call\n"
    "  --help       print this text\n"
    "\n"
    "IN must be an 8-bit binary PPM (P6, maxval 255); no other picture is read.\n"
    "Prints the entry's status as \"status N NAME\". Exit status: 0 when the call\n"
    "resized the region and OUT was written; 3 when the entry answered any other\n"
    "status (OUT is then not written); 2 for bad arguments; 1 when IN cannot be\n"
    "read or OUT cannot be written.\n";

// The entry's statuses by name, for the status line.
struct StatusName {
    resize::ResizeStatus status;
    const char* name;
};
constexpr StatusName StatusNames[] = {
    {resize::StatusOk, "StatusOk"},
    {resize::StatusOutsideSource, "StatusOutsideSource"},
    {resize::StatusBadSize, "StatusBadSize"},
    {resize::StatusNullPointer, "StatusNullPointer"},
    {resize::StatusNoMemory, "StatusNoMemory"},
    {resize::StatusBadStep, "StatusBadStep"},
    {resize::StatusBadInterpolation, "StatusBadInterpolation"},
    {resize::StatusBadFactor, "StatusBadFactor"},
};

const char* NameOf(resize::ResizeStatus status) {
    for (const StatusName& s : StatusNames) {
        if (s.status == status) {
            return s.name;
        }
    }
    return "unknown status";
}

// Reads `count` comma-separated integers as strtol reads them; each must fit 32 bits.
bool ParseIntegers(const std::string& text, int count, std::int32_t* values) {
    const char* at = text.c_str();
    for (int i = 0; i < count; ++i) {
        char* end = nullptr;
        errno = 0;
        const long value = std::strtol(at, &end, 10);
        if (end == at || errno == ERANGE || value < std::numeric_limits<std::int32_t>::min() ||
            value > std::numeric_limits<std::int32_t>::max()) {
            return false;
        }
        values[i] = static_cast<std::int32_t>(value);
        const char expected = i + 1 < count ? ',' : '\0';
        if (*end != expected) {
            return false;
        }
        at = end + 1;
    }
    return true;
}

// As strtod reads it: nan, inf, hex floats and out-of-range values (inf, 0) included.
bool ParseDouble(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end != text.c_str() && *end == '\0';
}

struct Options {
    std::string input;
    std::string output;
    std::int32_t roi[4] = {};
    std::int32_t destination[2] = {};
    double scaleX = 0.0;
    double scaleY = 0.0;
    std::int32_t interpolation = 0;
    std::string build;  // empty: the build selected at start-up
};

bool ParseOptions(const std::vector<std::string>& args, Options& o, std::string& error) {
    std::vector<std::string> positional;
    bool seen[5] = {};
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0) {
            positional.push_back(a);
            continue;
        }
        if (i + 1 >= args.size()) {
            error = a + " needs a value";
            return false;
        }
        const std::string& v = args[++i];
        bool ok = false;
        if (a == "--roi") {
            ok = ParseIntegers(v, 4, o.roi);
            seen[0] = true;
        } else if (a == "--dst") {
            ok = ParseIntegers(v, 2, o.destination);
            seen[1] = true;
        } else if (a == "--xf") {
            ok = ParseDouble(v, o.scaleX);
            seen[2] = true;
        } else if (a == "--yf") {
            ok = ParseDouble(v, o.scaleY);
            seen[3] = true;
        } else if (a == "--interp") {
            ok = ParseIntegers(v, 1, &o.interpolation);
            seen[4] = true;
        } else if (a == "--build") {
            o.build = v;
            ok = !v.empty();
        } else {
            error = "unknown option " + a;
            return false;
        }
        if (!ok) {
            error = "bad value for " + a + ": " + v;
            return false;
        }
    }
    if (positional.size() != 2) {
        error = "expected an input and an output file";
        return false;
    }
    const char* names[5] = {"--roi", "--dst", "--xf", "--yf", "--interp"};
    for (int n = 0; n < 5; ++n) {
        if (!seen[n]) {
            error = std::string("missing ") + names[n];
            return false;
        }
    }
    o.input = positional[0];
    o.output = positional[1];
    return true;
}

}  // namespace

int RunResizeTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        out << Usage << Help;
        return 0;
    }
    Options o;
    std::string error;
    if (!ParseOptions(args, o, error)) {
        err << "resize-tool: " << error << "\n" << Usage;
        return 2;
    }
    if (!o.build.empty()) {
        const resize::ResizeStatus selected = resize::SelectResizeBuild(o.build);
        if (selected == resize::StatusUnknownCpuType) {
            err << "resize-tool: unknown build " << o.build << "\n" << Usage;
            return 2;
        }
        if (selected == resize::StatusCpuNotSupported) {
            err << "resize-tool: the " << o.build << " build cannot run here (not on this processor, or not in this "
                   "program); the generic build runs\n";
        }
    }
    PpmImage source;
    if (!ReadPpm(o.input, source, error)) {
        err << "resize-tool: " << o.input << ": " << error << "\n";
        return 1;
    }
    const std::int32_t width = o.destination[0];
    const std::int32_t height = o.destination[1];
    const std::int64_t step = 3 * static_cast<std::int64_t>(width);
    if (step < std::numeric_limits<std::int32_t>::min() || step > std::numeric_limits<std::int32_t>::max()) {
        err << "resize-tool: destination width out of range\n";
        return 2;
    }
    const bool hasPixels = width >= 1 && height >= 1;
    // An empty destination still gets a real (one-byte) buffer: the pointer is never null.
    std::vector<std::uint8_t> destination;
    try {
        destination.assign(hasPixels ? static_cast<std::size_t>(step) * static_cast<std::size_t>(height) : 1, 0xCD);
    } catch (const std::bad_alloc&) {
        err << "resize-tool: not enough memory for a " << width << " x " << height << " destination\n";
        return 1;
    } catch (const std::length_error&) {
        err << "resize-tool: not enough memory for a " << width << " x " << height << " destination\n";
        return 1;
    }
    const resize::ResizeStatus status = resize::ImageResize_8u_C3R(
        source.pixels.data(), {source.width, source.height}, 3 * source.width,
        {o.roi[0], o.roi[1], o.roi[2], o.roi[3]}, destination.data(), static_cast<std::int32_t>(step),
        {width, height}, o.scaleX, o.scaleY, o.interpolation);
    out << "status " << status << " " << NameOf(status) << "\n";
    out.flush();
    // Only a resized picture is written: after a refusal (or the outside-source warning) the
    // destination holds nothing of the source.
    if (status != resize::StatusOk) {
        return 3;
    }
    if (!WritePpm(o.output, width, height, destination.data(), error)) {
        err << "resize-tool: " << o.output << ": " << error << "\n";
        return 1;
    }
    return 0;
}

}  // namespace resizetool
