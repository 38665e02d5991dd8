#include "config/firmware/FirmwareRequests.h"

#include <algorithm>
#include <array>

#include "platform/TextCodec.h"
#include "session/AppData.h"
#include "session/net/CgiCommandTable.h"
#include "session/net/CgiRequest.h"

namespace config {

namespace {

struct RecordTypeValue {
    std::uint8_t recordType;
    const char* chunkedType;
    const char* streamType;
};
constexpr std::array<RecordTypeValue, 3> kRecordTypes{{
    {0, "BOOT", "1"},
    {1, "KERNEL", "0"},
    {4, "HTML", "2"},
}};

void AddCookie(session::CgiRequest& request, std::string_view cookie) {
    if (!cookie.empty())
        request.AddParam("Cookie", cookie);
}

}  // namespace

std::vector<std::string> ItemTypeValues(UploadPath path, const std::vector<FirmwareItem>& items) {
    std::vector<std::string> values;
    std::string previous = path == UploadPath::ImageStream ? "0" : "";
    for (const FirmwareItem& item : items) {
        if (!IsImagePath(path)) {
            values.push_back(std::to_string(item.kind));
            continue;
        }
        auto found = std::find_if(kRecordTypes.begin(), kRecordTypes.end(),
                                  [&](const RecordTypeValue& row) { return row.recordType == item.kind; });
        if (found != kRecordTypes.end())
            previous = path == UploadPath::ImageStream ? found->streamType : found->chunkedType;
        values.push_back(previous);
    }
    return values;
}

std::string ChunkRequestTarget(UploadPath path, ChunkKind kind, std::uint64_t itemSize, std::string_view type,
                               bool lastItem, std::string_view cookie) {
    session::CgiRequest request(session::CMD_UPGRADE_FW);
    switch (kind) {
    case ChunkKind::First:
        request.AddParam("Upgrade", "Start");
        request.AddParam("FileSize", std::to_string(itemSize));
        if (!IsImagePath(path))
            request.AddParam("Type", type);
        break;
    case ChunkKind::Last:
        request.AddParam("Upgrade", "Finished");
        request.AddParam("Type", type);
        if (lastItem)
            request.AddIntParam("Reboot", 1);
        break;
    case ChunkKind::Middle:
        break;
    }
    AddCookie(request, cookie);
    return std::string(request.Text());
}

std::string KeepAliveRequest(std::string_view cookie, std::string_view hostAddress) {
    std::string value;
    if (!session::EncodeRequestValue(cookie, value))
        return {};
    return session::FormatRequestHeader("/Getvideo.cgi?Cookie=" + value + "&Fake=1", std::nullopt, hostAddress);
}

std::string StreamUploadRequest(std::string_view cookie, std::uint64_t itemSize, std::string_view type,
                                bool lastItem, std::string_view hostAddress) {
    std::string value;
    if (!session::EncodeRequestValue(cookie, value))
        return {};
    std::string target = "/UpgradeFW2.cgi?Cookie=" + value + "&FILESIZE=" + std::to_string(itemSize) +
                         "&Type=" + std::string(type);
    if (lastItem)
        target += "&REBOOT=1";
    return session::FormatRequestHeader(target, std::nullopt, hostAddress);
}

session::CommandOptions FirmwareCommandOptions(const platform::Timing& timing, std::stop_token stop) {
    session::CommandOptions options;
    options.connectTimeout = timing.connectTimeout;
    options.sendTimeout = timing.commandTimeout;
    options.receiveTimeout = timing.commandTimeout;
    options.stop = std::move(stop);
    return options;
}

std::optional<std::string> QueryDvrVersion(session::AppData& app, const session::CommandOptions& options) {
    session::CgiRequest request(session::CMD_GET_VERSION);
    AddCookie(request, app.SessionCookie.Get());
    std::array<std::uint8_t, kVersionReplyLimit> reply{};
    std::uint32_t length = 0;
    if (session::SorelSendCommand(app, options, session::CMD_GET_VERSION, request.Text(), nullptr, 0, nullptr, reply,
                                  &length) != 1)
        return std::nullopt;
    std::string_view body(reinterpret_cast<const char*>(reply.data()), length);
    return platform::DecodeText(body.substr(0, body.find('\0')));
}

std::string FormatImageVersion(std::string_view version) {
    std::string shown;
    for (std::size_t i = 0; i < std::min<std::size_t>(version.size(), 4); ++i) {
        if (i > 0)
            shown += '.';
        shown += version[i];
    }
    return shown;
}

void SendCancelRequest(session::AppData& app, UploadPath path, const session::CommandOptions& options) {
    const std::uint8_t command = IsStreamPath(path) ? session::CMD_CANCEL_UPFW : session::CMD_UPGRADE_FW;
    session::CgiRequest request(command);
    if (!IsStreamPath(path))
        request.AddParam("Upgrade", "Cancel");
    AddCookie(request, app.SessionCookie.Get());
    session::SorelSendCommand(app, options, command, request.Text(), nullptr, 0, nullptr, {}, nullptr);
}

}  // namespace config
