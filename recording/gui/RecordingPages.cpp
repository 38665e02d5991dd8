#include "recording/gui/RecordingPages.h"

#include "config/sheet/SheetContext.h"
#include "recording/gui/CEventPage.h"
#include "recording/gui/DownloadFilePage.h"
#include "recording/search/RecordList.h"

namespace recording {

void RecordingPages::SheetOpening() { PendingSelection() = {}; }

config::ConfigPage* RecordingPages::MakePage(config::SheetPageId page, config::SheetContext& context,
                                             QWidget* parent) {
    // Each recording page takes its row here as it is built.
    switch (page) {
    case config::SheetPageId::Event: return new CEventPage(context.app, context.set, timing_, parent);
    case config::SheetPageId::Download: return new DownloadFilePage(context.app, context.set, timing_, parent);
    default: return nullptr;
    }
}

}  // namespace recording
