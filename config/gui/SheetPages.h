#pragma once
// The page object of each page the configuration sheet adds.

#include "config/sheet/SheetPageSet.h"

class QWidget;

namespace config {

class ConfigPage;
struct SheetContext;

// A new page for the id; pages not built yet are captioned placeholders.
ConfigPage* MakeSheetPage(SheetPageId page, SheetContext& context, QWidget* parent);

}  // namespace config
