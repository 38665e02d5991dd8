#pragma once
// The detection page's row editor ("Edit"): motion detection on or off, the
// four detection values, the alarm input type, and the detection area. On
// "Ustaw" it grows and shows the channel's live picture under the 16 × 12
// grid, fed by the grabber thread from the frame display; cells are toggled
// with the mouse, or all selected or removed with the two buttons. OK
// accepts, Escape cancels; closing stops and joins the grabber.

#include <QDialog>

#include <memory>

#include "config/motion/MotionGrid.h"
#include "config/motion/MotionImageThread.h"
#include "config/motion/MotionPicture.h"
#include "config/pages/DetectionRows.h"

class QLabel;
class QPushButton;

namespace session {
class AppData;
}

namespace config {

class IndexedCombo;
class NumberEdit;

class MotionAreaDialog : public QDialog {
    Q_OBJECT
public:
    // The row's values and its number text; the picture facts, the alarm
    // names and the frame hand-shake come from the session.
    MotionAreaDialog(session::AppData& app, const DetectionRow& row, const QString& rowText,
                     QWidget* parent = nullptr);
    ~MotionAreaDialog() override;

    // The row with the person's values (lists not picked and emptied fields keep theirs).
    DetectionRow Row() const;

    // "Ustaw": grow, place the picture and the two buttons, start the feed.
    void OnSetArea();
    void OnSelectAll();
    void OnRemoveAll();

    // Where the picture sits in the dialog, and its size there.
    QRect PictureRect() const { return {left_, top_, displayWidth_, displayHeight_}; }
    const MotionGrid& Grid() const { return grid_; }
    bool FeedRunning() const { return grabber_.Running(); }
    // A picture has arrived from the feed.
    bool PictureShown() const { return picture_.Ready(); }

    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Repaint(const MotionRepaint& area);

    session::AppData& app_;
    DetectionRow row_;
    IndexedCombo* detection_ = nullptr;
    IndexedCombo* alarmType_ = nullptr;
    NumberEdit* ls_ = nullptr;
    NumberEdit* ss_ = nullptr;
    NumberEdit* ts_ = nullptr;
    NumberEdit* re_ = nullptr;
    QPushButton* setArea_ = nullptr;
    QPushButton* selectAll_ = nullptr;
    QPushButton* removeAll_ = nullptr;

    MotionGrid grid_;
    MotionPicture picture_;
    MotionFrame drawing_;  // the picture with the overlay, painted stretched
    MotionImageThread grabber_;
    int displayWidth_, displayHeight_;
    int left_ = 0, top_ = 0;
};

}  // namespace config
