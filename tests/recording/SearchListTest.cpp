// The record search's core: disk names, the search-list page, the search's
// page loop, the record list's rows and filter, and the pick's block.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording/search/DiskMap.h"
#include "recording/search/PlaybackSearch.h"
#include "recording/search/RecordList.h"
#include "recording/search/SearchList.h"

namespace recording {
namespace {

using Bytes = std::vector<std::uint8_t>;

SearchListEntry Entry(std::uint8_t code, std::array<std::uint8_t, 6> time = {6, 10, 2, 13, 45, 7}) {
    SearchListEntry e;
    e.bytes[7] = code;
    std::copy(time.begin(), time.end(), e.bytes.begin() + 8);
    return e;
}

// A page body: the count word says `announced` (its low bits set), then the entries.
Bytes Page(const std::vector<SearchListEntry>& entries, std::size_t announced) {
    Bytes b{0, 0, static_cast<std::uint8_t>(announced << 4 | 0x0F), static_cast<std::uint8_t>(announced >> 4)};
    for (const auto& e : entries)
        b.insert(b.end(), e.bytes.begin(), e.bytes.end());
    return b;
}
Bytes Page(std::size_t n) {
    std::vector<SearchListEntry> entries;
    for (std::size_t i = 0; i < n; ++i)
        entries.push_back(Entry(static_cast<std::uint8_t>(i % 16)));
    return Page(entries, n);
}

TEST(SearchListTest, DisksAreNamedByNumber) {
    const std::pair<unsigned, std::string> cases[] = {{0, "MASTER1"}, {1, "SLAVE1"}, {2, "MASTER2"},
                                                      {3, "SLAVE2"},  {4, "EXT-01"}, {5, "EXT-02"},
                                                      {255, "EXT-252"}};
    for (const auto& [disk, name] : cases)
        EXPECT_EQ(DiskName(disk), name) << disk;

    Bytes reply(33, 0);
    reply[0] = 0x21;  // disks 0 and 5
    reply[31] = 0x80;  // disk 255
    const auto map = ParseDiskReply(reply);
    ASSERT_TRUE(map);
    EXPECT_EQ(map->Disks(), (std::vector<std::uint8_t>{0, 5, 255}));
    EXPECT_TRUE(ParseDiskReply(Bytes{0x01})->Present(0)) << "a short reply reads as zeros past its end";
    EXPECT_FALSE(ParseDiskReply(Bytes(kDiskReplyBytes + 1)));
}

TEST(SearchListTest, APageHoldsOnlyTheWholeEntriesItsBodyCarries) {
    struct Case {
        std::string what;
        Bytes body;
        std::optional<std::size_t> entries;
    };
    const Case cases[] = {
        {"as announced", Page(3), 3},
        {"200 announced in 40 bytes", Page({Entry(1), Entry(2)}, 200), 2},
        {"fewer announced than carried", Page({Entry(1), Entry(2), Entry(3)}, 1), 1},
        {"the largest page", Page(127), 127},
        {"count word 0", Page(0), 0},
        {"shorter than its count word", Bytes{0, 0}, 0},
        {"over the reply area", Bytes(kSearchPageBytes + 1, 0xFF), std::nullopt},
    };
    for (const auto& c : cases) {
        const auto page = ParseSearchListPage(c.body);
        ASSERT_EQ(page.has_value(), c.entries.has_value()) << c.what;
        if (page) {
            EXPECT_EQ(page->size(), *c.entries) << c.what;
        }
    }
    EXPECT_EQ((*ParseSearchListPage(Page({Entry(4), Entry(48)}, 2)))[1].byEventCode(), 48);
}

// A device answering each request with the next page size of the list.
struct ScriptedDevice {
    ScriptedDevice(std::vector<std::optional<Bytes>> scripted = {}) : pages(std::move(scripted)) {}

    std::vector<std::optional<Bytes>> pages;
    std::vector<bool> firstPages;
    std::vector<std::size_t> progress;
    int pauses = 0;

