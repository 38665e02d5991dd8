#include "mainwindow/ToolButtonPanel.h"

#include "session/DeviceFamily.h"

namespace mainwindow {

namespace {

// Full size (classes 0 and 2) and reduced size (1 and 3).
constexpr std::array<std::array<std::int32_t, 4>, 4> kToolPlaces{
    {{688, 34, 714, 60}, {336, 35, 362, 61}, {688, 34, 714, 60}, {336, 35, 362, 61}}};

}  // namespace

const std::array<ToolButtonRow, kToolRowCount> kToolButtonRows{{
    {kToolPlaces, 7, 1002,
     {"BMP/link.bmp", "BMP/link_over.bmp", "BMP/link_off.bmp", "BMP/link_off_over.bmp"},
     {"BMP/link_n.bmp", "BMP/link_n.bmp", "BMP/link_off_n.bmp", "BMP/link_off_n.bmp"},
     0x40, 0x0F, 1002, kToolConnect},
    {kToolPlaces, 7, 1007,
     {"BMP/qvga.bmp", "BMP/qvga_over.bmp", "BMP/vga.bmp", "BMP/vga_over.bmp"},
     {"BMP/qvga_n.bmp", "BMP/qvga_n.bmp", "BMP/vga_n.bmp", "BMP/vga_n.bmp"},
     0x10, 0x03, 1007, kToolResolution},
    {kToolPlaces, 7, 1008,
     {"BMP/high.bmp", "BMP/mid_over.bmp", "BMP/mid.bmp", "BMP/low_over.bmp", "BMP/low.bmp", "BMP/high_over.bmp"},
     {"BMP/high_n.bmp", "BMP/high_n.bmp", "BMP/mid_n.bmp", "BMP/mid_n.bmp", "BMP/low_n.bmp", "BMP/low_n.bmp"},
     0x10, 0x03, 1008, kToolQuality},
    {kToolPlaces, 6, 999,
     {"BMP/Image_Quality.bmp", "BMP/Image_Quality_over.bmp", "BMP/Image_Quality_over.bmp"},
     {"BMP/Image_Quality_n.bmp", "BMP/Image_Quality_n.bmp", "BMP/Image_Quality_n.bmp"},
     0x01, 0x03, 999, 0x08},
    {kToolPlaces, 7, 1004,
     {"BMP/snapshoot.bmp", "BMP/snapshoot_over.bmp", "BMP/snapshoot_down.bmp"},
     {"BMP/snapshoot_n.bmp", "BMP/snapshoot_n.bmp", "BMP/snapshoot_n.bmp"},
     0x20, 0x0B, 1004, 0x10},
    {kToolPlaces, 7, 1005,
     {"BMP/Record_Button.bmp", "BMP/Record_Button_over.bmp", "BMP/Recording_Button.bmp",
      "BMP/Recording_Button_over.bmp"},
     {"BMP/Record_Button_n.bmp", "BMP/Record_Button_n.bmp", "BMP/Record_Button_n.bmp", "BMP/Record_Button_n.bmp"},
     0x40, 0x0B, 1005, kToolRecord},
    {kToolPlaces, 7, 1006,
     {"BMP/system_setting.bmp", "BMP/system_setting_over.bmp", "BMP/system_setting_over.bmp"},
     {"BMP/system_setting_n.bmp", "BMP/system_setting_n.bmp", "BMP/system_setting_n.bmp"},
     0x01, 0x01, 1006, 0x40},
}};

bool ToolButtonPanel::Create(std::string_view product, bool multiChannel) {
    m_buttons.clear();
    std::size_t count = 7;
    if (session::IsDvrFamily(product)) {
        m_byFamilyMask = multiChannel ? 2 : 1;
        count = multiChannel ? 7 : 6;
    } else if (session::IsVideoServerFamily(product) || session::IsG66MFamily(product)) {
        m_byFamilyMask = 2;
    } else if (session::IsN5HFamily(product)) {
        m_byFamilyMask = 4;
    } else {
        m_byFamilyMask = 0;
        return false;
    }
    for (const ToolButtonRow& row : kToolButtonRows)
        if (m_buttons.size() < count && (row.wFamilyMask & m_byFamilyMask))
            m_buttons.push_back(&row);
    return true;
}

ToolButtonPanel::Pictures ToolButtonPanel::PicturesFor(std::size_t k, std::uint8_t userLevelRow) const {
    Pictures pictures;
    if (k >= m_buttons.size())
        return pictures;
    const ToolButtonRow& row = *m_buttons[k];
    pictures.enabled = userLevelRow < 8 && (row.byLevelMask & (1u << userLevelRow)) != 0;
    for (std::string_view name : pictures.enabled ? row.enabledImages : row.disabledImages) {
        if (name.empty())
            break;
        pictures.names.push_back(name);
    }
    return pictures;
}

std::array<std::int32_t, 4> ToolButtonPanel::Place(std::size_t k, std::size_t layoutIndex) const {
    if (m_buttons.empty())
        return {};
    // Classes 4 and 5 are reduced sizes too.
    constexpr std::size_t kPlaceOfClass[6] = {0, 1, 2, 3, 1, 3};
    const auto& r = m_buttons.front()->rcPos[kPlaceOfClass[LayoutClass(layoutIndex)]];
    const std::int32_t width = r[2] - r[0], height = r[3] - r[1];
    const auto fromLast = static_cast<std::int32_t>(m_buttons.size() - 1 - k);
    return {r[0] - fromLast * width, r[1], width, height};
}

std::optional<std::size_t> ToolButtonPanel::ButtonForRole(std::uint32_t flags) const {
    for (std::size_t k = 0; k < m_buttons.size(); ++k)
        if (m_buttons[k]->dwRoleFlag & flags)
            return k;
    return std::nullopt;
}

}  // namespace mainwindow
