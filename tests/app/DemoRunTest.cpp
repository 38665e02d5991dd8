// A --demo run as a new user tries it, with a home folder of its own: the
// login filled with the simulated device, a snapshot, a manual recording, a
// network backup and a file dialog, then the close. Everything the run wrote
// was inside the demo's temporary folder, which is gone afterwards; the home
// folder is byte for byte as before.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/DemoRun.h"
#include "app/TavrinApp.h"
#include "config/ConfigWorkingSet.h"
#include "fakes/RecordingUiPort.h"
#include "mainwindow/gui/TavrinDlg.h"
#include "platform/AtomicFile.h"
#include "platform/ProgramFolder.h"
#include "recording/gui/BackupProgressDialog.h"
#include "recording/gui/DownloadFilePage.h"
#include "recording/netbackup/BackupBlock.h"
#include "session/AppData.h"
#include "session/gui/LoginDialog.h"
#include "support/ChildWidget.h"
#include "support/ModalWatchers.h"
#include "support/TempFolder.h"
#include "support/WaitWithEvents.h"

namespace fs = std::filesystem;
using testutil::WaitWithEvents;

namespace {

constexpr int kPatienceMs = 15000;

// Every file and folder under `root` by relative path; files with their size
// and a digest of their bytes (a failure lists names, not megabytes).
std::map<std::string, std::string> Contents(const fs::path& root) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(entry.path(), root).string();
        std::string bytes;
        if (entry.is_regular_file()) {
            EXPECT_TRUE(platform::ReadWholeFile(entry.path(), bytes)) << name;
            contents[name] = std::to_string(bytes.size()) + " bytes, " + std::to_string(std::hash<std::string>{}(bytes));
        } else {
            contents[name] = "folder";
        }
    }
    return contents;
}

// The files in `folder` whose names start with `prefix` and end with `suffix`.
std::vector<fs::path> FilesIn(const fs::path& folder, const std::string& prefix, const std::string& suffix) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(prefix) && name.ends_with(suffix))
            found.push_back(entry.path());
    }
    return found;
}

class DemoRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"HOME", "TMPDIR", "QUENLO_HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                 "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
            const char* value = std::getenv(name);
            saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
            ::unsetenv(name);
        }
        // A home as a user has it: a desktop, a settings folder, files of theirs.
        fs::create_directories(folder.path() / "home" / ".config");
        folder.Write("home/.config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n");
        fs::create_directories(folder.path() / "home" / "Desktop");
        folder.Write("home/Desktop/notes.txt", "mine\n");
        folder.Write("home/.bashrc", "export PS1='$ '\n");
        fs::create_directories(folder.path() / "tmp");
        ::setenv("HOME", (folder.path() / "home").c_str(), 1);
        ::setenv("TMPDIR", (folder.path() / "tmp").c_str(), 1);
    }
    void TearDown() override {
        for (const auto& [name, value] : saved) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }

    testutil::TempFolder folder;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};

// The backup page of the sheet, alone: one megabyte of channel 1 into the
// folder it proposes.
void DownloadABackup(session::AppData& app, const platform::Timing& timing) {
    config::ConfigWorkingSet set(app);
    recording::DownloadFilePage page(app, set, timing);
    page.show();
    ASSERT_TRUE(WaitWithEvents([&] { return !page.Loading(); }, kPatienceMs));
    auto* size = testutil::Child<QLineEdit>(page, "size");
    size->selectAll();
    QTest::keyClick(size, Qt::Key_Delete);
    QTest::keyClicks(size, "1");
    testutil::ModalWatchers watchers;
    watchers.Add<recording::BackupProgressDialog>([](recording::BackupProgressDialog& d) {
        if (d.StatusText() != recording::kBackupFinishedText)
            return false;
        QTest::mouseClick(testutil::Child<QPushButton>(d, "button2"), Qt::LeftButton);
        return true;
    });
    QTest::mouseClick(testutil::Child<QPushButton>(page, "start"), Qt::LeftButton);
    EXPECT_TRUE(WaitWithEvents([&] { return !page.Starting(); }, 30000));
}

