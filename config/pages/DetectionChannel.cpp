#include "config/pages/DetectionChannel.h"

#include "mainwindow/control/ControlCommandSender.h"
#include "session/AppData.h"
#include "session/DeviceFamily.h"

namespace config {

DetectionChannelRoute DetectionChannelRouteFor(bool currentIsMaster, bool isDvr, std::uint8_t multiChannel,
                                               std::uint8_t barChannel, int row) {
    using Kind = DetectionChannelRoute::Kind;
    if (currentIsMaster && isDvr && (multiChannel == 0 || barChannel == 0))
        return {Kind::PanelCommand, row};
    if (multiChannel != 0)
        return {Kind::SwitchChannel, row + 1};
    return {};
}

DetectionChannelRoute DetectionChannelRouteOf(const session::AppData& app, int row) {
    return DetectionChannelRouteFor(app.C_ControlD.IsCurrentMaster(), session::IsDvrFamily(app.str_ProductID.Get()),
                                    app.by_MultiChannel.load(), app.ChannelButtonBar.CurrentChannel(), row);
}

unsigned BringChannelOnPicture(session::AppData& app, const DetectionChannelRoute& route,
                               const platform::Timing& timing, std::stop_token stop) {
    switch (route.kind) {
    case DetectionChannelRoute::Kind::PanelCommand:
        return mainwindow::SendPanelCommand(app, false, static_cast<std::uint16_t>(route.number), timing, stop)
            .messageId;
    case DetectionChannelRoute::Kind::SwitchChannel:
        app.ChannelButtonBar.SwitchChannel(static_cast<std::uint8_t>(route.number), timing, stop);
        return 0;
    case DetectionChannelRoute::Kind::None:
        break;
    }
    return 0;
}

}  // namespace config
