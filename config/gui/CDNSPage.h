#pragma once
// "DDNS": the device's DNS server and its dynamic-DNS registration. On a DVR
// whose network type is DHCP the "AUTO" box offers the DNS server from the
// network; the type is the sheet's (the network page's choice once opened,
// else block 1's), asked again each time the page is shown.

#include <functional>

#include "config/gui/ConfigPage.h"
#include "config/pages/NetworkValues.h"

class QCheckBox;
class QRadioButton;

namespace config {

class IndexedCombo;
class Ipv4Edit;
class LimitedTextEdit;

class CDNSPage : public ConfigPage {
    Q_OBJECT
public:
    explicit CDNSPage(ConfigWorkingSet& set, QWidget* parent = nullptr);

    // Where the page reads the sheet's network type (block 1's until set).
    void SetNetworkTypeSource(std::function<int()> source) { networkType_ = std::move(source); }
    const DdnsValues& Values() const { return values_; }
    bool DdnsEnabled() const { return values_.ddnsEnable.Current() != 0; }
    void ContributeValues(SheetPageValues& values) const override;
    void AddSendRoutines(ApplyRoutines& routines) override;

    Ipv4Edit* DnsServerEdit() const { return dnsServer_; }
    QCheckBox* AutoBox() const { return auto_; }
    QRadioButton* DdnsOn() const { return on_; }
    QRadioButton* DdnsOff() const { return off_; }
    LimitedTextEdit* UserEdit() const { return user_; }
    LimitedTextEdit* PasswordEdit() const { return password_; }
    LimitedTextEdit* DomainEdit() const { return domain_; }
    IndexedCombo* ProviderList() const { return provider_; }

protected:
    void Fill() override;
    void Pull() override;
    void showEvent(QShowEvent* event) override;

private:
    void ApplyAutoRule();
    void ShowDdnsEnabled(bool enabled);

    DdnsValues values_;
    std::function<int()> networkType_;
    Ipv4Edit* dnsServer_ = nullptr;
    QCheckBox* auto_ = nullptr;
    QRadioButton* on_ = nullptr;
    QRadioButton* off_ = nullptr;
    LimitedTextEdit* user_ = nullptr;
    LimitedTextEdit* password_ = nullptr;
    LimitedTextEdit* domain_ = nullptr;
    IndexedCombo* provider_ = nullptr;
};

}  // namespace config
