// The channel bar's pages and places, the channel request against the
// simulated device, and which button shows the channel the stream carries.
#include "session/live/ChannelButtonBar.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "fakes/RecordingUiPort.h"
#include "session/AppData.h"
#include "simulator/DeviceSimulator.h"

namespace {

using mainwindow::BarChannelOfView;
using mainwindow::ChannelPlace;
using session::AppData;
using namespace std::chrono_literals;

class ChannelButtonBarTest : public ::testing::Test {
protected:
    void Make(const char* product, bool multiChannel, std::uint8_t selected, std::uint8_t mode = 0) {
        app.str_ProductID = product;
        app.by_MultiChannel = multiChannel ? 1 : 0;
        app.CSettingINI.m_bySelectedChannel = selected;
        app.by_VideoSizeMode = mode;
        bar().Create();
    }
    mainwindow::ChannelButtonBar& bar() { return app.ChannelButtonBar; }
    // The page shown: channels of the buttons shown (0 the view), and the arrows.
    std::string Page() {
        const auto places = bar().Layout();
        std::string left, channels, right;
        for (std::size_t i = 0; i < places.size(); ++i) {
            if (!places[i].shown)
                continue;
            const auto& row = bar().Rows()[i];
            if (row.dwKind == mainwindow::kLeftArrow)
                left = "< ";
            else if (row.dwKind == mainwindow::kRightArrow)
                right = ">";
            else
                channels += std::to_string(row.wControlId - mainwindow::kFirstChannelId) + " ";
        }
        return left + channels + right;
    }
    AppData app;
};

TEST(ChannelMappingTest, ViewChannelsOfTheStreamAsTheBarCountsThem) {
    EXPECT_EQ(BarChannelOfView(16), 0);
    EXPECT_EQ(BarChannelOfView(0), 1);
    EXPECT_EQ(BarChannelOfView(15), 16);
    EXPECT_EQ(BarChannelOfView(1), 2);
}

TEST_F(ChannelButtonBarTest, PagesByFamilyAndSize) {
    Make("R41T", true, 1);
    EXPECT_EQ(Page(), "0 1 2 3 4 5 6 7 8 >");
    EXPECT_TRUE(bar().OnPageRight());
    EXPECT_EQ(Page(), "< 9 10 11 12 13 14 15 16 ");
    EXPECT_FALSE(bar().OnPageRight());
    EXPECT_TRUE(bar().OnPageLeft());
    EXPECT_EQ(Page(), "0 1 2 3 4 5 6 7 8 >");

    Make("R41T", true, 1, 1);  // reduced
    const std::vector<std::string> pages = {"0 1 2 3 >", "< 4 5 6 7 >", "< 8 9 10 11 >", "< 12 13 14 15 >",
                                            "< 16 "};
    EXPECT_EQ(Page(), pages[0]);
    for (std::size_t i = 1; i < pages.size(); ++i) {
        EXPECT_TRUE(bar().OnPageRight());
        EXPECT_EQ(Page(), pages[i]);
    }
    EXPECT_FALSE(bar().OnPageRight());
    for (std::size_t i = pages.size() - 1; i > 0; --i) {
        EXPECT_TRUE(bar().OnPageLeft());
        EXPECT_EQ(Page(), pages[i - 1]);
    }
    EXPECT_FALSE(bar().OnPageLeft());

    Make("R42T", true, 1);
    EXPECT_EQ(Page(), "0 1 2 3 4 5 6 7 8 ");
    EXPECT_FALSE(bar().OnPageRight());
    EXPECT_FALSE(bar().OnPageLeft());
    Make("R43T", true, 1, 3);
    EXPECT_EQ(Page(), "0 1 2 3 4 ");
    Make("R41T", true, 12);
    EXPECT_EQ(Page(), "< 9 10 11 12 13 14 15 16 ");
    Make("R41T", true, 20);  // out of range: the view
    EXPECT_EQ(app.CSettingINI.m_bySelectedChannel, 0);
}

TEST_F(ChannelButtonBarTest, PlacesFromTheOrigin) {
    Make("R41T", true, 12);
    auto places = bar().Layout();
    EXPECT_EQ(places[9], (ChannelPlace{true, 21, 32, 35, 28}));
    EXPECT_EQ(places[17], (ChannelPlace{true, 9, 37, 9, 16}));  // left arrow at origin - 12
    Make("R41T", true, 0);
    places = bar().Layout();
    EXPECT_EQ(places[0], (ChannelPlace{true, 21, 32, 40, 28}));
    EXPECT_EQ(places[1], (ChannelPlace{true, 61, 32, 35, 28}));
    EXPECT_EQ(places[18], (ChannelPlace{true, 61 + 8 * 35 + 3, 37, 9, 16}));  // right arrow at x + 3
    Make("R47T", false, 2);
    places = bar().Layout();
    EXPECT_EQ(places, (std::vector<ChannelPlace>{{true, 20, 32, 35, 28}, {true, 55, 32, 35, 28}}));
    Make("R41T", false, 3);
    EXPECT_FALSE(bar().Enabled());
    EXPECT_TRUE(bar().Rows().empty());
    EXPECT_TRUE(bar().SyncChangesNothing(4));
    EXPECT_FALSE(bar().SyncCurrentChannel(4));
}

TEST_F(ChannelButtonBarTest, PicturesOfAChannelMakeItCurrent) {
    Make("R41T", true, 0);
    for (int k = 0; k <= 16; ++k)
        app.C_ControlD.AddDevice(2400, static_cast<std::uint8_t>(k), 8, mainwindow::kControlDeviceMaster);
    EXPECT_TRUE(bar().SyncChangesNothing(0));
    EXPECT_FALSE(bar().SyncCurrentChannel(0));
    EXPECT_FALSE(bar().SyncChangesNothing(5));
    EXPECT_TRUE(bar().SyncCurrentChannel(5));
    EXPECT_TRUE(bar().SyncChangesNothing(5));
    EXPECT_EQ(bar().ButtonState(5), 0);
    EXPECT_EQ(bar().ButtonState(0), 1);
    EXPECT_EQ(app.C_ControlD.GetCurrentAddress(), 5);
    EXPECT_EQ(app.CSettingINI.m_bySelectedChannel, 5);

    app.C_ControlD.Clear();
    app.C_ControlD.AddDevice(2400, 1, 8, mainwindow::kControlDeviceMaster);
    app.C_ControlD.AddDevice(2400, 2, 8, mainwindow::kControlDeviceMaster);
    Make("R47T", false, 1);
    EXPECT_TRUE(bar().SyncCurrentChannel(2));
    EXPECT_EQ(bar().ButtonState(1), 0);
    EXPECT_EQ(bar().ButtonState(0), 1);
    EXPECT_EQ(app.C_ControlD.GetCurrentAddress(), 2);
}

TEST_F(ChannelButtonBarTest, TheChannelRequest) {
    devicesim::DeviceSimulator device;
    ASSERT_TRUE(device.Start());
    fakes::RecordingUiPort ui;
    app.SetUiPort(&ui);
    app.CSettingINI.m_strServerName = "127.0.0.1";
    app.CSettingINI.m_wWebPort = device.Port();
    app.SessionCookie = "5A17C0DE";
    device.Update([](devicesim::DeviceState& state) { state.sessions["5A17C0DE"] = {}; });
    platform::Timing timing;
    timing.commandTimeout = 2000ms;
    Make("R41T", true, 0);
    EXPECT_EQ(bar().SwitchChannel(5, timing), 1);
    auto requests = device.RequestsFor("/SetChannel.cgi");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].target, "/SetChannel.cgi?Cookie=5A17C0DE&CH=5");
    EXPECT_EQ(bar().CurrentChannel(), 0);  // the buttons wait for the pictures
    EXPECT_EQ(bar().SwitchChannel(0, timing), 1);  // the channel shown: nothing sent
    EXPECT_EQ(device.RequestsFor("/SetChannel.cgi").size(), 1u);

    device.AddFault("/SetChannel.cgi", devicesim::Fault::Status(500));
    EXPECT_EQ(bar().SwitchChannel(7, timing), 0);
    EXPECT_TRUE(ui.Contains("msgbox:4064"));
    EXPECT_EQ(bar().CurrentChannel(), 0);
    app.SetUiPort(nullptr);
}

}  // namespace
