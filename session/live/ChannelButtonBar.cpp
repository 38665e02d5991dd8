#include "session/live/ChannelButtonBar.h"

#include "session/AppData.h"
#include "session/DeviceFamily.h"
#include "session/net/CgiCommandTable.h"
#include "session/net/CgiRequest.h"
#include "session/net/CommandSender.h"

namespace mainwindow {

namespace {

struct DvrFamilyBar {
    const char* product;
    int channels;
    std::uint16_t originX, reducedLimit, fullLimit;
};
constexpr DvrFamilyBar kDvrBars[] = {
    {"R41T", 16, 21, 160, 340},
    {"R42T", 8, 21, 160, 350},
    {"R43T", 4, 1, 200, 350},
};
constexpr int kButtonTop = 32;
constexpr int kArrowTop = 37;

const DvrFamilyBar* DvrBarOf(const std::string& product) {
    for (const DvrFamilyBar& bar : kDvrBars)
        if (product == bar.product)
            return &bar;
    return nullptr;
}

ChannelButtonRow ChannelRow(int channel, std::uint16_t width) {
    const std::string name = channel == 0 ? "dvr" : std::to_string(channel);
    const std::string base = "BMP/Channel_" + name;
    const auto id = static_cast<std::uint16_t>(kFirstChannelId + channel);
    return {width, 28, kChannelKey, id,
            {base + "_Enable.bmp", base + "_Enable_over.bmp", base + "_Disable.bmp", base + "_Disable_over.bmp"}, id};
}

ChannelButtonRow ArrowRow(bool left) {
    const std::string base = left ? "BMP/Channel_Left" : "BMP/Channel_Right";
    const std::uint16_t id = left ? kPageLeftId : kPageRightId;
    return {9, 16, left ? kLeftArrow : kRightArrow, id,
            {base + ".bmp", base + ".bmp", base + "_Down.bmp", base + ".bmp"}, id};
}

}  // namespace

std::uint8_t BarChannelOfView(std::uint8_t viewChannel) {
    return viewChannel >= 16 ? 0 : static_cast<std::uint8_t>(viewChannel + 1);
}

bool ChannelButtonBar::IsMultiChannelDvr() const {
    return session::IsDvrFamily(product_) && app_.by_MultiChannel.load() != 0;
}

bool ChannelButtonBar::Reduced() const {
    const std::uint8_t mode = app_.by_VideoSizeMode.load();
    return mode == 1 || mode == 3;
}

int ChannelButtonBar::Create() {
    product_ = app_.str_ProductID.Get();
    m_rows.clear();
    std::uint8_t selected = app_.CSettingINI.m_bySelectedChannel;
    if (const DvrFamilyBar* bar = DvrBarOf(product_); bar && app_.by_MultiChannel.load() != 0) {
        m_wOriginX = bar->originX;
        m_wReducedLimit = bar->reducedLimit;
        m_wFullLimit = bar->fullLimit;
        if (selected > bar->channels)
            selected = 0;
        m_rows.push_back(ChannelRow(0, 40));
        for (int k = 1; k <= bar->channels; ++k)
            m_rows.push_back(ChannelRow(k, 35));
        m_rows.push_back(ArrowRow(true));
        m_rows.push_back(ArrowRow(false));
        m_byPageStart = selected;
        m_bEnabled = true;
    } else if (session::IsVideoServerFamily(product_)) {
        if (selected > 2 || selected == 0)
            selected = 1;
        m_rows.push_back(ChannelRow(1, 35));
        m_rows.push_back(ChannelRow(2, 35));
        m_bEnabled = true;
    } else {
        m_bEnabled = false;
        return 1;
    }
    app_.CSettingINI.m_bySelectedChannel = selected;
    m_byCurrentChannel = selected;
    return 1;
}

int ChannelButtonBar::ButtonState(std::size_t i) const {
    const std::size_t shown = session::IsVideoServerFamily(product_) ? m_byCurrentChannel.load() - 1u
                                                                     : m_byCurrentChannel.load();
    return i == shown ? 0 : 1;
}

std::uint8_t ChannelButtonBar::GetPageStart(std::uint8_t channel) const {
    if (product_ == "R41T")
        return Reduced() ? static_cast<std::uint8_t>(channel & ~3u) : (channel <= 8 ? 0 : 9);
    if (product_ == "R42T")
        return Reduced() ? static_cast<std::uint8_t>(channel & ~3u) : 0;
    return 0;
}

std::uint8_t ChannelButtonBar::GetPageSize() const {
    if (product_ == "R41T")
        return Reduced() ? 4 : 9;
    if (product_ == "R42T" || product_ == "R43T")
        return Reduced() ? 4 : 0;
    return 0;
}

int ChannelButtonBar::GetChannelCount() const {
    const DvrFamilyBar* bar = DvrBarOf(product_);
    return bar ? bar->channels : 0;
}

std::vector<ChannelPlace> ChannelButtonBar::Layout() const {
    std::vector<ChannelPlace> places(m_rows.size());
    if (session::IsVideoServerFamily(product_)) {
        for (std::size_t i = 0; i < places.size(); ++i)
            places[i] = {true, 20 + 35 * static_cast<int>(i), kButtonTop, 35, 28};
        return places;
    }
    int x = m_wOriginX;
    const int limit = Reduced() ? m_wReducedLimit : m_wFullLimit;
    const std::size_t start = GetPageStart(m_byPageStart);
    std::size_t next = start;
    for (std::size_t j = 0; j < m_rows.size(); ++j) {
        const ChannelButtonRow& row = m_rows[j];
        if (row.dwKind == kChannelKey) {
            if (j >= start && x < limit) {
                places[j] = {true, x, kButtonTop, row.wWidth, row.wHeight};
                x += row.wWidth;
                ++next;
            }
        } else if (row.dwKind == kLeftArrow) {
            if (start != 0)
                places[j] = {true, m_wOriginX - 12, kArrowTop, row.wWidth, row.wHeight};
        } else if (next < m_rows.size() && m_rows[next].dwKind == kChannelKey) {
            places[j] = {true, x + 3, kArrowTop, row.wWidth, row.wHeight};
        }
    }
    return places;
}

bool ChannelButtonBar::OnPageLeft() {
    const std::uint8_t start = GetPageStart(m_byPageStart), size = GetPageSize();
    if (size == 0 || start < size)
        return false;
    m_byPageStart = static_cast<std::uint8_t>(start - size);
    return true;
}

bool ChannelButtonBar::OnPageRight() {
    const std::uint8_t start = GetPageStart(m_byPageStart), size = GetPageSize();
    if (size == 0 || GetChannelCount() < start + size)
        return false;
    m_byPageStart = static_cast<std::uint8_t>(start + size);
    return true;
}

int ChannelButtonBar::SwitchChannel(std::uint8_t channel, const platform::Timing& timing, std::stop_token stop) {
    const std::string product = app_.str_ProductID.Get();
    const bool multiChannelDvr = session::IsDvrFamily(product) && app_.by_MultiChannel.load() != 0;
    if (!(multiChannelDvr || session::IsVideoServerFamily(product)) || !m_bEnabled.load() ||
        channel == m_byCurrentChannel.load())
        return 1;
    session::CgiRequest request(session::CMD_SET_CHANNEL);
    const std::string cookie = app_.SessionCookie.Get();
    if (!cookie.empty())
        request.AddParam("Cookie", cookie);
    request.AddIntParam("CH", channel);
    session::CommandOptions options;
    options.connectTimeout = timing.connectTimeout;
    options.sendTimeout = timing.commandTimeout;
    options.receiveTimeout = timing.commandTimeout;
    options.stop = stop;
    if (session::SorelSendCommand(app_, options, session::CMD_SET_CHANNEL, request.Text(), nullptr, 0, nullptr, {},
                                  nullptr) != 1) {
        if (!stop.stop_requested())
            app_.Ui().ShowMessageBox(kChannelRequestFailedMessage);
        return 0;
    }
    return 1;
}

bool ChannelButtonBar::SyncCurrentChannel(std::uint8_t channel) {
    if (!m_bEnabled.load() || channel == m_byCurrentChannel.load())
        return false;
    app_.CSettingINI.m_bySelectedChannel = channel;
    m_byCurrentChannel = channel;
    if (session::IsVideoServerFamily(product_)) {
        app_.C_ControlD.MakeCurrent(kControlDeviceMaster, channel == 1 ? 0 : 1);
        return true;
    }
    if (IsMultiChannelDvr()) {
        app_.C_ControlD.MakeCurrent(kControlDeviceMaster, channel);
        return true;
    }
    return false;
}

}  // namespace mainwindow
