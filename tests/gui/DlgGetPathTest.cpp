#include "gui/DlgGetPath.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>

#include "support/FolderBrowser.h"
#include "support/TempFolder.h"

namespace {

using session::CDlgGetPath;

// Runs the dialog modally while `act` works it, from the event loop.
int RunWith(CDlgGetPath& dialog, std::function<void()> act) {
    QTimer::singleShot(0, &dialog, act);
    return dialog.exec();
}

TEST(DlgGetPathTest, TheChosenFolderComesBackWithASlashInItsOwnCase) {
    testutil::TempFolder folder;
    std::filesystem::create_directories(folder.path() / "TEMP");
    CDlgGetPath dialog;
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Ścieżka docelowa"));
    dialog.SetPath("/start/");
    const int result = RunWith(dialog, [&] {
        QTreeWidgetItem* temp = testutil::OpenFolderItem(dialog, folder.path() / "TEMP");
        ASSERT_NE(temp, nullptr);
        EXPECT_EQ(temp->text(0), "TEMP");
        dialog.Tree()->setCurrentItem(temp);
        dialog.findChild<QPushButton*>("okButton")->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.GetPath(), (folder.path() / "TEMP").string() + "/");
}

TEST(DlgGetPathTest, CancelOrNoSelectionKeepsTheStartPath) {
    for (const char* button : {"cancelButton", "okButton"}) {
        CDlgGetPath dialog;
        dialog.SetPath("/start/");
        RunWith(dialog, [&] {
            if (std::string(button) == "cancelButton")
                dialog.Tree()->setCurrentItem(dialog.Tree()->topLevelItem(0));
            dialog.findChild<QPushButton*>(button)->click();
        });
        EXPECT_EQ(dialog.GetPath(), "/start/") << button;
    }
}

TEST(DlgGetPathTest, AFolderOpenedTheFirstTimeBecomesTheSelectionAndLosesItsMarkWhenEmpty) {
    testutil::TempFolder folder;
    std::filesystem::create_directories(folder.path() / "full" / "inner");
    std::filesystem::create_directories(folder.path() / "empty");
    CDlgGetPath dialog;
    QTreeWidgetItem* empty = testutil::OpenFolderItem(dialog, folder.path() / "empty");
    QTreeWidgetItem* full = testutil::OpenFolderItem(dialog, folder.path() / "full");
    ASSERT_TRUE(empty && full);
    EXPECT_EQ(empty->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    empty->setExpanded(true);
    EXPECT_EQ(empty->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
    EXPECT_TRUE(empty->isSelected());
    full->setExpanded(true);
    EXPECT_EQ(full->childCount(), 1);
    EXPECT_TRUE(full->isSelected());
    EXPECT_EQ(CDlgGetPath::GetItemPath(full->child(0)), (folder.path() / "full" / "inner").string() + "/");
}

}  // namespace
