#include "config/pages/AccountValues.h"

#include <algorithm>
#include <cctype>

#include "config/ConfigWorkingSet.h"
#include "config/pages/PageText.h"
#include "res/StringTable.h"
#include "session/AppData.h"

namespace config {

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool Usable(const std::string& name, const std::string& password, int levelIndex, int activityIndex) {
    return !name.empty() && !password.empty() && levelIndex >= 0 && activityIndex >= 0 &&
           BlockCharCount(name) <= kAccountTextChars && BlockCharCount(password) <= kAccountTextChars;
}

// Saving turns a level index outside the first three into a guest and an
// activity index outside the list into one minute.
std::uint16_t LevelCode(int index) { return index >= 0 && index <= 2 ? kAccountLevelCodes[std::size_t(index)] : 0; }
std::int32_t ActivityMinutes(int index) {
    return index >= 0 && index < int(kAccountActivityMinutes.size()) ? kAccountActivityMinutes[std::size_t(index)] : 1;
}

}  // namespace

int LevelIndexOf(std::uint16_t code) {
    const auto* found = std::find(kAccountLevelCodes.begin(), kAccountLevelCodes.end() - 1, code);
    return static_cast<int>(found - kAccountLevelCodes.begin());
}

int ActivityIndexOf(std::int32_t minutes) {
    const auto* found = std::find(kAccountActivityMinutes.begin(), kAccountActivityMinutes.end() - 1, minutes);
    return static_cast<int>(found - kAccountActivityMinutes.begin());
}

std::string LevelText(std::uint16_t code) {
    switch (code) {
    case 20: return std::string(res::LoadString(8332));
    case 10: return std::string(res::LoadString(3012));
    case 0: return std::string(res::LoadString(3013));
    default: return std::string(res::LoadString(3011));
    }
}

std::string ActivityText(std::int32_t minutes) {
    switch (minutes) {
    case -1: return std::string(res::LoadString(3018));
    case 1440: return std::string(res::LoadString(3019));
    case 60: return std::string(res::LoadString(3020));
    default: return std::to_string(static_cast<std::uint32_t>(minutes)) + " " + std::string(res::LoadString(3021));
    }
}

std::string LevelIndexText(int index) { return LevelText(LevelCode(index)); }

std::string ActivityIndexText(int index) {
    switch (index) {
    case 0: return "1  " + std::string(res::LoadString(3021));
    case 1: return "5  " + std::string(res::LoadString(3021));
    case 2: return "10 " + std::string(res::LoadString(3021));
    case 3: return std::string(res::LoadString(3020));
    case 4: return std::string(res::LoadString(3019));
    default: return std::string(res::LoadString(3018));
    }
}

std::pair<std::string, std::string> AccountRowTexts(const Account& account) {
    return {account.shownLevelIndex >= 0 ? LevelIndexText(account.shownLevelIndex) : LevelText(account.level),
            account.shownActivityIndex >= 0 ? ActivityIndexText(account.shownActivityIndex)
                                            : ActivityText(account.activity)};
}

MaxUsersInput NormaliseMaxUsers(std::int64_t value) {
    if (value > static_cast<std::int64_t>(kAccountSlots))
        return {static_cast<std::int64_t>(kAccountSlots), 4043};
    if (value == 0)
        return {3, 4043};
    return {value, 0};
}

unsigned AccountValues::FillMaxUsers() {
    const MaxUsersInput input = NormaliseMaxUsers(maxUsers.Loaded());
    maxUsers.Edit(input.value);
    return input.message;
}

std::optional<std::size_t> AccountValues::LoginRow() const {
    for (std::size_t row = 0; row < accounts.size(); ++row)
        if (SameIgnoringCase(accounts[row].name, loginName))
            return row;
    return std::nullopt;
}

unsigned AccountValues::CanAdd() const {
    return static_cast<std::int64_t>(accounts.size()) >= maxUsers.Current() ? 4002 : 0;
}

