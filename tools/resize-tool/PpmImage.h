#pragma once
// Binary PPM (P6, maxval 255) pictures: packed 8-bit RGB rows.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace resizetool {

struct PpmImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels;  // width x height x 3 bytes, rows top to bottom
};

// Parses a whole file's bytes; on failure returns false with a reason in `error`.
bool ParsePpm(const std::string& bytes, PpmImage& image, std::string& error);
bool ReadPpm(const std::filesystem::path& path, PpmImage& image, std::string& error);

// Writes width x height x 3 bytes of `pixels`, replacing the file as a whole.
bool WritePpm(const std::filesystem::path& path, std::int32_t width, std::int32_t height,
              const std::uint8_t* pixels, std::string& error);

}  // namespace resizetool
