#include "session/devices/ControlFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using namespace mainwindow;

// Two device records written the way people write the file: mixed case,
// CR LF line ends, a tab between items, comments, and text after the end.
constexpr std::string_view kTwoDevices =
    "; linked devices\r\n"
    "[device number]\r\n"
    "2\r\n"
    "[DEVICE NAME]\r\n"
    "ptz\r\n"
    "[PARAMETER]\r\n"
    "%3 = 0x1F\r\n"
    "[JOYSTICK_LEFT]\r\n"
    "0x05 0xFF 0xC0 0x%D 0x31 0x7F\r\n"
    "[POWER]\r\n"
    "0x02 0xa0\t0x01\r\n"
    "[DISPLAY]\r\n"
    "3\r\n"
    "[DEVICE NAME]\r\n"
    "PTZ PELCO D\r\n"
    "[CH1]\r\n"
    "0x00\r\n"
    "[JOYSTICK_UP]\r\n"
    "0x03 0xFF 0x%1 0x%2\r\n"
    "[EOF]\r\n"
    "END\r\n"
    "[DEVICE NAME]\r\n"
    "NOT READ\r\n";

constexpr std::size_t kJoystickLeft = 56 - 2;
constexpr std::size_t kJoystickUp = 57 - 2;
constexpr std::size_t kCh1 = 0;

std::vector<std::uint8_t> Bytes(const ControlCommandTemplate& t) { return t.pBytes; }

TEST(ControlFileTest, FixtureIsParsedAndBoundToItsTypes) {
    ControlFile file;
    const auto result = ParseControlFile(kTwoDevices, file);
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.problems.empty());
    ASSERT_EQ(file.RecordCount(), 2u);

    const auto& ptz = file.Records()[0];
    EXPECT_EQ(ptz.szName, "PTZ");
    EXPECT_EQ(ptz.byParams[3], 0x1F);
    EXPECT_EQ(ptz.byDisplay, 3);
    const auto& left = ptz.Commands[kJoystickLeft];
    EXPECT_EQ(Bytes(left), (std::vector<std::uint8_t>{0xFF, 0xC0, 0x0D, 0x31, 0x7F}));
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(left.IsPlaceholder(i), i == 2) << i;
    EXPECT_EQ(Bytes(ptz.Power), (std::vector<std::uint8_t>{0xA0, 0x01})) << "tab dropped";
    EXPECT_EQ(ptz.Commands[kCh1].byCount(), 0);

    const auto& pelco = file.Records()[1];
    EXPECT_EQ(pelco.Commands[kCh1].byCount(), 0) << "0x00 leaves the command empty";
    EXPECT_EQ(Bytes(pelco.Commands[kJoystickUp]), (std::vector<std::uint8_t>{0xFF, 0x01, 0x02}));

    EXPECT_TRUE(BindControlProtocols(file));
    for (std::uint8_t type = 0; type < kLinkedDeviceTypeCount; ++type) {
        const ControlProtocolRecord* expected = type == kTypePtz        ? &file.Records()[0]
                                                : type == kTypePtzPelcoD ? &file.Records()[1]
                                                                         : nullptr;
        EXPECT_EQ(file.ProtocolOf(type), expected) << int(type);
    }
}

TEST(ControlFileTest, MissingFileIsRefusedWith4094) {
    const auto folder = std::filesystem::path(::testing::TempDir()) / "ctrlfile-missing";
    std::filesystem::create_directories(folder);
    ControlFile file;
    const auto result = LoadControlFile(folder / "CtrlFile.ini", file);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.problems, (std::vector<ControlFileProblem>{{4094, 0}}));
    EXPECT_EQ(file.RecordCount(), 0u);
    BindControlProtocols(file);
    EXPECT_EQ(file.ProtocolOf(kTypePtz), nullptr);
}

TEST(ControlFileTest, FileOnDiskLoads) {
    const auto path = std::filesystem::path(::testing::TempDir()) / "CtrlFile-two.ini";
    std::ofstream(path, std::ios::binary) << kTwoDevices;
    ControlFile file;
    EXPECT_TRUE(LoadControlFile(path, file).ok);
    EXPECT_EQ(file.RecordCount(), 2u);
    std::filesystem::remove(path);
}

TEST(ControlFileTest, ShippedFileBesideTheProgramLoads) {
    const auto folder = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    ControlFile file;
    const auto result = LoadControlFile(folder / "CtrlFile.ini", file);
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.problems.empty());
}

// Announces `records` records, starts the first as "PTZ", then the body and the end line.
std::string WithPtzRecord(std::string_view body, int records = 1) {
    return "[DEVICE NUMBER]\n" + std::to_string(records) + "\n[DEVICE NAME]\nPTZ\n" +
           std::string(body) + "[EOF]\nEND\n";
}

