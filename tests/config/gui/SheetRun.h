#pragma once
// The configuration sheet with its real pages over a simulated device: open
// it, show a page as the person would, and run Apply to its end.

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>

#include "config/PageDevice.h"
#include "config/gui/MySystemDialog.h"
#include "gui/StringText.h"
#include "support/WaitUntil.h"

namespace testutil {

struct SheetRun : PageDevice {
    using PageDevice::PageDevice;

    void Open() {
        sheet = std::make_unique<config::MySystemDialog>(session::LoadText(3027), nullptr, 0, app,
                                                         config::SheetPrefill::From(app));
        sheet->SetApplyTiming(timing, std::chrono::milliseconds(50));
        sheet->InitSheet();
        sheet->show();
    }
    template <class Page>
    Page* Show(config::SheetPageId id) {
        auto* page = dynamic_cast<Page*>(sheet->PageFor(id));
        EXPECT_NE(page, nullptr);
        if (page)
            sheet->SetActivePage(page);
        return page;
    }
    void Apply() {
        sheet->OnClickApply();
        EXPECT_TRUE(WaitUntil([&] {
            QCoreApplication::processEvents();
            return !sheet->ApplyRunning();
        }));
    }

    std::unique_ptr<config::MySystemDialog> sheet;
};

}  // namespace testutil
