// The network backup page offscreen against the simulated DVR: the proposed
// names, the disk list and the number each entry sends, the size box and
// Start's refusals, a pick taken over, the stand-in player following and
// then opening the finished file, the disc writing on the image-file drive,
// and the settings that only the operator's clicks change.
#include "recording/gui/DownloadFilePage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <mutex>
#include <thread>

#include "config/ConfigWorkingSet.h"
#include "config/gui/ConfigMessageCapture.h"
#include "fakes/FakePlayerLink.h"
#include "fakes/RecordingUiPort.h"
#include "gui/StringText.h"
#include "recording/backup/CdBackupWriter.h"
#include "recording/backup/IsoBurnEngine.h"
#include "recording/gui/BackupProgressDialog.h"
#include "recording/gui/DownloadFilePageTemplate.h"
#include "recording/gui/WriteCdSettingDialog.h"
#include "recording/player/PlayerHandOver.h"
#include "recording/player/UnixPlayerLink.h"
#include "session/ProcessThreads.h"
#include "simulator/DeviceSimulator.h"
#include "simulator/NetworkBackup.h"
#include "support/ChildWidget.h"
#include "support/DeviceSession.h"
#include "support/FolderBrowser.h"
#include "support/IsoImageReader.h"
#include "support/ModalWatchers.h"
#include "support/TempFolder.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"
#include "support/WaitWithEvents.h"

namespace fs = std::filesystem;
using namespace recording;
using namespace std::chrono_literals;
using testutil::Child;
using testutil::ModalWatchers;
using testutil::WaitWithEvents;

namespace {

class DownloadFilePageTest : public ::testing::Test {
protected:
    DownloadFilePageTest() {
        EXPECT_TRUE(device.Start());
        testutil::JoinDevice(device, app, timing);
        timing.receiveTimeout = 2s;
        app.SetUiPort(&ui);
        app.CSettingINI.m_strAppPath = folder.path().string() + "/";
        app.CSettingINI.m_strNetworkFileDirectory = folder.path().string() + "/";
        SetDisks({0, 1, 4});
        PendingSelection() = {};
    }
    ~DownloadFilePageTest() override {
        page.reset();
        app.h_DeviceCommandWorker.Stop();
    }

