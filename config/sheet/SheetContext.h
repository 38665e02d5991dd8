#pragma once
// What the configuration sheet's pages share while it is open: the working
// copies, the values as loaded and the settings it was opened with. Held by
// the sheet and by its running jobs (Apply, the time-server page's
// synchronisation), so a close never pulls it from under them.

#include <memory>

#include "config/ConfigWorkingSet.h"
#include "config/sheet/LoadedConfigSnapshot.h"
#include "config/sheet/SheetLocalSettings.h"

namespace config {

struct SheetContext : std::enable_shared_from_this<SheetContext> {
    SheetContext(session::AppData& app, DeviceFacts facts, SheetPrefill prefill)
        : app(app), set(app, std::move(facts)), prefill(std::move(prefill)) {}

    session::AppData& app;
    ConfigWorkingSet set;
    SheetPrefill prefill;
    LoadedConfigSnapshot snapshot;  // taken when the sheet initialises

    // The working copies, keeping the whole context alive (the context is always shared).
    std::shared_ptr<ConfigWorkingSet> SharedSet() { return {shared_from_this(), &set}; }
};

}  // namespace config
