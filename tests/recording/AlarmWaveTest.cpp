// The alarm sound's play routine over a sound output, its start and stop,
// its loading with the program folder's "alarm.wav" behind it, and the ALSA
// output on a capture file and on a computer without a sound card.

#include "recording/sound/AlarmWave.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "fakes/FakeSoundOutput.h"
#include "fakes/RecordingUiPort.h"
#include "platform/AlsaSoundOutput.h"
#include "session/AlarmSoundControl.h"
#include "session/AppData.h"
#include "session/files/TraceLog.h"
#include "support/TempFolder.h"
#include "support/WaitUntil.h"

namespace recording {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testutil::WaitUntil;

constexpr std::size_t kQueueBytes = kWaveBufferBytes * kWaveBufferCount;

void Put(std::string& b, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i)
        b.push_back(static_cast<char>(v >> (8 * i)));
}

// A PCM WAV file: 16-bit stereo at 8,000 Hz by default.
std::string WaveFile(const Bytes& samples, std::uint16_t channels = 2, std::uint16_t bits = 16) {
    const std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
    std::string f = "RIFF";
    Put(f, static_cast<std::uint32_t>(36 + samples.size()), 4);
    f += "WAVEfmt ";
    Put(f, 16, 4), Put(f, 1, 2), Put(f, channels, 2), Put(f, 8000, 4), Put(f, 8000u * align, 4);
    Put(f, align, 2), Put(f, bits, 2);
    f += "data";
    Put(f, static_cast<std::uint32_t>(samples.size()), 4);
    f.append(samples.begin(), samples.end());
    return f;
}

Bytes Samples(std::size_t n, int seed = 1) {
    Bytes s(n);
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<std::uint8_t>(i * 7 + seed + i / 251);
    return s;
}

// Every byte written is the sound's byte at that place of the sound repeated.
::testing::AssertionResult IsRepeated(const Bytes& written, const Bytes& sound) {
    for (std::size_t i = 0; i < written.size(); ++i)
        if (written[i] != sound[i % sound.size()])
            return ::testing::AssertionFailure() << "byte " << i << " of " << written.size();
    return ::testing::AssertionSuccess();
}

class AlarmWaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        session::TraceLog(300, folder.path());
        app.SetUiPort(&ui);
        app.CSettingINI.m_strAppPath.Set(folder.path().string() + "/");
        app.SetAlarmSound(&wave);
    }
    void TearDown() override {
        app.h_PlayAudioWavThread.Stop();
        app.SetAlarmSound(nullptr);
        session::FreeTraceLog();
    }

    void UseSound(const std::string& name, const Bytes& samples) {
        folder.Write(name, WaveFile(samples));
        app.CSettingINI.m_strTriggerWavPath.Set((folder.path() / name).string());
    }
    bool TraceHas(const std::string& text) {
        const auto path = folder.path() / "trace.log";
        return std::filesystem::exists(path) && folder.Read("trace.log").find(text) != std::string::npos;
    }

    testutil::TempFolder folder;
    fakes::RecordingUiPort ui;
    session::AppData app;
    std::shared_ptr<fakes::FakeSoundDevice> device = std::make_shared<fakes::FakeSoundDevice>();
    AlarmWave wave{app, [this] { return std::make_unique<fakes::FakeSoundOutput>(device); }};
};

TEST_F(AlarmWaveTest, EightBuffersAreQueuedAndEachIsRefilledAsTheDeviceTakesIt) {
    for (std::size_t length : {3000u, 16000u, 8000u}) {
        SCOPED_TRACE(length);
        device = std::make_shared<fakes::FakeSoundDevice>();
        const Bytes sound = Samples(length, static_cast<int>(length));
        UseSound("sound.wav", sound);
        ASSERT_EQ(session::StartAlarmSound(app), 0);
        ASSERT_TRUE(WaitUntil([&] { return device->WrittenCount() == kQueueBytes; }));
        EXPECT_EQ(device->Format().channels, 2);
        EXPECT_EQ(device->Format().blockAlign, 4);

        device->Play(2 * kWaveBufferBytes + 100);  // two buffers and a bit of the third
        ASSERT_TRUE(WaitUntil([&] { return device->WrittenCount() == kQueueBytes + 2 * kWaveBufferBytes + 100; }));
        EXPECT_TRUE(IsRepeated(device->Written(), sound));

        ASSERT_EQ(session::StopAlarmSound(app), 0);
        EXPECT_FALSE(app.h_PlayAudioWavThread.Attached());
        EXPECT_EQ(device->Drops(), 1);
        EXPECT_EQ(device->Closes(), 1);
    }
}

