#include "session/devices/ControlDeviceList.h"

#include "session/devices/PanelButtonTable.h"

#include <string>

#include "session/DeviceFamily.h"
#include "session/files/SettingsFile.h"
#include "session/UiPort.h"

namespace mainwindow {

const std::array<LinkedDeviceType, kLinkedDeviceTypeCount> kLinkedDeviceTypes = {{
    {"CAMERA", 0x3, 0, kPanelButtonTable[0]},
    {"1CH DVR", 0x1, 1, kPanelButtonTable[1]},
    {"4CH DVR (FULL)", 0x1, 2, kPanelButtonTable[2]},
    {"4CH DVR (BASIC)", 0x1, 3, kPanelButtonTable[3]},
    {"4CH DMR", 0x1, 4, kPanelButtonTable[4]},
    {"9CH DMR", 0x1, 5, kPanelButtonTable[5]},
    {"16CH DMR", 0x1, 6, kPanelButtonTable[6]},
    {"4CH DQR", 0x1, 7, kPanelButtonTable[7]},
    {"PTZ", 0x1, 8, kPanelButtonTable[8]},
    {"4CH MEPG2 DVR", 0x1, 9, kPanelButtonTable[9]},
    {"4CH NETWORK DVR", 0, 10, kPanelButtonTable[10]},
    {"PTZ SLAVE", 0, 11, kPanelButtonTable[11]},
    {"4CH NETWORK DVR (BASIC)", 0, 12, kPanelButtonTable[12]},
    {"9CH NETWORK DMR", 0, 13, kPanelButtonTable[13]},
    {"16CH NETWORK DMR", 0, 14, kPanelButtonTable[14]},
    {"4CH NETWORK MEPG2 DVR", 0x1, 15, kPanelButtonTable[15]},
    {"N58H", 0x1, 16, kPanelButtonTable[16]},
    {"PTZ SLAVE BASIC", 0, 17, kPanelButtonTable[17]},
    {"PTZ PELCO", 0, 18, kPanelButtonTable[18]},
    {"KLT 316 DVR", 0, 19, kPanelButtonTable[19]},
    {"8CH NETWORK DMR", 0, 20, kPanelButtonTable[20]},
    {"4CH NETWORK DMR", 0, 21, kPanelButtonTable[21]},
    {"KLT 318 DVR", 0, 22, kPanelButtonTable[22]},
    {"KLT 324 DVR", 0, 23, kPanelButtonTable[23]},
    {"16CH NETWORK DVR", 0, 24, kPanelButtonTable[24]},
    {"PTZ PELCO D", 0, 25, kPanelButtonTable[25]},
}};

namespace {

bool IsValidKind(const ControlDeviceEntry& e, std::uint16_t kindMask) {
    return (e.wFlags & kControlDeviceValid) && (e.wFlags & kindMask);
}

}  // namespace

ControlDeviceList::ControlDeviceList(session::CSettingINI& settings,
                                     std::function<session::UiPort&()> ui)
    : settings_(settings), ui_(std::move(ui)) {}

void ControlDeviceList::Clear() {
    std::lock_guard lock(mutex_);
    state_ = {};
}

int ControlDeviceList::AddDevice(std::int32_t baud, std::uint8_t address, std::uint8_t type,
                                 std::uint16_t kind) {
    std::lock_guard lock(mutex_);
    if (state_.m_byCount >= kControlDeviceRows)
        return -1;
    state_.entries[state_.m_byCount] = {baud, address, type,
                                        static_cast<std::uint16_t>(kind | kControlDeviceValid)};
    ++state_.m_byCount;
    return 0;
}

void ControlDeviceList::Replace(std::span<const ControlDeviceEntry> entries) {
    std::lock_guard lock(mutex_);
    state_ = {};
    for (const ControlDeviceEntry& entry : entries) {
        if (state_.m_byCount >= kControlDeviceRows)
            break;
        state_.entries[state_.m_byCount++] = {entry.dwBaudRate, entry.byAddress, entry.byType,
                                              static_cast<std::uint16_t>(entry.wFlags | kControlDeviceValid)};
    }
}

int ControlDeviceList::FindNthLocked(std::uint16_t kindMask, std::uint8_t n) const {
    unsigned seen = 0;
    for (std::size_t i = 0; i < kControlDeviceRows; ++i) {
        if (!IsValidKind(state_.entries[i], kindMask))
            continue;
        if (seen++ == n)
            return static_cast<int>(i);
    }
    return -1;
}

int ControlDeviceList::MakeCurrent(std::uint16_t kindMask, std::uint8_t n) {
    std::lock_guard lock(mutex_);
    const int found = FindNthLocked(kindMask, n);
    if (found < 0)
        return -1;
    const auto index = static_cast<std::uint8_t>(found);
    if (index != state_.m_byCurrent) {
        state_.m_byPrevious = state_.m_byCurrent;
        state_.m_byCurrent = index;
    }
    const auto flags = state_.entries[index].wFlags;
    if (flags & kControlDeviceMaster)
        state_.m_byLastMaster = index;
    if (flags & kControlDeviceSlave)
        state_.m_byLastSlave = index;
    return 0;
}

void ControlDeviceList::Compact() {
    std::lock_guard lock(mutex_);
    const auto& current = state_.entries[state_.m_byCurrent];
    const bool currentIsMaster = IsValidKind(current, kControlDeviceMaster);
    std::uint8_t newCurrent = 0;
    std::array<ControlDeviceEntry, kControlDeviceRows> kept{};
    std::uint8_t count = 0;
    for (std::size_t i = 0; i < kControlDeviceRows; ++i) {
        if (!IsValidKind(state_.entries[i], kControlDeviceMaster))
            continue;
        if (currentIsMaster && i == state_.m_byCurrent)
            newCurrent = count;
        kept[count++] = state_.entries[i];
    }
    state_.entries = kept;
    state_.m_byCount = count;
    state_.m_byCurrent = newCurrent;
    state_.m_byLastMaster = newCurrent;
    state_.m_byPrevious = 0;
    state_.m_byLastSlave = 0;
}

int ControlDeviceList::SetSlave(std::uint8_t n, std::uint8_t type, std::uint8_t address) {
    std::lock_guard lock(mutex_);
    const int found = FindNthLocked(kControlDeviceSlave, n);
    if (found >= 0) {
        state_.entries[found].byType = type;
        state_.entries[found].byAddress = address;
    }
    return 1;
}

const LinkedDeviceType& LinkedTypeRow(std::uint8_t type) {
    return kLinkedDeviceTypes[type < kLinkedDeviceTypeCount ? type : kTypeCamera];
}

std::uint8_t ControlDeviceList::GetCurrentType() const {
    std::lock_guard lock(mutex_);
    return state_.entries[state_.m_byCurrent].byType;
}

std::uint8_t ControlDeviceList::GetCurrentAddress() const {
    std::lock_guard lock(mutex_);
    return state_.entries[state_.m_byCurrent].byAddress;
}

std::uint8_t ControlDeviceList::GetLastMasterType() const {
    std::lock_guard lock(mutex_);
    return state_.entries[state_.m_byLastMaster].byType;
}

std::uint8_t ControlDeviceList::GetLastMasterAddress() const {
    std::lock_guard lock(mutex_);
    return state_.entries[state_.m_byLastMaster].byAddress;
}

std::uint8_t ControlDeviceList::GetLastSlaveAddress() const {
    std::lock_guard lock(mutex_);
    return state_.entries[state_.m_byLastSlave].byAddress;
}

std::uint8_t ControlDeviceList::GetMasterType(std::uint8_t n) const {
    std::lock_guard lock(mutex_);
    const int found = FindNthLocked(kControlDeviceMaster, n);
    return found < 0 ? 0 : state_.entries[found].byType;
}

std::uint8_t ControlDeviceList::GetSlaveType(std::uint8_t n) const {
    std::lock_guard lock(mutex_);
    const int found = FindNthLocked(kControlDeviceSlave, n);
    return found < 0 ? 0 : state_.entries[found].byType;
}

bool ControlDeviceList::IsCurrentMaster() const {
    std::lock_guard lock(mutex_);
    return (state_.entries[state_.m_byCurrent].wFlags & kControlDeviceMaster) != 0;
}

std::uint8_t ControlDeviceList::GetCurrentOrdinal() const {
    std::lock_guard lock(mutex_);
    const bool master = (state_.entries[state_.m_byCurrent].wFlags & kControlDeviceMaster) != 0;
    const std::uint16_t kind = master ? kControlDeviceMaster : kControlDeviceSlave;
    std::uint8_t before = 0;
    for (std::size_t i = 0; i < state_.m_byCurrent; ++i)
        if (IsValidKind(state_.entries[i], kind))
            ++before;
    return before;
}

bool ControlDeviceList::HasLinkedDvr() const {
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < state_.m_byCount; ++i) {
        const auto& e = state_.entries[i];
        if (IsValidKind(e, kControlDeviceMaster) &&
            (e.byType == kTypeKlt316Dvr || e.byType == kTypeKlt318Dvr || e.byType == kTypeKlt324Dvr))
            return true;
    }
    return false;
}

int ControlDeviceList::SetRetrState(std::uint8_t state) {
    // Under the lock throughout, so concurrent reports reach the button in order.
    std::lock_guard lock(mutex_);
    const std::uint8_t held = state_.m_byRetrState;
    // Alarm recording follows the state held before this report.
    settings_.m_byAlarmTriggerRecord = (settings_.m_byRetrAlarmRecord != 0 && held != 0) ? 1 : 0;
    if (state == held)
        return 1;
    if (state != 0)
        settings_.m_byAlarmAutoSwitchVideo = 1;
    const bool turningOff = held != 0;
    std::string on, off;
    session::SplitCaptionPair(kRetrButtonId, on, off);
    ui_().SetButtonImage(kRetrButtonId, turningOff ? 0 : 1, turningOff ? off : on);
    state_.m_byRetrState = state;
    return 1;
}

std::uint8_t ControlDeviceList::GetRetrState() const {
    std::lock_guard lock(mutex_);
    return state_.m_byRetrState;
}

ControlDeviceState ControlDeviceList::Snapshot() const {
    std::lock_guard lock(mutex_);
    return state_;
}

}  // namespace mainwindow
