#include "config/gui/SheetPages.h"

#include "config/gui/PlaceholderPage.h"
#include "config/sheet/SheetContext.h"

namespace config {

namespace {

QString CaptionOf(SheetPageId page) {
    const std::string_view caption = PageCaption(page);
    return QString::fromUtf8(caption.data(), qsizetype(caption.size()));
}

}  // namespace

ConfigPage* MakeSheetPage(SheetPageId page, SheetContext& context, QWidget* parent) {
    // Each page takes its row here as it is built; the rest stand in until then.
    switch (page) {
    default: return new PlaceholderPage(CaptionOf(page), context.set, parent);
    }
}

}  // namespace config
