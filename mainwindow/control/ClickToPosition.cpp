#include "mainwindow/control/ClickToPosition.h"

#include <algorithm>

#include "mainwindow/UserLevelTable.h"
#include "mainwindow/WindowLayoutTable.h"
#include "mainwindow/control/ControlCommandBody.h"
#include "session/AppData.h"

namespace mainwindow {

namespace {

constexpr int kColumns = 16;
constexpr int kRows = 12;
constexpr int kFullScreenMargin = 8;
constexpr std::uint16_t kMarkerCountdown = 4;

// Grid lines start + k * step (k from 1) strictly before `at`, at most `limit`.
int LinesBefore(int start, int step, int at, int limit) {
    if (step <= 0)
        return 0;
    const int count = (at - start - 1) / step;
    return std::clamp(count, 0, limit);
}

}  // namespace

std::optional<ClickCell> CellOfClick(const ClickRect& r, int x, int y, bool fullScreen) {
    const int margin = fullScreen ? kFullScreenMargin : 0;
    if (!(x > r.left + margin && x < r.right - margin && y > r.top + margin && y < r.bottom - margin))
        return std::nullopt;
    const int cw = (r.right - r.left) / kColumns;
    const int ch = (r.bottom - r.top) / kRows;
    return ClickCell{LinesBefore(r.left, cw, x, kColumns - 1), LinesBefore(r.top, ch, y, kRows - 1)};
}

MarkerPoint MarkerOfClick(const ClickRect& r, const ClickRect& video, int x, int y, bool fullScreen) {
    if (!fullScreen)
        return {x - video.left, y - video.top};
    const int width = std::max(r.right - r.left, 1), height = std::max(r.bottom - r.top, 1);
    return {(x - r.left) * (video.right - video.left) / width, (y - r.top) * (video.bottom - video.top) / height};
}

std::vector<std::uint8_t> PositionBody(std::uint8_t type, std::uint8_t address, std::uint8_t rank, std::uint8_t cell) {
    if (type == kTypePtz)
        return {5, 0xD0, address, 0x52, cell, 0x00, 1, kRepeatInterval};
    if (type == kTypePtzSlave || type == kTypePtzPelco || type == kTypePtzPelcoD) {
        const auto sum = static_cast<std::uint8_t>(0xD0 + address + rank + 0x52 + cell);
        return {7, 0xD0, address, rank, 0x52, cell, 0x00, sum, 1, kRepeatInterval};
    }
    return {0, 0, 0};
}

ControlOutcome SendClickToPosition(session::AppData& app, const ClickRect& workArea, bool fullScreen,
                                   const platform::Timing& timing, std::stop_token stop) {
    const WindowLayoutRow& row = LayoutRow(app.w_VideoLayout.load());
    const ClickRect video{row[kVideoRect], row[kVideoRect + 1], row[kVideoRect + 2], row[kVideoRect + 3]};
    const ClickRect picture = fullScreen ? workArea : video;
    const int x = app.w_ClickPosX.load(), y = app.w_ClickPosY.load();
    const auto cell = CellOfClick(picture, x, y, fullScreen);
    if (!cell)
        return {false, 0};
    const MarkerPoint marker = MarkerOfClick(picture, video, x, y, fullScreen);
    app.w_MarkerX.store(static_cast<std::uint16_t>(marker.x));
    app.w_MarkerY.store(static_cast<std::uint16_t>(marker.y));
    const std::uint8_t rank = UserLevelRowAt(app.by_UserLevelIndex.load()).byRank;
    const auto body = PositionBody(app.C_ControlD.GetCurrentType(), app.C_ControlD.GetCurrentAddress(), rank,
                                   cell->Cell());
    const auto request = Rs485Request(BusTargetFactsOf(app), 0, PelcoMasters::PelcoOnly, app.SessionCookie.Get());
    const ControlOutcome outcome = SendRs485(app, request, body, timing.commandTimeout, stop);
    if (outcome.sent)
        app.w_MarkerCountdown.store(kMarkerCountdown);
    return outcome;
}

}  // namespace mainwindow
