// The record paths page and the alarm list page: folders typed or browsed and
// the alarm sound chosen as a WAV file, taken by Apply; the alarm list read,
// played, deleted from and cleared over a temporary program folder with its
// "AlarmData.dat", recordings and the stand-in player.

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "config/gui/AlarmDataPage.h"
#include "config/gui/AlarmDataPageTemplate.h"
#include "config/gui/ConfigMessageCapture.h"
#include "config/gui/RecordPage.h"
#include "config/gui/RecordPageTemplate.h"
#include "config/gui/SheetRun.h"
#include "gui/StringText.h"
#include "recording/alarmlist/SystemConfig.h"
#include "session/AppData.h"
#include "support/FolderBrowser.h"
#include "support/TempFolder.h"
#include "support/WaitWithEvents.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"

namespace config {
namespace {

namespace fs = std::filesystem;
using recording::AlarmDBItem;
using Bytes = std::vector<std::uint8_t>;

// Runs `work` on the modal dialog the next call opens.
template <class Dialog>
void OnModal(std::function<void(Dialog&)> work) {
    QTimer::singleShot(0, [work] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        work(*dialog);
    });
}

class AlarmDataPageTest : public ::testing::Test {
protected:
    AlarmDataPageTest() {
        app.CSettingINI.m_strAppPath = folder.path().string() + "/";
        app.SetAlarmList(&list);
        fs::create_directories(folder.path() / "rec");
    }
    ~AlarmDataPageTest() override { app.SetAlarmList(nullptr); }

    // A record whose recording exists in the folder's "rec".
    AlarmDBItem Record(const std::string& name, const char* source, std::uint16_t second, std::uint32_t frames) {
        AlarmDBItem item;
        item.SetFileName((folder.path() / "rec" / name).string());
        item.SetSource(source);
        item.stTime = {2026, 3, 0, 7, 9, 5, second, 0};
        item.dwFrames = frames;
        std::ofstream(item.FileName()) << "KFR";
        return item;
    }
    void WriteList(const std::vector<AlarmDBItem>& items) {
        const Bytes bytes = recording::SerializeAlarmList(items);
        folder.Write(recording::kAlarmListFileName, std::string(bytes.begin(), bytes.end()));
    }
    Bytes FileBytes() const {
        const std::string s = folder.Read(recording::kAlarmListFileName);
        return Bytes(s.begin(), s.end());
    }
    void Open() {
        page = std::make_unique<AlarmDataPage>(app, set);
        page->show();  // its first showing reads the list
    }
    std::vector<QStringList> Rows() const {
        std::vector<QStringList> rows;
        for (int i = 0; i < page->List()->topLevelItemCount(); ++i) {
            QStringList texts;
            for (int c = 0; c < 4; ++c)
                texts << page->List()->topLevelItem(i)->text(c);
            rows.push_back(texts);
        }
        return rows;
    }
    int Selected() const {
        const auto items = page->List()->selectedItems();
        return items.isEmpty() ? -1 : page->List()->indexOfTopLevelItem(items.front());
    }
    QPoint RowPoint(int row) const { return page->List()->visualItemRect(page->List()->topLevelItem(row)).center(); }
    void Click(int row) { QTest::mouseClick(page->List()->viewport(), Qt::LeftButton, {}, RowPoint(row)); }
    // As a mouse sends it: a click, then the second press as a double click, then its release.
    void DoubleClick(int row) {
        QWidget* view = page->List()->viewport();
        QTest::mouseClick(view, Qt::LeftButton, {}, RowPoint(row));
        QTest::mouseDClick(view, Qt::LeftButton, {}, RowPoint(row));
        QTest::mouseRelease(view, Qt::LeftButton, {}, RowPoint(row));
    }
    QString PathText() const { return page->PathEdit()->toPlainText(); }
    QString PathOf(const AlarmDBItem& item) const { return QString::fromStdString(item.FileName()); }

