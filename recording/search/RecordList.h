#pragma once
// The record list's rules without its window: the row texts of an entry,
// which entries the kind boxes admit, and the block a pick leaves for the
// network backup page.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "recording/search/SearchList.h"

namespace recording {

// "Musisz coś wybrać"
inline constexpr unsigned kNothingChosenMessage = 4050;

// The columns "NO.", "EVENT", "CHANNEL", "TIME" of one row (number from 1).
std::array<std::string, 4> RecordListRow(int number, const SearchListEntry& entry);

// The kind boxes of the record list.
struct RecordListFilter {
    bool m_bAlarm = true;
    bool m_bMotion = true;
    bool m_bManual = true;
    bool m_bSystem = true;

    // A timer entry only while every box is on; a code of no known kind never.
    bool Admits(const SearchListEntry& entry) const;
};

// The entries the filter admits, in order: the rows the list shows, each
// keeping its entry, so a pick takes the entry the operator sees.
std::vector<std::size_t> AdmittedEntries(const std::vector<SearchListEntry>& entries, const RecordListFilter& filter);

// Filled by a pick, taken over by the network backup page.
struct PendingBackupSelection {
    std::uint8_t byPending = 0;
    std::uint8_t byEventKind = 0;  // 0 alarm, 1 motion, 3 manual, 15 system; 0 for any other
    std::array<std::uint8_t, 6> dateTime{};  // year - 2000, month, day, hour, minute, second
    std::uint8_t byDiskIndex = 0;  // position in the disk selector
    std::uint8_t byChannel = 0;    // 1-16 for alarm and motion, else 0
    std::array<std::uint8_t, 2> reserved{};

    // The block's 12 bytes, in field order.
    std::array<std::uint8_t, 12> Bytes() const;
};

// The program's one pending pick, between the record list and the network
// backup page (GUI thread only). Every opening sheet clears it.
PendingBackupSelection& PendingSelection();

PendingBackupSelection SelectionOf(const SearchListEntry& entry, std::uint8_t diskIndex);

}  // namespace recording
