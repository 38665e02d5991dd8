#pragma once
// Stands in for the frame display's side of the picture-copy hand-shake:
// while serving, each raised copy request gets the picture in the shared
// buffer, its size, the flag cleared and the copy-done semaphore released.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "session/AppData.h"

namespace testutil {

class FakeFrameDisplay {
public:
    FakeFrameDisplay(session::AppData& app, std::vector<std::uint8_t> picture, int width, int height)
        : app_(app), picture_(std::move(picture)) {
        EXPECT_TRUE(app.lp_FrameCopyBuffer.Allocate(std::max(session::kPictureBufferSize, picture_.size())));
        thread_ = std::jthread([this, width, height](std::stop_token stop) {
            while (!stop.stop_requested()) {
                if (serving.load() && app_.dw_FrameCopyRequest.load()) {
                    std::copy(picture_.begin(), picture_.end(), app_.lp_FrameCopyBuffer.data());
                    app_.w_FrameCopyWidth.store(static_cast<std::uint16_t>(width));
                    app_.w_FrameCopyHeight.store(static_cast<std::uint16_t>(height));
                    app_.dw_FrameCopyRequest.store(0);
                    app_.h_FrameCopyDoneSem.Release();
                    ++copies;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    }

    std::atomic<bool> serving{true};
    std::atomic<int> copies{0};

private:
    session::AppData& app_;
    std::vector<std::uint8_t> picture_;
    std::jthread thread_;
};

}  // namespace testutil
