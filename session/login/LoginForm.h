#pragma once
// What the login dialog does without its widgets: the fields it sends, the
// port field's filter, the failure texts of an attempt, and the newest
// recording it hands to the companion player.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace session {

// Refusal of an attempt whose user name or password is empty.
inline constexpr unsigned kEmptyCredentialsMessage = 4081;

// The login dialog's four fields as typed.
struct LoginFields {
    std::string server;
    std::string user;
    std::string password;
    std::string port;
};

// The web port as the settings take it from a field: the decimal number at
// the start of the text (0 without one), kept to its low 16 bits.
std::uint16_t PortFromText(std::string_view text);

// The port field after an edit: only its digits count; their number is kept
// (1-9999), held at 9999 above, 0 for 0; without any digit the previous
// number stays. Returns the number the field then shows.
int FilterPortText(std::string_view text, int previous);

// Why an attempt of the login dialog failed; the numbers are what the
// dialog's failure handler selects its text with.
enum class LoginFailure : int {
    ProcedureFailed = 1,    // no connection, a refused or empty reply, no session id
    TooManyUsers = 2,       // the device answered with status 202
    UnsupportedDevice = 3,  // a product code the client does not serve
};
// "Login procedure failed", "Too many user", "No support this device"; empty
// for any other number.
std::string_view LoginFailureText(int failure);

// The newest ".kfr" recording directly in the folder (the extension in any
// letter case), as folder + "/" + file name in the letter case it has on
// disk; empty when there is none. A later last-write time wins; among equal
// times the first name in name order.
std::string FindNewestRecordFile(const std::filesystem::path& recordFolder);

}  // namespace session
