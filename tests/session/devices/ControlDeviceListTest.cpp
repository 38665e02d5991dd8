#include "session/devices/ControlDeviceList.h"

#include <gtest/gtest.h>

#include "fakes/RecordingUiPort.h"
#include "session/files/SettingsFile.h"

namespace {

using namespace mainwindow;

constexpr std::uint16_t M = kControlDeviceMaster;
constexpr std::uint16_t S = kControlDeviceSlave;

class ControlDeviceListTest : public ::testing::Test {
protected:
    session::CSettingINI settings;
    fakes::RecordingUiPort ui;
    ControlDeviceList list{settings, [this]() -> session::UiPort& { return ui; }};

    // Adds rows of (type, kind), addresses 1, 2, 3, ... in order.
    void Add(std::initializer_list<std::pair<std::uint8_t, std::uint16_t>> rows) {
        std::uint8_t address = 1;
        for (const auto& [type, kind] : rows)
            ASSERT_EQ(list.AddDevice(2400, address++, type, kind), 0);
    }
};

TEST_F(ControlDeviceListTest, ThirtyFirstDeviceIsRefusedAndChangesNothing) {
    for (int i = 0; i < 30; ++i)
        ASSERT_EQ(list.AddDevice(2400, static_cast<std::uint8_t>(i), kTypePtzSlave, S), 0);
    ASSERT_EQ(list.MakeCurrent(S, 3), 0);
    const auto before = list.Snapshot();
    EXPECT_EQ(before.m_byCount, 30);
    EXPECT_EQ(list.AddDevice(2400, 99, kTypePtz, M), -1);
    EXPECT_EQ(list.Snapshot(), before);
}

TEST_F(ControlDeviceListTest, AddDeviceMarksTheRowValidAndLeavesTheSelection) {
    Add({{kTypePtz, M}});
    ASSERT_EQ(list.MakeCurrent(M, 0), 0);
    Add({{kTypePtzSlave, S}});
    const auto state = list.Snapshot();
    EXPECT_EQ(state.entries[1], (ControlDeviceEntry{2400, 1, kTypePtzSlave, S | kControlDeviceValid}));
    EXPECT_EQ(state.m_byCurrent, 0);
    EXPECT_EQ(state.m_byCount, 2);
}

TEST_F(ControlDeviceListTest, EmptyListGettersYieldZero) {
    EXPECT_EQ(list.GetCurrentType(), 0);
    EXPECT_EQ(list.GetCurrentAddress(), 0);
    EXPECT_EQ(list.GetLastMasterType(), 0);
    EXPECT_EQ(list.GetLastSlaveAddress(), 0);
    EXPECT_EQ(list.GetMasterType(0), 0);
    EXPECT_EQ(list.GetSlaveType(0), 0);
    EXPECT_FALSE(list.IsCurrentMaster());
    EXPECT_EQ(list.GetCurrentOrdinal(), 0);
    EXPECT_FALSE(list.HasLinkedDvr());
    EXPECT_EQ(list.MakeCurrent(M | S, 0), -1);
}

TEST_F(ControlDeviceListTest, MakeCurrentChoosesTheNthRowOfTheKindInTableOrder) {
    // rows: master, slave, master, slave, master
    Add({{kTypePtz, M}, {kTypePtzSlave, S}, {kTypeKlt316Dvr, M}, {kTypePtzPelco, S}, {kTypePtzPelcoD, M}});

    ASSERT_EQ(list.MakeCurrent(M, 2), 0);
    EXPECT_EQ(list.GetCurrentType(), kTypePtzPelcoD);
    EXPECT_EQ(list.GetCurrentAddress(), 5);
    EXPECT_TRUE(list.IsCurrentMaster());
    EXPECT_EQ(list.GetCurrentOrdinal(), 2);

    ASSERT_EQ(list.MakeCurrent(S, 1), 0);
    auto state = list.Snapshot();
    EXPECT_EQ(state.m_byCurrent, 3);
    EXPECT_EQ(state.m_byPrevious, 4);
    EXPECT_EQ(state.m_byLastMaster, 4);
    EXPECT_EQ(state.m_byLastSlave, 3);
    EXPECT_FALSE(list.IsCurrentMaster());
    EXPECT_EQ(list.GetCurrentOrdinal(), 1);
    EXPECT_EQ(list.GetLastMasterType(), kTypePtzPelcoD);
    EXPECT_EQ(list.GetLastSlaveAddress(), 4);

    // Either kind: the n-th of all valid rows.
    ASSERT_EQ(list.MakeCurrent(M | S, 1), 0);
    EXPECT_EQ(list.Snapshot().m_byCurrent, 1);
}

TEST_F(ControlDeviceListTest, MakeCurrentPastTheLastOfTheKindKeepsTheSelection) {
    Add({{kTypePtz, M}, {kTypePtz, M}, {kTypePtz, M}});
    ASSERT_EQ(list.MakeCurrent(M, 1), 0);
    const auto before = list.Snapshot();
    EXPECT_EQ(list.MakeCurrent(M, 5), -1);
    EXPECT_EQ(list.MakeCurrent(S, 0), -1);
    EXPECT_EQ(list.Snapshot(), before);
}

TEST_F(ControlDeviceListTest, MakeCurrentOfTheCurrentRowKeepsThePreviousRow) {
    Add({{kTypePtzSlave, S}, {kTypePtz, M}});
    ASSERT_EQ(list.MakeCurrent(M, 0), 0);
    ASSERT_EQ(list.MakeCurrent(M, 0), 0);
    const auto state = list.Snapshot();
    EXPECT_EQ(state.m_byCurrent, 1);
    EXPECT_EQ(state.m_byPrevious, 0) << "the repeated choice does not overwrite the previous row";
    EXPECT_EQ(state.m_byLastMaster, 1);
}

TEST_F(ControlDeviceListTest, CompactWithASlaveCurrentKeepsTheMastersAndSelectsRowZero) {
    Add({{kTypePtzSlave, S}, {kTypePtz, M}, {kTypePtzSlave, S}, {kTypeKlt318Dvr, M}});
    ASSERT_EQ(list.MakeCurrent(S, 1), 0);
    list.SetRetrState(1);
    list.Compact();
    const auto state = list.Snapshot();
    EXPECT_EQ(state.m_byCount, 2);
    EXPECT_EQ(state.entries[0].byType, kTypePtz);
    EXPECT_EQ(state.entries[1].byType, kTypeKlt318Dvr);
    EXPECT_EQ(state.entries[2], ControlDeviceEntry{});
    EXPECT_EQ(state.m_byCurrent, 0);
    EXPECT_EQ(state.m_byPrevious, 0);
    EXPECT_EQ(state.m_byLastMaster, 0);
    EXPECT_EQ(state.m_byLastSlave, 0);
    EXPECT_EQ(state.m_byRetrState, 1);
}

TEST_F(ControlDeviceListTest, CompactWithTheThirdMasterCurrentSelectsNewRowTwo) {
    Add({{kTypePtz, M}, {kTypePtzSlave, S}, {kTypePtz, M}, {kTypePtzSlave, S}, {kTypePtzPelcoD, M}});
    ASSERT_EQ(list.MakeCurrent(S, 0), 0);
    ASSERT_EQ(list.MakeCurrent(M, 2), 0);
    list.Compact();
    const auto state = list.Snapshot();
    EXPECT_EQ(state.m_byCount, 3);
    EXPECT_EQ(state.m_byCurrent, 2);
    EXPECT_EQ(state.m_byLastMaster, 2);
    EXPECT_EQ(state.m_byPrevious, 0);
    EXPECT_EQ(list.GetCurrentType(), kTypePtzPelcoD);
    EXPECT_EQ(list.GetCurrentAddress(), 5);
}

TEST_F(ControlDeviceListTest, SetSlaveRewritesTheNthSlaveOnly) {
    Add({{kTypePtz, M}, {kTypePtzSlave, S}, {kTypePtzSlave, S}});
    EXPECT_EQ(list.SetSlave(1, kTypePtzPelco, 7), 1);
    EXPECT_EQ(list.SetSlave(5, kTypePtzPelco, 9), 1);
    const auto state = list.Snapshot();
    EXPECT_EQ(state.entries[1].byType, kTypePtzSlave);
    EXPECT_EQ(state.entries[2].byType, kTypePtzPelco);
    EXPECT_EQ(state.entries[2].byAddress, 7);
    EXPECT_EQ(list.GetSlaveType(1), kTypePtzPelco);
    EXPECT_EQ(list.GetMasterType(0), kTypePtz);
    EXPECT_EQ(list.GetMasterType(1), 0);
}

TEST_F(ControlDeviceListTest, LinkedDvrIsAValidMasterOfType19Or22Or23) {
    struct Case {
        std::uint8_t type;
        std::uint16_t kind;
        bool linked;
    };
    const Case cases[] = {
        {kTypeKlt316Dvr, M, true},  {kTypeKlt318Dvr, M, true}, {kTypeKlt324Dvr, M, true},
        {kTypeKlt316Dvr, S, false}, {kTypePtz, M, false},      {24, M, false},
    };
    for (const auto& c : cases) {
        list.Clear();
        Add({{kTypePtz, S}, {c.type, c.kind}});
        EXPECT_EQ(list.HasLinkedDvr(), c.linked) << int(c.type) << " kind " << c.kind;
    }
}

TEST_F(ControlDeviceListTest, RetrStateDrivesTheAlarmSettingsAndTheButton) {
    settings.m_byRetrAlarmRecord = 1;
    settings.m_byAlarmAutoSwitchVideo = 0;

    list.SetRetrState(1);
    EXPECT_EQ(settings.m_byAlarmTriggerRecord, 0) << "follows the state held before the report";
    EXPECT_EQ(settings.m_byAlarmAutoSwitchVideo, 1);
    EXPECT_EQ(list.GetRetrState(), 1);

    list.SetRetrState(1);
    EXPECT_EQ(settings.m_byAlarmTriggerRecord, 1);

    settings.m_byAlarmAutoSwitchVideo = 0;
    list.SetRetrState(0);
    EXPECT_EQ(settings.m_byAlarmTriggerRecord, 1);
    EXPECT_EQ(settings.m_byAlarmAutoSwitchVideo, 0) << "turning off leaves it";
    EXPECT_EQ(list.GetRetrState(), 0);

    list.SetRetrState(0);
    EXPECT_EQ(settings.m_byAlarmTriggerRecord, 0);

    // The button changes only when the state does.
    EXPECT_EQ(ui.Calls(), (std::vector<std::string>{"buttonimage:8331,1,R.E.T.R.(Załączony)",
                                                    "buttonimage:8331,0,R.E.T.R.(Wyłączony)"}));
}

TEST_F(ControlDeviceListTest, RetrAlarmRecordOffKeepsAlarmTriggerRecordOff) {
    settings.m_byRetrAlarmRecord = 0;
    list.SetRetrState(2);
    list.SetRetrState(2);
    EXPECT_EQ(settings.m_byAlarmTriggerRecord, 0);
}

TEST(LinkedDeviceTypeTest, CodesEqualRowsAndOnlyTheCameraHasNoPanel) {
    for (std::size_t i = 0; i < kLinkedDeviceTypes.size(); ++i) {
        EXPECT_EQ(kLinkedDeviceTypes[i].dwCode, i);
        EXPECT_EQ((kLinkedDeviceTypes[i].dwFlags & kLinkedTypeNoPanel) != 0, i == kTypeCamera) << i;
    }
    EXPECT_EQ(kLinkedDeviceTypes[kTypePtzPelcoD].pszName, "PTZ PELCO D");
    EXPECT_EQ(kLinkedDeviceTypes[kTypeKlt324Dvr].pszName, "KLT 324 DVR");
}

}  // namespace
