// The motion-area editor offscreen, fed by a fake frame display: the picture
// shown at display size, clicks and the two buttons on the mask, the number
// fields and alarm names, and closing while the feed stalls.

#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "config/gui/MotionAreaDialog.h"
#include "config/gui/MotionAreaDialogTemplate.h"
#include "config/motion/MotionOverlay.h"
#include "fakes/FakeFrameDisplay.h"
#include "fakes/TestPictures.h"
#include "support/ChildWidget.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"
#include "support/WaitUntil.h"
#include "support/WaitWithEvents.h"

namespace config {
namespace {

using testutil::Child;

QColor Screen(BgrColour c) { return QColor(c.r, c.g, c.b); }
QColor Screen(testpictures::Bgr c) { return QColor(c.r, c.g, c.b); }
BgrColour Colour(testpictures::Bgr c) { return {c.b, c.g, c.r}; }

struct EditorRun {
    explicit EditorRun(std::uint8_t videoMode = 0, std::uint32_t capability = 0) {
        app.by_VideoMode = videoMode;
        app.by_VideoSizeFamily = videoMode;
        app.dw_DeviceCapability = capability;
        app.w_ImageWidth = 640;
        app.w_ImageHeight = 228;
    }
    session::AppData app;
};

DetectionRow SampleRow() {
    DetectionRow row;
    row.detection = 1;
    row.ls = 3;
    row.ss = 4;
    row.ts = 5;
    row.re = 20;
    row.alarmType = 1;
    row.area[5] = 0x81;
    return row;
}

TEST(MotionAreaDialog, StandsWhereItsTemplatePutsItWithNothingCut) {
    EditorRun run;
    testutil::ExpectTemplateGeometry(kMotionAreaDialogTemplate, [&] {
        return std::make_unique<MotionAreaDialog>(run.app, SampleRow(), QStringLiteral("16"));
    });
    MotionAreaDialog editor(run.app, SampleRow(), QStringLiteral("16"));
    editor.show();
    testutil::ExpectNothingCut(editor, "motion-area-dialog");
}

TEST(MotionAreaDialog, ShowsTheDoubledPictureAtDisplaySizeAndEditsTheMask) {
    EditorRun run;
    testutil::FakeFrameDisplay display(run.app, testpictures::QuadrantPicture(640, 456), 640, 456);
    const DetectionRow row = SampleRow();
    MotionAreaDialog editor(run.app, row, QStringLiteral(" 3"));
    editor.show();
    const int heightBefore = editor.height(), widthBefore = editor.width();
    EXPECT_EQ(Child<QLabel>(editor, "row")->text(), " 3");
    EXPECT_FALSE(Child<QPushButton>(editor, "selectAll")->isVisible());

    // Before "Ustaw" there is no picture and the mouse does nothing.
    QTest::mouseClick(&editor, Qt::LeftButton, {}, QPoint(60, 80));
    EXPECT_EQ(editor.Row(), row);

    QTest::mouseClick(Child<QPushButton>(editor, "setArea"), Qt::LeftButton);
    EXPECT_FALSE(Child<QPushButton>(editor, "setArea")->isEnabled());
    EXPECT_EQ(editor.height(), heightBefore + 228 + 20);
    EXPECT_TRUE(Child<QPushButton>(editor, "selectAll")->isVisible());
    const QRect picture = editor.PictureRect();
    EXPECT_EQ(picture, QRect((widthBefore - 320) / 2, 60, 320, 228));
    // The two buttons stand beside the picture, inside the dialog.
    EXPECT_GT(Child<QPushButton>(editor, "removeAll")->geometry().left(), picture.right());
    EXPECT_LT(Child<QPushButton>(editor, "removeAll")->geometry().right(), editor.width());
    ASSERT_TRUE(testutil::WaitWithEvents([&] { return display.copies.load() >= 2 && editor.PictureShown(); }));

    QImage grab = editor.grab().toImage();
    const QPoint topLeft = picture.topLeft();
    EXPECT_EQ(grab.pixelColor(topLeft + QPoint(40, 40)), Screen(testpictures::kTopLeft));
    EXPECT_EQ(grab.pixelColor(topLeft + QPoint(315, 40)), Screen(testpictures::kTopRight));
    EXPECT_EQ(grab.pixelColor(topLeft + QPoint(40, 225)), Screen(testpictures::kBottomLeft));
    EXPECT_EQ(grab.pixelColor(topLeft + QPoint(315, 225)), Screen(testpictures::kBottomRight));

    // The top-left cell toggles bit 0 of byte 1.
    QTest::mouseClick(&editor, Qt::LeftButton, {}, topLeft + QPoint(5, 5));
    DetectionRow expected = row;
    expected.area[1] ^= 0x01;
    EXPECT_EQ(editor.Row(), expected);

    QTest::mouseClick(Child<QPushButton>(editor, "selectAll"), Qt::LeftButton);
    EXPECT_EQ(editor.Row().area, MotionAreaMask{});
    QTest::mouseClick(Child<QPushButton>(editor, "removeAll"), Qt::LeftButton);
    MotionAreaMask removed;
    removed.fill(0xFF);
    EXPECT_EQ(editor.Row().area, removed);

    QTest::mouseMove(&editor, QPoint(2, 2));  // the pointer leaves the grid
    grab = editor.grab().toImage();
    for (int r = 0; r < kMotionRows; ++r)
        for (int c = 0; c < kMotionColumns; ++c) {
            const QPoint cell = topLeft + QPoint(20 * c, 19 * r);
            EXPECT_EQ(grab.pixelColor(cell), Screen(kRemovedBorder)) << c << "," << r;
            const auto quadrant = r < 6 ? (c < 8 ? testpictures::kTopLeft : testpictures::kTopRight)
                                        : (c < 8 ? testpictures::kBottomLeft : testpictures::kBottomRight);
            EXPECT_EQ(grab.pixelColor(cell + QPoint(10, 9)), Screen(TintRemoved(Colour(quadrant)))) << c << "," << r;
        }
    grab.save(QStringLiteral("/tmp/motion-area-editor.png"));
    editor.accept();
    EXPECT_FALSE(editor.FeedRunning());
}

TEST(MotionAreaDialog, NumberFieldsAndAlarmNames) {
    for (const std::uint32_t capability : {0x00u, 0x80u}) {
        EditorRun run(1, capability);
        MotionAreaDialog editor(run.app, SampleRow(), QStringLiteral(" 1"));
        editor.show();
        auto* alarm = Child<QComboBox>(editor, "alarmType");
        const QStringList names = capability ? QStringList{"N.O.", "N.C.", "OFF"} : QStringList{"LOW", "HIGH", "OFF"};
        ASSERT_EQ(alarm->count(), 3);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(alarm->itemText(i), names[i]);
        EXPECT_EQ(alarm->currentText(), names[1]);

        auto* ls = Child<QLineEdit>(editor, "ls");
        ls->clear();
        QTest::keyClicks(ls, "16");
        EXPECT_EQ(ls->text(), "15");
        auto* re = Child<QLineEdit>(editor, "re");
        re->clear();
        QTest::keyClicks(re, "7x0");
        EXPECT_EQ(re->text(), "61");
        const DetectionRow edited = editor.Row();
        EXPECT_EQ(edited.ls, 15);
        EXPECT_EQ(edited.re, 61);
        EXPECT_EQ(edited.alarmType, 1);

        // PAL: the picture area grows by 276 + 20.
        const int before = editor.height();
        editor.OnSetArea();
        EXPECT_EQ(editor.height(), before + 276 + 20);
        EXPECT_EQ(editor.PictureRect().size(), QSize(320, 276));
    }
}

TEST(MotionAreaDialog, UnknownListValuesAreKept) {
    EditorRun run;
    DetectionRow row = SampleRow();
    row.detection = 4;
    row.alarmType = 7;
    MotionAreaDialog editor(run.app, row, QStringLiteral(" 2"));
    EXPECT_EQ(Child<QComboBox>(editor, "detection")->currentIndex(), -1);
    EXPECT_EQ(Child<QComboBox>(editor, "alarmType")->currentIndex(), -1);
    EXPECT_EQ(editor.Row(), row);
}

TEST(MotionAreaDialog, ClosingWhileTheFeedStallsEndsTheGrabber) {
    EditorRun run;
    testutil::FakeFrameDisplay display(run.app, testpictures::QuadrantPicture(640, 456), 640, 456);
    display.serving = false;
    MotionAreaDialog editor(run.app, SampleRow(), QStringLiteral(" 1"));
    editor.show();
    editor.OnSetArea();
    ASSERT_TRUE(testutil::WaitUntil([&] { return run.app.dw_FrameCopyRequest.load() == 1; }));
    EXPECT_TRUE(editor.FeedRunning());
    // With no picture the two buttons still work.
    QTest::mouseClick(Child<QPushButton>(editor, "removeAll"), Qt::LeftButton);
    EXPECT_EQ(editor.Row().area[0], 0xFF);
    editor.reject();
    EXPECT_FALSE(editor.FeedRunning());
    EXPECT_EQ(run.app.dw_FrameCopyRequest.load(), 0u);
}

TEST(MotionAreaDialog, EscapeCancels) {
    EditorRun run;
    MotionAreaDialog editor(run.app, SampleRow(), QStringLiteral(" 1"));
    QTimer::singleShot(0, &editor, [&] { QTest::keyClick(&editor, Qt::Key_Escape); });
    EXPECT_EQ(editor.exec(), QDialog::Rejected);
}

}  // namespace
}  // namespace config
