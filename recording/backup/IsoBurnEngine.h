#pragma once
// The burning engine over the system's libraries: libburn for drives and
// writing, libisofs for the ISO 9660 tree (Rock Ridge and Joliet, so names
// read back as they were written), libisoburn for multi-session on discs and
// image files. Besides the optical drives it always offers an image-file drive
// ("Image Recorder") that writes an ISO image file through a stdio: address.

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "recording/backup/BurnEngine.h"

namespace burn {
struct burn_drive_info;
}

namespace recording {

inline constexpr const char* kImageRecorderName = "Image Recorder";

class IsoBurnEngine final : public BurnEngine {
public:
    // scanDrives off: only the image-file drive (tests never touch a real drive).
    // scanOnly: when not empty, the scan looks at these device addresses alone.
    explicit IsoBurnEngine(bool scanDrives = true, std::function<void(const std::string&)> trace = {},
                           std::vector<std::string> scanOnly = {});
    ~IsoBurnEngine() override;

    bool Connect() override;
    void Disconnect() override;
    int Init(BurnCallbacks callbacks) override;
    bool Done() override;
    std::optional<std::vector<std::string>> AvailableDrives() override;
    BurnDevice* OpenDevice(int index, DeviceUse use) override;
    void CloseDevice(BurnDevice* device) override;
    std::optional<BurnDiscInfo> DiscInfo(BurnDevice* device) override;
    BurnIsoItem* ImportDataTrack(BurnDevice* device, int track, BurnStamp** stamp, int* result) override;
    BurnIsoItem* CreateIsoItem() override;
    void FreeIsoItemTree(BurnIsoItem* first) override;
    void FreeStamp(BurnStamp* stamp) override;
    BurnTrack* CreateIsoTrack(const BurnIsoItem* first, const std::string& volume) override;
    void FreeIsoTrack(BurnTrack* track) override;
    int Burn(BurnDevice* device, const BurnWriteRecord& record, int flags, const BurnProgress& progress) override;
    std::string ErrorLog() override;
    void ClearErrors() override;
    std::string RefusalReason() override;

private:
    // Moves the libraries' messages into the log; returns their texts.
    std::string GatherMessages();
    struct Drive {
        std::string name;
        std::string address;  // empty: the image-file drive
    };
    // Waits for a drive scan still going on to end, adding what it found to
    // `found` when given; false when the deadline or an abort came first.
    bool WaitForScan(std::chrono::steady_clock::time_point deadline, const std::function<bool()>& aborted,
                     std::vector<Drive>* found);
    std::size_t LogSize();
    static void ReleaseDrive(burn::burn_drive_info* info);

    const bool scanDrives_;
    const std::vector<std::string> scanOnly_;
    const std::function<void(const std::string&)> trace_;
    bool connected_ = false;
    BurnCallbacks callbacks_;
    std::vector<Drive> drives_;
    bool scanPending_ = false;  // a scan was started and has not been seen to end
    std::string refusal_;
    std::string imageFile_;  // the image-file drive's file last chosen
    std::vector<burn::burn_drive_info*> parked_;
    std::atomic<long> handedOut_{0};
    std::mutex logMutex_;
    std::string log_;
};

}  // namespace recording
