// RS-485 commands: the body of each template shape, the bus target of each
// kind of current device, and what reaches the simulated device.
#include "mainwindow/control/ControlCommandSender.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "mainwindow/control/ControlCommandBody.h"
#include "platform/ProgramFolder.h"
#include "session/AppData.h"
#include "simulator/DeviceSimulator.h"

namespace {

using namespace mainwindow;
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// "FF C0 %D 31 7F": hex literals and placeholders.
ControlCommandTemplate Template(std::string_view text) {
    ControlCommandTemplate command;
    std::istringstream items{std::string(text)};
    std::string item;
    while (items >> item) {
        const bool placeholder = item[0] == '%';
        if (placeholder)
            command.placeholders.set(command.pBytes.size());
        command.pBytes.push_back(static_cast<std::uint8_t>(std::stoi(placeholder ? item.substr(1) : item, nullptr, 16)));
    }
    return command;
}

std::string Hex(const Bytes& bytes) {
    std::string text;
    char piece[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(piece, sizeof piece, "%02X ", b);
        text += piece;
    }
    if (!text.empty())
        text.pop_back();
    return text;
}

struct BodyCase {
    const char* name;
    const char* command;
    std::uint8_t masterAddress;
    std::uint8_t repeat;
    bool presetMode;
    const char* body;
};

class BodyShapeTest : public ::testing::TestWithParam<BodyCase> {};

TEST_P(BodyShapeTest, FillsTheTemplate) {
    const BodyCase& c = GetParam();
    CommandBodyContext context;
    context.masterAddress = c.masterAddress;
    context.busAddress = 0x42;
    context.rank = 60;
    context.repeat = c.repeat;
    context.presetMode = c.presetMode;
    context.params[3] = 0x1F;
    const auto body = BuildCommandBody(Template(c.command), context);
    ASSERT_TRUE(body);
    EXPECT_EQ(Hex(*body), c.body);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, BodyShapeTest,
    ::testing::Values(
        BodyCase{"Plain", "FF C0 %D 31 7F", 3, 1, false, "05 FF C0 03 31 7F 01 32"},
        BodyCase{"Checksum", "D0 %D 52 %2", 1, 1, false, "04 D0 01 52 23 01 32"},
        BodyCase{"ChecksumFromSecond", "D0 %D 52 %6", 1, 1, false, "04 D0 01 52 53 01 32"},
        BodyCase{"TurboRepeat", "FF %D 00 04 20 00 %6", 1, 5, false, "07 FF 01 00 04 20 00 25 05 32"},
        BodyCase{"RankBusAndParameter", "%1 %B %3 %9", 1, 1, false, "04 3C 42 1F 00 01 32"},
        BodyCase{"ActionVariant", "%7 02 AA %D %7 02 CC DD", 9, 1, false, "02 AA 09 01 32"},
        BodyCase{"PresetVariant", "%7 02 AA %D %7 02 CC %D", 9, 1, true, "02 CC 09 01 32"},
        BodyCase{"AfterSeparator", "%A 11 22 0A 02 %D 33", 4, 1, false, "02 04 33 01 32"},
        // Pairs count in %2 but not in %6; %5 ends; no repeat or interval, n + 3 bytes.
        BodyCase{"FreeForm", "%3 05 D0 %D %4 09 %2 %6 %5 07 EE", 1, 1, false, "05 D0 01 09 DA DB 07 00"},
        BodyCase{"FreeFormEndsAtZeroPastCount", "%3 02 D0 %D 11 00 55", 1, 1, false, "02 D0 01 11 00"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BodyShapeTest, RefusesWhatCannotBeFilledWithinTheTemplateAndTheArea) {
    std::string over61, exactly61;
    for (int i = 0; i < 62; ++i)
        over61 += "11 ";
    for (int i = 0; i < 61; ++i)
        exactly61 += "11 ";
    EXPECT_TRUE(BuildCommandBody(Template(exactly61), {}));
    const char* refused[] = {
        "",                         // empty
        over61.c_str(),             // n > 61
        "%A 11 22 33",              // no separator
        "%A 11 0A",                 // no count after it
        "%A 0A 04 01 02",           // count past the template
        "%7 02 AA BB",              // no second variant
        "%7 06 AA BB %7 01 CC",     // first variant past the template (action mode)
        "%3 03 01 02 03 04",        // free form without its end
        "%3 03 01 %4",              // a pair without its value
        "%3 3E 01 %5 02",           // n > 61
    };
    for (const char* text : refused)
        EXPECT_FALSE(BuildCommandBody(Template(text), {})) << text;
    CommandBodyContext preset;
    preset.presetMode = true;
    EXPECT_FALSE(BuildCommandBody(Template("%7 02 AA BB %7 05 CC"), preset));
    EXPECT_FALSE(BuildCommandBody(Template("%7 02 AA BB %7"), preset)) << "second variant without a count";
}

TEST(BodyShapeTest, BusAddressByFamily) {
    EXPECT_EQ(BusAddress(true, true, 1, 7), 1);
    EXPECT_EQ(BusAddress(true, false, 1, 7), 7);
    EXPECT_EQ(BusAddress(false, false, 1, 7), 1);
}

// ---- Requests against the simulated device ----------------------------------

class ControlCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.Start());
        app.CSettingINI.m_strServerName = "127.0.0.1";
        app.CSettingINI.m_wWebPort = device.Port();
        app.SessionCookie = "C00C1E";
        timing.connectTimeout = 2000ms;
        timing.rs485CommandTimeout = 2000ms;
        const auto result = ParseControlFile(kFile, app.ControlFile);
        ASSERT_TRUE(result.ok);
        BindControlProtocols(app.ControlFile);
    }
    std::vector<std::string> Targets() const {
        std::vector<std::string> targets;
        for (const auto& request : device.RequestsFor("/RS485Cmd.cgi"))
            targets.push_back(request.target);
        return targets;
    }
    Bytes LastBody() const {
        const auto requests = device.RequestsFor("/RS485Cmd.cgi");
        if (requests.empty())
            return {};
        return {requests.back().body.begin(), requests.back().body.end()};
    }

