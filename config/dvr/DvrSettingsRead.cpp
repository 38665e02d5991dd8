#include "config/dvr/DvrSettingsRead.h"

#include <array>
#include <string_view>

#include "config/DeviceRequest.h"
#include "session/AppData.h"

namespace config {

std::optional<KeyValueRead> ReadDvrSettings(session::AppData& app, const platform::Timing& timing,
                                            std::uint8_t command, std::span<const KeyValueKey> keys,
                                            std::stop_token stop) {
    std::array<std::uint8_t, kKeyValueReplyArea> reply{};
    std::uint32_t length = 0;
    const auto request = RequestWithCookie(command, app.SessionCookie.Get());
    if (!SendDeviceRequest(app, timing, request, std::move(stop), reply, &length))
        return std::nullopt;
    return ReadKeyValueReply(std::string_view(reinterpret_cast<const char*>(reply.data()), length), keys);
}

}  // namespace config
