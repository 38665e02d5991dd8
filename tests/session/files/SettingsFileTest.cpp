#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "support/TempFolder.h"
#include "fakes/RecordingUiPort.h"
#include "platform/ProgramFolder.h"
#include "platform/TextCodec.h"
#include "session/files/ProfileFile.h"
#include "session/files/SettingsFile.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define SETTINGS_TEST_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define SETTINGS_TEST_SANITIZED 1
#endif

namespace {

using session::CSettingINI;

class SettingsFileTest : public ::testing::Test {
protected:
    session::SettingsFolders Folders() const {
        return {dir.path() / "prog", dir.path() / "desk"};
    }
    std::string Prog() const { return (dir.path() / "prog").string(); }
    std::string Desk() const { return (dir.path() / "desk").string(); }
    void SetUp() override { std::filesystem::create_directories(dir.path() / "prog"); }
    void WriteIni(const std::string& content) const { dir.Write("prog/Setting.ini", content); }
    std::string ReadIni() const { return dir.Read("prog/Setting.ini"); }
    void Load(CSettingINI& s, std::uint8_t& turbo, session::UiPort* ui = nullptr) const {
        EXPECT_EQ(s.LoadSetting(Folders(), turbo, ui), 1);
    }

    testutil::TempFolder dir;
};

// Every numeric member with its default, by key name.
struct NumberMember {
    const char* key;
    std::function<std::uint32_t(const CSettingINI&)> get;
    std::function<void(CSettingINI&, std::uint32_t)> set;
    std::uint32_t byDefault;
    std::uint32_t other;  // a value in range that differs from the default
};

#define NUMBER(key, member, byDefault, other)                                               \
    NumberMember {                                                                         \
        key, [](const CSettingINI& s) { return std::uint32_t(s.member.load()); },          \
            [](CSettingINI& s, std::uint32_t v) { s.member = decltype(s.member.load())(v); }, \
            byDefault, other                                                               \
    }

const std::vector<NumberMember> kNumbers = {
    NUMBER("Image Quility", m_byImageQuility, 0, 7),
    NUMBER("ServerPort", m_wWebPort, 80, 65535),
    NUMBER("Image Resolution", m_dwImageResolution, 1, 3),
    NUMBER("brightness", m_dwBrightness, 0, 12),
    NUMBER("contrast", m_dwContrast, 96, 4000000000u),
    NUMBER("saturation", m_dwSaturation, 0, 40),
    NUMBER("Sub Port Number", m_dwSubPort, 8888, 9999),
    NUMBER("Zoom Ratio", m_wZoomRatio, 100, 150),
    NUMBER("Frame Rate", m_wFrameRate, 30, 15),
    NUMBER("Target Bit Rate", m_wTargetBitRate, 400, 500),
    NUMBER("Peak Bit Rate", m_wPeakBitRate, 450, 550),
    NUMBER("Control Bit Rate Type", m_wBitRateControlType, 1, 2),
    NUMBER("Resolution Type", m_byResolutionType, 3, 255),
    NUMBER("Selected Channel", m_bySelectedChannel, 1, 4),
    NUMBER("Dynamic Download Option", m_dwDynamicDownload, 0, 1),
    NUMBER("Write CD Option", m_dwWriteCD, 0, 1),
    NUMBER("Last Connection MAC1", m_wLastMAC1, 255, 0x12),
    NUMBER("Last Connection MAC2", m_wLastMAC2, 255, 0x34),
    NUMBER("Alarm Trigger Record", m_byAlarmTriggerRecord, 1, 0),
    NUMBER("Alarm Enable Button", m_wAlarmEnableButton, 3, 1),
    NUMBER("Alarm Trigger Quality", m_dwImageQuality, 0, 2),
    NUMBER("Alarm Trigger Resolution", m_dwAlarmTriggerResolution, 1, 2),
    NUMBER("Trigger Wav Path LOWORD", m_dwTriggerWavPathLoword, 0, 0xFFFFFFFFu),
    NUMBER("Trigger Close Time Hour", m_byTriggerCloseHour, 0, 23),
    NUMBER("Trigger Close Time Min", m_byTriggerCloseMinute, 0, 59),
    NUMBER("Trigger Close Time date", m_byTriggerCloseDate, 0, 31),
    NUMBER("Search List HDD", m_wSearchListHDD, 0, 2),
    NUMBER("Search List Type", m_bySearchListType, 0, 3),
    NUMBER("Search List Max Number", m_wSearchListMaxNumber, 128, 64),
    NUMBER("Alarm auto switch video", m_byAlarmAutoSwitchVideo, 0, 1),
    NUMBER("Write CD Close Option", m_dwWriteCDClose, 0, 1),
};

TEST_F(SettingsFileTest, NoFileGivesTheDefaults) {
    CSettingINI s;
    std::uint8_t turbo = 0;
    fakes::RecordingUiPort ui;
    Load(s, turbo, &ui);

    for (const auto& n : kNumbers)
        EXPECT_EQ(n.get(s), n.byDefault) << n.key;
    EXPECT_EQ(s.m_byRetrAlarmRecord.load(), 1);
    EXPECT_EQ(turbo, 5);
    EXPECT_EQ(s.m_strUserName.Get(), "tovik");
    EXPECT_EQ(s.m_strPassword.Get(), "tovik");
    EXPECT_EQ(s.m_strServerName.Get(), "127.0.0.1");
    EXPECT_EQ(s.m_strAppPath.Get(), Prog() + "/");
    EXPECT_EQ(s.m_strDesktopPath.Get(), Desk());
    EXPECT_EQ(s.m_strRecordPath.Get(), Desk());
    EXPECT_EQ(s.m_strSnapshotPath.Get(), Desk());
    EXPECT_EQ(s.m_strUpgradeFWPath.Get(), Desk() + "/");
    EXPECT_EQ(s.m_strUpgradeDvrFWPath.Get(), Desk());
    EXPECT_EQ(s.m_strTriggerWavPath.Get(), Prog() + "/alarm.wav");
    EXPECT_EQ(s.m_strNetworkFileDirectory.Get(), platform::HomeFolder().string() + "/");
    EXPECT_TRUE(std::filesystem::is_directory(Desk()));  // the record folder is created
    EXPECT_TRUE(ui.Calls().empty());
}

TEST_F(SettingsFileTest, ConstructorValuesBeforeAnyLoad) {
    CSettingINI s;
    EXPECT_EQ(s.m_strKeyName[0], "Quenlo");
    EXPECT_EQ(s.m_strKeyName[17], "");
    EXPECT_EQ(s.m_strKeyName[48], "Write CD Close Option");
    EXPECT_EQ(s.m_dwImageResolution.load(), 0u);  // the load default is 1, the constructor's 0
    EXPECT_EQ(s.m_wWebPort.load(), 80);
    EXPECT_TRUE(s.m_szServerAddress.Empty());
}

const char* const kSavedKeyOrder[] = {
    "brightness", "contrast", "saturation", "Image Resolution", "Username", "Server Name",
    "ServerPort", "Sub Port Number", "Zoom Ratio", "Frame Rate", "Target Bit Rate",
    "Peak Bit Rate", "Control Bit Rate Type", "Resolution Type", "Image Quility",
    "Selected Channel", "Dynamic Download Option", "Write CD Option", "Write CD Close Option",
    "Last Connection MAC1", "Last Connection MAC2", "Alarm Trigger Record", "RETR Alarm Record",
    "Alarm Enable Button", "Turbo repeat step", "Alarm Trigger Quality",
    "Alarm Trigger Resolution", "Trigger Wav Path LOWORD", "Trigger Close Time Hour",
    "Trigger Close Time Min", "Trigger Close Time date", "Alarm auto switch video",
    "Search List HDD", "Search List Type", "Search List Max Number", "Record Path",
    "Snapshot Path", "Upgrade FW Path", "Upgrade DVR FW Path", "Trigger Wav Path",
    "Network File Directory"};

TEST_F(SettingsFileTest, SaveWritesTheKeysInOrderAfterADefaultLoad) {
    CSettingINI s;
    std::uint8_t turbo = 0;
    Load(s, turbo);
    s.m_strPassword = "secret";
    EXPECT_EQ(s.SaveSetting(turbo), 1);

    const std::string ini = ReadIni();
    std::vector<std::string> keys;
    std::size_t pos = ini.find("\r\n") + 2;
    EXPECT_EQ(ini.substr(0, pos), "[Quenlo]\r\n");
    while (pos < ini.size()) {
        const auto end = ini.find("\r\n", pos);
        const std::string line = ini.substr(pos, end - pos);
        keys.push_back(line.substr(0, line.find('=')));
        pos = end + 2;
    }
    EXPECT_EQ(keys, std::vector<std::string>(std::begin(kSavedKeyOrder), std::end(kSavedKeyOrder)));
    EXPECT_NE(ini.find("\r\nRETR Alarm Record=1\r\n"), std::string::npos);
    EXPECT_NE(ini.find("\r\nTurbo repeat step=5\r\n"), std::string::npos);
    EXPECT_NE(ini.find("\r\nUpgrade FW Path=" + Desk() + "/\r\n"), std::string::npos);
    EXPECT_EQ(ini.find("secret"), std::string::npos);  // the password is never saved
}

TEST_F(SettingsFileTest, SavedValuesReloadTheSame) {
    CSettingINI s;
    std::uint8_t turbo = 0;
    Load(s, turbo);
    for (const auto& n : kNumbers)
        n.set(s, n.other);
    const std::string polish = "Kamera wejście główne";
    s.m_strUserName = "operator";
    s.m_strServerName = polish;
    s.m_strRecordPath = (dir.path() / "rec").string();
    s.m_strSnapshotPath = (dir.path() / "snap").string();
    s.m_strUpgradeFWPath = "/fw/";
    s.m_strUpgradeDvrFWPath = "/dvrfw";
    s.m_strTriggerWavPath = "/sounds/alarm.wav";
    s.m_strNetworkFileDirectory = "/backup";
    s.SaveSetting(9);

    CSettingINI again;
    std::uint8_t turboAgain = 0;
    Load(again, turboAgain);
    for (const auto& n : kNumbers)
        EXPECT_EQ(n.get(again), n.other) << n.key;
    EXPECT_EQ(turboAgain, 9);
    EXPECT_EQ(again.m_strUserName.Get(), "operator");
    EXPECT_EQ(again.m_strServerName.Get(), polish);
    EXPECT_EQ(again.m_strRecordPath.Get(), (dir.path() / "rec").string());
    EXPECT_EQ(again.m_strSnapshotPath.Get(), (dir.path() / "snap").string());
    EXPECT_EQ(again.m_strUpgradeFWPath.Get(), "/fw/");
    EXPECT_EQ(again.m_strUpgradeDvrFWPath.Get(), "/dvrfw");
    EXPECT_EQ(again.m_strTriggerWavPath.Get(), "/sounds/alarm.wav");
    EXPECT_EQ(again.m_strNetworkFileDirectory.Get(), "/backup");
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "rec"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "snap"));
    // A 32-bit value above 2^31 - 1 is written signed and still reloads.
    EXPECT_NE(ReadIni().find("\r\ncontrast=-294967296\r\n"), std::string::npos);
    EXPECT_NE(ReadIni().find("\r\nTrigger Wav Path LOWORD=4294967295\r\n"), std::string::npos);
}