unsigned AccountValues::Add(const std::string& name, const std::string& password, int levelIndex,
                            int activityIndex) {
    if (!Usable(name, password, levelIndex, activityIndex))
        return 4002;
    if (std::any_of(accounts.begin(), accounts.end(), [&](const Account& a) { return a.name == name; }))
        return 4118;
    if (accounts.size() >= kAccountSlots)
        return 4001;
    if (CanAdd())
        return 4002;
    accounts.push_back({LevelCode(levelIndex), ActivityMinutes(activityIndex), name, password, levelIndex,
                        activityIndex});
    accountsChanged = true;
    return 0;
}

unsigned AccountValues::Edit(std::size_t row, const std::string& name, const std::string& password, int levelIndex,
                             int activityIndex) {
    if (row >= accounts.size() || !Usable(name, password, levelIndex, activityIndex))
        return 4022;
    for (std::size_t other = 0; other < accounts.size(); ++other)
        if (other != row && accounts[other].name == name)
            return 4118;
    Account& account = accounts[row];
    if (LoginRow() == row) {
        // The login account keeps its level (its row reads "SUPERVISOR"); the
        // next login uses the new name and password.
        newLogin.emplace(name, password);
        loginName = name;
        account.shownLevelIndex = 0;
    } else {
        account.level = LevelCode(levelIndex);
        account.shownLevelIndex = levelIndex;
    }
    account.activity = ActivityMinutes(activityIndex);
    account.shownActivityIndex = activityIndex;
    account.name = name;
    account.password = password;
    accountsChanged = true;
    return 0;
}

unsigned AccountValues::Delete(std::size_t row) {
    if (row >= accounts.size())
        return 4086;
    if (LoginRow() == row)
        return 4069;
    accounts.erase(accounts.begin() + static_cast<std::ptrdiff_t>(row));
    accountsChanged = true;
    return 0;
}

AccountValues LoadAccountValues(const ConfigWorkingSet& set, const std::string& loginName) {
    AccountValues values;
    values.loginName = loginName;
    values.maxUsers.Load(set.Number(2, "by_MaxUsers"));
    for (std::size_t slot = 0; slot < kAccountSlots; ++slot) {
        Account account;
        account.name = set.Text(2, "sz_UserName", slot);
        if (account.name.empty())
            continue;
        account.password = set.Text(2, "sz_Password", slot);
        account.level = static_cast<std::uint16_t>(set.Number(2, "by_UserLevel", slot));
        account.activity = static_cast<std::int32_t>(set.Number(2, "dw_UserActivity", slot));
        values.accounts.push_back(std::move(account));
    }
    return values;
}

void WriteAccountChanges(const AccountValues& values, ConfigWorkingSet& set) {
    if (values.accountsChanged) {
        for (std::size_t slot = 0; slot < kAccountSlots; ++slot) {
            if (slot < values.accounts.size()) {
                const Account& account = values.accounts[slot];
                set.Write(2, "by_UserLevel", slot, std::int64_t(account.level));
                set.Write(2, "dw_UserActivity", slot, std::int64_t(account.activity));
                set.Write(2, "sz_UserName", slot, account.name);
                set.Write(2, "sz_Password", slot, account.password);
            } else {
                set.Write(2, "sz_UserName", slot, std::string());
                set.Write(2, "sz_Password", slot, std::string());
            }
        }
    }
    if (values.maxUsers.Current() != set.Number(2, "by_MaxUsers"))
        set.Write(2, "by_MaxUsers", 0, values.maxUsers.Current());
}

int SendAccountConfig(const AccountValues& values, ConfigWorkingSet& set, const StoreBlock& store,
                      session::AppData& app) {
    WriteAccountChanges(values, set);
    if (!store(2) || !values.accountsChanged)
        return 0;
    for (std::size_t entry = 0; entry < app.UserAccountList.size(); ++entry) {
        session::UserAccountEntry& target = app.UserAccountList[entry];
        if (entry < values.accounts.size()) {
            const Account& account = values.accounts[entry];
            target = {1, account.level, account.activity, account.name, account.password};
        } else {
            target.dwInUse = 0;
        }
    }
    if (values.newLogin) {
        app.CSettingINI.m_strUserName = values.newLogin->first;
        app.CSettingINI.m_strPassword = values.newLogin->second;
    }
    return 0;
}

}  // namespace config
