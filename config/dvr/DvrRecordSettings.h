#pragma once
// How a DVR records, as "/GetRecordSetting.cgi" gives it, and the
// "/SetRecordSetting.cgi" request that sends the record page's choices back:
// a change flag per setting, the value only of a changed one, and always the
// fixed/grouped choice.

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "config/dvr/KeyValueReply.h"
#include "session/net/CgiRequest.h"

namespace config {

enum class DvrRecordKey : std::uint8_t {
    Manual, Event, Timer, VideoType, RecMode, ManualRateType, MotionRateType, TimerRateType,
    Overwrite, Quality, RecordFix, SupportMode, SupportIpsShare,
    Count,
};
inline constexpr std::array<KeyValueKey, static_cast<std::size_t>(DvrRecordKey::Count)> kDvrRecordKeys{{
    {"MANUAL", 8}, {"EVENT", 8}, {"TIMER", 8}, {"VIDEOTYPE", 8}, {"RECMODE", 8}, {"MANUALRATETYPE", 8},
    {"MOTIONRATETYPE", 8}, {"TIMERRATETYPE", 8}, {"OVERWRITE", 8}, {"QUALITY", 8}, {"RECORDFIX", 8},
    {"SUPPORTMODE", 8}, {"SUPPORTIPSSHARE", 8},
}};

struct DVRRecordPageState {
    std::array<std::uint16_t, static_cast<std::size_t>(DvrRecordKey::Count)> values{};
    std::uint16_t operator[](DvrRecordKey key) const { return values[static_cast<std::size_t>(key)]; }
    std::uint16_t& operator[](DvrRecordKey key) { return values[static_cast<std::size_t>(key)]; }
    // From the values of a read, in the keys' order.
    static DVRRecordPageState From(std::span<const std::uint16_t> read) {
        DVRRecordPageState state;
        std::copy_n(read.begin(), std::min(read.size(), state.values.size()), state.values.begin());
        return state;
    }
};

// Quality codes by list index ("BEST", "HIGH", "NORMAL", "BASIC").
inline constexpr std::array<int, 4> kRecordQualityCodes{6, 8, 10, 16};

// The record page's controls at Apply, each none while it still shows the
// device's value (a list without a selection included).
struct DvrRecordChoice {
    std::optional<int> manual, event, timer, overwrite;  // 1 on, 0 off
    std::optional<int> quality;                           // the device's code
    std::optional<int> recordMode;
    std::optional<int> motionRate, manualRate, timerRate;  // list indexes
    std::optional<int> recordFix;                          // 1 fixed, 0 grouped
};

// Always a request: the fixed/grouped group is sent every time. Its flag is 0
// only while its value is unknown (the device's reply lacked RECORDFIX and the
// person chose nothing), so the device keeps what it has.
session::CgiRequest DvrRecordRequest(const DVRRecordPageState& device, const DvrRecordChoice& page,
                                     std::string_view cookie, bool recordFixGiven = true);


}  // namespace config
