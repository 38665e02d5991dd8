#include "recording/backup/DiscPreparation.h"

namespace recording {

DiscPreparation PrepareDisc(CdBackupWriter& writer, const std::string& path,
                            const std::function<DiscSettingEnd()>& runSettingDialog) {
    if (writer.Initialize(path, [](int event, std::uint32_t value) { CdProgressCallback(event, value); }) == 0)
        return DiscPreparation::WriterFailed;
    for (;;) {
        switch (runSettingDialog()) {
            case DiscSettingEnd::NoDrive:
                // The writer reports what it finds; its answer changes nothing now.
                writer.CheckDisc();
                return DiscPreparation::WithoutDisc;
            case DiscSettingEnd::Cancelled:
                return DiscPreparation::WithoutDisc;
            case DiscSettingEnd::Accepted:
                if (writer.CheckDisc() == 1)
                    return DiscPreparation::Ready;
                break;
        }
    }
}

}  // namespace recording