    void SetDisks(const std::vector<int>& disks) {
        device.UpdateProfile([&](devicesim::DeviceProfile& p) { p.disks = disks; });
    }
    DownloadFilePage& Open() {
        set = std::make_unique<config::ConfigWorkingSet>(app);
        page = std::make_unique<DownloadFilePage>(app, *set, timing);
        page->show();
        EXPECT_TRUE(WaitWithEvents([&] { return !page->Loading(); }));
        return *page;
    }
    template <class T>
    T* Get(const char* name) {
        return Child<T>(*page, name);
    }
    QString Path() { return Get<QLineEdit>("path")->text(); }
    void Type(const char* box, const QString& text) {
        auto* edit = Get<QLineEdit>(box);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    // Start, then the download dialog left with Exit once the download is finished.
    void StartAndFinish() {
        watchers.Add<BackupProgressDialog>([](BackupProgressDialog& d) {
            if (d.StatusText() != kBackupFinishedText)
                return false;
            QTest::mouseClick(Child<QPushButton>(d, "button2"), Qt::LeftButton);
            return true;
        });
        Start();
    }
    void Start() {
        QTest::mouseClick(Get<QPushButton>("start"), Qt::LeftButton);
        EXPECT_TRUE(WaitWithEvents([&] { return !page->Starting(); }, 30000));
    }
    std::vector<std::string> Backups() const { return testutil::RequestTargets(device, "/NetworkBk.cgi"); }
    QStringList ExpectedTexts(std::initializer_list<unsigned> ids) const {
        QStringList texts;
        for (unsigned id : ids)
            texts << session::LoadText(id);
        return texts;
    }

    devicesim::DeviceSimulator device;
    devicesim::NetworkBackupService backup{device};
    testutil::TempFolder folder;
    fakes::RecordingUiPort ui;
    session::AppData app;
    platform::Timing timing;
    testutil::ConfigMessageCapture messages;
    ModalWatchers watchers;
    std::unique_ptr<config::ConfigWorkingSet> set;
    std::unique_ptr<DownloadFilePage> page;
};

TEST_F(DownloadFilePageTest, StandsWhereItsTemplatePutsItWithThePickersInTheirFrame) {
    set = std::make_unique<config::ConfigWorkingSet>(app);
    testutil::ExpectTemplateGeometry(kDownloadFilePageTemplate,
                                     [&] { return std::make_unique<DownloadFilePage>(app, *set, timing); });
    // Nothing is cut, and the pickers (placed in pixels) lie inside "Archiwizacja od".
    testutil::ExpectNothingCut(Open(), "backup-page");
}

TEST_F(DownloadFilePageTest, ProposesTheNextFreeNameBeforeAndAfterADownload) {
    for (const char* name : {"CH02_0001.dvr", "CH02_0002.dvr", "CH02_0003.dvr"})
        folder.Write(name, "");
    Open();
    EXPECT_EQ(page->Caption(), "Archiwizacja  ");
    EXPECT_EQ(Path().toStdString(), folder.path().string() + "/CH01_0001.dvr");
    Type("channel", "2");
    EXPECT_EQ(Path().toStdString(), folder.path().string() + "/CH02_0004.dvr");  // one '/' only
    Type("size", "1");
    StartAndFinish();
    EXPECT_EQ(fs::file_size(folder.path() / "CH02_0004.dvr"), 1u << 20);
    EXPECT_EQ(Path().toStdString(), folder.path().string() + "/CH02_0005.dvr");
    // The folder setting is stored at Start, without its '/'.
    EXPECT_EQ(app.CSettingINI.m_strNetworkFileDirectory.Get(), folder.path().string());
    EXPECT_TRUE(messages.texts.isEmpty());
}

struct DiskCase {
    std::vector<int> disks;
    std::vector<QString> names;
    int chosen;
    const char* num;
};

class DiskEntries : public DownloadFilePageTest, public ::testing::WithParamInterface<DiskCase> {};

TEST_P(DiskEntries, EachEntrySendsItsOwnNumber) {
    SetDisks(GetParam().disks);
    Open();
    auto* list = Get<QComboBox>("disks");
    std::vector<QString> names;
    for (int i = 0; i < list->count(); ++i)
        names.push_back(list->itemText(i));
    EXPECT_EQ(names, GetParam().names);
    EXPECT_EQ(list->currentIndex(), 0);
    list->setCurrentIndex(GetParam().chosen);
    Type("size", "1");
    StartAndFinish();
    ASSERT_EQ(Backups().size(), 1u);
    EXPECT_NE(Backups()[0].find(std::string("&Num=") + GetParam().num + "&CH=0&Size=1"), std::string::npos)
        << Backups()[0];
}

INSTANTIATE_TEST_SUITE_P(Backup, DiskEntries,
                         ::testing::Values(DiskCase{{0, 1, 4}, {"MASTER1", "SLAVE1", "EXT-01"}, 2, "4"},
                                           DiskCase{{0, 2, 3}, {"MASTER1", "MASTER2", "SLAVE2"}, 1, "2"}));

TEST_F(DownloadFilePageTest, SizeBoxAndStartRefusals) {
    Open();
    Type("size", "12a3");
    EXPECT_EQ(Get<QLineEdit>("size")->text(), "123");
    Type("size", "900");
    EXPECT_EQ(Get<QLineEdit>("size")->text(), "500");
    Type("size", "0");
    Start();
    Type("size", "5");
    Type("channel", "17");
    Start();
    EXPECT_EQ(messages.texts, ExpectedTexts({4104, 4107}));
    EXPECT_TRUE(Backups().empty());
    EXPECT_FALSE(fs::exists(folder.path() / "CH17_0001.dvr"));
}

TEST_F(DownloadFilePageTest, WithoutAFolderTheBoxAsksForOneAndStartRefuses) {
    app.CSettingINI.m_strNetworkFileDirectory = "";
    Open();
    EXPECT_EQ(Path(), session::LoadText(4103));
    EXPECT_EQ(Get<QLineEdit>("path")->cursorPosition(), 0);  // the message shows from its start
    Type("channel", "3");
    EXPECT_EQ(Path(), session::LoadText(4103));
    Start();
    EXPECT_EQ(messages.texts, ExpectedTexts({4105}));
    EXPECT_TRUE(Backups().empty());

    // "Lokalizacja :" chooses one; the setting waits for Start.
    fs::create_directories(folder.path() / "backups");
    watchers.Add<session::CDlgGetPath>([&](session::CDlgGetPath& d) {
        QTreeWidgetItem* item = testutil::OpenFolderItem(d, folder.path() / "backups");
        EXPECT_NE(item, nullptr);
        d.Tree()->setCurrentItem(item);
        d.findChild<QPushButton*>("okButton")->click();
        return true;
    });
    config::SheetPageValues before;
    page->ContributeValues(before);
    EXPECT_FALSE(before.networkFileDirectory);
    QTest::mouseClick(Get<QPushButton>("location"), Qt::LeftButton);
    EXPECT_EQ(Path().toStdString(), (folder.path() / "backups").string() + "/CH03_0001.dvr");
    EXPECT_EQ(app.CSettingINI.m_strNetworkFileDirectory.Get(), "");

    // Apply keeps the newly chosen folder.
    config::SheetPageValues values;
    page->ContributeValues(values);
    config::ApplyLocalSettings(values, app);
    EXPECT_EQ(app.CSettingINI.m_strNetworkFileDirectory.Get(), (folder.path() / "backups").string());
}

TEST_F(DownloadFilePageTest, AFailedDiskListLeavesTheListEmptyAndStartRefuses) {
    app.CSettingINI.m_dwDynamicDownload = 1;
    device.AddFault("/GetDvrHDD.cgi", devicesim::Fault::Status(500));
    Open();
    EXPECT_EQ(Get<QComboBox>("disks")->count(), 0);
    EXPECT_TRUE(Path().isEmpty());
    EXPECT_FALSE(Get<QCheckBox>("dynamicLoad")->isChecked());
    Start();
    EXPECT_EQ(messages.texts, ExpectedTexts({4107}));
    EXPECT_TRUE(Backups().empty());
}

TEST_F(DownloadFilePageTest, APickIsTakenOverAtTheNextActivation) {
    Open();
    page->hide();
    PendingBackupSelection& pick = PendingSelection();
    pick.byPending = 1;
    pick.dateTime = {6, 10, 2, 13, 45, 7};
    pick.byDiskIndex = 2;
    pick.byChannel = 5;
    page->show();
    EXPECT_EQ(Get<QLineEdit>("channel")->text(), "5");
    EXPECT_EQ(Get<QDateEdit>("date")->text(), "2006 / 10 / 02");
    EXPECT_EQ(Get<QTimeEdit>("time")->text(), "13 : 45 : 07");
    EXPECT_EQ(Get<QComboBox>("disks")->currentText(), "EXT-01");
    EXPECT_EQ(Path().toStdString(), folder.path().string() + "/CH05_0001.dvr");
    EXPECT_EQ(PendingSelection().byPending, 0);
    Type("size", "1");
    StartAndFinish();
    ASSERT_EQ(Backups().size(), 1u);
    EXPECT_EQ(Backups()[0],
              "/NetworkBk.cgi?Cookie=C0FFEE&Year=2006&Month=10&Day=2&Hour=13&Minute=45&Second=7&Num=4&CH=4&Size=1");

    // Channel 0 (a manual entry) keeps the page's channel.
    page->hide();
    pick.byPending = 1;
    pick.byChannel = 0;
    pick.byDiskIndex = 0;
    page->show();
    EXPECT_EQ(Get<QLineEdit>("channel")->text(), "5");
    EXPECT_EQ(Get<QComboBox>("disks")->currentText(), "MASTER1");
    EXPECT_EQ(Path().toStdString(), folder.path().string() + "/CH05_0002.dvr");
}

TEST_F(DownloadFilePageTest, TheStandInFollowsThenStartOpensTheFinishedFileASecondLater) {
    char pattern[] = "/tmp/qdl-XXXXXX";  // short: a socket address has little room
    const fs::path run = ::mkdtemp(pattern);
    timing.playerHelloWait = 5s;
    timing.playerAnswerWait = 2s;
    fs::copy_file(fs::canonical("/proc/self/exe").parent_path() / "player-standin" / "ravelle", folder.path() / "ravelle");
    folder.Write("ravelle.conf", "ack=100\nstopAfter=3\n");
    auto link = std::make_shared<UnixPlayerLink>(timing.playerAnswerWait, run);
    app.PlayerLink = link;
    app.PlayerHandOver = std::make_shared<PlayerHandOver>(app, *link, timing);
    // The kernel thread's part: code 7 starts the player on the file.
    std::vector<std::string> played;
    std::mutex playedMutex;
    std::jthread kernel([&](std::stop_token stop) {
        app.KernelMailbox.Serve(
            [&](const session::KernelMessage& message) {
                if (message.dw_KernelMessageCode == session::Run_Player_Message) {
                    session::RunDownloadedFileInPlayer(app, message.path);
                    std::lock_guard lock(playedMutex);
                    played.push_back(message.path);
                }
                return true;
            },
            stop);
    });

    Open();
    QTest::mouseClick(Get<QCheckBox>("dynamicLoad"), Qt::LeftButton);
    ASSERT_EQ(app.CSettingINI.m_dwDynamicDownload, 1u);
    Type("size", "2");
    backup.SetScript({.bytesPerSecond = 2000000});
    const std::string file = folder.path().string() + "/CH01_0001.dvr";
    bool wasFollowed = false;
    QElapsedTimer sincePlay;  // started before the player's wait can start
    watchers.Add<BackupProgressDialog>([&](BackupProgressDialog& d) {
        wasFollowed = wasFollowed || app.dw_PlayerAck == 1;
        // "Start" appears once the stand-in stopped following the finished file.
        auto* play = Child<QPushButton>(d, "button1068");
        if (d.StatusText() != kBackupFinishedText || play->isHidden())
            return false;
        sincePlay.start();
        QTest::mouseClick(play, Qt::LeftButton);
        return true;
    });
    bool posted = false;
    QObject::connect(page.get(), &DownloadFilePage::PlayerRunPosted, [&] { posted = true; });
    Start();
    EXPECT_TRUE(wasFollowed);
    EXPECT_EQ(fs::file_size(file), 2u << 20);
    // The next name is proposed at once; the player's start comes its delay after "Start".
    EXPECT_EQ(Path().toStdString(), folder.path().string() + "/CH01_0002.dvr");
    EXPECT_FALSE(posted);
    ASSERT_TRUE(WaitWithEvents([&] { return posted; }));
    EXPECT_GE(sincePlay.elapsed(), timing.runPlayerDelay.count());
    ASSERT_TRUE(WaitWithEvents([&] {
        std::lock_guard lock(playedMutex);
        return !played.empty();
    }));
    EXPECT_EQ(played, std::vector<std::string>{file});
    EXPECT_TRUE(WaitWithEvents([&] {
        std::ifstream log(folder.path() / "ravelle.log");
        const std::string text{std::istreambuf_iterator<char>(log), {}};
        return text.find("args:2:" + file + "|CONVERT=0") != std::string::npos;
    }));
    std::ifstream log(folder.path() / "ravelle.log");
    const std::string text{std::istreambuf_iterator<char>(log), {}};
    EXPECT_NE(text.find("args:2:" + file + "|DYNAMICLOAD=1"), std::string::npos) << text;
    const auto calls = ui.Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "lowermain"), 2);  // the hand-over, then "Start"

