#include "config/pages/SntpValues.h"

#include "config/ConfigWorkingSet.h"
#include "config/pages/TimeZoneTable.h"
#include "session/net/CgiCommandTable.h"
#include "session/net/CgiRequest.h"

namespace config {

namespace {

void WriteServerName(ConfigWorkingSet& set, int serverMode, const std::string& name) {
    set.Write(8, "sz_SntpServer", 0, serverMode == kServerNamed ? name : std::string());
}

void WriteZone(ConfigWorkingSet& set, int zone) {
    const TimeZoneRow* row = TimeZoneAt(zone);
    if (!row)
        return;  // no row: the stored zone stays
    set.Write(8, "by_TimeZone", 0, std::int64_t(zone));
    set.Write(8, "by_TzHours", 0, std::int64_t(row->hours));
    set.Write(8, "by_TzMinutes", 0, std::int64_t(row->minutes));
}

}  // namespace

SntpValues LoadSntpValues(const ConfigWorkingSet& set) {
    SntpValues values;
    values.server.Load(set.Text(8, "sz_SntpServer"));
    values.timeZone.Load(static_cast<int>(set.Number(8, "by_TimeZone")));
    values.timeMode.Load(static_cast<int>(set.Number(8, "by_TimeSource")));
    values.serverMode.Load(values.server.Loaded().empty() ? kServerAutomatic : kServerNamed);
    return values;
}

std::string SyncTimeRequest(const SntpValues& values, const PersonTime& time, const std::string& cookie) {
    session::CgiRequest request(session::CMD_SYNC_TIME);
    if (!cookie.empty())
        request.AddParam("Cookie", cookie);
    request.AddIntParam("Mode", values.timeMode.Current());
    if (values.timeMode.Current() == kTimeByPerson) {
        request.AddIntParam("Year", time.year);
        request.AddIntParam("Month", time.month);
        request.AddIntParam("Day", time.day);
        request.AddIntParam("Hour", time.hour);
        request.AddIntParam("Minute", time.minute);
        request.AddIntParam("Second", time.second);
    } else {
        const TimeZoneRow* row = TimeZoneAt(values.timeZone.Current());
        if (!row)
            return {};
        request.AddIntParam("ServerMode", values.serverMode.Current());
        if (values.serverMode.Current() == kServerNamed)
            request.AddParam("Server", values.server.Current());
        request.AddIntParam("NationID", values.timeZone.Current());
        request.AddIntParam("Hour", row->hours);
        request.AddIntParam("Minute", row->minutes);
    }
    return std::string(request.Text());
}

int SendSntpConfig(const SntpValues& values, ConfigWorkingSet& set, const StoreBlock& store) {
    if (values.serverMode.Changed() || values.server.Changed())
        WriteServerName(set, values.serverMode.Current(), values.server.Current());
    if (values.timeZone.Changed())
        WriteZone(set, values.timeZone.Current());
    if (values.timeMode.Changed())
        set.Write(8, "by_TimeSource", 0, std::int64_t(values.timeMode.Current()));
    store(8);
    return 0;
}

bool StoreSynchronisedSntp(const SntpValues& values, ConfigWorkingSet& set, const StoreBlock& store) {
    if (set.Number(8, "by_TimeSource") != values.timeMode.Current())
        set.Write(8, "by_TimeSource", 0, std::int64_t(values.timeMode.Current()));
    const std::string name = values.serverMode.Current() == kServerNamed ? values.server.Current() : std::string();
    if (set.Text(8, "sz_SntpServer") != name)
        WriteServerName(set, values.serverMode.Current(), name);
    if (set.Number(8, "by_TimeZone") != values.timeZone.Current())
        WriteZone(set, values.timeZone.Current());
    return store(8);
}

}  // namespace config
