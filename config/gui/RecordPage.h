#pragma once
// "Ścieżka  ": this client's own folders for recordings and snapshots and its
// alarm sound file. Nothing here goes to the device: the texts start as the
// settings the sheet opened with, and Apply takes them back into the settings
// whether or not the page was ever shown.

#include <string>

#include "config/gui/ConfigPage.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace session {
class AppData;
}

namespace config {

class RecordPage : public ConfigPage {
    Q_OBJECT
public:
    RecordPage(session::AppData& app, ConfigWorkingSet& set, const SheetPrefill& prefill, QWidget* parent = nullptr);

    void ContributeSettings(SheetPageValues& values) const override;

    // "Modyfikuj": the folder browser at the current text; a cancel keeps the text.
    void OnModifyRecordPath();
    void OnModifySnapshotPath();
    // "Modyfikuj": a WAV file chosen in the open-file dialog, the only way to change the sound.
    void OnModifyAlarmSound();

    QLineEdit* RecordPathEdit() const { return recordEdit_; }
    QLineEdit* SnapshotPathEdit() const { return snapshotEdit_; }
    QLineEdit* AlarmSoundEdit() const { return soundEdit_; }
    QPushButton* RecordPathButton() const { return recordButton_; }
    QPushButton* SnapshotPathButton() const { return snapshotButton_; }
    QPushButton* AlarmSoundButton() const { return soundButton_; }

    std::string m_strRecordPath;
    std::string m_strSnapshotPath;
    std::string m_strTriggerWavPath;

protected:
    void Fill() override;

private:
    void ChooseFolder(std::string& member);
    void UpdateControls();

    session::AppData& app_;
    QLabel* soundLabel_;
    QLineEdit* snapshotEdit_;
    QLineEdit* recordEdit_;
    QLineEdit* soundEdit_;
    QPushButton* snapshotButton_;
    QPushButton* recordButton_;
    QPushButton* soundButton_;
};

}  // namespace config
