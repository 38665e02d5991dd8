#include "recording/backup/CdBackupWriter.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "session/files/TraceLog.h"

namespace recording {
namespace {

constexpr std::uint32_t kDvdFlags = 0x2 | 0x4 | 0x8 | 0x10 | 0x800 | 0x1000 | 0x2000 | 0x4000 | 0x40000 | 0x80000;

constexpr std::array<const char*, 6> kImportErrors{"an unknown error",  "a generic error",    "a drive error",
                                                   "a read error",      "a filesystem error", "an invalid track number"};

constexpr std::array<const char*, 8> kBurnErrors{nullptr,
                                                 "Write CD Error : unknown CD format",
                                                 "Write CD Error : invalid drive",
                                                 "Write CD Error : burn failed",
                                                 "Write CD Error : function not allowed",
                                                 "Write CD Error : drive not allowed",
                                                 "Write CD Error : user aborted",
                                                 "Write CD Error : bad message file"};

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && Upper(a) == Upper(b);
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

std::string FilePart(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

// The item's time in calendar seconds; -1 for ours, whose time is all zero.
std::time_t ItemTime(const BurnIsoItem& item) {
    const std::tm& t = item.time;
    if (t.tm_sec == 0 && t.tm_min == 0 && t.tm_hour == 0 && t.tm_mday == 0 && t.tm_mon == 0 && t.tm_year == 0 &&
        t.tm_wday == 0 && t.tm_yday == 0 && t.tm_isdst == 0)
        return -1;
    std::tm copy = item.time;
    return std::mktime(&copy);
}

std::optional<std::uint64_t> FileSize(const std::string& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file)
        return std::nullopt;
    return static_cast<std::uint64_t>(file.tellg());
}

}  // namespace

std::uint32_t MediaWordOfFlags(std::uint32_t flags, std::uint32_t unknown) {
    if (flags == 0)
        return kMediaWordNone;
    if (flags & 0x1)
        return kMediaWordCd;
    if (flags & kDvdFlags)
        return kMediaWordDvd;
    return unknown;
}

CdBackupWriter::CdBackupWriter(session::AppData& app, std::unique_ptr<BurnEngine> engine,
                               ImageFileQuestion askImageFile)
    : app_(app), engine_(std::move(engine)), askImageFile_(std::move(askImageFile)) {}

CdBackupWriter::~CdBackupWriter() {
    if (m_bInitialized)
        Close();
}

void CdBackupWriter::Message(const std::string& text) const {
    app_.Ui().ShowMessageText(text);
}

std::string CdBackupWriter::WithReason(const std::string& text) const {
    const std::string reason = engine_->RefusalReason();
    return reason.empty() ? text : text + "\n" + reason;
}

void CdBackupWriter::Progress(int event, std::uint32_t value) const {
    if (progress_)
        progress_(event, value);
}

std::string CdBackupWriter::ChosenDriveName() const {
    return m_nDriveIndex >= 0 && static_cast<std::size_t>(m_nDriveIndex) < m_DriveNames.size()
               ? m_DriveNames[static_cast<std::size_t>(m_nDriveIndex)]
               : std::string();
}

bool CdBackupWriter::ImageRecorderChosen() const {
    return ChosenDriveName().starts_with(kImageRecorderPrefix);
}

std::string CdBackupWriter::PlayerSetupPath() const {
    return app_.CSettingINI.m_strAppPath.Get() + kPlayerSetupName;
}

int CdBackupWriter::Initialize(const std::string& path, CdProgressFunction progress) {
    m_strDiscFileName = path;
    m_strSourcePath = path;
    progress_ = std::move(progress);
    m_bAbort = 0;
    if (path.empty()) {
        Message("File name is not valid");
        return 0;
    }
    if (!m_bInitialized) {
        if (!engine_->Connect()) {
            Message("You should install the disc-burning library first.");
            return 0;
        }
        const int result = engine_->Init({[this] { return IdleCallback(); },
                                           [this](int code, std::string& data) { return UserDialogCallback(code, data); }});
        if (result == 1)
            Message("The arguments are not valid.");
        else if (result != 0)
            Message("An error occured. The type of error cannot be determined.");
    }
    const auto drives = engine_->AvailableDrives();
    if (!drives) {
        Message("No available devices.");
        return 0;
    }
    m_DriveNames = *drives;
    m_nDriveCount = static_cast<std::int32_t>(m_DriveNames.size());
    if (m_nDriveCount == 0) {
        Message("The number of available devices is 0.");
        return 0;
    }
    m_bInitialized = 1;
    return 1;
}

int CdBackupWriter::CheckDisc() {
    const std::string name = m_strDiscFileName;
    if (name.size() < 4 || Upper(name.substr(name.size() - 4)) != ".DVR") {
        Message("The extension of file name should be (dvr)");
        return 0;
    }
    // A ticked installer that is missing would fail the burn: refused here.
    std::uint64_t setupSize = 0;
    if (app_.CSettingINI.m_dwWritePlayerSetup != 0) {
        const auto size = FileSize(PlayerSetupPath());
        if (!size) {
            Message("Could not open file: " + PlayerSetupPath() + ".");
            return 0;
        }
        setupSize = *size;
    }
    BurnDevice* device = engine_->OpenDevice(m_nDriveIndex, DeviceUse::Check);
    if (!device) {
        Message(WithReason("Device could not be opened: " + ChosenDriveName()));
        return 0;
    }
    const auto refuse = [&](const std::string& text) {
        Message(text);
        engine_->CloseDevice(device);
        return 0;
    };
    if (!ImageRecorderChosen()) {
        const auto info = engine_->DiscInfo(device);
        if (info) {
            const std::uint64_t needed = m_dwRecordSize + setupSize;
            if (needed + 4096 > info->freeSectors * 2048)
                return refuse("No available space for writing CD.");
        }
        m_dwMediaType = info ? MediaWordOfFlags(info->mediaFlags, kMediaWordNotWritable) : kMediaWordNone;
        if (m_dwMediaType == kMediaWordNone)
            return refuse("NO DISC");
        if (m_dwMediaType == kMediaWordNotWritable)
            return refuse("Disc is non writable");
    }
    const auto info = engine_->DiscInfo(device);
    if (!info)
        return refuse("NO DISC");
    const std::string filePart = FilePart(name);
    BurnStamp* stamp = nullptr;
    int result = 0;
    BurnIsoItem* list = engine_->ImportDataTrack(device, static_cast<int>(info->trackCount) - 1, &stamp, &result);
    engine_->FreeStamp(stamp);
    for (const BurnIsoItem* item = list; item; item = item->next)
        if (StartsWithNoCase(item->name, filePart)) {
            FreeIsoTree(list);
            return refuse("FileName is tha same as other existed file,please modify it");
        }
    FreeIsoTree(list);
    engine_->CloseDevice(device);
    return 1;
}

int CdBackupWriter::Burn() {
    if (!m_bInitialized)
        return 0;
    if (m_strDiscFileName.empty()) {
        Message("Filename is not valid!");
        return 0;
    }
    BurnWriteRecord record;
    BurnDevice* device = engine_->OpenDevice(m_nDriveIndex, DeviceUse::Burn);
    if (!device) {
        Message(WithReason("Device could not be opened: " + ChosenDriveName()));
        return 1;
    }
    if (!ImageRecorderChosen()) {
        const auto info = engine_->DiscInfo(device);
        m_dwMediaType = info ? MediaWordOfFlags(info->mediaFlags, m_dwMediaType) : kMediaWordNone;
        if (m_dwMediaType == kMediaWordNone) {
            Message("NO DISC");
            engine_->CloseDevice(device);
            Progress(kCdProgressEnd, 0);
            return 0;
        }
    }

    // Every burn starts from a new list: the backup, then the installer when asked for.
    BurnIsoItem* first = engine_->CreateIsoItem();
    first->name = FilePart(m_strDiscFileName);
    first->sourcePath = std::filesystem::absolute(m_strSourcePath).string();
    if (app_.CSettingINI.m_dwWritePlayerSetup != 0) {
        BurnIsoItem* setup = engine_->CreateIsoItem();
        setup->name = kPlayerSetupName;
        setup->sourcePath = PlayerSetupPath();
        first->next = setup;
    }
    m_pIsoRoot = first;
    record.mediaWord = m_dwMediaType == kMediaWordCd ? kMediaWordCd : kMediaWordDvd;

    Progress(kCdProgressBegin, 0);
    bool burned = false;
    int result = 0;
    const auto burn = [&] {
        if (const auto info = engine_->DiscInfo(device)) {
            BurnStamp* stamp = nullptr;
            int importResult = 0;
            BurnIsoItem* list = engine_->ImportDataTrack(device, static_cast<int>(info->trackCount) - 1, &stamp,
                                                         &importResult);
            if (list) {
                if (importResult != 0) {
                    const auto index = importResult > 0 && importResult < 6 ? importResult : 0;
                    Message(std::string("There was ") + kImportErrors[static_cast<std::size_t>(index)] +
                            " while importing the track!");
                    FreeIsoTree(list);
                    engine_->FreeStamp(stamp);
                    return;
                }
                if (!MergeSession(&m_pIsoRoot, list)) {
                    Message("There was an error while merging tracks!");
                    FreeIsoTree(list);
                    engine_->FreeStamp(stamp);
                    return;
                }
                record.stamp = stamp;
            }
        }
        BurnTrack* track = engine_->CreateIsoTrack(m_pIsoRoot, kDiscVolumeName);
        record.track = track;
        result = engine_->Burn(device, record, m_bCloseDisc ? kBurnCloseDisc : kBurnCloseSession,
                               {[this](int percent) { ProgressCallback(percent); }, [this] { return AbortCallback(); }});
        burned = true;
        engine_->FreeIsoTrack(track);
    };
    burn();

    // Clean-up, on every path.
    engine_->CloseDevice(device);
    m_bAbort = 0;
    if (const std::string log = engine_->ErrorLog(); !log.empty())
        session::WriteTraceLog("CdBackupWriter::Burn " + log);
    Progress(kCdProgressEnd, 0);
    FreeIsoTree(m_pIsoRoot);
    m_pIsoRoot = nullptr;
    engine_->FreeStamp(record.stamp);

    if (burned && result != kBurnOk) {
        const std::string text = result > 0 && result < static_cast<int>(kBurnErrors.size())
                                     ? kBurnErrors[static_cast<std::size_t>(result)]
                                     : "Write CD Error : unknown error";
        // A drive that stayed busy is something the operator can wait out: say so.
        Message(result == kBurnDriveNotAllowed ? WithReason(text) : text);
    }
    return 1;
}

int CdBackupWriter::MergeSession(BurnIsoItem** head, BurnIsoItem* imported) {
    if (!head || !*head || !imported)
        return 0;
    BurnIsoItem** newLink = head;
    while (*newLink) {
        BurnIsoItem** discLink = &imported;
        while (*discLink) {
            BurnIsoItem* n = *newLink;
            BurnIsoItem* d = *discLink;
            if (!EqualNoCase(n->name, d->name)) {
                discLink = &d->next;
                continue;
            }
            std::time_t newTime = ItemTime(*n);
            if (newTime == -1) {
                struct stat st{};
                if (::stat(n->sourcePath.c_str(), &st) != 0 || !std::ifstream(n->sourcePath))
                    Message("Could not open file: " + n->sourcePath + ".");
                else
                    newTime = st.st_mtime;
            }
            const std::time_t discTime = ItemTime(*d);
            if (newTime < discTime) {
                // The disc's newer item takes the new one's place.
                BurnIsoItem* discNext = d->next;
                d->next = n->next;
                *newLink = d;
                n->next = discNext;
                *discLink = n;
            }
            // The older one (the disc's on equal times) goes.
            BurnIsoItem* older = *discLink;
            *discLink = older->next;
            older->next = nullptr;
            FreeIsoTree(older);
        }
        newLink = &(*newLink)->next;
    }
    *newLink = imported;
    return 1;
}

void CdBackupWriter::FreeIsoTree(BurnIsoItem* list) {
    if (list)
        engine_->FreeIsoItemTree(list);
}

void CdBackupWriter::Close() {
    engine_->ClearErrors();
    if (engine_->Done())
        Message("Detected memory leaks");
    engine_->Disconnect();
    m_bInitialized = 0;
}

int CdBackupWriter::ProgressCallback(int percent) {
    Progress(kCdProgressPosition, static_cast<std::uint32_t>(percent));
    return 1;
}

int CdBackupWriter::UserDialogCallback(int code, std::string& data) {
    switch (code) {
        case 2:
        case 7:
        case 12:
            return 5;
        case 6:
            return 3;
        case 13:
            return 1;
        case kAskImageFile: {
            const auto chosen = askImageFile_ ? askImageFile_() : std::nullopt;
            if (!chosen)
                return kAnswerCancelled;
            data = *chosen;
            return 1;
        }
        default:
            return 0;
    }
}

}  // namespace recording
