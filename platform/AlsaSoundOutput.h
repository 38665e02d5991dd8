#pragma once
// The sound output on ALSA. The device name is the one given, or
// $QUENLO_SOUND_DEVICE, else "default". The device is opened non-blocking:
// waits are ALSA polls bounded by the caller's time-out.

#include <memory>
#include <string>
#include <vector>

#include "platform/SoundOutput.h"

typedef struct _snd_pcm snd_pcm_t;

namespace platform {

class AlsaSoundOutput final : public SoundOutput {
public:
    explicit AlsaSoundOutput(std::string deviceName);
    ~AlsaSoundOutput() override;
    AlsaSoundOutput(const AlsaSoundOutput&) = delete;
    AlsaSoundOutput& operator=(const AlsaSoundOutput&) = delete;

    // $QUENLO_SOUND_DEVICE when set and not empty, else "default".
    static std::string ConfiguredDevice();

    bool Open(const SoundFormat& format, std::size_t queueBytes, std::string& error) override;
    std::optional<std::size_t> WaitForRoom(Millis timeout) override;
    std::optional<std::size_t> Write(std::span<const std::uint8_t> bytes) override;
    void Drop() override;
    void Close() override;

private:
    // Brings the device back after an underrun or a suspend; false when it cannot.
    bool Recover(long error);

    std::string deviceName_;
    snd_pcm_t* pcm_ = nullptr;
    std::size_t frameBytes_ = 1;
    // The start of a frame whose rest has not come yet (writes take whole frames).
    std::vector<std::uint8_t> partialFrame_;
};

std::unique_ptr<SoundOutput> MakeAlsaSoundOutput();

}  // namespace platform
