#pragma once
// "Server Time Config": the clock of a video server or G66M camera, either
// from a time server (named or found automatically) in a chosen zone, or set
// by the person. "Synchronizuj" sends "/SyncTime.cgi" at once on the
// device-command worker and then brings block 8 to what the page shows. The
// page shares the working copies with that job, which may outlive the sheet.

#include <QList>

#include <memory>

#include "config/gui/ConfigPage.h"
#include "config/pages/SntpValues.h"
#include "platform/Timing.h"

class QDateEdit;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimeEdit;

namespace session {
class AppData;
}

namespace config {

class IndexedCombo;
class LimitedTextEdit;
class RadioGroup;

class CSNTPPage : public ConfigPage {
    Q_OBJECT
public:
    CSNTPPage(std::shared_ptr<ConfigWorkingSet> set, session::AppData& app, QWidget* parent = nullptr);

    void SetTiming(const platform::Timing& timing) { timing_ = timing; }
    const SntpValues& Values() const { return values_; }
    void AddSendRoutines(ApplyRoutines& routines) override;

    void Synchronise();

    QRadioButton* ServerTimeButton() const { return serverTime_; }
    QRadioButton* PersonTimeButton() const { return personTime_; }
    QRadioButton* NamedServerButton() const { return named_; }
    QRadioButton* AutomaticButton() const { return automatic_; }
    LimitedTextEdit* ServerEdit() const { return server_; }
    IndexedCombo* ZoneList() const { return zone_; }
    QPushButton* SyncButton() const { return sync_; }
    QDateEdit* DatePicker() const { return date_; }
    QTimeEdit* TimePicker() const { return time_; }

signals:
    // The synchronisation and its store of block 8 are done.
    void Synchronised();

protected:
    void Fill() override;
    void Pull() override;

private:
    void ShowTimeMode(int mode);
    void ShowServerMode(int mode);
    void UpdateSyncButton();

    std::shared_ptr<ConfigWorkingSet> set_;
    session::AppData& app_;
    platform::Timing timing_;
    SntpValues values_;
    QRadioButton* serverTime_ = nullptr;
    QRadioButton* personTime_ = nullptr;
    QPushButton* sync_ = nullptr;
    IndexedCombo* zone_ = nullptr;
    QRadioButton* named_ = nullptr;
    QRadioButton* automatic_ = nullptr;
    LimitedTextEdit* server_ = nullptr;
    QDateEdit* date_ = nullptr;
    QTimeEdit* time_ = nullptr;
    RadioGroup* timeMode_;
    RadioGroup* serverMode_;
    QList<QWidget*> serverGroup_;
    QList<QWidget*> personGroup_;
};

}  // namespace config
