#pragma once
// "FTP": server, user, password, port and directory of the device's uploads.
// The site list of the original page was never shown and is not built.

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
    LimitedTextEdit* user_;
    LimitedTextEdit* password_;
    NumberEdit* port_;
    LimitedTextEdit* server_;
    LimitedTextEdit* directory_;
};

}  // namespace config
