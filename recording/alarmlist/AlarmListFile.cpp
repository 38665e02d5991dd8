#include "recording/alarmlist/AlarmListFile.h"

#include <algorithm>
#include <cstring>

#include "platform/ByteOrder.h"
#include "platform/TextCodec.h"

namespace recording {

namespace {

template <std::size_t N>
std::string TextOf(const std::array<char, N>& field) {
    return std::string(field.data(), std::find(field.begin(), field.end(), '\0'));
}

template <std::size_t N>
void SetText(std::array<char, N>& field, std::string_view text) {
    field.fill('\0');
    const std::string_view cut = platform::CutUtf8(text, N - 1);
    std::copy(cut.begin(), cut.end(), field.begin());
}

constexpr std::size_t kTimeOffset = 4, kPathOffset = 20, kFramesOffset = 280, kSourceOffset = 284;

}  // namespace

std::string AlarmDBItem::FileName() const { return TextOf(szFileName); }
std::string AlarmDBItem::Source() const { return TextOf(szSource); }
void AlarmDBItem::SetFileName(std::string_view path) { SetText(szFileName, path); }
void AlarmDBItem::SetSource(std::string_view source) { SetText(szSource, source); }

void StoreAlarmItem(const AlarmDBItem& item, std::span<std::uint8_t, kAlarmItemBytes> out) {
    std::uint8_t* p = out.data();
    platform::StoreLe16(p, item.wNumber);
    p[2] = item.byReserved;
    p[3] = item.byState;
    const std::uint16_t time[] = {item.stTime.wYear, item.stTime.wMonth,  item.stTime.wDayOfWeek,
                                  item.stTime.wDay,  item.stTime.wHour,   item.stTime.wMinute,
                                  item.stTime.wSecond, item.stTime.wMilliseconds};
    for (std::size_t i = 0; i < 8; ++i)
        platform::StoreLe16(p + kTimeOffset + 2 * i, time[i]);
    std::memcpy(p + kPathOffset, item.szFileName.data(), kAlarmPathBytes);
    platform::StoreLe32(p + kFramesOffset, item.dwFrames);
    std::memcpy(p + kSourceOffset, item.szSource.data(), kAlarmSourceBytes);
}

AlarmDBItem LoadAlarmItem(std::span<const std::uint8_t, kAlarmItemBytes> in) {
    const std::uint8_t* p = in.data();
    AlarmDBItem item;
    item.wNumber = platform::LoadLe16(p);
    item.byReserved = p[2];
    item.byState = p[3];
    std::uint16_t* time[] = {&item.stTime.wYear, &item.stTime.wMonth,  &item.stTime.wDayOfWeek,
                             &item.stTime.wDay,  &item.stTime.wHour,   &item.stTime.wMinute,
                             &item.stTime.wSecond, &item.stTime.wMilliseconds};
    for (std::size_t i = 0; i < 8; ++i)
        *time[i] = platform::LoadLe16(p + kTimeOffset + 2 * i);
    std::memcpy(item.szFileName.data(), p + kPathOffset, kAlarmPathBytes);
    item.dwFrames = platform::LoadLe32(p + kFramesOffset);
    std::memcpy(item.szSource.data(), p + kSourceOffset, kAlarmSourceBytes);
    return item;
}

AlarmList ParseAlarmList(std::span<const std::uint8_t> bytes) {
    AlarmList list;
    if (bytes.size() < kAlarmListHeadBytes || bytes.size() > kAlarmListMaxFileBytes ||
        platform::LoadLe16(bytes.data()) != kAlarmListMagic) {
        list.status = AlarmList::Status::NotAList;
        return list;
    }
    const std::size_t counted = platform::LoadLe16(bytes.data() + 2);
    const std::size_t present = (bytes.size() - kAlarmListHeadBytes) / kAlarmItemBytes;
    const std::size_t count = std::min(counted, present);
    list.items.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        list.items.push_back(LoadAlarmItem(
            bytes.subspan(kAlarmListHeadBytes + i * kAlarmItemBytes).first<kAlarmItemBytes>()));
    return list;
}

std::vector<std::uint8_t> SerializeAlarmList(std::span<const AlarmDBItem> items) {
    const std::size_t count = std::min<std::size_t>(items.size(), 0xFFFF);
    std::vector<std::uint8_t> bytes(kAlarmListHeadBytes + count * kAlarmItemBytes);
    platform::StoreLe16(bytes.data(), kAlarmListMagic);
    platform::StoreLe16(bytes.data() + 2, static_cast<std::uint16_t>(count));
    for (std::size_t i = 0; i < count; ++i)
        StoreAlarmItem(items[i], std::span(bytes).subspan(kAlarmListHeadBytes + i * kAlarmItemBytes).first<kAlarmItemBytes>());
    return bytes;
}

}  // namespace recording
