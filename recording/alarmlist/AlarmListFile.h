#pragma once
// "AlarmData.dat", the list of finished alarm recordings: a head {u16 0x9987,
// u16 count} and 316-byte items, oldest first, little-endian. Items are kept
// as their bytes so an unchanged item is written back exactly as read.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "session/SystemTime.h"

namespace recording {

inline constexpr std::uint16_t kAlarmListMagic = 0x9987;
inline constexpr std::size_t kAlarmListHeadBytes = 4;
inline constexpr std::size_t kAlarmItemBytes = 316;
inline constexpr std::size_t kAlarmListMaxItems = 1024;
inline constexpr std::size_t kAlarmPathBytes = 260;
inline constexpr std::size_t kAlarmSourceBytes = 32;
// The most a head can count; a larger file is not a list.
inline constexpr std::size_t kAlarmListMaxFileBytes = kAlarmListHeadBytes + kAlarmItemBytes * 0xFFFF;

// Item state bits: the page's marks.
inline constexpr std::uint8_t kAlarmItemFileMissing = 0x01;
inline constexpr std::uint8_t kAlarmItemDeleted = 0x02;

struct AlarmDBItem {
    std::uint16_t wNumber = 0;  // the list's count when the item was added
    std::uint8_t byReserved = 0;
    std::uint8_t byState = 0;
    session::SystemTime stTime;  // when the recording's first frame came
    std::array<char, kAlarmPathBytes> szFileName{};
    std::uint32_t dwFrames = 0;
    std::array<char, kAlarmSourceBytes> szSource{};

    // Texts up to their terminator.
    std::string FileName() const;
    std::string Source() const;
    // Cut on a UTF-8 character boundary to leave room for the terminator.
    void SetFileName(std::string_view path);
    void SetSource(std::string_view source);

    friend bool operator==(const AlarmDBItem&, const AlarmDBItem&) = default;
};

struct AlarmList {
    enum class Status { Ok, NotAList };  // NotAList: short head, wrong magic or too large
    Status status = Status::Ok;
    // The items the head counts, as far as the file holds them.
    std::vector<AlarmDBItem> items;
};

AlarmList ParseAlarmList(std::span<const std::uint8_t> bytes);
// The head with the items' count, then the items.
std::vector<std::uint8_t> SerializeAlarmList(std::span<const AlarmDBItem> items);

void StoreAlarmItem(const AlarmDBItem& item, std::span<std::uint8_t, kAlarmItemBytes> out);
AlarmDBItem LoadAlarmItem(std::span<const std::uint8_t, kAlarmItemBytes> in);

}  // namespace recording
