#include "config/sheet/ControlDeviceRebuild.h"

#include <string>

#include "config/DeviceFacts.h"
#include "config/blocks/BlockFieldTable.h"
#include "config/blocks/FieldCodec.h"
#include "session/DeviceFamily.h"
#include "session/UiPort.h"
#include "session/devices/ControlDeviceList.h"

namespace config {

namespace {

using mainwindow::kControlDeviceMaster;
using mainwindow::kControlDeviceSlave;

constexpr int kChannels = 16;

std::int64_t Field(std::span<const std::uint8_t> block, std::uint8_t option, std::string_view name,
                   const DeviceFacts& facts, std::size_t index = 0) {
    const BlockField* field = FindField(option, name, facts);
    return field ? ReadNumber(block, *field, index) : 0;
}

std::uint8_t ChannelType(std::span<const std::uint8_t> block, const DeviceFacts& facts, std::size_t c) {
    const bool enabled = Field(block, 10, "by_PtzEnable", facts, c) == 1;
    const bool pelco = Field(block, 10, "by_PtzProtocol", facts, c) == 1;
    if (enabled && pelco)
        return mainwindow::kTypePtzPelco;
    return enabled ? mainwindow::kTypePtzSlave : 0;
}

}  // namespace

void RebuildForPeripherals(std::span<const std::uint8_t> block, std::uint8_t selectedChannel,
                           mainwindow::ControlDeviceList& list, session::UiPort& ui) {
    const DeviceFacts any;  // block 16 has one layout
    list.Clear();
    for (const char* device : {"Device1", "Device2"}) {
        const std::string name(device);
        list.AddDevice(static_cast<std::int32_t>(Field(block, 16, "dw_" + name + "Baud", any)),
                       static_cast<std::uint8_t>(Field(block, 16, "by_" + name + "Id", any)),
                       static_cast<std::uint8_t>(Field(block, 16, "by_" + name + "Model", any)), kControlDeviceMaster);
    }
    list.MakeCurrent(kControlDeviceMaster, selectedChannel == 1 ? 0 : 1);
    ui.RequestRelayout();
}

void RebuildForRs485(std::span<const std::uint8_t> block, const DeviceFacts& facts,
                     mainwindow::ControlDeviceList& list, session::UiPort& ui) {
    const bool wasMaster = list.IsCurrentMaster();
    const std::uint8_t ordinal = list.GetCurrentOrdinal();
    const auto baud = [&](std::size_t c) { return static_cast<std::int32_t>(Field(block, 10, "dw_PtzBaud", facts, c)); };
    const auto address = [&](std::size_t c) {
        return static_cast<std::uint8_t>(Field(block, 10, "by_PtzAddress", facts, c));
    };
    if (facts.IsDvr() && facts.multiChannel) {
        const std::uint8_t recorderType = list.GetMasterType(0);
        list.Clear();
        list.AddDevice(0, 0, recorderType, kControlDeviceMaster);
        for (std::size_t c = 0; c < kChannels; ++c)
            list.AddDevice(baud(c), address(c), ChannelType(block, facts, c), kControlDeviceMaster);
        list.MakeCurrent(kControlDeviceMaster, ordinal);
    } else {
        list.Compact();
        for (std::size_t c = 0; c < kChannels; ++c)
            list.AddDevice(baud(c), address(c), ChannelType(block, facts, c), kControlDeviceSlave);
        if (!wasMaster) {
            const std::uint8_t type = list.GetSlaveType(ordinal);
            if (type == mainwindow::kTypePtzSlave || type == mainwindow::kTypePtzPelco) {
                list.MakeCurrent(kControlDeviceSlave, ordinal);
            } else {
                std::string on, off;
                session::SplitCaptionPair(kPtzControlButton, on, off);
                ui.SetButtonImage(kPtzControlButton, 0, on);
                list.MakeCurrent(kControlDeviceMaster, 0);
            }
        }
    }
    ui.RequestRelayout();
}

}  // namespace config
