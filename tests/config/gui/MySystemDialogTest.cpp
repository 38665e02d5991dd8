// The configuration sheet against the simulator, offscreen, with fake pages
// whose send routines change blocks: pages and buttons per family, Apply's
// order and family conditions, failed stores, the PPPoE check, closing in the
// middle of Apply, and restart.

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "config/gui/ConfigMessageCapture.h"
#include "config/gui/MySystemDialog.h"
#include "config/gui/PlaceholderPage.h"
#include "config/gui/SheetPages.h"
#include "fakes/RecordingUiPort.h"
#include "gui/StringText.h"
#include "session/AppData.h"
#include "simulator/DeviceSimulator.h"
#include "support/WaitUntil.h"

namespace config {
namespace {

constexpr const char* kCookie = "5A17C0DE";

// A fake page: it reports the values it is given and installs the routines it is given.
class FakePage : public PlaceholderPage {
public:
    using PlaceholderPage::PlaceholderPage;
    SheetPageValues values;
    std::vector<std::pair<ApplyRoutine, SendRoutine>> routines;

    void ContributeValues(SheetPageValues& out) const override {
        if (values.networkType)
            out.networkType = values.networkType;
    }
    void AddSendRoutines(ApplyRoutines& table) override {
        for (auto& [slot, routine] : routines)
            table[static_cast<std::size_t>(slot)] = routine;
    }
};

// A routine that changes a byte of each block and stores them in order,
// stopping at the first failed store like the real ones.
SendRoutine Changing(std::vector<std::uint8_t> options, int result = 0) {
    return [options, result](ApplyContext& apply) {
        for (std::uint8_t option : options) {
            ++apply.Set().Working(option)[0];
            if (!apply.StoreOrReport(option))
                return 0;
        }
        return result;
    };
}

// A routine whose page changed nothing: it asks for its blocks' stores only.
SendRoutine Unchanged(std::vector<std::uint8_t> options) {
    return [options](ApplyContext& apply) {
        for (std::uint8_t option : options)
            if (!apply.StoreOrReport(option))
                return 0;
        return 0;
    };
}

// Every routine of the sheet, each with the blocks its page stores.
std::vector<std::pair<ApplyRoutine, SendRoutine>> EveryRoutine(int networkResult = 0) {
    using R = ApplyRoutine;
    return {{R::Account, Changing({2})},     {R::Alarm, Changing({11})},        {R::Mail, Changing({4, 8, 7})},
            {R::Ftp, Changing({5})},         {R::Device, Changing({10})},       {R::Detection, Changing({13, 11})},
            {R::Camera, Changing({13, 15})}, {R::Ddns, Changing({3, 4})},       {R::Peripheral, Changing({16})},
            {R::Sntp, Changing({8})},        {R::ToolBox, Changing({7, 10})},   {R::TimerRecord, Changing({15})},
            {R::Network, Changing({6, 1}, networkResult)}};
}

struct SheetTest : ::testing::Test {
    void Connect(const char* product) {
        device = std::make_unique<devicesim::DeviceSimulator>(devicesim::DeviceProfile::ForProduct(product));
        ASSERT_TRUE(device->Start());
        device->Update([](devicesim::DeviceState& s) { s.sessions[kCookie] = {}; });
        const auto profile = device->Profile();
        app.CSettingINI.m_strServerName = "127.0.0.1";
        app.CSettingINI.m_wWebPort = device->Port();
        app.SessionCookie = kCookie;
        app.LocalHostAddress = "127.0.0.1";
        app.SetUiPort(&ui);
        app.str_ProductID = profile.productId;
        app.str_FWVersion = profile.firmwareVersion;
        app.CSettingINI.m_strRecordPath = "";
        app.CSettingINI.m_strSnapshotPath = "";
        app.SysCfg.Update([&](session::SysCfgBlocks& blocks) {
            const bool newPppoe = session::UsesNewPppoeLayout(session::SysCfgOrderFor(profile.productId),
                                                              profile.firmwareVersion);
            for (std::uint8_t option = 0; option < session::kOptionAll; ++option) {
                const auto block = session::SysCfgBlock(blocks, option, newPppoe);
                const auto bytes = profile.Block(option);
                std::copy_n(bytes.begin(), std::min(bytes.size(), block.size()), block.begin());
            }
        });
    }