    SearchListResult Search(unsigned max) {
        SearchListHooks hooks;
        hooks.fetchPage = [this](bool first) -> std::optional<Bytes> {
            firstPages.push_back(first);
            return firstPages.size() <= pages.size() ? pages[firstPages.size() - 1] : Page(0);
        };
        hooks.progress = [this](std::size_t stored) { progress.push_back(stored); };
        hooks.pause = [this](std::chrono::milliseconds) { return ++pauses, true; };
        return LoadSearchList(max, hooks);
    }
};

TEST(SearchListTest, TheSearchAsksForTheNewestPageThenOlderOnesUpToTheMaximum) {
    ScriptedDevice device{{Page(10), Page(10), Page(10), Page(10)}};
    const auto result = device.Search(25);
    EXPECT_EQ(result.end, SearchListResult::End::Listed);
    EXPECT_EQ(result.entries.size(), 25u);
    EXPECT_EQ(device.firstPages, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(device.progress, (std::vector<std::size_t>{10, 20, 25}));
    EXPECT_EQ(device.pauses, 0);
}

TEST(SearchListTest, AShortPageEndsTheSearchAfterItsPause) {
    ScriptedDevice device{{Page(10), Page(7), Page(10)}};
    const auto result = device.Search(128);
    EXPECT_EQ(result.entries.size(), 17u);
    EXPECT_EQ(device.firstPages.size(), 2u);
    EXPECT_EQ(device.pauses, 1);
}

TEST(SearchListTest, NoMaximumNoListAndAFailedPageEndTheSearch) {
    ScriptedDevice none;
    EXPECT_EQ(none.Search(0).end, SearchListResult::End::Empty);
    EXPECT_TRUE(none.firstPages.empty()) << "no request";

    ScriptedDevice empty{{Page(0)}};
    EXPECT_EQ(empty.Search(128).end, SearchListResult::End::Empty);

    ScriptedDevice failing{{Page(10), std::nullopt}};
    EXPECT_EQ(failing.Search(128).end, SearchListResult::End::Failed);

    ScriptedDevice oversize{{Bytes(kSearchPageBytes + 16, 0)}};
    EXPECT_EQ(oversize.Search(128).end, SearchListResult::End::Failed);
}

TEST(SearchListTest, RequestsCarryStateDiskAndTheListTypesKind) {
    using Params = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(SearchListParameters(true, 5, ListTypeAt(0)), (Params{{"STATE", "LAST"}, {"HDD", "5"}, {"TYPE", "8"}}));
    EXPECT_EQ(SearchListParameters(false, 0, ListTypeAt(2)), (Params{{"STATE", "PREV"}, {"HDD", "0"}, {"TYPE", "15"}}));
    EXPECT_EQ(SearchListParameters(false, 3, ListTypeAt(5)), (Params{{"STATE", "PREV"}, {"HDD", "3"}}));
    EXPECT_EQ(SearchListParameters(true, 2, ListTypeAt(-1)).size(), 2u);
    const std::string types[] = {"8", "3", "15", "0", "1"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(SearchListParameters(true, 0, ListTypeAt(i)).back().second, types[i]);
}

TEST(SearchListTest, RowsShowEventChannelAndTime) {
    using Row = std::array<std::string, 4>;
    EXPECT_EQ(RecordListRow(1, Entry(4)), (Row{" 1", "ALARM", " 5", "2006-10-02  13:45:07"}));
    EXPECT_EQ(RecordListRow(12, Entry(31)), (Row{"12", "MOTION", "16", "2006-10-02  13:45:07"}));
    EXPECT_EQ(RecordListRow(3, Entry(32))[1], "TIMER");
    EXPECT_EQ(RecordListRow(3, Entry(48))[2], "ALL");
    EXPECT_EQ(RecordListRow(3, Entry(240))[1], "SYSTEM");
    EXPECT_EQ(RecordListRow(3, Entry(77))[1], "");
    EXPECT_EQ(RecordListRow(3, Entry(77))[2], "");
}

TEST(SearchListTest, UncheckingSystemHidesSystemAndTimerRowsAndAPickTakesTheRowsEntry) {
    const std::vector<SearchListEntry> entries{Entry(240), Entry(32), Entry(4), Entry(48), Entry(77), Entry(17)};
    EXPECT_EQ(AdmittedEntries(entries, {}), (std::vector<std::size_t>{0, 1, 2, 3, 5}));
    RecordListFilter noSystem;
    noSystem.m_bSystem = false;
    const auto rows = AdmittedEntries(entries, noSystem);
    EXPECT_EQ(rows, (std::vector<std::size_t>{2, 3, 5}));

    const auto pick = SelectionOf(entries[rows[0]], 1);
    EXPECT_EQ(pick.Bytes(), (std::array<std::uint8_t, 12>{1, 0, 6, 10, 2, 13, 45, 7, 1, 5, 0, 0}));
    EXPECT_EQ(SelectionOf(Entry(32), 0).byEventKind, 0);
    EXPECT_EQ(SelectionOf(Entry(48), 0).byChannel, 0);
    EXPECT_EQ(SelectionOf(Entry(17), 0).byEventKind, 1);
}

TEST(SearchListTest, PlaybackSearchListsTheDisksSortedAndSendsItsParametersInOrder) {
    DiskMap map;
    map.m_byDiskMap[0] = 0x23;  // disks 0, 1 and 5
    const auto items = PlaybackDiskItems(map);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].first, "ALL");
    EXPECT_EQ(items[1].first, "EXT-02");
    EXPECT_EQ(items[1].second, 5);
    EXPECT_EQ(items[2].first, "MASTER1");
    EXPECT_EQ(items[3].first, "SLAVE1");

    using Params = std::vector<std::pair<std::string, std::string>>;
    PlaybackSearchRequest time{false, 0, true, 2006, 10, 2, 13, 45, 7, std::nullopt};
    EXPECT_EQ(PlaybackSearchParameters(time), (Params{{"searchType", "time"}, {"year", "6"}, {"month", "10"},
                                                      {"day", "2"}, {"hour", "13"}, {"min", "45"}, {"sec", "7"},
                                                      {"hddNum", "ALL"}}));
    PlaybackSearchRequest motion{true, 15, false, 1999, 12, 31, 23, 59, 59, std::uint8_t{2}};
    const auto params = PlaybackSearchParameters(motion);
    EXPECT_EQ(Params(params.begin(), params.begin() + 4),
              (Params{{"searchType", "event"}, {"channelNum", "15"}, {"eventType", "1"}, {"year", "-1"}}));
    EXPECT_EQ(params.back(), (std::pair<std::string, std::string>{"hddNum", "2"})) << "MASTER2 is disk 2";

    EXPECT_EQ(PlaybackChannelCount("R41T"), 16u);
    EXPECT_EQ(PlaybackChannelCount("R42T"), 8u);
    EXPECT_EQ(PlaybackChannelCount("R43T"), 4u);
    EXPECT_EQ(PlaybackChannelCount("R47T"), 0u);
}

}  // namespace
}  // namespace recording
