#include "simulator/TestPattern.h"

#include "platform/JpegCodec.h"

namespace devicesim {

std::vector<Bytes> MovingBarPictures() {
    constexpr int kWidth = 352, kHeight = 288, kFrames = 16;
    platform::JpegCodec codec;
    std::vector<Bytes> pictures;
    for (int f = 0; f < kFrames; ++f) {
        std::vector<std::uint8_t> pixels(platform::BgrPictureBytes(kWidth, kHeight), 96);
        const int left = f * kWidth / kFrames;
        for (int y = 0; y < kHeight; ++y)
            for (int x = left; x < left + kWidth / kFrames; ++x)
                for (int c = 0; c < 3; ++c)
                    pixels[(static_cast<std::size_t>(y) * kWidth + x) * 3 + c] = c == 1 ? 220 : 40;
        Bytes jpeg;
        if (codec.Encode(pixels.data(), kWidth, kHeight, jpeg) == platform::JpegStatus::Ok)
            pictures.push_back(std::move(jpeg));
    }
    return pictures;
}

}  // namespace devicesim