    void Open(const char* product) {
        Connect(product);
        sheet = std::make_unique<MySystemDialog>(
            session::LoadText(3027), nullptr, 0, app, SheetPrefill::From(app),
            [this](SheetPageId id, SheetContext& context, QWidget* parent) {
                const auto caption = PageCaption(id);
                auto* page = new FakePage(QString::fromUtf8(caption.data(), caption.size()), context.set, parent);
                fakes[id] = page;
                return page;
            });
        sheet->SetApplyTiming(platform::Timing{.connectTimeout = std::chrono::milliseconds(2000)},
                              std::chrono::milliseconds(50));
        sheet->InitSheet();
        sheet->show();
        app.dw_SystemDialogActive = 1;
    }

    // Opens every page, as the person would by walking the tree.
    void OpenEveryPage() {
        for (int i = 0; i < sheet->GetPageCount(); ++i)
            sheet->SetActivePage(i);
    }

    bool WaitForApply() {
        return testutil::WaitUntil([&] {
            QCoreApplication::processEvents();
            return !sheet->ApplyRunning();
        });
    }

    std::vector<std::string> StoredOptions() const {
        std::vector<std::string> options;
        for (const auto& request : device->RequestsFor("/SetSysCfg.cgi"))
            options.push_back(request.Param("Option").value_or("?"));
        return options;
    }

    ~SheetTest() override {
        sheet.reset();
        app.h_DeviceCommandWorker.Stop();
    }

