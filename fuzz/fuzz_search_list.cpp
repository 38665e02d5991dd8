// A "/GetSearchList.cgi" page as the device sends it: any bytes give a
// refusal or at most the entries the body holds whole, and never more than
// a page can carry; every entry's row texts can be made.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "recording/search/RecordList.h"
#include "recording/search/SearchList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto page = recording::ParseSearchListPage(std::span(data, size));
    if (!page)
        return size > recording::kSearchPageBytes ? 0 : (std::abort(), 0);
    const std::size_t whole = size < 4 ? 0 : (size - 4) / recording::kSearchListEntryBytes;
    if (page->size() > whole || page->size() > recording::kSearchPageMaxEntries)
        std::abort();
    for (std::size_t i = 0; i < page->size(); ++i) {
        if (!std::equal((*page)[i].bytes.begin(), (*page)[i].bytes.end(), data + 4 + 16 * i))
            std::abort();
        (void)recording::RecordListRow(static_cast<int>(i + 1), (*page)[i]);
    }
    return 0;
}
