#include "config/sheet/SheetPageSet.h"

#include <array>

#include "config/sheet/PageTree.h"

namespace config {

namespace {

using P = SheetPageId;

constexpr std::array<std::string_view, 20> kCaptions{
    caption::kNetwork,   caption::kDdns,       caption::kMail,         caption::kFtp,
    caption::kSntp,      caption::kCamera,     caption::kDevice,       caption::kDetection,
    caption::kDownload,  caption::kEvent,      caption::kTimerRecord,  caption::kDvrDate,
    caption::kDvrRecord, caption::kAlarm,      caption::kAlarmData,    caption::kToolBox,
    caption::kAccount,   caption::kPeripheral, caption::kOnlineUsers,  caption::kRecordPaths,
};

}  // namespace

std::string_view PageCaption(SheetPageId page) { return kCaptions[static_cast<std::size_t>(page)]; }

std::vector<SheetPageId> PageSetFor(const DeviceFacts& facts, bool hasLinkedDvr) {
    if (facts.IsDvr()) {
        std::vector<P> pages{P::Network,  P::Ddns,        P::Mail,    P::Ftp,       P::Camera,
                             P::Device,   P::Detection,   P::Download, P::Event,    P::TimerRecord,
                             P::DvrDate,  P::DvrRecord,   P::Alarm};
        if (hasLinkedDvr)
            pages.push_back(P::AlarmData);
        pages.insert(pages.end(), {P::ToolBox, P::Account, P::OnlineUsers, P::RecordPaths});
        return pages;
    }
    if (facts.IsVideoServer())
        return {P::Network, P::Ddns,    P::Mail,       P::Ftp,         P::Sntp,       P::Alarm,
                P::AlarmData, P::ToolBox, P::Account, P::Peripheral, P::OnlineUsers, P::RecordPaths};
    if (facts.IsG66M())
        return {P::Network, P::Ddns,    P::Mail,    P::Ftp,         P::Sntp,       P::Alarm,
                P::AlarmData, P::ToolBox, P::Account, P::OnlineUsers, P::RecordPaths};
    if (facts.IsN5H())
        return {P::Network, P::Mail,    P::Ftp,         P::Alarm,      P::AlarmData,
                P::ToolBox, P::Account, P::OnlineUsers, P::RecordPaths};
    return {};
}

SheetButtonSet SheetButtonsFor(const DeviceFacts& facts) {
    SheetButtonSet buttons;
    buttons.apply = facts.IsDvr() || facts.IsN5H() || facts.IsVideoServer() || facts.IsG66M();
    buttons.restart = facts.IsVideoServer() || facts.IsG66M();
    return buttons;
}

}  // namespace config
