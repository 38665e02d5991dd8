// The tool box page offscreen: what it shows by family and firmware, its
// send routine, the event-log fetch from the button with its cancel, and the
// viewers' filters and clear.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <optional>

#include "config/PageDevice.h"
#include "config/gui/DeviceLogDialog.h"
#include "config/gui/ToolBoxPageTemplate.h"
#include "config/gui/ToolBoxPropertyPage.h"
#include "config/gui/DeviceLogDialogTemplates.h"
#include "gui/StringText.h"
#include "support/ChildWidget.h"
#include "support/ModalWatchers.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"

namespace config {
namespace {

using testutil::Child;

class CapturingToolBox : public ToolBoxPropertyPage {
public:
    using ToolBoxPropertyPage::ToolBoxPropertyPage;
    std::optional<std::vector<DeviceLogRecord>> shown;

protected:
    void ShowLog(std::vector<DeviceLogRecord> records) override { shown = std::move(records); }
};

class AnsweredServerLog : public ServerLogDialog {
public:
    using ServerLogDialog::ServerLogDialog;
    bool answer = false;

protected:
    bool ConfirmClear() override { return answer; }
};

// The dialog's own question, answered by a test.
class AskingServerLog : public ServerLogDialog {
public:
    using ServerLogDialog::ServerLogDialog;
    bool Ask() { return ServerLogDialog::ConfirmClear(); }
};

std::vector<devicesim::Bytes> PowerOnLog(int records) {
    std::vector<devicesim::Bytes> log;
    for (int i = 0; i < records; ++i)
        log.push_back(devicesim::LogRecord(i % 3 ? 0x4 : 0x1, i, 0x02));
    return log;
}

TEST(ToolBoxPage, WhatItShowsByFamilyAndFirmware) {
    testutil::PageDevice old("R47T", "1006");
    old.app.sz_MACAddress = "0012A5C0FFEE";
    old.app.by_TurboRepeatStep = 31;
    auto oldSet = old.OpenSet();
    ToolBoxPropertyPage oldPage(old.app, *oldSet, old.timing);
    oldPage.show();
    EXPECT_TRUE(Child<QPushButton>(oldPage, "events")->isHidden());
    EXPECT_TRUE(Child<QLineEdit>(oldPage, "channel1")->isHidden());
    EXPECT_EQ(Child<QLabel>(oldPage, "version")->text(), "1.0.0.6");
    EXPECT_EQ(Child<QLabel>(oldPage, "mac")->text(), "00:12:A5:C0:FF:EE");
    EXPECT_EQ(Child<QComboBox>(oldPage, "turbo")->currentIndex(), -1);
    SheetPageValues values;
    oldPage.ContributeValues(values);
    EXPECT_FALSE(values.turboIndex);

    testutil::PageDevice g66m("G66M", "1010");
    auto set = g66m.OpenSet();
    ToolBoxPropertyPage page(g66m.app, *set, g66m.timing);
    page.show();
    EXPECT_TRUE(Child<QLineEdit>(page, "description")->isHidden());
    EXPECT_FALSE(Child<QPushButton>(page, "events")->isHidden());
    EXPECT_EQ(Child<QPushButton>(page, "events")->text(), QString::fromUtf8("Pamięć serwera"));
}

TEST(ToolBoxPage, StandsWhereItsTemplatePutsItWithNothingCut) {
    testutil::PageDevice device("G66M", "1010");
    device.app.sz_MACAddress = "0012A5C0FFEE";
    auto set = device.OpenSet();
    testutil::ExpectTemplateGeometry(kToolBoxPageTemplate, [&] {
        return std::make_unique<ToolBoxPropertyPage>(device.app, *set, device.timing);
    });
    ToolBoxPropertyPage page(device.app, *set, device.timing);
    page.show();
    testutil::ExpectNothingCut(page, "toolbox-page");
    // A click at the button's template place lands on it.
    const QRect place = gui::TemplateUnits(kToolBoxPageTemplate).Rect(kToolBoxPageTemplate.Find(1068)->rect);
    EXPECT_EQ(page.childAt(place.center()), Child<QPushButton>(page, "events"));
}

TEST(ToolBoxPage, ADescriptionGoesIntoBlock7) {
    testutil::PageDevice run("R47T", "1010");
    const auto before = run.DeviceBlock(7);
    auto set = run.OpenSet();
    ToolBoxPropertyPage page(run.app, *set, run.timing);
    page.show();
    auto* description = Child<QLineEdit>(page, "description");
    description->clear();
    QTest::keyClicks(description, "KAM1");
    ApplyRoutines routines;
    page.PullControls();
    page.AddSendRoutines(routines);
    ApplyContext context(run.app, *set, run.timing, {}, [](unsigned, const std::string&) {});
    EXPECT_EQ(routines[static_cast<std::size_t>(ApplyRoutine::ToolBox)](context), 1);
    const auto stores = run.Stores();
    ASSERT_EQ(stores.size(), 1u);
    EXPECT_EQ(stores[0].Param("Option"), "SYSTEM");
    auto expected = before;
    std::fill(expected.begin() + 20, expected.begin() + 36, 0);
    std::copy_n("KAM1", 4, expected.begin() + 20);
    EXPECT_EQ(run.DeviceBlock(7), expected);
    EXPECT_EQ(run.app.str_DeviceName.Get(), "KAM1");
}

TEST(ToolBoxPage, TheButtonFetchesAndCancels) {
    testutil::PageDevice run("R47T", "1010", [](devicesim::DeviceProfile& p) { p.log = PowerOnLog(45); });
    auto set = run.OpenSet();
    CapturingToolBox page(run.app, *set, run.timing);
    page.show();
    auto* button = Child<QPushButton>(page, "events");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(button->text(), "Anuluj");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !page.Fetching(); }, 10000));
    ASSERT_TRUE(page.shown);
    EXPECT_EQ(page.shown->size(), 45u);
    EXPECT_EQ(button->text(), QString::fromUtf8("Pamięć serwera"));

    page.shown.reset();
    run.device->AddFaultOnRequest("/Getlog.cgi", 2, devicesim::Fault::Silence());
    run.device->ClearRequests();
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_TRUE(run.device->WaitForRequests(2, std::chrono::seconds(5)));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(page.Fetching());
    EXPECT_EQ(button->text(), QString::fromUtf8("Pamięć serwera"));
    QTest::qWait(50);
    EXPECT_FALSE(page.shown);
}

