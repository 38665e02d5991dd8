#pragma once
// The DVR's motion detection ("Detekcja "): one row per channel with its
// detection on/off, the four detection values and the alarm input type.
// Editing a row first brings the channel onto the live picture (not waited
// for), then opens the motion-area editor; an accepted edit goes into the
// sheet's working copies of blocks 13 and 11, which Apply stores.

#include "config/gui/RowTablePage.h"
#include "config/pages/BlockStore.h"
#include "config/pages/DetectionChannel.h"
#include "platform/Timing.h"

namespace session {
class AppData;
}

namespace config {

class MotionAreaDialog;

class DetectionPage : public RowTablePage {
    Q_OBJECT
public:
    DetectionPage(ConfigWorkingSet& set, session::AppData& app, platform::Timing timing = {},
                  QWidget* parent = nullptr);

    void AddSendRoutines(ApplyRoutines& routines) override;

protected:
    bool EditRow(int row) override;
    std::vector<QStringList> RowTexts() const override;
    // The editor for the row; true when the person accepted it. Tests replace it.
    virtual bool RunEditor(MotionAreaDialog& editor);

private:
    void BringOnPicture(int row);

    session::AppData& app_;
    platform::Timing timing_;
    EditedBlocks edited_;
};

}  // namespace config
