#pragma once
// The device side of the main window's tool commands: the live resolution
// and quality steps with their requests, and the configuration read that
// comes before the configuration sheet. Run on the device-command worker.

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string_view>
#include <vector>

#include "platform/Timing.h"

namespace session {
class AppData;
}

namespace mainwindow {

inline constexpr unsigned kNotConnectedMessage = 4085;
inline constexpr unsigned kRecordFileFailedMessage = 4018;
inline constexpr unsigned kConfigReadFailedMessage = 4029;
inline constexpr unsigned kResolutionFailedMessage = 4066;
inline constexpr unsigned kQualityFailedMessage = 4011;

// The resolution a press of 1007 asks for: 0 → 1, 1 → 0, none from 2 (quarter size).
std::optional<std::uint32_t> NextResolution(std::uint32_t setting);
// The quality a press of 1008 asks for: 0 → 1 → 2 → 0; none from another value.
std::optional<std::uint32_t> NextQuality(std::uint32_t setting);

// /Setresolution.cgi with RES and /Setquality.cgi with QUA; 1 on success.
int SendResolution(session::AppData& app, const platform::Timing& timing, std::uint32_t value,
                   std::stop_token stop = {});
int SendQuality(session::AppData& app, const platform::Timing& timing, std::uint32_t value,
                std::stop_token stop = {});

// One read of LoadSystemConfig: an option and its block size (0 for ALL).
struct ConfigRead {
    std::uint8_t option;
    std::uint32_t size;
    friend bool operator==(const ConfigRead&, const ConfigRead&) = default;
};
// The reads, in order, for a product and firmware: ALL for video servers, N5H
// and G66M from "0003" and for every other product from "1024"; before that,
// eleven single blocks.
std::vector<ConfigRead> SystemConfigReads(std::string_view productId, std::string_view firmware);
// Reads the blocks into the session's copies (the online list cleared first);
// 1 when every read succeeded, 0 at the first failure.
int LoadSystemConfig(session::AppData& app, const platform::Timing& timing, std::stop_token stop = {});

}  // namespace mainwindow
