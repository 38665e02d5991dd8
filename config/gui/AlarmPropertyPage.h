#pragma once
// The alarm page ("Alarm"): whether the alarm input is watched, e-mail and
// FTP reactions, pictures after the alarm, the alarm time by family, a video
// server's video sources per input, and two of the program's own settings:
// recording on alarms (video servers and N5H) and switching to the alarming
// channel (multi-channel DVRs). "Alarm" / "Odśwież" clears the alarm the
// stream latched. Apply writes what changed into block 11 and stores it; the
// two settings are taken over whether or not the page was opened.

#include <QList>

#include <array>

#include "config/gui/ConfigPage.h"
#include "config/pages/AlarmValues.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace session {
class AppData;
}

namespace config {

class IndexedCombo;

class AlarmPropertyPage : public ConfigPage {
    Q_OBJECT
public:
    AlarmPropertyPage(ConfigWorkingSet& set, session::AppData& app, std::uint8_t alarmTriggerRecord,
                      QWidget* parent = nullptr);

    const AlarmValues& Values() const { return values_; }
    std::uint8_t AlarmRecording() const { return alarmRecording_; }
    std::uint8_t SwitchToVideo() const { return switchToVideo_; }

    void ContributeSettings(SheetPageValues& values) const override;
    void AddSendRoutines(ApplyRoutines& routines) override;

protected:
    void Fill() override;
    void Pull() override;

private:
    void SetReaction(std::uint8_t reaction);
    void ShowValues();

    session::AppData& app_;
    AlarmValues values_;
    std::uint8_t alarmRecording_;
    std::uint8_t switchToVideo_;

    QRadioButton* inputOn_ = nullptr;
    QRadioButton* inputOff_ = nullptr;
    QCheckBox* email_ = nullptr;
    QCheckBox* ftp_ = nullptr;
    IndexedCombo* pictures_ = nullptr;
    IndexedCombo* time_ = nullptr;
    QCheckBox* switchVideo_ = nullptr;
    QGroupBox* sourceGroup_ = nullptr;
    std::array<std::array<QRadioButton*, 4>, 2> sources_{};  // [channel - 1][input - 1]
    QList<QWidget*> sourceSection_;  // the group box, its two labels and its eight radios: a video server's only
    QPushButton* clearAlarm_ = nullptr;
    QLabel* recordingLabel_ = nullptr;
    QRadioButton* recordingOn_ = nullptr;
    QRadioButton* recordingOff_ = nullptr;
};

}  // namespace config
