#include "recording/sound/AlarmWave.h"

#include <algorithm>
#include <filesystem>

#include "platform/AlsaSoundOutput.h"
#include "platform/AtomicFile.h"
#include "session/AppData.h"
#include "session/files/TraceLog.h"

namespace recording {

namespace {

constexpr const char* kFallbackSound = "alarm.wav";

// The file's bytes; nullopt when it cannot be read (or is too large to be a sound).
std::optional<std::string> ReadSoundFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec) ||
        std::filesystem::file_size(path, ec) > kWaveFileMaxBytes || ec)
        return std::nullopt;
    std::string content;
    if (!platform::ReadWholeFile(path, content))
        return std::nullopt;
    return content;
}

platform::SoundFormat OutputFormat(const WaveFormat& f) {
    return {f.formatTag, f.channels, f.samplesPerSecond, f.averageBytesPerSecond, f.blockAlign, f.bitsPerSample};
}

}  // namespace

AlarmWave::AlarmWave(session::AppData& app, OutputFactory makeOutput)
    : app_(app), makeOutput_(std::move(makeOutput)) {}

AlarmWave::OutputFactory AlarmWave::DefaultOutput() { return platform::MakeAlsaSoundOutput; }

std::string AlarmWave::Path() const {
    std::lock_guard lock(mutex_);
    return path_;
}

std::shared_ptr<AlarmWaveBuffer> AlarmWave::Block() const {
    std::lock_guard lock(mutex_);
    return block_;
}

bool AlarmWave::LoadWaveFile(const std::string& path) {
    auto content = ReadSoundFile(path);
    if (!content)
        content = ReadSoundFile(std::filesystem::path(app_.CSettingINI.m_strAppPath.Get()) / kFallbackSound);
    std::shared_ptr<AlarmWaveBuffer> block;
    if (content) {
        if (auto sound = ParseWave({reinterpret_cast<const std::uint8_t*>(content->data()), content->size()})) {
            block = std::make_shared<AlarmWaveBuffer>();
            block->sound = std::move(*sound);
        }
    }
    // The block before is freed by the last playback that holds it.
    std::lock_guard lock(mutex_);
    path_ = path;
    block_ = std::move(block);
    return block_ != nullptr;
}

bool AlarmWave::Stopped(const std::stop_token& stop) const {
    return stop.stop_requested() || app_.h_StopAudioWavEvent.Wait(platform::Millis(0));
}

int AlarmWave::AlarmWavPlayThread(std::stop_token stop) {
    const auto block = Block();
    if (!block) {
        session::WriteTraceLog("Alarm sound: no sound loaded");
        return -1;
    }
    auto output = makeOutput_ ? makeOutput_() : nullptr;
    std::string error = "no sound output";
    if (!output || !output->Open(OutputFormat(block->sound.format), kWaveBufferBytes * kWaveBufferCount, error)) {
        session::WriteTraceLog("Alarm sound: " + error);
        return -1;
    }
    const bool played = Play(*output, *block, stop);
    if (!played)
        session::WriteTraceLog("Alarm sound: the sound device failed");
    output->Drop();
    output->Close();
    return played ? 0 : -1;
}

bool AlarmWave::Play(platform::SoundOutput& output, AlarmWaveBuffer& block, const std::stop_token& stop) const {
    for (auto& buffer : block.buffers)
        FillBuffer(block.sound, block.readPosition, buffer);
    // The buffer the device takes next, and how much of it it has taken.
    std::size_t next = 0;
    std::size_t offset = 0;
    while (!Stopped(stop)) {
        const auto room = output.WaitForRoom(kPollSlice);
        if (!room)
            return false;
        std::size_t left = *room;
        while (left > 0 && !stop.stop_requested()) {
            auto& buffer = block.buffers[next];
            const std::size_t want = std::min(left, buffer.size() - offset);
            const auto taken = output.Write({buffer.data() + offset, want});
            if (!taken)
                return false;
            offset += *taken;
            left -= *taken;
            if (offset == buffer.size()) {
                FillBuffer(block.sound, block.readPosition, buffer);
                next = (next + 1) % block.buffers.size();
                offset = 0;
            }
            if (*taken < want)
                break;
        }
    }
    return true;
}

}  // namespace recording
