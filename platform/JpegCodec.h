#pragma once
// Our JPEG codec, on libjpeg-turbo's TurboJPEG API.
//
// Pictures cross this interface in one layout, the one the decode, display and
// snapshot stages share: 24-bit pixels in blue-green-red order, rows stored
// bottom-up, each row exactly width × 3 bytes with no padding.
//
// Every call reports its outcome as a status; bad data never throws or crashes.
// One codec object belongs to one thread (it keeps the library's handles so a
// stream decodes without setting them up per frame); a picture that fails
// leaves nothing behind that could spoil the next one.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace platform {

enum class JpegStatus {
    Ok,
    BadArgument,  // empty data, no pixels, a size of 0 or above 65,535
    BadData,      // not a JPEG, corrupt or cut short
    TooLarge,     // the picture needs more bytes than the destination holds
    NoMemory,     // the library could not set itself up
    FileExists,   // WriteFile: the name is taken (nothing was written)
    FileError,    // WriteFile: the file could not be written
};

struct JpegInfo {
    int width = 0;
    int height = 0;
};

// Bytes of a picture in the shared layout.
constexpr std::size_t BgrPictureBytes(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
}

class JpegCodec {
public:
    JpegCodec() = default;
    ~JpegCodec();
    JpegCodec(const JpegCodec&) = delete;
    JpegCodec& operator=(const JpegCodec&) = delete;

    // Reads the picture's size from the JPEG's header.
    JpegStatus ReadInfo(std::span<const std::uint8_t> jpeg, JpegInfo& info);

    // Decodes into dest. info holds the header's size whenever the header could
    // be read, also when decoding then fails. A picture larger than dest is
    // refused with TooLarge before anything is written. Grey JPEGs come out as
    // grey blue-green-red pixels. Only the library's errors fail (BadData); a
    // warning such as a missing end marker or data cut short gives Ok with
    // what could be decoded, and LastError() holds the warning.
    JpegStatus Decode(std::span<const std::uint8_t> jpeg, std::span<std::uint8_t> dest, JpegInfo& info);

    // Compresses a picture with the library's usual quality (75, 4:2:0).
    JpegStatus Encode(const std::uint8_t* pixels, int width, int height, std::vector<std::uint8_t>& jpeg);

    // Writes a picture to a new JPEG file. An existing file is never replaced
    // (FileExists) and a failed write leaves no file behind.
    JpegStatus WriteFile(const std::filesystem::path& path, const std::uint8_t* pixels, int width,
                         int height);

    // The library's or the file system's words for the last failure (or a
    // decode's warning).
    const std::string& LastError() const { return lastError_; }

private:
    JpegStatus Fail(JpegStatus status, std::string text);
    JpegStatus FailDecode();  // BadData with the library's words; drops the decompressor

    void* decompressor_ = nullptr;
    void* compressor_ = nullptr;
    std::string lastError_;
};

}  // namespace platform
