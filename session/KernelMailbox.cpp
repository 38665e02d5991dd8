#include "session/KernelMailbox.h"

namespace session {

PostResult KernelMailbox::Post(std::uint32_t code, std::uint32_t param, std::stop_token stop) {
    return PostMessage({code, param, {}}, std::move(stop));
}

PostResult KernelMailbox::PostRunPlayer(std::string path, std::stop_token stop) {
    return PostMessage({Run_Player_Message, 0, std::move(path)}, std::move(stop));
}

PostResult KernelMailbox::PostMessage(KernelMessage message, std::stop_token stop) {
    // The closed event comes first, so a closed mailbox refuses even when the
    // slot happens to be free.
    const auto result =
        platform::WaitForAny({&closed_, &h_KernelMessageReplySem}, platform::kInfinite, stop);
    if (!result.signalled())
        return PostResult::Stopped;
    if (result.index == 0)
        return PostResult::Closed;
    {
        std::lock_guard lock(mutex_);
        slot_ = std::move(message);
    }
    h_KernelMessageRequestSem.Release();
    return PostResult::Posted;
}

std::optional<KernelMessage> KernelMailbox::Take(std::stop_token stop) {
    const auto result =
        platform::WaitForAny({&closed_, &h_KernelMessageRequestSem}, platform::kInfinite, stop);
    if (!result.signalled() || result.index == 0)
        return std::nullopt;
    std::lock_guard lock(mutex_);
    return slot_;
}

void KernelMailbox::FreeSlot() {
    h_KernelMessageReplySem.Release();
}

void KernelMailbox::Close() {
    closed_.Set();
}

void KernelMailbox::Serve(const Handler& handler, std::stop_token stop) {
    for (;;) {
        const auto message = Take(stop);
        if (!message || message->dw_KernelMessageCode == Exit_Kernel_Message)
            break;
        bool goOn = true;
        switch (message->dw_KernelMessageCode) {
        case Get_Image_TimeOut_Message:
        case Show_Image_Message:
        case Alarm_Sound_Load_Message:
        case Alarm_Sound_Stop_Message:
        case Run_Player_Message:
            goOn = handler(*message);
            break;
        default:
            break;  // no part of the program posts it; only the slot is freed
        }
        if (!goOn)
            break;
        FreeSlot();
    }
    Close();
}

}  // namespace session
