#pragma once
// The page object of each page the configuration sheet adds.

#include "config/sheet/SheetPageSet.h"

class QWidget;

namespace config {

class ConfigPage;
struct SheetContext;

// The recording subsystem's pages (the record search, the network backup)
// live in a library that links this one; the application, or a test,
// installs their maker here.
class RecordingPageMaker {
public:
    virtual ~RecordingPageMaker() = default;
    // Every sheet calls this before it adds any page, whichever pages it makes.
    virtual void SheetOpening() {}
    // The page for the id, or null for one it does not make.
    virtual ConfigPage* MakePage(SheetPageId page, SheetContext& context, QWidget* parent) = 0;
};

// GUI thread only; null removes the maker. Returns the previous one.
RecordingPageMaker* SetRecordingPageMaker(RecordingPageMaker* maker);
RecordingPageMaker* GetRecordingPageMaker();

// A new page for the id: the built pages, then what the recording maker
// makes; the rest are captioned placeholders.
ConfigPage* MakeSheetPage(SheetPageId page, SheetContext& context, QWidget* parent);

}  // namespace config
