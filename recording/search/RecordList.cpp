#include "recording/search/RecordList.h"

#include <cstdio>

namespace recording {

namespace {

struct KindRow {
    EventKind kind;
    const char* event;
};
constexpr KindRow kKindRows[] = {
    {EVENT_KIND_ALARM, "ALARM"},   {EVENT_KIND_MOTION, "MOTION"}, {EVENT_KIND_TIMER, "TIMER"},
    {EVENT_KIND_MANUAL, "MANUAL"}, {EVENT_KIND_SYSTEM, "SYSTEM"},
};

std::string Format2d(unsigned n) {
    char text[16];
    std::snprintf(text, sizeof text, "%2u", n);
    return text;
}

}  // namespace

std::array<std::string, 4> RecordListRow(int number, const SearchListEntry& entry) {
    std::array<std::string, 4> row;
    row[0] = Format2d(static_cast<unsigned>(number));
    const auto kind = KindOfCode(entry.byEventCode());
    for (const auto& k : kKindRows)
        if (kind && k.kind == *kind)
            row[1] = k.event;
    if (kind)
        row[2] = ChannelOfCode(entry.byEventCode()) ? Format2d(ChannelOfCode(entry.byEventCode())) : "ALL";
    const auto t = entry.DateTime();
    char time[48];
    std::snprintf(time, sizeof time, "%.4d-%.2d-%.2d  %.2d:%.2d:%.2d", t[0] + 2000, t[1], t[2], t[3], t[4], t[5]);
    row[3] = time;
    return row;
}

bool RecordListFilter::Admits(const SearchListEntry& entry) const {
    const auto kind = KindOfCode(entry.byEventCode());
    if (!kind)
        return false;
    switch (*kind) {
    case EVENT_KIND_ALARM: return m_bAlarm;
    case EVENT_KIND_MOTION: return m_bMotion;
    case EVENT_KIND_MANUAL: return m_bManual;
    case EVENT_KIND_SYSTEM: return m_bSystem;
    case EVENT_KIND_TIMER: return m_bAlarm && m_bMotion && m_bManual && m_bSystem;
    default: return false;
    }
}

std::vector<std::size_t> AdmittedEntries(const std::vector<SearchListEntry>& entries, const RecordListFilter& filter) {
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (filter.Admits(entries[i]))
            rows.push_back(i);
    return rows;
}

std::array<std::uint8_t, 12> PendingBackupSelection::Bytes() const {
    return {byPending,   byEventKind, dateTime[0], dateTime[1], dateTime[2], dateTime[3],
            dateTime[4], dateTime[5], byDiskIndex, byChannel,   reserved[0], reserved[1]};
}

PendingBackupSelection& PendingSelection() {
    static PendingBackupSelection selection;
    return selection;
}

PendingBackupSelection SelectionOf(const SearchListEntry& entry, std::uint8_t diskIndex) {
    PendingBackupSelection s;
    s.byDiskIndex = diskIndex;
    const auto kind = KindOfCode(entry.byEventCode());
    s.byEventKind = kind && *kind != EVENT_KIND_TIMER ? *kind : 0;
    s.byChannel = static_cast<std::uint8_t>(ChannelOfCode(entry.byEventCode()));
    s.dateTime = entry.DateTime();
    s.byPending = 1;
    return s;
}

}  // namespace recording