TEST_F(SettingsFileTest, ServerNameIsSavedAsTyped) {
    CSettingINI s;
    std::uint8_t turbo = 0;
    Load(s, turbo);
    s.m_strServerName = "192.168.1.20";
    s.m_szServerAddress = "dvr.example";
    s.SaveSetting(turbo);
    EXPECT_NE(ReadIni().find("\r\nServer Name=dvr.example\r\n"), std::string::npos);
    s.m_szServerAddress = "";
    s.SaveSetting(turbo);
    EXPECT_NE(ReadIni().find("\r\nServer Name=192.168.1.20\r\n"), std::string::npos);
}

TEST_F(SettingsFileTest, LongTextsLoadAsTheirFirst255Characters) {
    const std::string ascii(300, 'a');
    std::string polish;
    for (int i = 0; i < 300; ++i)
        polish += "ż";
    WriteIni("[Quenlo]\r\nUsername=" + ascii + "\r\nServer Name=" + polish + "\r\n");
    CSettingINI s;
    std::uint8_t turbo = 0;
    Load(s, turbo);
    EXPECT_EQ(s.m_strUserName.Get(), ascii.substr(0, 255));
    EXPECT_EQ(s.m_strServerName.Get(), polish.substr(0, 255 * 2));  // whole letters only
}

