#include "session/login/LoginExchange.h"

#include <algorithm>
#include <array>
#include <climits>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/ByteOrder.h"
#include "session/AppData.h"
#include "session/net/CgiCommandTable.h"
#include "session/net/CgiRequest.h"
#include "session/net/CommandSender.h"
#include "session/DeviceFamily.h"
#include "session/net/OptionBlocks.h"
#include "session/TextHelpers.h"

namespace session {

namespace {

using mainwindow::kControlDeviceMaster;
using mainwindow::kControlDeviceSlave;

constexpr std::int32_t kLinkedBaud = 2400;  // RS-485 rate of listed masters and slaves
constexpr std::uint8_t kTypeOneMeansPtzSlave = 1;
constexpr std::size_t kCapabilityOffset = 20;  // in the INF block

// The reply up to its first zero byte, as the device's text ends there.
std::string_view AsText(std::string_view reply) {
    const auto zero = reply.find('\0');
    return zero == std::string_view::npos ? reply : reply.substr(0, zero);
}

std::optional<std::int32_t> ReplyInt(std::string_view reply, std::string_view key) {
    auto value = ReplyValue(reply, key);
    if (!value)
        return std::nullopt;
    return ReplyNumber(*value);
}

CommandOptions SenderOptions(const ExchangeOptions& options) {
    CommandOptions sender;
    sender.connectTimeout = options.timing.connectTimeout;
    sender.sendTimeout = options.timing.commandTimeout;
    sender.receiveTimeout = options.timing.commandTimeout;
    sender.stop = options.stop;
    sender.wrongAddressNotice = options.wrongAddressNotice;
    return sender;
}

// A device-information type code: 1 stands for the PTZ slave type.
std::uint8_t LinkedType(std::int32_t value) {
    const auto type = static_cast<std::uint8_t>(value);
    return type == kTypeOneMeansPtzSlave ? mainwindow::kTypePtzSlave : type;
}

// The main window's start reads a master's type 1 as the PTZ slave type only on DVRs.
std::uint8_t MasterType(AppData& app, std::int32_t value, DeviceInfoRules rules) {
    if (rules == DeviceInfoRules::MainWindow && !IsDvrFamily(app.str_ProductID.Get()))
        return static_cast<std::uint8_t>(value);
    return LinkedType(value);
}

// The DVR itself as the master of a R.E.T.R. list, by its product code.
std::optional<std::uint8_t> DvrMasterType(std::string_view product) {
    if (product == "R41T")
        return mainwindow::kTypeKlt316Dvr;
    if (product == "R42T")
        return mainwindow::kTypeKlt318Dvr;
    if (product == "R43T")
        return mainwindow::kTypeKlt324Dvr;
    return std::nullopt;
}

// The linked-DVR master a R.E.T.R. device stands for, by the last master's type.
std::optional<std::uint8_t> RetrMasterType(std::uint8_t lastMasterType) {
    switch (lastMasterType) {
    case 14: return mainwindow::kTypeKlt316Dvr;
    case 20: return mainwindow::kTypeKlt318Dvr;
    case 21: return mainwindow::kTypeKlt324Dvr;
    default: return std::nullopt;
    }
}

// Walks the repeated items of a device list (MID/MTYPE, SID/STYPE/SPROTOCOL):
// each key is searched from where the previous one ended; a key that is not
// found keeps its previous value and the position.
class ItemCursor {
public:
    explicit ItemCursor(std::string_view reply) : reply_(reply) {}
    bool Read(std::string_view key, std::int32_t& value) {
        auto item = FindReplyItem(reply_, key, position_);
        if (!item)
            return false;
        value = ReplyNumber(item->value);
        position_ = item->end;
        return true;
    }

private:
    std::string_view reply_;
    std::size_t position_ = 0;
};

// K3: masters from LINKDEVICE, or from MASTERNUM with MID and MTYPE. Returns
// the type of the last master read.
std::optional<std::uint8_t> ApplyMasters(AppData& app, std::string_view reply, DeviceInfoRules rules) {
    if (auto link = ReplyInt(reply, "LINKDEVICE")) {
        const auto type = static_cast<std::uint8_t>(*link);
        app.C_ControlD.AddDevice(0, 0, type, kControlDeviceMaster);
        return type;
    }
    auto count = ReplyInt(reply, "MASTERNUM");
    if (!count)
        return std::nullopt;
    const auto n = static_cast<std::uint8_t>(*count);
    ItemCursor cursor(reply);
    std::int32_t address = 0, type = 0;
    std::optional<std::uint8_t> lastType;
    for (unsigned i = 0; i < n; ++i) {
        cursor.Read("MID", address);
        cursor.Read("MTYPE", type);
        lastType = MasterType(app, type, rules);
        app.C_ControlD.AddDevice(kLinkedBaud, static_cast<std::uint8_t>(address), *lastType,
                                 kControlDeviceMaster);
    }
    return lastType;
}

// K4: a R.E.T.R. device lists the linked DVR it reports for, and its state.
// The re-login takes the DVR from the last master's type and hands the state
// over; the main window's start lists the DVR it is logged in to and keeps
// the state for later.
std::optional<std::uint8_t> ApplyRetr(AppData& app, std::string_view reply,
                                      std::optional<std::uint8_t> lastMasterType, DeviceInfoRules rules) {
    auto retr = ReplyInt(reply, "RETR");
    if (!retr)
        return std::nullopt;
    const std::string product = app.str_ProductID.Get();
    const bool gated = IsDvrFamily(product) && CompareFirmwareVersion("1035", app.str_FWVersion.Get()) != 2;
    if (gated && (app.dw_DeviceCapability.load() & 0x01) == 0)
        return std::nullopt;
    app.C_ControlD.Clear();
    const auto state = static_cast<std::uint8_t>(*retr);
    if (rules == DeviceInfoRules::MainWindow) {
        if (auto dvr = DvrMasterType(product))
            app.C_ControlD.AddDevice(0, 0, *dvr, kControlDeviceMaster);
        return state;
    }
    if (lastMasterType)
        if (auto dvr = RetrMasterType(*lastMasterType))
            app.C_ControlD.AddDevice(0, 0, *dvr, kControlDeviceMaster);
    app.C_ControlD.SetRetrState(state);
    return state;
}

// The address and type of the entry added last (zeros when the list is empty).
std::pair<std::int32_t, std::uint8_t> LastEntry(const AppData& app) {
    const auto list = app.C_ControlD.Snapshot();
    if (list.m_byCount == 0)
        return {0, 0};
    const auto& entry = list.entries[std::min<std::size_t>(list.m_byCount, list.entries.size()) - 1];
    return {entry.byAddress, entry.byType};
}

// K7: the devices linked to the recorder; on a multi-channel device each one
// is a master of its own channel.
void ApplyLinkedDevices(AppData& app, std::string_view reply, DeviceInfoRules rules) {
    auto count = ReplyInt(reply, "SLAVENUM");
    if (!count)
        return;
    const auto n = static_cast<std::uint8_t>(*count);
    const std::uint16_t kind = app.by_MultiChannel.load() != 0 ? kControlDeviceMaster : kControlDeviceSlave;
    ItemCursor cursor(reply);
    std::int32_t address = 0, typeValue = 0, protocol = 0;
    std::uint8_t type = 0;
    // The main window's start: a missing SID or STYPE keeps the entry before's, a master's included.
    if (rules == DeviceInfoRules::MainWindow)
        std::tie(address, type) = LastEntry(app);
    for (unsigned i = 0; i < n; ++i) {
        cursor.Read("SID", address);
        if (cursor.Read("STYPE", typeValue))
            type = LinkedType(typeValue);
        cursor.Read("SPROTOCOL", protocol);
        if (type == mainwindow::kTypePtzSlave && protocol == 1)
            type = mainwindow::kTypePtzPelco;
        app.C_ControlD.AddDevice(kLinkedBaud, static_cast<std::uint8_t>(address), type, kind);
    }
}

// D2: the capability word of the INF block; a failed query leaves it as it was.
void QueryCapability(AppData& app, const ExchangeOptions& options) {
    if (!QuerySystemConfigBlock(app, options.timing, kOptionInf, options.stop))
        return;
    const auto block = app.SysCfg.Get().by_SysCfgOption0;
    app.dw_DeviceCapability = platform::LoadLe32(&block[kCapabilityOffset]);
}

}  // namespace

// ---- Reply items ----------------------------------------------------------

std::optional<ReplyItem> FindReplyItem(std::string_view reply, std::string_view key, std::size_t from,
                                       std::size_t maxLength) {
    reply = AsText(reply);
    if (key.empty() || from > reply.size())
        return std::nullopt;
    std::string pattern(key);
    pattern += '=';
    const auto at = reply.find(pattern, from);
    if (at == std::string_view::npos)
        return std::nullopt;
    const auto start = at + pattern.size();
    const auto end = reply.find(';', start);
    if (end == std::string_view::npos)
        return std::nullopt;
    ReplyItem item;
    item.value = std::string(reply.substr(start, std::min(end - start, maxLength)));
    item.end = end;
    return item;
}

std::optional<std::string> ReplyValue(std::string_view reply, std::string_view key) {
    auto item = FindReplyItem(reply, key);
    if (!item)
        return std::nullopt;
    return std::move(item->value);
}

std::int32_t ReplyNumber(std::string_view value) {
    std::size_t i = 0;
    while (i < value.size() && (value[i] == ' ' || value[i] == '\t' || value[i] == '\r' || value[i] == '\n'))
        ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-'))
        negative = value[i++] == '-';
    long long number = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        number = number * 10 + (value[i] - '0');
        if (number > static_cast<long long>(INT_MAX) + 1)
            break;
    }
    if (negative)
        number = -number;
    if (number > INT_MAX)
        return INT_MAX;
    if (number < INT_MIN)
        return INT_MIN;
    return static_cast<std::int32_t>(number);
}

