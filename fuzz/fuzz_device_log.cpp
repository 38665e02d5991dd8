// The device's event log as it arrives: a count reply of any bytes gives a
// number only for "COUNT=<digits>;", and any 32-byte records give rows in
// both viewers, one per record the mask lets through.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

#include "config/log/LogFetchJob.h"
#include "config/log/LogViewTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    if (config::ParseLogCount(reply) && reply.find("COUNT=") == std::string_view::npos)
        std::abort();

    std::vector<config::DeviceLogRecord> records;
    for (std::size_t at = 0; at + config::kLogRecordSize <= size; at += config::kLogRecordSize)
        records.push_back(config::DeviceLogRecord::Parse(std::span<const std::uint8_t, config::kLogRecordSize>(
            data + at, config::kLogRecordSize)));
    for (const auto viewer : {config::LogViewer::Dvr, config::LogViewer::Server}) {
        const auto rows = config::LogRows(viewer, records, 0xFFFFFFFFu);
        if (rows.size() > records.size())
            std::abort();
        for (const auto& row : rows)
            if (row.empty())
                std::abort();
    }
    return 0;
}