    void InstallPlayer() const {
        const fs::path standIn = fs::canonical("/proc/self/exe").parent_path() / "player-standin" / "ravelle";
        fs::copy_file(standIn, folder.path() / "ravelle");
    }
    // The stand-in's lines, once it has written `count` of them.
    std::vector<std::string> PlayerLog(std::size_t count) const {
        std::vector<std::string> lines;
        testutil::WaitWithEvents([&] {
            lines.clear();
            std::ifstream in(folder.path() / "ravelle.log");
            for (std::string line; std::getline(in, line);)
                lines.push_back(line);
            return lines.size() >= count;
        });
        return lines;
    }

    testutil::TempFolder folder;
    session::AppData app;
    std::vector<std::string> reports;
    recording::SystemConfig list{folder.path(), [this](const std::string& text) { reports.push_back(text); }};
    ConfigWorkingSet set{app, DeviceFacts{"R47T", "1052"}};
    testutil::ConfigMessageCapture messages;
    std::unique_ptr<AlarmDataPage> page;
};

TEST_F(AlarmDataPageTest, StandsWhereItsTemplatePutsItWithNothingCut) {
    testutil::ExpectTemplateGeometry(kAlarmDataPageTemplate, [&] { return std::make_unique<AlarmDataPage>(app, set); });
    WriteList({Record("a.kfr", "10.0.0.7", 1, 300)});
    Open();
    testutil::ExpectNothingCut(*page, "alarm-list-page");
}

TEST_F(AlarmDataPageTest, WithoutAListFileTheListIsEmptyAndAnEmptyFileIsMade) {
    Open();
    const QStringList headers = {"NO.", "IP Address", "Time", "Frame"};
    const int widths[] = {40, 90, 130, 100};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(page->List()->headerItem()->text(c), headers[c]);
        EXPECT_EQ(page->List()->columnWidth(c), widths[c]);
    }
    EXPECT_EQ(page->List()->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(page->List()->topLevelItemCount(), 0);
    EXPECT_EQ(FileBytes(), (Bytes{0x87, 0x99, 0x00, 0x00}));

    QTest::mouseClick(page->ClearButton(), Qt::LeftButton);
    QTest::mouseClick(page->PlayButton(), Qt::LeftButton);
    EXPECT_TRUE(messages.texts.isEmpty());
    QTest::mouseClick(page->DeleteButton(), Qt::LeftButton);
    EXPECT_EQ(messages.texts, QStringList{session::LoadText(4045)});
}

TEST_F(AlarmDataPageTest, RowsShowTheRecordsAndAMovedRecordingIsNotFoundAndNotPlayed) {
    const auto a = Record("ALARM_MJPEG_a.kfr", "10.0.0.7", 1, 250);
    const auto b = Record("ALARM_MJPEG_b.kfr", "192.168.1.20", 2, 4000000000u);
    const auto c = Record("ALARM_MJPEG_c.kfr", "172.16.0.1", 59, 0);
    WriteList({a, b, c});
    InstallPlayer();
    Open();
    EXPECT_EQ(Rows(), (std::vector<QStringList>{{"1", "10.0.0.7", "2026.03.07 09:05:01", "250"},
                                                {"2", "192.168.1.20", "2026.03.07 09:05:02", "4000000000"},
                                                {"3", "172.16.0.1", "2026.03.07 09:05:59", "0"}}));
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(PathText(), PathOf(a));

    fs::rename(b.FileName(), folder.path() / "moved.kfr");
    Click(1);
    EXPECT_EQ(PathText(), PathOf(b) + " (File not found)");
    QTest::mouseClick(page->PlayButton(), Qt::LeftButton);
    DoubleClick(1);
    EXPECT_EQ(PathText(), PathOf(b) + " (File not found)");

    // Only the recording that is there reaches the player.
    Click(2);
    EXPECT_EQ(PathText(), PathOf(c));
    QTest::mouseClick(page->PlayButton(), Qt::LeftButton);
    EXPECT_EQ(PlayerLog(1), std::vector<std::string>{"args:1:" + c.FileName()});
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(AlarmDataPageTest, DeletingKeepsTheRowsAndClicksMatchingTheFile) {
    const auto a = Record("a.kfr", "10.0.0.1", 1, 1);
    const auto b = Record("b.kfr", "10.0.0.2", 2, 2);
    const auto c = Record("c.kfr", "10.0.0.3", 3, 3);
    const auto d = Record("d.kfr", "10.0.0.4", 4, 4);
    WriteList({a, b, c, d});
    Open();

    // Delete without a selection: nothing changes.
    page->List()->clearSelection();
    QTest::mouseClick(page->DeleteButton(), Qt::LeftButton);
    EXPECT_EQ(messages.texts, QStringList{session::LoadText(4086)});
    EXPECT_EQ(FileBytes(), recording::SerializeAlarmList(std::vector{a, b, c, d}));

    // An alarm recording that ends while the page is open stays in the file and appears.
    list.AlarmDB_SetRecordFile((folder.path() / "rec" / "e.kfr").string());
    ASSERT_EQ(list.AlarmDB_AddRecord(5, "10.0.0.5"), recording::AlarmListResult::Ok);
    std::vector<AlarmDBItem> file = recording::ParseAlarmList(FileBytes()).items;
    ASSERT_EQ(file.size(), 5u);

    // Row 2 of five: exactly that record goes, row index 1 stays selected and shows the next one.
    Click(1);
    QTest::mouseClick(page->DeleteButton(), Qt::LeftButton);
    file.erase(file.begin() + 1);
    EXPECT_EQ(FileBytes(), recording::SerializeAlarmList(file));
    ASSERT_EQ(Rows().size(), 4u);
    EXPECT_EQ(Rows()[1], (QStringList{"2", "10.0.0.3", "2026.03.07 09:05:03", "3"}));
    EXPECT_EQ(Rows()[3][0], "4");
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(PathText(), PathOf(c));
    Click(2);
    EXPECT_EQ(PathText(), PathOf(d));

    // The last row, and the one before it, move the selection to row 0.
    for (const int row : {3, 1}) {
        Click(row);
        QTest::mouseClick(page->DeleteButton(), Qt::LeftButton);
        file.erase(file.begin() + row);
        EXPECT_EQ(FileBytes(), recording::SerializeAlarmList(file)) << row;
        EXPECT_EQ(Selected(), 0) << row;
        EXPECT_EQ(PathText(), PathOf(a)) << row;
    }
    EXPECT_EQ(Rows().size(), 2u);

    // Clear asks nothing and leaves the head alone.
    QTest::mouseClick(page->ClearButton(), Qt::LeftButton);
    EXPECT_EQ(FileBytes(), (Bytes{0x87, 0x99, 0x00, 0x00}));
    EXPECT_EQ(page->List()->topLevelItemCount(), 0);
    EXPECT_EQ(PathText(), "");
    QTest::mouseClick(page->DeleteButton(), Qt::LeftButton);
    EXPECT_EQ(messages.texts, (QStringList{session::LoadText(4086), session::LoadText(4045)}));
}

TEST_F(AlarmDataPageTest, AFileThatIsNotAListIsMovedAsideReportedAndShownEmpty) {
    const std::string wrongMagic = std::string("\x12\x34\x01\x00", 4) + std::string(316, 'x');
    folder.Write(recording::kAlarmListFileName, wrongMagic);
    Open();
    EXPECT_EQ(page->List()->topLevelItemCount(), 0);
    EXPECT_EQ(reports, std::vector<std::string>{recording::kAlarmListReadFailedText});
    const auto aside = folder.SetAside(recording::kAlarmListFileName);
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(folder.Read(aside.front().filename().string()), wrongMagic);
    EXPECT_EQ(FileBytes(), (Bytes{0x87, 0x99, 0x00, 0x00}));
}

TEST_F(AlarmDataPageTest, PlayAndDoubleClickGiveThePlayerTheWholePathAndAMissingPlayerIsReported) {
    // A long name with spaces: one argument, not cut.
    const std::string name = "Alarm CH01 " + std::string(180, 'x') + ".kfr";
    const auto a = Record("a.kfr", "10.0.0.1", 1, 1);
    const auto longOne = Record(name, "10.0.0.2", 2, 2);
    ASSERT_GT(longOne.FileName().size(), 200u);
    WriteList({a, longOne});
    Open();

    QTest::mouseClick(page->PlayButton(), Qt::LeftButton);
    EXPECT_EQ(messages.texts, QStringList{session::LoadText(4108)});
    EXPECT_TRUE(page->isVisible()) << "the client goes on";

    InstallPlayer();
    DoubleClick(1);
    EXPECT_EQ(PathText(), PathOf(longOne));
    EXPECT_EQ(PlayerLog(1), std::vector<std::string>{"args:1:" + longOne.FileName()});
    QTest::mouseClick(page->PlayButton(), Qt::LeftButton);
    EXPECT_EQ(PlayerLog(2).back(), "args:1:" + longOne.FileName());
    EXPECT_EQ(messages.texts.size(), 1);
}

// ---- Record paths ---------------------------------------------------------

class RecordPageTest : public ::testing::Test {
protected:
    RecordPageTest() {
        app.CSettingINI.m_strTriggerWavPath = (folder.path() / "alarm.wav").string();
        prefill.recordPath = (folder.path() / "video").string();
        prefill.snapshotPath = (folder.path() / "pictures").string();
        prefill.triggerWavPath = "set by the main window.wav";
    }
    void Open(const char* product) {
        page.reset();
        set = std::make_unique<ConfigWorkingSet>(app, DeviceFacts{product, "1052"});
        page = std::make_unique<RecordPage>(app, *set, prefill);
        page->show();
    }

    testutil::TempFolder folder;
    session::AppData app;
    SheetPrefill prefill;
    std::unique_ptr<ConfigWorkingSet> set;
    std::unique_ptr<RecordPage> page;
};

TEST_F(RecordPageTest, StandsWhereItsTemplatePutsItWithNothingCut) {
    set = std::make_unique<ConfigWorkingSet>(app, DeviceFacts{"R47T", "1052"});
    testutil::ExpectTemplateGeometry(kRecordPageTemplate,
                                     [&] { return std::make_unique<RecordPage>(app, *set, prefill); });
    Open("R47T");
    testutil::ExpectNothingCut(*page, "record-paths-page");
}

TEST_F(RecordPageTest, TheAlarmSoundRowNeedsALinkedDvrOrANonDvrFamily) {
    struct Case {
        const char* product;
        bool dvrEntry;
        bool soundRow;
    };
    const Case cases[] = {{"R41T", false, false}, {"R43T", true, true}, {"R47T", false, true},
                          {"G66M", false, true},  {"N51H", false, true}, {"N53H", false, true}};
    for (const Case& c : cases) {
        app.C_ControlD.Clear();
        if (c.dvrEntry)
            app.C_ControlD.AddDevice(9600, 1, mainwindow::kTypeKlt316Dvr, mainwindow::kControlDeviceMaster);
        Open(c.product);
        EXPECT_TRUE(page->RecordPathEdit()->isVisible()) << c.product;
        EXPECT_TRUE(page->SnapshotPathEdit()->isVisible()) << c.product;
        for (QWidget* w : {static_cast<QWidget*>(page->AlarmSoundEdit()), static_cast<QWidget*>(page->AlarmSoundButton())})
            EXPECT_EQ(w->isVisible(), c.soundRow) << c.product;
        // The sound is the settings' again, over what the sheet was opened with.
        EXPECT_EQ(page->AlarmSoundEdit()->text().toStdString(), app.CSettingINI.m_strTriggerWavPath.Get());
    }
}

TEST_F(RecordPageTest, ATypedFolderIsKeptAndABrowserCancelKeepsTheText) {
    Open("R47T");
    EXPECT_EQ(page->RecordPathEdit()->text().toStdString(), prefill.recordPath);
    page->RecordPathEdit()->clear();
    QTest::keyClicks(page->RecordPathEdit(), "/typed/video");

    OnModal<session::CDlgGetPath>([](session::CDlgGetPath& browser) { browser.reject(); });
    QTest::mouseClick(page->RecordPathButton(), Qt::LeftButton);
    EXPECT_EQ(page->RecordPathEdit()->text(), "/typed/video");

    fs::create_directories(folder.path() / "Stick");
    OnModal<session::CDlgGetPath>([&](session::CDlgGetPath& browser) {
        EXPECT_EQ(browser.GetPath(), prefill.snapshotPath) << "starts at the text";
        QTreeWidgetItem* stick = testutil::OpenFolderItem(browser, folder.path() / "Stick");
        ASSERT_NE(stick, nullptr);
        browser.Tree()->setCurrentItem(stick);
        browser.accept();
    });
    QTest::mouseClick(page->SnapshotPathButton(), Qt::LeftButton);
    const std::string stick = (folder.path() / "Stick").string() + "/";
    EXPECT_EQ(page->SnapshotPathEdit()->text().toStdString(), stick);

    SheetPageValues values;
    page->ContributeSettings(values);
    EXPECT_EQ(values.recordPath, "/typed/video");
    EXPECT_EQ(values.snapshotPath, stick);
}

TEST_F(RecordPageTest, TheAlarmSoundIsAWavFileChosenInTheFileDialog) {
    Open("G66M");
    EXPECT_TRUE(page->AlarmSoundEdit()->isReadOnly());
    const QString before = page->AlarmSoundEdit()->text();
    std::ofstream(folder.path() / "BELL.WAV") << "RIFF";

    OnModal<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
    QTest::mouseClick(page->AlarmSoundButton(), Qt::LeftButton);
    EXPECT_EQ(page->AlarmSoundEdit()->text(), before);

    const QString bell = QString::fromStdString((folder.path() / "BELL.WAV").string());
    OnModal<QFileDialog>([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.nameFilters(), QStringList{"WAV files (*.wav)"});
        dialog.selectFile(bell);
        auto* buttons = dialog.findChild<QDialogButtonBox*>("buttonBox");
        ASSERT_NE(buttons, nullptr);
        QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
    });
    QTest::mouseClick(page->AlarmSoundButton(), Qt::LeftButton);
    EXPECT_EQ(page->AlarmSoundEdit()->text(), bell);
    SheetPageValues values;
    page->ContributeSettings(values);
    EXPECT_EQ(values.triggerWavPath, bell.toStdString());
}

// ---- In the sheet ---------------------------------------------------------

TEST(RecordAlarmPagesInSheet, ApplyTakesTheThreeSettingsAndMakesBothFolders) {
    testutil::TempFolder folder;
    for (const bool opened : {false, true}) {
        testutil::SheetRun run("R47T");
        const std::string tag = opened ? "opened" : "unopened";
        run.app.CSettingINI.m_strRecordPath = (folder.path() / tag / "video").string();
        run.app.CSettingINI.m_strSnapshotPath = (folder.path() / tag / "pictures").string();
        run.app.CSettingINI.m_strTriggerWavPath = "/sounds/alarm.wav";
        run.Open();
        EXPECT_NE(dynamic_cast<AlarmDataPage*>(run.sheet->PageFor(SheetPageId::AlarmData)), nullptr);
        std::string record = run.app.CSettingINI.m_strRecordPath.Get();
        if (opened) {
            auto* page = run.Show<RecordPage>(SheetPageId::RecordPaths);
            ASSERT_NE(page, nullptr);
            record = (folder.path() / tag / "typed").string();
            page->RecordPathEdit()->setText(QString::fromStdString(record));
        }
        run.app.CSettingINI.m_strRecordPath = "changed meanwhile";
        run.Apply();
        EXPECT_EQ(run.app.CSettingINI.m_strRecordPath.Get(), record) << tag;
        EXPECT_EQ(run.app.CSettingINI.m_strSnapshotPath.Get(), (folder.path() / tag / "pictures").string()) << tag;
        EXPECT_EQ(run.app.CSettingINI.m_strTriggerWavPath.Get(), "/sounds/alarm.wav") << tag;
        EXPECT_TRUE(fs::is_directory(record)) << tag;
        EXPECT_TRUE(fs::is_directory(folder.path() / tag / "pictures")) << tag;
    }
}

}  // namespace
}  // namespace config
