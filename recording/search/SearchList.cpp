#include "recording/search/SearchList.h"

#include <algorithm>

#include "platform/ByteOrder.h"

namespace recording {

std::optional<EventKind> KindOfCode(std::uint8_t code) {
    if (code < 16)
        return EVENT_KIND_ALARM;
    if (code < 32)
        return EVENT_KIND_MOTION;
    switch (code) {
    case 32: return EVENT_KIND_TIMER;
    case 48: return EVENT_KIND_MANUAL;
    case 240: return EVENT_KIND_SYSTEM;
    default: return std::nullopt;
    }
}

unsigned ChannelOfCode(std::uint8_t code) { return code < 32 ? (code & 15u) + 1 : 0; }

std::optional<ListType> ListTypeAt(int position) {
    if (position < 0 || position >= static_cast<int>(std::size(kListTypes)))
        return std::nullopt;
    return kListTypes[position];
}

std::optional<std::vector<SearchListEntry>> ParseSearchListPage(std::span<const std::uint8_t> body) {
    if (body.size() > kSearchPageBytes)
        return std::nullopt;
    std::vector<SearchListEntry> entries;
    if (body.size() < kSearchPageHeaderBytes)
        return entries;  // the zeroed reply area: count 0
    const std::size_t announced = platform::LoadLe16(body.data() + 2) >> 4;
    const std::size_t whole = (body.size() - kSearchPageHeaderBytes) / kSearchListEntryBytes;
    const std::size_t n = std::min({announced, whole, kSearchPageMaxEntries});
    entries.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        std::copy_n(body.data() + kSearchPageHeaderBytes + i * kSearchListEntryBytes, kSearchListEntryBytes,
                    entries[i].bytes.begin());
    return entries;
}

std::vector<std::pair<std::string, std::string>> SearchListParameters(bool firstPage, unsigned disk,
                                                                      std::optional<ListType> listType) {
    std::vector<std::pair<std::string, std::string>> params{{"STATE", firstPage ? "LAST" : "PREV"},
                                                            {"HDD", std::to_string(disk)}};
    if (listType)
        params.emplace_back("TYPE", std::to_string(listType->type));
    return params;
}

SearchListResult LoadSearchList(unsigned maxNumber, const SearchListHooks& hooks) {
    SearchListResult result;
    const std::size_t max = std::min(maxNumber, kSearchListMaxNumber);
    while (result.entries.size() < max) {
        ++result.requests;
        const auto body = hooks.fetchPage(result.entries.empty());
        const auto page = body ? ParseSearchListPage(*body) : std::nullopt;
        if (!page) {
            result.end = SearchListResult::End::Failed;
            return result;
        }
        const std::size_t take = std::min(page->size(), max - result.entries.size());
        result.entries.insert(result.entries.end(), page->begin(), page->begin() + static_cast<std::ptrdiff_t>(take));
        if (!page->empty() && hooks.progress)
            hooks.progress(result.entries.size());
        if (page->size() < kSearchFullPageEntries) {
            if (hooks.pause && !hooks.pause(kSearchEndPause)) {
                result.end = SearchListResult::End::Stopped;
                return result;
            }
            break;
        }
    }
    result.end = result.entries.empty() ? SearchListResult::End::Empty : SearchListResult::End::Listed;
    return result;
}

}  // namespace recording