TEST_F(AlarmWaveTest, TwoStartsPlayOnceAndAStopWhileSilentOnlyEndsAThread) {
    UseSound("sound.wav", Samples(3000));
    ASSERT_EQ(session::StartAlarmSound(app), 0);
    ASSERT_EQ(session::StartAlarmSound(app), 0);
    ASSERT_TRUE(WaitUntil([&] { return device->WrittenCount() == kQueueBytes; }));
    EXPECT_EQ(device->Opens(), 1);
    EXPECT_EQ(app.dw_AlarmAudioPlaying, 1u);
    EXPECT_EQ(app.dw_AlarmAudioRequested, 1u);

    session::StopAlarmSound(app);
    session::StopAlarmSound(app);
    EXPECT_EQ(app.dw_AlarmAudioPlaying, 0u);
    EXPECT_EQ(app.dw_AlarmAudioRequested, 0u);
    ASSERT_EQ(session::StartAlarmSound(app), 0);
    ASSERT_TRUE(WaitUntil([&] { return device->Opens() == 2; }));
}

TEST_F(AlarmWaveTest, AMissingTriggerSoundPlaysTheProgramFoldersAlarmWav) {
    const Bytes fallback = Samples(5000, 9);
    folder.Write("alarm.wav", WaveFile(fallback));
    app.CSettingINI.m_strTriggerWavPath.Set((folder.path() / "nowhere.wav").string());
    ASSERT_EQ(session::StartAlarmSound(app), 0);
    ASSERT_TRUE(WaitUntil([&] { return device->WrittenCount() == kQueueBytes; }));
    EXPECT_TRUE(IsRepeated(device->Written(), fallback));
    EXPECT_EQ(wave.Path(), (folder.path() / "nowhere.wav").string());
    EXPECT_FALSE(ui.Contains("msgbox:4096"));
}

// "alarm.wav" stands in only for a trigger sound that cannot be opened; one
// that opens but holds no playable sound is a load failure of its own.
TEST_F(AlarmWaveTest, ATriggerSoundThatOpensButDoesNotParseShowsItsMessageAndPlaysNoAlarmWav) {
    folder.Write("alarm.wav", WaveFile(Samples(5000, 9)));
    std::string noData = WaveFile(Samples(10));
    noData.resize(36);  // fmt chunk only
    for (const std::string& trigger : {std::string("not a sound at all"), noData}) {
        SCOPED_TRACE(trigger.size());
        ui.Clear();
        folder.Write("trigger.wav", trigger);
        app.CSettingINI.m_strTriggerWavPath.Set((folder.path() / "trigger.wav").string());
        EXPECT_EQ(session::StartAlarmSound(app), -1);
        EXPECT_TRUE(ui.Contains("msgbox:4096"));
        EXPECT_EQ(app.dw_AlarmAudioRequested, 0u);
        EXPECT_FALSE(app.h_PlayAudioWavThread.Attached());
        EXPECT_EQ(device->Opens(), 0);
    }
}

TEST_F(AlarmWaveTest, NoSoundAtAllShowsItsMessageAndLeavesTheFlagsClear) {
    struct Case {
        std::string what;
        std::string trigger;  // written to trigger.wav when not empty
    };
    std::string noData = WaveFile(Samples(10));
    noData.resize(36);  // fmt chunk only
    for (const Case& c : {Case{"neither file", ""}, Case{"no data chunk", noData}}) {
        SCOPED_TRACE(c.what);
        ui.Clear();
        if (!c.trigger.empty())
            folder.Write("trigger.wav", c.trigger);
        app.CSettingINI.m_strTriggerWavPath.Set((folder.path() / "trigger.wav").string());
        EXPECT_EQ(session::StartAlarmSound(app), -1);
        EXPECT_TRUE(ui.Contains("msgbox:4096"));
        EXPECT_EQ(app.dw_AlarmAudioPlaying, 0u);
        EXPECT_EQ(app.dw_AlarmAudioRequested, 0u);
        EXPECT_FALSE(app.h_PlayAudioWavThread.Attached());
    }
}

