// The DVR's own settings pages in the configuration sheet: Apply sends the
// date request, then the record settings, only for the pages the person opened.

#include <QDateEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "config/gui/DVRDatePage.h"
#include "config/gui/DVRRecordPage.h"
#include "config/gui/SheetRun.h"

namespace config {
namespace {

struct DvrSheet : testutil::SheetRun {
    DvrSheet() : SheetRun("R41T", "1058") { Open(); }
    template <class Page>
    Page* OpenPage(SheetPageId id) {
        Page* page = Show<Page>(id);
        EXPECT_TRUE(QTest::qWaitFor([&] { return page && page->PageState() == Page::State::Live; }, 10000));
        return page;
    }
};

TEST(DvrPagesInTheSheet, ApplySendsTheOpenedPagesInOrder) {
    DvrSheet run;
    auto* date = run.OpenPage<DVRDatePage>(SheetPageId::DvrDate);
    run.OpenPage<DVRRecordPage>(SheetPageId::DvrRecord);
    date->findChild<QDateEdit*>("date")->setDate(QDate(2007, 1, 5));
    run.device->ClearRequests();
    run.Apply();
    std::vector<std::string> paths;
    for (const auto& request : run.device->Requests())
        paths.push_back(request.path);
    EXPECT_EQ(paths, (std::vector<std::string>{"/SetDvrDate.cgi", "/SetRecordSetting.cgi"}));
    EXPECT_EQ(devicesim::DeviceProfile::ValueOf(run.device->Profile().dvrDate, "YEAR"), 2007);
}

TEST(DvrPagesInTheSheet, AnOpenedRecordPageSendsOnEveryApplyEvenUnchanged) {
    DvrSheet run;
    run.OpenPage<DVRDatePage>(SheetPageId::DvrDate);
    run.OpenPage<DVRRecordPage>(SheetPageId::DvrRecord);
    run.device->ClearRequests();
    run.Apply();
    EXPECT_TRUE(run.Targets("/SetDvrDate.cgi").empty());
    const auto sent = run.Targets("/SetRecordSetting.cgi");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_NE(sent[0].find("CHMANUALREC=0&"), std::string::npos) << sent[0];
    EXPECT_NE(sent[0].find("CHIPSSHARE=1&RECORDFIX="), std::string::npos) << sent[0];
}

TEST(DvrPagesInTheSheet, PagesNeverOpenedSendNothing) {
    DvrSheet run;
    run.Apply();
    EXPECT_TRUE(run.Targets("/GetDvrDate.cgi").empty());
    EXPECT_TRUE(run.Targets("/SetDvrDate.cgi").empty());
    EXPECT_TRUE(run.Targets("/SetRecordSetting.cgi").empty());
}

}  // namespace
}  // namespace config
