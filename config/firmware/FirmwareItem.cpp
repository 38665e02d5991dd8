#include "config/firmware/FirmwareItem.h"

#include "session/DeviceFamily.h"

namespace config {

std::optional<UploadPath> ChooseUploadPath(std::string_view productId, const std::string& firmwareVersion) {
    // "At least X": anything but "older" (2), so an odd-length version passes.
    auto atLeast = [&](const char* reference) {
        return session::CompareFirmwareVersion(reference, firmwareVersion) != 2;
    };
    if (session::IsDvrFamily(productId))
        return atLeast("1070") ? UploadPath::DvrStream : UploadPath::DvrChunked;
    if (session::IsVideoServerFamily(productId))
        return atLeast("1013") ? UploadPath::ImageStream : UploadPath::ImageChunked;
    if (session::IsG66MFamily(productId) || session::IsN5HFamily(productId))
        return UploadPath::ImageChunked;
    return std::nullopt;
}

bool IsStreamPath(UploadPath path) {
    return path == UploadPath::DvrStream || path == UploadPath::ImageStream;
}

bool IsImagePath(UploadPath path) {
    return path == UploadPath::ImageChunked || path == UploadPath::ImageStream;
}

}  // namespace config
