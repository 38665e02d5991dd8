// The colour dialog against the simulated device: what it shows, what it
// sends and when, the number boxes and sliders, and how it looks with the
// skin and without it.
#include "mainwindow/gui/ColourAdjustDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QLineEdit>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include <chrono>
#include <filesystem>
#include <memory>

#include "gui/VtxButton.h"
#include "mainwindow/gui/ColourAdjustDialogTemplate.h"
#include "platform/ProgramFolder.h"
#include "session/AppData.h"
#include "simulator/DeviceSimulator.h"
#include "support/DeviceSession.h"
#include "support/TempFolder.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"
#include "support/WaitWithEvents.h"

namespace {

using mainwindow::ColourAdjustDialog;
using mainwindow::ColourValues;

constexpr std::size_t kBrightness = 0, kContrast = 1, kHue = 2;

class ColourAdjustDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetShippedFolders(std::vector<std::filesystem::path>{});
        ASSERT_TRUE(device.Start());
        testutil::JoinDevice(device, app, timing);
        app.CSettingINI.m_strAppPath = folder.path().string() + "/";
    }
    void TearDown() override {
        dialog.reset();
        app.h_DeviceCommandWorker.Stop();
        platform::SetShippedFolders(std::nullopt);
    }
    ColourAdjustDialog& Open(const char* product, ColourValues values) {
        app.str_ProductID = product;
        dialog = std::make_unique<ColourAdjustDialog>(app, timing, values);
        dialog->SetMessageSink([this](const QString& text) { messages << text; });
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return *dialog;
    }
    QString Box(std::size_t row) const { return dialog->Edit(row)->text(); }
    // Presses OK and waits for the answer.
    bool Apply() {
        bool finished = false, sent = false;
        auto connection = QObject::connect(dialog.get(), &ColourAdjustDialog::applyFinished, [&](bool ok) {
            finished = true;
            sent = ok;
        });
        QTest::mouseClick(dialog->Button(1), Qt::LeftButton);
        EXPECT_TRUE(testutil::WaitWithEvents([&] { return finished; }));
        QObject::disconnect(connection);
        return sent;
    }
    std::string LastSetTarget() const {
        const auto requests = device.RequestsFor("/SetColor.cgi");
        return requests.empty() ? std::string() : requests.back().target;
    }
    // Every picture the dialog loads, each a solid colour of its own.
    void WriteSkin() {
        std::filesystem::create_directories(folder.path() / "BMP");
        int shade = 0;
        for (const auto& piece : ColourAdjustDialog::kPieces) {
            QImage picture(piece.rect.size(), QImage::Format_RGB32);
            picture.fill(PieceColour(shade++));
            picture.save(QString::fromStdString((folder.path() / piece.file).string()));
        }
        for (const char* name : {"Dialog_ok", "Dialog_ok_over", "Dialog_apply", "Dialog_apply_over",
                                 "Dialog_default", "Dialog_default_over"}) {
            QImage picture(88, 25, QImage::Format_RGB32);
            picture.fill(QColor(200, 0, 200));
            picture.save(QString::fromStdString((folder.path() / "BMP" / (std::string(name) + ".bmp")).string()));
        }
    }
    static QColor PieceColour(int i) { return QColor(20 * i + 30, 255 - 20 * i, (i * 70) % 256); }

    testutil::TempFolder folder;
    devicesim::DeviceSimulator device;
    session::AppData app;
    platform::Timing timing;
    std::unique_ptr<ColourAdjustDialog> dialog;
    QStringList messages;
};

TEST_F(ColourAdjustDialogTest, AServerShowsItsValuesWithHalvesExchangedAndSendsThemBackUnchanged) {
    ColourAdjustDialog& d = Open("R47T", mainwindow::ParseColourReply("BRI=0;HUE=200;CON=90;"));
    EXPECT_EQ(Box(kBrightness), "128");
    EXPECT_EQ(Box(kHue), "72");
    EXPECT_EQ(Box(kContrast), "90");
    EXPECT_EQ(d.Slider(kHue)->value(), 72);
    EXPECT_FALSE(d.Slider(3)->isVisible());
    EXPECT_FALSE(d.Edit(3)->isVisible());
    ASSERT_TRUE(Apply());
    EXPECT_EQ(LastSetTarget(), "/SetColor.cgi?Cookie=C0FFEE&CON=90&BRI=0&HUE=200");
    EXPECT_TRUE(d.isVisible());
}

