#pragma once
// Writes one network-backup file (and, when asked, the player's installer) to
// a disc through the burning engine, after importing and merging the disc's
// last session. Initialize and CheckDisc run on the GUI thread; Burn on the
// download thread, which it blocks for the whole burn. Every failure is shown
// as a message through the UI port (queued to the GUI thread).

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "recording/backup/BurnEngine.h"
#include "recording/backup/CdProgress.h"
#include "session/AppData.h"

namespace recording {

inline constexpr const char* kDiscVolumeName = "QuenloBackup";
inline constexpr const char* kPlayerSetupName = "Ravelle_setup.exe";
inline constexpr const char* kImageRecorderPrefix = "Image Recorder";
// Media words of the chosen drive's disc.
inline constexpr std::uint32_t kMediaWordNone = 0;
inline constexpr std::uint32_t kMediaWordCd = 1;
inline constexpr std::uint32_t kMediaWordDvd = 786460;
inline constexpr std::uint32_t kMediaWordNotWritable = 1024;

// The image-file drive's question: the file to write; nothing when cancelled.
// Asked on the thread that opens the drive for a check (the GUI thread).
using ImageFileQuestion = std::function<std::optional<std::string>()>;

class CdBackupWriter {
public:
    CdBackupWriter(session::AppData& app, std::unique_ptr<BurnEngine> engine, ImageFileQuestion askImageFile = {});
    ~CdBackupWriter();
    CdBackupWriter(const CdBackupWriter&) = delete;
    CdBackupWriter& operator=(const CdBackupWriter&) = delete;

    int Initialize(const std::string& path, CdProgressFunction progress);
    int CheckDisc();
    int Burn();
    void Close();

    // Puts the imported items into the new list: a disc item survives only
    // when it is newer than the new file of the same name; the others follow.
    int MergeSession(BurnIsoItem** head, BurnIsoItem* imported);
    void FreeIsoTree(BurnIsoItem* list);

    // The engine's callbacks.
    bool IdleCallback() const { return m_bAbort != 0; }
    bool AbortCallback() const { return m_bAbort != 0; }
    int ProgressCallback(int percent);
    int UserDialogCallback(int code, std::string& data);

    // Read by the dialog and the page after Initialize; written after the dialog's OK.
    std::vector<std::string> m_DriveNames;
    std::int32_t m_nDriveCount = 0;
    std::int32_t m_bInitialized = 0;
    std::atomic<std::uint8_t> m_bAbort{0};  // the progress dialog's cancel
    std::uint32_t m_dwMediaType = kMediaWordCd;
    std::string m_strDiscFileName;
    std::string m_strSourcePath;
    std::int32_t m_bCloseDisc = 0;
    std::int32_t m_bImportSession = 1;
    std::int32_t m_nDriveIndex = 0;
    std::uint64_t m_dwRecordSize = 0;

private:
    void Message(const std::string& text) const;
    // The text followed by the engine's reason for its last refusal, if any.
    std::string WithReason(const std::string& text) const;
    bool ImageRecorderChosen() const;
    std::string ChosenDriveName() const;
    std::string PlayerSetupPath() const;
    void Progress(int event, std::uint32_t value) const;

    session::AppData& app_;
    std::unique_ptr<BurnEngine> engine_;
    ImageFileQuestion askImageFile_;
    CdProgressFunction progress_;
    BurnIsoItem* m_pIsoRoot = nullptr;
};

// The media word of a disc's flags; `unknown` when the flags are set but none is known.
std::uint32_t MediaWordOfFlags(std::uint32_t flags, std::uint32_t unknown);

}  // namespace recording
