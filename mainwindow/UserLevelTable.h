#pragma once
// What each device user level may press in the main window. Rows are chosen
// by the level the device reports (30 → 0, 20 → 1, 0 → 2, any other → 3);
// the rank orders them (30 or more: the top two levels).

#include <array>
#include <cstdint>

namespace mainwindow {

inline constexpr std::size_t kUserLevelControls = 9;

struct UserLevelRow {
    std::uint8_t byIndex;
    std::uint8_t byRank;
    std::uint8_t byLevel;
    std::uint32_t dwCaptionId;
    std::uint32_t dwCount;  // the entries the rows' walks visit; power (the ninth) is read by index
    std::array<std::uint32_t, kUserLevelControls> dwControlId;
    std::array<std::uint32_t, kUserLevelControls> dwEnabled;
};

// Connect, resolution, quality, snapshot, record, system setup, open panel, close panel, power.
inline constexpr std::array<std::uint32_t, kUserLevelControls> kUserLevelControlIds{1002, 1007, 1008, 1004, 1005,
                                                                                   1006, 8192, 8193, 8311};
inline constexpr std::size_t kOpenPanelEntry = 6;
inline constexpr std::size_t kPowerEntry = 8;

inline constexpr std::array<UserLevelRow, 4> UserLevelTable{{
    {0, 60, 30, 3011, 8, kUserLevelControlIds, {1, 1, 1, 1, 1, 1, 1, 1, 1}},
    {1, 40, 20, 8332, 8, kUserLevelControlIds, {1, 1, 1, 1, 1, 0, 1, 1, 0}},
    {2, 4, 0, 3013, 8, kUserLevelControlIds, {1, 0, 0, 0, 0, 0, 0, 0, 0}},
    {3, 20, 10, 3012, 8, kUserLevelControlIds, {1, 0, 0, 1, 1, 0, 1, 1, 0}},
}};

constexpr std::uint8_t UserLevelRowFor(std::uint16_t level) {
    switch (level) {
    case 30: return 0;
    case 20: return 1;
    case 0: return 2;
    default: return 3;
    }
}

// The row of a stored index; rows past the table read as the last.
constexpr const UserLevelRow& UserLevelRowAt(std::uint8_t index) {
    return UserLevelTable[index < UserLevelTable.size() ? index : UserLevelTable.size() - 1];
}

}  // namespace mainwindow
