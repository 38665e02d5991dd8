#pragma once
// The DVR's list of recordings and events from "/GetSearchList.cgi": the
// 16-byte entries, their event kinds, the page reply and the search that
// asks for the newest page, then older ones, until the maximum or a short
// page. The search itself knows no socket: it is given the page request.

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace recording {

inline constexpr std::size_t kSearchListEntryBytes = 16;
inline constexpr std::size_t kSearchPageBytes = 2048;  // the reply area of one page
inline constexpr std::size_t kSearchPageHeaderBytes = 4;
inline constexpr std::size_t kSearchPageMaxEntries = (kSearchPageBytes - kSearchPageHeaderBytes) / kSearchListEntryBytes;
inline constexpr unsigned kSearchListMaxNumber = 2048;
// A page of fewer entries ends the list.
inline constexpr std::size_t kSearchFullPageEntries = 10;
inline constexpr std::chrono::milliseconds kSearchEndPause{500};

// "Dysk HDD nie istnieje", "Komenda nie zostałana wysłana do urządzenia !!", "NBRAK LISTY DANYCH"
inline constexpr unsigned kNoDiskMessage = 4109;
inline constexpr unsigned kCommandFailedMessage = 4065;
inline constexpr unsigned kNoListMessage = 4110;

enum EventKind : std::uint8_t {
    EVENT_KIND_ALARM = 0,
    EVENT_KIND_MOTION = 1,
    EVENT_KIND_TIMER = 2,
    EVENT_KIND_MANUAL = 3,
    EVENT_KIND_ALL = 8,
    EVENT_KIND_SYSTEM = 15,
};

struct SearchListEntry {
    std::array<std::uint8_t, kSearchListEntryBytes> bytes{};

    std::uint8_t byEventCode() const { return bytes[7]; }
    std::uint8_t byYear() const { return bytes[8]; }  // year - 2000
    // Year - 2000, month, day, hour, minute, second.
    std::array<std::uint8_t, 6> DateTime() const { return {bytes[8], bytes[9], bytes[10], bytes[11], bytes[12], bytes[13]}; }
};

// The kind of an event code; nullopt for a code of no known kind.
std::optional<EventKind> KindOfCode(std::uint8_t code);
// Channel 1-16 of an alarm or motion code, else 0.
unsigned ChannelOfCode(std::uint8_t code);

// The list-type selector's items in order, with the TYPE each sends and
// the result list's title.
struct ListType {
    const char* item;
    EventKind type;
    const char* title;
};
inline constexpr ListType kListTypes[] = {
    {"ALL", EVENT_KIND_ALL, "Full Record List"},          {"MANUAL", EVENT_KIND_MANUAL, "Manual Record List"},
    {"SYSTEM", EVENT_KIND_SYSTEM, "System Record List"}, {"ALARM", EVENT_KIND_ALARM, "Alarm Record List"},
    {"MOTION", EVENT_KIND_MOTION, "Motion Record List"},
};
// The list type at a selector position; nullopt when none is chosen.
std::optional<ListType> ListTypeAt(int position);

// One page: at most min(count word >> 4, whole entries in the body, 127)
// entries; a body longer than the reply area is refused.
std::optional<std::vector<SearchListEntry>> ParseSearchListPage(std::span<const std::uint8_t> body);

// The request parameters after the cookie: STATE ("LAST" for the first
// page, "PREV" after), HDD (the disk number), TYPE when a list type is chosen.
std::vector<std::pair<std::string, std::string>> SearchListParameters(bool firstPage, unsigned disk,
                                                                      std::optional<ListType> listType);

struct SearchListHooks {
    // Sends one page request; the reply body, nullopt when the request failed.
    std::function<std::optional<std::vector<std::uint8_t>>(bool firstPage)> fetchPage;
    // The entries stored so far.
    std::function<void(std::size_t stored)> progress;
    // The pause after the last page; false when the page closed meanwhile.
    std::function<bool(std::chrono::milliseconds)> pause;
};

struct SearchListResult {
    enum class End { Listed, Failed, Empty, Stopped };
    End end = End::Empty;
    std::vector<SearchListEntry> entries;
    std::size_t requests = 0;
};

// CEventPage::LoadSearchList's loop: pages until maxNumber entries are
// stored (the rest of a page dropped) or a page of fewer than ten ends it.
SearchListResult LoadSearchList(unsigned maxNumber, const SearchListHooks& hooks);

}  // namespace recording
