#include "platform/AlsaSoundOutput.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <mutex>

namespace platform {

namespace {

struct FormatEntry {
    std::uint16_t formatTag;
    std::uint16_t bitsPerSample;
    std::uint16_t containerBytes;  // bytes of one sample
    snd_pcm_format_t format;
};

constexpr std::uint16_t kPcm = 1;
constexpr std::uint16_t kFloat = 3;
constexpr std::uint16_t kALaw = 6;
constexpr std::uint16_t kMuLaw = 7;
constexpr std::uint16_t kExtensible = 0xFFFE;  // integer PCM is all we take of it

constexpr FormatEntry kFormats[] = {
    {kPcm, 8, 1, SND_PCM_FORMAT_U8},           {kPcm, 16, 2, SND_PCM_FORMAT_S16_LE},
    {kPcm, 24, 3, SND_PCM_FORMAT_S24_3LE},     {kPcm, 32, 4, SND_PCM_FORMAT_S32_LE},
    {kExtensible, 8, 1, SND_PCM_FORMAT_U8},    {kExtensible, 16, 2, SND_PCM_FORMAT_S16_LE},
    {kExtensible, 24, 3, SND_PCM_FORMAT_S24_3LE}, {kExtensible, 32, 4, SND_PCM_FORMAT_S32_LE},
    {kFloat, 32, 4, SND_PCM_FORMAT_FLOAT_LE},  {kFloat, 64, 8, SND_PCM_FORMAT_FLOAT64_LE},
    {kALaw, 8, 1, SND_PCM_FORMAT_A_LAW},       {kMuLaw, 8, 1, SND_PCM_FORMAT_MU_LAW},
};

std::optional<snd_pcm_format_t> AlsaFormat(const SoundFormat& f) {
    if (f.channels == 0 || f.blockAlign % f.channels != 0)
        return std::nullopt;
    const auto container = static_cast<std::uint16_t>(f.blockAlign / f.channels);
    for (const auto& e : kFormats)
        if (e.formatTag == f.formatTag && e.bitsPerSample == f.bitsPerSample && e.containerBytes == container)
            return e.format;
    return std::nullopt;
}

// The library prints its own complaints on stderr; ours go to the caller.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

AlsaSoundOutput::AlsaSoundOutput(std::string deviceName) : deviceName_(std::move(deviceName)) {}

AlsaSoundOutput::~AlsaSoundOutput() { Close(); }

std::string AlsaSoundOutput::ConfiguredDevice() {
    const char* name = std::getenv("QUENLO_SOUND_DEVICE");
    return name && *name ? name : "default";
}

bool AlsaSoundOutput::Open(const SoundFormat& format, std::size_t queueBytes, std::string& error) {
    Close();
    static std::once_flag quiet;
    std::call_once(quiet, [] { snd_lib_error_set_handler(QuietAlsa); });

    const auto alsaFormat = AlsaFormat(format);
    if (!alsaFormat || format.samplesPerSecond == 0) {
        error = "unsupported sound format (tag " + std::to_string(format.formatTag) + ", " +
                std::to_string(format.channels) + " channels, " + std::to_string(format.bitsPerSample) +
                " bits, " + std::to_string(format.samplesPerSecond) + " Hz)";
        return false;
    }
    int rc = snd_pcm_open(&pcm_, deviceName_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (rc < 0) {
        pcm_ = nullptr;
        error = "cannot open sound device \"" + deviceName_ + "\": " + snd_strerror(rc);
        return false;
    }
    frameBytes_ = format.blockAlign;
    const unsigned long long bytesPerSecond =
        static_cast<unsigned long long>(format.samplesPerSecond) * format.blockAlign;
    const auto latencyUs = static_cast<unsigned>(
        std::min<unsigned long long>(queueBytes * 1000000ull / bytesPerSecond, UINT_MAX));
    rc = snd_pcm_set_params(pcm_, *alsaFormat, SND_PCM_ACCESS_RW_INTERLEAVED, format.channels,
                            format.samplesPerSecond, 1, std::max(latencyUs, 1000u));
    if (rc < 0) {
        error = "sound device \"" + deviceName_ + "\" refuses the format: " + snd_strerror(rc);
        Close();
        return false;
    }
    partialFrame_.clear();
    return true;
}

bool AlsaSoundOutput::Recover(long error) {
    return pcm_ && snd_pcm_recover(pcm_, static_cast<int>(error), 1) == 0;
}

std::optional<std::size_t> AlsaSoundOutput::WaitForRoom(Millis timeout) {
    if (!pcm_)
        return std::nullopt;
    const int ms = static_cast<int>(std::clamp<long long>(timeout.count(), 0, INT_MAX));
    const int rc = snd_pcm_wait(pcm_, ms);
    if (rc == 0)
        return std::size_t{0};
    if (rc < 0 && !Recover(rc))
        return std::nullopt;
    snd_pcm_sframes_t frames = snd_pcm_avail_update(pcm_);
    if (frames < 0) {
        if (!Recover(frames))
            return std::nullopt;
        frames = snd_pcm_avail_update(pcm_);
        if (frames < 0)
            return std::nullopt;
    }
    return static_cast<std::size_t>(frames) * frameBytes_;
}

std::optional<std::size_t> AlsaSoundOutput::Write(std::span<const std::uint8_t> bytes) {
    if (!pcm_)
        return std::nullopt;
    // Whole frames written; an underrun is recovered once per call.
    auto writeFrames = [this](const std::uint8_t* data, std::size_t frames) -> std::optional<std::size_t> {
        for (int attempt = 0; attempt < 2; ++attempt) {
            const snd_pcm_sframes_t written = snd_pcm_writei(pcm_, data, frames);
            if (written >= 0)
                return static_cast<std::size_t>(written);
            if (written == -EAGAIN)
                return std::size_t{0};
            if (!Recover(written))
                return std::nullopt;
        }
        return std::size_t{0};
    };

    std::size_t taken = 0;
    if (!partialFrame_.empty()) {
        const std::size_t k = std::min(frameBytes_ - partialFrame_.size(), bytes.size());
        partialFrame_.insert(partialFrame_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(k));
        taken = k;
        if (partialFrame_.size() < frameBytes_)
            return taken;
        const auto written = writeFrames(partialFrame_.data(), 1);
        if (!written)
            return std::nullopt;
        if (*written == 0)
            return taken;  // the completed frame goes first next time
        partialFrame_.clear();
    }
    const std::size_t frames = (bytes.size() - taken) / frameBytes_;
    if (frames > 0) {
        const auto written = writeFrames(bytes.data() + taken, frames);
        if (!written)
            return std::nullopt;
        taken += *written * frameBytes_;
        if (*written < frames)
            return taken;
    }
    partialFrame_.assign(bytes.begin() + static_cast<std::ptrdiff_t>(taken), bytes.end());
    return bytes.size();
}

void AlsaSoundOutput::Drop() {
    if (pcm_)
        snd_pcm_drop(pcm_);
    partialFrame_.clear();
}

void AlsaSoundOutput::Close() {
    if (pcm_)
        snd_pcm_close(pcm_);
    pcm_ = nullptr;
    partialFrame_.clear();
}

std::unique_ptr<SoundOutput> MakeAlsaSoundOutput() {
    return std::make_unique<AlsaSoundOutput>(AlsaSoundOutput::ConfiguredDevice());
}

}  // namespace platform
