// The main window's part of the G66M sensor-mode tool bar: made at the end of
// the start beside the centred window, docked to the window's left edge at
// every move, and handed the frame headers' sensor byte.

#include "mainwindow/SensorMode.h"
#include "mainwindow/gui/SensorModeToolBar.h"
#include "mainwindow/gui/TavrinDlg.h"
#include "session/AppData.h"
#include "session/DeviceFamily.h"

namespace session {

void CTavrinDlg::CreateSensorBar() {
    if (m_sensorBar || !IsG66MFamily(m_app.str_ProductID.Get()))
        return;
    auto* bar = new mainwindow::SensorModeToolBar(m_app, m_timing, this);
    if (m_showMessage)
        bar->SetMessageSink(m_showMessage);
    m_sensorBar = bar;
    const auto place = mainwindow::SensorBarStartPlace(m_rcWorkArea.width(), m_rcWorkArea.height(), width(), height());
    bar->move(m_rcWorkArea.left() + place.x, m_rcWorkArea.top() + place.y);
    bar->show();
}

void CTavrinDlg::DockSensorBar() {
    if (!m_sensorBar)
        return;
    const QPoint topLeft = frameGeometry().topLeft();
    const auto place = mainwindow::SensorBarDockPlace(topLeft.x(), topLeft.y());
    m_sensorBar->move(place.x, place.y);
}

void CTavrinDlg::PostSensorMode(unsigned wParam) {
    if (m_sensorBar)
        m_sensorBar->OnPostSensorMode(wParam);
}

}  // namespace session
