// The record search page, the record list and the playback search offscreen
// against the simulator: the search's pages and its ends, the disks and the
// maximum, the settings Apply stores, the list's filter and pick, and the
// playback search's requests.

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <atomic>

#include "config/gui/ConfigMessageCapture.h"
#include "config/gui/SheetProgressStrip.h"
#include "config/gui/SheetRun.h"
#include "recording/gui/CEventPage.h"
#include "recording/gui/DownloadFilePage.h"
#include "recording/gui/PlaybackSearchDialog.h"
#include "recording/gui/RecordListDialog.h"
#include "recording/gui/RecordingPages.h"
#include "support/ChildWidget.h"
#include "support/TempFolder.h"
#include "support/WaitWithEvents.h"

namespace recording {
namespace {

using testutil::Child;
using testutil::WaitWithEvents;

// `count` entries on the disk, oldest first, their seconds counting up.
void Recorded(devicesim::DeviceProfile& p, int disk, int count, std::uint8_t code = 4) {
    for (int i = 0; i < count; ++i)
        p.recordedEvents[disk].push_back(devicesim::SearchEntry(code, {6, 10, 2, 13, 45, std::uint8_t(i % 60)}));
}

// The sheet of an R41T with the recording pages, the search page shown.
struct SearchSheet : testutil::SheetRun {
    explicit SearchSheet(const std::function<void(devicesim::DeviceProfile&)>& change = {})
        : SheetRun("R41T", nullptr, change) {
        previous = config::SetRecordingPageMaker(&pages);
    }
    ~SearchSheet() {
        sheet.reset();
        config::SetRecordingPageMaker(previous);
    }

    CEventPage* OpenPage() {
        Open();
        page = Show<CEventPage>(config::SheetPageId::Event);
        EXPECT_TRUE(page && WaitWithEvents([&] { return page->DisksRead(); }));
        page->SetRecordListRunner([this](RecordListDialog& list) {
            ++lists;
            rows = list.List()->topLevelItemCount();
            title = list.windowTitle();
            return operate ? operate(list) : 0;
        });
        return page;
    }
    void Search() {
        QTest::mouseClick(Child<QPushButton>(*page, "load"), Qt::LeftButton);
        EXPECT_TRUE(WaitWithEvents([&] { return !page->Searching(); }));
    }
    std::vector<std::string> States() const {
        std::vector<std::string> states;
        for (const auto& request : device->RequestsFor("/GetSearchList.cgi"))
            states.push_back(request.Param("STATE").value_or("?"));
        return states;
    }
    std::vector<QString> DiskItems() const {
        std::vector<QString> items;
        auto* disk = Child<QComboBox>(*page, "disk");
        for (int i = 0; i < disk->count(); ++i)
            items.push_back(disk->itemText(i));
        return items;
    }

