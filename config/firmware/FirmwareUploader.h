#pragma once
// Sends loaded firmware to the device on one worker thread, by one of the four
// paths. Every path first opens a keep-alive connection carrying a stream
// request for the session and holds it, unread, until the upload ends. The
// chunked paths then send each item as "/UpgradeFW.cgi" requests of 900-byte
// bodies through the command sender; the stream paths open one connection per
// item, send "/UpgradeFW2.cgi" and then the item's raw bytes.
//
// The uploader owns a copy of what it sends. A stop ends it between pieces
// and cuts short any blocked connect, send, receive or pause, silently; the
// keep-alive connection is closed on every way out.

#include <cstdint>
#include <stop_token>
#include <vector>

#include "config/firmware/FirmwareItem.h"
#include "platform/Timing.h"
#include "platform/WorkerThread.h"

namespace session {
class AppData;
}

namespace config {

// How an upload ended when it was not stopped: the message to show, and
// whether the dialog closes after it. The progress is hidden and the upgrade
// button enabled in every case.
struct UploadEnd {
    unsigned messageId = 0;  // kFirmwareWritingFlash or kFirmwareUploadFailed
    bool closeDialog = false;
};

// What the uploader reports, from its own thread.
class FirmwareUploadPort {
public:
    virtual ~FirmwareUploadPort() = default;
    // Bytes sent x 100 / the progress base.
    virtual void SetProgress(int percent) {}
    // The keep-alive stands: the upgrade button goes off for the upload.
    virtual void SetUpgradeEnabled(bool enabled) {}
    // Once, at the end of an upload that was not stopped.
    virtual void UploadEnded(const UploadEnd& end) {}
};

struct UploadJob {
    UploadPath path = UploadPath::DvrChunked;
    std::vector<FirmwareItem> items;  // in the order they are sent; empty ones are skipped
    std::uint64_t progressBase = 0;   // the loaded sizes, or the image file's size
};

class FirmwareUploader {
public:
    FirmwareUploader(session::AppData& app, FirmwareUploadPort& port, const platform::Timing& timing = {});
    ~FirmwareUploader() { Stop(); }
    FirmwareUploader(const FirmwareUploader&) = delete;
    FirmwareUploader& operator=(const FirmwareUploader&) = delete;

    // Stops an upload still running, then starts this one; false when no
    // thread can be started.
    bool Start(UploadJob job);
    // Ends a running upload (silently) and waits for its thread.
    void Stop() { thread_.Stop(); }
    bool Running() const { return thread_.Running(); }

    // The whole upload on the calling thread (the worker's body).
    void Run(const UploadJob& job, std::stop_token stop);

private:
    enum class Outcome { Delivered, Failed, Stopped };
    Outcome SendChunked(const UploadJob& job, std::stop_token stop);
    Outcome SendStreamed(const UploadJob& job, std::stop_token stop);
    void Progress(const UploadJob& job, std::uint64_t bytesSent);

    session::AppData& app_;
    FirmwareUploadPort& port_;
    platform::Timing timing_;
    platform::WorkerThread thread_;
};

}  // namespace config
