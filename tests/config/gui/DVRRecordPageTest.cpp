// The DVR record settings page offscreen against the simulated DVR: the rate
// lists by channels, standard and mode, the mode handlers, and Apply's request.

#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "config/ConfigWorkingSet.h"
#include "config/DeviceRequest.h"
#include "config/gui/DvrPageRun.h"
#include "config/gui/DVRRecordPage.h"
#include "config/gui/DvrRecordPageTemplate.h"
#include "config/gui/IndexedCombo.h"
#include "support/ChildWidget.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"

namespace config {
namespace {

using testutil::Child;
using Values = devicesim::DeviceProfile::KeyValues;

struct RecordPageRun : testutil::DvrPageRun<DVRRecordPage> {
    RecordPageRun(const char* product, const char* firmware, const Values& changes = {})
        : DvrPageRun(product, firmware, [&](devicesim::DeviceProfile& p) {
              for (const auto& [key, value] : changes)
                  for (auto& item : p.recordSetting)
                      if (item.first == key)
                          item.second = value;
          }) {}
    std::string Request() const {
        const auto request = page->ApplyRequest();
        return request ? std::string(request->Text()) : "(none)";
    }
};

QStringList Items(IndexedCombo* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

TEST(DVRRecordPage, StandsWhereItsTemplatePutsItWithNothingCut) {
    RecordPageRun run("R41T", "1058");
    ConfigWorkingSet set(run.app);
    testutil::ExpectTemplateGeometry(
        kDvrRecordPageTemplate, [&] { return std::make_unique<DVRRecordPage>(run.app, set); },
        [](DVRRecordPage& page) -> const QWidget& { return *Child<QWidget>(page, "controls"); });
    DVRRecordPage& page = run.Open();
    EXPECT_EQ(page.size(), page.TemplateSize());
    testutil::ExpectNothingCut(*Child<QWidget>(page, "controls"), "dvr-record-page");
}

TEST(DVRRecordPage, EachPairChoosesOnItsOwn) {
    RecordPageRun run("R41T", "1058");
    DVRRecordPage& page = run.Open();
    for (const char* name : {"manualOn", "eventOn", "timerOn", "overwriteOn", "cif", "fixed"})
        Child<QRadioButton>(page, name)->click();
    for (const char* name : {"manualOn", "eventOn", "timerOn", "overwriteOn", "cif", "fixed"})
        EXPECT_TRUE(Child<QRadioButton>(page, name)->isChecked()) << name;
    Child<QRadioButton>(page, "eventOff")->click();
    EXPECT_TRUE(Child<QRadioButton>(page, "manualOn")->isChecked());
    EXPECT_FALSE(Child<QRadioButton>(page, "eventOn")->isChecked());
}

TEST(DVRRecordPage, UntouchedPageSendsEveryFlagAtZero) {
    RecordPageRun run("R41T", "1058");
    {
        ConfigWorkingSet set(run.app);
        DVRRecordPage neverShown(run.app, set);
        EXPECT_FALSE(neverShown.ApplyRequest());
    }
    DVRRecordPage& page = run.Open();
    ASSERT_EQ(page.PageState(), DVRRecordPage::State::Live);
    EXPECT_EQ(run.Request(),
              "/SetRecordSetting.cgi?Cookie=5A17C0DE&CHMANUALREC=0&CHEVENTREC=0&CHTIMERREC=0&CHOV=0&CHQT=0&"
              "CHRECMODE=0&CHMOTIONRATE=0&CHMANUALRATE=0&CHTIMERRATE=0&CHIPSSHARE=1&RECORDFIX=1");
    EXPECT_TRUE(Child<QRadioButton>(page, "manualOn")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(page, "timerOff")->isChecked());
    EXPECT_EQ(Child<IndexedCombo>(page, "quality")->currentText(), "HIGH");
    QStringList rateLabels;
    for (const QLabel* label : page.findChildren<QLabel*>())
        if (label->text().startsWith("KL/SEK"))
            rateLabels << label->text();
    rateLabels.sort();
    EXPECT_EQ(rateLabels, (QStringList{"KL/SEK :", "KL/SEK :", "KL/SEK:"}));  // the schedule's without a blank
}

TEST(DVRRecordPage, FrameToCifRebuildsTheRatesAndForcesTheFixedRate) {
    RecordPageRun run("R42T", "1058", {{"RECORDFIX", 0}, {"TIMERRATETYPE", 0}});
    DVRRecordPage& page = run.Open();
    EXPECT_EQ(Items(Child<IndexedCombo>(page, "manualRate")), QStringList({"50", "25", "12", "6"}));
    Child<QRadioButton>(page, "cif")->click();
    EXPECT_EQ(Items(Child<IndexedCombo>(page, "eventRate")), QStringList({"200", "100", "50", "25"}));
    EXPECT_EQ(Child<IndexedCombo>(page, "eventRate")->currentIndex(), 0);
    EXPECT_TRUE(Child<QRadioButton>(page, "fixed")->isChecked());
    EXPECT_FALSE(Child<QRadioButton>(page, "grouped")->isEnabled());
    EXPECT_EQ(run.Request(),
              "/SetRecordSetting.cgi?Cookie=5A17C0DE&CHMANUALREC=0&CHEVENTREC=0&CHTIMERREC=0&CHOV=0&CHQT=0&"
              "CHRECMODE=1&RECMODE=2&CHMOTIONRATE=1&MOTIONRATETYPE=0&CHMANUALRATE=1&MANUALRATETYPE=0&"
              "CHTIMERRATE=0&CHIPSSHARE=1&RECORDFIX=1");
    Child<QRadioButton>(page, "frame")->click();
    EXPECT_TRUE(Child<QRadioButton>(page, "grouped")->isEnabled());

    ASSERT_EQ(SendDeviceRequest(run.app, run.timing, *page.ApplyRequest()), 1);
    const auto profile = run.device->Profile();
    EXPECT_EQ(devicesim::DeviceProfile::ValueOf(profile.recordSetting, "RECMODE"), 0);
    EXPECT_EQ(devicesim::DeviceProfile::ValueOf(profile.recordSetting, "MANUALRATETYPE"), 0);
    EXPECT_EQ(devicesim::DeviceProfile::ValueOf(profile.recordSetting, "RECORDFIX"), 1);
}

TEST(DVRRecordPage, RateListsByChannelsStandardAndMode) {
    struct Case {
        const char* product;
        int videoType, mode;
        QStringList rates;
    };
    const Case cases[] = {
        {"R41T", 1, 1, {"200", "100", "50", "25"}},
        {"R43T", 1, 0, {"25", "12", "6", "3"}},
        {"R41T", 0, 2, {"480", "240", "120", "60"}},
    };
    for (const Case& c : cases) {
        RecordPageRun run(c.product, "1058", {{"VIDEOTYPE", c.videoType}, {"RECMODE", c.mode}});
        DVRRecordPage& page = run.Open();
        EXPECT_EQ(Items(Child<IndexedCombo>(page, "timerRate")), c.rates) << c.product;
    }
}

TEST(DVRRecordPage, SupportedModesAndTheFixedChoice) {
    RecordPageRun run("R41T", "1058", {{"SUPPORTMODE", 5}, {"SUPPORTIPSSHARE", 2}});
    DVRRecordPage& page = run.Open();
    EXPECT_FALSE(Child<QRadioButton>(page, "frame")->isHidden());
    EXPECT_TRUE(Child<QRadioButton>(page, "field")->isHidden());
    EXPECT_FALSE(Child<QRadioButton>(page, "cif")->isHidden());
    EXPECT_FALSE(Child<QRadioButton>(page, "fixed")->isEnabled());
    EXPECT_FALSE(Child<QRadioButton>(page, "grouped")->isEnabled());
}

TEST(DVRRecordPage, ValuesWithoutAnItemStayUnchanged) {
    RecordPageRun run("R41T", "1058", {{"QUALITY", 12}, {"MANUALRATETYPE", 4}});
    DVRRecordPage& page = run.Open();
    EXPECT_EQ(Child<IndexedCombo>(page, "quality")->currentIndex(), -1);
    EXPECT_EQ(Child<IndexedCombo>(page, "manualRate")->currentIndex(), -1);
    EXPECT_NE(run.Request().find("CHQT=0&CHRECMODE=0&CHMOTIONRATE=0&CHMANUALRATE=0&"), std::string::npos);

    RecordPageRun noRow("R41T", "1058", {{"VIDEOTYPE", 2}});
    DVRRecordPage& noRowPage = noRow.Open();
    EXPECT_EQ(Child<IndexedCombo>(noRowPage, "eventRate")->count(), 0);
    EXPECT_FALSE(Child<IndexedCombo>(noRowPage, "eventRate")->isEnabled());
    Child<QRadioButton>(noRowPage, "field")->click();
    EXPECT_NE(noRow.Request().find("CHRECMODE=1&RECMODE=1&CHMOTIONRATE=0&CHMANUALRATE=0&CHTIMERRATE=0&"),
              std::string::npos);
}

TEST(DVRRecordPage, StaysDisabledWithoutALiveRead) {
    RecordPageRun reordered("R41T", "1058");
    reordered.device->UpdateProfile([](devicesim::DeviceProfile& p) {
        std::swap(p.recordSetting[0], p.recordSetting[5]);  // MANUALRATETYPE before MANUAL
        for (auto& item : p.recordSetting)
            if (item.first == "MANUAL")
                item.second = 0;
    });
    EXPECT_TRUE(Child<QRadioButton>(reordered.Open(), "manualOff")->isChecked());

    struct Case {
        const char* name;
        const char* firmware;
        bool refuse;
    };
    for (const Case& c : {Case{"old", "1057", false}, Case{"refused", "1058", true}}) {
        SCOPED_TRACE(c.name);
        RecordPageRun run("R43T", c.firmware);
        if (c.refuse)
            run.device->AddFault("/GetRecordSetting.cgi", devicesim::Fault::Status(500));
        DVRRecordPage& page = run.Open();
        EXPECT_EQ(page.PageState(), DVRRecordPage::State::Disabled);
        EXPECT_FALSE(Child<QRadioButton>(page, "cif")->isEnabled());
        EXPECT_FALSE(page.ApplyRequest());
    }
}

TEST(DVRRecordPage, AReplyLackingKeysStaysLiveAndLeavesTheirSettings) {
    // Without RECMODE the mode reads 0 (frame); without RECORDFIX the fixed/grouped
    // group goes with its flag at 0, so the device keeps what it has.
    RecordPageRun run("R43T", "1058");
    run.device->UpdateProfile([](devicesim::DeviceProfile& p) {
        std::erase_if(p.recordSetting,
                      [](const auto& item) { return item.first == "RECMODE" || item.first == "RECORDFIX"; });
    });
    DVRRecordPage& page = run.Open();
    ASSERT_EQ(page.PageState(), DVRRecordPage::State::Live);
    EXPECT_TRUE(Child<QRadioButton>(page, "frame")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(page, "cif")->isEnabled());
    EXPECT_EQ(run.Request(),
              "/SetRecordSetting.cgi?Cookie=5A17C0DE&CHMANUALREC=0&CHEVENTREC=0&CHTIMERREC=0&CHOV=0&CHQT=0&"
              "CHRECMODE=0&CHMOTIONRATE=0&CHMANUALRATE=0&CHTIMERRATE=0&CHIPSSHARE=0&RECORDFIX=0");
}

}  // namespace
}  // namespace config
