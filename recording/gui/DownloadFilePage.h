#pragma once
// "Archiwizacja  ": the configuration sheet's network backup page. The
// operator picks a start date and time, a disk of the DVR, a channel, a size
// and a target folder, optionally feeding the companion player while the file
// grows and writing the finished file to disc, and starts the download. The
// disk list comes from "/GetDvrHDD.cgi" on the device-command worker; a pick of
// the record list fills channel, disk, date and time at the next activation.
// The rules live in DownloadFilePageState; this is their wiring.

#include <QPointer>

#include "config/gui/ConfigPage.h"
#include "platform/Timing.h"
#include "recording/netbackup/DownloadFilePageState.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QTimeEdit;

namespace config {
class NumberEdit;
}
namespace session {
class AppData;
}

namespace recording {

class DownloadFilePage : public config::ConfigPage {
    Q_OBJECT
public:
    DownloadFilePage(session::AppData& app, config::ConfigWorkingSet& set, platform::Timing timing = {},
                     QWidget* parent = nullptr);

    const DownloadFilePageState& State() const { return state_; }
    // The disk list's request is still out.
    bool Loading() const { return loading_; }
    // A Start is between its checks and the end of its download dialog.
    bool Starting() const { return starting_; }

    void OnButtonStart();
    void OnButtonLocation();
    // Apply takes the dynamic-load choice, and the folder once "Lokalizacja :" chose one.
    void ContributeValues(config::SheetPageValues& values) const override;

signals:
    // The disk list's answer was handled (taken or not).
    void DisksLoaded();
    // The companion player was asked to open the downloaded file.
    void PlayerRunPosted();

protected:
    void Fill() override;
    void showEvent(QShowEvent* event) override;

private:
    void OnDiskList(const std::optional<DiskMap>& map);
    void OnSetActive();
    void TakeOverPendingSelection();
    void OnChangeFileSize();
    void OnChangeChannel();
    void OnCheckDynamicLoad();
    void OnCheckWriteCD();
    void RunDownload(const NetworkBackupRequest& request);
    // A second later, the player on the downloaded file (mailbox code 7).
    void RunPlayerLater();
    void EndStart();
    // UpdateData: the values into the controls (no change handler runs), or back.
    void ShowValues();
    void ReadValues();

    session::AppData& app_;
    const platform::Timing timing_;
    DownloadFilePageState state_;
    bool loading_ = false;
    bool activationWaiting_ = false;
    bool starting_ = false;
    bool folderChanged_ = false;

    QDateEdit* m_pDateCtrl;
    QTimeEdit* m_pTimeCtrl;
    QComboBox* disks_;
    config::NumberEdit* size_;
    config::NumberEdit* channel_;
    QLineEdit* path_;
    QPushButton* location_;
    QCheckBox* dynamicLoad_;
    QCheckBox* writeCd_;
    QPushButton* start_;
};

}  // namespace recording
