#pragma once
// The colour adjustment dialog: brightness, contrast and hue of the device's
// picture on three sliders with their number boxes, sent with /SetColor.cgi.
// Skinned and caption-less, 304 x 196, dragged by its body. OK (the button
// with the apply picture, also Enter) sends and stays open; Cancel (the
// button with the OK picture), the close button and Esc end it; Default
// only changes what is shown. The request runs on the device-command worker
// with the dialog disabled until the answer.

#include <QDialog>
#include <QPixmap>
#include <QRect>

#include <array>
#include <functional>

#include "mainwindow/ColourSettings.h"
#include "platform/Timing.h"

class QLineEdit;
class QSlider;

namespace session {
class AppData;
class CVtxButton;
}

namespace mainwindow {

class ColourAdjustDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kWidth = 304;
    static constexpr int kHeight = 196;
    static constexpr std::uint16_t kDefaultButton = 1306;
    static constexpr std::uint16_t kCloseButton = 8300;
    // Sliders and number boxes by row: brightness, contrast, hue, then the hidden spare.
    static constexpr std::array<int, 4> kSliderIds{1313, 1315, 1316, 1314};
    static constexpr std::array<int, 4> kEditIds{1040, 1041, 1042, 1043};

    // A skin picture and the rectangle it is stretched over, in painting order.
    struct Piece {
        const char* file;
        QRect rect;
    };
    static const std::array<Piece, 9> kPieces;

    // `device`: the device's values as its colour query gave them.
    ColourAdjustDialog(session::AppData& app, platform::Timing timing, ColourValues device,
                       QWidget* parent = nullptr);

    // How message boxes reach the operator (a message box by default).
    void SetMessageSink(std::function<void(const QString&)> sink) { showMessage_ = std::move(sink); }

    ShownColours Shown() const { return shown_; }
    ColourValues DeviceValues() const { return device_; }
    QSlider* Slider(std::size_t row) const { return sliders_[row]; }
    QLineEdit* Edit(std::size_t row) const { return edits_[row]; }
    session::CVtxButton* Button(int id) const;
    bool ApplyRunning() const { return applying_; }

    void OnOK();
    void OnDefault();

signals:
    // The /SetColor.cgi answer came back (true: the device took the values).
    void applyFinished(bool sent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void CreateControls();
    void LoadPictures();
    // The shown values into the sliders and boxes.
    void UpdateControls();
    void OnSliderMoved(std::size_t row, int value);
    void OnTextEdited(std::size_t row);
    int& ShownValue(std::size_t row);
    void ShowMessage(unsigned stringId);

    session::AppData& app_;
    const platform::Timing timing_;
    const bool server_;
    ColourValues device_;
    ShownColours shown_;
    bool applying_ = false;
    bool updating_ = false;  // the controls are being set from the values
    std::array<QPixmap, 9> pictures_;
    std::array<QSlider*, 4> sliders_{};
    std::array<QLineEdit*, 4> edits_{};
    QPoint dragOffset_;
    bool dragging_ = false;  // a left press on the background moves the dialog
    std::function<void(const QString&)> showMessage_;
};

}  // namespace mainwindow
