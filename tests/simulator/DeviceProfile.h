#pragma once
// What a simulated device is: its identity, the facts it reports at login and
// in the device information, and its configuration blocks.

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace devicesim {

using Bytes = std::vector<std::uint8_t>;

// The configuration options by number: wire name and block size. ONLINE has a
// variable length of at most 240 bytes; ALL stands for every block at once.
struct OptionBlockLayout {
    std::string_view name;
    std::size_t size;
};
inline constexpr int kOptionAll = 17;
inline constexpr int kOptionOnline = 12;
inline constexpr std::array<OptionBlockLayout, 18> kOptionBlocks{{
    {"INF", 44},     {"IP", 24},      {"SECURE", 196}, {"DNS", 12},     {"SMTP", 440},  {"FTP", 104},
    {"PPPOE", 68},   {"SYSTEM", 36},  {"SNTP", 36},    {"IMG", 12},     {"RS485", 124}, {"ALARM", 24},
    {"ONLINE", 240}, {"DVRLIVE", 772}, {"DVROSD", 20}, {"DVRREC", 132}, {"PERI", 16},   {"ALL", 0},
}};
// The option number of a wire name, or -1.
int OptionByName(std::string_view name);

// A control device linked to the recorder (masters and slaves of the device information).
struct LinkedDevice {
    int address = 0;
    int type = 0;
    int protocol = 0;  // slaves only
};

// A recorded event as the DVR lists it: the event code at byte 7, then year
// - 2000, month, day, hour, minute, second.
Bytes SearchEntry(std::uint8_t code, std::array<std::uint8_t, 6> time);

// The text padded with "PADnnn=xxx;" items, which no client reads, to
// `length` bytes (a text that long already is returned as it is).
std::string PadItems(std::string text, std::size_t length);

struct DeviceProfile {
    std::string productId = "R41T";
    std::string firmwareVersion = "1052";
    std::string macAddress = "0012A5C0FFEE";  // 12 hexadecimal digits
    std::string hostName = "DVR";
    std::string userName = "tovik";  // the client's default account
    std::string password = "tovik";
    std::string sessionId = "5A17C0DE";  // handed out by every login
    bool tooManyUsers = false;           // the login answers 202
    bool checkCookie = true;             // requests after the login need a known Cookie

    // Device information; an empty optional leaves the item out of the reply.
    std::optional<int> lifetime = -1;
    std::optional<int> multiChannel = 0;
    std::optional<int> videoMode = 0;
    std::optional<int> userLevel = 30;
    std::optional<int> linkDevice;        // LINKDEVICE: the single master's type
    std::vector<LinkedDevice> masters;    // MASTERNUM, MID, MTYPE (only without LINKDEVICE)
    std::optional<int> retr;              // RETR
    std::optional<std::string> bootVersion = "1001";
    std::optional<std::string> version2041 = "1002";
    std::optional<std::string> fpgaVersion = "1003";
    std::vector<LinkedDevice> slaves;     // SLAVENUM, SID, STYPE, SPROTOCOL
    // Newer firmware says more: the device information padded, after the
    // items above, with items no client reads up to this many bytes (0: none).
    std::size_t deviceInfoLength = 0;

    // The DVR's own settings pages: "KEY=value;" items in reply order (a test
    // may reorder them or leave one out); the Set requests change them by group.
    using KeyValues = std::vector<std::pair<std::string, int>>;
    KeyValues dvrDate{
        {"YEAR", 2006},        {"MONTH", 3},          {"DAY", 14},           {"HOUR", 9},
        {"MINUTE", 26},        {"SECOND", 53},        {"FORMAT", 0},         {"DAYLIGHTSAVING", 0},
        {"STARTWEEKINDEX", 4}, {"STARTDAYOFWEEK", 0}, {"STARTMONTH", 2},     {"STARTHOUR", 2},
        {"STARTMINUTE", 0},    {"ENDWEEKINDEX", 4},   {"ENDDAYOFWEEK", 0},   {"ENDMONTH", 9},
        {"ENDHOUR", 3},        {"ENDMINUTE", 0},      {"ADJUSTHOUR", 1},     {"ADJUSTMINUTE", 0},
    };
    KeyValues recordSetting{
        {"MANUAL", 1},         {"EVENT", 1},          {"TIMER", 0},          {"VIDEOTYPE", 1},
        {"RECMODE", 0},        {"MANUALRATETYPE", 1}, {"MOTIONRATETYPE", 2}, {"TIMERRATETYPE", 3},
        {"OVERWRITE", 1},      {"QUALITY", 8},        {"RECORDFIX", 1},      {"SUPPORTMODE", 7},
        {"SUPPORTIPSSHARE", 3},
    };
    // The event log, oldest first: 32-byte records ("/Getlog.cgi" sends pages of
    // 30, newest first; "/ClearLog.cgi" empties it).
    std::vector<Bytes> log;

    // The DVR's disks: "/GetDvrHDD.cgi" sets each one's bit of its 32-byte map
    // and sends diskFlag after it.
    std::vector<int> disks{0};
    std::uint8_t diskFlag = 0;
    // Recordings and events on each disk, oldest first, as 16-byte entries
    // (SearchEntry). "/GetSearchList.cgi" sends those of the asked kind in
    // pages of searchPageSize, the newest page first (STATE=LAST) and each
    // older one after it (STATE=PREV); the count word's low bits are set.
    std::map<int, std::vector<Bytes>> recordedEvents;
    std::size_t searchPageSize = 10;
    // A fault: the count word announces this many entries, whatever the page holds.
    std::optional<unsigned> searchCountWord;

    // The value of a key of those lists (none when it is left out).
    static std::optional<int> ValueOf(const KeyValues& items, std::string_view key);

    // Configuration blocks by option number; an option not stored reads as
    // zeros of its size (ONLINE as empty).
    std::map<int, Bytes> blocks;

    // A profile with the product's usual firmware and items, and filled
    // configuration blocks (FillBlocks again after changing the firmware).
    static DeviceProfile ForProduct(std::string_view productId);

    // Video servers, N5H and G66M devices keep the short block order
    // (PERI after ALARM); the DVR family the long one (DVRLIVE, DVROSD, DVRREC).
    bool UsesShortBlockOrder() const;
    // The capability word at byte 20 of the INF block.
    void SetCapability(std::uint32_t word);

    Bytes Block(int option) const;
    // Every block of the family's order, then ONLINE.
    Bytes AllBlocks() const;
    // The option numbers of the family's fixed blocks, in wire order.
    std::vector<int> BlockOrder() const;

    std::string LoginItems() const;
    std::string DeviceInfoItems() const;
};

}  // namespace devicesim
