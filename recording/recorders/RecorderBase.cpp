#include "recording/recorders/RecorderBase.h"

#include "session/AppData.h"
#include "session/files/TraceLog.h"
#include "session/live/LocalClock.h"

namespace recording {

void ResetSemaphore(platform::Semaphore& sem, long initial) {
    while (sem.Wait(platform::Millis(0))) {
    }
    if (initial > 0)
        sem.Release(initial);
}

RecorderBase::RecorderBase(session::AppData& app, RecordType type) : app_(app), type_(type) {}

RecorderBase::~RecorderBase() { thread_.Stop(); }

bool RecorderBase::CreateResource() {
    ResetSemaphore(historySem_, 1);
    ResetSemaphore(readySem_, 0);
    start_.Reset();
    stop_.Reset();
    done_.Reset();
    resources_ = true;
    return true;
}

void RecorderBase::CloseResource() { resources_ = false; }

void RecorderBase::LimitFileSize(std::uint64_t bytes) {
    std::lock_guard lock(fileLock_);
    writer_.LimitFileSize(bytes);
}

std::string RecorderBase::RecordFolder(const std::string& folder) {
    if (folder.empty())
        return {};
    if (folder.back() == '/')
        return folder;
    const std::string withSlash = folder + "/";
    if (app_.CSettingINI.m_strRecordPath.Get() == folder)
        app_.CSettingINI.m_strRecordPath.Set(withSlash);
    return withSlash;
}

bool RecorderBase::OpenFile(const std::string& folder, const std::string& name) {
    std::string error = "no record folder";
    if (!folder.empty() && writer_.Open(folder, name, &error))
        return true;
    session::WriteTraceLog("Create record file failed: " + error);
    return false;
}

std::size_t RecorderBase::WriteHeader() {
    RecordHeaderFields fields;
    fields.created = session::ToSystemTime(session::LocalCalendarTime());
    fields.serverName = app_.CSettingINI.m_strServerName.Get();
    fields.userName = app_.CSettingINI.m_strUserName.Get();
    fields.type = type_;
    return writer_.WriteFileHeader(fields);
}

bool RecorderBase::WriteNewest() { return WriteNewestEntries(1); }

bool RecorderBase::WriteNewestEntries(std::size_t count) {
    const auto& history = app_.FrameHistory;
    const std::size_t newest = history.NewestIndex();
    for (std::size_t k = count; k-- > 0;) {
        const std::size_t index = (newest + kFrameHistoryCount - k) % kFrameHistoryCount;
        if (!writer_.AppendFrame(history.Entry(index), history.Frame(index)))
            return false;
        frameNumber_ = writer_.Frames();
    }
    return true;
}

void RecorderBase::Deactivate(std::stop_token stop) {
    m_fActive = false;
    // A push under way has taken HistorySem and hands over either way: a frame
    // (FrameReadySem, not to be written now) or the semaphore itself.
    const auto r = platform::WaitForAny({&readySem_, &historySem_}, platform::kInfinite, stop);
    if (r.signalled())
        historySem_.Release();
}

bool RecorderBase::TakeUpRecording(std::stop_token stop) {
    for (;;) {
        const auto woke = platform::WaitForAny({&start_, &app_.h_EndofGetJpegImageEvent}, platform::kInfinite, stop);
        if (!woke.signalled() || woke.index != 0)
            return false;
        std::lock_guard lock(fileLock_);
        if (!writer_.IsOpen())
            continue;  // the recording was stopped before the thread took it up
        inRecording_ = true;
        // A stop left over from a recording that ended on its own is not for this one.
        stop_.Reset();
        done_.Reset();
        return true;
    }
}

bool RecorderBase::StartThread(std::function<void(std::stop_token)> body) {
    thread_.Stop();
    return thread_.Start(std::move(body));
}

}  // namespace recording
