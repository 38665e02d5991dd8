#pragma once
// The UDP device search: one 76-byte record, broadcast to the devices' search
// port, serves to find devices, to change a device's network settings and to
// put them back to the device's defaults. Replies come back to our reply port.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Timing.h"
#include "platform/WorkerThread.h"
#include "session/UiPort.h"

namespace session {

inline constexpr std::size_t kSearchRecordSize = 76;
// The search cannot listen for replies (no reply socket, a failed wait, no
// thread to run it on).
inline constexpr unsigned kSearchCannotListenMessage = 4006;
// User name and password travel in 16-byte fields with a terminating zero.
inline constexpr std::size_t kSearchCredentialMax = 15;

using Ipv4Bytes = std::array<std::uint8_t, 4>;
using MacBytes = std::array<std::uint8_t, 6>;

enum class SearchOperation : std::uint8_t { Search = 1, SetIp = 2, Reset = 3 };

// Answer status of AV_SET_IP and AV_RESET (byte 17).
enum SearchAnswerStatus : std::uint8_t {
    kSearchStatusRefusedLogin = 0,
    kSearchStatusDone = 1,
    kSearchStatusFixedAddress = 2,
};

// One datagram of the search protocol, both directions.
struct SearchRecord {
    std::string command;           // 16 bytes on the wire, zero-terminated
    std::uint8_t operation = 0;
    std::uint8_t typeOrStatus = 0;  // a search reply's device type; an answer's status
    MacBytes mac{};
    std::string userName;          // 16 bytes, at most 15 characters go out
    std::string password;          // 16 bytes, at most 15 characters go out
    Ipv4Bytes ipAddress{};
    Ipv4Bytes subnetMask{};
    Ipv4Bytes gateway{};
    Ipv4Bytes dnsServer{};
    std::uint16_t webPort = 0;     // little-endian on the wire

    // Field by field; every byte no field sets is zero.
    std::array<std::uint8_t, kSearchRecordSize> Encode() const;
    // Nothing for a datagram shorter than a record; bytes past 76 are not read.
    static std::optional<SearchRecord> Decode(std::span<const std::uint8_t> datagram);
};

// The texts of a device's network settings, as the dialog's fields hold them.
struct DeviceNetworkFields {
    std::string ipAddress;
    std::string macAddress;
    std::string subnetMask;
    std::string gateway;
    std::string dnsServer;
    int webPort = 0;
};

enum class NetworkChange { SetIp, Reset };

// AV_SEARCH from this computer's address; the web port field carries 3333.
SearchRecord MakeSearchRequest(const std::string& localAddress);
// AV_SET_IP or AV_RESET for the device of fields.macAddress with the fields' settings.
SearchRecord MakeNetworkChangeRequest(NetworkChange kind, const DeviceNetworkFields& fields,
                                      const std::string& userName, const std::string& password);

// "%d.%d.%d.%d" and "%.2x:%.2x:%.2x:%.2x:%.2x:%.2x".
std::string FormatIpv4(const Ipv4Bytes& address);
std::string FormatMac(const MacBytes& mac);

// Device type of a search reply: codes outside the table are kept as 50.
std::uint8_t StoredDeviceType(std::uint8_t replyCode);
std::string_view DeviceTypeText(std::uint8_t code);
// Only these types take AV_SET_IP and AV_RESET from us.
bool AcceptsNetworkChange(std::uint8_t storedCode);

// One reply as the result list keeps it.
struct SearchResultNode {
    std::string macAddress;
    std::string ipAddress;
    std::uint32_t webPort = 0;
    std::string gateway;
    std::string dnsServer;
    std::string subnetMask;
    std::uint8_t deviceType = 0;  // as stored (see StoredDeviceType)
    int index = 0;                // arrival order from 0
    bool previouslyUsed = false;  // the device we logged in to last
};

inline constexpr std::size_t kSearchColumnCount = 5;
// The list row of a node: address, MAC, port, type text, "PREVIOUS" or empty.
std::array<std::string, kSearchColumnCount> SearchRowTexts(const SearchResultNode& node);

// Replies in arrival order. The list view shows the newest first, so row r
// belongs to the node with index Count() - 1 - r.
class SearchResultList {
public:
    // lastMac1/lastMac2: the last two MAC bytes of the device logged in to last.
    const SearchResultNode& Append(const SearchRecord& reply, unsigned lastMac1, unsigned lastMac2);
    const SearchResultNode* Find(int index) const;
    // A change the device confirmed: the node shows the settings it now has.
    void ApplyChange(int index, const DeviceNetworkFields& fields);
    int Count() const { return static_cast<int>(nodes_.size()); }
    int IndexOfRow(int row) const { return Count() - 1 - row; }
    void Clear() { nodes_.clear(); }

private:
    std::vector<SearchResultNode> nodes_;
};

// What the login dialog takes from the search when the dialog has closed.
struct DeviceSearchChoice {
    bool chosen = false;
    std::string address;
    int webPort = 0;
};

// Where the outcome of a change or reset exchange left off.
struct ExchangeOutcome {
    enum class Stage {
        NoSocket,       // the reply socket could not be created
        NoBind,         // ... or bound
        WaitFailed,
        NoAnswer,       // nothing arrived in time
        ReceiveFailed,
        Answered,       // status holds byte 17 of the answer
    };
    NetworkChange kind = NetworkChange::SetIp;
    Stage stage = Stage::NoSocket;
    std::uint8_t status = 0;
};

// The message that tells the operator how an exchange ended, 0 for none.
unsigned ExchangeMessage(const ExchangeOutcome& outcome);

// The dialog's state without its widgets: the result list, the selection, the
// fields as last read back, the credentials and the choice for the login dialog.
class DeviceSearchForm {
public:
    DeviceSearchForm(unsigned lastMac1 = 255, unsigned lastMac2 = 255)
        : lastMac1_(lastMac1), lastMac2_(lastMac2) {}

