#pragma once
// The kernel thread's mailbox: one slot holding a code and its parameter.
// A poster waits until the slot is free, writes, and signals the kernel
// thread; it does not wait for the code to be handled. The kernel thread takes
// each code, acts on it and frees the slot, so posted work runs one at a time.
//
// When the kernel thread ends, the mailbox is closed: posters waiting for the
// slot and every later post fail at once instead of waiting for ever. A post
// also ends when the posting thread's own stop is requested (a thread being
// torn down must not hang in a post).

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>

#include "platform/SyncObjects.h"

namespace session {

// The codes the program posts.
inline constexpr std::uint32_t Get_Image_TimeOut_Message = 1;  // the stream failed
inline constexpr std::uint32_t Show_Image_Message = 2;         // draw the current picture
inline constexpr std::uint32_t Alarm_Sound_Load_Message = 4;   // reload the alarm sound (nothing posts it)
inline constexpr std::uint32_t Alarm_Sound_Stop_Message = 5;   // stop the alarm sound (nothing posts it)
inline constexpr std::uint32_t Exit_Kernel_Message = 6;        // the kernel thread ends
inline constexpr std::uint32_t Run_Player_Message = 7;         // play a downloaded file

struct KernelMessage {
    std::uint32_t dw_KernelMessageCode = 0;
    std::uint32_t dw_KernelMessageParam = 0;
    // Run_Player_Message: the downloaded file's path, copied into the slot.
    std::string path;
};

enum class PostResult { Posted, Closed, Stopped };

class KernelMailbox {
public:
    KernelMailbox() = default;
    KernelMailbox(const KernelMailbox&) = delete;
    KernelMailbox& operator=(const KernelMailbox&) = delete;

    // Waits without limit for the slot, unless the mailbox is or becomes
    // closed (Closed) or the poster's stop is requested (Stopped).
    PostResult Post(std::uint32_t code, std::uint32_t param = 0, std::stop_token stop = {});
    PostResult PostRunPlayer(std::string path, std::stop_token stop = {});

    // Kernel thread side: waits for a posted code; nullopt on a stop request
    // or when the mailbox is closed. The slot stays taken until FreeSlot.
    std::optional<KernelMessage> Take(std::stop_token stop = {});
    void FreeSlot();

    // Ends the mailbox for good: waiting and later posts return Closed.
    void Close();
    bool IsClosed() const { return closed_.IsSet(); }

    // Handler of the codes the kernel thread acts on (1, 2, 4, 5 and 7); returns
    // false to end the kernel thread.
    using Handler = std::function<bool(const KernelMessage&)>;

    // The kernel thread's loop: takes each code, hands codes 1, 2, 4, 5 and 7 to the
    // handler, skips any other code, and frees the slot. Ends on code 6, when
    // the handler returns false, or on a stop request; the mailbox is closed
    // when it ends, so no poster is left waiting.
    void Serve(const Handler& handler, std::stop_token stop = {});

private:
    PostResult PostMessage(KernelMessage message, std::stop_token stop);

    platform::Event closed_{platform::Event::ResetMode::Manual};
    platform::Semaphore h_KernelMessageRequestSem{0, 1};  // a code was posted
    platform::Semaphore h_KernelMessageReplySem{1, 1};    // the slot is free
    mutable std::mutex mutex_;
    KernelMessage slot_;
};

}  // namespace session
