#pragma once
// The device's side of a firmware upgrade. "/UpgradeFW.cgi" assembles items
// from the chunk requests (Start opens one, Finished ends it) and records a
// Cancel; "/UpgradeFW2.cgi" reads exactly FILESIZE raw bytes after its header
// and then answers (200, or what a fault of the path scripts: another status,
// silence, a close); "/CancelUPFW.cgi" is counted; "/Getvideo.cgi" with
// Fake=1 holds the connection without a stream until the client leaves,
// while other stream requests go to the stream handler installed before.
// An upload that ends with a reboot request counts a reboot and may switch
// the profile to a new firmware version.

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "simulator/DeviceSimulator.h"

namespace devicesim {

struct ReceivedFirmwareItem {
    std::string path;          // "/UpgradeFW.cgi" or "/UpgradeFW2.cgi"
    std::string type;          // Type of the Start (DVR) or Finished request, or of the stream request
    std::uint64_t declaredSize = 0;  // FileSize / FILESIZE
    std::string bytes;         // as assembled
    bool finished = false;     // a Finished request ended it, or every stream byte came
    bool reboot = false;       // Reboot=1 / REBOOT=1
};

class FirmwareReceiver {
public:
    // Takes over the upgrade paths (and the keep-alive on /Getvideo.cgi) of the device.
    explicit FirmwareReceiver(DeviceSimulator& device);

    // The version the device reports after the next reboot an upload asks for.
    void SetVersionAfterReboot(std::string version);

    std::vector<ReceivedFirmwareItem> Items() const;
    int Cancels() const;            // "/UpgradeFW.cgi" with Upgrade=Cancel
    int CancelUpfwRequests() const; // "/CancelUPFW.cgi"
    // Upload bytes taken so far: chunk bodies and raw stream bytes.
    std::uint64_t UploadBytes() const;
    int KeepAlivesOpened() const;
    int KeepAlivesOpen() const;
    bool WaitForKeepAlivesClosed(Millis timeout) const;
    bool WaitForUploadBytes(std::uint64_t count, Millis timeout) const;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace devicesim
