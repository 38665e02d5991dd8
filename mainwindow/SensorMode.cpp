#include "mainwindow/SensorMode.h"

#include <array>

#include "session/AppData.h"
#include "session/net/CgiCommandTable.h"
#include "session/net/DeviceRequest.h"

namespace mainwindow {

const std::array<SensorButtonRow, 8> kSensorButtons{{
    {8600, 6, 10, "BMP/CMOS/FullFrame_UP.bmp", "BMP/CMOS/FullFrame_DOWN.bmp", false},
    {8601, 6, 44, "BMP/CMOS/QFrame_LT_UP.bmp", "BMP/CMOS/QFrame_LT_DOWN.bmp", false},
    {8602, 6, 78, "BMP/CMOS/QFrame_RT_UP.bmp", "BMP/CMOS/QFrame_RT_DOWN.bmp", false},
    {8603, 6, 112, "BMP/CMOS/QFrame_LB_UP.bmp", "BMP/CMOS/QFrame_LB_DOWN.bmp", false},
    {8604, 6, 146, "BMP/CMOS/QFrame_RB_UP.bmp", "BMP/CMOS/QFrame_RB_DOWN.bmp", false},
    {8605, 6, 180, "BMP/CMOS/QFrame_CN_UP.bmp", "BMP/CMOS/QFrame_CN_DOWN.bmp", false},
    {8606, 6, 214, "BMP/CMOS/CMOS_HR_UP.bmp", "BMP/CMOS/CMOS_HR_DOWN.bmp", true},
    {8607, 6, 248, "BMP/CMOS/CMOS_VR_UP.bmp", "BMP/CMOS/CMOS_VR_DOWN.bmp", true},
}};

SensorState DecodeSensorByte(unsigned byte) {
    return {static_cast<std::uint8_t>(byte & 0x0F), (byte & 0x80) != 0, (byte & 0x40) != 0};
}

BarPlace SensorBarStartPlace(int workWidth, int workHeight, int windowWidth, int windowHeight) {
    return {(workWidth - windowWidth) / 2 - 43, (workHeight - windowHeight) / 2};
}

BarPlace SensorBarDockPlace(int mainLeft, int mainTop) { return {mainLeft - kSensorBarWidth + 2, mainTop}; }

int SendSensorMode(session::AppData& app, const platform::Timing& timing, int mode, std::stop_token stop) {
    auto request = session::RequestWithCookie(session::CMD_OV9653_ZOOM, app.SessionCookie.Get());
    request.AddIntParam("MODE", mode);
    // The reply says nothing the tool bar uses (frame headers report the mode): it is not read.
    return session::SendDeviceRequest(app, timing, request, std::move(stop));
}

int SendMirror(session::AppData& app, const platform::Timing& timing, bool horizontalButton,
               const SensorState& reported, std::stop_token stop) {
    auto request = session::RequestWithCookie(session::CMD_OV9653_ROTATE, app.SessionCookie.Get());
    if (horizontalButton) {
        request.AddIntParam("HR", reported.horizontalMirror ? 0 : 1);
        request.AddIntParam("VR", reported.verticalMirror ? 1 : 0);
    } else {
        request.AddIntParam("VR", reported.verticalMirror ? 0 : 1);
        request.AddIntParam("HR", reported.horizontalMirror ? 1 : 0);
    }
    return session::SendDeviceRequest(app, timing, request, std::move(stop));
}

}  // namespace mainwindow