    RecordingPages pages{timing};
    config::RecordingPageMaker* previous = nullptr;
    CEventPage* page = nullptr;
    int lists = 0, rows = -1;
    QString title;
    std::function<int(RecordListDialog&)> operate;
    testutil::ConfigMessageCapture messages;
};

TEST(RecordSearch, PagesUntilTheMaximumOrAShortPage) {
    SearchSheet run([](devicesim::DeviceProfile& p) { Recorded(p, 0, 30); });
    run.app.CSettingINI.m_wSearchListMaxNumber = 25;
    run.OpenPage();
    EXPECT_EQ(run.DiskItems(), (std::vector<QString>{"MASTER1"}));
    run.Search();
    EXPECT_EQ(run.States(), (std::vector<std::string>{"LAST", "PREV", "PREV"}));
    EXPECT_EQ(run.device->RequestsFor("/GetSearchList.cgi")[0].target,
              "/GetSearchList.cgi?Cookie=5A17C0DE&STATE=LAST&HDD=0&TYPE=8");
    EXPECT_EQ(run.lists, 1);
    EXPECT_EQ(run.rows, 25);
    EXPECT_EQ(run.title, "Full Record List");
    EXPECT_EQ(run.page->m_arrSearchList.back().bytes[13], 5) << "the rest of the third page dropped";
    EXPECT_FALSE(run.sheet->Progress()->State().active) << "the bar ended";
    EXPECT_EQ(run.sheet->Progress()->State().range, 25u);
    EXPECT_TRUE(run.messages.texts.isEmpty());

    // A second search starts from the newest page again; a page of 7 ends it.
    run.device->UpdateProfile([](devicesim::DeviceProfile& p) { p.recordedEvents[0].resize(17); });
    run.device->ClearRequests();
    Child<QLineEdit>(*run.page, "maxNumber")->clear();
    QTest::keyClicks(Child<QLineEdit>(*run.page, "maxNumber"), "128");
    run.Search();
    EXPECT_EQ(run.States(), (std::vector<std::string>{"LAST", "PREV"}));
    EXPECT_EQ(run.rows, 17);
}

// The maximum takes digits only; emptied, it asks for a number at each
// selector change and search, which go on with the maximum it held before.
TEST(RecordSearch, TheMaximumTakesDigitsOnlyAndAnEmptiedOneAsksForANumber) {
    SearchSheet run([](devicesim::DeviceProfile& p) { Recorded(p, 0, 30); });
    run.app.CSettingINI.m_wSearchListMaxNumber = 12;
    run.OpenPage();
    auto* max = Child<QLineEdit>(*run.page, "maxNumber");
    max->selectAll();
    QTest::keyClicks(max, "x");
    EXPECT_EQ(max->text(), "12") << "a letter is not typed";
    max->selectAll();
    QTest::keyClicks(max, "1a5b");
    EXPECT_EQ(max->text(), "15");
    max->selectAll();
    QTest::keyClick(max, Qt::Key_Delete);
    EXPECT_EQ(max->text(), "");
    EXPECT_TRUE(run.messages.texts.isEmpty()) << "emptying alone asks nothing";

    auto* type = Child<QComboBox>(*run.page, "listType");
    type->setCurrentIndex(3);
    emit type->activated(3);
    EXPECT_EQ(run.messages.texts, QStringList{QString::fromLatin1(kMaxNumberPromptText)});
    EXPECT_EQ(run.page->m_nListType, 3) << "the selector is taken all the same";
    run.messages.texts.clear();
    run.Search();
    EXPECT_EQ(run.messages.texts, QStringList{QString::fromLatin1(kMaxNumberPromptText)});
    EXPECT_EQ(run.States(), (std::vector<std::string>{"LAST", "PREV"}));
    EXPECT_EQ(run.rows, 15) << "the search went on with the maximum before";
    EXPECT_EQ(max->text(), "");
}

TEST(RecordSearch, NoMaximumAFailedPageAndNoDisk) {
    SearchSheet run([](devicesim::DeviceProfile& p) { Recorded(p, 0, 30); });
    run.app.CSettingINI.m_wSearchListMaxNumber = 0;
    run.OpenPage();
    run.Search();
    EXPECT_TRUE(run.States().empty()) << "no request";
    EXPECT_EQ(run.messages.texts, QStringList{session::LoadText(kNoListMessage)});
    EXPECT_FALSE(run.sheet->Progress()->State().active);

    struct Case {
        const char* what;
        devicesim::Fault fault;
    };
    const Case failures[] = {{"status 500", devicesim::Fault::Status(500)},
                             {"a body over the page area", devicesim::Fault::OversizeBody(2049)}};
    for (const Case& c : failures) {
        run.messages.texts.clear();
        Child<QLineEdit>(*run.page, "maxNumber")->clear();
        QTest::keyClicks(Child<QLineEdit>(*run.page, "maxNumber"), "128");
        run.device->AddFaultOnRequest("/GetSearchList.cgi", 2, c.fault);
        run.Search();
        EXPECT_EQ(run.messages.texts, QStringList{session::LoadText(kCommandFailedMessage)}) << c.what;
        EXPECT_EQ(run.lists, 0) << c.what;
        EXPECT_FALSE(run.sheet->Progress()->State().active) << c.what;
    }

    SearchSheet none([](devicesim::DeviceProfile& p) { p.disks.clear(); });
    none.OpenPage();
    EXPECT_FALSE(Child<QComboBox>(*none.page, "disk")->isEnabled());
    none.Search();
    EXPECT_EQ(none.messages.texts, QStringList{session::LoadText(kNoDiskMessage)});
    EXPECT_TRUE(none.States().empty());
}

TEST(RecordSearch, TheStoredDiskTheMaximumAndTheSettingsApplyStores) {
    SearchSheet run([](devicesim::DeviceProfile& p) {
        p.disks = {0, 5};
        Recorded(p, 5, 3);
    });
    run.app.CSettingINI.m_wSearchListHDD = 5;
    run.app.CSettingINI.m_bySearchListType = 3;
    run.app.CSettingINI.m_wSearchListMaxNumber = 7;
    run.OpenPage();
    EXPECT_EQ(run.DiskItems(), (std::vector<QString>{"MASTER1", "EXT-02"}));
    EXPECT_EQ(Child<QComboBox>(*run.page, "disk")->currentText(), "EXT-02");
    EXPECT_EQ(Child<QComboBox>(*run.page, "listType")->currentText(), "ALARM");
    run.Search();
    EXPECT_EQ(run.device->RequestsFor("/GetSearchList.cgi")[0].Param("HDD"), "5");
    EXPECT_EQ(run.device->RequestsFor("/GetSearchList.cgi")[0].Param("TYPE"), "0");

    auto* max = Child<QLineEdit>(*run.page, "maxNumber");
    const std::pair<const char*, const char*> typed[] = {{"00128", "128"}, {"3000", "2048"}, {"7", "7"}};
    for (const auto& [keys, shown] : typed) {
        max->clear();
        QTest::keyClicks(max, keys);
        EXPECT_EQ(max->text(), shown) << keys;
    }
    // The page's own filling and a search changed nothing; typing the same
    // maximum stores it again, untouched selectors store nothing.
    run.Apply();
    EXPECT_EQ(run.app.CSettingINI.m_wSearchListHDD.load(), 5);
    EXPECT_EQ(run.app.CSettingINI.m_bySearchListType.load(), 3);
    EXPECT_EQ(run.app.CSettingINI.m_wSearchListMaxNumber.load(), 7);

    // Opening alone changes nothing; the operator's picks are stored.
    run.OpenPage();
    run.Apply();
    EXPECT_EQ(run.app.CSettingINI.m_wSearchListHDD.load(), 5);
    run.OpenPage();
    auto* disk = Child<QComboBox>(*run.page, "disk");
    disk->setCurrentIndex(0);
    emit disk->activated(0);
    auto* type = Child<QComboBox>(*run.page, "listType");
    type->setCurrentIndex(4);
    emit type->activated(4);
    max = Child<QLineEdit>(*run.page, "maxNumber");
    max->clear();
    QTest::keyClicks(max, "300");
    run.Apply();
    EXPECT_EQ(run.app.CSettingINI.m_wSearchListHDD.load(), 0);
    EXPECT_EQ(run.app.CSettingINI.m_bySearchListType.load(), 4);
    EXPECT_EQ(run.app.CSettingINI.m_wSearchListMaxNumber.load(), 300);
}

TEST(RecordList, FilterPickAndTheBackupPage) {
    SearchSheet run([](devicesim::DeviceProfile& p) {
        p.disks = {0, 5};
        const std::uint8_t codes[] = {17, 48, 4, 32, 240, 77};  // oldest first: the list shows them reversed
        for (std::uint8_t code : codes)
            p.recordedEvents[5].push_back(devicesim::SearchEntry(code, {6, 10, 2, 13, 45, 7}));
    });
    run.app.CSettingINI.m_wSearchListHDD = 5;
    run.app.CSettingINI.m_bySearchListType = 0;
    testutil::TempFolder folder;
    run.app.CSettingINI.m_strNetworkFileDirectory = folder.path().string();
    run.OpenPage();
    PendingSelection().byPending = 1;
    run.OpenPage();
    EXPECT_EQ(PendingSelection().byPending, 0) << "the opening sheet cleared the block";

    std::vector<QString> events, eventsWithoutSystem;
    run.operate = [&](RecordListDialog& list) {
        list.show();
        EXPECT_TRUE(list.TimerBox()->isHidden());
        for (QCheckBox* box : {list.AlarmBox(), list.ManualBox(), list.MotionBox(), list.SystemBox()})
            EXPECT_TRUE(box->isChecked() && box->isEnabled());
        EXPECT_EQ(list.List()->header()->sectionSize(3), 250);
        for (int row = 0; row < list.List()->topLevelItemCount(); ++row)
            events.push_back(list.List()->topLevelItem(row)->text(1));
        QTest::mouseClick(list.SystemBox(), Qt::LeftButton);
        EXPECT_FALSE(list.SystemBox()->isChecked());
        for (int row = 0; row < list.List()->topLevelItemCount(); ++row)
            eventsWithoutSystem.push_back(list.List()->topLevelItem(row)->text(1));

        QTest::mouseClick(list.LoadButton(), Qt::LeftButton);
        EXPECT_EQ(run.messages.texts, QStringList{session::LoadText(kNothingChosenMessage)});
        EXPECT_TRUE(list.isVisible());
        list.List()->setCurrentItem(list.List()->topLevelItem(0));
        EXPECT_EQ(list.List()->topLevelItem(0)->text(2), " 5");
        QTest::mouseClick(list.LoadButton(), Qt::LeftButton);
        EXPECT_FALSE(list.isVisible());
        return list.result();
    };
    run.Search();
    EXPECT_EQ(events, (std::vector<QString>{"", "SYSTEM", "TIMER", "ALARM", "MANUAL", "MOTION"}));
    EXPECT_EQ(eventsWithoutSystem, (std::vector<QString>{"ALARM", "MANUAL", "MOTION"}));
    ASSERT_TRUE(WaitWithEvents(
        [&] { return run.sheet->GetActivePage() == run.sheet->PageFor(config::SheetPageId::Download); }));
    // The backup page takes the pick over once its disk list is in: the alarm's
    // channel, disk position, date and time, and a name for that channel.
    auto* backup = dynamic_cast<DownloadFilePage*>(run.sheet->GetActivePage());
    ASSERT_NE(backup, nullptr);
    ASSERT_TRUE(WaitWithEvents([&] { return !backup->Loading(); }));
    EXPECT_EQ(Child<QLineEdit>(*backup, "channel")->text(), "5");
    EXPECT_EQ(Child<QComboBox>(*backup, "disks")->currentText(), "EXT-02");
    EXPECT_EQ(Child<QDateEdit>(*backup, "date")->text(), "2006 / 10 / 02");
    EXPECT_EQ(Child<QTimeEdit>(*backup, "time")->text(), "13 : 45 : 07");
    EXPECT_EQ(Child<QLineEdit>(*backup, "path")->text().toStdString(), folder.path().string() + "/CH05_0001.dvr");
    EXPECT_EQ(PendingSelection().Bytes(), (std::array<std::uint8_t, 12>{}));
}

TEST(RecordList, ACountWordBeyondTheBodyListsOnlyTheEntriesCarried) {
    SearchSheet run([](devicesim::DeviceProfile& p) {
        Recorded(p, 0, 2);
        p.searchCountWord = 200;
    });
    run.OpenPage();
    run.Search();
    EXPECT_EQ(run.rows, 2);
    EXPECT_EQ(run.States().size(), 1u);
}

TEST(RecordSearch, EndingTheSheetEndsARunningSearch) {
    const std::pair<const char*, std::function<void(SearchSheet&)>> endings[] = {
        {"Exit", [](SearchSheet& run) { QTest::mouseClick(run.sheet->ExitButton(), Qt::LeftButton); }},
        {"the sheet destroyed", [](SearchSheet& run) { run.sheet.reset(); }},
    };
    for (const auto& [what, end] : endings) {
        SearchSheet run([](devicesim::DeviceProfile& p) { Recorded(p, 0, 3); });
        run.OpenPage();
        run.device->AddFault("/GetSearchList.cgi", devicesim::Fault::Silence());
        QTest::mouseClick(Child<QPushButton>(*run.page, "load"), Qt::LeftButton);
        ASSERT_TRUE(WaitWithEvents([&] { return !run.device->RequestsFor("/GetSearchList.cgi").empty(); }));
        end(run);
        // The worker is free again well before the request's own time-out.
        std::atomic<bool> free{false};
        ASSERT_TRUE(run.app.h_DeviceCommandWorker.Post([&](std::stop_token) { free = true; }));
        EXPECT_TRUE(WaitWithEvents([&] { return free.load(); }, 2000)) << what;
        QTest::qWait(50);
        EXPECT_EQ(run.lists, 0) << what;
        EXPECT_TRUE(run.messages.texts.isEmpty()) << what;
    }
}

// The playback search dialog of a device, started.
struct Playback {
    explicit Playback(const char* product, std::vector<int> disks = {0, 1, 5})
        : device(product, nullptr, [&](devicesim::DeviceProfile& p) { p.disks = disks; }) {
        dialog = std::make_unique<PlaybackSearchDialog>(device.app, device.timing);
        dialog->show();
        EXPECT_TRUE(WaitWithEvents([&] { return dialog->Started(); }));
    }
    ~Playback() { dialog.reset(); }

