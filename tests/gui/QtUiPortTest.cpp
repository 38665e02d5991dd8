#include "gui/QtUiPort.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QThread>

#include <atomic>
#include <thread>

#include "fakes/RecordingUiPort.h"
#include "support/WaitWithEvents.h"

namespace {

// Records the thread each call arrived on besides the call.
class ThreadCheckingPort : public fakes::RecordingUiPort {
public:
    void SetStatusText(const std::string& text) override {
        onGuiThread = onGuiThread && QThread::currentThread() == qApp->thread();
        RecordingUiPort::SetStatusText(text);
    }
    void FrameReady() override {
        onGuiThread = onGuiThread && QThread::currentThread() == qApp->thread();
        RecordingUiPort::FrameReady();
    }
    void OnFrameSize(std::uint16_t width, std::uint16_t height) override {
        onGuiThread = onGuiThread && QThread::currentThread() == qApp->thread();
        RecordingUiPort::OnFrameSize(width, height);
    }
    void SyncCurrentChannel(std::uint8_t channel) override {
        onGuiThread = onGuiThread && QThread::currentThread() == qApp->thread();
        RecordingUiPort::SyncCurrentChannel(channel);
    }
    bool FrameChangesNothing(std::uint16_t, std::uint16_t, std::uint8_t) const override { return unchanged.load(); }
    bool onGuiThread = true;
    std::atomic<bool> unchanged{false};
};

TEST(QtUiPortTest, CallsFromAnotherThreadArriveQueuedOnTheGuiThreadInOrder) {
    ThreadCheckingPort window;
    session::QtUiPort port(window);
    std::thread worker([&] {
        port.SetStatusText("one");
        port.ShowStatus(1, 0);
        port.SetStatusText("two");
    });
    worker.join();
    EXPECT_TRUE(window.Calls().empty());  // nothing ran on the worker
    EXPECT_TRUE(testutil::WaitWithEvents([&] { return window.Calls().size() == std::size_t{3}; }));
    EXPECT_EQ(window.Calls(), (std::vector<std::string>{"status:one", "showstatus:1,0", "status:two"}));
    EXPECT_TRUE(window.onGuiThread);
}

TEST(QtUiPortTest, RepaintRequestsWhileOneIsQueuedAreMerged) {
    ThreadCheckingPort window;
    session::QtUiPort port(window);
    std::thread worker([&] {
        for (int i = 0; i < 10; ++i)
            port.FrameReady();
    });
    worker.join();
    QCoreApplication::processEvents();
    EXPECT_EQ(window.Calls(), std::vector<std::string>{"frame"});
    std::thread again([&] { port.FrameReady(); });
    again.join();
    EXPECT_TRUE(testutil::WaitWithEvents([&] { return window.Calls().size() == std::size_t{2}; }));
}

TEST(QtUiPortTest, AFramesSizeAndChannelArriveAsOneEventSizeFirst) {
    ThreadCheckingPort window;
    session::QtUiPort port(window);
    std::thread worker([&] {
        port.OnFrame(704, 288, 3);
        port.OnFrame(352, 288, 16);
    });
    worker.join();
    EXPECT_TRUE(window.Calls().empty());
    // In order, each frame's size before its channel, on the GUI thread.
    QCoreApplication::sendPostedEvents(&port);
    EXPECT_EQ(window.Calls(), (std::vector<std::string>{"framesize:704x288", "syncchannel:3", "framesize:352x288",
                                                        "syncchannel:16"}));
    EXPECT_TRUE(window.onGuiThread);
}

TEST(QtUiPortTest, AFrameThatChangesNothingIsNotQueuedUnlessAnEarlierOneIsOnItsWay) {
    ThreadCheckingPort window;
    session::QtUiPort port(window);
    auto fromWorker = [&](auto call) { std::thread(call).join(); };
    window.unchanged = true;
    fromWorker([&] { port.OnFrame(704, 288, 3); });
    QCoreApplication::sendPostedEvents(&port);
    EXPECT_TRUE(window.Calls().empty());

    // The window's state says nothing about a frame while an earlier one waits.
    window.unchanged = false;
    fromWorker([&] { port.OnFrame(352, 288, 3); });
    window.unchanged = true;
    fromWorker([&] { port.OnFrame(704, 288, 3); });
    QCoreApplication::sendPostedEvents(&port);
    EXPECT_EQ(window.Calls(), (std::vector<std::string>{"framesize:352x288", "syncchannel:3", "framesize:704x288",
                                                        "syncchannel:3"}));
    fromWorker([&] { port.OnFrame(704, 288, 3); });
    QCoreApplication::sendPostedEvents(&port);
    EXPECT_EQ(window.Calls().size(), std::size_t{4});
}

TEST(QtUiPortTest, CallsOnTheGuiThreadRunAtOnce) {
    ThreadCheckingPort window;
    session::QtUiPort port(window);
    port.ShowMessageBox(4094);
    EXPECT_EQ(window.Calls(), std::vector<std::string>{"msgbox:4094"});
}

}  // namespace
