#pragma once
// The general page ("Ogólne "): firmware version and MAC address, the PTZ
// turbo step, the device description and (video servers from "1010") the two
// channel names, and the button that reads the device's event log on a
// worker of its own while the sheet's progress strip runs. A cancel, or the
// page going away, stops the fetch and shows no viewer.

#include <QString>

#include <vector>

#include "config/gui/ConfigPage.h"
#include "config/log/LogFetchJob.h"
#include "config/pages/ToolBoxValues.h"
#include "platform/Timing.h"

class QLabel;
class QPushButton;

namespace config {

class IndexedCombo;
class LimitedTextEdit;
class NumberEdit;

class ToolBoxPropertyPage : public ConfigPage {
    Q_OBJECT
public:
    ToolBoxPropertyPage(session::AppData& app, ConfigWorkingSet& set, platform::Timing timing = {},
                        QWidget* parent = nullptr);
    ~ToolBoxPropertyPage() override;

    bool Fetching() const { return fetching_; }
    // "Zdarzenia serwera": starts the fetch, or cancels the running one.
    void OnServerEvents();

    void ContributeValues(SheetPageValues& values) const override;
    void AddSendRoutines(ApplyRoutines& routines) override;

protected:
    void Fill() override;
    void Pull() override;
    // Runs the family's viewer on the records. Tests replace it.
    virtual void ShowLog(std::vector<DeviceLogRecord> records);

private:
    void OnLogResult(LogFetchResult result);
    void SetIdle();

    session::AppData& app_;
    platform::Timing timing_;
    QString idleCaption_, busyCaption_;
    bool fetching_ = false;
    ToolBoxValues values_;
    LogFetchJob job_;

    QLabel* version_ = nullptr;
    QLabel* mac_ = nullptr;
    IndexedCombo* turbo_ = nullptr;
    QPushButton* events_ = nullptr;
    QLabel* maxLabel_ = nullptr;
    NumberEdit* maxEvents_ = nullptr;
    QLabel* descriptionLabel_ = nullptr;
    LimitedTextEdit* description_ = nullptr;
    std::array<QLabel*, 2> channelLabels_{};
    std::array<LimitedTextEdit*, 2> channelNames_{};
};

}  // namespace config
