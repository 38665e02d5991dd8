#include "gui/VtxButton.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>

#include "gui/SkinPicture.h"

namespace session {

CVtxButton::CVtxButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::TabFocus);
}

void CVtxButton::AssertGuiThread() const {
    Q_ASSERT_X(QThread::currentThread() == thread(), "CVtxButton", "changed outside the GUI thread: use the UI port");
}

bool CVtxButton::IsHoverStyle() const {
    return m_wStyle == VTX_HOVER || m_wStyle == VTX_STATE_CLICK || m_wStyle == VTX_PUSH_HOVER ||
           m_wStyle == VTX_STATE_HOVER;
}

bool CVtxButton::IsPushStyle() const { return m_wStyle == VTX_PUSH || m_wStyle == VTX_PUSH_HOVER; }

bool CVtxButton::IsStateStyle() const { return m_wStyle == VTX_STATE_CLICK || m_wStyle == VTX_STATE_HOVER; }

CVtxButton::Shown CVtxButton::RepaintChoice() const {
    if (m_wStyle == VTX_SINGLE || IsStateStyle())
        return Shown::Normal;
    return m_bReleased ? Shown::Flat : Shown::Selected;
}

void CVtxButton::Show(Shown picture) {
    m_shown = picture;
    update();
}

bool CVtxButton::LoadButtonBitmap(const std::filesystem::path& programFolder, std::string_view flat,
                                  std::string_view focus, std::string_view selected, std::uint16_t style) {
    AssertGuiThread();
    m_threePictures = {};
    m_wStyle = style;
    m_allLoaded = false;
    const std::array<std::string_view, 3> files{flat, focus, selected};
    bool loaded = true;
    for (std::size_t i = 0; i < files.size() && loaded; ++i) {
        m_threePictures[i] = LoadSkinPicture(programFolder, files[i]);
        loaded = !m_threePictures[i].isNull();
    }
    m_allLoaded = loaded;
    Show(RepaintChoice());
    return loaded;
}

bool CVtxButton::LoadButtonBitmap(const std::filesystem::path& programFolder, std::string_view file,
                                  std::uint16_t style) {
    AssertGuiThread();
    m_threePictures = {};
    m_hoverImages.clear();
    m_normalImages.assign(1, LoadSkinPicture(programFolder, file));
    m_wStyle = style;
    m_wImageCount = 0;
    m_allLoaded = !m_normalImages[0].isNull();
    Show(RepaintChoice());
    return m_allLoaded;
}

bool CVtxButton::LoadButtonBitmap(const std::filesystem::path& programFolder, std::span<const StatePair> pairs,
                                  std::uint16_t style) {
    AssertGuiThread();
    m_threePictures = {};
    m_wImageCount = static_cast<std::uint16_t>(pairs.size());
    m_normalImages.assign(pairs.size(), QPixmap());
    m_hoverImages.assign(pairs.size(), QPixmap());
    m_wStyle = style;
    // A reload with fewer states than the current index shows the last state.
    if (m_wImageCount > 0 && m_wImageIndex >= m_wImageCount)
        m_wImageIndex = static_cast<std::uint16_t>(m_wImageCount - 1);
    bool loaded = true;
    for (std::size_t i = 0; i < pairs.size() && loaded; ++i) {
        m_normalImages[i] = LoadSkinPicture(programFolder, pairs[i].normal);
        loaded = !m_normalImages[i].isNull();
        if (loaded) {
            m_hoverImages[i] = LoadSkinPicture(programFolder, pairs[i].hover);
            loaded = !m_hoverImages[i].isNull();
        }
    }
    m_allLoaded = loaded;
    Show(RepaintChoice());
    return loaded;
}

int CVtxButton::SetImageState(int index) {
    AssertGuiThread();
    if (index >= 0 && index < m_wImageCount)
        m_wImageIndex = static_cast<std::uint16_t>(index);
    if (m_normalImages.empty())
        return -1;
    Show(Shown::Normal);
    return 1;
}

