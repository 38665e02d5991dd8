#include "config/gui/CDNSPage.h"

#include <QCheckBox>
#include <QRadioButton>

#include "config/ConfigWorkingSet.h"
#include "config/gui/DdnsPageTemplate.h"
#include "config/gui/IndexedCombo.h"
#include "config/gui/Ipv4Edit.h"
#include "config/gui/LimitedTextEdit.h"

namespace config {

CDNSPage::CDNSPage(ConfigWorkingSet& set, QWidget* parent)
    : ConfigPage(gui::TemplateText(kDdnsPageTemplate.caption), set, parent) {
    const gui::TemplateControls controls =
        BuildFromTemplate(kDdnsPageTemplate, [](const gui::TemplateControl& control, QWidget& page) -> QWidget* {
            switch (control.id) {
            case 1251:
                return new Ipv4Edit(&page);
            case 1040:
            case 1041:
                return new LimitedTextEdit(15, LimitedTextEdit::Mode::Plain, &page);
            case 1042:
                return new LimitedTextEdit(47, LimitedTextEdit::Mode::Plain, &page);
            case 1195:
                return new IndexedCombo(&page);
            default:
                return nullptr;
            }
        });
    dnsServer_ = controls.Get<Ipv4Edit>(1251);
    auto_ = controls.Get<QCheckBox>(1469);
    on_ = controls.Get<QRadioButton>(1380);
    off_ = controls.Get<QRadioButton>(1381);
    user_ = controls.Get<LimitedTextEdit>(1040);
    password_ = controls.Get<LimitedTextEdit>(1041);
    domain_ = controls.Get<LimitedTextEdit>(1042);
    provider_ = controls.Get<IndexedCombo>(1195);
    networkType_ = [this] { return static_cast<int>(WorkingSet().Number(1, "by_NetworkType")); };

    connect(on_, &QRadioButton::clicked, this, [this] {
        values_.ddnsEnable.Edit(1);
        ShowDdnsEnabled(true);
    });
    connect(off_, &QRadioButton::clicked, this, [this] {
        values_.ddnsEnable.Edit(0);
        ShowDdnsEnabled(false);
    });
    connect(auto_, &QCheckBox::clicked, this, [this] {
        values_.dnsAuto.Edit(values_.dnsAuto.Current() == 0 ? 1 : 0);
        if (WorkingSet().Facts().IsDvr())
            dnsServer_->setEnabled(values_.dnsAuto.Current() == 0);
    });
}

void CDNSPage::Fill() {
    values_ = LoadDdnsValues(WorkingSet());
    dnsServer_->Load(values_.dnsServer.Loaded());
    const bool enabled = values_.ddnsEnable.Loaded() != 0;
    on_->setChecked(enabled);
    off_->setChecked(!enabled);
    ShowDdnsEnabled(enabled);
    user_->Load(QString::fromStdString(values_.user.Loaded()));
    password_->Load(QString::fromStdString(values_.password.Loaded()));
    domain_->Load(QString::fromStdString(values_.domain.Loaded()));
    QStringList entries;
    for (const std::string& entry : DdnsProviderEntries(WorkingSet().Facts()))
        entries << QString::fromStdString(entry);
    provider_->SetItems(entries);
    provider_->LoadIndex(values_.providerIndex);
    auto_->setChecked(values_.dnsAuto.Loaded() != 0);
    ApplyAutoRule();
}

void CDNSPage::showEvent(QShowEvent* event) {
    ConfigPage::showEvent(event);  // fills the page the first time
    ApplyAutoRule();
}

void CDNSPage::ApplyAutoRule() {
    if (!WorkingSet().Facts().IsDvr()) {
        auto_->hide();
        return;
    }
    const bool dhcp = networkType_() == kNetworkDhcp;
    auto_->setVisible(dhcp);
    dnsServer_->setEnabled(!dhcp || values_.dnsAuto.Current() == 0);
}

void CDNSPage::ShowDdnsEnabled(bool enabled) {
    for (QWidget* widget : std::initializer_list<QWidget*>{user_, password_, domain_, provider_})
        widget->setEnabled(enabled);
}

void CDNSPage::ContributeValues(SheetPageValues& values) const { values.ddnsEnable = DdnsEnabled(); }

void CDNSPage::AddSendRoutines(ApplyRoutines& routines) {
    routines[std::size_t(ApplyRoutine::Ddns)] = [values = values_](ApplyContext& apply) {
        return SendDdnsConfig(values, apply.Set(), [&apply](std::uint8_t option) { return apply.StoreOrReport(option); });
    };
}

void CDNSPage::Pull() {
    values_.dnsServer.Edit(dnsServer_->Value());
    values_.user.Edit(user_->Utf8());
    values_.password.Edit(password_->Utf8());
    values_.domain.Edit(domain_->Utf8());
    // Only another entry the person picked rewrites the provider.
    if (provider_->Changed())
        values_.pickedProvider = provider_->Index();
    else
        values_.pickedProvider.reset();
}

}  // namespace config
