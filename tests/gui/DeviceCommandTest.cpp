#include "gui/DeviceCommand.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTest>

#include <atomic>
#include <memory>
#include <thread>

#include "session/DeviceCommandWorker.h"

namespace {

using namespace std::chrono_literals;

TEST(DeviceCommandTest, TheResultReachesTheWindowOnTheGuiThreadWhichIsBusyMeanwhile) {
    session::DeviceCommandWorker worker;
    QDialog window;
    std::atomic<bool> release{false};
    int result = 0;
    bool onGuiThread = false;
    ASSERT_TRUE(gui::RunDeviceCommand(
        &window, worker,
        [&](std::stop_token) {
            while (!release)
                std::this_thread::sleep_for(1ms);
            return 42;
        },
        [&](int value) {
            result = value;
            onGuiThread = QThread::currentThread() == qApp->thread();
        }));
    EXPECT_EQ(gui::PendingRequests(&window), 1);
    EXPECT_EQ(window.cursor().shape(), Qt::BusyCursor);
    release = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return result == 42; }, 5000));
    EXPECT_TRUE(onGuiThread);
    ASSERT_TRUE(QTest::qWaitFor([&] { return gui::PendingRequests(&window) == 0; }, 5000));
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
}

TEST(DeviceCommandTest, AResultForAClosedWindowIsDroppedAndAStoppedWorkerLeavesNoBusyWindow) {
    session::DeviceCommandWorker worker;
    bool delivered = false;
    auto gone = std::make_unique<QDialog>();
    gui::RunDeviceCommand(
        gone.get(), worker,
        [&](std::stop_token stop) {
            while (!stop.stop_requested())
                std::this_thread::sleep_for(1ms);
            return 1;
        },
        [&](int) { delivered = true; });
    QDialog waiting;
    gui::RunDeviceCommand(&waiting, worker, [](std::stop_token) { return 2; }, [&](int) { delivered = true; });
    gone.reset();
    worker.Stop();  // ends the first job; the second is dropped unrun
    QTest::qWait(50);
    EXPECT_FALSE(delivered);
    EXPECT_EQ(gui::PendingRequests(&waiting), 0);
    EXPECT_FALSE(gui::RunDeviceCommand(&waiting, worker, [](std::stop_token) { return 3; }, [](int) {}));
    QTest::qWait(10);
    EXPECT_EQ(gui::PendingRequests(&waiting), 0);
}

}  // namespace
