#pragma once
// The alarm sound (AppData::AlarmWave): the WAV file loaded into memory and
// the play routine, which keeps eight buffers of the sound queued on a sound
// output and refills each as the device takes it, the sound wrapping to its
// start, until the stop event or the stop request.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/SoundOutput.h"
#include "recording/sound/WaveSound.h"
#include "session/AlarmSoundPort.h"

namespace session {
class AppData;
}

namespace recording {

// One loaded sound and its playback state. A playback holds the block it
// started with, so a later load never pulls the sound from under it; one
// playback at a time uses a block (they run on h_PlayAudioWavThread).
struct AlarmWaveBuffer {
    WaveSound sound;
    std::size_t readPosition = 0;
    std::array<std::array<std::uint8_t, kWaveBufferBytes>, kWaveBufferCount> buffers{};
};

class AlarmWave final : public AlarmSoundPort {
public:
    using OutputFactory = std::function<std::unique_ptr<platform::SoundOutput>()>;
    // The longest wait on the device before the stop is looked at again.
    static constexpr platform::Millis kPollSlice{20};

    explicit AlarmWave(session::AppData& app, OutputFactory makeOutput = DefaultOutput());

    // The sound output of the run: ALSA on $QUENLO_SOUND_DEVICE, else "default".
    static OutputFactory DefaultOutput();

    bool LoadWaveFile(const std::string& path) override;
    // No sound device, or one that refuses the format, is no error for the
    // operator: a trace line, and the playback ends (-1).
    int AlarmWavPlayThread(std::stop_token stop) override;
    void ClearSoundActive() override { m_dwSoundActive = 0; }

    // The path last asked for.
    std::string Path() const;

private:
    std::shared_ptr<AlarmWaveBuffer> Block() const;
    bool Stopped(const std::stop_token& stop) const;
    // Keeps the device's queue full from the block until a stop; false when the device fails.
    bool Play(platform::SoundOutput& output, AlarmWaveBuffer& block, const std::stop_token& stop) const;

    session::AppData& app_;
    const OutputFactory makeOutput_;
    mutable std::mutex mutex_;
    std::string path_;
    std::shared_ptr<AlarmWaveBuffer> block_;
    // Read and cleared by mailbox code 5; nothing sets it.
    std::atomic<std::uint32_t> m_dwSoundActive{0};
};

}  // namespace recording
