// A device's picture through the codec wrapper, as the compose thread decodes
// it: any bytes either decode into the picture buffer or are refused, nothing
// is written past the buffer, and whatever came before, the same codec still
// decodes a good picture afterwards.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "platform/JpegCodec.h"

namespace {

// The compose thread's picture buffer.
constexpr std::size_t kPictureBufferSize = 1572864;
constexpr int kGoodWidth = 48, kGoodHeight = 32;

std::vector<std::uint8_t> GoodJpeg() {
    std::vector<std::uint8_t> pixels(platform::BgrPictureBytes(kGoodWidth, kGoodHeight), 0x80);
    std::vector<std::uint8_t> jpeg;
    platform::JpegCodec encoder;
    if (encoder.Encode(pixels.data(), kGoodWidth, kGoodHeight, jpeg) != platform::JpegStatus::Ok)
        std::abort();
    return jpeg;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::vector<std::uint8_t> good = GoodJpeg();
    static platform::JpegCodec codec;  // one for the whole run, as a stream keeps one
    static std::vector<std::uint8_t> picture(kPictureBufferSize);

    platform::JpegInfo info;
    const auto status = codec.Decode(std::span(data, size), picture, info);
    if (status == platform::JpegStatus::Ok &&
        platform::BgrPictureBytes(info.width, info.height) > picture.size())
        std::abort();
    if (codec.ReadInfo(std::span(data, size), info) == platform::JpegStatus::Ok && info.width <= 0)
        std::abort();

    if (codec.Decode(good, picture, info) != platform::JpegStatus::Ok || info.width != kGoodWidth ||
        info.height != kGoodHeight)
        std::abort();
    return 0;
}
