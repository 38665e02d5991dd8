#include "config/gui/PtzEntryDialog.h"

#include <QLabel>
#include <QPushButton>

#include "config/gui/IndexedCombo.h"
#include "config/gui/NumberEdit.h"
#include "config/gui/PtzEntryDialogTemplate.h"
#include "config/pages/PeripheralValues.h"
#include "gui/TemplateBuilder.h"

namespace config {

PtzEntryDialog::PtzEntryDialog(int channel, const PtzRow& row, QWidget* parent) : QDialog(parent), row_(row) {
    setWindowTitle(gui::TemplateText(kPtzEntryDialogTemplate.caption));
    NumberEdit::Rules rules;
    rules.max = 255;
    const gui::TemplateControls controls = gui::BuildTemplate(
        *this, kPtzEntryDialogTemplate, [&](const gui::TemplateControl& control, QWidget& dialog) -> QWidget* {
            if (control.kind == gui::ControlKind::ComboBox)
                return new IndexedCombo(&dialog);
            if (control.id == 1040)
                return new NumberEdit(rules, &dialog);
            return nullptr;
        });
    type_ = controls.Get<IndexedCombo>(1195);
    type_->setObjectName(QStringLiteral("type"));
    type_->SetItems({"CAMERA", "PTZ"});
    type_->LoadIndex(row.type);
    address_ = controls.Get<NumberEdit>(1040);
    address_->setObjectName(QStringLiteral("address"));
    address_->Load(row.address);
    protocol_ = controls.Get<IndexedCombo>(1409);
    protocol_->setObjectName(QStringLiteral("protocol"));
    protocol_->SetItems({"NORMAL", "P-D"});
    protocol_->LoadIndex(row.protocol);
    // The rates' leading blanks line them up on the right.
    speed_ = controls.Get<IndexedCombo>(1412);
    speed_->setObjectName(QStringLiteral("speed"));
    speed_->SetItems({"    2400", "    4800", "    9600", "  19200", "  38400", "  57600", "115200"},
                     {kPeripheralBaudTable.begin(), kPeripheralBaudTable.end()});
    speed_->LoadCode(row.baud);
    auto* number = controls.Get<QLabel>(1406);
    number->setObjectName(QStringLiteral("row"));
    number->setText(QString::asprintf("%2d", channel + 1));
    auto* ok = controls.Get<QPushButton>(1);
    ok->setObjectName(QStringLiteral("ok"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

PtzRow PtzEntryDialog::Row() const {
    PtzRow row = row_;
    if (type_->Changed())
        row.type = type_->Index();
    if (const auto typed = address_->Value())
        row.address = static_cast<int>(*typed);
    if (protocol_->Changed())
        row.protocol = protocol_->Index();
    if (const auto rate = speed_->Code(); rate && speed_->Changed())
        row.baud = static_cast<std::uint32_t>(*rate);
    return row;
}

}  // namespace config
