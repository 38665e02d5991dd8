#include "config/gui/CPeripheralPage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "config/gui/IndexedCombo.h"
#include "config/gui/NumberEdit.h"

namespace config {

namespace {

const QStringList kSpeeds{"2400", "4800", "9600", "19200", "38400", "57600", "115200"};
const QStringList kModels{"CAMERA",  "1CH DVR", "4CH DVR(FULL)", "4CH DVR(BASIC)", "4CH DMR",    "9CH DMR",
                          "16CH DMR", "4CH DQR", "PTZ(NORMAL)",   "4CH MPEG2 DVR",  "PTZ(P-D)"};

}  // namespace

CPeripheralPage::CPeripheralPage(ConfigWorkingSet& set, QWidget* parent)
    : ConfigPage(QStringLiteral("Peripheral"), set, parent) {
    auto* layout = new QVBoxLayout(this);
    for (int d = 0; d < 2; ++d) {
        DeviceControls& controls = devices_[static_cast<std::size_t>(d)];
        const QString suffix = QString::number(d + 1);
        auto* box = new QGroupBox(QString::fromUtf8("Urządzenie ") + suffix, this);
        controls.speed = new IndexedCombo(box);
        controls.speed->setObjectName("speed" + suffix);
        controls.speed->SetItems(kSpeeds);
        NumberEdit::Rules rules;
        rules.max = 255;
        controls.id = new NumberEdit(rules, box);
        controls.id->setObjectName("id" + suffix);
        controls.model = new IndexedCombo(box);
        controls.model->setObjectName("model" + suffix);
        controls.model->SetItems(kModels);
        auto* grid = new QGridLayout(box);
        grid->addWidget(new QLabel(QStringLiteral("Szykość trans. :"), box), 0, 0);
        grid->addWidget(controls.speed, 0, 1);
        grid->addWidget(new QLabel(QStringLiteral("ID :"), box), 1, 0);
        grid->addWidget(controls.id, 1, 1);
        grid->addWidget(new QLabel(QStringLiteral("Model :"), box), 1, 2);
        grid->addWidget(controls.model, 1, 3);
        layout->addWidget(box);
    }
    layout->addStretch();
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
