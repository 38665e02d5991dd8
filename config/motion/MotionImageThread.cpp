#include "config/motion/MotionImageThread.h"

#include "config/motion/MotionPicture.h"
#include "session/AppData.h"

namespace config {

MotionImageThread::MotionImageThread(session::AppData& app, MotionPicture& picture, std::function<void()> arrived)
    : app_(app), picture_(picture), arrived_(std::move(arrived)) {}

bool MotionImageThread::Start() {
    return thread_.Start([this](std::stop_token stop) { Run(stop); });
}

void MotionImageThread::StartFeed() {
    app_.dw_FrameCopyRequest.store(0);
    while (app_.h_FrameCopyDoneSem.Wait(platform::Millis(0))) {
    }
    start_.Set();
}

void MotionImageThread::Stop() {
    thread_.Stop();
    // The worker may have raised the flag once more before it saw the stop.
    app_.dw_FrameCopyRequest.store(0);
}

void MotionImageThread::Run(std::stop_token stop) {
    if (!start_.Wait(platform::kInfinite, stop))
        return;
    while (!stop.stop_requested()) {
        app_.dw_FrameCopyRequest.store(1);
        if (!app_.h_FrameCopyDoneSem.Wait(platform::kInfinite, stop))
            return;
        // The display writes the shared buffer only while the flag is set, and
        // it cleared the flag before releasing the semaphore.
        const auto& shared = app_.lp_FrameCopyBuffer;
        if (picture_.Take(shared.span(), app_.w_FrameCopyWidth.load(), app_.w_FrameCopyHeight.load()) && arrived_)
            arrived_();
    }
}

}  // namespace config
