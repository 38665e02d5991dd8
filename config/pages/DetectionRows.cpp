#include "config/pages/DetectionRows.h"

#include <algorithm>
#include <array>
#include <string>

#include "config/ConfigWorkingSet.h"

namespace config {

namespace {

constexpr std::uint8_t kLive = 13, kAlarm = 11;

struct NumberField {
    std::uint8_t option;
    std::string_view name;
    int DetectionRow::*value;
};
constexpr std::array<NumberField, 6> kNumbers{{
    {kLive, "by_MotionEnable", &DetectionRow::detection},
    {kLive, "by_MotionLS", &DetectionRow::ls},
    {kLive, "by_MotionSS", &DetectionRow::ss},
    {kLive, "by_MotionTS", &DetectionRow::ts},
    {kLive, "by_MotionRE", &DetectionRow::re},
    {kAlarm, "by_AlarmInputType", &DetectionRow::alarmType},
}};

constexpr std::string_view kArea = "by_MotionArea";

}  // namespace

DetectionRow LoadDetectionRow(const ConfigWorkingSet& set, int channel) {
    DetectionRow row;
    const auto index = static_cast<std::size_t>(channel);
    for (const NumberField& field : kNumbers)
        row.*field.value = static_cast<int>(set.Number(field.option, field.name, index));
    const std::string area = set.Text(kLive, kArea, index);
    std::copy_n(area.begin(), std::min(area.size(), row.area.size()), row.area.begin());
    return row;
}

EditedBlocks WriteDetectionRow(ConfigWorkingSet& set, int channel, const DetectionRow& row) {
    EditedBlocks edited;
    const DetectionRow current = LoadDetectionRow(set, channel);
    const auto index = static_cast<std::size_t>(channel);
    for (const NumberField& field : kNumbers)
        if (row.*field.value != current.*field.value)
            if (set.Write(field.option, field.name, index, std::int64_t{row.*field.value}) == FieldStatus::Ok)
                edited.set(field.option);
    if (row.area != current.area &&
        set.Write(kLive, kArea, index, std::string(row.area.begin(), row.area.end())) == FieldStatus::Ok)
        edited.set(kLive);
    return edited;
}

int SendDetectionConfig(const EditedBlocks& edited, const StoreBlock& store) {
    constexpr std::uint8_t kOrder[] = {kLive, kAlarm};
    return StoreEditedBlocks(kOrder, edited, store) ? 1 : 0;
}

std::string_view DetectionText(int detection) { return detection == 1 ? "ON" : "OFF"; }

std::string_view AlarmTypeText(int alarmType, bool contactNames) {
    if (alarmType == 0)
        return contactNames ? "N.O." : "LOW";
    if (alarmType == 1)
        return contactNames ? "N.C." : "HIGH";
    return "OFF";
}

}  // namespace config