// The firmware folders' separator rules: "Upgrade FW Path" gets one trailing
// "/" at load, "Upgrade DVR FW Path" loses one; the loaded text is what is saved.
struct PathCase {
    const char* key;
    const char* stored;
    const char* loaded;
};

std::string TestName(std::string text) {
    std::string name;
    for (char c : text)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name.empty() ? "empty" : name;
}

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << TestName(std::string(c.key) + "=" + c.stored);
}

class FirmwarePaths : public SettingsFileTest, public ::testing::WithParamInterface<PathCase> {};

TEST_P(FirmwarePaths, TrailingSeparatorRuleAtLoadAndTheSameTextSaved) {
    const auto c = GetParam();
    WriteIni(std::string("[Quenlo]\r\n") + c.key + "=" + c.stored + "\r\n");
    CSettingINI s;
    std::uint8_t turbo = 0;
    Load(s, turbo);
    const bool dvr = std::string(c.key) == "Upgrade DVR FW Path";
    EXPECT_EQ(dvr ? s.m_strUpgradeDvrFWPath.Get() : s.m_strUpgradeFWPath.Get(), c.loaded);
    s.SaveSetting(turbo);
    EXPECT_NE(ReadIni().find(std::string("\r\n") + c.key + "=" + c.loaded + "\r\n"),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Separators, FirmwarePaths,
                         ::testing::Values(PathCase{"Upgrade FW Path", "/fw", "/fw/"},
                                           PathCase{"Upgrade FW Path", "/fw/", "/fw/"},
                                           PathCase{"Upgrade FW Path", "", "/"},
                                           PathCase{"Upgrade DVR FW Path", "/dvr/", "/dvr"},
                                           PathCase{"Upgrade DVR FW Path", "/dvr", "/dvr"},
                                           PathCase{"Upgrade DVR FW Path", "/dvr//", "/dvr/"},
                                           PathCase{"Upgrade DVR FW Path", "/", ""}),
                         ::testing::PrintToStringParamName());

struct NumberCase {
    const char* line;
    std::uint32_t port;
    std::uint32_t channel;
    std::uint32_t contrast;
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << TestName(c.line); }

class NumberValues : public SettingsFileTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(NumberValues, OutOfRangeOrMalformedNumbersTakeTheDefault) {
    const auto c = GetParam();
    WriteIni(std::string("[Quenlo]\r\n") + c.line + "\r\n");
    CSettingINI s;
    std::uint8_t turbo = 0;
    Load(s, turbo);
    EXPECT_EQ(s.m_wWebPort.load(), c.port);
    EXPECT_EQ(s.m_bySelectedChannel.load(), c.channel);
    EXPECT_EQ(s.m_dwContrast.load(), c.contrast);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberValues,
    ::testing::Values(NumberCase{"ServerPort=70000", 80, 1, 96},
                      NumberCase{"ServerPort=65535", 65535, 1, 96},
                      NumberCase{"ServerPort= 8080 ", 8080, 1, 96},
                      NumberCase{"ServerPort=-1", 80, 1, 96},
                      NumberCase{"ServerPort=80abc", 80, 1, 96},
                      NumberCase{"ServerPort=", 80, 1, 96},
                      NumberCase{"Selected Channel=256", 80, 1, 96},
                      NumberCase{"Selected Channel=255", 80, 255, 96},
                      NumberCase{"contrast=-1", 80, 1, 0xFFFFFFFFu},
                      NumberCase{"contrast=4294967296", 80, 1, 96},
                      NumberCase{"contrast=-2147483649", 80, 1, 96}),
    ::testing::PrintToStringParamName());

TEST_F(SettingsFileTest, SaveUpdatesKeysInPlaceAndKeepsWhatItDoesNotKnow) {
    WriteIni(
        "; written by hand\r\n"
        "[Other]\r\n"
        "ServerPort=1\r\n"
        "\r\n"
        "[quenlo]\r\n"
        "SERVERPORT=8080\r\n"
        "My Own Key=kept\r\n"
        "LANGUAGE=7\r\n"
        "\r\n"
        "[Last]\r\n"
        "x=y\r\n");
    CSettingINI s;
    std::uint8_t turbo = 0;
    Load(s, turbo);
    EXPECT_EQ(s.m_wWebPort.load(), 8080);  // key and section names ignore letter case
    s.m_wWebPort = 81;
    s.SaveSetting(turbo);

    const std::string ini = ReadIni();
    EXPECT_EQ(ini.rfind("; written by hand\r\n[Other]\r\nServerPort=1\r\n\r\n[quenlo]\r\n"
                        "ServerPort=81\r\nMy Own Key=kept\r\nLANGUAGE=7\r\nbrightness=0\r\n",
                        0),
              0u);
    EXPECT_NE(ini.find("\r\nNetwork File Directory="), std::string::npos);
    const auto last = ini.find("\r\n\r\n[Last]\r\nx=y\r\n");
    ASSERT_NE(last, std::string::npos);
    EXPECT_EQ(last + std::string("\r\n\r\n[Last]\r\nx=y\r\n").size(), ini.size());
    EXPECT_GT(last, ini.find("Network File Directory="));  // new keys stay in their section
}

TEST_F(SettingsFileTest, FileFromTheOriginalProgramInWindows1250Loads) {
    WriteIni(platform::Utf8ToWindows1250("[Quenlo]\nUsername=Łukasz\nSnapshot Path=/zdjęcia\n"));
    CSettingINI s;
    std::uint8_t turbo = 0;
    Load(s, turbo);
    EXPECT_EQ(s.m_strUserName.Get(), "Łukasz");
    EXPECT_EQ(s.m_strSnapshotPath.Get(), "/zdjęcia");
    s.SaveSetting(turbo);
    EXPECT_NE(ReadIni().find("\r\nUsername=Łukasz\r\n"), std::string::npos);  // now UTF-8
}

TEST_F(SettingsFileTest, UnknownDesktopShowsTheMessageAndLeavesFolderKeysEmpty) {
    CSettingINI s;
    std::uint8_t turbo = 0;
    fakes::RecordingUiPort ui;
    EXPECT_EQ(s.LoadSetting({dir.path() / "prog", {}}, turbo, &ui), 1);
    EXPECT_EQ(ui.Calls(), std::vector<std::string>{"msgbox:4056"});
    EXPECT_EQ(s.m_strRecordPath.Get(), "");
    EXPECT_EQ(s.m_strUpgradeDvrFWPath.Get(), "");
    EXPECT_EQ(s.m_strUpgradeFWPath.Get(), "/");
}

TEST_F(SettingsFileTest, UnwritableFileIsIgnored) {
    CSettingINI s;
    std::uint8_t turbo = 0;
    EXPECT_EQ(s.LoadSetting({dir.path() / "missing", dir.path() / "desk"}, turbo), 1);
    EXPECT_EQ(s.SaveSetting(turbo), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));
}

