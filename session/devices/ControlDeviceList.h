#pragma once
// The RS-485 control devices linked to the logged-in device (PTZ cameras,
// other recorders) and the one the operator currently controls, plus the table
// of linked-device types. The list is changed by the GUI thread, the re-login
// thread, the compose thread and the receive thread, so it keeps its own lock.

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string_view>

namespace session {
class CSettingINI;
class UiPort;
}  // namespace session

namespace mainwindow {

inline constexpr std::size_t kControlDeviceRows = 30;

// ControlDeviceEntry::wFlags
inline constexpr std::uint16_t kControlDeviceValid = 0x1;
inline constexpr std::uint16_t kControlDeviceMaster = 0x2;
inline constexpr std::uint16_t kControlDeviceSlave = 0x4;

struct ControlDeviceEntry {
    std::int32_t dwBaudRate = 0;  // kept with the entry; nothing reads it
    std::uint8_t byAddress = 0;
    std::uint8_t byType = 0;  // row of kLinkedDeviceTypes
    std::uint16_t wFlags = 0;

    friend bool operator==(const ControlDeviceEntry&, const ControlDeviceEntry&) = default;
};

// A copy of the whole list.
struct ControlDeviceState {
    std::uint8_t m_byCurrent = 0;
    std::uint8_t m_byPrevious = 0;
    std::uint8_t m_byCount = 0;
    std::uint8_t m_byLastMaster = 0;
    std::uint8_t m_byLastSlave = 0;
    std::uint8_t m_byRetrState = 0;
    std::array<ControlDeviceEntry, kControlDeviceRows> entries{};

    friend bool operator==(const ControlDeviceState&, const ControlDeviceState&) = default;
};

// A main-window rectangle: left, top, right, bottom.
struct PanelRect {
    std::int32_t left, top, right, bottom;
};

// One control-panel button of a linked-device type.
struct PanelButtonDescriptor {
    std::array<PanelRect, 4> rcPos;  // by picture format: NTSC VGA, NTSC QVGA, PAL VGA, PAL QVGA
    std::uint16_t wFlags;
    std::uint16_t wTipId;
    std::array<std::string_view, 12> pszBitmaps;  // three per picture format
    std::uint16_t wStyle;                        // CVtxButton style
    std::uint16_t wControlId;
    std::uint16_t wPanelIndex;
};
inline constexpr std::size_t kPanelButtonCount = 68;

// PanelButtonDescriptor::wFlags
inline constexpr std::uint16_t kPanelEnabled = 0x1;
inline constexpr std::uint16_t kPanelPresent = 0x2;
inline constexpr std::uint16_t kPanelSupervisorOnly = 0x20;  // shown only at login level 30
inline constexpr std::uint16_t kPanelTopRanks = 0x40;        // hidden below rank 30
inline constexpr std::uint16_t kPanelTipFirst = 0x80;        // tooltip: the control id's first caption
inline constexpr std::uint16_t kPanelTipSecond = 0x100;      // tooltip: its second caption
inline constexpr std::uint16_t kPanelNoPelco = 0x200;        // RS-485 requests without Pelco parameters

// Linked-device types, indexed by type code.
struct LinkedDeviceType {
    std::string_view pszName;  // the CtrlFile.ini record of this name serves the type
    std::uint32_t dwFlags;
    std::uint32_t dwCode;  // equals the row index
    // The control-panel buttons by panel index.
    std::span<const PanelButtonDescriptor> Buttons;
};

inline constexpr std::uint32_t kLinkedTypeNoPanel = 0x2;  // the type has no control panel

inline constexpr std::uint8_t kTypeCamera = 0;
inline constexpr std::uint8_t kTypePtz = 8;
inline constexpr std::uint8_t kTypePtzSlave = 11;
inline constexpr std::uint8_t kTypePtzPelco = 18;
inline constexpr std::uint8_t kTypeKlt316Dvr = 19;
inline constexpr std::uint8_t kTypeKlt318Dvr = 22;
inline constexpr std::uint8_t kTypeKlt324Dvr = 23;
inline constexpr std::uint8_t kTypePtzPelcoD = 25;

inline constexpr std::size_t kLinkedDeviceTypeCount = 26;
extern const std::array<LinkedDeviceType, kLinkedDeviceTypeCount> kLinkedDeviceTypes;
// The row of a type code; a code past the table (a newer device's type) is
// taken as a camera, row 0, which has no panel.
const LinkedDeviceType& LinkedTypeRow(std::uint8_t type);

// The control id of the R.E.T.R. button and its two-part tool tip string.
inline constexpr std::uint16_t kRetrButtonId = 8331;

class ControlDeviceList {
public:
    // The R.E.T.R. state changes settings and the R.E.T.R. button; the UI
    // port is looked up at each change, since the window attaches it later.
    ControlDeviceList(session::CSettingINI& settings, std::function<session::UiPort&()> ui);
    ControlDeviceList(const ControlDeviceList&) = delete;
    ControlDeviceList& operator=(const ControlDeviceList&) = delete;

    void Clear();
    // Appends a row {baud, address, type, kind | valid}; -1 and no change
    // when the list is full, else 0. The selection is not touched.
    int AddDevice(std::int32_t baud, std::uint8_t address, std::uint8_t type, std::uint16_t kind);
    // Makes current the n-th valid row (from 0, table order) whose flags share
    // a bit with the kind mask; -1 and no change when there is none, else 0.
    int MakeCurrent(std::uint16_t kindMask, std::uint8_t n);
    // Clear, then the entries added in order (each as AddDevice would, the
    // thirty-first and later dropped), under one hold of the lock.
    void Replace(std::span<const ControlDeviceEntry> entries);
    // Keeps only the valid masters, moved to the front in their order.
    void Compact();
    // The n-th valid slave takes the type and address (nothing when none); 1.
    int SetSlave(std::uint8_t n, std::uint8_t type, std::uint8_t address);

    std::uint8_t GetCurrentType() const;
    std::uint8_t GetCurrentAddress() const;
    std::uint8_t GetLastMasterType() const;
    std::uint8_t GetLastMasterAddress() const;
    std::uint8_t GetLastSlaveAddress() const;
    // Type of the n-th valid master or slave; 0 when there is none.
    std::uint8_t GetMasterType(std::uint8_t n) const;
    std::uint8_t GetSlaveType(std::uint8_t n) const;
    bool IsCurrentMaster() const;
    // The current row's position among the valid masters (or slaves) before it.
    std::uint8_t GetCurrentOrdinal() const;
    // A valid master of one of the linked-DVR types 19, 22, 23 is listed.
    bool HasLinkedDvr() const;

    // The R.E.T.R. state the device reported in a frame header; returns 1.
    int SetRetrState(std::uint8_t state);
    std::uint8_t GetRetrState() const;

    ControlDeviceState Snapshot() const;

private:
    // Index of the n-th valid row carrying a bit of the mask, or -1.
    int FindNthLocked(std::uint16_t kindMask, std::uint8_t n) const;

    session::CSettingINI& settings_;
    std::function<session::UiPort&()> ui_;
    mutable std::mutex mutex_;
    ControlDeviceState state_;
};

}  // namespace mainwindow
