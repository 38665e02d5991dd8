#pragma once
// The channel button bar's state and logic: which buttons a device gets (the
// multi-channel view and the channels of a multi-channel DVR, or the two
// channels of a video server), their pages and places, the channel request,
// and which button shows the channel the stream carries. The main window
// makes the buttons and applies what this says, on the GUI thread; the
// enabled flag and the current channel are atomics, as the frame-header
// parser's alarm switch reads them from its own thread.
//
// Channels here: 0 the DVR's multi-channel view, 1-16 the cameras.

#include <array>
#include <atomic>
#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

#include "platform/Timing.h"

namespace session {
class AppData;
}

namespace mainwindow {

// ChannelButtonRow::dwKind
inline constexpr std::uint32_t kChannelKey = 1;
inline constexpr std::uint32_t kLeftArrow = 2;
inline constexpr std::uint32_t kRightArrow = 4;

inline constexpr std::uint16_t kFirstChannelId = 8410;  // the view; 8411-8426 the channels
inline constexpr std::uint16_t kPageLeftId = 8427;
inline constexpr std::uint16_t kPageRightId = 8428;
inline constexpr unsigned kChannelRequestFailedMessage = 4064;

struct ChannelButtonRow {
    std::uint16_t wWidth = 0;
    std::uint16_t wHeight = 0;
    std::uint32_t dwKind = kChannelKey;
    std::uint16_t wTipId = 0;
    std::array<std::string, 4> images;  // state 0 normal, hover; state 1 normal, hover
    std::uint16_t wControlId = 0;
};

// A button's place; hidden buttons keep none.
struct ChannelPlace {
    bool shown = false;
    int x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const ChannelPlace&, const ChannelPlace&) = default;
};

// The compose thread's view channel (0-15 one camera, 16 the multi-channel
// view) as the bar counts it: 16 → 0, v → v + 1.
std::uint8_t BarChannelOfView(std::uint8_t viewChannel);

class ChannelButtonBar {
public:
    explicit ChannelButtonBar(session::AppData& app) : app_(app) {}
    ChannelButtonBar(const ChannelButtonBar&) = delete;
    ChannelButtonBar& operator=(const ChannelButtonBar&) = delete;

    // By the product and its multi-channel flag: the rows, the limits, the
    // selected channel kept in range, the current channel and page. Returns 1.
    int Create();
    const std::vector<ChannelButtonRow>& Rows() const { return m_rows; }
    bool Enabled() const { return m_bEnabled.load(); }
    std::uint8_t CurrentChannel() const { return m_byCurrentChannel.load(); }
    // State of button i: 0 for the channel shown, 1 for the others.
    int ButtonState(std::size_t i) const;

    std::uint8_t GetPageStart(std::uint8_t channel) const;
    std::uint8_t GetPageSize() const;
    int GetChannelCount() const;
    // The DVR buttons' places for the current page and size mode; a video
    // server's two buttons at their fixed places.
    std::vector<ChannelPlace> Layout() const;
    // The arrows' commands: true when the page moved.
    bool OnPageLeft();
    bool OnPageRight();

    // Asks the device for channel c (DVR with the multi-channel flag, or video
    // server; bar enabled; c not the channel shown). 0 and message 4064 after
    // a failed request, else 1; the buttons change only when pictures of the
    // channel arrive.
    int SwitchChannel(std::uint8_t channel, const platform::Timing& timing, std::stop_token stop = {});

    // Pictures of channel c arrived: true when c became the channel shown
    // (setting, states and the current control device changed).
    bool SyncCurrentChannel(std::uint8_t channel);
    // True when SyncCurrentChannel(channel) would change nothing; any thread.
    bool SyncChangesNothing(std::uint8_t channel) const {
        return !m_bEnabled.load() || channel == m_byCurrentChannel.load();
    }

private:
    bool IsMultiChannelDvr() const;
    bool Reduced() const;

    session::AppData& app_;
    std::atomic<std::uint8_t> m_byCurrentChannel{0};
    std::atomic<bool> m_bEnabled{false};
    std::uint8_t m_byPageStart = 0;
    std::uint16_t m_wOriginX = 0;
    std::uint16_t m_wReducedLimit = 0;
    std::uint16_t m_wFullLimit = 0;
    std::vector<ChannelButtonRow> m_rows;
    std::string product_;
};

}  // namespace mainwindow
