#pragma once
// Puts a quadrant test picture where the display takes the current picture
// from, as the compose thread leaves it (the picture buffer must be allocated).

#include <cstring>

#include "fakes/TestPictures.h"
#include "session/AppData.h"

namespace testutil {

inline void SetCurrentPicture(session::AppData& app, int width, int height) {
    const auto pixels = testpictures::QuadrantPicture(width, height);
    std::memcpy(app.lp_ImageBuffer.data(), pixels.data(), pixels.size());
    app.lp_CurrentImage.store(app.lp_ImageBuffer.data());
    app.w_ImageWidth.store(static_cast<std::uint16_t>(width));
    app.w_ImageHeight.store(static_cast<std::uint16_t>(height));
    app.dw_VideoConnected.store(1);
}

}  // namespace testutil