    // Sends with the date and time; the request's query after the cookie.
    std::string Send(QDate date, QTime time = {13, 45, 7}) {
        dialog->DateCtrl()->setDate(date);
        dialog->TimeCtrl()->setTime(time);
        const std::size_t before = device.device->RequestsFor("/SearchPlayBack.cgi").size();
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        EXPECT_TRUE(WaitWithEvents([&] { return !dialog->Sending(); }));
        const auto requests = device.device->RequestsFor("/SearchPlayBack.cgi");
        if (requests.size() != before + 1)
            return "no request";
        const std::string target = requests.back().target;
        const std::string cookie = "/SearchPlayBack.cgi?Cookie=5A17C0DE&";
        return target.rfind(cookie, 0) == 0 ? target.substr(cookie.size()) : target;
    }

    testutil::PageDevice device;
    std::unique_ptr<PlaybackSearchDialog> dialog;
};

QStringList Items(QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

TEST(PlaybackSearch, ListsAndATimeSearchThatStaysOpen) {
    Playback run("R41T");
    ASSERT_TRUE(run.dialog->Ready());
    EXPECT_EQ(Items(run.dialog->DiskCombo()), (QStringList{"ALL", "EXT-02", "MASTER1", "SLAVE1"}));
    EXPECT_EQ(run.dialog->DiskCombo()->currentText(), "ALL");
    EXPECT_EQ(run.dialog->ChannelCombo()->count(), 16);
    EXPECT_EQ(run.dialog->ChannelCombo()->itemText(9), "10");
    EXPECT_EQ(run.dialog->SearchTypeCombo()->currentText(), "EVENT SEARCH");
    EXPECT_EQ(run.dialog->EventTypeCombo()->currentText(), "ALARM");

    run.dialog->SearchTypeCombo()->setCurrentIndex(1);
    EXPECT_EQ(run.dialog->SearchTypeCombo()->currentText(), "TIME SEARCH");
    EXPECT_FALSE(run.dialog->ChannelCombo()->isEnabled());
    EXPECT_EQ(run.Send({2006, 10, 2}), "searchType=time&year=6&month=10&day=2&hour=13&min=45&sec=7&hddNum=ALL");
    EXPECT_TRUE(run.dialog->isVisible());
    EXPECT_EQ(run.Send({1999, 12, 31}).substr(0, 25), "searchType=time&year=-1&m");

    run.dialog->DiskCombo()->setCurrentIndex(1);
    EXPECT_NE(run.Send({2006, 10, 2}).find("&hddNum=5"), std::string::npos);
    EXPECT_TRUE(run.dialog->isVisible());

    // Back to an event search: both selectors again, with their earlier choices.
    run.dialog->SearchTypeCombo()->setCurrentIndex(0);
    EXPECT_TRUE(run.dialog->ChannelCombo()->isEnabled());
    EXPECT_TRUE(run.dialog->EventTypeCombo()->isEnabled());
    EXPECT_EQ(run.dialog->ChannelCombo()->currentText(), "1");
}

TEST(PlaybackSearch, AnEventSearchClosesOnlyWhenTheDeviceTookIt) {
    Playback run("R41T", {0, 2});
    run.dialog->ChannelCombo()->setCurrentIndex(15);
    run.dialog->EventTypeCombo()->setCurrentIndex(1);
    run.dialog->DiskCombo()->setCurrentIndex(2);
    ASSERT_EQ(run.dialog->DiskCombo()->currentText(), "MASTER2");
    run.device.device->AddFault("/SearchPlayBack.cgi", devicesim::Fault::Status(500));
    EXPECT_EQ(run.Send({2006, 10, 2}),
              "searchType=event&channelNum=15&eventType=1&year=6&month=10&day=2&hour=13&min=45&sec=7&hddNum=2");
    EXPECT_TRUE(run.dialog->isVisible()) << "refused: stays open";
    run.Send({2006, 10, 2});
    EXPECT_FALSE(run.dialog->isVisible());
    EXPECT_EQ(run.dialog->result(), QDialog::Accepted);
}

TEST(PlaybackSearch, ChannelsByModelAndAStartThatFailed) {
    const std::pair<const char*, int> models[] = {{"R43T", 4}, {"R42T", 8}};
    for (const auto& [product, channels] : models) {
        Playback run(product);
        EXPECT_EQ(run.dialog->ChannelCombo()->count(), channels) << product;
    }

    Playback server("R47T");
    EXPECT_FALSE(server.dialog->Ready());
    EXPECT_FALSE(server.dialog->OkButton()->isEnabled());
    EXPECT_FALSE(server.dialog->SearchTypeCombo()->isEnabled());
    EXPECT_EQ(server.dialog->ChannelCombo()->count(), 0);

    testutil::PageDevice failing("R41T");
    failing.device->AddFault("/GetDvrHDD.cgi", devicesim::Fault::Status(500));
    PlaybackSearchDialog dialog(failing.app, failing.timing);
    ASSERT_TRUE(WaitWithEvents([&] { return dialog.Started(); }));
    EXPECT_EQ(dialog.DiskCombo()->count(), 0);
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_TRUE(failing.device->RequestsFor("/SearchPlayBack.cgi").empty());
}

}  // namespace
}  // namespace recording
