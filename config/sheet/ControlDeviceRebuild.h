#pragma once
// After Apply: the control-device list rebuilt from the peripherals (block 16)
// or the PTZ channels (block 10) that were stored, and the main window told.

#include <cstdint>
#include <span>

namespace mainwindow {
class ControlDeviceList;
}
namespace session {
class UiPort;
}

namespace config {

struct DeviceFacts;

// The PTZ control button and the string of its two captions.
inline constexpr std::uint16_t kPtzControlButton = 8312;

// Two masters from block 16; the current one is master 0 on channel 1, else master 1.
void RebuildForPeripherals(std::span<const std::uint8_t> peripheralBlock, std::uint8_t selectedChannel,
                           mainwindow::ControlDeviceList& list, session::UiPort& ui);

// The 16 PTZ channels of block 10: masters behind one recorder master on a
// multi-channel DVR, slaves after the masters otherwise; a current slave that
// no longer answers PTZ gives control back to master 0 and the PTZ button.
void RebuildForRs485(std::span<const std::uint8_t> rs485Block, const DeviceFacts& facts,
                     mainwindow::ControlDeviceList& list, session::UiPort& ui);

}  // namespace config
