#include "mainwindow/MainWindowStart.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "mainwindow/UserLevelTable.h"
#include "platform/TextCodec.h"
#include "session/AppData.h"
#include "session/DeviceFamily.h"
#include "session/TextHelpers.h"
#include "session/login/LoginExchange.h"
#include "session/net/OptionBlocks.h"

namespace mainwindow {

namespace {

using namespace session;

constexpr std::uint8_t kOptionSystem = 7;
constexpr std::uint8_t kOptionAlarm = 11;
constexpr std::size_t kDeviceNameOffset = 20;    // in the SYSTEM block
constexpr std::size_t kAlarmDefaultOffset = 9;   // in the ALARM block
constexpr std::uint8_t kAlarmDefault = 12;
constexpr std::size_t kModelTokenOffset = 24;    // in the INF block
constexpr std::size_t kModelTokenSize = 8;
constexpr std::string_view kKlt316Token = "KLT-316";

bool AtLeast(const AppData& app, const char* version) {
    return CompareFirmwareVersion(version, app.str_FWVersion.Get()) != 2;
}

template <std::size_t N>
std::optional<std::array<std::uint8_t, N>> ReadBlock(AppData& app, const platform::Timing& timing,
                                                      std::uint8_t option, std::stop_token stop) {
    std::array<std::uint8_t, N> block{};
    if (QuerySystemConfig(app, timing, option, block, static_cast<std::uint32_t>(N), stop) != 1)
        return std::nullopt;
    return block;
}

// The device's name, a zero-ended Windows-1250 text in the SYSTEM block.
void ReadDeviceName(AppData& app, const platform::Timing& timing, std::stop_token stop) {
    auto block = ReadBlock<36>(app, timing, kOptionSystem, stop);
    if (!block)
        return;
    const char* text = reinterpret_cast<const char*>(block->data() + kDeviceNameOffset);
    const std::size_t length = strnlen(text, block->size() - kDeviceNameOffset);
    app.str_DeviceName = platform::Windows1250ToUtf8(std::string_view(text, length));
}

// A video server whose alarm block says 0 at byte 9 gets 12 there.
void StoreAlarmDefault(AppData& app, const platform::Timing& timing, std::stop_token stop) {
    auto block = ReadBlock<24>(app, timing, kOptionAlarm, stop);
    if (!block || (*block)[kAlarmDefaultOffset] != 0)
        return;
    (*block)[kAlarmDefaultOffset] = kAlarmDefault;
    StoreSystemConfig(app, timing, kOptionAlarm, *block, static_cast<std::int32_t>(block->size()), false, stop);
}

// A supervisor's device with the "KLT-316" model token gets it rewritten
// clean: the seven letters and a zero.
void RewriteModelToken(AppData& app, const platform::Timing& timing, std::stop_token stop) {
    auto block = ReadBlock<44>(app, timing, kOptionInf, stop);
    if (!block)
        return;
    auto* token = block->data() + kModelTokenOffset;
    if (std::memcmp(token, kKlt316Token.data(), kKlt316Token.size()) != 0)
        return;
    std::fill_n(token, kModelTokenSize, std::uint8_t{0});
    std::memcpy(token, kKlt316Token.data(), kKlt316Token.size());
    StoreSystemConfig(app, timing, kOptionInf, *block, static_cast<std::int32_t>(block->size()), false, stop);
}

bool IsKnownFamily(std::string_view product) {
    return IsDvrFamily(product) || IsVideoServerFamily(product) || IsG66MFamily(product) || IsN5HFamily(product);
}

}  // namespace

bool LacksRecordSearch(std::uint8_t type) { return type == 14 || (type >= 19 && type <= 23); }

StartOutcome RunMainWindowStart(AppData& app, const platform::Timing& timing, std::stop_token stop) {
    StartOutcome outcome;
    const ExchangeOptions options{timing, stop, {}};
    const auto reply = RequestDeviceInfo(app, options, DeviceInfoRules::MainWindow);
    if (!reply) {
        outcome.failureMessage = kDeviceInfoFailedMessage;
        return outcome;
    }
    outcome.retrState = ApplyDeviceInfoReply(app, *reply, DeviceInfoRules::MainWindow);

    const std::string product = app.str_ProductID.Get();
    if (!IsKnownFamily(product)) {
        outcome.failureMessage = kUnknownProductMessage;
        return outcome;
    }
    if (IsDvrFamily(product) || IsVideoServerFamily(product))
        ReadDeviceName(app, timing, stop);
    if (IsVideoServerFamily(product) && AtLeast(app, "1010"))
        StoreAlarmDefault(app, timing, stop);
    ChooseCurrentControlDevice(app);
    if (IsDvrFamily(product) && !AtLeast(app, "1078"))
        app.dw_RecordSearchRemoved.store(1);

    const std::uint16_t level = app.w_UserLevel.load();
    app.by_UserLevelIndex.store(UserLevelRowFor(level));
    if (level == 30)
        RewriteModelToken(app, timing, stop);
    return outcome;
}

}  // namespace mainwindow
