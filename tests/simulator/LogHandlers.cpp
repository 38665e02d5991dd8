// The device's event log: "/Getlog.cgi" tells its size (STATE=COUNT) and
// sends it in pages of 30 records, the newest page first (STATE=LAST) and
// each earlier page after it (STATE=PRE); "/ClearLog.cgi" empties it.

#include <algorithm>
#include <memory>
#include <mutex>

#include "simulator/DeviceSimulator.h"

namespace devicesim {

namespace {

constexpr std::size_t kPage = 30;

struct LogCursor {
    std::mutex mutex;
    std::size_t next = 0;  // records before this one are still to be sent
};

}  // namespace

Bytes LogRecord(std::uint32_t event, int index, std::uint8_t channel, std::string_view user, std::uint8_t result) {
    Bytes record(32, 0);
    for (int i = 0; i < 4; ++i)
        record[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(event >> (8 * i));
    record[4] = static_cast<std::uint8_t>(index / 1000 % 100);
    record[5] = static_cast<std::uint8_t>(1 + index % 12);
    record[6] = static_cast<std::uint8_t>(1 + index % 28);
    record[7] = static_cast<std::uint8_t>(index % 24);
    record[8] = static_cast<std::uint8_t>(index % 60);
    record[9] = static_cast<std::uint8_t>((index * 7) % 60);
    record[10] = channel;
    std::copy_n(user.begin(), std::min<std::size_t>(user.size(), 15), record.begin() + 11);
    record[27] = result;
    return record;
}

void InstallLogHandlers(DeviceSimulator& simulator) {
    auto cursor = std::make_shared<LogCursor>();
    simulator.SetHandler("/Getlog.cgi", [cursor](DeviceSimulator& device, const Request& request) {
        const DeviceState state = device.State();
        if (!Authorised(state, request))
            return Reply::WithStatus(401);
        const auto& log = state.profile.log;
        const std::string command = request.Param("STATE").value_or("");
        if (command == "COUNT")
            return Reply::Ok("COUNT=" + std::to_string(log.size()) + ";");
        std::lock_guard lock(cursor->mutex);
        if (command == "LAST")
            cursor->next = log.size();
        else if (command != "PRE")
            return Reply::Ok();  // nothing asked for: an empty page
        const std::size_t end = std::min(cursor->next, log.size());
        const std::size_t begin = end - std::min(end, kPage);
        std::string body;
        for (std::size_t i = end; i > begin; --i)
            body.append(log[i - 1].begin(), log[i - 1].end());
        cursor->next = begin;
        return Reply::Ok(body);
    });
    simulator.SetHandler("/ClearLog.cgi", [](DeviceSimulator& device, const Request& request) {
        Reply reply = Reply::WithStatus(401);
        device.Update([&](DeviceState& state) {
            if (!Authorised(state, request))
                return;
            state.profile.log.clear();
            reply = Reply::Ok();
        });
        return reply;
    });
}

}  // namespace devicesim