// A Setting.ini of 1.5 GB (sparse: it takes no disc space) is never read: a
// clear message, the defaults, and the file moved aside whole rather than
// replaced by the next save.
TEST_F(SettingsFileTest, HugeFileIsReportedMovedAsideAndTheDefaultsUsed) {
    constexpr std::uintmax_t kHuge = std::uintmax_t{1536} << 20;
    const auto path = dir.path() / "prog" / "Setting.ini";
    WriteIni("[Quenlo]\r\nServerPort=8080\r\n");
    std::filesystem::resize_file(path, kHuge);

    CSettingINI s;
    std::uint8_t turbo = 0;
    fakes::RecordingUiPort ui;
    Load(s, turbo, &ui);
    EXPECT_EQ(s.m_wWebPort.load(), 80);
    EXPECT_EQ(turbo, 5);
    const auto moved = dir.SetAside("prog/Setting.ini");
    ASSERT_EQ(moved.size(), 1u);
    const auto aside = moved[0];
    EXPECT_EQ(ui.Calls(), std::vector<std::string>{"msgtext:" + path.string() + " is larger than 1048576 bytes; " +
                                                   "it was moved to " + aside.string() +
                                                   ", and the settings start from their defaults."});
    EXPECT_EQ(std::filesystem::file_size(aside), kHuge);

    s.m_wWebPort = 8081;
    EXPECT_EQ(s.SaveSetting(turbo), 1);
    EXPECT_NE(ReadIni().find("ServerPort=8081\r\n"), std::string::npos);
    EXPECT_EQ(std::filesystem::file_size(aside), kHuge);
}

