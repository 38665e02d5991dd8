#pragma once
// The motion-area editor's grabber: a worker that asks the frame display for
// a copy of each picture it draws (the request flag), waits for the copy
// (the copy-done semaphore), takes it into the editor's own picture and asks
// for a repaint. It starts idle and begins feeding on StartFeed ("Ustaw").
// Every wait also watches the stop, so Stop ends and joins it at once.

#include <functional>

#include "platform/SyncObjects.h"
#include "platform/WorkerThread.h"

namespace session {
class AppData;
}

namespace config {

class MotionPicture;

class MotionImageThread {
public:
    // `arrived` runs on the worker after each picture was taken.
    MotionImageThread(session::AppData& app, MotionPicture& picture, std::function<void()> arrived);
    ~MotionImageThread() { Stop(); }
    MotionImageThread(const MotionImageThread&) = delete;
    MotionImageThread& operator=(const MotionImageThread&) = delete;

    // Starts the worker, which waits for StartFeed or Stop; false when no thread could be made.
    bool Start();
    // Starts the hand-shake: no request and no copy left over from before, then the feed.
    void StartFeed();
    // Ends the feed and the worker; the request flag is left cleared.
    void Stop();
    bool Running() const { return thread_.Running(); }

private:
    void Run(std::stop_token stop);

    session::AppData& app_;
    MotionPicture& picture_;
    std::function<void()> arrived_;
    platform::Event start_;
    platform::WorkerThread thread_;
};

}  // namespace config