TEST_F(ColourAdjustDialogTest, DefaultChangesOnlyWhatIsShownUntilApply) {
    const struct {
        const char* product;
        const char* sent;
    } cases[] = {{"R47T", "/SetColor.cgi?Cookie=C0FFEE&CON=150&BRI=47&HUE=2"},
                 {"R41T", "/SetColor.cgi?Cookie=C0FFEE&CON=128&BRI=128&HUE=128"}};
    for (const auto& c : cases) {
        device.ClearRequests();
        ColourAdjustDialog& d = Open(c.product, {90, 0, 200});
        QTest::mouseClick(d.Button(ColourAdjustDialog::kDefaultButton), Qt::LeftButton);
        QTest::qWait(50);
        EXPECT_TRUE(device.RequestsFor("/SetColor.cgi").empty()) << c.product;
        ASSERT_TRUE(Apply());
        EXPECT_EQ(LastSetTarget(), c.sent);
    }
}

TEST_F(ColourAdjustDialogTest, NumberBoxesKeepDigitsClampAndMoveTheirSliders) {
    ColourAdjustDialog& d = Open("R41T", {90, 0, 200});
    QLineEdit* box = d.Edit(kContrast);
    box->selectAll();
    QTest::keyClicks(box, "300");
    EXPECT_EQ(box->text(), "255");
    EXPECT_EQ(d.Slider(kContrast)->value(), 255);
    // Letters pasted with digits: only the digits are kept.
    box->selectAll();
    box->insert("a1b2");
    EXPECT_EQ(box->text(), "12");
    EXPECT_EQ(d.Slider(kContrast)->value(), 12);
    // An emptied box brings back its number.
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), "12");
    EXPECT_EQ(d.Shown().contrast, 12);
}

TEST_F(ColourAdjustDialogTest, APageClickMovesOnePage) {
    ColourAdjustDialog& d = Open("R41T", {100, 0, 0});
    ASSERT_EQ(d.Slider(kContrast)->value(), 100);
    d.Slider(kContrast)->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(d.Slider(kContrast)->value(), 110);
    EXPECT_EQ(Box(kContrast), "110");
    d.Slider(kContrast)->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(Box(kContrast), "109");
}

// A press on a slider's track and a drag from there work the slider; the
// dialog moves only by a drag from its own background.
TEST_F(ColourAdjustDialogTest, OnlyTheBackgroundDragsTheDialog) {
    ColourAdjustDialog& d = Open("R41T", {100, 0, 0});
    const QPoint start = d.pos();
    // Pressed at `at` of the widget, then the pointer moves by `by` on the screen in steps.
    auto drag = [&](QWidget* from, QPoint at, QPoint by) {
        const QPoint pressed = from->mapToGlobal(at);
        QTest::mousePress(from, Qt::LeftButton, {}, at);
        for (int step = 1; step <= 4; ++step) {
            const QPoint global = pressed + by * step / 4;
            QMouseEvent move(QEvent::MouseMove, from->mapFromGlobal(global), global, Qt::NoButton, Qt::LeftButton,
                             {});
            QApplication::sendEvent(from, &move);
        }
        QTest::mouseRelease(from, Qt::LeftButton, {}, from->mapFromGlobal(pressed + by));
    };
    QSlider* slider = d.Slider(kContrast);
    // The track right of the handle, where the style has it: a page up,
    // whatever the move does after it.
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = option.sliderValue = slider->value();
    option.tickPosition = slider->tickPosition();
    option.tickInterval = slider->tickInterval();
    option.pageStep = slider->pageStep();
    option.singleStep = slider->singleStep();
    const QRect groove = slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, slider);
    drag(slider, QPoint(groove.right() - 3, groove.center().y()), QPoint(-120, 300));
    EXPECT_EQ(d.pos(), start);
    EXPECT_GT(slider->value(), 100);
    EXPECT_EQ(Box(kContrast), QString::number(slider->value()));

    // The grey body left of the sliders.
    drag(&d, QPoint(40, 75), QPoint(30, 20));
    EXPECT_EQ(d.pos(), start + QPoint(30, 20));
}

