#pragma once
// A main window whose start skips the device (the test's AppData holds the
// facts), shown and started; its message boxes go to the list.

#include <QStringList>

#include <memory>

#include "mainwindow/gui/TavrinDlg.h"
#include "support/WaitWithEvents.h"

namespace testutil {

inline std::unique_ptr<session::CTavrinDlg> OpenStartedWindow(session::AppData& app,
                                                             session::SessionResources& resources,
                                                             const platform::Timing& timing, QStringList& messages) {
    auto window = std::make_unique<session::CTavrinDlg>(app, resources, timing);
    window->SetMessageSink([&messages](const QString& text) { messages << text; });
    window->SetStartJob([](std::stop_token) { return mainwindow::StartOutcome{}; });
    window->show();
    EXPECT_TRUE(WaitWithEvents([&] { return window->Started(); }));
    return window;
}

}  // namespace testutil
