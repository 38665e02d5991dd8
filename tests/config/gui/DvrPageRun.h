#pragma once
// A DVR settings page (date, record settings) shown against the simulated
// device, waited for until its read ended.

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include "config/ConfigWorkingSet.h"
#include "config/PageDevice.h"

namespace testutil {

template <class Page>
struct DvrPageRun : PageDevice {
    using PageDevice::PageDevice;

    Page& Open() {
        set = std::make_unique<config::ConfigWorkingSet>(app);
        page = std::make_unique<Page>(app, *set, timing);
        page->show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return page->PageState() != Page::State::Reading; }, 10000));
        return *page;
    }

    std::unique_ptr<config::ConfigWorkingSet> set;
    std::unique_ptr<Page> page;
};

}  // namespace testutil