TEST(LogViewers, StandWhereTheirTemplatesPutThemWithNothingCut) {
    testutil::ExpectTemplateGeometry(kDvrLogDialogTemplate,
                                     [] { return std::make_unique<DvrLogDialog>(std::vector<DeviceLogRecord>{}); });
    session::AppData app;
    testutil::ExpectTemplateGeometry(kServerLogDialogTemplate, [&] {
        return std::make_unique<ServerLogDialog>(app, std::vector<DeviceLogRecord>{});
    });
    DvrLogDialog dvr({});
    ServerLogDialog server(app, {});
    for (const auto& [dialog, name] : {std::pair<QDialog*, const char*>{&dvr, "dvr-log-dialog"}, {&server, "server-log-dialog"}}) {
        dialog->show();
        testutil::ExpectNothingCut(*dialog, name);
    }
}

TEST(LogViewers, FiltersRenumberAndClearAsksFirst) {
    std::vector<DeviceLogRecord> records;
    for (const auto& bytes : PowerOnLog(6))
        records.push_back(DeviceLogRecord::Parse(std::span<const std::uint8_t, 32>(bytes.data(), 32)));
    DvrLogDialog dvr(records);
    EXPECT_EQ(dvr.List()->topLevelItemCount(), 6);
    Child<QCheckBox>(dvr, "1442")->click();  // "ZASILANIE"
    ASSERT_EQ(dvr.List()->topLevelItemCount(), 4);
    EXPECT_EQ(dvr.List()->topLevelItem(0)->text(0), " 1");
    EXPECT_EQ(dvr.List()->topLevelItem(0)->text(1), "HDD FULL");

    testutil::PageDevice run("R47T", "1010", [](devicesim::DeviceProfile& p) { p.log = PowerOnLog(6); });
    AnsweredServerLog server(run.app, records);
    EXPECT_EQ(server.List()->topLevelItem(1)->text(1), "ALARM (2)");
    server.show();
    server.OnClearHistory();
    QTest::qWait(50);
    EXPECT_TRUE(run.Targets("/ClearLog.cgi").empty());
    server.answer = true;
    server.OnClearHistory();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !server.isVisible(); }, 10000));
    EXPECT_EQ(run.Targets("/ClearLog.cgi"), std::vector<std::string>{"/ClearLog.cgi?Cookie=5A17C0DE"});
    EXPECT_TRUE(run.device->Profile().log.empty());

    // The question itself: 4117 with the stop icon, Yes and No.
    AskingServerLog asking(run.app, records);
    testutil::ModalWatchers watchers;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
    watchers.Add<QMessageBox>([&](QMessageBox& box) {
        icon = box.icon();
        text = box.text();
        box.button(QMessageBox::Yes)->click();
        return true;
    });
    EXPECT_TRUE(asking.Ask());
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(text, session::LoadText(4117));
}

}  // namespace
}  // namespace config
