#include "config/pages/ToolBoxValues.h"

#include "config/ConfigWorkingSet.h"
#include "config/pages/PageText.h"
#include "session/AppData.h"

namespace config {

namespace {
constexpr std::uint8_t kSystem = 7, kRs485 = 10;
}

ToolBoxValues LoadToolBoxValues(const ConfigWorkingSet& set) {
    ToolBoxValues values;
    values.description.Load(BlockHead(set.Text(kSystem, "sz_DeviceName"), kDescriptionChars));
    if (set.Facts().HasChannelNames())
        for (std::size_t n = 0; n < values.channelNames.size(); ++n)
            values.channelNames[n].Load(BlockHead(set.Text(kRs485, "sz_ChannelName", n), kChannelNameChars));
    return values;
}

int SendToolBoxConfig(const ToolBoxValues& values, ConfigWorkingSet& set, const StoreBlock& store,
                      session::AppData& app) {
    if (values.description.Changed() &&
        set.Write(kSystem, "sz_DeviceName", 0, values.description.Current()) == FieldStatus::Ok &&
        store(kSystem))
        app.str_DeviceName = values.description.Current();
    if (!set.Facts().HasChannelNames())
        return 1;
    bool named = false;
    for (std::size_t n = 0; n < values.channelNames.size(); ++n)
        if (values.channelNames[n].Changed() &&
            set.Write(kRs485, "sz_ChannelName", n, values.channelNames[n].Current()) == FieldStatus::Ok)
            named = true;
    if (named)
        store(kRs485);
    return 1;
}

}  // namespace config
