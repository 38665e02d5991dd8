#include "config/gui/DetectionPage.h"

#include "config/ConfigWorkingSet.h"
#include "config/gui/ConfigMessage.h"
#include "config/gui/DetectionPageTemplate.h"
#include "config/gui/MotionAreaDialog.h"
#include "gui/DeviceCommand.h"
#include "gui/StringText.h"
#include "session/AppData.h"

namespace config {

namespace {

QString Text(std::string_view text) { return QString::fromLatin1(text.data(), qsizetype(text.size())); }

QStringList Headers() {
    QStringList headers{QStringLiteral("NO."), session::LoadText(8550)};
    for (unsigned id = 8552; id <= 8556; ++id)
        headers << session::LoadText(id);
    return headers;
}

}  // namespace

DetectionPage::DetectionPage(ConfigWorkingSet& set, session::AppData& app, platform::Timing timing,
                             QWidget* parent)
    : RowTablePage(kDetectionPageTemplate, 1413, 1068, set, Headers(), parent), app_(app), timing_(timing) {
    SetColumnWidths({35, 60, 30, 30, 30, 30, 60});
}

std::vector<QStringList> DetectionPage::RowTexts() const {
    std::vector<QStringList> rows;
    const ConfigWorkingSet& set = WorkingSet();
    const bool contact = set.Facts().HasCapability(kCapabilityContactAlarm);
    for (int channel = 0; channel < set.Facts().ChannelCount(); ++channel) {
        const DetectionRow row = LoadDetectionRow(set, channel);
        rows.push_back({QString::asprintf("%2d", channel + 1), Text(DetectionText(row.detection)),
                        QString::number(row.ls), QString::number(row.ss), QString::number(row.ts),
                        QString::number(row.re), Text(AlarmTypeText(row.alarmType, contact))});
    }
    return rows;
}

void DetectionPage::BringOnPicture(int row) {
    const DetectionChannelRoute route = DetectionChannelRouteOf(app_, row);
    if (route.kind == DetectionChannelRoute::Kind::None)
        return;
    session::AppData& app = app_;
    gui::RunDeviceCommand(
        this, app.h_DeviceCommandWorker,
        [&app, route, timing = timing_](std::stop_token stop) { return BringChannelOnPicture(app, route, timing, stop); },
        [this](unsigned message) {
            if (message != 0)
                ShowConfigMessage(this, message);
        });
}

bool DetectionPage::RunEditor(MotionAreaDialog& editor) { return editor.exec() == QDialog::Accepted; }

bool DetectionPage::EditRow(int row) {
    BringOnPicture(row);
    MotionAreaDialog editor(app_, LoadDetectionRow(WorkingSet(), row), QString::asprintf("%2d", row + 1), this);
    if (!RunEditor(editor))
        return false;
    edited_ |= WriteDetectionRow(WorkingSet(), row, editor.Row());
    return true;
}

void DetectionPage::AddSendRoutines(ApplyRoutines& routines) {
    routines[static_cast<std::size_t>(ApplyRoutine::Detection)] = [edited = edited_](ApplyContext& apply) {
        return SendDetectionConfig(edited, [&apply](std::uint8_t option) { return apply.StoreEditedOrReport(option); });
    };
}

}  // namespace config
