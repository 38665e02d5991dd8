#pragma once
// The record list (dialog 335): the entries of one record search as a table
// with kind boxes that narrow it. Every row keeps its entry, so a pick (double
// click or "Załaduj") hands the entry the operator sees to the network backup
// page: PendingSelection is filled and the sheet brings that page forward.

#include <QDialog>

#include <cstdint>
#include <vector>

#include "recording/search/RecordList.h"
#include "recording/search/SearchList.h"

class QCheckBox;
class QPushButton;
class QTreeWidget;

namespace recording {

inline constexpr int kRecordListDialogId = 335;

class RecordListDialog : public QDialog {
    Q_OBJECT
public:
    // The page's entries (read only, they outlive the dialog), the title, the
    // page's disk position and list type (255 when none was chosen).
    RecordListDialog(const std::vector<SearchListEntry>& entries, const QString& title, std::uint8_t diskIndex,
                     std::uint8_t listType, QWidget* parent = nullptr);

    QTreeWidget* List() const { return m_ctlList; }
    QCheckBox* AlarmBox() const { return alarm_; }
    QCheckBox* ManualBox() const { return manual_; }
    QCheckBox* MotionBox() const { return motion_; }
    QCheckBox* SystemBox() const { return system_; }
    QCheckBox* TimerBox() const { return timer_; }
    QPushButton* LoadButton() const { return load_; }
    QPushButton* ExitButton() const { return exit_; }
    // The entry index each row shows, in row order.
    const std::vector<std::size_t>& RowEntries() const { return rowEntries_; }

    void OnLoad();
    void OnDblclkList();

private:
    void AddRows(const std::vector<std::size_t>& entries);
    void OnFilter(bool RecordListFilter::*flag, QCheckBox* box);
    void Pick(int row);

    const std::vector<SearchListEntry>& m_pSearchList;
    std::uint8_t m_byDiskIndex;
    std::uint8_t m_byListType;
    RecordListFilter filter_;
    std::vector<std::size_t> rowEntries_;

    QTreeWidget* m_ctlList;
    QCheckBox* alarm_;
    QCheckBox* manual_;
    QCheckBox* motion_;
    QCheckBox* system_;
    QCheckBox* timer_;
    QPushButton* load_;
    QPushButton* exit_;
};

}  // namespace recording