// ---- Login ----------------------------------------------------------------

LoginReply SendLoginRequest(AppData& app, const std::string& user, const std::string& password,
                            const ExchangeOptions& options, std::size_t replySize) {
    CgiRequest request(CMD_LOGIN);
    request.AddParam("Username", user);
    request.AddParam("Password", password);
    app.SessionCookie = std::string();

    std::vector<std::uint8_t> reply(replySize, 0);
    std::uint32_t length = 0;
    StatusRecord status;  // fresh for every attempt: no refusal of an earlier one lingers
    LoginReply result;
    result.result = SorelSendCommand(app, SenderOptions(options), CMD_LOGIN, request.Text(), nullptr, 0,
                                     &status, reply, &length);
    if (result.result == 1)
        result.body.assign(reinterpret_cast<const char*>(reply.data()), std::min<std::size_t>(length, replySize));
    else
        result.status = status.nStatus;
    return result;
}

LoginReplyOutcome ApplyLoginReply(AppData& app, std::string_view reply, const LoginReplyRules& rules) {
    auto cookie = FindReplyItem(reply, "Session-ID", 0, kSessionCookieMax);
    if (!cookie)
        return LoginReplyOutcome::NoSessionId;
    app.SessionCookie = cookie->value;

    if (auto firmware = ReplyValue(reply, "Firmware-Version"))
        app.str_FWVersion = *firmware;
    if (auto product = ReplyValue(reply, "Product-ID")) {
        app.str_ProductID = *product;
        if (rules.checkProduct &&
            std::find(std::begin(kAcceptedProducts), std::end(kAcceptedProducts), *product) ==
                std::end(kAcceptedProducts))
            return LoginReplyOutcome::UnsupportedProduct;
    }
    if (auto mac = ReplyValue(reply, "MAC-Address")) {
        app.sz_MACAddress = mac->substr(0, 12);
        std::array<std::uint8_t, 6> bytes{};
        if (rules.storeMacInSettings && ParseMacAddress(*mac, bytes) == 1) {
            app.CSettingINI.m_wLastMAC1 = bytes[4];
            app.CSettingINI.m_wLastMAC2 = bytes[5];
        }
    }
    if (auto host = ReplyValue(reply, "Host-Name"))
        app.str_HostName = *host;
    return LoginReplyOutcome::Accepted;
}

