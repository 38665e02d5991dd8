#pragma once
// The two requests that open a session with the device: /Login.cgi (user name
// and password in; session cookie, firmware, product, MAC and host name out)
// and /Getdeviceinfo.cgi (the session facts and the linked control devices).
// The re-login thread runs them in a loop; the login dialog, the connecting
// pop-up's worker and the main window's initialisation run pieces of them.
//
// Replies are text items "KEY=value;". A key is found by its first occurrence
// followed by "="; its value runs to the next ";". A value without a ";"
// after it counts as absent, and values are cut to kReplyValueMax characters
// (the session cookie to kSessionCookieMax).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "platform/Timing.h"

namespace session {

class AppData;

inline constexpr std::size_t kReplyValueMax = 255;
inline constexpr std::size_t kSessionCookieMax = 63;
// The reply areas of the two requests.
inline constexpr std::size_t kLoginReplySize = 1024;
inline constexpr std::size_t kDeviceInfoReplySize = 1024;

// w_LoginResult
inline constexpr std::uint16_t kLoginNotLoggedIn = 100;
inline constexpr std::uint16_t kLoginTooManyUsers = 102;
inline constexpr std::uint16_t kLoginLoggedIn = 30;

// The products a login from the login dialog accepts, in the order compared.
inline constexpr std::string_view kAcceptedProducts[] = {"R41T", "R47T", "R42T", "R43T",
                                                         "N51H", "N52H", "N53H", "G66M"};

// ---- Reply items ----------------------------------------------------------

// A value found in a reply and the position of the ";" that ends it.
struct ReplyItem {
    std::string value;
    std::size_t end = 0;
};

// The value of the first "key=" at or after `from`; nullopt when the key is
// absent or no ";" follows it. The reply is read up to its first zero byte.
std::optional<ReplyItem> FindReplyItem(std::string_view reply, std::string_view key,
                                       std::size_t from = 0, std::size_t maxLength = kReplyValueMax);
std::optional<std::string> ReplyValue(std::string_view reply, std::string_view key);
// A decimal number with an optional sign after leading blanks; anything else
// reads as 0, and a number beyond 32 bits is held at the nearest limit.
std::int32_t ReplyNumber(std::string_view value);

// ---- Login ----------------------------------------------------------------

// One /Login.cgi exchange as the device answered it.
struct LoginReply {
    int result = 0;     // the sender's: 1 only for status 200
    int status = 0;     // the HTTP status of a refusal (202: too many users), else 0
    std::string body;   // the reply text (status 200 only)
};

// How the exchange's requests are sent: their time-outs, the stop request
// that ends a blocked request at once, and who tells the user about a server
// address that cannot be found (when empty, the sender shows its notice).
struct ExchangeOptions {
    platform::Timing timing;
    std::stop_token stop;
    std::function<void()> wrongAddressNotice;
};

// Sends "/Login.cgi?Username=..&Password=.." to the device of app's settings.
// Empties SessionCookie first.
// The reply area holds replySize bytes (the login dialog's holds 256).
LoginReply SendLoginRequest(AppData& app, const std::string& user, const std::string& password,
                            const ExchangeOptions& options, std::size_t replySize = kLoginReplySize);

enum class LoginReplyOutcome {
    Accepted,
    NoSessionId,         // the login counts as failed
    UnsupportedProduct,  // only when the product check was asked for
};

struct LoginReplyRules {
    // The login dialog accepts only kAcceptedProducts (an absent product passes).
    bool checkProduct = false;
    // The MAC's last two bytes go to the settings (the pop-up's worker keeps only the text).
    bool storeMacInSettings = true;
};

// Reads Session-ID, Firmware-Version, Product-ID, MAC-Address and Host-Name,
// in that order, into SessionCookie, the login facts and the settings.
// Stops after a missing Session-ID, and after a refused product. A MAC value
// that is not twelve hexadecimal digits leaves the settings' MAC words alone.
LoginReplyOutcome ApplyLoginReply(AppData& app, std::string_view reply, const LoginReplyRules& rules);

// The re-login's attempt: sends the login with the settings' user name and
// password and sets w_LoginResult to 30 (and w_UserLevel to 30), 102 after a
// refusal with status 202, else 100. Returns w_LoginResult.
std::uint16_t RunLoginRequest(AppData& app, const ExchangeOptions& options);

// ---- Device information -----------------------------------------------------

// Whose reading of the device information applies: the re-login's, or the
// main window's start, which differs in the channel of N5H and G66M devices,
// in the type of a DVR's linked masters, in what R.E.T.R. lists and in the
// values a linked device takes over from the entry before it.
enum class DeviceInfoRules { ReLogin, MainWindow };

// Keeps the selected channel within the product's range: R41T above 16, R42T
// above 8 and R43T above 4 become 0; R47T above 2, or 0, becomes 1. The main
// window's start also puts N5H and G66M devices on channel 2.
std::uint8_t ClampChannel(std::string_view productId, std::uint8_t channel,
                          DeviceInfoRules rules = DeviceInfoRules::ReLogin);

// Which of the version-gated requests a device gets.
struct DeviceGates {
    bool queryCapability = false;  // the INF block's capability word (DVR, firmware 1035 on)
    bool newHeader = false;        // NEWHR=1 and the newer frame header
};
DeviceGates GatesFor(std::string_view productId, std::string_view firmwareVersion);

// Clamps the selected channel, reads the capability word when the device
// has one, sends /Getdeviceinfo.cgi (Cookie, RES, QUA, CH, and NEWHR=1 when
// the gate says so, setting dw_NewHeaderFormat either way) and returns the
// reply text; nullopt when the request failed or the reply was empty. The
// sender's own result goes to *senderResult when given: an empty reply after
// status 200 is still a command that succeeded.
std::optional<std::string> RequestDeviceInfo(AppData& app, const ExchangeOptions& options,
                                             DeviceInfoRules rules = DeviceInfoRules::ReLogin,
                                             int* senderResult = nullptr);

// The session facts of a device-information reply: LIFETIME, VIDEOMODE,
// USERLEVEL and the three component versions (absent keys change nothing).
void ApplySessionFacts(AppData& app, std::string_view reply);

// The whole reply: the session facts, MULTICH (0 when absent) and the
// control-device list (LINKDEVICE or MASTERNUM/MID/MTYPE masters, RETR,
// SLAVENUM/SID/STYPE/SPROTOCOL devices). The list is added to, not cleared
// first, except by RETR. The re-login hands the RETR value to the list at
// once; the main window's start keeps it for later. Returns the RETR value
// when the reply's R.E.T.R. step ran.
std::optional<std::uint8_t> ApplyDeviceInfoReply(AppData& app, std::string_view reply,
                                                 DeviceInfoRules rules = DeviceInfoRules::ReLogin);

// Makes the control device of the product and channel current (DVR: the
// channel's master when multi-channel, else the first; video server: the
// first on channel 1, else the second; N5H and G66M: the first).
void ChooseCurrentControlDevice(AppData& app);

// What the main window's initialisation runs after the login dialog:
// RequestDeviceInfo, ApplyDeviceInfoReply and ChooseCurrentControlDevice.
// False when the request failed (nothing of the reply applied).
bool RunDeviceInfoExchange(AppData& app, const ExchangeOptions& options);

}  // namespace session
