#include "config/gui/DevicePage.h"

#include <QTreeWidget>

#include "config/ConfigWorkingSet.h"
#include "config/gui/DevicePageTemplate.h"
#include "config/gui/PtzEntryDialog.h"

namespace config {

DevicePage::DevicePage(ConfigWorkingSet& set, QWidget* parent)
    : RowTablePage(kDevicePageTemplate, 1404, 1119, set, NumberedHeaders(8540, 8543), parent) {
    SetColumnWidths({40, 70, 30, 80, 50});
}

void DevicePage::Fill() {
    rows_ = LoadPtzRows(WorkingSet());
    RowTablePage::Fill();
}

std::vector<QStringList> DevicePage::RowTexts() const {
    std::vector<QStringList> texts;
    for (int channel = 0; channel < WorkingSet().Facts().ChannelCount(); ++channel) {
        const PtzRow& row = rows_[static_cast<std::size_t>(channel)];
        texts.push_back({QString::asprintf("%2d", channel + 1), row.type == 1 ? "PTZ" : "CAMERA",
                         QString::number(row.address), row.protocol == 1 ? "P-D" : "NORMAL",
                         QString::number(row.baud)});
    }
    return texts;
}

bool DevicePage::RunEditor(PtzEntryDialog& editor) { return editor.exec() == QDialog::Accepted; }

bool DevicePage::EditRow(int row) {
    PtzRow& current = rows_[static_cast<std::size_t>(row)];
    PtzEntryDialog editor(row, current, this);
    if (!RunEditor(editor))
        return false;
    const PtzRow edited = editor.Row();
    if (edited == current)
        return false;
    current = edited;
    modified_ = true;
    return true;
}

void DevicePage::AddSendRoutines(ApplyRoutines& routines) {
    if (!modified_)
        return;
    routines[static_cast<std::size_t>(ApplyRoutine::Device)] = [rows = rows_](ApplyContext& apply) {
        return SendDeviceConfig(rows, apply.Set(), [&apply](std::uint8_t option) { return apply.StoreOrReport(option); },
                                &apply.rs485Changed);
    };
}

}  // namespace config
