// AlarmData.dat as read from disc: any bytes are a list or not one; a list's
// items written again read back byte for byte.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "recording/alarmlist/AlarmListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto list = recording::ParseAlarmList(std::span(data, size));
    if (list.status != recording::AlarmList::Status::Ok)
        return 0;
    if (list.items.size() > (size - recording::kAlarmListHeadBytes) / recording::kAlarmItemBytes)
        std::abort();
    const auto bytes = recording::SerializeAlarmList(list.items);
    if (std::span(bytes).subspan(recording::kAlarmListHeadBytes).size() !=
            list.items.size() * recording::kAlarmItemBytes ||
        !std::equal(bytes.begin() + recording::kAlarmListHeadBytes, bytes.end(), data + recording::kAlarmListHeadBytes))
        std::abort();
    if (recording::ParseAlarmList(bytes).items != list.items)
        std::abort();
    return 0;
}