    kernel.request_stop();
    kernel.join();
    page.reset();
    app.PlayerHandOver.reset();
    app.PlayerLink.reset();
    fs::remove_all(run);
}

// The kernel thread's part of a run: what mailbox code 7 asked to play.
class PlayedFiles {
public:
    explicit PlayedFiles(session::AppData& app)
        : kernel_([&app, this](std::stop_token stop) {
              app.KernelMailbox.Serve(
                  [this](const session::KernelMessage& message) {
                      if (message.dw_KernelMessageCode == session::Run_Player_Message) {
                          std::lock_guard lock(mutex_);
                          played_.push_back(message.path);
                      }
                      return true;
                  },
                  stop);
          }) {}
    std::vector<std::string> Get() {
        std::lock_guard lock(mutex_);
        return played_;
    }

private:
    std::mutex mutex_;
    std::vector<std::string> played_;
    std::jthread kernel_;
};

TEST_F(DownloadFilePageTest, StartInTheFinishedDialogOpensThePlayerAlsoWhenThePageIsGoneBefore) {
    PlayedFiles played(app);
    Open();
    Type("size", "1");
    watchers.Add<BackupProgressDialog>([](BackupProgressDialog& d) {
        auto* play = Child<QPushButton>(d, "button1068");
        if (d.StatusText() != kBackupFinishedText || play->isHidden())
            return false;
        QTest::mouseClick(play, Qt::LeftButton);
        return true;
    });
    Start();
    page.reset();  // the sheet closes within the second before the player's start
    ASSERT_TRUE(WaitWithEvents([&] { return !played.Get().empty(); }));
    EXPECT_EQ(played.Get(), std::vector<std::string>{folder.path().string() + "/CH01_0001.dvr"});
}

