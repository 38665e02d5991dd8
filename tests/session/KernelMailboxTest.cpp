#include "session/KernelMailbox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "platform/WorkerThread.h"

namespace {

using session::KernelMailbox;
using session::KernelMessage;
using session::PostResult;

// Long enough that a post which should block has had every chance to return.
constexpr platform::Millis kSettle{50};

// Posts from its own thread, so the test can watch it block.
struct Poster {
    platform::WorkerThread thread;
    std::atomic<bool> done{false};
    std::atomic<PostResult> result{PostResult::Posted};

    void Start(KernelMailbox& box, std::uint32_t code) {
        thread.Start([this, &box, code](std::stop_token stop) {
            result = box.Post(code, 0, stop);
            done = true;
        });
    }
};

// Runs the kernel loop on its own thread and keeps what it was handed.
struct Kernel {
    explicit Kernel(KernelMailbox& box, bool goOn = true) {
        thread.Start([this, &box, goOn](std::stop_token stop) {
            box.Serve(
                [this, goOn](const KernelMessage& m) {
                    std::lock_guard lock(mutex);
                    handled.push_back(m.dw_KernelMessageCode);
                    return goOn;
                },
                stop);
        });
    }
    std::vector<std::uint32_t> Handled() {
        std::lock_guard lock(mutex);
        return handled;
    }
    std::mutex mutex;
    std::vector<std::uint32_t> handled;
    platform::WorkerThread thread;
};

TEST(KernelMailboxTest, PostBlocksWhileTheSlotIsTakenAndGoesOnWhenItIsFreed) {
    KernelMailbox box;
    ASSERT_EQ(box.Post(session::Show_Image_Message), PostResult::Posted);

    Poster second;
    second.Start(box, session::Get_Image_TimeOut_Message);
    platform::SleepFor(kSettle);
    EXPECT_FALSE(second.done) << "the slot still holds the first code";

    auto first = box.Take();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->dw_KernelMessageCode, session::Show_Image_Message);
    box.FreeSlot();
    second.thread.Join();
    EXPECT_EQ(second.result, PostResult::Posted);
    auto next = box.Take();
    ASSERT_TRUE(next);
    EXPECT_EQ(next->dw_KernelMessageCode, session::Get_Image_TimeOut_Message);
}

TEST(KernelMailboxTest, UnknownCodesFreeTheSlotWithoutReachingTheHandler) {
    KernelMailbox box;
    Kernel kernel(box);
    // Each post waits for the previous code to be served, so these complete
    // only if every unknown code frees the slot.
    for (std::uint32_t code : {0u, 3u, 8u, 255u})
        ASSERT_EQ(box.Post(code), PostResult::Posted) << code;
    ASSERT_EQ(box.Post(session::Show_Image_Message), PostResult::Posted);
    ASSERT_EQ(box.Post(session::Alarm_Sound_Load_Message), PostResult::Posted);
    ASSERT_EQ(box.Post(session::Alarm_Sound_Stop_Message), PostResult::Posted);
    ASSERT_EQ(box.PostRunPlayer("/tmp/x.kfr"), PostResult::Posted);
    ASSERT_EQ(box.Post(session::Exit_Kernel_Message), PostResult::Posted);
    kernel.thread.Join();
    EXPECT_EQ(kernel.Handled(),
              (std::vector<std::uint32_t>{session::Show_Image_Message, session::Alarm_Sound_Load_Message,
                                          session::Alarm_Sound_Stop_Message, session::Run_Player_Message}));
    EXPECT_TRUE(box.IsClosed()) << "the ended kernel thread leaves no poster waiting";
}

TEST(KernelMailboxTest, PostAfterCloseFailsAtOnceThoughTheSlotIsFree) {
    KernelMailbox box;
    box.Close();
    EXPECT_EQ(box.Post(session::Show_Image_Message), PostResult::Closed);
    EXPECT_EQ(box.Post(session::Exit_Kernel_Message), PostResult::Closed);
}

TEST(KernelMailboxTest, CloseReleasesAPosterWaitingForTheSlot) {
    KernelMailbox box;
    ASSERT_EQ(box.Post(session::Show_Image_Message), PostResult::Posted);
    Poster waiting;
    waiting.Start(box, session::Show_Image_Message);
    platform::SleepFor(kSettle);
    box.Close();
    waiting.thread.Join();
    EXPECT_EQ(waiting.result, PostResult::Closed);
}

TEST(KernelMailboxTest, HandlerEndingTheKernelThreadClosesTheMailbox) {
    KernelMailbox box;
    Kernel kernel(box, /*goOn=*/false);
    ASSERT_EQ(box.Post(session::Get_Image_TimeOut_Message), PostResult::Posted);
    kernel.thread.Join();
    // The slot stays taken by the code that ended the thread; later posts
    // (a picture, the exit code at shut-down) must not wait for ever.
    EXPECT_EQ(box.Post(session::Show_Image_Message), PostResult::Closed);
    EXPECT_EQ(box.Post(session::Exit_Kernel_Message), PostResult::Closed);
}

TEST(KernelMailboxTest, PosterWhoseStopIsRequestedWhileWaitingReturnsStopped) {
    KernelMailbox box;
    ASSERT_EQ(box.Post(session::Show_Image_Message), PostResult::Posted);
    Poster torn;
    torn.Start(box, session::Show_Image_Message);
    platform::SleepFor(kSettle);
    ASSERT_FALSE(torn.done);
    torn.thread.Stop();
    EXPECT_EQ(torn.result, PostResult::Stopped);

    // The stopped poster wrote nothing: after the first code, the slot is empty.
    ASSERT_TRUE(box.Take());
    box.FreeSlot();
    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_FALSE(box.Take(stopped.get_token())) << "no code is pending";
    EXPECT_EQ(box.Post(session::Get_Image_TimeOut_Message), PostResult::Posted);
    auto next = box.Take();
    ASSERT_TRUE(next);
    EXPECT_EQ(next->dw_KernelMessageCode, session::Get_Image_TimeOut_Message);
}

TEST(KernelMailboxTest, KernelLoopEndsOnItsStopRequest) {
    KernelMailbox box;
    Kernel kernel(box);
    kernel.thread.Stop();
    EXPECT_TRUE(kernel.Handled().empty());
    EXPECT_EQ(box.Post(session::Show_Image_Message), PostResult::Closed);
}

TEST(KernelMailboxTest, RunPlayerCarriesACopyOfThePath) {
    KernelMailbox box;
    std::string path = "/home/user/backup/CH01.kfr";
    ASSERT_EQ(box.PostRunPlayer(path), PostResult::Posted);
    path.clear();
    auto message = box.Take();
    ASSERT_TRUE(message);
    EXPECT_EQ(message->dw_KernelMessageCode, session::Run_Player_Message);
    EXPECT_EQ(message->path, "/home/user/backup/CH01.kfr");
}

}  // namespace
