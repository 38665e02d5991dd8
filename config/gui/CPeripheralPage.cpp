#include "config/gui/CPeripheralPage.h"

#include "config/gui/IndexedCombo.h"
#include "config/gui/NumberEdit.h"
#include "config/gui/PeripheralPageTemplate.h"

namespace config {

namespace {

const QStringList kSpeeds{"2400", "4800", "9600", "19200", "38400", "57600", "115200"};
const QStringList kModels{"CAMERA",  "1CH DVR", "4CH DVR(FULL)", "4CH DVR(BASIC)", "4CH DMR",    "9CH DMR",
                          "16CH DMR", "4CH DQR", "PTZ(NORMAL)",   "4CH MPEG2 DVR",  "PTZ(P-D)"};

// Per device, the template ids of its speed list, ID edit and model list.
struct DeviceIds {
    int speed;
    int id;
    int model;
};
constexpr DeviceIds kDeviceIds[] = {{1301, 1040, 1302}, {1304, 1041, 1303}};

}  // namespace

CPeripheralPage::CPeripheralPage(ConfigWorkingSet& set, QWidget* parent)
    : ConfigPage(gui::TemplateText(kPeripheralPageTemplate.caption), set, parent) {
    const gui::TemplateControls controls =
        BuildFromTemplate(kPeripheralPageTemplate, [](const gui::TemplateControl& control, QWidget& page) -> QWidget* {
            switch (control.kind) {
            case gui::ControlKind::ComboBox:
                return new IndexedCombo(&page);
            case gui::ControlKind::Edit: {
                NumberEdit::Rules rules;
                rules.max = 255;
                return new NumberEdit(rules, &page);
            }
            default:
                return nullptr;
            }
        });
    for (std::size_t d = 0; d < devices_.size(); ++d) {
        const QString suffix = QString::number(d + 1);
        DeviceControls& device = devices_[d];
        device.speed = controls.Get<IndexedCombo>(kDeviceIds[d].speed);
        device.speed->setObjectName("speed" + suffix);
        device.speed->SetItems(kSpeeds);
        device.id = controls.Get<NumberEdit>(kDeviceIds[d].id);
        device.id->setObjectName("id" + suffix);
        device.model = controls.Get<IndexedCombo>(kDeviceIds[d].model);
        device.model->setObjectName("model" + suffix);
        device.model->SetItems(kModels);
    }
}

void CPeripheralPage::Fill() {
    values_ = LoadPeripheralValues(WorkingSet());
    for (std::size_t d = 0; d < devices_.size(); ++d) {
        devices_[d].speed->LoadIndex(values_[d].speedIndex.Loaded());
        devices_[d].id->Load(values_[d].id.Loaded());
        devices_[d].model->LoadIndex(values_[d].modelIndex.Loaded());
    }
}

void CPeripheralPage::Pull() {
    for (std::size_t d = 0; d < devices_.size(); ++d) {
        // A list index is compared with the loaded one: picking the item an
        // unknown code shows leaves the code on the device.
        if (devices_[d].speed->Index() >= 0)
            values_[d].speedIndex.Edit(devices_[d].speed->Index());
        if (devices_[d].model->Index() >= 0)
            values_[d].modelIndex.Edit(devices_[d].model->Index());
        if (const auto id = devices_[d].id->Value())
            values_[d].id.Edit(static_cast<int>(*id));
    }
}

void CPeripheralPage::AddSendRoutines(ApplyRoutines& routines) {
    routines[static_cast<std::size_t>(ApplyRoutine::Peripheral)] = [values = values_](ApplyContext& apply) {
        return SendPeripheralConfig(values, apply.Set(),
                                    [&apply](std::uint8_t option) { return apply.StoreOrReport(option); },
                                    &apply.peripheralsChanged);
    };
}

}  // namespace config
