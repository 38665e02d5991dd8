#include "gui/VtxButton.h"

#include <QEnterEvent>
#include <QPainter>

#include "gui/SkinPicture.h"

namespace session {

CVtxButton::CVtxButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
}

bool CVtxButton::LoadButtonBitmap(const std::filesystem::path& programFolder, std::string_view file) {
    m_pictures = {};
    m_style = 0;
    QPixmap picture = LoadSkinPicture(programFolder, file);
    if (picture.isNull())
        return false;
    m_pictures = {picture, picture, picture};
    m_style = kOnePicture;
    update();
    return true;
}

bool CVtxButton::LoadButtonBitmap(const std::filesystem::path& programFolder, std::string_view normal,
                                  std::string_view hover, std::string_view pressed) {
    m_pictures = {};
    m_style = 0;
    std::array<QPixmap, 3> pictures;
    const std::array<std::string_view, 3> files{normal, hover, pressed};
    for (std::size_t i = 0; i < files.size(); ++i) {
        pictures[i] = LoadSkinPicture(programFolder, files[i]);
        if (pictures[i].isNull())
            return false;
    }
    m_pictures = pictures;
    m_style = kThreePictures;
    update();
    return true;
}

void CVtxButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!HasPictures()) {
        DrawTextButton(painter);
        return;
    }
    std::size_t state = 0;
    if (m_style == kThreePictures)
        state = isDown() ? 2 : m_hover ? 1 : 0;
    painter.drawPixmap(0, 0, m_pictures[state]);
}

void CVtxButton::DrawTextButton(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool pressed = isDown();
    painter.setPen(kSkinBlue);
    painter.setBrush(pressed ? kSkinBlue : m_hover ? kSkinLightBlue.lighter(112) : kSkinLightBlue);
    painter.drawRoundedRect(frame, 4, 4);
    if (hasFocus()) {
        painter.setPen(QPen(kSkinBlue, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(frame.adjusted(2, 2, -2, -2), 3, 3);
    }

    // The caption as large as the button lets it be: broken between words
    // where that fits, else inside a word rather than shrunk past reading.
    QFont font = painter.font();
    const QRect area = rect().adjusted(2, 2, -2, -2);
    int flags = Qt::AlignCenter | Qt::TextWordWrap;
    auto fits = [&](int size, int wrap) {
        font.setPixelSize(size);
        const QRect needed = QFontMetrics(font).boundingRect(area, Qt::AlignCenter | wrap, text());
        return needed.width() <= area.width() && needed.height() <= area.height();
    };
    bool found = false;
    for (int size = 10; size >= 7 && !found; --size)
        found = fits(size, Qt::TextWordWrap);
    for (int size = 10; size >= 6 && !found; --size)
        if ((found = fits(size, Qt::TextWrapAnywhere)))
            flags = Qt::AlignCenter | Qt::TextWrapAnywhere;
    painter.setFont(font);
    painter.setPen(pressed ? Qt::white : kSkinBlue);
    painter.drawText(area, flags, text());
}

void CVtxButton::enterEvent(QEnterEvent* event) {
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CVtxButton::leaveEvent(QEvent* event) {
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

}  // namespace session