    static constexpr std::string_view kFile =
        "[DEVICE NUMBER]\n3\n"
        "[DEVICE NAME]\nPTZ PELCO\n"
        "[AUTO]\n0x03 0xFF 0x%D 0x%6\n"
        "[JOYSTICK_LEFT]\n0x07 0xFF 0x%D 0x00 0x04 0x20 0x00 0x%6\n"
        "[DEVICE NAME]\nPTZ PELCO D\n"
        "[JOYSTICK_LEFT]\n0x07 0xFF 0x%D 0x00 0x04 0x20 0x00 0x%6\n"
        "[JOYSTICK_UP]\n0x04 0x%A 0x0A 0x01 0x22\n"
        "[DEVICE NAME]\nKLT 316 DVR\n"
        "[JOYSTICK_LEFT]\n0x02 0x01 0x02\n"
        "[EOF]\nEND\n";
    static constexpr std::uint16_t kLeft = 54;
    static constexpr std::uint16_t kUp = 55;
    static constexpr std::uint16_t kDown = 57;

    devicesim::DeviceSimulator device;
    session::AppData app;
    platform::Timing timing;
};

TEST_F(ControlCommandTest, BusTargetOfEachKindOfCurrentDevice) {
    auto target = [this](const char* product, int multi, auto fill, std::uint16_t flags) {
        app.str_ProductID = product;
        app.by_MultiChannel = static_cast<std::uint8_t>(multi);
        app.C_ControlD.Clear();
        fill(app.C_ControlD);
        return std::string(Rs485Request(BusTargetFactsOf(app), flags, PelcoMasters::PelcoAndPelcoD, "C00C1E").Text());
    };
    // A multi-channel DVR's own entry, and its Pelco channel device.
    EXPECT_EQ(target("R41T", 1, [](ControlDeviceList& l) { l.AddDevice(0, 0, 19, 2); l.MakeCurrent(2, 0); }, 0),
              "/RS485Cmd.cgi?Control=R41T&MASTER=1&Cookie=C00C1E");
    EXPECT_EQ(target("R41T", 1,
                     [](ControlDeviceList& l) { l.AddDevice(0, 0, 19, 2); l.AddDevice(2400, 5, 18, 2); l.MakeCurrent(2, 1); }, 0),
              "/RS485Cmd.cgi?Control=R41T&CH=0&MASTER=0&PELOCO=1&PROTOCOL=PELCO&Cookie=C00C1E");
    // A Pelco slave, with and without the button's no-Pelco flag.
    auto pelcoSlave = [](ControlDeviceList& l) {
        l.AddDevice(0, 0, 19, 2); l.AddDevice(0, 1, 11, 4); l.AddDevice(0, 2, 18, 4); l.MakeCurrent(4, 1);
    };
    EXPECT_EQ(target("R42T", 0, pelcoSlave, 0),
              "/RS485Cmd.cgi?Control=R41T&CH=1&MASTER=0&PELOCO=1&PROTOCOL=PELCO&Cookie=C00C1E");
    EXPECT_EQ(target("R42T", 0, pelcoSlave, kPanelNoPelco), "/RS485Cmd.cgi?Control=R41T&CH=1&MASTER=0&Cookie=C00C1E");
    // A video server's Pelco-D master.
    auto pelcoD = [](ControlDeviceList& l) { l.AddDevice(0, 3, 25, 2); l.MakeCurrent(2, 0); };
    EXPECT_EQ(target("R47T", 0, pelcoD, 0),
              "/RS485Cmd.cgi?Control=R41T&CH=0&PELOCO=1&PROTOCOL=PELCO&MASTER=1&Cookie=C00C1E");
    EXPECT_EQ(std::string(Rs485Request(BusTargetFactsOf(app), 0, PelcoMasters::PelcoOnly, "").Text()),
              "/RS485Cmd.cgi?Control=R41T&CH=0&MASTER=1")
        << "click-to-position: Pelco parameters for Pelco masters only; no Cookie when empty";
}

