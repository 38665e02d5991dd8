#include "platform/JpegCodec.h"

#include <turbojpeg.h>

#include <limits>
#include <string_view>
#include <utility>

#include "platform/AtomicFile.h"

namespace platform {

namespace {

// libjpeg's own default quality, which is what a writer that sets none gets.
constexpr int kDefaultQuality = 75;
// Largest side a JPEG can describe.
constexpr int kMaxSide = 65535;

constexpr int kEncodeFlags = TJFLAG_BOTTOMUP | TJFLAG_STOPONWARNING;
// Warnings (a missing end marker, data cut short) do not stop the decode: the
// library fills what it could not read and the picture is still shown.
constexpr int kDecodeFlags = TJFLAG_BOTTOMUP;

bool ValidSize(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide;
}

}  // namespace

JpegCodec::~JpegCodec() {
    if (decompressor_)
        tjDestroy(decompressor_);
    if (compressor_)
        tjDestroy(compressor_);
}

JpegStatus JpegCodec::Fail(JpegStatus status, std::string text) {
    lastError_ = std::move(text);
    return status;
}

JpegStatus JpegCodec::FailDecode() {
    lastError_ = tjGetErrorStr2(decompressor_);
    // After an error inside a JPEG's header the library leaves the handle in a
    // state that refuses every later picture; the next call starts afresh.
    tjDestroy(decompressor_);
    decompressor_ = nullptr;
    return JpegStatus::BadData;
}

JpegStatus JpegCodec::ReadInfo(std::span<const std::uint8_t> jpeg, JpegInfo& info) {
    if (jpeg.empty() || jpeg.size() > std::numeric_limits<unsigned long>::max())
        return Fail(JpegStatus::BadArgument, "no JPEG data");
    if (!decompressor_ && !(decompressor_ = tjInitDecompress()))
        return Fail(JpegStatus::NoMemory, tjGetErrorStr2(nullptr));
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    if (tjDecompressHeader3(decompressor_, jpeg.data(), static_cast<unsigned long>(jpeg.size()), &width,
                            &height, &subsampling, &colourspace) != 0)
        return FailDecode();
    if (!ValidSize(width, height))
        return Fail(JpegStatus::BadData, "JPEG header gives no usable size");
    info = {width, height};
    lastError_.clear();
    return JpegStatus::Ok;
}

JpegStatus JpegCodec::Decode(std::span<const std::uint8_t> jpeg, std::span<std::uint8_t> dest,
                             JpegInfo& info) {
    if (const auto status = ReadInfo(jpeg, info); status != JpegStatus::Ok)
        return status;
    if (BgrPictureBytes(info.width, info.height) > dest.size())
        return Fail(JpegStatus::TooLarge, "picture larger than its buffer");
    if (tjDecompress2(decompressor_, jpeg.data(), static_cast<unsigned long>(jpeg.size()), dest.data(),
                      info.width, info.width * 3, info.height, TJPF_BGR, kDecodeFlags) == 0)
        return JpegStatus::Ok;
    if (tjGetErrorCode(decompressor_) != TJERR_WARNING)
        return FailDecode();
    lastError_ = tjGetErrorStr2(decompressor_);  // decoded; the warning is kept for the curious
    return JpegStatus::Ok;
}

JpegStatus JpegCodec::Encode(const std::uint8_t* pixels, int width, int height,
                             std::vector<std::uint8_t>& jpeg) {
    if (!pixels || !ValidSize(width, height))
        return Fail(JpegStatus::BadArgument, "no picture to compress");
    if (!compressor_ && !(compressor_ = tjInitCompress()))
        return Fail(JpegStatus::NoMemory, tjGetErrorStr2(nullptr));
    unsigned char* out = nullptr;
    unsigned long size = 0;
    if (tjCompress2(compressor_, pixels, width, width * 3, height, TJPF_BGR, &out, &size, TJSAMP_420,
                    kDefaultQuality, kEncodeFlags) != 0) {
        tjFree(out);
        return Fail(JpegStatus::NoMemory, tjGetErrorStr2(compressor_));
    }
    jpeg.assign(out, out + size);
    tjFree(out);
    lastError_.clear();
    return JpegStatus::Ok;
}

JpegStatus JpegCodec::WriteFile(const std::filesystem::path& path, const std::uint8_t* pixels, int width,
                                int height) {
    std::vector<std::uint8_t> jpeg;
    if (const auto status = Encode(pixels, width, height, jpeg); status != JpegStatus::Ok)
        return status;
    const auto result = CreateFileAtomically(
        path, std::string_view(reinterpret_cast<const char*>(jpeg.data()), jpeg.size()));
    if (!result)
        return Fail(result.exists ? JpegStatus::FileExists : JpegStatus::FileError, result.error);
    return JpegStatus::Ok;
}

}  // namespace platform
