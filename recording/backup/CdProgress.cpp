#include "recording/backup/CdProgress.h"

namespace recording {

void CdProgressCallback(config::SheetProgress& bar, int event, std::uint32_t value) {
    switch (event) {
        case kCdProgressBegin:
            bar.Begin();
            bar.SetRange(100);
            break;
        case kCdProgressPosition:
            bar.SetPos(value);
            break;
        case kCdProgressEnd:
            bar.End();
            break;
        default:
            break;
    }
}

void CdProgressCallback(int event, std::uint32_t value) {
    CdProgressCallback(config::g_lpSheetProgress(), event, value);
}

}  // namespace recording
