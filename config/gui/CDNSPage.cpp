#include "config/gui/CDNSPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>

#include "config/ConfigWorkingSet.h"
#include "config/gui/IndexedCombo.h"
#include "config/gui/Ipv4Edit.h"
#include "config/gui/LimitedTextEdit.h"

namespace config {

CDNSPage::CDNSPage(ConfigWorkingSet& set, QWidget* parent)
    : ConfigPage(QStringLiteral("DDNS"), set, parent),
      dnsServer_(new Ipv4Edit(this)),
      auto_(new QCheckBox(QStringLiteral("AUTO"), this)),
      on_(new QRadioButton(QString::fromUtf8("Załączony"), this)),
      off_(new QRadioButton(QString::fromUtf8("Wyłączony"), this)),
      user_(new LimitedTextEdit(15, LimitedTextEdit::Mode::Plain, this)),
      password_(new LimitedTextEdit(15, LimitedTextEdit::Mode::Plain, this)),
      domain_(new LimitedTextEdit(47, LimitedTextEdit::Mode::Plain, this)),
      provider_(new IndexedCombo(this)) {
    networkType_ = [this] { return static_cast<int>(WorkingSet().Number(1, "by_NetworkType")); };
    password_->setEchoMode(QLineEdit::Password);
    auto_->hide();

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("DNS:"), this), 0, 0);
    grid->addWidget(dnsServer_, 0, 1);
    grid->addWidget(auto_, 0, 2);
    auto* box = new QGroupBox(this);
    auto* ddns = new QGridLayout(box);
    auto* radios = new QHBoxLayout;
    radios->addWidget(on_);
    radios->addWidget(off_);
    ddns->addWidget(new QLabel(QStringLiteral("DDNS:"), box), 0, 0);
    ddns->addLayout(radios, 0, 1);
    const std::pair<const char*, QWidget*> rows[] = {{"Nazwa użytk:", user_},
                                                     {"Hasło:", password_},
                                                     {"Domena:", domain_},
                                                     {"Nazwa syst.:", provider_}};
    for (int row = 0; row < 4; ++row) {
        ddns->addWidget(new QLabel(QString::fromUtf8(rows[row].first), box), row + 1, 0);
        ddns->addWidget(rows[row].second, row + 1, 1);
    }
    grid->addWidget(box, 1, 0, 1, 3);
    grid->setRowStretch(2, 1);

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