    const SearchResultList& Results() const { return results_; }
    const SearchResultNode& AddReply(const SearchRecord& reply) {
        return results_.Append(reply, lastMac1_, lastMac2_);
    }
    // A new search: empty list, no selection; the choice stays.
    void ClearResults();

    // Selecting list row `row`: 4031 when it has no node, else 0 and the fields
    // hold the node's settings.
    unsigned SelectRow(int row);
    int SelectedResult() const { return selected_; }

    DeviceNetworkFields& Fields() { return fields_; }
    const DeviceNetworkFields& Fields() const { return fields_; }

    // Change or reset, before the credentials are asked for: 4044 with no
    // selection; then 4035 / 4036 for a missing node or a type that refuses it.
    unsigned CheckSelection() const;
    unsigned CheckTarget() const;
    // After the credentials dialog: 4080 / 4049 for a bad user name or password,
    // for a change 4067 when nothing differs from the device's report. 0 means
    // go on; the device is then taken as chosen.
    unsigned AcceptCredentials(NetworkChange kind, const std::string& userName,
                               const std::string& password);
    SearchRecord ChangeRequest(NetworkChange kind) const;
    // The address field becomes the chosen address after the outcomes that call for it;
    // a change the device confirmed also becomes the selected node's settings. True
    // when that node changed (its list row is to be redrawn).
    bool ApplyOutcome(const ExchangeOutcome& outcome);
    // OK: a selected device becomes the choice.
    void ChooseSelected();

    DeviceSearchChoice Choice() const { return {chosen_, chosenAddress_, fields_.webPort}; }

private:
    SearchResultList results_;
    unsigned lastMac1_;
    unsigned lastMac2_;
    int selected_ = -1;
    DeviceNetworkFields fields_;
    std::string userName_;
    std::string password_;
    bool chosen_ = false;
    std::string chosenAddress_;
};

// Where the search sends and listens. The defaults are the devices' own; tests
// use 127.0.0.1 and free ports.
struct SearchEndpoints {
    std::string broadcastAddress = "255.255.255.255";
    std::uint16_t broadcastPort = 7777;
    std::uint16_t sourcePort = 3333;  // our end of the broadcast
    std::uint16_t replyPort = 3332;   // replies arrive here, on every local address
    std::string localAddress;         // empty: this computer's address
};

// What the search reports to its dialog; called on the search's worker thread.
// Messages go through the inherited ShowMessageBox / ShowMessageText.
class DeviceSearchPort : public UiPort {
public:
    // One datagram of at least a record's size arrived on the reply port.
    virtual void DeviceReplied(const SearchRecord& reply) {}
    // The search ended by its time, by silence or by an error. A stopped search
    // or exchange reports nothing more: whoever stopped it has moved on.
    virtual void SearchStopped() {}
    // After the outcome's message, if any, went to ShowMessageBox.
    virtual void ExchangeFinished(const ExchangeOutcome& outcome) {}
};

// Runs one search or one change/reset exchange at a time on a worker thread.
class DeviceSearch {
public:
    DeviceSearch(DeviceSearchPort& port, SearchEndpoints endpoints = {},
                 platform::Timing timing = {});
    ~DeviceSearch() { Stop(); }
    DeviceSearch(const DeviceSearch&) = delete;
    DeviceSearch& operator=(const DeviceSearch&) = delete;

    // Each ends a running operation first; false when no thread could be started.
    bool StartSearch();
    bool StartExchange(NetworkChange kind, const SearchRecord& request);
    // Request + join; the port hears no more after it returns.
    void Stop() { worker_.Stop(); }
    bool Busy() const { return worker_.Running(); }

private:
    void RunSearch(std::stop_token stop);
    void RunExchange(NetworkChange kind, const SearchRecord& request, std::stop_token stop);
    std::string LocalAddress() const;
    // Sends one record to the broadcast endpoint; a failure is reported, never thrown.
    void SendBroadCast(const SearchRecord& record);

    DeviceSearchPort& port_;
    const SearchEndpoints endpoints_;
    const platform::Timing timing_;
    platform::WorkerThread worker_;
};

}  // namespace session