TEST_F(ControlCommandTest, PanelKeysReachTheDeviceInPressOrder) {
    app.str_ProductID = "R47T";
    app.C_ControlD.AddDevice(0, 3, 25, 2);
    app.C_ControlD.MakeCurrent(2, 0);
    app.by_TurboRepeatStep = 5;
    EXPECT_EQ(SendPanelCommand(app, true, kLeft, timing), (ControlOutcome{true, 0}));
    EXPECT_EQ(Hex(LastBody()), "07 FF 03 00 04 20 00 27 05 32");
    EXPECT_EQ(SendPanelCommand(app, false, kUp, timing), (ControlOutcome{true, 0}));
    EXPECT_EQ(Hex(LastBody()), "01 22 01 32");
    EXPECT_EQ(Targets(), std::vector<std::string>(2, "/RS485Cmd.cgi?Control=R41T&CH=0&PELOCO=1&PROTOCOL=PELCO&MASTER=1&"
                                                     "Cookie=C00C1E"));
}

TEST_F(ControlCommandTest, FailuresAndCommandsThatAreNotSent) {
    app.str_ProductID = "R47T";
    app.C_ControlD.AddDevice(0, 3, 25, 2);
    app.C_ControlD.MakeCurrent(2, 0);
    device.AddFault("/RS485Cmd.cgi", devicesim::Fault::Status(500));
    EXPECT_EQ(SendPanelCommand(app, false, kLeft, timing), (ControlOutcome{false, kMsgCommandNotSent}));
    EXPECT_EQ(Targets().size(), 1u);

    device.ClearRequests();
    EXPECT_EQ(SendPanelCommand(app, false, kDown, timing), (ControlOutcome{false, kMsgCommandUnsupported}))
        << "empty template";
    app.C_ControlD.Clear();
    app.C_ControlD.AddDevice(0, 3, 8, 2);  // "PTZ": no record in the file
    EXPECT_EQ(SendPanelCommand(app, false, kLeft, timing), (ControlOutcome{false, kMsgNoProtocol}));
    // Each malformed shape.
    const ControlProtocolRecord& record = *app.ControlFile.ProtocolOf(25);
    for (const char* text : {"%A 11 22", "%7 02 AA BB", "%3 03 01 02 03"})
        EXPECT_EQ(SendControlCommand(app, record, Template(text), 1, 0, timing), (ControlOutcome{false, kMsgCommandUnsupported}))
            << text;
    EXPECT_TRUE(device.RequestsFor("/RS485Cmd.cgi").empty());
}

TEST(ShippedControlFileTest, LoadsWholeAndServesTheFivePtzTypes) {
    const auto path = platform::FindShippedFile(platform::ExecutableFolder(), "CtrlFile.ini");
    ASSERT_TRUE(path);
    ControlFile file;
    const auto result = LoadControlFile(*path, file);
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.problems.empty());
    BindControlProtocols(file);
    for (std::uint8_t type : {kTypePtz, kTypePtzSlave, std::uint8_t{17}, kTypePtzPelco, kTypePtzPelcoD}) {
        const ControlProtocolRecord* record = file.ProtocolOf(type);
        ASSERT_TRUE(record) << int(type);
        // Every key a PTZ panel shows that sends has a Pelco-D frame: 7 bytes, FF first, checksum last.
        for (std::size_t index : {0u, 15u, 24u, 30u, 33u, 46u, 54u, 56u, 58u, 62u, 63u}) {
            CommandBodyContext context;
            context.masterAddress = 1;
            const auto body = BuildCommandBody(record->Commands[index], context);
            ASSERT_TRUE(body) << int(type) << " " << index;
            ASSERT_EQ(body->size(), 10u);
            EXPECT_EQ((*body)[1], 0xFF);
            EXPECT_EQ((*body)[7], static_cast<std::uint8_t>((*body)[2] + (*body)[3] + (*body)[4] + (*body)[5] + (*body)[6]));
        }
    }
}

}  // namespace