TEST_F(DownloadFilePageTest, AHandOverTheWorkerRefusesIsSaidAndTheDownloadRunsWithoutAPlayer) {
    fakes::FakePlayerLink link;
    link.folder = folder.path();
    app.PlayerHandOver = std::make_shared<PlayerHandOver>(app, link, timing);
    Open();
    QTest::mouseClick(Get<QCheckBox>("dynamicLoad"), Qt::LeftButton);
    Type("size", "1");
    app.h_DeviceCommandWorker.Stop();  // the run's worker takes no more jobs
    StartAndFinish();
    EXPECT_EQ(messages.texts, ExpectedTexts({kPlayerStartFailedMessage}));
    EXPECT_EQ(Backups().size(), 1u);
    EXPECT_EQ(fs::file_size(folder.path() / "CH01_0001.dvr"), 1u << 20);
    EXPECT_TRUE(link.Calls().empty());
    page.reset();
    app.PlayerHandOver.reset();
}

class DownloadFilePageDiscTest : public DownloadFilePageTest {
protected:
    DownloadFilePageDiscTest() {
        app.CdBackupWriter = std::make_shared<CdBackupWriter>(app, std::make_unique<IsoBurnEngine>(false),
                                                              [this] { return std::optional(image.string()); });
        app.CSettingINI.m_dwWriteCD = 1;
    }
    ~DownloadFilePageDiscTest() override {
        page.reset();
        app.CdBackupWriter.reset();
    }
    const fs::path image = folder.path() / "Image.iso";
};

