#pragma once
// The manual recorder: records between two presses of the record button.
// When the stream ends its thread leaves the file open with its numbering,
// so that after the re-login ResumeRecord continues the same file. A ready frame is written before a pending stop is served.

#include <atomic>
#include <cstdint>
#include <string>

#include "recording/recorders/RecorderBase.h"

namespace recording {

class CUserRecord : public RecorderBase {
public:
    explicit CUserRecord(session::AppData& app);
    ~CUserRecord() override;

    // Starts the thread; the recorder's state is kept, so a suspended
    // recording can go on.
    bool CreateThread(std::uint8_t channel) override;
    // Creates a new file in the folder; false (4018 for the caller to show)
    // when it cannot be created.
    bool StartRecord(const std::string& folder, std::uint8_t channel) override;
    // Stops the recording; a suspended one (its thread gone with the stream)
    // is finished here, so the file is complete at close.
    void StopRecord() override;
    bool ResumeRecord() override;
    // A recording exists: running, or suspended until ResumeRecord. The record
    // button asks this; IsWriting says whether frames are handed over now.
    bool IsRecording() const override;

private:
    void Thread(std::stop_token stop);
    // One recording, until its stop (false) or the stream's end (true: suspended).
    bool Record(std::stop_token stop);
    bool Pass(bool frameReady);
    bool RollOver();
    void Finish();

    std::atomic<std::uint8_t> m_byCommand{0};  // 2 record, 3 stop
    bool m_fHeaderPending = true;              // under fileLock_
};

}  // namespace recording
