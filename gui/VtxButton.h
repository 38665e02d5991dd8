#pragma once
// The skinned push button every skinned window is built from. It shows one of
// its pictures, chosen by its style word, by hover, by a press and by a state
// index that a click or the owner moves. Where a picture is missing it draws
// that picture itself at the button's size (the skin's colours and the
// caption), so the style's behaviour never depends on a skin being present.
//
// A GUI-thread object: changes from other threads reach it through the UI port.

#include <QAbstractButton>
#include <QPixmap>

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

namespace session {

class CVtxButton : public QAbstractButton {
    Q_OBJECT
public:
    // Style words; an owner passes exactly one.
    static constexpr std::uint16_t VTX_HOVER = 0x01;        // flat, focus while over, never pressed
    static constexpr std::uint16_t VTX_PUSH = 0x02;         // flat, selected while held down
    static constexpr std::uint16_t VTX_STATE_CLICK = 0x10;  // state pairs; a press advances the state
    static constexpr std::uint16_t VTX_PUSH_HOVER = 0x20;   // flat, focus while over, selected while held
    static constexpr std::uint16_t VTX_STATE_HOVER = 0x40;  // state pairs; only the owner moves the state
    static constexpr std::uint16_t VTX_SINGLE = 0x80;       // one picture in every state

    // One state's pictures, by skin file name.
    struct StatePair {
        std::string_view normal;
        std::string_view hover;
    };

    explicit CVtxButton(QWidget* parent = nullptr);

    // Flat, focus and selected pictures (styles 0x01, 0x02, 0x20). False at the
    // first file that cannot be loaded; the style is stored either way.
    bool LoadButtonBitmap(const std::filesystem::path& programFolder, std::string_view flat, std::string_view focus,
                          std::string_view selected, std::uint16_t style);
    // One picture (style 0x80).
    bool LoadButtonBitmap(const std::filesystem::path& programFolder, std::string_view file, std::uint16_t style);
    // A {normal, hover} pair per state (styles 0x10, 0x40); the state index is kept.
    bool LoadButtonBitmap(const std::filesystem::path& programFolder, std::span<const StatePair> pairs,
                          std::uint16_t style);

    // Makes `index` the current state when it is below the state count and
    // shows the state's normal picture: 1. An index at or above the count keeps
    // the state. -1 (nothing shown) when the button has no state pictures.
    int SetImageState(int index);

    // True when the last load found every picture it asked for.
    bool HasPictures() const { return m_allLoaded; }

    // Caption sizes of the drawn replacement, in pixels.
    static constexpr int kLargestCaption = 12;
    static constexpr int kSmallestCaption = 9;
    // The caption of the drawn replacement: as large as `area` lets it be
    // (the size is set into `font`), broken only between words and never
    // below kSmallestCaption; a word too wide even then is cut short with an
    // ellipsis (the tool tip still says it whole).
    static QString FitCaption(const QString& text, const QRect& area, QFont& font);

    std::uint16_t Style() const { return m_wStyle; }
    int ImageIndex() const { return m_wImageIndex; }
    int ImageCount() const { return m_wImageCount; }
    bool MouseOver() const { return m_bMouseOver; }
    bool HeldDown() const { return !m_bReleased; }

    // Which picture the button shows now.
    enum class Shown { Flat, Focus, Selected, Normal, Hover };
    Shown ShownPicture() const { return m_shown; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool IsHoverStyle() const;
    bool IsPushStyle() const;
    bool IsStateStyle() const;
    // The picture a repaint shows, by style precedence.
    Shown RepaintChoice() const;
    void Show(Shown picture);
    const QPixmap& PictureFor(Shown picture) const;
    void DrawReplacement(class QPainter& painter, Shown picture) const;
    void AssertGuiThread() const;

    std::array<QPixmap, 3> m_threePictures;  // flat, focus, selected
    std::vector<QPixmap> m_normalImages;     // one per state; the single picture at [0]
    std::vector<QPixmap> m_hoverImages;
    std::uint16_t m_wStyle = 0;
    std::uint16_t m_wImageIndex = 0;
    std::uint16_t m_wImageCount = 0;
    bool m_bMouseOver = false;
    bool m_bReleased = true;
    bool m_allLoaded = false;
    Shown m_shown = Shown::Flat;
};

}  // namespace session
