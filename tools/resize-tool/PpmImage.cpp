#include "tools/resize-tool/PpmImage.h"

#include <cctype>
#include <limits>

#include "platform/AtomicFile.h"

namespace resizetool {

namespace {

// Skips whitespace and '#' comments up to the next header token.
void SkipSeparators(const std::string& bytes, std::size_t& at) {
    while (at < bytes.size()) {
        const unsigned char c = static_cast<unsigned char>(bytes[at]);
        if (std::isspace(c)) {
            ++at;
        } else if (c == '#') {
            while (at < bytes.size() && bytes[at] != '\n' && bytes[at] != '\r') {
                ++at;
            }
        } else {
            return;
        }
    }
}

bool ReadHeaderNumber(const std::string& bytes, std::size_t& at, std::int64_t& value) {
    SkipSeparators(bytes, at);
    const std::size_t start = at;
    value = 0;
    while (at < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[at]))) {
        if (value > std::numeric_limits<std::int32_t>::max()) {
            return false;
        }
        value = value * 10 + (bytes[at] - '0');
        ++at;
    }
    return at > start && value <= std::numeric_limits<std::int32_t>::max();
}

}  // namespace

bool ParsePpm(const std::string& bytes, PpmImage& image, std::string& error) {
    if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '6') {
        error = "not a binary PPM (P6) file";
        return false;
    }
    std::size_t at = 2;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int64_t maxval = 0;
    if (!ReadHeaderNumber(bytes, at, width) || !ReadHeaderNumber(bytes, at, height) ||
        !ReadHeaderNumber(bytes, at, maxval)) {
        error = "malformed PPM header";
        return false;
    }
    if (maxval != 255) {
        error = "only maxval 255 is supported";
        return false;
    }
    // The source step (3 x width bytes) must fit a signed 32-bit value.
    if (width < 1 || height < 1 || width > std::numeric_limits<std::int32_t>::max() / 3) {
        error = "picture size out of range";
        return false;
    }
    if (at >= bytes.size() || !std::isspace(static_cast<unsigned char>(bytes[at]))) {
        error = "malformed PPM header";
        return false;
    }
    ++at;  // the single separator before the pixels
    const auto needed = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 3;
    if (bytes.size() - at < needed) {
        error = "PPM pixel data is cut short";
        return false;
    }
    image.width = static_cast<std::int32_t>(width);
    image.height = static_cast<std::int32_t>(height);
    image.pixels.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                        bytes.begin() + static_cast<std::ptrdiff_t>(at + needed));
    return true;
}

bool ReadPpm(const std::filesystem::path& path, PpmImage& image, std::string& error) {
    std::string bytes;
    const platform::FileResult read = platform::ReadWholeFile(path, bytes);
    if (!read) {
        error = read.error;
        return false;
    }
    return ParsePpm(bytes, image, error);
}

bool WritePpm(const std::filesystem::path& path, std::int32_t width, std::int32_t height,
              const std::uint8_t* pixels, std::string& error) {
    const std::string header = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    const auto size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
    const platform::FileResult written = platform::ReplaceFileAtomically(path, [&](std::FILE* file) {
        return std::fwrite(header.data(), 1, header.size(), file) == header.size() &&
               std::fwrite(pixels, 1, size, file) == size;
    });
    if (!written) {
        error = written.error;
        return false;
    }
    return true;
}

}  // namespace resizetool
