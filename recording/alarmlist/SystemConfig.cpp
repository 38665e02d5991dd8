#include "recording/alarmlist/SystemConfig.h"

#include <algorithm>
#include <unistd.h>

#include "platform/AtomicFile.h"
#include "platform/MoveAside.h"
#include "session/files/TraceLog.h"
#include "session/live/LocalClock.h"

namespace recording {

namespace {

bool FileOpens(const AlarmDBItem& item) {
    const std::string name = item.FileName();
    return !name.empty() && ::access(name.c_str(), R_OK) == 0;
}

}  // namespace

SystemConfig::SystemConfig(std::filesystem::path programFolder, std::function<void(const std::string&)> damaged)
    : folder_(std::move(programFolder)), damaged_(std::move(damaged)) {}

std::filesystem::path SystemConfig::Path() const { return folder_ / kAlarmListFileName; }

int SystemConfig::AlarmDB_SetRecordFile(std::string_view path) {
    std::lock_guard lock(lock_);
    current_ = {};
    current_.SetFileName(path);
    return 1;
}

void SystemConfig::SetCurrentItemTime(const session::SystemTime& time) {
    std::lock_guard lock(lock_);
    current_.stTime = time;
    current_.stTime.wDayOfWeek = 0;
    current_.stTime.wMilliseconds = 0;
}

AlarmDBItem SystemConfig::CurrentItem() const {
    std::lock_guard lock(lock_);
    return current_;
}

SystemConfig::Load SystemConfig::LoadLocked(std::vector<AlarmDBItem>& items) {
    items.clear();
    const auto path = Path();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return ec ? Load::IoError : Load::Missing;
    const auto size = std::filesystem::file_size(path, ec);
    std::string bytes;
    if (!ec && size <= kAlarmListMaxFileBytes && !platform::ReadWholeFile(path, bytes))
        return Load::IoError;
    AlarmList list;
    if (!ec && size <= kAlarmListMaxFileBytes)
        list = ParseAlarmList({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    else
        list.status = AlarmList::Status::NotAList;
    if (list.status == AlarmList::Status::Ok) {
        items = std::move(list.items);
        return Load::Ok;
    }
    std::filesystem::path moved;
    const auto aside = platform::MoveFileAside(path, session::LocalCalendarTime(), &moved);
    if (!aside) {
        session::WriteTraceLog("Alarm list is damaged and cannot be moved aside: " + aside.error);
        return Load::IoError;
    }
    session::WriteTraceLog("Alarm list is damaged; moved aside to " + moved.string());
    return Load::Damaged;
}

AlarmListResult SystemConfig::StoreLocked(const std::vector<AlarmDBItem>& items) {
    const auto bytes = SerializeAlarmList(items);
    const auto result = platform::ReplaceFileAtomically(
        Path(), std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!result) {
        session::WriteTraceLog("Alarm list cannot be written: " + result.error);
        return AlarmListResult::IoError;
    }
    return AlarmListResult::Ok;
}

void SystemConfig::TellDamaged(Load load) const {
    // Only after the lock is let go: the message may stay open for long, and
    // an alarm meanwhile needs the list on the stream's threads.
    if (load == Load::Damaged && damaged_)
        damaged_(kAlarmListReadFailedText);
}

AlarmListResult SystemConfig::AlarmDB_AddRecord(std::uint32_t frames, std::string_view source) {
    Load load;
    AlarmListResult result = AlarmListResult::IoError;
    {
        std::lock_guard lock(lock_);
        current_.wNumber = headCount_;
        ++headCount_;
        current_.dwFrames = frames;
        current_.SetSource(source);
        std::vector<AlarmDBItem> items;
        load = LoadLocked(items);
        if (load != Load::IoError) {
            if (items.size() >= kAlarmListMaxItems)
                items.erase(items.begin(),
                            items.begin() + static_cast<std::ptrdiff_t>(items.size() - kAlarmListMaxItems + 1));
            items.push_back(current_);
            result = StoreLocked(items);
        }
    }
    TellDamaged(load);
    return result;
}

void SystemConfig::MarkFilesLocked(std::vector<AlarmDBItem>& items) const {
    for (auto& item : items) {
        if (FileOpens(item))
            item.byState &= static_cast<std::uint8_t>(~kAlarmItemFileMissing);
        else
            item.byState |= kAlarmItemFileMissing;
    }
}

AlarmListResult SystemConfig::AlarmDB_Read(std::vector<AlarmDBItem>& items) {
    Load load;
    AlarmListResult result = AlarmListResult::Ok;
    {
        std::lock_guard lock(lock_);
        buffer_.clear();
        headCount_ = 0;
        items.clear();
        load = LoadLocked(buffer_);
        switch (load) {
        case Load::IoError:
            result = AlarmListResult::IoError;
            break;
        case Load::Missing:
        case Load::Damaged:
            result = StoreLocked({});
            break;
        case Load::Ok:
            headCount_ = static_cast<std::uint16_t>(buffer_.size());
            for (auto& item : buffer_)
                item.byState = FileOpens(item) ? 0 : kAlarmItemFileMissing;
            items = buffer_;
            break;
        }
    }
    TellDamaged(load);
    return result;
}

int SystemConfig::AlarmDB_AllocateBuffer() {
    std::lock_guard lock(lock_);
    buffer_.assign(headCount_, AlarmDBItem{});
    return 1;
}

int SystemConfig::AlarmDB_FreeBuffer() {
    std::lock_guard lock(lock_);
    buffer_.clear();
    buffer_.shrink_to_fit();
    return 1;
}

bool SystemConfig::AlarmDB_MarkDeleted(std::size_t position) {
    std::lock_guard lock(lock_);
    m_fModified = true;
    for (auto& item : buffer_) {
        if (item.byState & kAlarmItemDeleted)
            continue;
        if (position-- == 0) {
            item.byState = kAlarmItemDeleted;
            return true;
        }
    }
    return false;
}

void SystemConfig::AlarmDB_MarkAllDeleted() {
    std::lock_guard lock(lock_);
    m_fModified = true;
    for (auto& item : buffer_)
        item.byState = kAlarmItemDeleted;
}

std::vector<AlarmDBItem> SystemConfig::AlarmDB_VisibleItems() {
    std::lock_guard lock(lock_);
    std::vector<AlarmDBItem> visible;
    for (auto& item : buffer_)
        if (!(item.byState & kAlarmItemDeleted))
            visible.push_back(item);
    MarkFilesLocked(visible);
    return visible;
}

bool SystemConfig::Modified() const {
    std::lock_guard lock(lock_);
    return m_fModified;
}

AlarmListResult SystemConfig::AlarmDB_Save() {
    Load load = Load::Ok;
    const AlarmListResult result = [&] {
        std::lock_guard lock(lock_);
        if (!m_fModified)
            return AlarmListResult::Ok;
        std::vector<std::string> deleted;
        for (const auto& item : buffer_)
            if (item.byState & kAlarmItemDeleted)
                deleted.push_back(item.FileName());
        std::vector<AlarmDBItem> items;
        load = LoadLocked(items);
        if (load == Load::IoError)
            return AlarmListResult::IoError;
        if (load != Load::Ok) {
            // No list to edit: what the page still shows becomes the list.
            for (const auto& item : buffer_)
                if (!(item.byState & kAlarmItemDeleted))
                    items.push_back(item);
        } else {
            std::erase_if(items, [&](const AlarmDBItem& item) {
                return std::find(deleted.begin(), deleted.end(), item.FileName()) != deleted.end();
            });
        }
        const auto stored = StoreLocked(items);
        if (stored != AlarmListResult::Ok)
            return stored;
        m_fModified = false;
        buffer_.clear();
        return AlarmListResult::Ok;
    }();
    TellDamaged(load);
    return result;
}

}  // namespace recording
