#include "config/gui/DvrSettingsPage.h"

#include "config/ConfigWorkingSet.h"
#include "config/DeviceRequest.h"
#include "config/dvr/DvrSettingsRead.h"
#include "gui/DeviceCommand.h"
#include "session/AppData.h"

namespace config {

DvrSettingsPage::DvrSettingsPage(QString caption, session::AppData& app, ConfigWorkingSet& set,
                                 platform::Timing timing, std::uint8_t readCommand,
                                 std::span<const KeyValueKey> keys, ApplyRoutine routine, QWidget* parent)
    : ConfigPage(std::move(caption), set, parent),
      app_(app),
      timing_(timing),
      readCommand_(readCommand),
      keys_(keys),
      routine_(routine),
      controls_(new QWidget(this)) {
    controls_->setObjectName(QStringLiteral("controls"));
    controls_->setEnabled(false);
}

void DvrSettingsPage::Fill() {
    const DeviceFacts& facts = WorkingSet().Facts();
    if (!facts.IsDvr() || !facts.FirmwareAtLeast("1058")) {
        state_ = State::Disabled;
        return;
    }
    state_ = State::Reading;
    auto read = [app = &app_, timing = timing_, command = readCommand_, keys = keys_](std::stop_token stop) {
        return ReadDvrSettings(*app, timing, command, keys, stop);
    };
    auto done = [this](std::optional<KeyValueRead> read) {
        if (!read) {
            state_ = State::Disabled;
            return;
        }
        given_ = read->given;
        Show(read->values);
        controls_->setEnabled(true);
        state_ = State::Live;
    };
    if (!gui::RunDeviceCommand(this, app_.h_DeviceCommandWorker, std::move(read), std::move(done)))
        state_ = State::Disabled;
}

void DvrSettingsPage::AddSendRoutines(ApplyRoutines& routines) {
    auto request = ApplyRequest();
    if (!request)
        return;
    routines[static_cast<std::size_t>(routine_)] = [request = std::move(*request)](ApplyContext& context) {
        return SendDeviceRequest(context.App(), context.Timing(), request, context.StopToken());
    };
}

}  // namespace config