TEST_F(AlarmWaveTest, ALoadWhilePlayingLeavesThePlayingSoundAloneUntilItEnds) {
    const Bytes first = Samples(3000, 1);
    const Bytes second = Samples(7000, 2);
    UseSound("first.wav", first);
    folder.Write("second.wav", WaveFile(second));
    ASSERT_EQ(session::StartAlarmSound(app), 0);
    ASSERT_TRUE(WaitUntil([&] { return device->WrittenCount() == kQueueBytes; }));
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(wave.LoadWaveFile((folder.path() / "second.wav").string()));
        device->Play(kWaveBufferBytes);
    }
    ASSERT_TRUE(WaitUntil([&] { return device->WrittenCount() == kQueueBytes + 20 * kWaveBufferBytes; }));
    EXPECT_TRUE(IsRepeated(device->Written(), first));

    session::StopAlarmSound(app);
    const std::size_t before = device->WrittenCount();
    app.CSettingINI.m_strTriggerWavPath.Set((folder.path() / "second.wav").string());
    ASSERT_EQ(session::StartAlarmSound(app), 0);
    ASSERT_TRUE(WaitUntil([&] { return device->WrittenCount() == before + kQueueBytes; }));
    const Bytes all = device->Written();
    EXPECT_TRUE(IsRepeated(Bytes(all.begin() + static_cast<std::ptrdiff_t>(before), all.end()), second));
}

TEST_F(AlarmWaveTest, NoSoundDeviceIsATraceLineAndTheNextStopAndStartWork) {
    device->missing = true;
    UseSound("sound.wav", Samples(3000));
    ASSERT_EQ(session::StartAlarmSound(app), 0);
    ASSERT_TRUE(WaitUntil([&] { return !app.h_PlayAudioWavThread.Running(); }));
    EXPECT_TRUE(TraceHas("Alarm sound: no sound device"));
    EXPECT_TRUE(ui.Calls().empty());
    EXPECT_EQ(app.dw_AlarmAudioPlaying, 1u) << "the flags stay set until the stop";
    EXPECT_EQ(session::StartAlarmSound(app), 0);

    session::StopAlarmSound(app);
    device->missing = false;
    ASSERT_EQ(session::StartAlarmSound(app), 0);
    EXPECT_TRUE(WaitUntil([&] { return device->WrittenCount() == kQueueBytes; }));
}

// ---- ALSA

// The ALSA output of the run, on the device name given.
AlarmWave::OutputFactory Alsa(std::string name) {
    return [name] { return std::make_unique<platform::AlsaSoundOutput>(name); };
}

TEST_F(AlarmWaveTest, AlsaCaptureFileReceivesTheSoundsBytes) {
    const auto capture = folder.path() / "capture.raw";
    AlarmWave alsa(app, Alsa("file:FILE=" + capture.string() + ",FORMAT=raw"));
    app.SetAlarmSound(&alsa);
    const Bytes sound = Samples(3000);
    UseSound("sound.wav", sound);
    ASSERT_EQ(session::StartAlarmSound(app), 0);
    // The capture device does not pace: stop once a few buffers are in.
    ASSERT_TRUE(WaitUntil([&] {
        std::error_code ec;
        const auto size = std::filesystem::file_size(capture, ec);
        return !ec && size >= 3 * kWaveBufferBytes;
    }));
    session::StopAlarmSound(app);
    EXPECT_FALSE(app.h_PlayAudioWavThread.Attached());
    const std::string captured = folder.Read("capture.raw");
    EXPECT_GE(captured.size(), 3 * kWaveBufferBytes);
    EXPECT_TRUE(IsRepeated(Bytes(captured.begin(), captured.end()), sound));
    EXPECT_FALSE(TraceHas("Alarm sound"));
}

TEST_F(AlarmWaveTest, AlsaDefaultWithoutASoundCardIsATraceLine) {
    {
        platform::AlsaSoundOutput probe("default");
        std::string error;
        if (probe.Open({}, kQueueBytes, error))
            GTEST_SKIP() << "this computer has a sound device";
    }
    AlarmWave alsa(app, Alsa("default"));
    app.SetAlarmSound(&alsa);
    UseSound("sound.wav", Samples(3000));
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(session::StartAlarmSound(app), 0);
        ASSERT_TRUE(WaitUntil([&] { return !app.h_PlayAudioWavThread.Running(); }));
        session::StopAlarmSound(app);
    }
    EXPECT_TRUE(TraceHas("Alarm sound: cannot open sound device \"default\""));
    EXPECT_TRUE(ui.Calls().empty());
}

}  // namespace
}  // namespace recording
