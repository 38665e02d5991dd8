#include "session/live/DecodeThreads.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/JpegCodec.h"
#include "platform/SyncObjects.h"
#include "session/live/FrameHistory.h"
#include "session/AppData.h"
#include "session/live/LocalClock.h"

namespace session {

namespace {

std::uint16_t Next(std::uint16_t index, std::uint16_t count) {
    return static_cast<std::uint16_t>(index + 1 < count ? index + 1 : 0);
}

// Buffer index's share of a buffer that holds count equal parts.
std::span<std::uint8_t> Part(ByteBuffer& buffer, std::uint16_t index, std::uint16_t count) {
    const std::size_t size = buffer.size() / count;
    return buffer.span().subspan(index * size, size);
}

}  // namespace

PictureSize VideoLossPictureSize(std::uint8_t sizeCode, std::uint8_t videoMode) {
    return {static_cast<std::uint16_t>(sizeCode == 0 ? 640 : 320),
            static_cast<std::uint16_t>(videoMode == 0 ? 228 : 276)};
}

int DecodeJpegFrame(platform::JpegCodec& codec, std::span<const std::uint8_t> jpeg,
                    std::span<std::uint8_t> dest, std::uint16_t& width, std::uint16_t& height) {
    platform::JpegInfo info;
    const auto status = codec.Decode(jpeg, dest, info);
    if (info.width > 0) {
        width = static_cast<std::uint16_t>(info.width);
        height = static_cast<std::uint16_t>(info.height);
    }
    return status == platform::JpegStatus::Ok ? 1 : 0;
}

int PushFrameHistory(AppData& app, std::span<const std::uint8_t> frame, std::uint32_t streamTime,
                     std::uint32_t videoLoss, std::stop_token stop) {
    recording::FrameHistoryEntry fields;
    fields.dwMarker = recording::kFrameHistoryMarker;
    fields.wWidth = app.w_ImageWidth.load();
    fields.wHeight = app.w_ImageHeight.load();
    fields.dwStreamTime = streamTime;
    fields.byChannel = app.CSettingINI.m_bySelectedChannel.load();
    fields.dwVideoLoss = videoLoss;
    fields.stStoreTime = LocalTimeNow();
    const std::array<recording::RecorderPort*, 3> recorders{&app.CAlarmRecord(), &app.CUserRecord(),
                                                            &app.CSchRecord()};
    if (recording::PushFrameHistory(app.FrameHistory, recorders, frame, fields, stop))
        return 1;
    return stop.stop_requested() ? 0 : 1;
}

int Jpeg_Compose_Image_Data_Thread(AppData& app, std::stop_token stop) {
    platform::JpegCodec codec;  // kept for the thread's life: no set-up per frame
    for (;;) {
        // 1. A filled receive slot, unless the stage is stopped.
        auto ready = platform::WaitForAny({&app.h_EndofGetJpegImageEvent, &app.h_SocketBufferRelSem},
                                          platform::kInfinite, stop);
        if (!ready.signalled() || ready.index != 1)
            return 0;

        // 2-4. Take the slot's frame into the compose buffer. A video-loss
        // frame's bytes are copied too, so the history gets its own bytes.
        const std::uint16_t slot = app.w_SocketBufferReadIndex.load();
        const ImageSlotInfo info = app.lp_SlotInfo[slot];
        const std::uint16_t composeIndex = app.w_SorelMp4DecodeIndex.load();
        const auto slotBytes = Part(app.lp_SocketBuffer, slot, AppData::w_SocketBufferCount);
        const auto compose = Part(app.lp_ComposeBuffer, composeIndex, AppData::w_ImageBufferCount);
        const std::size_t length = info.dwLength;
        // A length beyond the slot or the compose buffer cannot be a whole
        // frame: it is dropped, never copied past either buffer.
        const bool usable = length > 0 && length <= slotBytes.size() && length <= compose.size();
        if (usable)
            std::memcpy(compose.data(), slotBytes.data(), length);
        app.w_SocketBufferReadIndex.store(Next(slot, AppData::w_SocketBufferCount));
        const auto frame = compose.first(usable ? length : 0);

        // 5. The picture buffer is free once the previous picture was drawn.
        ready = platform::WaitForAny({&app.h_EndofGetJpegImageEvent, &app.h_JPEGImageBufferFreeSem},
                                     platform::kInfinite, stop);
        if (!ready.signalled() || ready.index != 1)
            return 0;

        // 6. Decode, or make the black picture of video loss.
        const std::uint16_t imageIndex = app.w_ImageWriteIndex.load();
        const auto picture = Part(app.lp_ImageBuffer, imageIndex, AppData::w_ImageBufferCount);
        const std::uint32_t videoLoss = info.byVideoLoss ? 1 : 0;
        bool decoded = false;
        if (videoLoss) {
            app.dw_VideoLoss.exchange(1);
            const auto size = VideoLossPictureSize(info.bySizeCode, app.by_VideoMode.load());
            app.w_ImageWidth.store(size.width);
            app.w_ImageHeight.store(size.height);
            const std::size_t bytes = platform::BgrPictureBytes(size.width, size.height);
            decoded = bytes <= picture.size();
            if (decoded)
                std::memset(picture.data(), 0, bytes);
        } else {
            app.dw_VideoLoss.exchange(0);
            std::uint16_t width = app.w_ImageWidth.load(), height = app.w_ImageHeight.load();
            decoded = usable && DecodeJpegFrame(codec, frame, picture, width, height) == 1;
            app.w_ImageWidth.store(width);
            app.w_ImageHeight.store(height);
        }

        // 7. The size and channel controls follow every frame, decoded or not.
        app.Ui().OnFrame(app.w_ImageWidth.load(), app.w_ImageHeight.load(), info.byViewChannel);

        if (!decoded) {
            // 8. Dropped: nothing shown, nothing stored; the stream goes on.
            app.h_JPEGImageBufferFreeSem.Release();
        } else {
            // 9. Into the recorders' history, then hand the picture on.
            if (!frame.empty() && PushFrameHistory(app, frame, info.dwFrameTime, videoLoss, stop) == 0)
                return 0;
            app.w_ImageWriteIndex.store(Next(imageIndex, AppData::w_ImageBufferCount));
            app.h_JPEGImageBufferRelSem.Release();
        }

        // 10. The slot is consumed only now, after the whole compose step.
        app.w_SorelMp4DecodeIndex.store(Next(composeIndex, AppData::w_ImageBufferCount));
        app.h_SocketBufferFreeSem.Release();
    }
}

int Jpeg_Show_Image_Data_Thread(AppData& app, std::stop_token stop) {
    // The receive thread lets the stage start when its stream runs.
    auto started = platform::WaitForAny({&app.h_EndofShowImageEvent, &app.h_StartToShowImageEvent},
                                        platform::kInfinite, stop);
    if (!started.signalled() || started.index != 1)
        return 0;
    std::uint16_t showIndex = 0;
    for (;;) {
        auto ready = platform::WaitForAny({&app.h_EndofShowImageEvent, &app.h_JPEGImageBufferRelSem},
                                          platform::kInfinite, stop);
        if (!ready.signalled() || ready.index != 1)
            return 0;
        app.dw_FramesShown.fetch_add(1);
        app.lp_CurrentImage.store(Part(app.lp_ImageBuffer, showIndex, AppData::w_ImageBufferCount).data());
        showIndex = Next(showIndex, AppData::w_ImageBufferCount);
        if (app.KernelMailbox.Post(Show_Image_Message, 0, stop) != PostResult::Posted)
            return 0;
        // A stop while the picture waits to be drawn leaves the buffer taken:
        // the stage is being torn down.
        auto drawn = platform::WaitForAny({&app.h_EndofShowImageEvent, &app.h_FinishShowImageJobEvent},
                                          platform::kInfinite, stop);
        if (!drawn.signalled() || drawn.index != 1)
            return 0;
        app.h_JPEGImageBufferFreeSem.Release();
    }
}

bool StartComposeThread(AppData& app) {
    return app.h_ComposeImageDataThread.Start(
        [&app](std::stop_token stop) { Jpeg_Compose_Image_Data_Thread(app, stop); });
}

bool StartShowThread(AppData& app) {
    return app.h_ShowImageDataThread.Start([&app](std::stop_token stop) { Jpeg_Show_Image_Data_Thread(app, stop); });
}

}  // namespace session
