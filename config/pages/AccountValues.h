#pragma once
// The account page's own copy of the device's accounts (block 2), packed from
// the first row, with the page's rules for adding, editing and deleting. Each
// rule answers with the message id of its refusal, or 0. The application's
// account list and the login settings change only after block 2 was stored.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/Tracked.h"
#include "config/pages/BlockStore.h"

namespace session {
class AppData;
}

namespace config {

class ConfigWorkingSet;

inline constexpr std::size_t kAccountSlots = 5;
inline constexpr std::size_t kAccountTextChars = 15;  // names and passwords end inside their 16 bytes
// Level codes by the level list's index; activity minutes by the activity list's index.
inline constexpr std::array<std::uint16_t, 4> kAccountLevelCodes{30, 20, 10, 0};
inline constexpr std::array<std::int32_t, 6> kAccountActivityMinutes{1, 5, 10, 60, 1440, -1};
// The text the account routine shows when block 2 is refused.
inline constexpr const char* kAccountStoreFailedText = "Set the system config is failed\n";

struct Account {
    std::uint16_t level = 0;
    std::int32_t activity = 0;  // minutes; -1 unlimited
    std::string name, password;
    // The lists' indexes a row saved on the page shows its texts by; -1 for a
    // row as loaded, which shows its codes' texts.
    int shownLevelIndex = -1, shownActivityIndex = -1;
};

int LevelIndexOf(std::uint16_t code);      // 30 0, 20 1, 10 2, anything else 3
int ActivityIndexOf(std::int32_t minutes);  // the list's minutes, anything else 5
// The list's texts of a row as loaded: the level's string (an unknown code
// reads "SUPERVISOR"), the activity as "ZAWSZE", "1 DZIEŃ", "1 GODZ" or
// "<minutes> MIN".
std::string LevelText(std::uint16_t code);
std::string ActivityText(std::int32_t minutes);
// The texts of a row saved on the page, by the lists' indexes: the activity
// texts "1  MIN", "5  MIN", "10 MIN", "1 GODZ", "1 DZIEŃ", "ZAWSZE".
std::string LevelIndexText(int index);
std::string ActivityIndexText(int index);
// The row's level and activity texts.
std::pair<std::string, std::string> AccountRowTexts(const Account& account);

// The maximum as the page's edit takes it in: its change rule also runs when
// the page fills it, so a stored maximum above 5 becomes 5 and 0 becomes 3,
// each with message 4043 (0 when it stays).
struct MaxUsersInput {
    std::int64_t value;
    unsigned message;
};
MaxUsersInput NormaliseMaxUsers(std::int64_t value);

struct AccountValues {
    std::vector<Account> accounts;
    bool accountsChanged = false;
    Tracked<std::int64_t> maxUsers;
    // The account this client logged in with, by name (it follows a rename on
    // the page), and the new login once that account was edited.
    std::string loginName;
    std::optional<std::pair<std::string, std::string>> newLogin;

    // The row of the login account (names compared ignoring case); none when absent.
    std::optional<std::size_t> LoginRow() const;
    // The page's edit filled with the loaded maximum; the message to show, or 0.
    unsigned FillMaxUsers();

    unsigned CanAdd() const;  // 4002 once the list holds the maximum
    unsigned Add(const std::string& name, const std::string& password, int levelIndex, int activityIndex);
    unsigned Edit(std::size_t row, const std::string& name, const std::string& password, int levelIndex,
                  int activityIndex);
    unsigned Delete(std::size_t row);
};

AccountValues LoadAccountValues(const ConfigWorkingSet& set, const std::string& loginName);
// Writes the accounts (when changed) and the maximum (when it differs from
// block 2) into the working copy of block 2.
void WriteAccountChanges(const AccountValues& values, ConfigWorkingSet& set);
// The account page's Apply: writes, stores block 2, and only once the device
// took it replaces the application's account list and, after an edit of the
// login account, the settings' login name and password. Returns 0.
int SendAccountConfig(const AccountValues& values, ConfigWorkingSet& set, const StoreBlock& store,
                      session::AppData& app);

}  // namespace config
