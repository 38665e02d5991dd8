#pragma once
// The tool box page's device texts: the description (block 7's device name,
// DVR and video server) and, on video servers from "1010", the two channel
// names of block 10. The page shows them cut to 8 and 3 characters; a text
// longer than that stays on the device unless the person edits it.

#include <array>
#include <string>

#include "config/Tracked.h"
#include "config/pages/BlockStore.h"

namespace session {
class AppData;
}

namespace config {

class ConfigWorkingSet;

inline constexpr std::size_t kDescriptionChars = 8;
inline constexpr std::size_t kChannelNameChars = 3;

struct ToolBoxValues {
    Tracked<std::string> description;
    std::array<Tracked<std::string>, 2> channelNames;
};

// The texts as the page shows them (cut).
ToolBoxValues LoadToolBoxValues(const ConfigWorkingSet& set);
// Apply: a changed description into block 7, stored, and then the program's
// device name; changed channel names into block 10, stored. Failures are
// not reported. Returns 1.
int SendToolBoxConfig(const ToolBoxValues& values, ConfigWorkingSet& set, const StoreBlock& store,
                      session::AppData& app);

}  // namespace config
