#pragma once
// The burning engine over the system's libraries: libburn for drives and
// writing, libisofs for the ISO 9660 tree (Rock Ridge and Joliet, so names
// read back as they were written), libisoburn for multi-session on discs and
// image files. Besides the optical drives it always offers an image-file drive
// ("Image Recorder") that writes an ISO image file through a stdio: address.

#include <atomic>
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
    explicit IsoBurnEngine(bool scanDrives = true, std::function<void(const std::string&)> trace = {});
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

private:
    void GatherMessages();
    std::size_t LogSize();
    static void ReleaseDrive(burn::burn_drive_info* info);

    const bool scanDrives_;
    const std::function<void(const std::string&)> trace_;
    bool connected_ = false;
    BurnCallbacks callbacks_;
    struct Drive {
        std::string name;
        std::string address;  // empty: the image-file drive
    };
    std::vector<Drive> drives_;
    std::string imageFile_;  // the image-file drive's file last chosen
    std::vector<burn::burn_drive_info*> parked_;
    std::atomic<long> handedOut_{0};
    std::mutex logMutex_;
    std::string log_;
};

}  // namespace recording
