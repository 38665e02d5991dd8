#pragma once
// The disc-burning engine as the CD backup writer uses it: drives, the disc's
// state, the import of its last session, an ISO track and the burn. Every
// object it hands out (devices, item lists, stamps, tracks) is released
// through it, and Done reports what was not. One implementation over the
// system's burning libraries (IsoBurnEngine) and one test fake.

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace recording {

// An item at the root of an ISO track: one of ours (a file to write) or one
// imported from the disc's last session, which the burn keeps as it is.
struct BurnIsoItem {
    std::string name;        // the name on the disc
    std::string sourcePath;  // the file to write (ours only)
    bool folder = false;
    bool reference = false;  // imported from the disc
    std::tm time{};          // the disc item's time; all zero for ours
    BurnIsoItem* firstChild = nullptr;
    BurnIsoItem* next = nullptr;
};

struct BurnDevice;  // an open drive
struct BurnStamp;   // what an import read, for the burn that appends to it
struct BurnTrack;   // an ISO track ready to burn

// Media flags of a disc.
inline constexpr std::uint32_t kMediaCd = 0x1;
inline constexpr std::uint32_t kMediaDvd = 0x2;       // DVD of any kind
inline constexpr std::uint32_t kMediaBd = 0x40000;    // BD of any kind
inline constexpr std::uint32_t kMediaClosed = 0x100000;  // nothing more can be written

struct BurnDiscInfo {
    std::uint64_t freeSectors = 0;  // 2,048 bytes each
    std::uint32_t mediaFlags = 0;
    std::uint32_t trackCount = 0;
};

// Import results.
inline constexpr int kImportOk = 0;
inline constexpr int kImportReadError = 3;

// Burn flags: close the disc, or only the session.
inline constexpr int kBurnCloseDisc = 4;
inline constexpr int kBurnCloseSession = 20;

// Burn results.
inline constexpr int kBurnOk = 0;
inline constexpr int kBurnDriveUnusable = 2;
inline constexpr int kBurnFailed = 3;
inline constexpr int kBurnDriveNotAllowed = 5;  // refused: the drive is busy
inline constexpr int kBurnAborted = 6;

// User-dialog questions and answers.
inline constexpr int kAskImageFile = 20;   // data: the chosen path, on answer 1
inline constexpr int kAnswerCancelled = 21;

// The engine's questions to the program, and its wish to be kept alive meanwhile.
struct BurnCallbacks {
    std::function<bool()> idle;                             // true: abort
    std::function<int(int code, std::string& data)> userDialog;
};

// Polled while a burn runs (at least every 100 ms).
struct BurnProgress {
    std::function<void(int percent)> progress;
    std::function<bool()> aborted;
};

struct BurnWriteRecord {
    BurnTrack* track = nullptr;
    BurnStamp* stamp = nullptr;
    std::uint32_t mediaWord = 1;
};

enum class DeviceUse {
    Check,  // the image-file drive asks for its file
    Burn,   // the image-file drive takes the file last chosen
};

class BurnEngine {
public:
    virtual ~BurnEngine() = default;

    // The libraries are there and not older than the build's.
    virtual bool Connect() = 0;
    virtual void Disconnect() = 0;
    // 0 when initialised.
    virtual int Init(BurnCallbacks callbacks) = 0;
    // Ends the engine's work; true when something handed out was never released.
    virtual bool Done() = 0;

    // The drives' names; nothing when the engine cannot list them.
    virtual std::optional<std::vector<std::string>> AvailableDrives() = 0;
    virtual BurnDevice* OpenDevice(int index, DeviceUse use) = 0;
    virtual void CloseDevice(BurnDevice* device) = 0;
    // Nothing when the drive holds no disc.
    virtual std::optional<BurnDiscInfo> DiscInfo(BurnDevice* device) = 0;

    // The root items of the given track (session), with a stamp for a burn
    // that appends; null (and no stamp) when there are none. result: 0-5.
    virtual BurnIsoItem* ImportDataTrack(BurnDevice* device, int track, BurnStamp** stamp, int* result) = 0;
    virtual BurnIsoItem* CreateIsoItem() = 0;
    // Releases the items of a list, with their children.
    virtual void FreeIsoItemTree(BurnIsoItem* first) = 0;
    virtual void FreeStamp(BurnStamp* stamp) = 0;

    virtual BurnTrack* CreateIsoTrack(const BurnIsoItem* first, const std::string& volume) = 0;
    virtual void FreeIsoTrack(BurnTrack* track) = 0;
    virtual int Burn(BurnDevice* device, const BurnWriteRecord& record, int flags, const BurnProgress& progress) = 0;

    // The messages gathered since the last call (emptied by it).
    virtual std::string ErrorLog() = 0;
    virtual void ClearErrors() = 0;
    // Why the last OpenDevice or Burn was refused; empty when it was not.
    virtual std::string RefusalReason() = 0;
};

}  // namespace recording
