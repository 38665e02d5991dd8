#include "recording/backup/IsoBurnEngine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <tuple>
#include <utility>
#include <thread>

// libisofs first (its own burn_source); libburn declares itself in namespace
// burn for C++, and libisoburn expects to see it unqualified.
#include <libisofs/libisofs.h>
#include <libburn/libburn.h>
using namespace burn;
#include <libisoburn/libisoburn.h>

namespace recording {

struct BurnDevice {
    burn_drive_info* info = nullptr;
    burn_drive* drive = nullptr;
    bool imageFile = false;
    bool parked = false;  // kept acquired after a cancelled write
};

struct BurnStamp {
    IsoImage* image = nullptr;
};

struct BurnTrack {
    struct Entry {
        std::string name;
        std::string sourcePath;
        bool reference = false;
    };
    std::string volume;
    std::vector<Entry> entries;
};

namespace {

using Clock = std::chrono::steady_clock;

// How often a running burn reports progress and looks at the abort request.
constexpr auto kBurnPoll = std::chrono::milliseconds(50);
// The longest waits for a drive scan to end and for a drive to become idle
// before a write, and how often they look.
constexpr auto kScanWait = std::chrono::seconds(20);
constexpr auto kDriveIdleWait = std::chrono::seconds(20);
constexpr auto kDrivePoll = std::chrono::milliseconds(10);
constexpr auto kCancelWait = std::chrono::seconds(5);
// The longest wait for the library's write threads after the drive went idle.
constexpr auto kWriterEndWait = std::chrono::seconds(2);

// The threads of this process (0 when the system does not say).
long ProcessThreadCount() {
    long count = 0;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[128];
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "Threads: %ld", &count) == 1)
                break;
        std::fclose(status);
    }
    return count;
}

// The libraries' read and image options, released on every path.
struct ReadOptions {
    isoburn_read_opts* o = nullptr;
    ReadOptions() {
        if (isoburn_ropt_new(&o, 0) > 0)
            isoburn_ropt_set_extensions(o, isoburn_ropt_noiso1999);
    }
    ~ReadOptions() {
        if (o)
            isoburn_ropt_destroy(&o, 0);
    }
};

struct ImageOptions {
    isoburn_imgen_opts* o = nullptr;
    ImageOptions() {
        if (isoburn_igopt_new(&o, 0) > 0)
            isoburn_igopt_set_extensions(o, isoburn_igopt_rockridge | isoburn_igopt_joliet);
    }
    ~ImageOptions() {
        if (o)
            isoburn_igopt_destroy(&o, 0);
    }
};

std::string Trimmed(const char* text, std::size_t size) {
    std::string s(text, strnlen(text, size));
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

std::uint32_t MediaFlagsOfProfile(int profile) {
    if (profile >= 0x08 && profile <= 0x0a)
        return kMediaCd;
    if (profile >= 0x10 && profile <= 0x2b)
        return kMediaDvd;
    if (profile >= 0x40 && profile <= 0x43)
        return kMediaBd;
    return kMediaCd;  // a stdio file takes what a CD takes
}

// True when the file opens and reads as a regular file.
bool SourceReadable(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st{};
    char byte;
    const bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && (st.st_size == 0 || ::read(fd, &byte, 1) == 1);
    ::close(fd);
    return ok;
}

}  // namespace

IsoBurnEngine::IsoBurnEngine(bool scanDrives, std::function<void(const std::string&)> trace,
                             std::vector<std::string> scanOnly)
    : scanDrives_(scanDrives), scanOnly_(std::move(scanOnly)), trace_(std::move(trace)) {}

IsoBurnEngine::~IsoBurnEngine() {
    if (connected_)
        Done();
}

bool IsoBurnEngine::Connect() {
    Disconnect();
    // Libraries older than those this program was built against are refused.
    if (!iso_lib_is_compatible(iso_lib_header_version_major, iso_lib_header_version_minor,
                               iso_lib_header_version_micro))
        return false;
    int major = 0, minor = 0, micro = 0;
    burn_version(&major, &minor, &micro);
    if (std::tie(major, minor, micro) <
        std::make_tuple(burn_header_version_major, burn_header_version_minor, burn_header_version_micro))
        return false;
    char message[1024] = {};
    if (!isoburn_initialize(message, 0)) {
        if (trace_)
            trace_(std::string("Burn engine: ") + message);
        return false;
    }
    if (!isoburn_is_compatible(isoburn_header_version_major, isoburn_header_version_minor,
                               isoburn_header_version_micro, 0)) {
        isoburn_finish();
        return false;
    }
    // Messages are gathered for the trace log, never printed.
    burn_msgs_set_severities(const_cast<char*>("SORRY"), const_cast<char*>("NEVER"), const_cast<char*>("quenlo : "));
    connected_ = true;
    return true;
}