TEST_F(DownloadFilePageDiscTest, CancellingTheSettingDialogDownloadsWithoutBurning) {
    Open();
    EXPECT_TRUE(Get<QCheckBox>("writeCd")->isChecked());
    Type("size", "1");
    int rounds = 0;
    watchers.Add<WriteCdSettingDialog>([&](WriteCdSettingDialog& d) {
        ++rounds;
        QTest::mouseClick(Child<QPushButton>(d, "cancelWrite"), Qt::LeftButton);
        return true;
    });
    StartAndFinish();
    EXPECT_EQ(rounds, 1);
    EXPECT_EQ(fs::file_size(folder.path() / "CH01_0001.dvr"), 1u << 20);
    EXPECT_FALSE(fs::exists(image));
    EXPECT_EQ(app.CSettingINI.m_dwWriteCD, 1u);  // off for this download only
}

TEST_F(DownloadFilePageDiscTest, ANameWithoutDvrBringsTheDialogBackAndTheAcceptedBackupIsOnTheImage) {
    Open();
    Type("size", "1");
    int rounds = 0;
    watchers.Add<WriteCdSettingDialog>([&](WriteCdSettingDialog& d) {
        auto* name = Child<QLineEdit>(d, "fileName");
        if (++rounds == 1) {
            name->setText("CH01_0001.bak");
            QTest::mouseClick(Child<QPushButton>(d, "ok"), Qt::LeftButton);
            return false;  // the writer refuses the name; a new dialog comes
        }
        EXPECT_EQ(name->text(), "CH01_0001.dvr");
        QTest::mouseClick(Child<QPushButton>(d, "ok"), Qt::LeftButton);
        return true;
    });
    watchers.Add<BackupProgressDialog>([](BackupProgressDialog& d) {
        if (d.StatusText() != kBackupFinishedText)
            return false;
        d.reject();
        return true;
    });
    Start();
    EXPECT_EQ(rounds, 2);
    const auto calls = ui.Calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "msgtext:The extension of file name should be (dvr)"),
              calls.end());
    // Read while the engine is still up: the reader shares its library.
    const auto [volume, files, sessions] = testutil::ReadImage(image);
    std::string written;
    ASSERT_TRUE(platform::ReadWholeFile(folder.path() / "CH01_0001.dvr", written));
    EXPECT_EQ(written.size(), 1u << 20);
    ASSERT_EQ(files.count("CH01_0001.dvr"), 1u);
    EXPECT_TRUE(files.at("CH01_0001.dvr") == written);
}

