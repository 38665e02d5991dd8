// The DVR's own settings pages: "/GetDvrDate.cgi" and "/GetRecordSetting.cgi"
// answer the profile's items as "KEY=value;" text; their Set requests change
// the keys of each group whose change flag is 1.

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "simulator/DeviceSimulator.h"

namespace devicesim {

namespace {

struct Group {
    const char* flag;
    std::vector<const char*> keys;
};

const std::vector<Group> kDateGroups{
    {"CHDATE", {"YEAR", "MONTH", "DAY", "HOUR", "MINUTE", "SECOND"}},
    {"CHFORMAT", {"FORMAT"}},
    {"CHDAYLIGHT", {"DAYLIGHTSAVING"}},
    {"CHDAYLIGHTTIME",
     {"STARTWEEKINDEX", "STARTDAYOFWEEK", "STARTMONTH", "STARTHOUR", "STARTMINUTE", "ENDWEEKINDEX", "ENDDAYOFWEEK",
      "ENDMONTH", "ENDHOUR", "ENDMINUTE", "ADJUSTHOUR", "ADJUSTMINUTE"}},
};

const std::vector<Group> kRecordGroups{
    {"CHMANUALREC", {"MANUAL"}},       {"CHEVENTREC", {"EVENT"}},
    {"CHTIMERREC", {"TIMER"}},         {"CHOV", {"OVERWRITE"}},
    {"CHQT", {"QUALITY"}},             {"CHRECMODE", {"RECMODE"}},
    {"CHMOTIONRATE", {"MOTIONRATETYPE"}}, {"CHMANUALRATE", {"MANUALRATETYPE"}},
    {"CHTIMERRATE", {"TIMERRATETYPE"}}, {"CHIPSSHARE", {"RECORDFIX"}},
};

using Items = DeviceProfile::KeyValues DeviceProfile::*;

ReplyHandler Get(Items items) {
    return [items](DeviceSimulator& device, const Request& request) {
        const DeviceState state = device.State();
        if (!Authorised(state, request))
            return Reply::WithStatus(401);
        std::string text;
        for (const auto& [key, value] : state.profile.*items)
            text += key + "=" + std::to_string(value) + ";";
        return Reply::Ok(text);
    };
}

void SetValue(DeviceProfile::KeyValues& items, const std::string& key, int value) {
    for (auto& item : items)
        if (item.first == key) {
            item.second = value;
            return;
        }
    items.emplace_back(key, value);
}

ReplyHandler Set(Items items, const std::vector<Group>& groups) {
    return [items, &groups](DeviceSimulator& device, const Request& request) {
        Reply reply = Reply::WithStatus(401);
        device.Update([&](DeviceState& state) {
            if (!Authorised(state, request))
                return;
            for (const Group& group : groups) {
                if (request.Param(group.flag) != "1")
                    continue;
                for (const char* key : group.keys)
                    if (auto value = request.Param(key))
                        SetValue(state.profile.*items, key, std::atoi(value->c_str()));
            }
            reply = Reply::Ok();
        });
        return reply;
    };
}

}  // namespace

void InstallDvrSettingsHandlers(DeviceSimulator& simulator) {
    simulator.SetHandler("/GetDvrDate.cgi", Get(&DeviceProfile::dvrDate));
    simulator.SetHandler("/SetDvrDate.cgi", Set(&DeviceProfile::dvrDate, kDateGroups));
    simulator.SetHandler("/GetRecordSetting.cgi", Get(&DeviceProfile::recordSetting));
    simulator.SetHandler("/SetRecordSetting.cgi", Set(&DeviceProfile::recordSetting, kRecordGroups));
}

}  // namespace devicesim
