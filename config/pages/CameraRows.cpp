#include "config/pages/CameraRows.h"

#include <array>
#include <cctype>

#include "config/ConfigWorkingSet.h"

namespace config {

namespace {

constexpr std::uint8_t kLive = 13, kRec = 15;

struct NumberField {
    std::uint8_t option;
    std::string_view name;
    int CameraRow::*value;
};
constexpr std::array<NumberField, 6> kNumbers{{
    {kLive, "by_Brightness", &CameraRow::brightness},
    {kLive, "by_Contrast", &CameraRow::contrast},
    {kLive, "by_Saturation", &CameraRow::saturation},
    {kLive, "by_Hue", &CameraRow::hue},
    {kLive, "by_Covert", &CameraRow::covert},
    {kRec, "by_ChannelRecord", &CameraRow::record},
}};

}  // namespace

CameraRow LoadCameraRow(const ConfigWorkingSet& set, int channel) {
    CameraRow row;
    const auto index = static_cast<std::size_t>(channel);
    row.name = set.Text(kLive, "sz_ChannelName", index);
    for (const NumberField& field : kNumbers)
        row.*field.value = static_cast<int>(set.Number(field.option, field.name, index));
    return row;
}

EditedBlocks WriteCameraRow(ConfigWorkingSet& set, int channel, const CameraRow& row) {
    EditedBlocks edited;
    const CameraRow current = LoadCameraRow(set, channel);
    const auto index = static_cast<std::size_t>(channel);
    for (const NumberField& field : kNumbers)
        if (row.*field.value != current.*field.value)
            if (set.Write(field.option, field.name, index, std::int64_t{row.*field.value}) == FieldStatus::Ok)
                edited.set(field.option);
    if (row.name != current.name && set.Write(kLive, "sz_ChannelName", index, row.name) == FieldStatus::Ok)
        edited.set(kLive);
    return edited;
}

int SendCameraConfig(const EditedBlocks& edited, const StoreBlock& store) {
    constexpr std::uint8_t kOrder[] = {kLive, kRec};
    return StoreEditedBlocks(kOrder, edited, store) ? 1 : 0;
}

CameraNameInput FilterCameraName(std::string_view typed) {
    CameraNameInput input;
    // Characters, not bytes: a letter outside ASCII counts once and is dropped.
    std::size_t characters = 0;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const auto byte = static_cast<unsigned char>(typed[i]);
        if ((byte & 0xC0) == 0x80)
            continue;
        if (++characters > kCameraNameChars) {
            input.tooLong = true;
            break;
        }
        if (std::isdigit(byte) || std::isupper(byte))
            input.name.push_back(static_cast<char>(byte));
        else if (std::islower(byte))
            input.name.push_back(static_cast<char>(std::toupper(byte)));
    }
    return input;
}

}  // namespace config
