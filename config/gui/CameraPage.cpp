#include "config/gui/CameraPage.h"

#include "config/ConfigWorkingSet.h"
#include "config/gui/CameraEntryDialog.h"
#include "config/gui/CameraPageTemplate.h"

namespace config {

namespace {

QString Flag(int value) { return value == 1 ? QStringLiteral("YES") : QStringLiteral("NO"); }

}  // namespace

CameraPage::CameraPage(ConfigWorkingSet& set, QWidget* parent)
    : RowTablePage(kCameraPageTemplate, 1425, 1068, set, NumberedHeaders(8560, 8566), parent) {
    SetColumnWidths({35, 65, 30, 30, 30, 30, 40, 35});
}

std::vector<QStringList> CameraPage::RowTexts() const {
    std::vector<QStringList> rows;
    const ConfigWorkingSet& set = WorkingSet();
    for (int channel = 0; channel < set.Facts().ChannelCount(); ++channel) {
        const CameraRow row = LoadCameraRow(set, channel);
        rows.push_back({QString::asprintf("%2d", channel + 1), QString::fromStdString(row.name),
                        QString::number(row.brightness), QString::number(row.contrast),
                        QString::number(row.saturation), QString::number(row.hue), Flag(row.covert),
                        Flag(row.record)});
    }
    return rows;
}

bool CameraPage::RunEditor(CameraEntryDialog& editor) { return editor.exec() == QDialog::Accepted; }

bool CameraPage::EditRow(int row) {
    CameraEntryDialog editor(row, LoadCameraRow(WorkingSet(), row), this);
    if (!RunEditor(editor))
        return false;
    edited_ |= WriteCameraRow(WorkingSet(), row, editor.Row());
    return true;
}

void CameraPage::AddSendRoutines(ApplyRoutines& routines) {
    routines[static_cast<std::size_t>(ApplyRoutine::Camera)] = [edited = edited_](ApplyContext& apply) {
        return SendCameraConfig(edited, [&apply](std::uint8_t option) { return apply.StoreEditedOrReport(option); });
    };
}

}  // namespace config
