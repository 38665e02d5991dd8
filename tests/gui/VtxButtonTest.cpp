#include "gui/VtxButton.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QTest>

#include <map>
#include <string>

#include "support/TempFolder.h"

namespace {

using session::CVtxButton;
using Shown = CVtxButton::Shown;

// A skin of solid-colour pictures, one colour per file.
const std::map<std::string, QColor> kColours{
    {"flat.bmp", QColor(255, 0, 0)},     {"focus.bmp", QColor(0, 255, 0)},    {"selected.bmp", QColor(0, 0, 255)},
    {"s0.bmp", QColor(10, 10, 10)},      {"s0h.bmp", QColor(20, 20, 20)},     {"s1.bmp", QColor(30, 30, 30)},
    {"s1h.bmp", QColor(40, 40, 40)},     {"s2.bmp", QColor(50, 50, 50)},      {"s2h.bmp", QColor(60, 60, 60)},
    {"single.bmp", QColor(200, 200, 0)},
};

class VtxButtonTest : public ::testing::Test {
protected:
    void WriteSkin() {
        std::filesystem::create_directories(folder.path() / "BMP");
        for (const auto& [name, colour] : kColours) {
            QImage picture(30, 20, QImage::Format_RGB32);
            picture.fill(colour);
            ASSERT_TRUE(picture.save(QString::fromStdString((folder.path() / "BMP" / name).string()), "BMP"));
        }
    }
    static QColor Centre(CVtxButton& button) { return button.grab().toImage().pixelColor(15, 10); }
    static void Enter(CVtxButton& button) {
        QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(&button, &event);
    }
    static void Leave(CVtxButton& button) {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(&button, &event);
    }
    std::unique_ptr<CVtxButton> Make() {
        auto button = std::make_unique<CVtxButton>();
        button->resize(30, 20);
        button->setText("A");
        button->show();
        return button;
    }

