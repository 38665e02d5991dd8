#pragma once
// The binary header in front of every picture of the live stream.
//
// The device sends one of two layouts: the version-1 ("new") header, asked for
// at login, or the old header with a 32-bit presence mask. ParseFrameHeader
// reads either into an ImageSlotInfo without side effects and without reading
// past the bytes it is given; CRTPHeader adds the reactions to what a header
// announces (alarm sound and recording, channel switch, status texts).

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "session/live/ChannelSwitchWorker.h"
#include "session/SharedValue.h"
#include "session/SystemTime.h"

namespace session {

inline constexpr std::size_t kSlotTextBytes = 16;
// The view channel of a frame that shows every channel at once.
inline constexpr std::uint8_t kMultiChannelView = 16;

// One frame as the receive thread hands it on; all fields zero unless the
// header set them.
struct ImageSlotInfo {
    std::uint32_t dwLength = 0;        // JPEG payload bytes
    std::uint8_t byChannel = 0;
    std::uint8_t bySizeCode = 0;       // 0 full width, else half width
    std::uint8_t byOption100 = 0;
    char szText[kSlotTextBytes] = {};  // zero-padded, not always terminated
    std::uint32_t dwOptionMask = 0;    // old header's presence mask
    std::uint32_t dwHeaderLength = 0;
    std::uint32_t dwFrameTime = 0;     // device stream time x 5
    std::uint16_t wAlarmInput = 0;
    std::uint16_t wMotionDetect = 0;
    std::uint16_t wAlarmExtra = 0;
    std::uint8_t byViewChannel = 0;    // 0-15 one channel, 16 the multi-channel view
    std::uint8_t byVideoLoss = 0;
    SystemTime stDateTime;             // day of week and milliseconds 0

    friend bool operator==(const ImageSlotInfo&, const ImageSlotInfo&) = default;
};

enum class HeaderLayout { Old, New };

// What a parsed header announced beyond the record: the presence of the
// fields whose mere appearance drives a reaction.
struct FrameHeaderFields {
    ImageSlotInfo record;
    bool motionPresent = false;
    bool alarmInputPresent = false;
    bool alarmExtraPresent = false;
    bool dateTimePresent = false;
    bool networkBackup = false;
    std::optional<std::uint8_t> retrState;
    std::optional<std::uint8_t> sensorMode;
};

enum class HeaderParseStatus {
    Parsed,
    Incomplete,  // the header runs past the bytes given: more are needed
    BadVersion,  // new layout with a version other than 1
    BadLength,   // a length that counts the header is shorter than the header
};
const char* ToString(HeaderParseStatus status);

// The longest header either layout can have (every optional field present).
inline constexpr std::size_t kMaxFrameHeaderBytes = 46;

// Parses the header at the start of bytes. lengthCountsHeader: the new
// header's length field includes the header itself (G66M devices). Only a
// Parsed result writes out.
HeaderParseStatus ParseFrameHeader(std::span<const std::uint8_t> bytes, HeaderLayout layout,
                                   bool lengthCountsHeader, FrameHeaderFields& out);

// The header's packed date-time: 6 bits year since 2000, 4 month, 5 day,
// 5 hour, 6 minute, 6 second.
SystemTime UnpackDeviceDateTime(std::uint32_t packed);

class AppData;

// Alarm fields a header can carry, as m_dwAlarmSource names the last one seen.
inline constexpr std::uint32_t kAlarmSourceNone = 0;
inline constexpr std::uint32_t kAlarmSourceInput = 0x80;
inline constexpr std::uint32_t kAlarmSourceMotion = 0x100;
inline constexpr std::uint32_t kAlarmSourceExtra = 0x200;

// The data object's frame-header parser. It reacts to what each header
// announces: alarm and motion fields start and stop the alarm sound and the
// alarm recording, motion can switch the shown channel (on a worker, since
// that is a device command), a new device time refreshes the information
// text, and the RETR, backup and sensor-mode fields reach the panels. It runs
// on the receive thread only; the windows read its results through atomics
// and LastHeader.
class CRTPHeader {
public:
    explicit CRTPHeader(AppData& app);
    CRTPHeader(const CRTPHeader&) = delete;
    CRTPHeader& operator=(const CRTPHeader&) = delete;

    // The layout the login asked for (AppData::dw_NewHeaderFormat), and
    // whether this device counts the header in the new header's length (G66M).
    HeaderLayout Layout() const;
    bool LengthCountsHeader() const;

    // Parses the header at the start of bytes and reacts to it; only a Parsed
    // result writes the outputs or has an effect.
    HeaderParseStatus Parse(std::span<const std::uint8_t> bytes, std::uint32_t& headerLength,
                            ImageSlotInfo& record);
    // The reactions to one parsed header (the stream framer calls this once per header).
    void React(const FrameHeaderFields& fields, HeaderLayout layout);

    // 1 when there were latched alarm bits to clear, else 0.
    int ClearAlarmData();
    // m_RTPH_Struct: the last header parsed.
    ImageSlotInfo LastHeader() const;

    // Where the motion channel switches go; the main window installs the switcher.
    ChannelSwitchWorker& ChannelSwitch() { return channelSwitch_; }

    // The last alarm field present in a header (latched: an absent field keeps it).
    std::atomic<std::uint16_t> m_wAlarmData{0};
    // Which alarm field the last headers carried (kAlarmSource...).
    std::atomic<std::uint32_t> m_dwAlarmSource{kAlarmSourceNone};

private:
    AppData& app_;
    SharedValue<ImageSlotInfo> m_RTPH_Struct;
    ChannelSwitchWorker channelSwitch_;
};

}  // namespace session
