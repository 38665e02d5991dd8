#pragma once
// The requests of a firmware upgrade: the DVR's version request, the chunk
// requests of "/UpgradeFW.cgi", the hand-built keep-alive and stream upload
// requests, and the two cancel requests.

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "config/firmware/FirmwareItem.h"
#include "platform/Timing.h"
#include "session/net/CommandSender.h"

namespace session {
class AppData;
}

namespace config {

inline constexpr std::size_t kChunkPiece = 900;    // request body of one "/UpgradeFW.cgi"
inline constexpr std::size_t kStreamPiece = 1300;  // one raw send on "/UpgradeFW2.cgi"
inline constexpr std::size_t kStreamReplyLimit = 512;
inline constexpr std::size_t kVersionReplyLimit = 1024;

// The Type each item carries on the path: the row number on the DVR paths;
// "BOOT", "KERNEL", "HTML" (chunked) or 1, 0, 2 (stream) for record types 0,
// 1 and 4 on the image paths, where any other type repeats the previous
// record's value ("" or 0 for the first).
std::vector<std::string> ItemTypeValues(UploadPath path, const std::vector<FirmwareItem>& items);

// Where a chunk stands in its item: the first chunk (also an item's only
// one), the last of several, or one between.
enum class ChunkKind { First, Middle, Last };

// The target of one chunk request: Start with FileSize (and Type on the DVR
// path), Finished with Type (and Reboot=1 for the last item), or only the
// Cookie between; the Cookie only when there is one. Empty when a value
// cannot go on the request line.
std::string ChunkRequestTarget(UploadPath path, ChunkKind kind, std::uint64_t itemSize, std::string_view type,
                               bool lastItem, std::string_view cookie);

// "/Getvideo.cgi?Cookie=<c>&Fake=1" with the fixed header lines (the Cookie
// part also when the cookie is empty). Empty when the cookie cannot go on the
// request line.
std::string KeepAliveRequest(std::string_view cookie, std::string_view hostAddress);
// "/UpgradeFW2.cgi?Cookie=<c>&FILESIZE=<n>&Type=<t>[&REBOOT=1]" with the fixed header lines.
std::string StreamUploadRequest(std::string_view cookie, std::uint64_t itemSize, std::string_view type,
                                bool lastItem, std::string_view hostAddress);

// The options of every command-sender request of the upgrade: the usual
// connect time-out, the command time-out for sending and receiving.
session::CommandOptions FirmwareCommandOptions(const platform::Timing& timing, std::stop_token stop = {});

// The DVR's "/GetVersion.cgi": the reply body as text (up to its first zero
// byte), nullopt when the request fails.
std::optional<std::string> QueryDvrVersion(session::AppData& app, const session::CommandOptions& options);

// The video server's version as shown: "1013" gives "1.0.1.3" (at most the
// first four characters, each followed by a point but the last).
std::string FormatImageVersion(std::string_view version);

// The cancel request of the path, sent whether or not an upload runs; the
// stream paths send "/CancelUPFW.cgi", the chunked ones "/UpgradeFW.cgi" with
// Upgrade=Cancel. The device's answer is not looked at.
void SendCancelRequest(session::AppData& app, UploadPath path, const session::CommandOptions& options);

}  // namespace config
