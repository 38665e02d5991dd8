#pragma once
// The G66M sensor-mode tool bar: a narrow frameless tool window beside the
// main window with six mode buttons (full frame, four quarters, centre) and
// the two mirror buttons. It shows the mode and mirrors the camera's frame
// headers report; its buttons ask the camera on the device-command worker.
// GUI thread only: the headers' sensor byte reaches it through the UI port.

#include <QPixmap>
#include <QWidget>

#include <array>
#include <functional>

#include "mainwindow/SensorMode.h"
#include "platform/Timing.h"

namespace session {
class AppData;
class CVtxButton;
}

namespace mainwindow {

class SensorModeToolBar : public QWidget {
    Q_OBJECT

public:
    // `owner`: the main window, which the bar stays beside.
    SensorModeToolBar(session::AppData& app, platform::Timing timing, QWidget* owner);

    // How message boxes reach the operator (a message box by default).
    void SetMessageSink(std::function<void(const QString&)> sink) { showMessage_ = std::move(sink); }

    // The sensor byte of a frame header; the mode buttons follow a change.
    void OnPostSensorMode(unsigned byte);
    // Mode button i shows state 1 for the reported mode, 0 for the others.
    void UpdateModeButtons();

    SensorState Reported() const { return reported_; }
    session::CVtxButton* Button(std::uint16_t id) const;

signals:
    // A button's request came back (true: the camera took it).
    void requestFinished(bool sent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnButton(const SensorButtonRow& row);

    session::AppData& app_;
    const platform::Timing timing_;
    SensorState reported_;
    QPixmap background_;
    std::array<session::CVtxButton*, 8> buttons_{};
    std::function<void(const QString&)> showMessage_;
};

}  // namespace mainwindow
