#include "config/gui/NetworkConfigPage.h"

#include <QRadioButton>

#include "config/ConfigWorkingSet.h"
#include "config/gui/ChoiceBindings.h"
#include "config/gui/Ipv4Edit.h"
#include "config/gui/LimitedTextEdit.h"
#include "config/gui/NetworkPageTemplate.h"
#include "config/gui/NumberEdit.h"

namespace config {

namespace {

NumberEdit::Rules WebPortRules() {
    NumberEdit::Rules rules;
    rules.min = 1;
    rules.max = 9999;
    return rules;  // clamped silently; an emptied port is refused when the page is left
}

}  // namespace

NetworkConfigPage::NetworkConfigPage(ConfigWorkingSet& set, QWidget* parent)
    : ConfigPage(gui::TemplateText(kNetworkPageTemplate.caption), set, parent), type_(new RadioGroup(this)) {
    const int textLimit = PppoeTextLimit(set.Facts());
    const gui::TemplateControls controls =
        BuildFromTemplate(kNetworkPageTemplate, [&](const gui::TemplateControl& control, QWidget& page) -> QWidget* {
            switch (control.id) {
            case 1248:
            case 1249:
            case 1250:
                return new Ipv4Edit(&page);
            case 1040:
                return new NumberEdit(WebPortRules(), &page);
            case 1043:
            case 1044:
                return new LimitedTextEdit(textLimit, LimitedTextEdit::Mode::Plain, &page);
            default:
                return nullptr;
            }
        });
    address_ = controls.Get<Ipv4Edit>(1248);
    gateway_ = controls.Get<Ipv4Edit>(1249);
    mask_ = controls.Get<Ipv4Edit>(1250);
    webPort_ = controls.Get<NumberEdit>(1040);
    pppoeUser_ = controls.Get<LimitedTextEdit>(1043);
    pppoePassword_ = controls.Get<LimitedTextEdit>(1044);
    fixed_ = controls.Get<QRadioButton>(1252);
    pppoe_ = controls.Get<QRadioButton>(1253);
    dhcp_ = controls.Get<QRadioButton>(1254);
    webPort_->setObjectName(QStringLiteral("webPort"));
    pppoeUser_->setObjectName(QStringLiteral("pppoeUser"));
    pppoePassword_->setObjectName(QStringLiteral("pppoePassword"));
    type_->Add(fixed_, kNetworkFixed);
    type_->Add(pppoe_, kNetworkPppoe);
    type_->Add(dhcp_, kNetworkDhcp);
    for (const int id : {1397, 1398, 1399, 1248, 1249, 1250})
        addressGroup_ << controls.Widget(id);
    for (const int id : {1394, 1395, 1396, 1043, 1044})
        pppoeGroup_ << controls.Widget(id);

    connect(type_, &RadioGroup::Picked, this, [this] {
        const int type = type_->Value().value_or(kNetworkPppoe);
        values_.networkType.Edit(type);
        ShowType(type);
        emit NetworkTypePicked(type);
    });
}

QRadioButton* NetworkConfigPage::TypeButton(int type) const {
    return type == kNetworkFixed ? fixed_ : type == kNetworkDhcp ? dhcp_ : pppoe_;
}

void NetworkConfigPage::Fill() {
    values_ = LoadNetworkValues(WorkingSet());
    webPort_->Load(values_.webPort.Loaded());  // a port above 9999 is shown as it is
    pppoeUser_->Load(QString::fromStdString(values_.pppoeUser.Loaded()));
    pppoePassword_->Load(QString::fromStdString(values_.pppoePassword.Loaded()));
    if (WorkingSet().Facts().IsN5H()) {
        // Nothing to show; the members still hold the device's values.
        for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            child->hide();
        return;
    }
    const int type = values_.networkType.Loaded();
    type_->Load(type == kNetworkFixed || type == kNetworkDhcp ? type : kNetworkPppoe);
    ShowType(type);
    address_->Load(values_.address.Loaded());
    gateway_->Load(values_.gateway.Loaded());
    mask_->Load(values_.mask.Loaded());
}

void NetworkConfigPage::ShowType(int type) {
    const bool fixed = type == kNetworkFixed;
    const bool pppoe = !fixed && type != kNetworkDhcp;
    for (QWidget* widget : addressGroup_)
        widget->setEnabled(fixed);
    for (QWidget* widget : pppoeGroup_)
        widget->setVisible(pppoe);
}

void NetworkConfigPage::ContributeValues(SheetPageValues& values) const {
    values.networkType = static_cast<std::uint8_t>(NetworkType());
}

void NetworkConfigPage::AddSendRoutines(ApplyRoutines& routines) {
    routines[std::size_t(ApplyRoutine::Network)] = [values = values_](ApplyContext& apply) {
        return SendNetworkConfig(
            values, apply.Set(), [&apply](std::uint8_t option) { return apply.StoreOrReport(option); }, apply.App());
    };
}

void NetworkConfigPage::Pull() {
    values_.pppoeUser.Edit(pppoeUser_->Utf8());
    values_.pppoePassword.Edit(pppoePassword_->Utf8());
    if (WorkingSet().Facts().IsN5H())
        return;  // the address fields were never filled
    values_.address.Edit(address_->Value());
    values_.gateway.Edit(gateway_->Value());
    values_.mask.Edit(mask_->Value());
    if (webPort_->Changed())
        values_.webPort.Edit(webPort_->Value().value_or(values_.webPort.Loaded()));
}

unsigned NetworkConfigPage::LeaveRefusal() {
    return !WorkingSet().Facts().IsN5H() && webPort_->text().isEmpty() ? 4090 : 0;
}

}  // namespace config
