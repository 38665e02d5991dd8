#pragma once
// Runs a page's Apply routine against the simulated device, as the sheet's
// Apply does for one page: its controls pulled, its routine on the working set.

#include <string>

#include "config/PageDevice.h"
#include "config/gui/ConfigPage.h"

namespace testutil {

// The routine's result; -1 when the page has no routine in that slot.
inline int RunRoutine(config::ConfigPage& page, PageDevice& run, config::ConfigWorkingSet& set,
                      config::ApplyRoutine slot) {
    config::ApplyRoutines routines;
    page.PullControls();
    page.AddSendRoutines(routines);
    auto& routine = routines[static_cast<std::size_t>(slot)];
    if (!routine)
        return -1;
    config::ApplyContext context(run.app, set, run.timing, {}, [](unsigned, const std::string&) {});
    return routine(context);
}

}  // namespace testutil
