#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "fakes/RecordingUiPort.h"
#include "session/devices/ControlDeviceList.h"
#include "session/AppData.h"
#include "session/live/FrameHeaderParser.h"
#include "simulator/FrameEncoder.h"

using devicesim::EncodeFrameHeader;
using devicesim::FrameHeaderValues;
using session::HeaderLayout;
using session::HeaderParseStatus;
using session::ImageSlotInfo;

namespace {

class AlarmRecorder : public recording::RecorderPort {
public:
    bool StartRecord(const std::string& folder, std::uint8_t channel) override {
        calls.push_back("start:" + folder + "," + std::to_string(channel));
        recording = true;
        return true;
    }
    void StopRecord() override {
        calls.push_back("stop");
        recording = false;
    }
    bool IsRecording() const override { return recording; }

    std::vector<std::string> calls;
    bool recording = false;
};

// A device whose alarms the program follows (a video server passes the test
// of the alarm reactions by its product code alone).
class FrameHeaderReactions : public testing::Test {
protected:
    FrameHeaderReactions() {
        app.SetUiPort(&ui);
        app.SetRecorders(&recorder, nullptr, nullptr);
        app.CSettingINI.m_strRecordPath = "/rec";
        Device("R47T", HeaderLayout::New);
    }
    void Device(const std::string& product, HeaderLayout layout) {
        app.str_ProductID = product;
        app.dw_NewHeaderFormat = layout == HeaderLayout::New ? 1 : 0;
    }
    HeaderParseStatus Feed(const FrameHeaderValues& fields) {
        const auto bytes = EncodeFrameHeader(fields, app.CRTPHeader.Layout());
        std::uint32_t length = 0;
        ImageSlotInfo record;
        return app.CRTPHeader.Parse(bytes, length, record);
    }
    std::vector<std::string> AlarmAudio() const {
        std::vector<std::string> out;
        for (const auto& call : ui.Calls())
            if (call.rfind("alarmaudio:", 0) == 0)
                out.push_back(call);
        return out;
    }

    fakes::RecordingUiPort ui;
    AlarmRecorder recorder;
    session::AppData app;
};

FrameHeaderValues Motion(std::uint16_t bits) {
    FrameHeaderValues s;
    s.length = 100;
    s.motion = bits;
    return s;
}

}  // namespace

TEST_F(FrameHeaderReactions, MotionFieldOfZeroAsksForTheSoundButNeitherRecordsNorSwitches) {
    Device("R41T", HeaderLayout::New);
    app.C_ControlD.AddDevice(9600, 1, mainwindow::kTypeKlt316Dvr, mainwindow::kControlDeviceMaster);
    app.by_MultiChannel = 1;
    app.CSettingINI.m_byAlarmAutoSwitchVideo = 1;
    std::atomic<int> switches{0};
    app.CRTPHeader.ChannelSwitch().SetSwitcher([&](int, std::stop_token) { ++switches; });

    ASSERT_EQ(Feed(Motion(0)), HeaderParseStatus::Parsed);
    EXPECT_EQ(AlarmAudio(), std::vector<std::string>{"alarmaudio:0"});
    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_EQ(app.CRTPHeader.m_dwAlarmSource.load(), session::kAlarmSourceMotion);
    app.CRTPHeader.ChannelSwitch().Stop();
    EXPECT_EQ(switches.load(), 0);
}

TEST_F(FrameHeaderReactions, LastAlarmFieldDecidesAndItsAbsenceStopsTheSoundOnce) {
    FrameHeaderValues both = Motion(0x0004);
    both.alarmInput = 0x0010;
    ASSERT_EQ(Feed(both), HeaderParseStatus::Parsed);
    EXPECT_EQ(app.CRTPHeader.m_wAlarmData.load(), 0x0010);
    EXPECT_EQ(app.CRTPHeader.m_dwAlarmSource.load(), session::kAlarmSourceInput);
    EXPECT_EQ(recorder.calls, std::vector<std::string>{"start:/rec,0"});

    FrameHeaderValues quiet;
    quiet.length = 100;
    Feed(quiet);
    Feed(quiet);
    EXPECT_EQ(AlarmAudio(), (std::vector<std::string>{"alarmaudio:0", "alarmaudio:2"}));
    EXPECT_EQ(app.CRTPHeader.m_wAlarmData.load(), 0x0010) << "latched until cleared";
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"start:/rec,0", "stop"}));
    EXPECT_EQ(app.CRTPHeader.ClearAlarmData(), 1);
    EXPECT_EQ(app.CRTPHeader.ClearAlarmData(), 0);
}

TEST_F(FrameHeaderReactions, SoundIsNotAskedForWhilePlayingOrWithoutTheTriggerSetting) {
    app.dw_AlarmAudioPlaying = 1;
    Feed(Motion(1));
    app.dw_AlarmAudioPlaying = 0;
    app.CSettingINI.m_byAlarmTriggerRecord = 0;
    Feed(Motion(1));
    EXPECT_TRUE(AlarmAudio().empty());
    // Recording follows the trigger setting alone, not the sound.
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"start:/rec,0", "stop"}));
}

