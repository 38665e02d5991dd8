#pragma once
// The record search page ("Wyszukiw.  ", dialog 333) of a DVR's configuration
// sheet: the disks of "/GetDvrHDD.cgi" (read on the device-command worker when
// the page is first shown), the list type and the maximum, and the search that
// fetches "/GetSearchList.cgi" pages on the worker while the sheet's progress
// strip runs, then shows the record list. Apply stores the three choices the
// operator touched; the page's own filling touches none. The sheet ending,
// or the page going away, ends a running search at once.

#include <array>
#include <cstdint>
#include <functional>
#include <stop_token>
#include <vector>

#include "config/gui/ConfigPage.h"
#include "platform/Timing.h"
#include "recording/search/DiskMap.h"
#include "recording/search/SearchList.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace session {
class AppData;
}

namespace recording {

class RecordListDialog;

inline constexpr int kEventPageDialogId = 333;
// The prompt for an emptied maximum (the string table has no text for it).
inline constexpr const char* kMaxNumberPromptText = "Please enter a non-negative whole number.";

class CEventPage : public config::ConfigPage {
    Q_OBJECT
public:
    CEventPage(session::AppData& app, config::ConfigWorkingSet& set, platform::Timing timing = {},
               QWidget* parent = nullptr);
    ~CEventPage() override;

    // Button 1068: one whole search, then the record list.
    void LoadSearchList();
    bool Searching() const { return searching_; }
    // The disk list arrived (or its request failed); false while it is asked for.
    bool DisksRead() const { return disksRead_; }

    // How the record list runs (modally by default); tests operate it.
    void SetRecordListRunner(std::function<int(RecordListDialog&)> run) { runRecordList_ = std::move(run); }

    void ContributeValues(config::SheetPageValues& values) const override;

    int m_nDiskIndex = -1;
    int m_nListType = -1;
    std::uint32_t m_nMaxNumber = 0;
    DiskMap m_byDiskMap;
    bool m_bDiskChanged = false, m_bListTypeChanged = false, m_bMaxNumberChanged = false;
    std::array<std::uint8_t, 256> m_byDiskToIndex{}, m_byIndexToDisk{};
    std::vector<SearchListEntry> m_arrSearchList;

protected:
    void Fill() override;

private:
    void ShowDisks(const DiskMap& disks);
    void UpdateData(bool save);
    void OnSelchangeDisk();
    void OnSelchangeListType();
    void OnChangeMaxNumber(const QString& text);
    void OnSearchEnded(SearchListResult result);

    session::AppData& app_;
    platform::Timing timing_;
    std::stop_source closing_;  // the page going away ends a search's waits
    bool disksRead_ = false;
    bool searching_ = false;
    std::function<int(RecordListDialog&)> runRecordList_;

    QComboBox* disk_;
    QComboBox* listType_;
    QLineEdit* maxNumber_;
    QPushButton* load_;
};

}  // namespace recording