std::uint16_t RunLoginRequest(AppData& app, const ExchangeOptions& options) {
    app.w_LoginResult = kLoginNotLoggedIn;
    const LoginReply reply = SendLoginRequest(app, app.CSettingINI.m_strUserName.Get(),
                                              app.CSettingINI.m_strPassword.Get(), options);
    if (reply.result != 1) {
        app.w_LoginResult = reply.status == 202 ? kLoginTooManyUsers : kLoginNotLoggedIn;
        return app.w_LoginResult;
    }
    app.w_LoginResult = kLoginLoggedIn;
    app.w_UserLevel = 30;
    if (ApplyLoginReply(app, reply.body, LoginReplyRules{}) != LoginReplyOutcome::Accepted)
        app.w_LoginResult = kLoginNotLoggedIn;
    return app.w_LoginResult;
}

// ---- Device information -----------------------------------------------------

std::uint8_t ClampChannel(std::string_view product, std::uint8_t channel, DeviceInfoRules rules) {
    if (rules == DeviceInfoRules::MainWindow && (IsN5HFamily(product) || IsG66MFamily(product)))
        return 2;
    if (product == "R41T" && channel > 16)
        return 0;
    if (product == "R42T" && channel > 8)
        return 0;
    if (product == "R43T" && channel > 4)
        return 0;
    if (product == "R47T" && (channel > 2 || channel == 0))
        return 1;
    return channel;
}