TEST(ControlFileTest, ReaderReportsEachBadLineAndGoesOn) {
    struct Case {
        const char* what;
        std::string content;
        bool ok;
        std::vector<ControlFileProblem> problems;
    };
    const Case cases[] = {
        {"end line only", "[EOF]\nEND\n", true, {}},
        {"end line without a line feed", "[EOF]\nEND", true, {}},
        {"short template", WithPtzRecord("[CH1]\n0x03 0x01 0x02\n"), true, {{4051, 6}}},
        {"template without count", WithPtzRecord("[CH1]\nFF 01\n"), true, {{4051, 6}}},
        {"data before any section", "DATA\n[EOF]\nEND\n", true, {{4084, 1}}},
        {"comment only at the first character", "[EOF]\n ;x\nEND\n", true, {}},
        {"comment after a space is data", " ;x\n[EOF]\nEND\n", true, {{4084, 1}}},
        {"header with trailing space", "[DEVICE NUMBER] \n1\n[EOF]\nEND\n", true, {{4084, 2}}},
        {"unknown header", "[NOPE]\n0x01 0x02\n[EOF]\nEND\n", true, {{4084, 2}}},
        {"more names than announced", WithPtzRecord("[DEVICE NAME]\nPTZ PELCO\n"), true, {{4084, 6}}},
        {"command before any name", "[DEVICE NUMBER]\n1\n[CH2]\n0x01 0x05\n[EOF]\nEND\n", true,
         {{4084, 4}}},
        {"count that is not a number", "[DEVICE NUMBER]\nMANY\n[EOF]\nEND\n", true, {{4084, 2}}},
        {"count beyond the limit", "[DEVICE NUMBER]\n100000\n[EOF]\nEND\n", true, {{4084, 2}}},
        {"parameter number not a digit", WithPtzRecord("[PARAMETER]\n%A = 0x01\n"), true, {{4051, 6}}},
        {"no end line", WithPtzRecord("").substr(0, 30), false, {{4094, 0}}},
        {"end line under another section", "[CH1]\nEND\n", false, {{4084, 2}, {4094, 0}}},
    };
    for (const auto& c : cases) {
        ControlFile file;
        const auto result = ParseControlFile(c.content, file);
        EXPECT_EQ(result.ok, c.ok) << c.what;
        EXPECT_EQ(result.problems, c.problems) << c.what;
        if (!c.ok) {
            EXPECT_EQ(file.RecordCount(), 0u) << c.what;
        }
    }
}

TEST(ControlFileTest, ShortTemplateKeepsItsCountWithZeros) {
    ControlFile file;
    ASSERT_TRUE(ParseControlFile(WithPtzRecord("[CH1]\n0x03 0x01 0x02\n"), file).ok);
    EXPECT_EQ(Bytes(file.Records()[0].Commands[kCh1]), (std::vector<std::uint8_t>{0x01, 0x02, 0x00}));
}

TEST(ControlFileTest, NamesBindOnlyWhenEqualAfterUpperCasing) {
    ControlFile file;
    ASSERT_TRUE(ParseControlFile(
                    "[DEVICE NUMBER]\n3\n[DEVICE NAME]\nPTZ \n[DEVICE NAME]\nptz pelco d\n"
                    "[DEVICE NAME]\nPTZ PELCO D\n[EOF]\nEND\n",
                    file)
                    .ok);
    BindControlProtocols(file);
    EXPECT_EQ(file.ProtocolOf(kTypePtz), nullptr) << "a trailing space is part of the name";
    EXPECT_EQ(file.ProtocolOf(kTypePtzPelcoD), &file.Records()[1]) << "the first record of the name";
    EXPECT_EQ(file.ProtocolOf(200), nullptr);
}

TEST(ControlFileTest, LongNamesAndLinesAreCut) {
    ControlFile file;
    ASSERT_TRUE(
        ParseControlFile(WithPtzRecord("[DEVICE NAME]\n" + std::string(120, 'N') + "\n", 2), file).ok);
    EXPECT_EQ(file.Records()[1].szName, std::string(kControlNameMax, 'N'));

    // Past 129 characters the second item is cut away.
    const auto result =
        ParseControlFile(WithPtzRecord("[CH1]\n0x02 0x01" + std::string(130, ' ') + "0x02\n"), file);
    EXPECT_EQ(result.problems, (std::vector<ControlFileProblem>{{4051, 6}}));
    EXPECT_EQ(Bytes(file.Records()[0].Commands[kCh1]), (std::vector<std::uint8_t>{0x01, 0x00}));
}

TEST(ControlFileTest, PlaceholdersBeyondBit31StayWithTheirOwnByte) {
    std::string line = "0X28";  // 40 items: literal 0x11, a placeholder at 33
    for (int i = 0; i < 40; ++i)
        line += i == 33 ? "X%5" : "X11";
    ControlFile file;
    ASSERT_TRUE(ParseControlFile(WithPtzRecord("[CH1]\n" + line + "\n"), file).ok);
    const auto& t = file.Records()[0].Commands[kCh1];
    ASSERT_EQ(t.byCount(), 40);
    for (std::size_t i = 0; i < 40; ++i) {
        EXPECT_EQ(t.IsPlaceholder(i), i == 33) << i;
        EXPECT_EQ(t.pBytes[i], i == 33 ? 0x05 : 0x11) << i;
    }
}

}  // namespace
