#include "mainwindow/ToolCommands.h"

#include <span>
#include <string>

#include "session/AppData.h"
#include "session/DeviceFamily.h"
#include "session/net/CgiCommandTable.h"
#include "session/net/DeviceRequest.h"
#include "session/net/OptionBlocks.h"

namespace mainwindow {

namespace {

int SendSetting(session::AppData& app, const platform::Timing& timing, std::uint8_t command, std::string_view key,
                std::uint32_t value, std::stop_token stop) {
    auto request = session::RequestWithCookie(command, app.SessionCookie.Get());
    request.AddIntParam(key, static_cast<std::int32_t>(value));
    return session::SendDeviceRequest(app, timing, request, std::move(stop));
}

// The single reads of older firmware, by family: the servers end with PERI,
// the DVRs with their live and record blocks.
constexpr std::uint8_t kServerReads[] = {1, 12, 11, 2, 4, 5, 10, 16, 8, 6, 3};
constexpr std::uint8_t kDvrReads[] = {1, 12, 11, 2, 4, 5, 10, 13, 15, 6, 3};

}  // namespace

std::optional<std::uint32_t> NextResolution(std::uint32_t setting) {
    if (setting == 0)
        return 1;
    if (setting == 1)
        return 0;
    return std::nullopt;
}

std::optional<std::uint32_t> NextQuality(std::uint32_t setting) {
    if (setting > 2)
        return std::nullopt;
    return (setting + 1) % 3;
}

int SendResolution(session::AppData& app, const platform::Timing& timing, std::uint32_t value,
                   std::stop_token stop) {
    return SendSetting(app, timing, session::CMD_SET_RESOLUTION, "RES", value, std::move(stop));
}

int SendQuality(session::AppData& app, const platform::Timing& timing, std::uint32_t value, std::stop_token stop) {
    return SendSetting(app, timing, session::CMD_SET_QUALITY, "QUA", value, std::move(stop));
}

std::vector<ConfigRead> SystemConfigReads(std::string_view productId, std::string_view firmware) {
    const bool server = session::SysCfgOrderFor(productId) == session::SysCfgOrder::Short;
    const char* allFrom = server ? "0003" : "1024";
    if (session::CompareFirmwareVersion(allFrom, std::string(firmware)) != 2)
        return {{session::kOptionAll, 0}};
    std::vector<ConfigRead> reads;
    for (std::uint8_t option : server ? std::span<const std::uint8_t>(kServerReads) : kDvrReads)
        reads.push_back({option, static_cast<std::uint32_t>(session::kSysCfgOptions[option].size)});
    return reads;
}

int LoadSystemConfig(session::AppData& app, const platform::Timing& timing, std::stop_token stop) {
    for (const ConfigRead& read : SystemConfigReads(app.str_ProductID.Get(), app.str_FWVersion.Get())) {
        if (read.option == session::kOptionOnline)
            app.SysCfg.Update([](session::SysCfgBlocks& blocks) { blocks.by_SysCfgOption12.fill(0); });
        if (session::QuerySystemConfigBlock(app, timing, read.option, stop) != 1)
            return 0;
    }
    return 1;
}

}  // namespace mainwindow
