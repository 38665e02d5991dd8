// Search records, the device type table, the result list and the dialog's form.
#include "session/tools/DeviceSearch.h"

#include <algorithm>
#include <cstdio>

#include "platform/ByteOrder.h"
#include "session/TextHelpers.h"

namespace session {

namespace {

// Field offsets of the record.
constexpr std::size_t kCommandAt = 0;
constexpr std::size_t kTextFieldSize = 16;
constexpr std::size_t kOperationAt = 16;
constexpr std::size_t kTypeAt = 17;
constexpr std::size_t kMacAt = 18;
constexpr std::size_t kUserAt = 24;
constexpr std::size_t kPasswordAt = 40;
constexpr std::size_t kIpAt = 56;
constexpr std::size_t kMaskAt = 60;
constexpr std::size_t kGatewayAt = 64;
constexpr std::size_t kDnsAt = 68;
constexpr std::size_t kPortAt = 72;

// The port a search request names; the devices expect it whatever our ports are.
constexpr std::uint16_t kSearchRequestPort = 3333;

constexpr std::uint8_t kDefaultDeviceType = 50;

struct DeviceTypeRow {
    std::uint8_t code;
    std::string_view text;
    bool takesNetworkChange;
};

constexpr DeviceTypeRow kDeviceTypes[] = {
    {50, "Video Server", true},
    {83, "4CH MPEG4 DVR", true},
    {85, "8CH MPEG4 DVR", true},
    {87, "16CH MPEG4 DVR", true},
    {113, "4CH NETWORK DVR", false},
    {114, "4CH NETWORK DVR", false},
    {115, "4CH NETWORK DVR", false},
    {118, "9CH NETWORK DMR", false},
    {119, "16CH NETWORK DMR", false},
    {128, "4CH NETWORK MPEG2 DVR", false},
    {132, "4CH NETWORK MPEG2 DVR", false},
    {138, "4CH NETWORK MPEG2 DVR", false},
};

const DeviceTypeRow* FindDeviceType(std::uint8_t code) {
    for (const auto& row : kDeviceTypes)
        if (row.code == code)
            return &row;
    return nullptr;
}

// A zero-terminated text in a fixed field: at most size - 1 characters.
void PutText(std::span<std::uint8_t> out, const std::string& text) {
    const std::size_t n = std::min(text.size(), out.size() - 1);
    std::copy_n(text.begin(), n, out.begin());
}

std::string GetText(std::span<const std::uint8_t> in) {
    const auto end = std::find(in.begin(), in.end(), std::uint8_t{0});
    return std::string(in.begin(), end);
}

template <std::size_t N>
void PutBytes(std::span<std::uint8_t> out, const std::array<std::uint8_t, N>& bytes) {
    std::copy(bytes.begin(), bytes.end(), out.begin());
}

template <std::size_t N>
std::array<std::uint8_t, N> GetBytes(std::span<const std::uint8_t> in) {
    std::array<std::uint8_t, N> bytes{};
    std::copy_n(in.begin(), N, bytes.begin());
    return bytes;
}

Ipv4Bytes AddressBytes(const std::string& text) {
    Ipv4Bytes bytes{};
    SplitToBytes(text, bytes, ".");
    return bytes;
}

}  // namespace

std::array<std::uint8_t, kSearchRecordSize> SearchRecord::Encode() const {
    std::array<std::uint8_t, kSearchRecordSize> out{};
    const std::span<std::uint8_t> all(out);
    PutText(all.subspan(kCommandAt, kTextFieldSize), command);
    out[kOperationAt] = operation;
    out[kTypeAt] = typeOrStatus;
    PutBytes(all.subspan(kMacAt), mac);
    PutText(all.subspan(kUserAt, kTextFieldSize), userName);
    PutText(all.subspan(kPasswordAt, kTextFieldSize), password);
    PutBytes(all.subspan(kIpAt), ipAddress);
    PutBytes(all.subspan(kMaskAt), subnetMask);
    PutBytes(all.subspan(kGatewayAt), gateway);
    PutBytes(all.subspan(kDnsAt), dnsServer);
    platform::StoreLe16(&out[kPortAt], webPort);
    return out;
}

std::optional<SearchRecord> SearchRecord::Decode(std::span<const std::uint8_t> in) {
    if (in.size() < kSearchRecordSize)
        return std::nullopt;
    SearchRecord r;
    r.command = GetText(in.subspan(kCommandAt, kTextFieldSize));
    r.operation = in[kOperationAt];
    r.typeOrStatus = in[kTypeAt];
    r.mac = GetBytes<6>(in.subspan(kMacAt));
    r.userName = GetText(in.subspan(kUserAt, kTextFieldSize));
    r.password = GetText(in.subspan(kPasswordAt, kTextFieldSize));
    r.ipAddress = GetBytes<4>(in.subspan(kIpAt));
    r.subnetMask = GetBytes<4>(in.subspan(kMaskAt));
    r.gateway = GetBytes<4>(in.subspan(kGatewayAt));
    r.dnsServer = GetBytes<4>(in.subspan(kDnsAt));
    r.webPort = platform::LoadLe16(&in[kPortAt]);
    return r;
}

SearchRecord MakeSearchRequest(const std::string& localAddress) {
    SearchRecord r;
    r.command = "AV_SEARCH";
    r.operation = static_cast<std::uint8_t>(SearchOperation::Search);
    r.ipAddress = AddressBytes(localAddress);
    r.webPort = kSearchRequestPort;
    return r;
}

SearchRecord MakeNetworkChangeRequest(NetworkChange kind, const DeviceNetworkFields& fields,
                                      const std::string& userName, const std::string& password) {
    SearchRecord r;
    const bool setIp = kind == NetworkChange::SetIp;
    r.command = setIp ? "AV_SET_IP" : "AV_RESET";
    r.operation = static_cast<std::uint8_t>(setIp ? SearchOperation::SetIp : SearchOperation::Reset);
    HexTextToBytes(fields.macAddress, r.mac, ':');
    r.userName = userName.substr(0, kSearchCredentialMax);
    r.password = password.substr(0, kSearchCredentialMax);
    r.ipAddress = AddressBytes(fields.ipAddress);
    r.subnetMask = AddressBytes(fields.subnetMask);
    r.gateway = AddressBytes(fields.gateway);
    r.dnsServer = AddressBytes(fields.dnsServer);
    r.webPort = static_cast<std::uint16_t>(fields.webPort);
    return r;
}

std::string FormatIpv4(const Ipv4Bytes& a) {
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", a[0], a[1], a[2], a[3]);
    return text;
}

std::string FormatMac(const MacBytes& m) {
    char text[18];
    std::snprintf(text, sizeof text, "%.2x:%.2x:%.2x:%.2x:%.2x:%.2x", m[0], m[1], m[2], m[3], m[4],
                  m[5]);
    return text;
}

std::uint8_t StoredDeviceType(std::uint8_t replyCode) {
    return FindDeviceType(replyCode) ? replyCode : kDefaultDeviceType;
}

std::string_view DeviceTypeText(std::uint8_t code) {
    return FindDeviceType(StoredDeviceType(code))->text;
}

bool AcceptsNetworkChange(std::uint8_t storedCode) {
    const auto* row = FindDeviceType(storedCode);
    return row && row->takesNetworkChange;
}

std::array<std::string, kSearchColumnCount> SearchRowTexts(const SearchResultNode& node) {
    return {node.ipAddress, node.macAddress, std::to_string(node.webPort),
            std::string(DeviceTypeText(node.deviceType)), node.previouslyUsed ? "PREVIOUS" : ""};
}

const SearchResultNode& SearchResultList::Append(const SearchRecord& reply, unsigned lastMac1,
                                                 unsigned lastMac2) {
    SearchResultNode node;
    node.macAddress = FormatMac(reply.mac);
    node.ipAddress = FormatIpv4(reply.ipAddress);
    node.webPort = reply.webPort;
    node.gateway = FormatIpv4(reply.gateway);
    node.dnsServer = FormatIpv4(reply.dnsServer);
    node.subnetMask = FormatIpv4(reply.subnetMask);
    node.deviceType = StoredDeviceType(reply.typeOrStatus);
    node.index = Count();
    node.previouslyUsed = reply.mac[4] == lastMac1 && reply.mac[5] == lastMac2;
    nodes_.push_back(std::move(node));
    return nodes_.back();
}

const SearchResultNode* SearchResultList::Find(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return &nodes_[static_cast<std::size_t>(index)];
}

unsigned ExchangeMessage(const ExchangeOutcome& outcome) {
    using Stage = ExchangeOutcome::Stage;
    const bool setIp = outcome.kind == NetworkChange::SetIp;
    switch (outcome.stage) {
    case Stage::NoSocket:
    case Stage::NoBind:
    case Stage::WaitFailed:
        return 4014;
    case Stage::NoAnswer:
        return 4064;
    case Stage::ReceiveFailed:
        return 4059;
    case Stage::Answered:
        break;
    }
    switch (outcome.status) {
    case kSearchStatusDone:
        return setIp ? 4005 : 4062;
    case kSearchStatusRefusedLogin:
        return 4081;
    case kSearchStatusFixedAddress:
        return 4102;
    default:
        return setIp ? 4004 : 4061;
    }
}

void DeviceSearchForm::ClearResults() {
    results_.Clear();
    selected_ = -1;
}

void SearchResultList::ApplyChange(int index, const DeviceNetworkFields& fields) {
    if (index < 0 || index >= Count())
        return;
    SearchResultNode& node = nodes_[static_cast<std::size_t>(index)];
    node.ipAddress = fields.ipAddress;
    node.webPort = static_cast<std::uint32_t>(fields.webPort);
    node.gateway = fields.gateway;
    node.dnsServer = fields.dnsServer;
    node.subnetMask = fields.subnetMask;
}

unsigned DeviceSearchForm::SelectRow(int row) {
    selected_ = results_.IndexOfRow(row);
    const SearchResultNode* node = results_.Find(selected_);
    if (!node)
        return 4031;
    fields_.ipAddress = node->ipAddress;
    fields_.macAddress = node->macAddress;
    fields_.webPort = static_cast<int>(node->webPort);
    fields_.gateway = node->gateway;
    fields_.dnsServer = node->dnsServer;
    fields_.subnetMask = node->subnetMask;
    return 0;
}

unsigned DeviceSearchForm::CheckSelection() const {
    return selected_ < 0 || selected_ > results_.Count() ? 4044 : 0;
}

unsigned DeviceSearchForm::CheckTarget() const {
    const SearchResultNode* node = results_.Find(selected_);
    if (!node)
        return 4035;
    return AcceptsNetworkChange(node->deviceType) ? 0 : 4036;
}

unsigned DeviceSearchForm::AcceptCredentials(NetworkChange kind, const std::string& userName,
                                             const std::string& password) {
    userName_ = userName;
    password_ = password;
    if (userName.empty() || userName.size() > kSearchCredentialMax)
        return 4080;
    if (password.empty() || password.size() > kSearchCredentialMax)
        return 4049;
    if (kind == NetworkChange::SetIp) {
        const SearchResultNode* node = results_.Find(selected_);
        if (node && node->ipAddress == fields_.ipAddress && node->macAddress == fields_.macAddress &&
            node->gateway == fields_.gateway && node->dnsServer == fields_.dnsServer &&
            node->subnetMask == fields_.subnetMask &&
            static_cast<int>(node->webPort) == fields_.webPort)
            return 4067;
    }
    chosen_ = true;
    return 0;
}

SearchRecord DeviceSearchForm::ChangeRequest(NetworkChange kind) const {
    return MakeNetworkChangeRequest(kind, fields_, userName_, password_);
}

bool DeviceSearchForm::ApplyOutcome(const ExchangeOutcome& outcome) {
    using Stage = ExchangeOutcome::Stage;
    bool takeAddress = false;
    switch (outcome.stage) {
    case Stage::NoBind:
    case Stage::WaitFailed:
    case Stage::NoAnswer:
    case Stage::ReceiveFailed:
        takeAddress = true;
        break;
    case Stage::Answered:
        // A changed device is offered at its new address; a reset one is not.
        takeAddress = outcome.kind == NetworkChange::SetIp;
        break;
    case Stage::NoSocket:
        break;
    }
    if (takeAddress)
        chosenAddress_ = fields_.ipAddress;
    const bool changed = outcome.stage == Stage::Answered && outcome.kind == NetworkChange::SetIp &&
                         outcome.status == kSearchStatusDone && results_.Find(selected_);
    if (changed)
        results_.ApplyChange(selected_, fields_);
    return changed;
}

void DeviceSearchForm::ChooseSelected() {
    if (results_.Find(selected_)) {
        chosenAddress_ = fields_.ipAddress;
        chosen_ = true;
    }
}

}  // namespace session
