#pragma once
// "FTP": server, user, password, port and directory of the device's uploads.
// The template's site list and its buttons stay hidden and disabled.

#include "config/gui/ConfigPage.h"
#include "config/pages/FtpValues.h"

namespace config {

class LimitedTextEdit;
class NumberEdit;

class FTPPropertyPage : public ConfigPage {
    Q_OBJECT
public:
    explicit FTPPropertyPage(ConfigWorkingSet& set, QWidget* parent = nullptr);

    const FtpValues& Values() const { return values_; }
    void AddSendRoutines(ApplyRoutines& routines) override;

    LimitedTextEdit* ServerEdit() const { return server_; }
    LimitedTextEdit* UserEdit() const { return user_; }
    LimitedTextEdit* PasswordEdit() const { return password_; }
    LimitedTextEdit* DirectoryEdit() const { return directory_; }
    NumberEdit* PortEdit() const { return port_; }

protected:
    void Fill() override;
    void Pull() override;
    unsigned LeaveRefusal() override;

private:
    FtpValues values_;
    LimitedTextEdit* user_ = nullptr;
    LimitedTextEdit* password_ = nullptr;
    NumberEdit* port_ = nullptr;
    LimitedTextEdit* server_ = nullptr;
    LimitedTextEdit* directory_ = nullptr;
};

}  // namespace config