void IsoBurnEngine::Disconnect() {
    if (!connected_)
        return;
    parked_.clear();
    isoburn_finish();
    connected_ = false;
    drives_.clear();
}

int IsoBurnEngine::Init(BurnCallbacks callbacks) {
    callbacks_ = std::move(callbacks);
    return connected_ ? 0 : 1;
}

bool IsoBurnEngine::Done() {
    const bool leaked = handedOut_.load() != 0;
    Disconnect();
    return leaked;
}

std::optional<std::vector<std::string>> IsoBurnEngine::AvailableDrives() {
    if (!connected_)
        return std::nullopt;
    drives_.clear();
    if (scanDrives_) {
        burn_drive_clear_whitelist();
        for (std::string address : scanOnly_)
            burn_drive_add_whitelist(address.data());
        // Starts a scan, or goes on waiting for one that outlived an earlier wait.
        scanPending_ = true;
        if (!WaitForScan(Clock::now() + kScanWait, {}, &drives_) && trace_)
            trace_("Burn engine: the drive scan has not ended; only the image-file drive is offered");
    }
    drives_.push_back({kImageRecorderName, ""});
    std::vector<std::string> names;
    for (const auto& d : drives_)
        names.push_back(d.name);
    return names;
}

bool IsoBurnEngine::WaitForScan(Clock::time_point deadline, const std::function<bool()>& aborted,
                                std::vector<Drive>* found) {
    // libburn scans on a thread of its own: the call starts the scan and must
    // be repeated until it reports the end. While a scan goes on every write is
    // refused, and no drive may be taken.
    while (scanPending_) {
        burn_drive_info* infos = nullptr;
        unsigned int count = 0;
        const int ended = burn_drive_scan(&infos, &count);
        if (ended != 0) {
            scanPending_ = false;
            for (unsigned int i = 0; found && ended > 0 && i < count; ++i) {
                char address[BURN_DRIVE_ADR_LEN] = {};
                if (burn_drive_get_adr(&infos[i], address) <= 0)
                    continue;
                const std::string name = Trimmed(infos[i].vendor, sizeof(infos[i].vendor)) + " " +
                                         Trimmed(infos[i].product, sizeof(infos[i].product));
                found->push_back({name, address});
            }
            if (ended > 0)
                burn_drive_info_free(infos);
            break;
        }
        if (Clock::now() >= deadline || (aborted && aborted()))
            return false;
        std::this_thread::sleep_for(kDrivePoll);
    }
    return true;
}

BurnDevice* IsoBurnEngine::OpenDevice(int index, DeviceUse use) {
    refusal_.clear();
    if (!connected_ || index < 0 || static_cast<std::size_t>(index) >= drives_.size())
        return nullptr;
    if (!WaitForScan(Clock::now() + kScanWait, {}, nullptr)) {
        refusal_ = "A drive scan is still going on";
        if (trace_)
            trace_("Burn engine: " + refusal_);
        return nullptr;
    }
    const Drive& drive = drives_[static_cast<std::size_t>(index)];
    std::string address = drive.address;
    if (address.empty()) {
        // The image-file drive: the check asks for the file, the burn takes the last one.
        if (use == DeviceUse::Check || imageFile_.empty()) {
            std::string chosen;
            if (!callbacks_.userDialog || callbacks_.userDialog(kAskImageFile, chosen) != 1 || chosen.empty())
                return nullptr;
            imageFile_ = chosen;
        }
        address = "stdio:" + imageFile_;
    }
    auto device = std::make_unique<BurnDevice>();
    device->imageFile = drive.address.empty();
    if (isoburn_drive_aquire(&device->info, address.data(), device->imageFile ? 0 : 1) <= 0) {
        refusal_ = GatherMessages();
        return nullptr;
    }
    device->drive = device->info[0].drive;
    ++handedOut_;
    return device.release();
}

