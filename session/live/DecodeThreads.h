#pragma once
// The second and third stages of the live-video pipeline.
//
// The compose thread takes each filled receive slot, decodes its JPEG into the
// picture buffer (a black picture when the device reports video loss), tells
// the main window the picture's size and channel, and stores the compressed
// frame in the recorders' history. The show thread hands each ready picture to
// the kernel thread (mailbox code 2), which draws it and sets
// h_FinishShowImageJobEvent; only then is the picture buffer free again.
//
// Stage to stage through semaphores of maximum count 1, the stage's stop event
// first in every wait list; every wait also ends on the thread's stop request.

#include <cstdint>
#include <span>
#include <stop_token>

namespace platform {
class JpegCodec;
}

namespace session {

class AppData;

struct PictureSize {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
};

// The black picture shown for a video-loss frame: 640 wide for size code 0,
// else 320; 228 lines in video mode 0, else 276.
PictureSize VideoLossPictureSize(std::uint8_t sizeCode, std::uint8_t videoMode);

// Decodes a JPEG into dest (blue-green-red, rows bottom-up, width × 3 bytes a
// row). Returns 1 with a picture, 0 otherwise. width and height take the
// JPEG's size as soon as its header reads, even when decoding then fails; a
// picture that does not fit dest is refused.
int DecodeJpegFrame(platform::JpegCodec& codec, std::span<const std::uint8_t> jpeg,
                    std::span<std::uint8_t> dest, std::uint16_t& width, std::uint16_t& height);

// Stores a frame in app's frame history for the recorders, with the picture
// size last decoded, the selected channel and the local time. Returns 1, or 0
// when the stop request ended the wait for the recorders (nothing stored).
int PushFrameHistory(AppData& app, std::span<const std::uint8_t> frame, std::uint32_t streamTime,
                     std::uint32_t videoLoss, std::stop_token stop = {});

// The thread bodies; each returns 0 when its stop event is set or its stop is
// requested.
int Jpeg_Compose_Image_Data_Thread(AppData& app, std::stop_token stop);
int Jpeg_Show_Image_Data_Thread(AppData& app, std::stop_token stop);

// Start the bodies on app.h_ComposeImageDataThread and app.h_ShowImageDataThread;
// false when the thread cannot start.
bool StartComposeThread(AppData& app);
bool StartShowThread(AppData& app);

}  // namespace session
