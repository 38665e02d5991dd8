#pragma once
// The video server's two RS-485 peripherals ("Peripheral"): speed, ID and
// model of each. Apply writes what the person changed into block 16 and
// stores it; a new ID or model has the sheet rebuild the control-device list.

#include "config/gui/ConfigPage.h"
#include "config/pages/PeripheralValues.h"

namespace config {

class IndexedCombo;
class NumberEdit;

class CPeripheralPage : public ConfigPage {
    Q_OBJECT
public:
    explicit CPeripheralPage(ConfigWorkingSet& set, QWidget* parent = nullptr);

    const PeripheralValues& Values() const { return values_; }
    void AddSendRoutines(ApplyRoutines& routines) override;

protected:
    void Fill() override;
    void Pull() override;

private:
    struct DeviceControls {
        IndexedCombo* speed = nullptr;
        NumberEdit* id = nullptr;
        IndexedCombo* model = nullptr;
    };
    std::array<DeviceControls, 2> devices_;
    PeripheralValues values_;
};

}  // namespace config