const QPixmap& CVtxButton::PictureFor(Shown picture) const {
    static const QPixmap none;
    const std::size_t state = m_wStyle == VTX_SINGLE ? 0 : m_wImageIndex;
    switch (picture) {
    case Shown::Flat: return m_threePictures[0];
    case Shown::Focus: return m_threePictures[1];
    case Shown::Selected: return m_threePictures[2];
    case Shown::Normal: return state < m_normalImages.size() ? m_normalImages[state] : none;
    case Shown::Hover: return state < m_hoverImages.size() ? m_hoverImages[state] : none;
    }
    return none;
}

void CVtxButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap& picture = PictureFor(m_shown);
    if (picture.isNull())
        DrawReplacement(painter, m_shown);
    else
        painter.drawPixmap(0, 0, picture);
}

void CVtxButton::DrawReplacement(QPainter& painter, Shown picture) const {
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool down = picture == Shown::Selected;
    const bool over = picture == Shown::Focus || picture == Shown::Hover;
    QColor fill = down ? kSkinBlue : over ? kSkinLightBlue.lighter(112) : kSkinLightBlue;
    QColor ink = down ? QColor(Qt::white) : kSkinBlue;
    if (!isEnabled()) {
        fill = kSkinGrey;
        ink = QColor(140, 140, 140);
    }
    painter.setPen(isEnabled() ? kSkinBlue : ink);
    painter.setBrush(fill);
    painter.drawRoundedRect(frame, 4, 4);
    if (hasFocus()) {
        painter.setPen(QPen(ink, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(frame.adjusted(2, 2, -2, -2), 3, 3);
    }
    // A state above 0 shows as a band along the bottom edge, its number in it
    // where the button is large enough.
    if (IsStateStyle() && m_wImageIndex > 0) {
        const int band = std::max(2, height() / 4);
        const QRect strip(1, height() - band - 1, width() - 2, band);
        painter.fillRect(strip, ink);
        if (band >= 8) {
            QFont font = painter.font();
            font.setPixelSize(band - 1);
            painter.setFont(font);
            painter.setPen(fill);
            painter.drawText(strip, Qt::AlignCenter, QString::number(m_wImageIndex));
        }
    }

    QFont font = painter.font();
    const QRect area = rect().adjusted(2, 2, -2, -2);
    const QString caption = FitCaption(text(), area, font);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, caption);
}

QString CVtxButton::FitCaption(const QString& text, const QRect& area, QFont& font) {
    constexpr int flags = Qt::AlignCenter | Qt::TextWordWrap;
    auto fits = [&](int size) {
        font.setPixelSize(size);
        const QRect needed = QFontMetrics(font).boundingRect(area, flags, text);
        return needed.width() <= area.width() && needed.height() <= area.height();
    };
    int size = kLargestCaption;
    while (size > kSmallestCaption && !fits(size))
        --size;
    if (fits(size))
        return text;
    const QFontMetrics metrics(font);
    QStringList words = text.split(' ', Qt::SkipEmptyParts);
    for (QString& word : words)
        word = metrics.elidedText(word, Qt::ElideRight, area.width());
    return words.join(' ');
}

void CVtxButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    if (m_bMouseOver || !IsHoverStyle())
        return;
    m_bMouseOver = true;
    Show(IsStateStyle() ? Shown::Hover : Shown::Focus);
}

void CVtxButton::leaveEvent(QEvent* event) {
    if (m_bMouseOver && IsHoverStyle()) {
        m_bMouseOver = false;
        Show(IsStateStyle() ? Shown::Normal : Shown::Flat);
    }
    QAbstractButton::leaveEvent(event);
}

void CVtxButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (IsPushStyle()) {
            if (m_bReleased) {
                m_bReleased = false;
                Show(Shown::Selected);
            }
        } else if (m_wStyle == VTX_STATE_CLICK && m_wImageCount > 0) {
            m_wImageIndex = static_cast<std::uint16_t>((m_wImageIndex + 1) % m_wImageCount);
            Show(Shown::Normal);
        }
    }
    // The base press and release deliver the click to the owner, after the
    // button shows its new state.
    QAbstractButton::mousePressEvent(event);
}

void CVtxButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && IsPushStyle() && !m_bReleased) {
        m_bReleased = true;
        Show(Shown::Flat);
    }
    QAbstractButton::mouseReleaseEvent(event);
}

}  // namespace session
