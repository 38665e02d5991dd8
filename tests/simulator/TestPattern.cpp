#include "simulator/TestPattern.h"

#include "platform/JpegCodec.h"

namespace devicesim {

std::vector<Bytes> MovingBarPictures(int width, int height) {
    constexpr int kFrames = 16;
    platform::JpegCodec codec;
    std::vector<Bytes> pictures;
    for (int f = 0; f < kFrames; ++f) {
        std::vector<std::uint8_t> pixels(platform::BgrPictureBytes(width, height), 96);
        const int left = f * width / kFrames;
        for (int y = 0; y < height; ++y)
            for (int x = left; x < left + width / kFrames; ++x)
                for (int c = 0; c < 3; ++c)
                    pixels[(static_cast<std::size_t>(y) * width + x) * 3 + c] = c == 1 ? 220 : 40;
        Bytes jpeg;
        if (codec.Encode(pixels.data(), width, height, jpeg) == platform::JpegStatus::Ok)
            pictures.push_back(std::move(jpeg));
    }
    return pictures;
}

PictureSize StandardPictureSize(const DeviceProfile& profile, bool reduced) {
    const bool pal = profile.videoMode.value_or(0) == 1;
    PictureSize full;
    if (profile.productId == "G66M")
        full = {640, 480};
    else if (profile.UsesShortBlockOrder())  // video servers and N5H
        full = {704, pal ? 288 : 240};
    else
        full = {640, pal ? 276 : 228};
    if (!reduced)
        return full;
    return {full.width / 2, profile.productId == "G66M" ? full.height / 2 : full.height};
}

}  // namespace devicesim
