#pragma once
// The alarm recorder: records while the stream's frame headers report an
// alarm or motion, starting with the frames the history ring holds from
// before the alarm, and adds one alarm-list item per finished file.
//
// Its thread: waits for a start (or the stream's end, which ends it); the
// first frame handed over writes the header and the pre-alarm frames (state
// 1), each later one the newest frame (state 2), continuing in a new file
// after 6,000 frames; a stop, the stream's end or a failed write closes the
// file and adds its item (state 3). A stop pending when the thread looks for
// the next frame is served first.

#include <atomic>
#include <cstdint>
#include <string>

#include "recording/recorders/RecorderBase.h"

namespace recording {

class SystemConfig;

class CAlarmRecord : public RecorderBase {
public:
    CAlarmRecord(session::AppData& app, SystemConfig& alarmList);
    ~CAlarmRecord() override;

    // Resets the recorder (history count, flags, latched alarm bits) and
    // starts its thread.
    bool CreateThread(std::uint8_t channel) override;
    // Creates the alarm file and wakes the thread. A file that cannot be
    // created is traced and adds no item; the recording still counts as
    // running until the alarm ends, so it is not tried again for every frame.
    bool StartRecord(const std::string& folder, std::uint8_t channel) override;
    void StopRecord() override;
    void TerminateRecord() override;
    bool IsRecording() const override { return m_fRecording.load(); }
    // The push: counts the history fill and gives the alarm item the time
    // of the recording's first frame.
    void FrameStored(std::uint16_t historyIndex) override;

    std::uint16_t HistoryCount() const { return m_wHistoryCount.load(); }

private:
    void Thread(std::stop_token stop);
    // One recording from its start to its close.
    void Record(std::stop_token stop);
    bool PreAlarmPass();
    bool LivePass();
    bool RollOver();
    // Closes the file and adds its item; a file without frames is removed.
    void CloseFile();
    void GiveItemFirstFrameTime();
    // Stops a recording whose thread has not taken it up yet.
    void CancelUnstarted();

    SystemConfig& alarmList_;
    std::atomic<bool> m_fRecording{false};
    std::atomic<bool> m_fTerminated{false};
    std::atomic<std::uint16_t> m_wHistoryCount{0};
    std::atomic<std::uint8_t> m_byFirstFrameMarker{0xFF};
};

}  // namespace recording