TEST_F(FrameHeaderReactions, DevicesWhoseAlarmsAreNotFollowedNeverSoundOrRecord) {
    for (const char* product : {"R41T", "G66M"}) {
        SCOPED_TRACE(product);
        Device(product, HeaderLayout::New);
        FrameHeaderValues alarm = Motion(3);
        alarm.alarmInput = 1;
        Feed(alarm);
        EXPECT_TRUE(AlarmAudio().empty());
        EXPECT_TRUE(recorder.calls.empty());
    }
}

TEST_F(FrameHeaderReactions, RetrStateIsAppliedWhereItStandsInTheLayout) {
    // With RETR alarm recording off, any RETR report clears the trigger setting.
    app.CSettingINI.m_byRetrAlarmRecord = 0;
    FrameHeaderValues alarm;
    alarm.length = 100;
    alarm.alarmInput = 1;
    alarm.retr = 1;

    Device("R47T", HeaderLayout::Old);  // RETR before the alarm fields: they see the cleared trigger
    app.CSettingINI.m_byAlarmTriggerRecord = 1;
    Feed(alarm);
    EXPECT_TRUE(AlarmAudio().empty());
    EXPECT_TRUE(recorder.calls.empty());

    Device("R47T", HeaderLayout::New);  // RETR after them: the alarm still counts
    app.CSettingINI.m_byAlarmTriggerRecord = 1;
    Feed(alarm);
    EXPECT_EQ(AlarmAudio(), std::vector<std::string>{"alarmaudio:0"});
    EXPECT_EQ(recorder.calls, std::vector<std::string>{"start:/rec,0"});
    EXPECT_EQ(app.CSettingINI.m_byAlarmTriggerRecord.load(), 0);
}

TEST_F(FrameHeaderReactions, MotionSwitchesToItsLowestChannelOnAWorkerThread) {
    Device("R41T", HeaderLayout::New);
    app.by_MultiChannel = 1;
    app.CSettingINI.m_byAlarmAutoSwitchVideo = 1;
    std::mutex mutex;
    std::vector<int> channels;
    std::thread::id switchThread;
    platform::Event switched;
    app.CRTPHeader.ChannelSwitch().SetSwitcher([&](int channel, std::stop_token) {
        std::lock_guard lock(mutex);
        channels.push_back(channel);
        switchThread = std::this_thread::get_id();
        switched.Set();
    });
    Feed(Motion(0x0050));  // bits 4 and 6: channel 5
    ASSERT_TRUE(switched.Wait(platform::Millis(10000)));
    app.CRTPHeader.ChannelSwitch().Stop();
    std::lock_guard lock(mutex);
    EXPECT_EQ(channels, std::vector<int>{5});
    EXPECT_NE(switchThread, std::this_thread::get_id());
}

TEST_F(FrameHeaderReactions, NewDeviceTimeRefreshesVideoServersAndG66MOnly) {
    struct Case {
        const char* product;
        int refreshes;
    } cases[] = {{"R47T", 2}, {"G66M", 2}, {"R41T", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.product);
        Device(c.product, HeaderLayout::New);
        app.st_FrameTime.Set({});
        ui.Clear();
        FrameHeaderValues timed;
        timed.length = 100;
        timed.dateTime = devicesim::PackDeviceDateTime(2024, 5, 17, 13, 45, 30);
        Feed(timed);
        Feed(timed);  // the same second again: nothing
        timed.dateTime = devicesim::PackDeviceDateTime(2024, 5, 17, 13, 45, 31);
        Feed(timed);
        EXPECT_EQ(app.st_FrameTime.Get(), (session::SystemTime{2024, 5, 0, 17, 13, 45, 31, 0}));
        int refreshes = 0;
        for (const auto& call : ui.Calls())
            refreshes += call == "refresh";
        EXPECT_EQ(refreshes, c.refreshes);
    }
}

TEST_F(FrameHeaderReactions, BackupTextAndSensorModeReachTheWindow) {
    FrameHeaderValues s;
    s.length = 100;
    s.networkBackup = true;
    s.sensorMode = 3;
    Feed(s);  // a video server: the sensor byte is read and nothing posted
    EXPECT_TRUE(ui.Contains("status:Network backup,stop video!!"));
    EXPECT_FALSE(ui.Contains("sensormode:3"));
    Device("G66M", HeaderLayout::New);
    s.length = 200;  // counts the header on this device
    Feed(s);
    EXPECT_TRUE(ui.Contains("sensormode:3"));
}

TEST_F(FrameHeaderReactions, BadVersionHasNoEffectAndLastHeaderKeepsTheParsedOne) {
    FrameHeaderValues first = Motion(1);
    first.text = "FIRST";
    Feed(first);
    ui.Clear();
    FrameHeaderValues bad = Motion(2);
    bad.version = 3;
    EXPECT_EQ(Feed(bad), HeaderParseStatus::BadVersion);
    EXPECT_TRUE(ui.Calls().empty());
    EXPECT_EQ(app.CRTPHeader.m_wAlarmData.load(), 1);
    EXPECT_EQ(std::string(app.CRTPHeader.LastHeader().szText), "FIRST");
}