TEST_F(DownloadFilePageTest, OpeningChangesNoSettingAndEachBoxClickChangesItsOwnAtOnce) {
    app.CSettingINI.m_dwDynamicDownload = 1;
    app.CSettingINI.m_dwWriteCD = 0;
    PendingBackupSelection& pick = PendingSelection();
    pick.byPending = 1;
    pick.byChannel = 3;
    pick.dateTime = {7, 1, 1, 0, 0, 0};
    const std::string folderSetting = app.CSettingINI.m_strNetworkFileDirectory.Get();
    Open();
    EXPECT_TRUE(Get<QCheckBox>("dynamicLoad")->isChecked());
    EXPECT_FALSE(Get<QCheckBox>("writeCd")->isChecked());
    EXPECT_EQ(Get<QLineEdit>("channel")->text(), "3");
    EXPECT_EQ(app.CSettingINI.m_dwDynamicDownload, 1u);
    EXPECT_EQ(app.CSettingINI.m_dwWriteCD, 0u);
    EXPECT_EQ(app.CSettingINI.m_strNetworkFileDirectory.Get(), folderSetting);

    QTest::mouseClick(Get<QCheckBox>("writeCd"), Qt::LeftButton);
    EXPECT_EQ(app.CSettingINI.m_dwWriteCD, 1u);
    EXPECT_EQ(app.CSettingINI.m_dwDynamicDownload, 1u);
    QTest::mouseClick(Get<QCheckBox>("dynamicLoad"), Qt::LeftButton);
    EXPECT_EQ(app.CSettingINI.m_dwDynamicDownload, 0u);
    EXPECT_FALSE(Get<QCheckBox>("dynamicLoad")->isChecked());
}

}  // namespace
