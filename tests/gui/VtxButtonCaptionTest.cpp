// The drawn replacement's captions: whole words, never below the smallest size.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QRect>

#include "gui/VtxButton.h"

using session::CVtxButton;

namespace {

struct CaptionCase {
    const char* name;
    const char* text;
    QSize button;
};

class CaptionTest : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(CaptionTest, WholeWordsAtAReadableSize) {
    const CaptionCase& c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    const QRect area(QPoint(2, 2), c.button - QSize(4, 4));
    QFont font;
    const QString caption = CVtxButton::FitCaption(text, area, font);
    EXPECT_GE(font.pixelSize(), CVtxButton::kSmallestCaption);
    // Each word is whole, or cut short with an ellipsis, and fits the width.
    const QStringList words = text.split(' ');
    const QStringList shown = caption.split(' ');
    ASSERT_EQ(shown.size(), words.size()) << caption.toStdString();
    const QFontMetrics metrics(font);
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (shown[i] != words[i]) {
            ASSERT_TRUE(shown[i].endsWith(QChar(0x2026))) << shown[i].toStdString();
            EXPECT_TRUE(words[i].startsWith(shown[i].chopped(1))) << shown[i].toStdString();
        }
        EXPECT_LE(metrics.horizontalAdvance(shown[i]), area.width()) << shown[i].toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    LoginButtons, CaptionTest,
    ::testing::Values(CaptionCase{"Search", "Wyszukiwanie", {34, 34}}, CaptionCase{"Connect", "Połączenie", {32, 32}},
                      CaptionCase{"UserName", "Nazwa użytkownika", {28, 28}}, CaptionCase{"Address", "Adres", {34, 34}},
                      CaptionCase{"WideButton", "Aktualizacja Firmware", {120, 30}}),
    [](const ::testing::TestParamInfo<CaptionCase>& info) { return info.param.name; });

}  // namespace
