// The generated skin set: every picture at its size, and windows that load it
// find every picture they ask for.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include <algorithm>
#include <set>

#include "gui/VtxButton.h"
#include "session/AppData.h"
#include "session/devices/PanelButtonTable.h"
#include "session/gui/LoginDialog.h"
#include "skins/SkinSet.h"
#include "skins/SkinTable.h"
#include "support/TempFolder.h"

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

class SkinSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        const skins::SkinSetResult result = skins::WriteSkinSet(folder.path());
        ASSERT_TRUE(result.failed.empty()) << result.failed.front();
        ASSERT_EQ(result.written, skins::SkinPictures().size());
    }
    testutil::TempFolder folder;
};

TEST_F(SkinSetTest, EveryPictureIsWrittenOnceAtItsSize) {
    std::set<std::string> names;
    for (const skins::SkinPicture& picture : skins::SkinPictures()) {
        EXPECT_TRUE(names.insert(Lower(picture.name)).second) << "twice: " << picture.name;
        const QImage image(QString::fromStdString((folder.path() / picture.name).string()));
        ASSERT_FALSE(image.isNull()) << picture.name;
        EXPECT_EQ(image.size(), QSize(picture.width, picture.height)) << picture.name;
    }
}

TEST_F(SkinSetTest, TheLoginDialogFindsAllItsPictures) {
    session::AppData app;
    app.CSettingINI.m_strAppPath.Set(folder.path().string() + "/");
    session::LoginDialog dialog(app);
    const auto buttons = dialog.findChildren<session::CVtxButton*>();
    ASSERT_EQ(buttons.size(), 11);
    for (const session::CVtxButton* button : buttons)
        EXPECT_TRUE(button->HasPictures()) << button->objectName().toStdString();
    EXPECT_TRUE(dialog.SkinComplete());
}

}  // namespace

namespace {

TEST(PanelSkinTest, EveryControlPanelPictureIsInTheSet) {
    std::set<std::string> names;
    for (const auto& picture : skins::SkinPictures())
        names.insert(Lower(picture.name));
    for (const auto& type : mainwindow::kLinkedDeviceTypes)
        for (const auto& button : type.Buttons)
            for (std::string_view name : button.pszBitmaps)
                if (!name.empty()) {
                    EXPECT_TRUE(names.count(Lower(std::string(name)))) << name;
                }
}

}  // namespace

namespace {

// The desktop entry's icon: a PNG the size icon themes file it under.
TEST(ProgramIconTest, IsASquarePngOfTheSkin) {
    testutil::TempFolder folder;
    ASSERT_TRUE(skins::WriteProgramIcon(folder.path() / "quenlo.png"));
    const QImage icon(QString::fromStdString((folder.path() / "quenlo.png").string()), "PNG");
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.size(), QSize(64, 64));
    EXPECT_NE(icon.pixelColor(32, 32), icon.pixelColor(1, 1)) << "a glyph on its ground";
}

}  // namespace
