// The Write CD Setting dialog: what each opening shows, what it keeps, how it ends.
#include "recording/gui/WriteCdSettingDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "fakes/FakeBurnEngine.h"
#include "recording/backup/CdBackupWriter.h"
#include "recording/gui/WriteCdSettingDialogTemplate.h"
#include "support/ChildWidget.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"

using namespace recording;
using testutil::Child;

namespace {

class WriteCdSettingDialogTest : public ::testing::Test {
protected:
    // Runs one dialog; `act` works on it once it is shown and must end it.
    int Run(WriteCdSettingDialog& dialog, const std::function<void(WriteCdSettingDialog&)>& act) {
        QTimer::singleShot(0, &dialog, [&] { act(dialog); });
        return dialog.exec();
    }

    session::AppData app;
    CdBackupWriter writer{app, std::make_unique<fakes::FakeBurnEngine>()};
    const std::vector<std::string> drives{"DRIVE A", "Image Recorder"};
};

TEST_F(WriteCdSettingDialogTest, EachOpeningShowsTheFileTheStoredCloseChoiceAndNoInstaller) {
    app.CSettingINI.m_dwWriteCDClose = 1;
    {
        WriteCdSettingDialog dialog(app.CSettingINI, writer);
        ASSERT_EQ(dialog.Setup("/backup/CH03_0012.dvr", drives, 2, 1, 5 * 1048576), 1);
        EXPECT_EQ(writer.m_dwRecordSize, 5u * 1048576);
        const int result = Run(dialog, [](WriteCdSettingDialog& d) {
            EXPECT_EQ(Child<QLineEdit>(d, "fileName")->text(), "CH03_0012.dvr");
            EXPECT_EQ(Child<QLineEdit>(d, "sourcePath")->text(), "/backup/CH03_0012.dvr");
            EXPECT_TRUE(Child<QCheckBox>(d, "closeSession")->isChecked());
            EXPECT_FALSE(Child<QCheckBox>(d, "attachPlayer")->isChecked());
            EXPECT_EQ(Child<QComboBox>(d, "drives")->count(), 2);
            QTest::mouseClick(Child<QCheckBox>(d, "closeSession"), Qt::LeftButton);
            QTest::mouseClick(Child<QCheckBox>(d, "attachPlayer"), Qt::LeftButton);
            Child<QComboBox>(d, "drives")->setCurrentIndex(1);
            QTest::keyClicks(Child<QLineEdit>(d, "fileName"), "X");
            QTest::mouseClick(Child<QPushButton>(d, "ok"), Qt::LeftButton);
        });
        EXPECT_EQ(result, 1);
        EXPECT_EQ(dialog.m_bCloseSession, 0);
        EXPECT_EQ(dialog.m_nDriveIndex, 1);
        EXPECT_EQ(dialog.m_strFolder + dialog.m_strFileName, "/backup/CH03_0012.dvrX");
        EXPECT_EQ(app.CSettingINI.m_dwWriteCDClose, 0u);
        EXPECT_EQ(app.CSettingINI.m_dwWritePlayerSetup, 1u);
    }
    WriteCdSettingDialog again(app.CSettingINI, writer);
    ASSERT_EQ(again.Setup("/backup/CH03_0012.dvr", drives, 2, 1, 0), 1);
    Run(again, [this](WriteCdSettingDialog& d) {
        EXPECT_EQ(Child<QLineEdit>(d, "fileName")->text(), "CH03_0012.dvr");
        EXPECT_FALSE(Child<QCheckBox>(d, "closeSession")->isChecked());
        EXPECT_FALSE(Child<QCheckBox>(d, "attachPlayer")->isChecked());
        EXPECT_EQ(app.CSettingINI.m_dwWritePlayerSetup, 0u);
        d.accept();
    });
}

TEST_F(WriteCdSettingDialogTest, CancelButtonEscapeAndCloseBoxAllEndWithTwo) {
    const std::vector<std::function<void(WriteCdSettingDialog&)>> ways{
        [](WriteCdSettingDialog& d) { QTest::mouseClick(Child<QPushButton>(d, "cancelWrite"), Qt::LeftButton); },
        [](WriteCdSettingDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](WriteCdSettingDialog& d) { d.close(); },
    };
    for (const auto& way : ways) {
        WriteCdSettingDialog dialog(app.CSettingINI, writer);
        ASSERT_EQ(dialog.Setup("/backup/a.dvr", drives, 2, 1, 0), 1);
        EXPECT_EQ(Run(dialog, way), 2);
    }
}

TEST_F(WriteCdSettingDialogTest, StandsWhereItsTemplatePutsItWithNothingCut) {
    testutil::ExpectTemplateGeometry(kWriteCdSettingTemplate,
                                     [&] { return std::make_unique<WriteCdSettingDialog>(app.CSettingINI, writer); });
    WriteCdSettingDialog dialog(app.CSettingINI, writer);
    dialog.show();
    testutil::ExpectNothingCut(dialog, "write-cd-dialog");
}

TEST_F(WriteCdSettingDialogTest, ALongSourcePathShowsFromItsStart) {
    const std::string path = "/home/operator/quenlo/backups/2026-12-11/front-door/CH03_0012.dvr";
    WriteCdSettingDialog dialog(app.CSettingINI, writer);
    ASSERT_EQ(dialog.Setup(path, drives, 2, 1, 0), 1);
    Run(dialog, [&](WriteCdSettingDialog& d) {
        auto* source = Child<QLineEdit>(d, "sourcePath");
        EXPECT_EQ(source->text().toStdString(), path);
        // Wider than the field, so only the cursor's place decides which end shows.
        EXPECT_GT(source->fontMetrics().horizontalAdvance(source->text()), source->width());
        EXPECT_EQ(source->cursorPosition(), 0);
        EXPECT_LT(source->inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), source->width() / 2);
        d.accept();
    });
}

TEST_F(WriteCdSettingDialogTest, NoDriveMeansNoDialog) {
    WriteCdSettingDialog dialog(app.CSettingINI, writer);
    EXPECT_EQ(dialog.Setup("/backup/a.dvr", {}, 0, 1, 0), 0);
    EXPECT_EQ(dialog.m_nDriveCount, 0);
}

}  // namespace
