#pragma once
// What the configuration sheet's pages share while it is open: the working
// copies, the values as loaded and the settings it was opened with. Held by
// the sheet and by a running Apply, so a close never pulls it from under it.

#include <memory>

#include "config/ConfigWorkingSet.h"
#include "config/sheet/LoadedConfigSnapshot.h"
#include "config/sheet/SheetLocalSettings.h"

namespace config {

struct SheetContext {
    SheetContext(session::AppData& app, DeviceFacts facts, SheetPrefill prefill)
        : app(app), set(app, std::move(facts)), prefill(std::move(prefill)) {}

    session::AppData& app;
    ConfigWorkingSet set;
    SheetPrefill prefill;
    LoadedConfigSnapshot snapshot;  // taken when the sheet initialises
};

}  // namespace config
