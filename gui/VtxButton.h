#pragma once
// A skinned push button: it shows its pictures (one for every state, or
// normal, hover and pressed), and where a picture is missing it draws itself
// as a text button in the skin's colours, captioned with its text, so a
// missing skin never takes a button away.

#include <QAbstractButton>
#include <QPixmap>

#include <array>
#include <filesystem>
#include <string_view>

namespace session {

class CVtxButton : public QAbstractButton {
    Q_OBJECT
public:
    // Picture styles.
    static constexpr int kOnePicture = 0x80;     // one picture in every state
    static constexpr int kThreePictures = 0x20;  // normal, hover while the mouse is over it, pressed

    explicit CVtxButton(QWidget* parent = nullptr);

    // One picture for every state; false (and no picture) when it is missing.
    bool LoadButtonBitmap(const std::filesystem::path& programFolder, std::string_view file);
    // Normal, hover and pressed; false (and no pictures) unless all three load.
    bool LoadButtonBitmap(const std::filesystem::path& programFolder, std::string_view normal,
                          std::string_view hover, std::string_view pressed);

    bool HasPictures() const { return m_style != 0; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void DrawTextButton(class QPainter& painter) const;

    std::array<QPixmap, 3> m_pictures;  // normal, hover, pressed
    int m_style = 0;
    bool m_hover = false;
};

}  // namespace session
