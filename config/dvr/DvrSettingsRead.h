#pragma once
// Reads one of the DVR's own settings pages ("/GetDvrDate.cgi",
// "/GetRecordSetting.cgi") and splits its "KEY=value;" reply.

#include <cstdint>
#include <optional>
#include <span>
#include <stop_token>
#include <vector>

#include "config/dvr/KeyValueReply.h"
#include "platform/Timing.h"

namespace session {
class AppData;
}

namespace config {

// The keys' values; none when the request fails or the reply is not whole.
std::optional<KeyValueRead> ReadDvrSettings(session::AppData& app, const platform::Timing& timing,
                                     std::uint8_t command, std::span<const KeyValueKey> keys,
                                     std::stop_token stop = {});

}  // namespace config
