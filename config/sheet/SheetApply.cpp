#include "config/sheet/SheetApply.h"

#include <condition_variable>
#include <mutex>

#include "config/ConfigWorkingSet.h"
#include "session/AppData.h"
#include "session/net/OptionBlocks.h"

namespace config {

namespace {

enum class When : std::uint8_t { Always, ServerOrG66M, ToolBox, Dvr, NotN5H };

struct Step {
    ApplyRoutine routine;
    When when;
};

// The sheet's order of the send routines and the devices each runs for.
constexpr Step kSteps[] = {
    {ApplyRoutine::Account, When::Always},      {ApplyRoutine::Alarm, When::Always},
    {ApplyRoutine::Mail, When::Always},         {ApplyRoutine::Ftp, When::Always},
    {ApplyRoutine::Device, When::Always},       {ApplyRoutine::Detection, When::Always},
    {ApplyRoutine::Camera, When::Always},       {ApplyRoutine::Ddns, When::Always},
    {ApplyRoutine::Peripheral, When::ServerOrG66M}, {ApplyRoutine::Sntp, When::ServerOrG66M},
    {ApplyRoutine::ToolBox, When::ToolBox},     {ApplyRoutine::TimerRecord, When::Dvr},
    {ApplyRoutine::DvrDate, When::Dvr},         {ApplyRoutine::DvrRecordSetting, When::Dvr},
    {ApplyRoutine::Network, When::NotN5H},
};

bool Runs(When when, const DeviceFacts& facts, bool toolBoxShown) {
    switch (when) {
    case When::Always: return true;
    case When::ServerOrG66M: return facts.IsVideoServer() || facts.IsG66M();
    case When::ToolBox: return toolBoxShown && (facts.IsDvr() || facts.IsVideoServer());
    case When::Dvr: return facts.IsDvr();
    case When::NotN5H: return !facts.IsN5H();
    }
    return false;
}

}  // namespace

ApplyContext::ApplyContext(session::AppData& app, ConfigWorkingSet& set, const platform::Timing& timing,
                           std::stop_token stop, ApplyMessage message)
    : app_(app),
      set_(set),
      routineStart_(set.WorkingBlocks()),
      timing_(timing),
      stop_(std::move(stop)),
      message_(std::move(message)) {}

void ApplyContext::BeginRoutine() { routineStart_ = set_.WorkingBlocks(); }

bool ApplyContext::Store(std::uint8_t option, bool refresh) {
    return StoreBlock(option, refresh, set_.ChangedSince(routineStart_, option));
}

bool ApplyContext::StoreBlock(std::uint8_t option, bool refresh, bool routineChanged) {
    if (!routineChanged || !set_.Changed(option))
        return true;
    const auto block = set_.Working(option);
    if (session::StoreSystemConfig(app_, timing_, option, block, static_cast<std::int32_t>(block.size()), refresh,
                                   stop_) != 1)
        return false;
    set_.Commit(option);
    return true;
}

bool ApplyContext::StoreOrReport(std::uint8_t option, unsigned messageId) {
    if (Store(option))
        return true;
    if (!StopRequested())
        ShowMessage(messageId);
    return false;
}

bool ApplyContext::StoreOrReportText(std::uint8_t option, const std::string& text) {
    if (Store(option))
        return true;
    if (!StopRequested())
        ShowMessageText(text);
    return false;
}

bool ApplyContext::StoreEditedOrReport(std::uint8_t option) {
    if (StoreBlock(option, false, true))
        return true;
    if (!StopRequested())
        ShowMessage(4012);
    return false;
}

void ApplyContext::ShowMessage(unsigned stringId) {
    if (message_)
        message_(stringId, {});
}

void ApplyContext::ShowMessageText(const std::string& text) {
    if (message_)
        message_(0, text);
}

bool ApplyContext::Pause(std::chrono::milliseconds duration) {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    return !wake.wait_for(lock, stop_, duration, [] { return false; }) && !stop_.stop_requested();
}

ApplyOutcome RunApplyRoutines(const ApplyRoutines& routines, ApplyContext& context, bool toolBoxShown,
                              std::chrono::milliseconds networkPause) {
    ApplyOutcome outcome;
    const DeviceFacts& facts = context.Set().Facts();
    for (const Step& step : kSteps) {
        if (context.StopRequested()) {
            outcome.stopped = true;
            break;
        }
        const SendRoutine& routine = routines[static_cast<std::size_t>(step.routine)];
        if (!routine || !Runs(step.when, facts, toolBoxShown))
            continue;
        context.BeginRoutine();
        const int result = routine(context);
        if (step.routine == ApplyRoutine::Network) {
            outcome.networkResult = result;
            if (result != 0 && !context.Pause(networkPause))
                outcome.stopped = true;
        }
    }
    outcome.peripheralsChanged = context.peripheralsChanged;
    outcome.rs485Changed = context.rs485Changed;
    outcome.stopped = outcome.stopped || context.StopRequested();
    return outcome;
}

}  // namespace config
