#include "recording/recorders/UserRecord.h"

#include "session/AppData.h"
#include "session/files/TraceLog.h"
#include "session/live/LocalClock.h"

namespace recording {

namespace {

constexpr std::uint8_t kCommandRecord = 2;
constexpr std::uint8_t kCommandStop = 3;

}  // namespace

CUserRecord::CUserRecord(session::AppData& app) : RecorderBase(app, RecordType::Manual) {}

CUserRecord::~CUserRecord() {
    thread_.Stop();
    std::lock_guard lock(fileLock_);
    Finish();
}

bool CUserRecord::CreateThread(std::uint8_t) {
    return StartThread([this](std::stop_token stop) { Thread(stop); });
}

bool CUserRecord::IsRecording() const {
    std::lock_guard lock(fileLock_);
    return writer_.IsOpen();
}

bool CUserRecord::StartRecord(const std::string& folderText, std::uint8_t) {
    const std::string folder = RecordFolder(folderText);
    std::lock_guard lock(fileLock_);
    if (writer_.IsOpen())
        return false;
    if (!OpenFile(folder, UserRecordFileName(session::LocalCalendarTime()))) {
        m_fHeaderPending = false;
        return false;
    }
    m_fHeaderPending = true;
    frameNumber_ = 0;
    m_byCommand = kCommandRecord;
    start_.Set();
    return true;
}

bool CUserRecord::ResumeRecord() {
    std::lock_guard lock(fileLock_);
    if (!writer_.IsOpen())
        return false;
    m_byCommand = kCommandRecord;
    start_.Set();
    return true;
}

void CUserRecord::StopRecord() {
    {
        std::lock_guard lock(fileLock_);
        if (!writer_.IsOpen())
            return;
        if (!inRecording_) {
            // No thread has the recording (not yet taken up, or suspended).
            start_.Reset();
            if (m_fHeaderPending && WriteHeader() != 0)
                m_fHeaderPending = false;
            Finish();
            return;
        }
    }
    stop_.Set();
    done_.Wait(kStopRecordWait);
}

void CUserRecord::Thread(std::stop_token stop) {
    while (TakeUpRecording(stop))
        if (Record(stop))
            return;
}

bool CUserRecord::Record(std::stop_token stop) {
    m_byCommand = kCommandRecord;
    m_fActive = true;
    for (;;) {
        const auto w = platform::WaitForAny({&readySem_, &stop_, &app_.h_EndofGetJpegImageEvent},
                                            platform::kInfinite, stop);
        if (!w.signalled() || w.index == 2) {
            // Suspended: the file stays open, with its numbering, for
            // ResumeRecord. The recorder leaves the hand-over meanwhile, so a
            // stream that starts without a resume is not held up by it.
            Deactivate(stop);
            std::lock_guard lock(fileLock_);
            inRecording_ = false;
            return true;
        }
        const bool frameReady = w.index == 0;
        if (!frameReady)
            m_byCommand = kCommandStop;
        bool ok;
        {
            std::lock_guard lock(fileLock_);
            ok = Pass(frameReady);
        }
        if (frameReady) {
            historySem_.Release();
            if (afterFrame_)
                afterFrame_();
        }
        if (ok && m_byCommand != kCommandStop)
            continue;
        // The stop, or a failed write that ends the recording like one.
        Deactivate(stop);
        {
            std::lock_guard lock(fileLock_);
            Finish();
            inRecording_ = false;
        }
        if (!ok) {
            app_.Ui().SetButtonState(kRecordButtonFlag, 0);
            app_.Ui().ShowMessageBox(kCreateFileFailedMessage);
        }
        done_.Set();
        return false;
    }
}

bool CUserRecord::Pass(bool frameReady) {
    if (m_fHeaderPending) {
        if (WriteHeader() == 0)
            return false;
        m_fHeaderPending = false;
    }
    if (!frameReady || m_byCommand != kCommandRecord)
        return true;
    if (writer_.Frames() >= kRecordFramesPerFile && !RollOver())
        return false;
    return WriteNewest();
}

bool CUserRecord::RollOver() {
    const std::filesystem::path folder = writer_.Path().parent_path();
    writer_.Finish();
    frameNumber_ = 0;
    if (!OpenFile(folder.string(), UserRecordFileName(session::LocalCalendarTime())))
        return false;
    return WriteHeader() != 0;
}

void CUserRecord::Finish() {
    if (writer_.IsOpen() && !writer_.Finish())
        session::WriteTraceLog("Manual record file is incomplete: " + writer_.Path().string());
    m_fActive = false;
    frameNumber_ = 0;
}

}  // namespace recording
