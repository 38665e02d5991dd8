#pragma once
// The tool buttons at the top right of the main window: which of the seven
// rows a product gets, their pictures by the user's level, and their places.
// The window makes the buttons and applies what this says.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "mainwindow/WindowLayoutTable.h"

namespace mainwindow {

struct ToolButtonRow {
    std::array<std::array<std::int32_t, 4>, 4> rcPos;  // by layout class 0-3: left, top, right, bottom
    std::uint16_t wFamilyMask;
    std::uint16_t wTipId;
    std::array<std::string_view, 6> enabledImages;   // an empty name ends the set
    std::array<std::string_view, 6> disabledImages;
    std::uint8_t byStyle;
    std::uint8_t byLevelMask;  // bit n: user-level row n may use it
    std::uint16_t wControlId;
    std::uint32_t dwRoleFlag;
};

inline constexpr std::size_t kToolRowCount = 7;
extern const std::array<ToolButtonRow, kToolRowCount> kToolButtonRows;

// Role flags.
inline constexpr std::uint32_t kToolConnect = 0x01;
inline constexpr std::uint32_t kToolResolution = 0x02;
inline constexpr std::uint32_t kToolQuality = 0x04;
inline constexpr std::uint32_t kToolRecord = 0x20;

class ToolButtonPanel {
public:
    // The rows of the product's buttons, in button order; false (and none)
    // for a product outside the families.
    bool Create(std::string_view productId, bool multiChannel);
    const std::vector<const ToolButtonRow*>& Buttons() const { return m_buttons; }
    std::uint8_t ButtonCount() const { return static_cast<std::uint8_t>(m_buttons.size()); }
    std::uint8_t FamilyMask() const { return m_byFamilyMask; }

    // The pictures of button k for the user's level row: the row's own, or
    // the grey set (and the button disabled) when the level may not use it.
    struct Pictures {
        std::vector<std::string_view> names;
        bool enabled = true;
    };
    Pictures PicturesFor(std::size_t k, std::uint8_t userLevelRow) const;

    // Button k's place for a layout index: right-aligned from the last button.
    std::array<std::int32_t, 4> Place(std::size_t k, std::size_t layoutIndex) const;

    // The first button, in order, whose role shares a bit with the flags.
    std::optional<std::size_t> ButtonForRole(std::uint32_t flags) const;

private:
    std::uint8_t m_byFamilyMask = 0;
    std::vector<const ToolButtonRow*> m_buttons;
};

}  // namespace mainwindow