void IsoBurnEngine::CloseDevice(BurnDevice* device) {
    if (!device)
        return;
    if (device->parked)
        parked_.push_back(device->info);
    else
        ReleaseDrive(device->info);
    delete device;
    --handedOut_;
}

void IsoBurnEngine::ReleaseDrive(burn_drive_info* info) {
    isoburn_drive_release(info[0].drive, 0);
    burn_drive_info_free(info);
}

std::size_t IsoBurnEngine::LogSize() {
    std::lock_guard lock(logMutex_);
    return log_.size();
}

std::optional<BurnDiscInfo> IsoBurnEngine::DiscInfo(BurnDevice* device) {
    if (!device)
        return std::nullopt;
    const burn_disc_status status = isoburn_disc_get_status(device->drive);
    if (status != BURN_DISC_BLANK && status != BURN_DISC_APPENDABLE && status != BURN_DISC_FULL)
        return std::nullopt;
    BurnDiscInfo info;
    int profile = 0;
    char profileName[80] = {};
    burn_disc_get_profile(device->drive, &profile, profileName);
    info.mediaFlags = status == BURN_DISC_FULL ? kMediaClosed : MediaFlagsOfProfile(profile);
    const off_t space = isoburn_disc_available_space(device->drive, nullptr);
    info.freeSectors = space > 0 ? static_cast<std::uint64_t>(space) / 2048 : 0;
    if (status != BURN_DISC_BLANK) {
        if (isoburn_toc_disc* toc = isoburn_toc_drive_get_disc(device->drive)) {
            int sessions = 0;
            isoburn_toc_disc_get_sessions(toc, &sessions);
            info.trackCount = static_cast<std::uint32_t>(std::max(sessions, 0));
            isoburn_toc_disc_free(toc);
        }
    }
    return info;
}

BurnIsoItem* IsoBurnEngine::ImportDataTrack(BurnDevice* device, int track, BurnStamp** stamp, int* result) {
    *stamp = nullptr;
    *result = kImportOk;
    if (!device || track < 0)
        return nullptr;
    ReadOptions options;
    IsoImage* image = nullptr;
    if (!options.o || isoburn_read_image(device->drive, options.o, &image) <= 0) {
        GatherMessages();
        *result = kImportReadError;
        return nullptr;
    }
    BurnIsoItem* first = nullptr;
    BurnIsoItem** link = &first;
    IsoDirIter* iter = nullptr;
    if (iso_dir_get_children(iso_image_get_root(image), &iter) >= 0) {
        IsoNode* node = nullptr;
        while (iso_dir_iter_next(iter, &node) == 1) {
            BurnIsoItem* item = CreateIsoItem();
            item->name = iso_node_get_name(node);
            item->folder = iso_node_get_type(node) == LIBISO_DIR;
            item->reference = true;
            const time_t mtime = iso_node_get_mtime(node);
            localtime_r(&mtime, &item->time);
            *link = item;
            link = &item->next;
        }
        iso_dir_iter_free(iter);
    }
    if (!first) {
        iso_image_unref(image);
        return nullptr;
    }
    *stamp = new BurnStamp{image};
    ++handedOut_;
    return first;
}

BurnIsoItem* IsoBurnEngine::CreateIsoItem() {
    ++handedOut_;
    return new BurnIsoItem;
}

void IsoBurnEngine::FreeIsoItemTree(BurnIsoItem* first) {
    while (first) {
        BurnIsoItem* next = first->next;
        FreeIsoItemTree(first->firstChild);
        delete first;
        --handedOut_;
        first = next;
    }
}

void IsoBurnEngine::FreeStamp(BurnStamp* stamp) {
    if (!stamp)
        return;
    iso_image_unref(stamp->image);
    delete stamp;
    --handedOut_;
}

BurnTrack* IsoBurnEngine::CreateIsoTrack(const BurnIsoItem* first, const std::string& volume) {
    auto* track = new BurnTrack{volume, {}};
    for (const BurnIsoItem* item = first; item; item = item->next)
        track->entries.push_back({item->name, item->sourcePath, item->reference});
    ++handedOut_;
    return track;
}

void IsoBurnEngine::FreeIsoTrack(BurnTrack* track) {
    if (!track)
        return;
    delete track;
    --handedOut_;
}