// A file that cannot be read by the time of the save (here: one grown past
// the cap since the load) is not replaced by a save that lost its lines: it
// goes aside first.
TEST_F(SettingsFileTest, SaveMovesAnUnreadableFileAsideFirst) {
    CSettingINI s;
    std::uint8_t turbo = 0;
    Load(s, turbo);
    const auto path = dir.path() / "prog" / "Setting.ini";
    WriteIni("[Other]\r\nkept=1\r\n");
    std::filesystem::resize_file(path, session::kProfileFileMaxBytes + 1);
    EXPECT_EQ(s.SaveSetting(turbo), 1);
    const auto aside = dir.SetAside("prog/Setting.ini");
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(std::filesystem::file_size(aside[0]), session::kProfileFileMaxBytes + 1);
    EXPECT_NE(ReadIni().find("ServerPort=80\r\n"), std::string::npos);
}

#ifndef SETTINGS_TEST_SANITIZED
// The same load in a process that cannot hold the file in memory (the
// sanitizers reserve far more address space than the limit, so they skip it).
TEST_F(SettingsFileTest, HugeFileLoadsTheDefaultsUnderAMemoryLimit) {
    const auto path = dir.path() / "prog" / "Setting.ini";
    WriteIni("[Quenlo]\r\nServerPort=8080\r\n");
    std::filesystem::resize_file(path, std::uintmax_t{1536} << 20);
    const auto loadWithLittleMemory = [this] {
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = rlim_t{1} << 30;  // 1 GB of address space
        ::setrlimit(RLIMIT_AS, &limit);
        CSettingINI s;
        std::uint8_t turbo = 0;
        s.LoadSetting(Folders(), turbo);
        std::exit(s.m_wWebPort.load() == 80 ? 0 : 1);
    };
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(loadWithLittleMemory(), ::testing::ExitedWithCode(0), "");
}
#endif

}  // namespace
