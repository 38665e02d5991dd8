#pragma once
// "Playback Search" (dialog 351): tells the DVR to search its recordings from
// a moment in time, or for an alarm or motion event on one channel, on one
// disk or all of them. The disk list comes from "/GetDvrHDD.cgi" and the
// search goes out as "/SearchPlayBack.cgi", both on the device-command worker
// while the dialog shows it is busy. A start that failed (no disk list, a
// device outside the three recorder models) leaves OK and the search type
// disabled. A successful event search closes the dialog; a time search, or a
// failed one, leaves it open.

#include <QDialog>

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Timing.h"
#include "recording/search/DiskMap.h"

class QComboBox;
class QDateEdit;
class QPushButton;
class QTimeEdit;

namespace session {
class AppData;
}

namespace recording {

inline constexpr int kPlaybackSearchDialogId = 351;

class PlaybackSearchDialog : public QDialog {
    Q_OBJECT
public:
    explicit PlaybackSearchDialog(session::AppData& app, platform::Timing timing = {}, QWidget* parent = nullptr);

    // The start has ended (the disk list came back or failed).
    bool Started() const { return started_; }
    // The start filled both lists; OK is usable.
    bool Ready() const { return ready_; }
    bool Sending() const { return sending_; }

    QComboBox* SearchTypeCombo() const { return m_pSearchTypeCombo; }
    QComboBox* DiskCombo() const { return m_pDiskCombo; }
    QComboBox* ChannelCombo() const { return m_pChannelCombo; }
    QComboBox* EventTypeCombo() const { return m_pEventTypeCombo; }
    QDateEdit* DateCtrl() const { return m_pDateCtrl; }
    QTimeEdit* TimeCtrl() const { return m_pTimeCtrl; }
    QPushButton* OkButton() const { return ok_; }

    void accept() override;  // button 1: the search

private:
    void OnInitDialog();
    void FillLists(const std::optional<DiskMap>& disks);
    void OnSelchangeSearchType();
    void OnSearchSent(bool eventSearch, bool sent);

    session::AppData& app_;
    platform::Timing timing_;
    bool started_ = false;
    bool ready_ = false;
    bool sending_ = false;
    DiskMap m_byDiskMap;
    std::vector<std::optional<std::uint8_t>> diskOfItem_;

    QComboBox* m_pSearchTypeCombo;
    QComboBox* m_pDiskCombo;
    QComboBox* m_pChannelCombo;
    QComboBox* m_pEventTypeCombo;
    QDateEdit* m_pDateCtrl;
    QTimeEdit* m_pTimeCtrl;
    QPushButton* ok_;
};

}  // namespace recording
