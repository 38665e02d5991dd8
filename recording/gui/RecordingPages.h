#pragma once
// The configuration sheet's recording pages: the application installs this
// maker at start-up, so the sheet gets the record search and the network
// backup page without linking this library.

#include "config/gui/SheetPages.h"
#include "platform/Timing.h"

namespace recording {

class RecordingPages : public config::RecordingPageMaker {
public:
    explicit RecordingPages(platform::Timing timing = {}) : timing_(timing) {}

    // The record list's pending pick is cleared.
    void SheetOpening() override;
    config::ConfigPage* MakePage(config::SheetPageId page, config::SheetContext& context, QWidget* parent) override;

private:
    platform::Timing timing_;
};

}  // namespace recording
