#pragma once
// Writes stream frame headers in either layout, as a device does.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "session/live/FrameHeaderParser.h"

namespace devicesim {

// What one frame header carries; an unset optional field is left out of the header.
struct FrameHeaderValues {
    std::uint32_t length = 0;  // as written; the new layout keeps the low 16 bits
    std::uint16_t version = 1; // new layout only
    std::uint8_t channel = 0;
    std::uint8_t viewChannel = 0;
    std::optional<std::uint16_t> motion;
    std::optional<std::uint16_t> alarmInput;
    std::optional<std::uint16_t> alarmExtra;
    std::optional<std::uint32_t> streamTime;
    std::optional<std::uint32_t> dateTime;  // packed
    std::optional<std::string> text;        // up to 16 bytes, zero-padded
    std::optional<std::uint8_t> option100;
    std::optional<std::uint8_t> sizeCode;
    std::optional<std::uint8_t> retr;
    std::optional<std::uint8_t> sensorMode;  // new layout only
    bool videoLoss = false;
    bool multiView = false;
    bool networkBackup = false;
};

// year 2000-2063, the other fields as a calendar has them.
inline std::uint32_t PackDeviceDateTime(int year, int month, int day, int hour, int minute, int second) {
    return static_cast<std::uint32_t>(year - 2000) << 26 | static_cast<std::uint32_t>(month) << 22 |
           static_cast<std::uint32_t>(day) << 17 | static_cast<std::uint32_t>(hour) << 12 |
           static_cast<std::uint32_t>(minute) << 6 | static_cast<std::uint32_t>(second);
}

namespace detail {

inline void Put8(std::vector<std::uint8_t>& out, std::uint32_t v) { out.push_back(static_cast<std::uint8_t>(v)); }
inline void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put8(out, v);
    Put8(out, v >> 8);
}
inline void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v);
    Put16(out, v >> 16);
}
inline void PutText(std::vector<std::uint8_t>& out, const std::string& text) {
    for (std::size_t i = 0; i < session::kSlotTextBytes; ++i)
        Put8(out, i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
}

inline std::vector<std::uint8_t> EncodeNew(const FrameHeaderValues& s) {
    std::vector<std::uint8_t> out;
    const bool ext = s.sizeCode || s.retr || s.sensorMode || s.videoLoss || s.multiView || s.networkBackup;
    std::uint16_t options = (s.motion ? 0x0002 : 0) | (s.alarmInput ? 0x0004 : 0) | (s.alarmExtra ? 0x0008 : 0) |
                            (s.streamTime ? 0x0020 : 0) | (s.dateTime ? 0x0040 : 0) | (s.text ? 0x0080 : 0) |
                            (s.option100 ? 0x0100 : 0) | (ext ? 0x2000 : 0);
    Put16(out, s.version);
    Put16(out, s.length);
    Put8(out, s.channel & 0x0F);
    Put8(out, (s.viewChannel & 0x0F) << 4);
    Put16(out, options);
    if (s.motion) Put16(out, *s.motion);
    if (s.alarmInput) Put16(out, *s.alarmInput);
    if (s.alarmExtra) Put16(out, *s.alarmExtra);
    if (s.streamTime) Put32(out, *s.streamTime);
    if (s.dateTime) Put32(out, *s.dateTime);
    if (s.text) PutText(out, *s.text);
    if (s.option100) Put8(out, *s.option100);
    if (ext) {
        const std::uint16_t flags = (s.sizeCode ? 0x0001 : 0) | (s.retr ? 0x0002 : 0) | (s.videoLoss ? 0x0004 : 0) |
                                    (s.networkBackup ? 0x0008 : 0) | (s.sensorMode ? 0x0010 : 0) |
                                    (s.multiView ? 0x0020 : 0);
        Put8(out, 0x32);
        Put8(out, 0);
        Put16(out, flags);
        if (s.sizeCode) Put8(out, *s.sizeCode);
        if (s.retr) Put8(out, *s.retr);
        if (s.sensorMode) Put8(out, *s.sensorMode);
    }
    return out;
}

inline std::vector<std::uint8_t> EncodeOld(const FrameHeaderValues& s) {
    std::vector<std::uint8_t> out;
    const bool view = s.viewChannel != 0 || s.multiView;
    const std::uint32_t mask = 0x0001 | (s.text ? 0x0002 : 0) | (s.retr ? 0x0004 : 0) | (s.sizeCode ? 0x0008 : 0) |
                               (s.option100 ? 0x0010 : 0) | (s.streamTime ? 0x0020 : 0) | 0x0040 |
                               (s.alarmInput ? 0x0080 : 0) | (s.motion ? 0x0100 : 0) |
                               (s.alarmExtra ? 0x0200 : 0) | (s.networkBackup ? 0x0400 : 0) |
                               (view ? 0x0800 : 0) | (s.videoLoss ? 0x1000 : 0) | (s.dateTime ? 0x2000 : 0);
    Put32(out, mask);
    Put32(out, s.length);
    if (s.text) PutText(out, *s.text);
    if (s.retr) Put16(out, *s.retr);
    if (s.sizeCode) Put8(out, *s.sizeCode);
    if (s.option100) Put8(out, *s.option100);
    if (s.streamTime) Put32(out, *s.streamTime);
    Put8(out, s.channel);
    if (s.alarmInput) Put16(out, *s.alarmInput);
    if (s.motion) Put16(out, *s.motion);
    if (s.alarmExtra) Put16(out, *s.alarmExtra);
    if (view) Put8(out, s.multiView ? session::kMultiChannelView : s.viewChannel);
    if (s.dateTime) Put32(out, *s.dateTime);
    return out;
}

}  // namespace detail

inline std::vector<std::uint8_t> EncodeFrameHeader(const FrameHeaderValues& fields, session::HeaderLayout layout) {
    return layout == session::HeaderLayout::New ? detail::EncodeNew(fields) : detail::EncodeOld(fields);
}

}  // namespace devicesim
