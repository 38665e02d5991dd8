#include "config/dvr/DvrRecordSettings.h"

#include <algorithm>

#include "config/DeviceRequest.h"
#include "session/net/CgiCommandTable.h"

namespace config {

namespace {

using K = DvrRecordKey;

struct Group {
    const char* flag;
    K key;
    std::optional<int> DvrRecordChoice::*choice;
};
constexpr Group kGroups[] = {
    {"CHMANUALREC", K::Manual, &DvrRecordChoice::manual},
    {"CHEVENTREC", K::Event, &DvrRecordChoice::event},
    {"CHTIMERREC", K::Timer, &DvrRecordChoice::timer},
    {"CHOV", K::Overwrite, &DvrRecordChoice::overwrite},
    {"CHQT", K::Quality, &DvrRecordChoice::quality},
    {"CHRECMODE", K::RecMode, &DvrRecordChoice::recordMode},
    {"CHMOTIONRATE", K::MotionRateType, &DvrRecordChoice::motionRate},
    {"CHMANUALRATE", K::ManualRateType, &DvrRecordChoice::manualRate},
    {"CHTIMERRATE", K::TimerRateType, &DvrRecordChoice::timerRate},
};

}  // namespace

session::CgiRequest DvrRecordRequest(const DVRRecordPageState& device, const DvrRecordChoice& page,
                                     std::string_view cookie, bool recordFixGiven) {
    auto request = RequestWithCookie(session::CMD_SET_RECORD_SETTING, cookie);
    for (const Group& group : kGroups) {
        const std::optional<int>& value = page.*group.choice;
        if (value && *value != device[group.key]) {
            request.AddIntParam(group.flag, 1);
            request.AddIntParam(kDvrRecordKeys[static_cast<std::size_t>(group.key)].key, *value);
        } else {
            request.AddIntParam(group.flag, 0);
        }
    }
    request.AddIntParam("CHIPSSHARE", page.recordFix || recordFixGiven ? 1 : 0);
    request.AddIntParam("RECORDFIX", page.recordFix.value_or(device[K::RecordFix]));
    return request;
}

}  // namespace config
