// The DVR date page offscreen against the simulated DVR: one read on the
// worker when first shown, disabled when it cannot be live, and Apply's
// request only for what the person changed.

#include <QDateEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include "config/ConfigWorkingSet.h"
#include "config/DeviceRequest.h"
#include "config/gui/DvrPageRun.h"
#include "config/gui/DVRDatePage.h"
#include "config/gui/DvrDatePageTemplate.h"
#include "config/gui/IndexedCombo.h"
#include "support/ChildWidget.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"

namespace config {
namespace {

using testutil::Child;

struct DatePageRun : testutil::DvrPageRun<DVRDatePage> {
    using DvrPageRun::DvrPageRun;

    int Send() {
        const auto request = page->ApplyRequest();
        return request ? SendDeviceRequest(app, timing, *request) : -1;
    }
};

void Pick(IndexedCombo* list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
}

TEST(DVRDatePage, StandsWhereItsTemplatePutsItWithNothingCut) {
    DatePageRun run("R43T", "1058");
    ConfigWorkingSet set(run.app);
    testutil::ExpectTemplateGeometry(
        kDvrDatePageTemplate, [&] { return std::make_unique<DVRDatePage>(run.app, set); },
        [](DVRDatePage& page) -> const QWidget& { return *Child<QWidget>(page, "controls"); });
    DVRDatePage& page = run.Open();
    EXPECT_EQ(page.size(), page.TemplateSize());
    testutil::ExpectNothingCut(*Child<QWidget>(page, "controls"), "dvr-date-page");
}

TEST(DVRDatePage, ShowsTheDevicesValuesAndSendsOnlyChanges) {
    DatePageRun run("R43T", "1058");
    {
        ConfigWorkingSet set(run.app);
        DVRDatePage neverShown(run.app, set);
        EXPECT_FALSE(neverShown.ApplyRequest());
    }
    DVRDatePage& page = run.Open();
    ASSERT_EQ(page.PageState(), DVRDatePage::State::Live);
    EXPECT_EQ(run.Targets("/GetDvrDate.cgi").size(), 1u);
    EXPECT_EQ(Child<QDateEdit>(page, "date")->date(), QDate(2006, 3, 14));
    EXPECT_EQ(Child<QDateEdit>(page, "date")->text(), "2006 - Mar - 14");
    EXPECT_EQ(Child<QTimeEdit>(page, "time")->text(), "09 : 26 : 53");
    EXPECT_EQ(Child<QTimeEdit>(page, "end")->text(), "03 : 00");
    EXPECT_EQ(Child<IndexedCombo>(page, "startMonth")->currentText(), "MAR");
    EXPECT_TRUE(Child<QRadioButton>(page, "daylightOff")->isChecked());
    EXPECT_FALSE(page.ApplyRequest());

    Pick(Child<IndexedCombo>(page, "format"), 2);
    EXPECT_EQ(Child<QDateEdit>(page, "date")->text(), "14 - Mar - 2006");
    Child<QDateEdit>(page, "date")->setDate(QDate(2007, 1, 5));
    ASSERT_EQ(run.Send(), 1);
    const auto sent = run.Targets("/SetDvrDate.cgi");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(sent[0].starts_with(
        "/SetDvrDate.cgi?Cookie=5A17C0DE&YEAR=2007&MONTH=1&DAY=5&DAYOFWEEK=5&HOUR=9&MINUTE=26&SECOND=53&"
        "FORMAT=2&DAYLIGHTSAVING=0&CHDATE=1&CHFORMAT=1&CHDAYLIGHT=0&CHDAYLIGHTTIME=0&STARTWEEKINDEX=4&"))
        << sent[0];
    const auto profile = run.device->Profile();
    EXPECT_EQ(devicesim::DeviceProfile::ValueOf(profile.dvrDate, "YEAR"), 2007);
    EXPECT_EQ(devicesim::DeviceProfile::ValueOf(profile.dvrDate, "FORMAT"), 2);
    EXPECT_EQ(devicesim::DeviceProfile::ValueOf(profile.dvrDate, "STARTMONTH"), 2);
}

TEST(DVRDatePage, UnknownListValuesShowNoSelectionAndStay) {
    DatePageRun run("R41T", "1060", [](devicesim::DeviceProfile& profile) {
        for (auto& [key, value] : profile.dvrDate) {
            if (key == "FORMAT")
                value = 3;
            if (key == "STARTWEEKINDEX")
                value = 5;
        }
    });
    DVRDatePage& page = run.Open();
    EXPECT_EQ(Child<IndexedCombo>(page, "format")->currentIndex(), -1);
    EXPECT_EQ(Child<IndexedCombo>(page, "startWeek")->currentIndex(), -1);
    EXPECT_EQ(Child<QDateEdit>(page, "date")->text(), "2006 - Mar - 14");
    Child<QRadioButton>(page, "daylightOn")->click();
    const auto request = page.ApplyRequest();
    ASSERT_TRUE(request);
    const std::string target(request->Text());
    EXPECT_NE(target.find("FORMAT=3&DAYLIGHTSAVING=1&CHDATE=0&CHFORMAT=0&CHDAYLIGHT=1&CHDAYLIGHTTIME=0&"
                          "STARTWEEKINDEX=5&"),
              std::string::npos)
        << target;
}

TEST(DVRDatePage, StaysDisabledWithoutALiveRead) {
    struct Case {
        const char* name;
        const char* firmware;
        std::optional<devicesim::Fault> fault;
        std::size_t reads;
    };
    const devicesim::Fault overLong{"overLong", [](devicesim::Reply& r) { r.body.append(1100, ' '); }};
    const Case cases[] = {
        {"old", "1057", std::nullopt, 0},
        {"refused", "1058", devicesim::Fault::Status(500), 1},
        {"overLong", "1058", overLong, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DatePageRun run("R42T", c.firmware);
        if (c.fault)
            run.device->AddFault("/GetDvrDate.cgi", *c.fault);
        DVRDatePage& page = run.Open();
        EXPECT_EQ(page.PageState(), DVRDatePage::State::Disabled);
        EXPECT_FALSE(Child<QDateEdit>(page, "date")->isEnabled());
        EXPECT_FALSE(Child<QRadioButton>(page, "daylightOn")->isEnabled());
        EXPECT_FALSE(page.ApplyRequest());
        EXPECT_EQ(run.Targets("/GetDvrDate.cgi").size(), c.reads);
    }
}

TEST(DVRDatePage, AReplyLackingAKeyFillsTheRestAndStaysLive) {
    DatePageRun run("R42T", "1058", [](devicesim::DeviceProfile& p) {
        std::erase_if(p.dvrDate, [](const auto& item) { return item.first == "MINUTE"; });
    });
    DVRDatePage& page = run.Open();
    ASSERT_EQ(page.PageState(), DVRDatePage::State::Live);
    EXPECT_TRUE(Child<QDateEdit>(page, "date")->isEnabled());
    EXPECT_EQ(Child<QDateEdit>(page, "date")->date(), QDate(2006, 3, 14));
    EXPECT_EQ(Child<QTimeEdit>(page, "time")->text(), "09 : 00 : 53");  // MINUTE at its start value 0
    EXPECT_EQ(Child<QTimeEdit>(page, "end")->text(), "03 : 00");
    EXPECT_EQ(Child<IndexedCombo>(page, "startMonth")->currentText(), "MAR");
    EXPECT_FALSE(page.ApplyRequest());
}

TEST(DVRDatePage, ASlowReadLeavesTheGuiRunning) {
    DatePageRun run("R41T", "1058");
    run.device->AddFault("/GetDvrDate.cgi", devicesim::Fault::Delay(std::chrono::milliseconds(2000)));
    ConfigWorkingSet set(run.app);
    DVRDatePage page(run.app, set, run.timing);
    page.show();
    EXPECT_EQ(page.PageState(), DVRDatePage::State::Reading);
    EXPECT_FALSE(Child<QDateEdit>(page, "date")->isEnabled());
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(50);
    ASSERT_TRUE(QTest::qWaitFor([&] { return page.PageState() == DVRDatePage::State::Live; }, 10000));
    EXPECT_GT(ticks, 0);  // the event loop ran while the device was slow
    EXPECT_TRUE(Child<QDateEdit>(page, "date")->isEnabled());
    page.hide();
    page.show();
    EXPECT_EQ(run.Targets("/GetDvrDate.cgi").size(), 1u);
}

}  // namespace
}  // namespace config
