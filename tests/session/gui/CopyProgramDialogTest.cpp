// The copy-program dialog offscreen, copying between temporary folders.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "session/files/ProfileFile.h"
#include "session/files/SettingsFile.h"
#include "support/TempFolder.h"
#include "support/ChildWidget.h"
#include "session/gui/CopyProgramDialog.h"
#include "session/gui/CopyProgramDialogTemplate.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"

namespace fs = std::filesystem;
using namespace session;
using namespace std::chrono_literals;
using testutil::Child;

namespace {

class CopyProgramDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(folder.path() / "program");
        fs::create_directories(folder.path() / "copy");
        timing.copyProgramStartDelay = 50ms;
    }
    fs::path Source() const { return folder.path() / "program"; }
    fs::path Destination() const { return folder.path() / "copy"; }

    testutil::TempFolder folder;
    CSettingINI settings;
    platform::Timing timing;
};

}  // namespace

TEST_F(CopyProgramDialogTest, StandsWhereItsTemplatePutsItWithNothingCutAndTheReportBelow) {
    const auto make = [&] {
        return std::make_unique<CopyProgramDialog>(nullptr, Source(), Destination(), settings, timing);
    };
    // The report below the template's area makes the window taller than the template; the controls stand as given.
    testutil::ExpectTemplateGeometry(kCopyProgramDialogTemplate, [&] {
        auto dialog = make();
        dialog->setFixedSize(gui::TemplateSize(kCopyProgramDialogTemplate));
        return dialog;
    });
    auto dialog = make();
    dialog->show();
    const QRect report = Child<QLabel>(*dialog, "copyReport")->geometry();
    EXPECT_GE(report.top(), gui::TemplateSize(kCopyProgramDialogTemplate).height());
    EXPECT_TRUE(dialog->rect().contains(report));
    Child<QLabel>(*dialog, "copyPercent")->setText("100%");
    testutil::ExpectNothingCut(*dialog, "copy-program-dialog");
}

TEST_F(CopyProgramDialogTest, ShowsEveryFilesPercentageThenEnablesOkAndReportsWhatIsMissing) {
    folder.Write("program/quenlo", "program");
    folder.Write("program/Setting.ini", "[Quenlo]\r\nServerName=10.0.0.7\r\n");
    fs::create_directories(Destination() / "CtrlFile.ini" / "in the way");
    folder.Write("program/CtrlFile.ini", "records");

    CopyProgramDialog dialog(nullptr, Source(), Destination(), settings, timing);
    QStringList shown;
    QObject::connect(&dialog, &CopyProgramDialog::percentShown, [&](const QString& t) { shown << t; });
    QSignalSpy finished(&dialog, &CopyProgramDialog::copyFinished);
    auto* ok = Child<QPushButton>(dialog, "okButton");
    EXPECT_EQ(Child<QLabel>(dialog, "copyPercent")->text(), "  0%");

    dialog.show();
    EXPECT_FALSE(ok->isEnabled());
    ASSERT_TRUE(finished.wait(10000));

    // One text per listed file: "  0%" for the first seven, "  1%" from the eighth, "100%" at the end.
    ASSERT_EQ(shown.size(), 784);
    EXPECT_EQ(shown.count("  0%"), 7);
    EXPECT_EQ(shown[7], "  1%");
    EXPECT_EQ(shown.last(), "100%");
    EXPECT_EQ(Child<QProgressBar>(dialog, "copyProgress")->value(), 100);
    EXPECT_TRUE(ok->isEnabled());

    const CopyProgramReport& report = dialog.Report();
    EXPECT_EQ(report.failed, std::vector<std::string>{"CtrlFile.ini"});
    EXPECT_EQ(report.copied, 2u);
    const QString text = Child<QLabel>(dialog, "copyReport")->text();
    EXPECT_EQ(text.toStdString(),
              "Copied to " + Destination().string() + ": the program (quenlo) and the settings (Setting.ini).\n"
              "Not in the program folder, so not in the copy: the alarm list (AlarmData.dat), the alarm sound "
              "(alarm.wav) and the companion player (ravelle).\n"
              "The copy is incomplete: 1 file could not be written (CtrlFile.ini).");

    ProfileFile copied;
    ASSERT_TRUE(copied.Load(Destination() / "Setting.ini"));
    EXPECT_EQ(copied.Get("Quenlo", "Record Path"), Destination().string() + "/");
    EXPECT_EQ(copied.Get("Quenlo", "Snapshot Path"), Destination().string() + "/");
    EXPECT_EQ(copied.Get("Quenlo", "Trigger Wav Path"), Destination().string() + "/alarm.wav");
    EXPECT_EQ(copied.Get("Quenlo", "ServerName"), "10.0.0.7");

    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(CopyProgramDialogTest, EscapeBeforeTheCopyStartsEndsWithTwoAndCopiesNothing) {
    folder.Write("program/quenlo", "program");
    timing.copyProgramStartDelay = 300ms;
    CopyProgramDialog dialog(nullptr, Source(), Destination(), settings, timing);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), CopyProgramDialog::kClosed);
    QTest::qWait(400);
    EXPECT_FALSE(dialog.Finished());
    EXPECT_TRUE(fs::is_empty(Destination()));
}
