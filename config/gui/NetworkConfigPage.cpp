#include "config/gui/NetworkConfigPage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config/ConfigWorkingSet.h"
#include "config/gui/ChoiceBindings.h"
#include "config/gui/Ipv4Edit.h"
#include "config/gui/LimitedTextEdit.h"
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
    : ConfigPage(QStringLiteral("Sieć   "), set, parent),
      address_(new Ipv4Edit(this)),
      gateway_(new Ipv4Edit(this)),
      mask_(new Ipv4Edit(this)),
      webPort_(new NumberEdit(WebPortRules(), this)),
      pppoeUser_(new LimitedTextEdit(PppoeTextLimit(set.Facts()), LimitedTextEdit::Mode::Plain, this)),
      pppoePassword_(new LimitedTextEdit(PppoeTextLimit(set.Facts()), LimitedTextEdit::Mode::Plain, this)),
      fixed_(new QRadioButton(QString::fromUtf8("    Stały IP"), this)),
      pppoe_(new QRadioButton(QStringLiteral("    PPPOE"), this)),
      dhcp_(new QRadioButton(QStringLiteral("    DHCP"), this)),
      type_(new RadioGroup(this)) {
    webPort_->setObjectName(QStringLiteral("webPort"));
    pppoeUser_->setObjectName(QStringLiteral("pppoeUser"));
    pppoePassword_->setObjectName(QStringLiteral("pppoePassword"));
    pppoePassword_->setEchoMode(QLineEdit::Password);
    type_->Add(fixed_, kNetworkFixed);
    type_->Add(pppoe_, kNetworkPppoe);
    type_->Add(dhcp_, kNetworkDhcp);

    auto* grid = new QGridLayout;
    const std::pair<const char*, QWidget*> rows[] = {
        {"Adres IP :", address_}, {"Brama :", gateway_}, {"Maska :", mask_}, {"Port Web:", webPort_}};
    for (int row = 0; row < 4; ++row) {
        auto* label = new QLabel(QString::fromUtf8(rows[row].first), this);
        grid->addWidget(label, row, 0);
        grid->addWidget(rows[row].second, row, 1);
        if (row < 3)
            addressGroup_ << label << rows[row].second;
    }
    auto* typeBox = new QGroupBox(QStringLiteral("IP TYPE"), this);
    auto* typeLayout = new QVBoxLayout(typeBox);
    typeLayout->addWidget(fixed_);
    typeLayout->addWidget(pppoe_);
    typeLayout->addWidget(dhcp_);
    auto* pppoeBox = new QGroupBox(QStringLiteral("PPPOE"), this);
    auto* pppoeLayout = new QGridLayout(pppoeBox);
    auto* userLabel = new QLabel(QString::fromUtf8("Użytkownik :"), pppoeBox);
    auto* passwordLabel = new QLabel(QString::fromUtf8("Hasło :"), pppoeBox);
    pppoeLayout->addWidget(userLabel, 0, 0);
    pppoeLayout->addWidget(pppoeUser_, 0, 1);
    pppoeLayout->addWidget(passwordLabel, 1, 0);
    pppoeLayout->addWidget(pppoePassword_, 1, 1);
    pppoeGroup_ << pppoeBox << userLabel << passwordLabel << pppoeUser_ << pppoePassword_;
    grid->addWidget(typeBox, 4, 0);
    grid->addWidget(pppoeBox, 4, 1);
    grid->setRowStretch(5, 1);
    setLayout(grid);

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
