#pragma once
// The alarm list object: assembles the item of the alarm recording in
// progress, appends finished items to "AlarmData.dat" in the program folder
// (at most 1,024, the oldest dropped), and holds the alarm list page's record
// buffer with its deletion marks until it saves them. One mutex makes each
// operation whole; the alarm record thread, the push, the receive thread and
// the GUI thread all come here.
//
// Every change replaces the file atomically. A file that is not a list (short
// head, wrong magic, too large) is moved aside and reported, never deleted,
// and a fresh list starts.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "recording/alarmlist/AlarmListFile.h"
#include "session/SystemTime.h"

namespace recording {

inline constexpr const char* kAlarmListFileName = "AlarmData.dat";
inline constexpr const char* kAlarmListReadFailedText = "Read alarm database file is failed";

enum class AlarmListResult {
    Ok,
    IoError,  // the file could not be read or written; it is as it was
};

class SystemConfig {
public:
    // damaged is told (on the calling thread, after the operation has let the
    // list go) when a file that is not a list was moved aside; it shows
    // kAlarmListReadFailedText to the operator.
    explicit SystemConfig(std::filesystem::path programFolder,
                          std::function<void(const std::string&)> damaged = {});
    SystemConfig(const SystemConfig&) = delete;
    SystemConfig& operator=(const SystemConfig&) = delete;

    std::filesystem::path Path() const;

    // ---- The alarm recording in progress ---------------------------------
    // A new current item with the recording's path.
    int AlarmDB_SetRecordFile(std::string_view path);
    // The time of the recording's first frame (the push calls it).
    void SetCurrentItemTime(const session::SystemTime& time);
    AlarmDBItem CurrentItem() const;
    // Appends the current item with its frame count and source address.
    AlarmListResult AlarmDB_AddRecord(std::uint32_t frames, std::string_view source);

    // ---- The alarm list page ---------------------------------------------
    // Reads the list into the record buffer (a missing file is created empty)
    // and returns its items, each with kAlarmItemFileMissing set when its
    // recording cannot be opened.
    AlarmListResult AlarmDB_Read(std::vector<AlarmDBItem>& items);
    int AlarmDB_AllocateBuffer();
    int AlarmDB_FreeBuffer();
    // The list file is open only inside an operation; kept for the page's calls.
    int AlarmDB_CloseFile() { return 1; }
    // Marks the position-th item not yet deleted, or all of them; false when
    // there is no such item. Both set m_fModified.
    bool AlarmDB_MarkDeleted(std::size_t position);
    void AlarmDB_MarkAllDeleted();
    // The buffer's items not marked deleted, their file marks refreshed.
    std::vector<AlarmDBItem> AlarmDB_VisibleItems();
    bool Modified() const;
    // Rewrites the file without every item that bears the name of an item
    // marked deleted; items added since the reading are kept.
    AlarmListResult AlarmDB_Save();

private:
    enum class Load { Ok, Missing, Damaged, IoError };
    Load LoadLocked(std::vector<AlarmDBItem>& items);
    void TellDamaged(Load load) const;
    AlarmListResult StoreLocked(const std::vector<AlarmDBItem>& items);
    void MarkFilesLocked(std::vector<AlarmDBItem>& items) const;

    const std::filesystem::path folder_;
    const std::function<void(const std::string&)> damaged_;
    mutable std::mutex lock_;
    bool m_fModified = false;
    std::uint16_t headCount_ = 0;  // the page's count, raised by each add
    AlarmDBItem current_;
    std::vector<AlarmDBItem> buffer_;
};

}  // namespace recording