    testutil::TempFolder folder;
    const CVtxButton::StatePair twoStates[2]{{"BMP/s0.bmp", "BMP/s0h.bmp"}, {"BMP/s1.bmp", "BMP/s1h.bmp"}};
    const CVtxButton::StatePair threeStates[3]{
        {"BMP/s0.bmp", "BMP/s0h.bmp"}, {"BMP/s1.bmp", "BMP/s1h.bmp"}, {"BMP/s2.bmp", "BMP/s2h.bmp"}};
};

TEST_F(VtxButtonTest, AStateClickButtonAdvancesBeforeItsOwnerSeesTheClickWithOrWithoutPictures) {
    for (bool skin : {false, true}) {
        if (skin)
            WriteSkin();
        auto button = Make();
        EXPECT_EQ(button->LoadButtonBitmap(folder.path(), twoStates, CVtxButton::VTX_STATE_CLICK), skin);
        EXPECT_EQ(button->Style(), CVtxButton::VTX_STATE_CLICK);
        std::vector<int> seen;
        QObject::connect(button.get(), &QAbstractButton::clicked, [&] { seen.push_back(button->ImageIndex()); });
        const QImage before = button->grab().toImage();
        QTest::mouseClick(button.get(), Qt::LeftButton);
        EXPECT_EQ(button->ImageIndex(), 1);
        const QImage afterOne = button->grab().toImage();
        QTest::mouseClick(button.get(), Qt::LeftButton);
        EXPECT_EQ(button->ImageIndex(), 0);
        EXPECT_EQ(seen, (std::vector<int>{1, 0}));
        EXPECT_NE(afterOne, before) << "skin " << skin;
        EXPECT_EQ(button->grab().toImage(), before);
        if (skin) {
            EXPECT_EQ(afterOne.pixelColor(15, 10), QColor(30, 30, 30));
        }
    }
}

TEST_F(VtxButtonTest, SetImageStateKeepsTheStateOutOfRangeAndNeedsStatePictures) {
    WriteSkin();
    auto button = Make();
    button->LoadButtonBitmap(folder.path(), twoStates, CVtxButton::VTX_STATE_HOVER);
    EXPECT_EQ(button->SetImageState(1), 1);
    EXPECT_EQ(button->SetImageState(5), 1);
    EXPECT_EQ(button->ImageIndex(), 1);
    EXPECT_EQ(Centre(*button), QColor(30, 30, 30));
    // A reload with new pairs keeps the index; one with fewer states shows the last.
    button->LoadButtonBitmap(folder.path(), threeStates, CVtxButton::VTX_STATE_HOVER);
    EXPECT_EQ(button->ImageIndex(), 1);
    EXPECT_EQ(button->SetImageState(2), 1);
    button->LoadButtonBitmap(folder.path(), std::span(twoStates, 1), CVtxButton::VTX_STATE_HOVER);
    EXPECT_EQ(button->ImageIndex(), 0);
    EXPECT_EQ(button->ImageCount(), 1);

    auto three = Make();
    three->LoadButtonBitmap(folder.path(), "BMP/flat.bmp", "BMP/focus.bmp", "BMP/selected.bmp",
                            CVtxButton::VTX_PUSH_HOVER);
    EXPECT_EQ(three->SetImageState(0), -1);
    EXPECT_EQ(Centre(*three), QColor(255, 0, 0));
}

TEST_F(VtxButtonTest, PushButtonsShowThePressWhileHeldAndHoverOnlyWhereTheStyleSaysSo) {
    WriteSkin();
    auto push = Make();
    push->LoadButtonBitmap(folder.path(), "BMP/flat.bmp", "BMP/focus.bmp", "BMP/selected.bmp", CVtxButton::VTX_PUSH);
    Enter(*push);
    EXPECT_FALSE(push->MouseOver());
    EXPECT_EQ(Centre(*push), QColor(255, 0, 0));
    QTest::mousePress(push.get(), Qt::LeftButton);
    EXPECT_TRUE(push->HeldDown());
    EXPECT_EQ(Centre(*push), QColor(0, 0, 255));
    QTest::mouseRelease(push.get(), Qt::LeftButton);
    EXPECT_EQ(Centre(*push), QColor(255, 0, 0));

    auto pushHover = Make();
    pushHover->LoadButtonBitmap(folder.path(), "BMP/flat.bmp", "BMP/focus.bmp", "BMP/selected.bmp",
                                CVtxButton::VTX_PUSH_HOVER);
    Enter(*pushHover);
    EXPECT_TRUE(pushHover->MouseOver());
    EXPECT_EQ(Centre(*pushHover), QColor(0, 255, 0));
    QTest::mousePress(pushHover.get(), Qt::LeftButton);
    EXPECT_EQ(Centre(*pushHover), QColor(0, 0, 255));
    Leave(*pushHover);
    EXPECT_EQ(Centre(*pushHover), QColor(255, 0, 0));
    QTest::mouseRelease(pushHover.get(), Qt::LeftButton);
    EXPECT_FALSE(pushHover->HeldDown());
    EXPECT_EQ(Centre(*pushHover), QColor(255, 0, 0));
}

TEST_F(VtxButtonTest, EveryStyleShowsItsPictureAndDrawsAReplacementWithoutOne) {
    struct Case {
        std::uint16_t style;
        bool enter;
        bool press;
        QColor skinned;
    };
    const Case cases[] = {
        {CVtxButton::VTX_HOVER, true, false, QColor(0, 255, 0)},
        {CVtxButton::VTX_HOVER, true, true, QColor(0, 255, 0)},
        {CVtxButton::VTX_PUSH, true, true, QColor(0, 0, 255)},
        {CVtxButton::VTX_STATE_CLICK, false, true, QColor(30, 30, 30)},
        {CVtxButton::VTX_STATE_CLICK, true, false, QColor(20, 20, 20)},
        {CVtxButton::VTX_PUSH_HOVER, false, true, QColor(0, 0, 255)},
        {CVtxButton::VTX_STATE_HOVER, true, false, QColor(20, 20, 20)},
        {CVtxButton::VTX_SINGLE, true, true, QColor(200, 200, 0)},
    };
    auto load = [&](CVtxButton& b, std::uint16_t style) {
        if (style == CVtxButton::VTX_SINGLE)
            b.LoadButtonBitmap(folder.path(), "BMP/single.bmp", style);
        else if (style == CVtxButton::VTX_STATE_CLICK || style == CVtxButton::VTX_STATE_HOVER)
            b.LoadButtonBitmap(folder.path(), twoStates, style);
        else
            b.LoadButtonBitmap(folder.path(), "BMP/flat.bmp", "BMP/focus.bmp", "BMP/selected.bmp", style);
    };
    auto act = [](CVtxButton& b, const Case& c) {
        if (c.enter)
            Enter(b);
        if (c.press)
            QTest::mousePress(&b, Qt::LeftButton);
    };
    // Without BMP/: every style still reacts, drawn at the button's size.
    for (const Case& c : cases) {
        auto plain = Make();
        load(*plain, c.style);
        EXPECT_FALSE(plain->HasPictures());
        const QImage idle = plain->grab().toImage();
        act(*plain, c);
        const QImage after = plain->grab().toImage();
        EXPECT_EQ(after.size(), QSize(30, 20));
        EXPECT_EQ(idle != after, c.style != CVtxButton::VTX_SINGLE) << std::hex << c.style;
        if (c.press)
            QTest::mouseRelease(plain.get(), Qt::LeftButton);
    }
    auto disabled = Make();
    disabled->setText(QString());
    disabled->setEnabled(false);
    EXPECT_EQ(Centre(*disabled).red(), Centre(*disabled).blue());  // grey

    WriteSkin();
    for (const Case& c : cases) {
        auto skinned = Make();
        load(*skinned, c.style);
        EXPECT_TRUE(skinned->HasPictures());
        act(*skinned, c);
        EXPECT_EQ(Centre(*skinned), c.skinned) << std::hex << c.style;
        if (c.press)
            QTest::mouseRelease(skinned.get(), Qt::LeftButton);
    }
}

TEST_F(VtxButtonTest, AMissingPictureFailsTheLoadButKeepsTheStyle) {
    WriteSkin();
    auto button = Make();
    EXPECT_FALSE(button->LoadButtonBitmap(folder.path(), "BMP/flat.bmp", "BMP/gone.bmp", "BMP/selected.bmp",
                                          CVtxButton::VTX_PUSH_HOVER));
    EXPECT_EQ(button->Style(), CVtxButton::VTX_PUSH_HOVER);
    EXPECT_EQ(Centre(*button), QColor(255, 0, 0));  // the flat picture loaded before the gap
    QTest::mousePress(button.get(), Qt::LeftButton);
    EXPECT_TRUE(button->HeldDown());
    EXPECT_NE(Centre(*button), QColor(0, 0, 255));  // drawn in place of the missing
    QTest::mouseRelease(button.get(), Qt::LeftButton);
}

}  // namespace
