// The DVR's settings replies ("/GetDvrDate.cgi", "/GetRecordSetting.cgi") as any bytes: a reply
// that fills the area gives nothing, a read gives one value per key within its bits (0 for a
// key the reply lacks), the date
// page's untouched choices send nothing, the record page's always send their one request, and
// the record rates and day of the week take whatever values the device gave.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "config/dvr/DvrDateSettings.h"
#include "config/dvr/DvrRecordSettings.h"
#include "config/dvr/KeyValueReply.h"
#include "config/dvr/RecordRateTable.h"

namespace {

void CheckValues(const std::optional<config::KeyValueRead>& read, std::span<const config::KeyValueKey> keys,
                 std::string_view reply) {
    if (!read)
        return;
    if (reply.size() >= config::kKeyValueReplyArea || read->values.size() != keys.size() ||
        read->given.size() != keys.size())
        std::abort();
    for (std::size_t k = 0; k < keys.size(); ++k)
        if ((keys[k].bits == 8 && read->values[k] > 0xFF) || (!read->given[k] && read->values[k] != 0))
            std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    config::ParseDecimalLowBits(reply);

    const auto date = config::ReadKeyValueReply(reply, config::kDvrDateKeys);
    CheckValues(date, config::kDvrDateKeys, reply);
    if (date) {
        using K = config::DvrDateKey;
        const auto state = config::DVRDatePageState::From(date->values);
        if (config::DvrDateRequest(state, config::ChoiceOf(state), "5A17C0DE"))
            std::abort();
        const int day = config::DayOfWeek(state[K::Year], state[K::Month], state[K::Day]);
        if (day < 0 || day > 6)
            std::abort();
    }

    const auto record = config::ReadKeyValueReply(reply, config::kDvrRecordKeys);
    CheckValues(record, config::kDvrRecordKeys, reply);
    if (record) {
        using K = config::DvrRecordKey;
        const auto state = config::DVRRecordPageState::From(record->values);
        if (config::DvrRecordRequest(state, {}, "5A17C0DE").Text().empty())
            std::abort();
        for (const int channels : {4, 8, 16})
            config::RecordRates(channels, state[K::VideoType], state[K::RecMode]);
    }
    return 0;
}
