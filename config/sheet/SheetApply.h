#pragma once
// The device half of the sheet's Apply: the pages' send routines in the
// sheet's order and family conditions, run as one job on the device-command
// worker while the sheet is disabled. A routine writes its changes into the
// working copies and stores each block its page changed; a stored block is
// committed into the session's blocks, a failed one is not. A block an
// earlier routine left changed (its store failed, or it stopped before it)
// is not stored again by a routine whose page changed nothing in it.

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>

#include "platform/Timing.h"
#include "session/net/OptionBlocks.h"

namespace session {
class AppData;
}

namespace config {

class ConfigWorkingSet;
struct DeviceFacts;

// Shows a message box: a string id, or (id 0) a literal text. Called on the
// job's thread as the failure happens; it hands the message over to the GUI
// thread and returns at once, so the job goes on.
using ApplyMessage = std::function<void(unsigned stringId, const std::string& text)>;

class ApplyContext {
public:
    ApplyContext(session::AppData& app, ConfigWorkingSet& set, const platform::Timing& timing,
                 std::stop_token stop, ApplyMessage message);

    session::AppData& App() { return app_; }
    ConfigWorkingSet& Set() { return set_; }
    std::stop_token StopToken() const { return stop_; }
    bool StopRequested() const { return stop_.stop_requested(); }

    // A routine begins: what it writes from here on is its page's change.
    void BeginRoutine();
    // Stores the working block when the running routine changed its bytes (and
    // they differ from the loaded ones) and commits it once the device took
    // it; a block the routine did not change is not sent (true).
    bool Store(std::uint8_t option, bool refresh = false);
    // The same; a failure shows the message (string id or text) unless the sheet is closing.
    bool StoreOrReport(std::uint8_t option, unsigned messageId = 4012);
    bool StoreOrReportText(std::uint8_t option, const std::string& text);
    // For a page that edits the working copies itself before Apply: stores a
    // block it edited when its bytes differ from the loaded ones; reports a failure.
    bool StoreEditedOrReport(std::uint8_t option);
    void ShowMessage(unsigned stringId);
    void ShowMessageText(const std::string& text);
    // Waits; false when the sheet closes first.
    bool Pause(std::chrono::milliseconds duration);

    const platform::Timing& Timing() const { return timing_; }

    // Set by the peripheral and device routines for the sheet's rebuild afterwards.
    bool peripheralsChanged = false;
    bool rs485Changed = false;

private:
    bool StoreBlock(std::uint8_t option, bool refresh, bool routineChanged);

    session::AppData& app_;
    ConfigWorkingSet& set_;
    session::SysCfgBlocks routineStart_;  // the working blocks as the running routine found them
    platform::Timing timing_;
    std::stop_token stop_;
    ApplyMessage message_;
};

// A page's send routine: its values were taken on the GUI thread; it only
// touches the working copies and the device. Empty: the page sends nothing.
using SendRoutine = std::function<int(ApplyContext&)>;

enum class ApplyRoutine : std::uint8_t {
    Account,
    Alarm,
    Mail,
    Ftp,
    Device,
    Detection,
    Camera,
    Ddns,
    Peripheral,
    Sntp,
    ToolBox,
    TimerRecord,
    DvrDate,
    DvrRecordSetting,
    Network,
    Count,
};
using ApplyRoutines = std::array<SendRoutine, static_cast<std::size_t>(ApplyRoutine::Count)>;

inline constexpr std::chrono::milliseconds kNetworkChangePause{3000};

struct ApplyOutcome {
    bool peripheralsChanged = false;
    bool rs485Changed = false;
    int networkResult = 0;
    bool stopped = false;  // the sheet closed: the rest was not run
};

// Runs the routines in the sheet's order for the device's family; after a
// network routine that changed block 1, the pause (stoppable).
ApplyOutcome RunApplyRoutines(const ApplyRoutines& routines, ApplyContext& context, bool toolBoxShown,
                              std::chrono::milliseconds networkPause = kNetworkChangePause);

}  // namespace config
