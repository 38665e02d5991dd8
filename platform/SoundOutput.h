#pragma once
// A sound output: PCM bytes in a WAV file's format, queued on a device that
// plays them. Every call returns at once or after at most the wait it is
// given, so a player can watch its stop between calls. One implementation
// per sound system (AlsaSoundOutput) and a test double.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/SyncObjects.h"

namespace platform {

struct SoundFormat {
    std::uint16_t formatTag = 1;  // 1 PCM, 3 IEEE float, 6 A-law, 7 mu-law
    std::uint16_t channels = 1;
    std::uint32_t samplesPerSecond = 8000;
    std::uint32_t averageBytesPerSecond = 8000;
    std::uint16_t blockAlign = 1;  // bytes of one frame, all channels
    std::uint16_t bitsPerSample = 8;
};

class SoundOutput {
public:
    virtual ~SoundOutput() = default;

    // Opens the device set to the format, with room for about `queueBytes`
    // queued ahead. False, with the reason in `error`, when there is no
    // device or it refuses the format.
    virtual bool Open(const SoundFormat& format, std::size_t queueBytes, std::string& error) = 0;
    // Waits at most `timeout` until the device can take bytes; the bytes it
    // can take now (0 when the wait ran out), nullopt when the device failed.
    virtual std::optional<std::size_t> WaitForRoom(Millis timeout) = 0;
    // Queues as many of the bytes as the device has room for now and returns
    // how many it took; nullopt when the device failed.
    virtual std::optional<std::size_t> Write(std::span<const std::uint8_t> bytes) = 0;
    // Throws away what is queued and not played yet.
    virtual void Drop() = 0;
    virtual void Close() = 0;
};

}  // namespace platform