DeviceGates GatesFor(std::string_view product, std::string_view firmware) {
    const std::string version(firmware);
    auto atLeast = [&](const char* gate) { return CompareFirmwareVersion(gate, version) != 2; };
    DeviceGates gates;
    gates.queryCapability = IsDvrFamily(product) && atLeast("1035");
    gates.newHeader = (IsDvrFamily(product) && atLeast("1046")) ||
                      (IsVideoServerFamily(product) && atLeast("1006")) || IsG66MFamily(product);
    return gates;
}

std::optional<std::string> RequestDeviceInfo(AppData& app, const ExchangeOptions& options, DeviceInfoRules rules,
                                             int* senderResult) {
    CSettingINI& settings = app.CSettingINI;
    const std::string product = app.str_ProductID.Get();
    const std::uint8_t channel = ClampChannel(product, settings.m_bySelectedChannel, rules);
    settings.m_bySelectedChannel = channel;

    const DeviceGates gates = GatesFor(product, app.str_FWVersion.Get());
    if (gates.queryCapability)
        QueryCapability(app, options);

    CgiRequest request(CMD_GET_DEVICE_INFO);
    const std::string cookie = app.SessionCookie.Get();
    if (!cookie.empty())
        request.AddParam("Cookie", cookie);
    request.AddIntParam("RES", static_cast<std::int32_t>(settings.m_dwImageResolution.load()));
    request.AddIntParam("QUA", static_cast<std::int32_t>(settings.m_dwImageQuality.load()));
    request.AddIntParam("CH", channel);
    if (gates.newHeader)
        request.AddIntParam("NEWHR", 1);
    app.dw_NewHeaderFormat = gates.newHeader ? 1 : 0;

    // Items past the area are not read: a device with a longer reply still works.
    CommandOptions senderOptions = SenderOptions(options);
    senderOptions.longReply = LongReply::CutToArea;
    std::vector<std::uint8_t> reply(kDeviceInfoReplySize, 0);
    std::uint32_t length = 0;
    const int result = SorelSendCommand(app, senderOptions, CMD_GET_DEVICE_INFO, request.Text(), nullptr, 0,
                                        nullptr, reply, &length);
    if (senderResult)
        *senderResult = result;
    if (result != 1 || length == 0)
        return std::nullopt;
    return std::string(reinterpret_cast<const char*>(reply.data()), std::min<std::size_t>(length, reply.size()));
}

void ApplySessionFacts(AppData& app, std::string_view reply) {
    if (auto lifetime = ReplyInt(reply, "LIFETIME"))
        app.dw_LifeTime = *lifetime;
    if (auto mode = ReplyInt(reply, "VIDEOMODE"))
        app.by_VideoMode = static_cast<std::uint8_t>(*mode);
    if (auto level = ReplyInt(reply, "USERLEVEL"))
        app.w_UserLevel = static_cast<std::uint16_t>(*level);
    if (auto boot = ReplyValue(reply, "Boot-Version"))
        app.str_BootVersion = *boot;
    if (auto v2041 = ReplyValue(reply, "2041-Version"))
        app.str_2041Version = *v2041;
    if (auto fpga = ReplyValue(reply, "FPGA-Version"))
        app.str_FPGAVersion = *fpga;
}

std::optional<std::uint8_t> ApplyDeviceInfoReply(AppData& app, std::string_view reply, DeviceInfoRules rules) {
    ApplySessionFacts(app, reply);
    app.by_MultiChannel = static_cast<std::uint8_t>(ReplyInt(reply, "MULTICH").value_or(0));
    const auto lastMasterType = ApplyMasters(app, reply, rules);
    const auto retr = ApplyRetr(app, reply, lastMasterType, rules);
    ApplyLinkedDevices(app, reply, rules);
    return retr;
}

void ChooseCurrentControlDevice(AppData& app) {
    const std::string product = app.str_ProductID.Get();
    const std::uint8_t channel = app.CSettingINI.m_bySelectedChannel;
    std::optional<std::uint8_t> position;
    if (IsDvrFamily(product))
        position = app.by_MultiChannel.load() != 0 ? channel : 0;
    else if (IsN5HFamily(product) || IsG66MFamily(product))
        position = 0;
    else if (IsVideoServerFamily(product))
        position = channel == 1 ? 0 : 1;
    if (position)
        app.C_ControlD.MakeCurrent(kControlDeviceMaster, *position);
}

bool RunDeviceInfoExchange(AppData& app, const ExchangeOptions& options) {
    auto reply = RequestDeviceInfo(app, options);
    if (!reply)
        return false;
    ApplyDeviceInfoReply(app, *reply);
    ChooseCurrentControlDevice(app);
    return true;
}

}  // namespace session
