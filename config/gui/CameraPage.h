#pragma once
// The DVR's camera channels ("DVR"): one row per channel with its name,
// picture adjustments, covert and recording flags. An accepted edit goes
// into the sheet's working copies of blocks 13 and 15 (never the session's),
// so Exit leaves the client agreeing with the device; Apply stores them.

#include "config/gui/RowTablePage.h"
#include "config/pages/BlockStore.h"

namespace config {

class CameraEntryDialog;

class CameraPage : public RowTablePage {
    Q_OBJECT
public:
    CameraPage(ConfigWorkingSet& set, QWidget* parent = nullptr);

    void AddSendRoutines(ApplyRoutines& routines) override;

protected:
    bool EditRow(int row) override;
    std::vector<QStringList> RowTexts() const override;
    bool DoubleClickReportsNoSelection() const override { return true; }
    // The editor for the row; true when the person accepted it. Tests replace it.
    virtual bool RunEditor(CameraEntryDialog& editor);

private:
    EditedBlocks edited_;
};

}  // namespace config
