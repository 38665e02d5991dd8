#pragma once
// What the configuration sheet's pages share while it is open: the working
// copies, the values as loaded and the settings it was opened with. Held by
// the sheet and by its running jobs (Apply, the time-server page's
// synchronisation), so a close never pulls it from under them.

#include <memory>

#include "config/ConfigWorkingSet.h"
#include "config/sheet/SheetLocalSettings.h"

namespace config {

// Block 4's mail server, sender, user and password always end inside their
// fields: these bytes are zeroed in the copies as loaded.
inline constexpr std::size_t kSmtpTextEnds[] = {71, 87, 407, 439};

// The pages keep the values as loaded beside their edits (Tracked), which is
// what Apply compares; the sheet keeps no second record of them.
struct SheetContext : std::enable_shared_from_this<SheetContext> {
    SheetContext(session::AppData& app, DeviceFacts facts, SheetPrefill prefill)
        : app(app), set(app, std::move(facts)), prefill(std::move(prefill)) {
        set.ClearLoadedBytes(4, kSmtpTextEnds);
    }

    session::AppData& app;
    ConfigWorkingSet set;
    SheetPrefill prefill;

    // The working copies, keeping the whole context alive (the context is always shared).
    std::shared_ptr<ConfigWorkingSet> SharedSet() { return {shared_from_this(), &set}; }
};

}  // namespace config
