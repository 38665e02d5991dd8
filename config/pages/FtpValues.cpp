#include "config/pages/FtpValues.h"

#include "config/ConfigWorkingSet.h"
#include "config/pages/PageText.h"

namespace config {

namespace {

struct FtpText {
    Tracked<std::string> FtpValues::*member;
    const char* field;
    int chars;
};
constexpr FtpText kTexts[] = {
    {&FtpValues::server, "sz_FtpServer", kFtpServerChars},
    {&FtpValues::user, "sz_FtpUser", kFtpUserChars},
    {&FtpValues::password, "sz_FtpPassword", kFtpPasswordChars},
    {&FtpValues::directory, "sz_FtpDirectory", kFtpDirectoryChars},
};

}  // namespace

FtpValues LoadFtpValues(const ConfigWorkingSet& set) {
    FtpValues values;
    for (const FtpText& text : kTexts) {
        std::string stored = set.Text(5, text.field);
        if (BlockCharCount(stored) > static_cast<std::size_t>(text.chars))
            stored.clear();
        (values.*text.member).Load(stored);
    }
    values.port.Load(set.Number(5, "w_FtpPort"));
    return values;
}

void WriteFtpChanges(const FtpValues& values, ConfigWorkingSet& set) {
    for (const FtpText& text : kTexts) {
        const Tracked<std::string>& value = values.*text.member;
        // Only a text shorter than its field is written; WriteText refuses the rest.
        if (value.Changed() && BlockCharCount(value.Current()) <= static_cast<std::size_t>(text.chars))
            set.Write(5, text.field, 0, value.Current());
    }
    if (values.port.Changed())
        set.Write(5, "w_FtpPort", 0, values.port.Current());
}

int SendFtpConfig(const FtpValues& values, ConfigWorkingSet& set, const StoreBlock& store) {
    WriteFtpChanges(values, set);
    store(5);
    return 0;
}

}  // namespace config
