#pragma once
// "Alarm List": the alarm recordings this client made, as the alarm list
// object reads them from "AlarmData.dat". Delete and Clear mark records
// through the object and have it save the list at once; the page then reads
// the list again, so its rows, selection and clicks always match the file.
// Play and a double click start the companion player on the recording.
// Apply and Exit do nothing with this page.

#include <QString>

#include <optional>
#include <vector>

#include "config/gui/ConfigPage.h"
#include "recording/alarmlist/AlarmListFile.h"

class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace session {
class AppData;
}

namespace config {

class AlarmDataPage : public ConfigPage {
    Q_OBJECT
public:
    AlarmDataPage(session::AppData& app, ConfigWorkingSet& set, QWidget* parent = nullptr);

    // The list again from the file: 1 when it was read (or is empty), 0 when it could not be.
    int LoadAlarmList();

    void OnPlay();
    void OnRefresh() { LoadAlarmList(); }
    void OnDelete();
    void OnClear();
    void OnClickList();
    void OnDblclkList();

    QTreeWidget* List() const { return m_ctrlAlarmList; }
    QPlainTextEdit* PathEdit() const { return pathEdit_; }
    QPushButton* PlayButton() const { return play_; }
    QPushButton* RefreshButton() const { return refresh_; }
    QPushButton* DeleteButton() const { return delete_; }
    QPushButton* ClearButton() const { return clear_; }
    const QString& FilePath() const { return m_strFilePath; }

protected:
    void Fill() override { LoadAlarmList(); }

private:
    // The row-th record not deleted, its file mark taken now; none without one.
    std::optional<recording::AlarmDBItem> RecordAt(int row) const;
    int SelectedRow() const;
    // Reads the list and shows it with the row selected (row 0 when there is no such row).
    int Reload(int select);
    // The path text for the row's record: its name, marked when its recording
    // does not open; empty without one.
    void ShowRecordPath(int row, const std::optional<recording::AlarmDBItem>& record);
    void StartPlayer(const std::string& recording);

    session::AppData& app_;
    std::vector<recording::AlarmDBItem> rows_;
    int shownRow_ = -1;  // the row whose recording the path text names; Play starts it
    QString m_strFilePath;

    QTreeWidget* m_ctrlAlarmList = nullptr;
    QPlainTextEdit* pathEdit_ = nullptr;
    QPushButton* play_;
    QPushButton* refresh_;
    QPushButton* delete_;
    QPushButton* clear_;
};

}  // namespace config
