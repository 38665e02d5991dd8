#include "config/log/DeviceLogRecord.h"

#include <algorithm>

#include "platform/ByteOrder.h"

namespace config {

DeviceLogRecord DeviceLogRecord::Parse(std::span<const std::uint8_t, kLogRecordSize> bytes) {
    DeviceLogRecord record;
    record.dwEvent = platform::LoadLe32(bytes.data());
    record.byYear = bytes[4];
    record.byMonth = bytes[5];
    record.byDay = bytes[6];
    record.byHour = bytes[7];
    record.byMinute = bytes[8];
    record.bySecond = bytes[9];
    record.byChannel = bytes[10];
    const auto user = bytes.subspan<11, 16>();
    record.szUser.assign(user.begin(), std::find(user.begin(), user.end(), std::uint8_t{0}));
    record.byResult = bytes[27];
    return record;
}

}  // namespace config
