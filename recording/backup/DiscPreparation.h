#pragma once
// Start's preparation of a backup's disc writing: the writer on the target
// file, then the Write CD Setting dialog and the writer's disc check in turn
// until a disc is accepted or the operator gives up. The dialog is the
// caller's; it copies the operator's choices into the writer on OK.

#include <functional>
#include <string>

#include "recording/backup/CdBackupWriter.h"

namespace recording {

// "Błąd zapisu na dysku CD": the writer could not be initialised.
inline constexpr unsigned kDiscWriterFailedMessage = 4119;

// How one round's setting dialog ended.
enum class DiscSettingEnd {
    NoDrive,    // the dialog had no drive to offer and was not shown
    Accepted,   // OK; the choices are in the writer
    Cancelled,  // "ANULUJ ZAPIS NA CD", Escape or the close box
};

enum class DiscPreparation {
    Ready,          // the writer takes the file after the download
    WithoutDisc,    // the download runs without a disc this time
    WriterFailed,   // as WithoutDisc, after message 4119
};

DiscPreparation PrepareDisc(CdBackupWriter& writer, const std::string& path,
                            const std::function<DiscSettingEnd()>& runSettingDialog);

}  // namespace recording