    fakes::RecordingUiPort ui;
    session::AppData app;
    std::unique_ptr<devicesim::DeviceSimulator> device;
    std::unique_ptr<MySystemDialog> sheet;
    std::map<SheetPageId, FakePage*> fakes;
    testutil::ConfigMessageCapture messages;
};

TEST_F(SheetTest, PagesAndButtonsPerFamily) {
    struct Case {
        const char* product;
        bool linkedDvr;
        int pages;
        bool apply, restart;
    };
    const Case cases[] = {
        {"R41T", true, 18, true, false}, {"R41T", false, 17, true, false}, {"R47T", false, 12, true, true},
        {"G66M", false, 11, true, true}, {"N51H", false, 9, true, false},  {"Q00X", false, 0, false, false},
    };
    for (const Case& c : cases) {
        app.C_ControlD.Clear();
        if (c.linkedDvr)
            app.C_ControlD.AddDevice(0, 0, 19, mainwindow::kControlDeviceMaster);
        Open(c.product);
        EXPECT_EQ(sheet->GetPageCount(), c.pages) << c.product;
        ASSERT_NE(sheet->ExitButton(), nullptr);
        EXPECT_EQ(sheet->ApplyButton() != nullptr, c.apply) << c.product;
        EXPECT_EQ(sheet->RestartButton() != nullptr, c.restart) << c.product;
        EXPECT_EQ(sheet->ExitButton()->text(), session::LoadText(8000));
        EXPECT_FALSE(sheet->windowFlags() & Qt::WindowCloseButtonHint);
    }
    // The buttons' rectangles at 144 DPI.
    app.fl_DpiScale = 1.5f;
    Open("R47T");
    const SheetButtonRects rects = SheetButtonRectsFor(sheet->width(), sheet->height(), 1.5f);
    EXPECT_EQ(sheet->ApplyButton()->geometry(),
              QRect(QPoint(rects.apply.left, rects.apply.top), QPoint(rects.apply.right - 1, rects.apply.bottom - 1)));
}

TEST_F(SheetTest, EveryPageOpenedNothingChangedWritesNothing) {
    Open("R41T");
    OpenEveryPage();
    fakes[SheetPageId::Network]->routines = {{ApplyRoutine::Mail, [](ApplyContext& apply) {
        // Writes what is there already: no block differs, so nothing is stored.
        apply.Set().Write(4, "sz_SmtpServer", 0, apply.Set().Text(4, "sz_SmtpServer"));
        return apply.StoreOrReport(4) ? 0 : 1;
    }}};
    QTest::mouseClick(sheet->ApplyButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitForApply());
    EXPECT_TRUE(StoredOptions().empty());
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(app.dw_SystemDialogActive, 0u);
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(SheetTest, ExitAfterEditsSendsNothingAndKeepsTheSessionBlocks) {
    Open("R41T");
    OpenEveryPage();
    fakes[SheetPageId::Network]->routines = EveryRoutine();
    ASSERT_EQ(sheet->Context().set.Write(1, "w_WebPort", 0, std::int64_t(8081)), FieldStatus::Ok);
    const auto before = app.SysCfg.Get();
    QTest::mouseClick(sheet->ExitButton(), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_TRUE(device->RequestsFor("/SetSysCfg.cgi").empty());
    const auto after = app.SysCfg.Get();
    EXPECT_EQ(after.by_SysCfgOption1, before.by_SysCfgOption1);
}

TEST_F(SheetTest, RoutinesRunInOrderForTheFamily) {
    struct Case {
        const char* product;
        std::vector<std::string> stored;
    };
    const Case cases[] = {
        // Tool box first opened: its routine runs for DVRs and video servers.
        {"R41T", {"SECURE", "ALARM", "SMTP", "SNTP", "SYSTEM", "FTP", "RS485", "DVRLIVE", "ALARM", "DVRLIVE",
                  "DVRREC", "DNS", "SMTP", "SYSTEM", "RS485", "DVRREC", "PPPOE", "IP"}},
        {"R47T", {"SECURE", "ALARM", "SMTP", "SNTP", "SYSTEM", "FTP", "RS485", "DVRLIVE", "ALARM", "DVRLIVE",
                  "DVRREC", "DNS", "SMTP", "PERI", "SNTP", "SYSTEM", "RS485", "PPPOE", "IP"}},
        // N5H: no peripherals, time server, tool box, DVR routines or network.
        {"N52H", {"SECURE", "ALARM", "SMTP", "SNTP", "SYSTEM", "FTP", "RS485", "DVRLIVE", "ALARM", "DVRLIVE",
                  "DVRREC", "DNS", "SMTP"}},
    };
    for (const Case& c : cases) {
        Open(c.product);
        OpenEveryPage();
        fakes[SheetPageId::Network]->routines = EveryRoutine();
        QTest::mouseClick(sheet->ApplyButton(), Qt::LeftButton);
        ASSERT_TRUE(WaitForApply());
        EXPECT_EQ(StoredOptions(), c.stored) << c.product;
        EXPECT_FALSE(sheet->isVisible());
        device->ClearRequests();
    }
}

TEST_F(SheetTest, FailedStoreReportsOnceSkipsItsRoutineAndCommitsOnlyStoredBlocks) {
    for (auto fault : {devicesim::Fault::Status(500), devicesim::Fault::CloseInsideHeader()}) {
        Open("R41T");
        OpenEveryPage();
        fakes[SheetPageId::Network]->routines = EveryRoutine();
        device->AddFault("/SetSysCfg.cgi?Option=SMTP", fault);
        const auto before = app.SysCfg.Get();
        QTest::mouseClick(sheet->ApplyButton(), Qt::LeftButton);
        ASSERT_TRUE(WaitForApply());

        EXPECT_EQ(ui.Calls(), std::vector<std::string>{"msgbox:4012"});
        EXPECT_TRUE(messages.texts.isEmpty());
        const auto stored = StoredOptions();
        // The mail routine stopped at SMTP: no SNTP or SYSTEM from it; later routines went on.
        ASSERT_GE(stored.size(), 4u);
        EXPECT_EQ(stored[2], "SMTP");
        EXPECT_EQ(stored[3], "FTP");
        EXPECT_EQ(stored.back(), "IP");
        EXPECT_FALSE(sheet->isVisible());
        const auto after = app.SysCfg.Get();
        EXPECT_EQ(after.by_SysCfgOption8, before.by_SysCfgOption8);  // never stored
        EXPECT_NE(after.by_SysCfgOption5, before.by_SysCfgOption5);  // stored
        EXPECT_NE(after.by_SysCfgOption4, before.by_SysCfgOption4);  // stored again by the DDNS routine
        ui.Clear();
        device->ClearRequests();
    }
}

TEST_F(SheetTest, ARoutineStoresOnlyWhatItsPageChangedAndAFailureShowsAsItHappens) {
    Open("R41T");
    OpenEveryPage();
    using R = ApplyRoutine;
    // The mail routine leaves SMTP, SNTP and SYSTEM changed: SMTP is refused, the rest never tried.
    std::vector<std::string> messagesBeforeFtp;
    fakes[SheetPageId::Network]->routines = {
        {R::Mail, Changing({4, 8, 7})},
        {R::Ftp, [&](ApplyContext&) {
             messagesBeforeFtp = ui.Calls();
             return 0;
         }},
        {R::Camera, Changing({15})},
        {R::Ddns, Unchanged({3, 4})},
        {R::ToolBox, Unchanged({7, 10})},
        {R::TimerRecord, Unchanged({15})},
    };
    device->AddFault("/SetSysCfg.cgi?Option=SMTP", devicesim::Fault::Status(500));
    device->AddFault("/SetSysCfg.cgi?Option=DVRREC", devicesim::Fault::Status(500));
    const auto before = app.SysCfg.Get();
    QTest::mouseClick(sheet->ApplyButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitForApply());
    EXPECT_EQ(messagesBeforeFtp, std::vector<std::string>{"msgbox:4012"});
    EXPECT_EQ(ui.Calls(), (std::vector<std::string>{"msgbox:4012", "msgbox:4012"}));
    // Neither the DDNS, tool-box nor timer routine sends a block another routine left changed.
    EXPECT_EQ(StoredOptions(), (std::vector<std::string>{"SMTP", "DVRREC"}));
    const auto after = app.SysCfg.Get();
    EXPECT_EQ(after.by_SysCfgOption4, before.by_SysCfgOption4);
    EXPECT_EQ(after.by_SysCfgOption7, before.by_SysCfgOption7);
    EXPECT_EQ(after.by_SysCfgOption15, before.by_SysCfgOption15);
}

TEST_F(SheetTest, PppoeWithoutDdnsIsRefusedBeforeAnythingIsSent) {
    Open("R41T");
    sheet->SetActivePage(fakes[SheetPageId::Network]);
    fakes[SheetPageId::Network]->values.networkType = 1;
    fakes[SheetPageId::Network]->routines = EveryRoutine();
    // DDNS off in the loaded block; the DDNS page is never opened.
    ASSERT_EQ(sheet->Context().set.Write(4, "by_DdnsEnable", 0, std::int64_t(0)), FieldStatus::Ok);
    sheet->Context().set.Commit(4);
    QTest::mouseClick(sheet->ApplyButton(), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.texts, QStringList{session::LoadText(4101)});
    EXPECT_TRUE(device->RequestsFor("/SetSysCfg.cgi").empty());
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_FALSE(sheet->ApplyRunning());
}

TEST_F(SheetTest, GuiRunsDuringThePauseAndClosingEndsTheJob) {
    Open("R47T");
    OpenEveryPage();
    fakes[SheetPageId::Network]->routines = {{ApplyRoutine::Network, Changing({1}, 1)}};
    sheet->SetApplyTiming(platform::Timing{.connectTimeout = std::chrono::milliseconds(2000)},
                          std::chrono::milliseconds(200));
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(1);
    QTest::mouseClick(sheet->ApplyButton(), Qt::LeftButton);
    EXPECT_FALSE(sheet->isEnabled());
    ASSERT_TRUE(WaitForApply());
    EXPECT_GT(ticks, 0);
    EXPECT_EQ(StoredOptions(), std::vector<std::string>{"IP"});

    // A pause far longer than any test: only the close can end it.
    Open("R47T");
    OpenEveryPage();
    fakes[SheetPageId::Network]->routines = {{ApplyRoutine::Network, Changing({1}, 1)}};
    sheet->SetApplyTiming(platform::Timing{.connectTimeout = std::chrono::milliseconds(2000)},
                          std::chrono::minutes(10));
    QTest::mouseClick(sheet->ApplyButton(), Qt::LeftButton);
    ASSERT_TRUE(testutil::WaitUntil([&] { return device->RequestsFor("/SetSysCfg.cgi").size() == 1; }));
    sheet->close();
    EXPECT_EQ(app.dw_SystemDialogActive, 0u);
    ASSERT_TRUE(testutil::WaitUntil([&] { return app.h_DeviceCommandWorker.Pending() == 0; }));
}

TEST_F(SheetTest, RestartSendsRebootAndReportsARefusal) {
    Open("R47T");
    QTest::mouseClick(sheet->RestartButton(), Qt::LeftButton);
    ASSERT_TRUE(testutil::WaitUntil([&] {
        QCoreApplication::processEvents();
        return device->State().reboots == 1 && app.h_DeviceCommandWorker.Pending() == 0;
    }));
    const auto reboot = device->RequestsFor("/Reboot.cgi").at(0);
    EXPECT_EQ(reboot.requestLine, "GET /Reboot.cgi?Cookie=5A17C0DE HTTP/1.1");
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages.texts.isEmpty());

    device->SetRefusing(true);
    QTest::mouseClick(sheet->RestartButton(), Qt::LeftButton);
    ASSERT_TRUE(testutil::WaitUntil([&] {
        QCoreApplication::processEvents();
        return !messages.texts.isEmpty();
    }));
    EXPECT_EQ(messages.texts, QStringList{session::LoadText(4064)});
    EXPECT_TRUE(sheet->isVisible());
}

TEST_F(SheetTest, ThePortOpensANewSheetAfterOneEndedThroughItsButtons) {
    Connect("R41T");
    SystemDialogPort port(app);
    port.OpenSheet(nullptr);
    ASSERT_TRUE(port.IsSheetOpen());
    QPointer<MySystemDialog> first = port.Sheet();
    QTest::mouseClick(first->ExitButton(), Qt::LeftButton);
    EXPECT_FALSE(port.IsSheetOpen());
    port.OpenSheet(nullptr);
    EXPECT_TRUE(port.IsSheetOpen());
    EXPECT_TRUE(first.isNull()) << "the ended sheet was replaced";
    port.OpenSheet(nullptr);
    EXPECT_EQ(app.dw_SystemDialogActive.load(), 1u);
    port.CloseSheet();
    EXPECT_FALSE(port.IsSheetOpen());
}

// Stands in for the recording library's maker: the search and backup pages.
struct FakeRecordingPages : RecordingPageMaker {
    int openings = 0;
    int pagesAtOpening = -1;
    std::map<SheetPageId, ConfigPage*> made;

    void SheetOpening() override { ++openings; }
    ConfigPage* MakePage(SheetPageId id, SheetContext& context, QWidget* parent) override {
        if (id != SheetPageId::Download && id != SheetPageId::Event)
            return nullptr;
        if (pagesAtOpening < 0)
            pagesAtOpening = static_cast<MySystemDialog*>(parent)->GetPageCount();
        const auto caption = PageCaption(id);
        return made[id] = new FakePage(QString::fromUtf8(caption.data(), caption.size()), context.set, parent);
    }
};

TEST_F(SheetTest, RecordingPagesComeFromTheInstalledMaker) {
    Connect("R41T");
    const auto openDefault = [&] {
        sheet = std::make_unique<MySystemDialog>(session::LoadText(3027), nullptr, 0, app, SheetPrefill::From(app));
        sheet->InitSheet();
        sheet->show();
    };
    openDefault();
    EXPECT_NE(dynamic_cast<PlaceholderPage*>(sheet->PageFor(SheetPageId::Event)), nullptr) << "no maker";

    FakeRecordingPages maker;
    ASSERT_EQ(SetRecordingPageMaker(&maker), nullptr);
    openDefault();
    EXPECT_EQ(maker.openings, 1);
    EXPECT_GT(maker.pagesAtOpening, 0) << "the search pages come after the detection page";
    EXPECT_EQ(sheet->PageFor(SheetPageId::Event), maker.made[SheetPageId::Event]);
    EXPECT_EQ(sheet->PageFor(SheetPageId::Download), maker.made[SheetPageId::Download]);
    EXPECT_EQ(dynamic_cast<FakePage*>(sheet->PageFor(SheetPageId::Network)), nullptr) << "built pages stay";
    sheet->OnShowDownloadPage();
    EXPECT_EQ(sheet->GetActivePage(), maker.made[SheetPageId::Download]);

    // A sheet with its own page factory still tells the maker it opens.
    Open("R43T");
    EXPECT_EQ(maker.openings, 2);
    EXPECT_EQ(SetRecordingPageMaker(nullptr), &maker);
}

}  // namespace
}  // namespace config