int IsoBurnEngine::Burn(BurnDevice* device, const BurnWriteRecord& record, int flags, const BurnProgress& progress) {
    refusal_.clear();
    if (!device || !record.track)
        return kBurnDriveUnusable;
    // An unreadable source fails the burn before anything is written.
    for (const auto& entry : record.track->entries)
        if (!entry.reference && !SourceReadable(entry.sourcePath)) {
            if (trace_)
                trace_("Burn engine: cannot read " + entry.sourcePath);
            return kBurnFailed;
        }

    // The drive's last session (an empty tree on a blank disc), attached to the drive.
    ReadOptions readOptions;
    IsoImage* image = nullptr;
    if (!readOptions.o || isoburn_read_image(device->drive, readOptions.o, &image) <= 0) {
        GatherMessages();
        return kBurnFailed;
    }
    std::unique_ptr<IsoImage, decltype(&iso_image_unref)> imageRef(image, iso_image_unref);
    IsoDir* root = iso_image_get_root(image);

    // Keep the disc's items the track still lists; drop the others.
    std::vector<IsoNode*> dropped;
    IsoDirIter* iter = nullptr;
    if (iso_dir_get_children(root, &iter) >= 0) {
        IsoNode* node = nullptr;
        while (iso_dir_iter_next(iter, &node) == 1) {
            const std::string name = iso_node_get_name(node);
            const bool kept = std::ranges::any_of(record.track->entries,
                                                  [&](const auto& e) { return e.reference && e.name == name; });
            if (!kept)
                dropped.push_back(node);
        }
        iso_dir_iter_free(iter);
    }
    for (IsoNode* node : dropped)
        iso_node_remove(node);
    for (const auto& entry : record.track->entries) {
        if (entry.reference)
            continue;
        IsoNode* existing = nullptr;
        if (iso_dir_get_node(root, entry.name.c_str(), &existing) == 1)
            iso_node_remove(existing);
        if (iso_tree_add_new_node(image, root, entry.name.c_str(), entry.sourcePath.c_str(), nullptr) < 0) {
            GatherMessages();
            return kBurnFailed;
        }
    }
    iso_image_set_volume_id(image, record.track->volume.c_str());

    ImageOptions imageOptions;
    burn_disc* disc = nullptr;
    // Before the libraries start their threads for this session (the image
    // writer starts with the preparation).
    const long threadsBefore = ProcessThreadCount();
    if (!imageOptions.o || isoburn_prepare_disc(device->drive, &disc, imageOptions.o) <= 0) {
        GatherMessages();
        return kBurnFailed;
    }
    std::unique_ptr<burn_disc, decltype(&burn_disc_free)> discRef(disc, burn_disc_free);
    std::unique_ptr<burn_write_opts, decltype(&burn_write_opts_free)> writeOptions(burn_write_opts_new(device->drive),
                                                                                  burn_write_opts_free);
    burn_write_opts_set_perform_opc(writeOptions.get(), 0);
    // Image files and other overwritable media get their sessions from
    // libisoburn's emulation; only real multi-session media are kept open.
    const bool emulated = isoburn_needs_emulation(device->drive) == 1;
    burn_write_opts_set_multi(writeOptions.get(), flags != kBurnCloseDisc && !emulated ? 1 : 0);
    char reasons[BURN_REASONS_LEN] = {};
    if (burn_write_opts_auto_write_type(writeOptions.get(), disc, reasons, 0) == BURN_WRITE_NONE) {
        if (trace_)
            trace_(std::string("Burn engine: ") + reasons);
        isoburn_cancel_prepared_write(device->drive, nullptr, 0);
        return kBurnDriveUnusable;
    }

    // The library refuses a write while any drive operation goes on (a scan,
    // or the drive's own work), so the write waits for their end: bounded, and
    // not past an abort.
    const auto idleDeadline = Clock::now() + kDriveIdleWait;
    const auto isAborted = [&] { return progress.aborted && progress.aborted(); };
    WaitForScan(idleDeadline, isAborted, nullptr);
    while (burn_drive_get_status(device->drive, nullptr) != BURN_DRIVE_IDLE && Clock::now() < idleDeadline &&
           !isAborted())
        std::this_thread::sleep_for(kDrivePoll);
    if (isAborted()) {
        isoburn_cancel_prepared_write(device->drive, nullptr, 0);
        return kBurnAborted;
    }

    GatherMessages();
    const std::size_t logBefore = LogSize();
    isoburn_disc_write(writeOptions.get(), disc);
    // An accepted write has left the idle state on return; a refused one says why.
    if (burn_drive_get_status(device->drive, nullptr) == BURN_DRIVE_IDLE) {
        if (std::string reason = GatherMessages(); !reason.empty()) {
            refusal_ = std::move(reason);
            if (trace_)
                trace_("Burn engine: the write was refused: " + refusal_);
            isoburn_cancel_prepared_write(device->drive, nullptr, 0);
            return kBurnDriveNotAllowed;
        }
    }
    while (burn_drive_get_status(device->drive, nullptr) == BURN_DRIVE_SPAWNING)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    // A cancelled write must end within a bounded time; past that the drive is given up.
    auto cancelDeadline = std::chrono::steady_clock::time_point::max();
    bool aborted = false;
    bool gaveUp = false;  // the drive never went idle after the cancel
    int lastPercent = -1;
    burn_progress state{};
    while (burn_drive_get_status(device->drive, &state) != BURN_DRIVE_IDLE) {
        if (!aborted && progress.aborted && progress.aborted()) {
            burn_drive_cancel(device->drive);
            aborted = true;
            cancelDeadline = std::chrono::steady_clock::now() + kCancelWait;
        }
        if (std::chrono::steady_clock::now() > cancelDeadline) {
            gaveUp = true;
            break;
        }
        if (state.sectors > 0 && progress.progress) {
            const int percent = std::clamp(static_cast<int>(100LL * state.sector / state.sectors), 0, 99);
            if (percent != lastPercent)
                progress.progress(lastPercent = percent);
        }
        std::this_thread::sleep_for(kBurnPoll);
    }
    // libburn reports the drive idle while its write thread still tidies the
    // drive up: it clears the drive's buffer pointer at the very end, and a
    // session activated meanwhile writes through that pointer and crashes
    // (seen on a loaded machine). The session's threads, counted from before
    // the preparation, are given a bounded time to end.
    const auto writerEndDeadline = std::chrono::steady_clock::now() + kWriterEndWait;
    while (!gaveUp && ProcessThreadCount() > threadsBefore && std::chrono::steady_clock::now() < writerEndDeadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    GatherMessages();
    // A write the drive refused (or that reported errors) is no success, whatever the drive says.
    const bool wroteWell = isoburn_drive_wrote_well(device->drive) == 1 && LogSize() == logBefore;
    // A session written badly or cut short is never made the disc's last one,
    // so what the disc held before stays readable.
    int result = kBurnOk;
    if (aborted)
        result = kBurnAborted;
    else if (!wroteWell || isoburn_activate_session(device->drive) <= 0)
        result = kBurnFailed;
    if (result != kBurnOk)
        isoburn_cancel_prepared_write(device->drive, nullptr, 0);
    // The library may still hold a worker for a cancelled drive; it stays
    // acquired until the engine ends, so the next drive is not taken for it.
    device->parked = aborted;
    isoburn_sync_after_write(device->drive, nullptr, 0);
    GatherMessages();
    if (result == kBurnOk && progress.progress)
        progress.progress(100);
    return result;
}

std::string IsoBurnEngine::GatherMessages() {
    if (!connected_)
        return {};
    int code = 0, osErrno = 0;
    char text[BURN_MSGS_MESSAGE_LEN] = {};
    char severity[80] = {};
    std::string gathered;
    std::lock_guard lock(logMutex_);
    while (burn_msgs_obtain(const_cast<char*>("SORRY"), &code, text, &osErrno, severity) > 0) {
        log_ += std::string(severity) + ": " + text + "\n";
        gathered += (gathered.empty() ? "" : "\n") + std::string(text);
    }
    return gathered;
}

std::string IsoBurnEngine::ErrorLog() {
    GatherMessages();
    std::lock_guard lock(logMutex_);
    return std::exchange(log_, {});
}

void IsoBurnEngine::ClearErrors() {
    ErrorLog();
}

std::string IsoBurnEngine::RefusalReason() {
    return refusal_;
}

}  // namespace recording
