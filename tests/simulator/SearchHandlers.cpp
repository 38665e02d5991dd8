// The DVR's disks and recordings: "/GetDvrHDD.cgi" sends the disk map,
// "/GetSearchList.cgi" the recorded events of one disk and kind in pages, the
// newest page first (STATE=LAST) and each older one after it (STATE=PREV).
// "/SearchPlayBack.cgi" keeps its plain 200 (a test sets another status as a fault).

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <mutex>

#include "simulator/DeviceSimulator.h"

namespace devicesim {

namespace {

constexpr int kAllKinds = 8;

struct SearchCursor {
    std::mutex mutex;
    std::size_t next = 0;  // entries before this one are still to be sent
};

// TYPE is the event kind, the code's high nibble; 8 or none asks for every kind.
bool OfKind(const Bytes& entry, int type) {
    return type == kAllKinds || entry.size() < 8 || entry[7] >> 4 == type;
}

Reply DiskMap(DeviceSimulator& device, const Request& request) {
    const DeviceState state = device.State();
    if (!Authorised(state, request))
        return Reply::WithStatus(401);
    std::string body(33, '\0');
    for (int disk : state.profile.disks)
        if (disk >= 0 && disk < 256)
            body[static_cast<std::size_t>(disk / 8)] |= static_cast<char>(1 << (disk % 8));
    body[32] = static_cast<char>(state.profile.diskFlag);
    return Reply::Ok(body);
}

}  // namespace

Bytes SearchEntry(std::uint8_t code, std::array<std::uint8_t, 6> time) {
    Bytes entry(16, 0);
    entry[7] = code;
    std::copy(time.begin(), time.end(), entry.begin() + 8);
    return entry;
}

void InstallSearchHandlers(DeviceSimulator& simulator) {
    simulator.SetHandler("/GetDvrHDD.cgi", DiskMap);
    auto cursor = std::make_shared<SearchCursor>();
    simulator.SetHandler("/GetSearchList.cgi", [cursor](DeviceSimulator& device, const Request& request) {
        const DeviceState state = device.State();
        if (!Authorised(state, request))
            return Reply::WithStatus(401);
        const int disk = std::atoi(request.Param("HDD").value_or("0").c_str());
        const int type = std::atoi(request.Param("TYPE").value_or("8").c_str());
        std::vector<Bytes> listed;
        if (const auto found = state.profile.recordedEvents.find(disk); found != state.profile.recordedEvents.end())
            std::copy_if(found->second.begin(), found->second.end(), std::back_inserter(listed),
                         [type](const Bytes& entry) { return OfKind(entry, type); });

        std::lock_guard lock(cursor->mutex);
        if (request.Param("STATE") != "PREV")
            cursor->next = listed.size();
        const std::size_t end = std::min(cursor->next, listed.size());
        const std::size_t begin = end - std::min(end, state.profile.searchPageSize);
        cursor->next = begin;
        const unsigned count = state.profile.searchCountWord.value_or(static_cast<unsigned>(end - begin));
        const unsigned word = (count << 4 | 0x0F) & 0xFFFF;
        std::string body{'\0', '\0', static_cast<char>(word & 0xFF), static_cast<char>(word >> 8)};
        for (std::size_t i = end; i > begin; --i)
            body.append(listed[i - 1].begin(), listed[i - 1].end());
        return Reply::Ok(body);
    });
}

}  // namespace devicesim
