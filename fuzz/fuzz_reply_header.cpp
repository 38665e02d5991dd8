// A device's reply header: any bytes are either refused or give a three-digit
// status, and a Content-Length is either a sane number or marked invalid.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "session/net/CommandSender.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto header = session::ParseReplyHeader(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!header)
        return 0;
    if (header->status < 0 || header->status > 999)
        std::abort();
    if (header->contentLength && *header->contentLength > 0x7FFFFFFFu)
        std::abort();
    if (!header->lengthValid && header->contentLength)
        std::abort();
    return 0;
}