TEST_F(ColourAdjustDialogTest, EnterSendsAndStaysEscapeEndsWithoutARequest) {
    ColourAdjustDialog& d = Open("R41T", {90, 0, 200});
    bool finished = false;
    QObject::connect(&d, &ColourAdjustDialog::applyFinished, [&] { finished = true; });
    QTest::keyClick(d.Edit(kHue), Qt::Key_Return);
    EXPECT_TRUE(d.ApplyRunning());
    EXPECT_FALSE(d.isEnabled());  // until the answer
    ASSERT_TRUE(testutil::WaitWithEvents([&] { return finished; }));
    EXPECT_TRUE(d.isEnabled());
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(device.RequestsFor("/SetColor.cgi").size(), 1u);
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Rejected);
    QTest::qWait(50);
    EXPECT_EQ(device.RequestsFor("/SetColor.cgi").size(), 1u);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ColourAdjustDialogTest, ARefusedRequestShows4064AndKeepsTheValues) {
    ColourAdjustDialog& d = Open("R47T", {90, 0, 200});
    device.AddFault("/SetColor.cgi", devicesim::Fault::Status(500));
    EXPECT_FALSE(Apply());
    EXPECT_EQ(messages, QStringList{QString::fromUtf8("Minał czas wysyłania komendy")});
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(Box(kBrightness), "128");
    EXPECT_EQ(Box(kHue), "72");
    EXPECT_TRUE(d.isEnabled());
}

TEST_F(ColourAdjustDialogTest, TheCloseButtonEndsItWithoutARequest) {
    ColourAdjustDialog& d = Open("R41T", {90, 0, 200});
    EXPECT_FALSE(d.Button(ColourAdjustDialog::kCloseButton)->toolTip().isEmpty());
    EXPECT_EQ(d.Button(8523)->toolTip(), QString::fromUtf8("Jaskrawość"));
    EXPECT_EQ(d.Button(8525)->toolTip(), "nasycenie");
    QTest::mouseClick(d.Button(ColourAdjustDialog::kCloseButton), Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(device.RequestsFor("/SetColor.cgi").empty());
}

TEST_F(ColourAdjustDialogTest, TheSkinsPicturesSitAtTheirRectanglesAroundTheGreyBody) {
    WriteSkin();
    ColourAdjustDialog& d = Open("R47T", {90, 0, 200});
    const QImage shot = d.grab().toImage();
    shot.save("/tmp/quenlo-colour-dialog-skinned.png");
    ASSERT_EQ(shot.size(), QSize(304, 196));
    for (std::size_t i = 0; i < ColourAdjustDialog::kPieces.size(); ++i) {
        const QRect& rect = ColourAdjustDialog::kPieces[i].rect;
        EXPECT_EQ(shot.pixelColor(rect.center()), PieceColour(static_cast<int>(i))) << i;
    }
    EXPECT_EQ(shot.pixelColor(150, 40), QColor(221, 221, 221));
    EXPECT_EQ(shot.pixelColor(40, 172), QColor(200, 0, 200));  // the Default button's picture
    EXPECT_EQ(d.Button(1)->geometry(), QRect(125, 160, 88, 25));
    EXPECT_EQ(d.Button(2)->geometry(), QRect(216, 160, 44, 25));
    EXPECT_EQ(d.Slider(kHue)->geometry(), QRect(60, 127, 150, 20));
    EXPECT_EQ(d.Edit(kContrast)->geometry(), QRect(240, 87, 40, 20));
}

TEST_F(ColourAdjustDialogTest, StandsWhereItsTableInPixelsPutsItWithoutTickMarks) {
    testutil::ExpectTemplateGeometry(mainwindow::kColourAdjustDialogTemplate, [&] {
        return std::make_unique<ColourAdjustDialog>(app, timing, ColourValues{90, 0, 200});
    });
    ColourAdjustDialog& d = Open("R47T", {90, 0, 200});
    testutil::ExpectNothingCut(d, "colour-dialog");
    // No tick marks are drawn under the sliders: the body below them stays grey.
    const QImage shot = d.grab().toImage();
    const QRect slider = d.Slider(kBrightness)->geometry();
    EXPECT_EQ(shot.pixelColor(slider.center().x(), slider.bottom() + 2), QColor(221, 221, 221));
    EXPECT_EQ(d.Slider(kBrightness)->tickPosition(), QSlider::NoTicks);
}

TEST_F(ColourAdjustDialogTest, WithoutPicturesTheSameLayoutIsDrawn) {
    ColourAdjustDialog& d = Open("R41T", {90, 0, 200});
    const QImage shot = d.grab().toImage();
    shot.save("/tmp/quenlo-colour-dialog-drawn.png");
    EXPECT_EQ(shot.pixelColor(150, 10), QColor(0, 20, 255));   // the title band
    EXPECT_EQ(shot.pixelColor(150, 40), QColor(221, 221, 221));  // the body
    for (int id : {1, 2, 1306, 8300, 8523, 8524, 8525})
        EXPECT_TRUE(d.Button(id)->isVisible()) << id;
    EXPECT_EQ(d.Button(ColourAdjustDialog::kCloseButton)->geometry(), QRect(280, 8, 13, 13));
}

}  // namespace