TEST_F(DemoRunTest, ASnapshotARecordingAndABackupLeaveTheHomeFolderAsItWas) {
    const fs::path home = folder.path() / "home";
    const auto before = Contents(home);
    fs::path demoFolder;
    std::vector<fs::path> written;
    {
        quenlo::DemoRun demo;
        ASSERT_TRUE(demo.Start(platform::ExecutableFolder() / "devicesim")) << demo.error();
        demoFolder = demo.Folder().Path();
        EXPECT_TRUE(demoFolder.string().starts_with((folder.path() / "tmp").string())) << demoFolder;

        fakes::RecordingUiPort startupUi;
        session::TavrinAppOptions options;
        options.startupUi = &startupUi;
        demo.PrefillLogin(options);
        // The login dialog as the demo opens it: the password, then Enter.
        QTimer enter;
        QObject::connect(&enter, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<session::LoginDialog*>(QApplication::activeModalWidget())) {
                enter.stop();
                auto* password = testutil::Child<QLineEdit>(*dialog, "passwordEdit");
                QTest::keyClicks(password, quenlo::DemoDevice::kPassword);
                QTest::keyClick(dialog, Qt::Key_Return);
            }
        });
        enter.start(50);

        session::CTavrinApp* running = nullptr;
        options.mainWindowCreated = [&](session::CTavrinDlg& window) {
            QTimer::singleShot(0, &window, [&] {
                session::AppData& app = *running->Data();
                quint64 shown = 0;
                QObject::connect(&window, &session::CTavrinDlg::pictureShown, &window,
                                 [&](quint64 sequence) { shown = sequence; });
                EXPECT_TRUE(WaitWithEvents([&] { return shown != 0; }, kPatienceMs));

                const fs::path snapshots = app.CSettingINI.m_strSnapshotPath.Get();
                window.OnSnapshoot();
                EXPECT_TRUE(WaitWithEvents([&] { return !FilesIn(snapshots, "", ".jpg").empty(); }, kPatienceMs));

                const fs::path records = app.CSettingINI.m_strRecordPath.Get();
                window.OnRecordButton();
                EXPECT_TRUE(WaitWithEvents([&] { return app.CUserRecord().IsRecording(); }, kPatienceMs));
                const quint64 first = shown;
                EXPECT_TRUE(WaitWithEvents([&] { return shown > first + 10; }, kPatienceMs));
                window.OnRecordButton();
                EXPECT_TRUE(WaitWithEvents([&] { return !app.CUserRecord().IsRecording(); }, kPatienceMs));

                DownloadABackup(app, {});
                const fs::path backups = app.CSettingINI.m_strNetworkFileDirectory.Get();

                {
                    // The file dialogs keep their state in Qt's own settings file.
                    QFileDialog dialog(&window);
                    dialog.setOption(QFileDialog::DontUseNativeDialog);
                }

                for (const auto& [where, prefix, suffix] :
                     {std::tuple{snapshots, "", ".jpg"}, std::tuple{records, "USER_MJPEG_", ".kfr"},
                      std::tuple{backups, "CH01_", ".dvr"}})
                    for (const auto& file : FilesIn(where, prefix, suffix))
                        written.push_back(file);
                written.push_back(demoFolder / "Setting.ini");
                window.DestroyWindow();
            });
        };
        session::CTavrinApp app(options);
        running = &app;
        EXPECT_EQ(app.InitInstance(), session::StartupEnd::MainWindowClosed);
        app.ExitInstance();
        EXPECT_TRUE(startupUi.Calls().empty());
        // Before the demo ends: what the run wrote lies inside its folder.
        ASSERT_EQ(written.size(), 4u);
        for (const auto& file : written) {
            EXPECT_TRUE(file.string().starts_with(demoFolder.string())) << file;
            EXPECT_TRUE(fs::is_regular_file(file)) << file;
        }
        EXPECT_FALSE(FilesIn(demoFolder / "home" / ".config", "QtProject", ".conf").empty());
    }
    EXPECT_FALSE(fs::exists(demoFolder));
    EXPECT_EQ(Contents(home), before);
    EXPECT_TRUE(fs::is_empty(folder.path() / "tmp"));
    EXPECT_STREQ(std::getenv("HOME"), home.c_str());
}

}  // namespace
