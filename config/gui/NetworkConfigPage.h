#pragma once
// "Sieć   ": how the device gets its address (fixed, PPPoE, DHCP), its
// address, gateway, mask and web port, and the PPPoE account. On N5H devices
// the page shows nothing and Apply never sends its network block.

#include <QList>

#include "config/gui/ConfigPage.h"
#include "config/pages/NetworkValues.h"

class QRadioButton;

namespace config {

class Ipv4Edit;
class LimitedTextEdit;
class NumberEdit;
class RadioGroup;

class NetworkConfigPage : public ConfigPage {
    Q_OBJECT
public:
    explicit NetworkConfigPage(ConfigWorkingSet& set, QWidget* parent = nullptr);

    const NetworkValues& Values() const { return values_; }
    // The network type the page holds (the sheet and the DDNS page read it once the page was opened).
    int NetworkType() const { return values_.networkType.Current(); }
    void ContributeValues(SheetPageValues& values) const override;
    void AddSendRoutines(ApplyRoutines& routines) override;

    Ipv4Edit* AddressEdit() const { return address_; }
    Ipv4Edit* GatewayEdit() const { return gateway_; }
    Ipv4Edit* MaskEdit() const { return mask_; }
    NumberEdit* WebPortEdit() const { return webPort_; }
    LimitedTextEdit* PppoeUserEdit() const { return pppoeUser_; }
    LimitedTextEdit* PppoePasswordEdit() const { return pppoePassword_; }
    QRadioButton* TypeButton(int type) const;

signals:
    void NetworkTypePicked(int type);

protected:
    void Fill() override;
    void Pull() override;
    unsigned LeaveRefusal() override;

private:
    void ShowType(int type);

    NetworkValues values_;
    Ipv4Edit* address_ = nullptr;
    Ipv4Edit* gateway_ = nullptr;
    Ipv4Edit* mask_ = nullptr;
    NumberEdit* webPort_ = nullptr;
    LimitedTextEdit* pppoeUser_ = nullptr;
    LimitedTextEdit* pppoePassword_ = nullptr;
    QRadioButton* fixed_ = nullptr;
    QRadioButton* pppoe_ = nullptr;
    QRadioButton* dhcp_ = nullptr;
    RadioGroup* type_;
    QList<QWidget*> addressGroup_;
    QList<QWidget*> pppoeGroup_;
};

}  // namespace config
