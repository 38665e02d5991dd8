#include "config/firmware/FirmwareUploader.h"

#include <algorithm>
#include <array>

#include "config/firmware/FirmwareRequests.h"
#include "platform/SyncObjects.h"
#include "session/AppData.h"
#include "session/net/BlockingSocket.h"
#include "session/net/CgiCommandTable.h"
#include "session/net/CommandSender.h"

namespace config {

namespace {

using session::CBlockingSocket;
using session::CBlockingSocketException;
using session::SocketAddress;

// The device named by the settings: a dotted address as it stands, a name resolved.
SocketAddress DeviceAddress(session::AppData& app) {
    const std::string server = app.CSettingINI.m_strServerName.Get();
    const std::uint16_t port = app.CSettingINI.m_wWebPort;
    if (!server.empty() && session::IsNumericHost(server) == 2)
        return SocketAddress(server, port);
    return CBlockingSocket::GetHostByName(server, port);
}

void Connect(CBlockingSocket& socket, session::AppData& app, const platform::Timing& timing,
             std::stop_token stop) {
    socket.Create(CBlockingSocket::kStream);
    socket.SetSendChunkTimeout(timing.sendChunkTimeout);
    socket.Connect(DeviceAddress(app), timing.connectTimeout, stop);
}

void SendText(CBlockingSocket& socket, const std::string& text, const platform::Timing& timing,
              std::stop_token stop) {
    if (text.empty())
        throw CBlockingSocketException("Send");  // a cookie the request line cannot carry
    socket.SendAll(text.data(), static_cast<int>(text.size()), timing.sendTimeout, stop);
}

// The item that carries the reboot request: the last one actually sent.
std::size_t LastSentItem(const std::vector<FirmwareItem>& items) {
    for (std::size_t i = items.size(); i > 0; --i)
        if (!items[i - 1].data.empty())
            return i - 1;
    return items.size();
}

// A stream upload's one reply: an HTTP status other than 200 refuses the item;
// silence, a close or anything else leaves it delivered.
bool RefusedByReply(std::string_view reply) {
    const auto header = session::ParseReplyHeader(reply);
    return header && header->status != 200;
}

}  // namespace

FirmwareUploader::FirmwareUploader(session::AppData& app, FirmwareUploadPort& port, const platform::Timing& timing)
    : app_(app), port_(port), timing_(timing) {}

bool FirmwareUploader::Start(UploadJob job) {
    thread_.Stop();
    return thread_.Start([this, job = std::move(job)](std::stop_token stop) { Run(job, stop); });
}

void FirmwareUploader::Progress(const UploadJob& job, std::uint64_t bytesSent) {
    if (job.progressBase != 0)
        port_.SetProgress(static_cast<int>(std::min<std::uint64_t>(bytesSent * 100 / job.progressBase, 100)));
}

void FirmwareUploader::Run(const UploadJob& job, std::stop_token stop) {
    CBlockingSocket keepAlive;
    try {
        Connect(keepAlive, app_, timing_, stop);
        SendText(keepAlive, KeepAliveRequest(app_.SessionCookie.Get(), app_.LocalHostAddress.Get()), timing_, stop);
    } catch (const CBlockingSocketException&) {
        keepAlive.CloseQuietly();
        if (!stop.stop_requested())
            port_.UploadEnded({kFirmwareUploadFailed, false});
        return;
    }
    if (job.path == UploadPath::ImageStream && !platform::SleepFor(timing_.firmwareKeepAlivePause, stop))
        return;
    port_.SetUpgradeEnabled(false);

    const Outcome outcome = IsStreamPath(job.path) ? SendStreamed(job, stop) : SendChunked(job, stop);
    keepAlive.CloseQuietly();
    if (outcome == Outcome::Delivered)
        port_.UploadEnded({kFirmwareWritingFlash, true});
    else if (outcome == Outcome::Failed)
        port_.UploadEnded({kFirmwareUploadFailed, job.path != UploadPath::ImageStream});
}

FirmwareUploader::Outcome FirmwareUploader::SendChunked(const UploadJob& job, std::stop_token stop) {
    const std::vector<std::string> types = ItemTypeValues(job.path, job.items);
    const std::size_t lastItem = LastSentItem(job.items);
    const session::CommandOptions options = FirmwareCommandOptions(timing_, stop);
    std::uint64_t bytesSent = 0;
    for (std::size_t i = 0; i < job.items.size(); ++i) {
        const std::vector<std::uint8_t>& data = job.items[i].data;
        const std::size_t chunkCount = (data.size() + kChunkPiece - 1) / kChunkPiece;
        for (std::size_t chunk = 0; chunk < chunkCount; ++chunk) {
            if (stop.stop_requested())
                return Outcome::Stopped;
            const std::size_t offset = chunk * kChunkPiece;
            const std::size_t n = std::min(kChunkPiece, data.size() - offset);
            const ChunkKind kind = chunk == 0                  ? ChunkKind::First
                                   : chunk + 1 == chunkCount ? ChunkKind::Last
                                                             : ChunkKind::Middle;
            const std::string target =
                ChunkRequestTarget(job.path, kind, data.size(), types[i], i == lastItem, app_.SessionCookie.Get());
            session::StatusRecord status;
            const int result = session::SorelSendCommand(app_, options, session::CMD_UPGRADE_FW, target,
                                                         data.data() + offset, static_cast<std::uint32_t>(n),
                                                         &status, {}, nullptr);
            if (result != 1) {
                if (stop.stop_requested())
                    return Outcome::Stopped;
                // A last chunk the device took without answering (it may be
                // writing already) counts as delivered; an HTTP refusal does not.
                if (chunk + 1 < chunkCount || status.nStatus != 0)
                    return Outcome::Failed;
            }
            bytesSent += n;
            Progress(job, bytesSent);
        }
    }
    return Outcome::Delivered;
}

FirmwareUploader::Outcome FirmwareUploader::SendStreamed(const UploadJob& job, std::stop_token stop) {
    const std::vector<std::string> types = ItemTypeValues(job.path, job.items);
    const std::size_t lastItem = LastSentItem(job.items);
    std::uint64_t bytesSent = 0;
    for (std::size_t i = 0; i < job.items.size(); ++i) {
        if (stop.stop_requested())
            return Outcome::Stopped;
        const std::vector<std::uint8_t>& data = job.items[i].data;
        if (data.empty())
            continue;
        CBlockingSocket upload;
        try {
            Connect(upload, app_, timing_, stop);
            SendText(upload,
                     StreamUploadRequest(app_.SessionCookie.Get(), data.size(), types[i], i == lastItem,
                                         app_.LocalHostAddress.Get()),
                     timing_, stop);
            if (job.path == UploadPath::DvrStream && !platform::SleepFor(timing_.firmwareRequestPause, stop))
                return Outcome::Stopped;
            for (std::size_t offset = 0; offset < data.size(); offset += kStreamPiece) {
                if (stop.stop_requested())
                    return Outcome::Stopped;
                const std::size_t n = std::min(kStreamPiece, data.size() - offset);
                upload.SendAll(data.data() + offset, static_cast<int>(n), timing_.sendTimeout, stop);
                bytesSent += n;
                Progress(job, bytesSent);
            }
        } catch (const CBlockingSocketException&) {
            return stop.stop_requested() ? Outcome::Stopped : Outcome::Failed;
        }
        std::array<char, kStreamReplyLimit> reply;
        const int got = upload.Receive(reply.data(), static_cast<int>(reply.size()), timing_.firmwareReplyTimeout, stop);
        if (stop.stop_requested())
            return Outcome::Stopped;
        if (got > 0 && RefusedByReply(std::string_view(reply.data(), static_cast<std::size_t>(got))))
            return Outcome::Failed;
    }
    return Outcome::Delivered;
}

}  // namespace config
