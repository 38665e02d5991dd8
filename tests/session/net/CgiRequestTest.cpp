#include "session/net/CgiRequest.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "session/net/CgiCommandTable.h"

using namespace session;

TEST(CgiCommandTableTest, FortyRowsEachCarryingItsIndexAsCode) {
    ASSERT_EQ(CgiCommandTable.size(), 40u);
    std::set<std::string_view> paths;
    for (std::size_t i = 0; i < CgiCommandTable.size(); ++i) {
        EXPECT_EQ(CgiCommandTable[i].code, static_cast<int>(i));
        EXPECT_EQ(CgiCommandTable[i].path.substr(0, 1), "/");
        paths.insert(CgiCommandTable[i].path);
    }
    EXPECT_EQ(paths.size(), 39u);  // codes 24 and 26 share a path
    EXPECT_EQ(CgiCommandPath(CMD_GET_VERSION), "/GetVersion.cgi");
    EXPECT_EQ(CgiCommandPath(CMD_GET_VERSION2), "/GetVersion.cgi");
    EXPECT_EQ(CgiCommandPath(CMD_LOGIN), "/Login.cgi");
    EXPECT_EQ(CgiCommandPath(CMD_SEARCH_PLAYBACK), "/SearchPlayBack.cgi");
    EXPECT_EQ(CgiCommandPath(CMD_SET_RESOLUTION), "/Setresolution.cgi");
    EXPECT_EQ(CgiCommandPath(CMD_GET_DEFAULT_LANG), "/getDefaultLang.cgi");
    EXPECT_EQ(CgiCommandPath(40), "");
}

TEST(CgiRequestTest, ParametersJoinWithQuestionMarkThenAmpersandInCallOrder) {
    EXPECT_EQ(CgiRequest(CMD_REBOOT).Text(), "/Reboot.cgi");

    CgiRequest config(CMD_GET_SYS_CFG);
    EXPECT_EQ(config.AddParam("Option", "ALL"), 1);
    EXPECT_EQ(config.AddIntParam("Size", 0), 1);
    EXPECT_EQ(config.Text(), "/GetSysCfg.cgi?Option=ALL&Size=0");
    EXPECT_EQ(config.Length(), config.Text().size());

    CgiRequest info(CMD_GET_DEVICE_INFO);
    info.AddParam("Cookie", "5A17C0DE");
    info.AddIntParam("RES", 2);
    info.AddIntParam("QUA", -1);
    info.AddIntParam("CH", 16);
    EXPECT_EQ(info.Text(), "/Getdeviceinfo.cgi?Cookie=5A17C0DE&RES=2&QUA=-1&CH=16");

    EXPECT_EQ(info.Reset(), 1);
    EXPECT_EQ(info.Text(), "/Getdeviceinfo.cgi");
    info.AddIntParam("CH", 1);
    EXPECT_EQ(info.Text(), "/Getdeviceinfo.cgi?CH=1");
}

TEST(CgiRequestTest, UnsafeBytesAreEscapedAndOthersStandAsTheyAre) {
    const std::pair<std::string, std::string> cases[] = {
        {"a&b", "a%26b"},          {"two words", "two%20words"}, {"100%", "100%25"},
        {"#tag", "%23tag"},        {"a+b", "a%2Bb"},             {"\xC5\x82\xC3\xB3", "%C5%82%C3%B3"},
        {"a=b?c/d:e;f", "a=b?c/d:e;f"}, {"", ""},
    };
    for (const auto& [value, sent] : cases) {
        CgiRequest login(CMD_LOGIN);
        EXPECT_EQ(login.AddParam("Password", value), 1);
        EXPECT_EQ(login.Text(), "/Login.cgi?Password=" + sent) << value;
    }
}

TEST(CgiRequestTest, ControlBytesAndUnknownCommandsLeaveNoTextToSend) {
    for (const std::string& value : {std::string("a\r\nHost: x"), std::string("tab\t"), std::string("del\x7F"),
                                    std::string("nul\0x", 5)}) {
        CgiRequest login(CMD_LOGIN);
        login.AddParam("Username", "tovik");
        EXPECT_EQ(login.AddParam("Password", value), 0);
        EXPECT_FALSE(login.IsValid());
        EXPECT_EQ(login.Text(), "");
        login.Reset();
        EXPECT_TRUE(login.IsValid());
        EXPECT_EQ(login.Text(), "/Login.cgi");
    }
    CgiRequest unknown(40);
    EXPECT_FALSE(unknown.IsValid());
    EXPECT_EQ(unknown.Text(), "");
    unknown.AddParam("A", "1");
    EXPECT_EQ(unknown.Text(), "");
}
