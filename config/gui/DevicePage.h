#pragma once
// The DVR's PTZ channels ("Urządz"): per channel whether a PTZ device hangs on
// its RS-485 line, with address, protocol and speed. The page keeps its edits;
// Apply copies all 16 channels into block 10 and stores it, and only once the
// device took it tells the sheet to rebuild the control-device list.

#include "config/gui/RowTablePage.h"
#include "config/pages/PtzRows.h"

namespace config {

class PtzEntryDialog;

class DevicePage : public RowTablePage {
    Q_OBJECT
public:
    explicit DevicePage(ConfigWorkingSet& set, QWidget* parent = nullptr);

    bool Modified() const { return modified_; }
    const PtzRows& Rows() const { return rows_; }
    void AddSendRoutines(ApplyRoutines& routines) override;

protected:
    void Fill() override;
    bool EditRow(int row) override;
    std::vector<QStringList> RowTexts() const override;
    // The editor for the row; true when the person accepted it. Tests replace it.
    virtual bool RunEditor(PtzEntryDialog& editor);

private:
    PtzRows rows_{};
    bool modified_ = false;
};

}  // namespace config
