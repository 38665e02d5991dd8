#include "recording/recorders/AlarmRecord.h"

#include <algorithm>

#include "recording/alarmlist/SystemConfig.h"
#include "session/AppData.h"
#include "session/files/TraceLog.h"
#include "session/live/LocalClock.h"

namespace recording {

namespace {

// The history count saturates here; 20 or more means the ring is full.
constexpr std::uint16_t kHistoryCountLimit = 21;

}  // namespace

CAlarmRecord::CAlarmRecord(session::AppData& app, SystemConfig& alarmList)
    : RecorderBase(app, RecordType::Alarm), alarmList_(alarmList) {}

CAlarmRecord::~CAlarmRecord() {
    thread_.Stop();
    std::lock_guard lock(fileLock_);
    CloseFile();
}

bool CAlarmRecord::CreateThread(std::uint8_t) {
    thread_.Stop();
    frameNumber_ = 0;
    m_fActive = false;
    m_fRecording = false;
    m_wHistoryCount = 0;
    m_fTerminated = false;
    m_byFirstFrameMarker = 0xFF;
    app_.CRTPHeader.ClearAlarmData();
    return StartThread([this](std::stop_token stop) { Thread(stop); });
}

bool CAlarmRecord::StartRecord(const std::string& folderText, std::uint8_t) {
    if (m_fTerminated)
        return false;
    const std::string folder = RecordFolder(folderText);
    std::lock_guard lock(fileLock_);
    if (writer_.IsOpen())
        return false;
    m_fRecording = true;
    const std::string name = AlarmRecordFileName(session::LocalCalendarTime(), app_.SessionCookie.Get());
    if (!OpenFile(folder, name))
        return false;
    alarmList_.AlarmDB_SetRecordFile(writer_.Path().string());
    m_byFirstFrameMarker = 0xFF;
    start_.Set();
    return true;
}

void CAlarmRecord::CancelUnstarted() {
    start_.Reset();
    writer_.Discard();
    m_fRecording = false;
}

void CAlarmRecord::StopRecord() {
    {
        std::lock_guard lock(fileLock_);
        if (!writer_.IsOpen()) {
            m_fRecording = false;  // an alarm whose file could not be created ends here
            return;
        }
        if (!inRecording_) {
            CancelUnstarted();
            return;
        }
    }
    stop_.Set();
    done_.Wait(kStopRecordWait);
}

void CAlarmRecord::TerminateRecord() {
    m_fTerminated = true;
    StopRecord();
    app_.CRTPHeader.ClearAlarmData();
    app_.m_strAlarmChannel.Set("");
}

void CAlarmRecord::FrameStored(std::uint16_t historyIndex) {
    std::uint16_t count = m_wHistoryCount.load();
    if (count < kHistoryCountLimit)
        m_wHistoryCount.store(count + 1);
    std::uint8_t marker = 0xFF;
    if (m_fActive && m_byFirstFrameMarker.compare_exchange_strong(marker, 0))
        alarmList_.SetCurrentItemTime(app_.FrameHistory.Entry(historyIndex).stStoreTime);
}

void CAlarmRecord::GiveItemFirstFrameTime() {
    // The push gives the time unless it decided before the thread went
    // active; then the frame that woke the thread, the newest, gives it.
    std::uint8_t marker = 0xFF;
    if (m_byFirstFrameMarker.compare_exchange_strong(marker, 0))
        alarmList_.SetCurrentItemTime(app_.FrameHistory.Entry(app_.FrameHistory.NewestIndex()).stStoreTime);
}

void CAlarmRecord::Thread(std::stop_token stop) {
    while (TakeUpRecording(stop)) {
        Record(stop);
        if (m_fTerminated || stop.stop_requested())
            return;
    }
}

void CAlarmRecord::Record(std::stop_token stop) {
    m_fActive = true;
    bool preAlarm = true;
    for (;;) {
        if (stop_.Wait(platform::Millis(0)))
            break;
        const auto w = platform::WaitForAny({&readySem_, &stop_, &app_.h_EndofGetJpegImageEvent},
                                            platform::kInfinite, stop);
        if (!w.signalled() || w.index != 0)
            break;
        bool ok;
        {
            std::lock_guard lock(fileLock_);
            ok = preAlarm ? PreAlarmPass() : LivePass();
        }
        preAlarm = false;
        historySem_.Release();
        if (afterFrame_)
            afterFrame_();
        if (!ok)
            break;  // a failed write ends the recording like a stop
    }
    Deactivate(stop);
    std::lock_guard lock(fileLock_);
    CloseFile();
    inRecording_ = false;
    m_fRecording = false;
    m_byFirstFrameMarker = 0xFF;
    frameNumber_ = 0;
    done_.Set();
}

bool CAlarmRecord::PreAlarmPass() {
    if (WriteHeader() == 0)
        return false;
    GiveItemFirstFrameTime();
    // The frames pushed since the thread began, at most the whole ring,
    // ending with the frame that woke the thread.
    const std::size_t count = std::clamp<std::size_t>(m_wHistoryCount.load(), 1, kFrameHistoryCount);
    return WriteNewestEntries(count);
}

bool CAlarmRecord::LivePass() {
    if (writer_.Frames() >= kRecordFramesPerFile && !RollOver())
        return false;
    return WriteNewest();
}

bool CAlarmRecord::RollOver() {
    // One list item per file, each with its own first time and count.
    const std::filesystem::path folder = writer_.Path().parent_path();
    CloseFile();
    frameNumber_ = 0;
    const std::string name = AlarmRecordFileName(session::LocalCalendarTime(), app_.SessionCookie.Get());
    if (!OpenFile(folder.string(), name))
        return false;
    alarmList_.AlarmDB_SetRecordFile(writer_.Path().string());
    m_byFirstFrameMarker = 0xFF;
    GiveItemFirstFrameTime();
    return WriteHeader() != 0;
}

void CAlarmRecord::CloseFile() {
    if (!writer_.IsOpen())
        return;
    const std::uint32_t frames = writer_.Frames();
    if (frames == 0) {
        writer_.Discard();
        return;
    }
    if (!writer_.Finish())
        session::WriteTraceLog("Alarm record file is incomplete: " + writer_.Path().string());
    if (alarmList_.AlarmDB_AddRecord(frames, app_.CSettingINI.m_strServerName.Get()) != AlarmListResult::Ok)
        session::WriteTraceLog("Alarm record item could not be added");
}

}  // namespace recording
